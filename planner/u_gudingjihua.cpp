#include "planner/u_gudingjihua.h"

#include "toolkit/guard.h"
#include "toolkit/messages.h"
#include "toolkit/window.h"
#include "ui_frmgudingjihua.h"

using namespace Qt::Literals::StringLiterals;

plancalc::plantabletype plantable;
Tfrmgudingjihua *frmgudingjihua = nullptr;

Tfrmgudingjihua::Tfrmgudingjihua(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::Tfrmgudingjihua>())
{
    ui->setupUi(this);
    for (QLabel *label : {ui->Label1, ui->Label2, ui->Label3, ui->Label4, ui->Label5})
        label->adjustSize();
    anchor(ui->grdjihua, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget *w : {static_cast<QWidget *>(ui->Label1), static_cast<QWidget *>(ui->edtprekui),
                       static_cast<QWidget *>(ui->Label2), static_cast<QWidget *>(ui->edtlirun),
                       static_cast<QWidget *>(ui->Label3), static_cast<QWidget *>(ui->edtinofsin),
                       static_cast<QWidget *>(ui->Label4), static_cast<QWidget *>(ui->edtoutofsin),
                       static_cast<QWidget *>(ui->Label5), static_cast<QWidget *>(ui->edtdays)})
        anchor(w, Qt::TopEdge | Qt::RightEdge);
    for (QWidget *w : {ui->btnala, ui->btnsave, ui->btnload, ui->btnprint, ui->btnclose})
        anchor(w, Qt::BottomEdge | Qt::RightEdge);
    settaborder({ui->grdjihua, ui->edtprekui, ui->edtlirun, ui->edtinofsin, ui->edtoutofsin, ui->edtdays, ui->btnala,
                 ui->btnsave, ui->btnload, ui->btnprint, ui->btnclose});
    setdefaultbutton(this, ui->btnala);

    connecthandler(ui->btnala, &QPushButton::clicked, this, &Tfrmgudingjihua::btnalaClick);
    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmgudingjihua::btncloseClick);
}

Tfrmgudingjihua::~Tfrmgudingjihua() = default;

void Tfrmgudingjihua::btnalaClick()
{
    const plancalc::inputs in = plancalc::readinputs(ui->edtprekui->text(), ui->edtlirun->text(),
                                                     ui->edtinofsin->text(), ui->edtoutofsin->text(),
                                                     ui->edtdays->text());
    std::optional<plancalc::plantabletype> table = plancalc::calculate(in);
    if (!table) {
        messages::showmessage(u"所需倍数太大，无法投注！"_s);
        return;
    }
    plantable = std::move(*table);
    setupplangrid(in.days);
    showtable(in.days);
    showaverage(in.days);
}

void Tfrmgudingjihua::btncloseClick()
{
    hide();
}

void Tfrmgudingjihua::setupplangrid(qint64 days)
{
    static const QString titles[7] = {u"投注时间"_s, u"投注倍数"_s, u"当期投注"_s, u"当期总投入"_s,
                                      u"当期中奖"_s, u"当期净利润"_s, u"当期利润率(%)"_s};
    Tstringgrid *grid = ui->grdjihua;
    grid->setrowcount(static_cast<int>(days) + 1);
    grid->setcolcount(7);
    const int width = (grid->contentsRect().width() - 20) / 7;
    for (int col = 0; col < 7; ++col) {
        grid->setcolwidth(col, width);
        grid->setcell(col, 0, titles[col]);
    }
}

void Tfrmgudingjihua::showtable(qint64 days)
{
    Tstringgrid *grid = ui->grdjihua;
    for (int row = 1; row <= days; ++row)
        for (int col = 0; col < 7; ++col)
            grid->setcell(col, row, QString::number(plantable[static_cast<size_t>(row - 1)][col]));
}

void Tfrmgudingjihua::showaverage(qint64 days)
{
    messages::showmessage(u"平均每期净利润为:"_s + QString::number(plancalc::averagenet(plantable, days)));
}
