#include "planner/u_gudingjihua.h"

#include "planner/planfile.h"
#include "planner/planprint.h"
#include "toolkit/filedialogs.h"
#include "toolkit/guard.h"
#include "toolkit/messages.h"
#include "toolkit/oneline.h"
#include "toolkit/printing.h"
#include "toolkit/textfile.h"
#include "toolkit/window.h"
#include "ui_frmgudingjihua.h"

#include <QPrinter>

using namespace Qt::Literals::StringLiterals;

plancalc::plantabletype plantable;
Tfrmgudingjihua *frmgudingjihua = nullptr;

Tfrmgudingjihua::Tfrmgudingjihua(const QString &programfolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::Tfrmgudingjihua>()),
      m_programfolder(programfolder)
{
    ui->setupUi(this);
    exposeaswindow(this);
    keepboxesoneline(this);
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
    connecthandler(ui->btnsave, &QPushButton::clicked, this, &Tfrmgudingjihua::btnsaveClick);
    connecthandler(ui->btnload, &QPushButton::clicked, this, &Tfrmgudingjihua::btnloadClick);
    connecthandler(ui->btnprint, &QPushButton::clicked, this, &Tfrmgudingjihua::btnprintClick);
    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmgudingjihua::btncloseClick);
}

Tfrmgudingjihua::~Tfrmgudingjihua() = default;

void Tfrmgudingjihua::btnalaClick()
{
    const plancalc::inputs in = plancalc::readinputs(ui->edtprekui->text(), ui->edtlirun->text(),
                                                     ui->edtinofsin->text(), ui->edtoutofsin->text(),
                                                     ui->edtdays->text());
    plancalc::decision decided = plancalc::decide(in);
    if (decided.outcome == plancalc::verdict::toolarge) {
        messages::showmessage(u"所需倍数太大，无法投注！"_s);
        return;
    }
    plantable = std::move(decided.table);
    const int rows = plancalc::checkdays(in.days);
    setupplangrid(rows);
    showtable(rows);
    showaverage(rows);
}

void Tfrmgudingjihua::btnsaveClick()
{
    const QString path = asksavefile(this, plandialogsetup());
    if (path.isEmpty())
        return;
    const Tstringgrid *grid = ui->grdjihua;
    savebytes(path, planfile::planfilebytes(boxtexts(), grid->rowcount() - 1, [grid](qsizetype row, int col) {
                  return grid->cellview(col, static_cast<int>(row + 1));
              }));
    messages::showmessage(u"成功保存！"_s);
}

void Tfrmgudingjihua::btnloadClick()
{
    const QString path = askopenfile(this, plandialogsetup());
    if (path.isEmpty())
        return;
    planfile::loadedplan plan = [&] {
        // The file's bytes are let go before the grid takes the cells.
        Ttextreader reader = Ttextreader::fromfile(path);
        return planfile::loadplan(reader);
    }();
    QLineEdit *edits[] = {ui->edtprekui, ui->edtlirun, ui->edtinofsin, ui->edtoutofsin, ui->edtdays};
    for (int i = 0; i < planfile::boxcount; ++i)
        edits[i]->setText(plan.boxes[i]);
    if (plan.layout) {
        // Every row of the new table starts empty, so a short file leaves
        // nothing of the previous table behind.
        ui->grdjihua->setrowcount(1);
        setupplangrid(*plan.layout);
        ui->grdjihua->reservetext(plan.cells.textsize());
        for (qsizetype r = 0; r < plan.cells.rows(); ++r)
            for (qsizetype k = 0; k < plan.cells.rowsize(r); ++k)
                ui->grdjihua->setcell(static_cast<int>(k), static_cast<int>(r + 1), plan.cells.cell(r, k));
    }
    if (plan.table)
        plantable = std::move(*plan.table);
    if (plan.failure)
        throw *plan.failure;
    if (!plan.rowcount.isEmpty())
        messages::showmessage(plan.rowcount);
    showaverage(*plan.layout);
}

Tfiledialogsetup Tfrmgudingjihua::plandialogsetup() const
{
    return {u"文本文件(*.txt)"_s, u"txt"_s, planfile::tablefolder(m_programfolder), u"固定投资计划表.txt"_s};
}

QList<QStringList> Tfrmgudingjihua::gridrows(int first) const
{
    QList<QStringList> rows;
    for (int r = first; r < ui->grdjihua->rowcount(); ++r) {
        QStringList cells;
        for (int k = 0; k < planfile::columns; ++k)
            cells.append(ui->grdjihua->cell(k, r));
        rows.append(cells);
    }
    return rows;
}

QStringList Tfrmgudingjihua::boxtexts() const
{
    return {ui->edtprekui->text(), ui->edtlirun->text(), ui->edtinofsin->text(), ui->edtoutofsin->text(),
            ui->edtdays->text()};
}

void Tfrmgudingjihua::btnprintClick()
{
    printtable();
}

void Tfrmgudingjihua::printtable()
{
    const Tstringgrid *grid = ui->grdjihua;
    if (grid->rowcount() == 1 || grid->cell(1, 1).isEmpty()) {
        messages::showmessage(u"请先生成表格！"_s);
        return;
    }
    const QList<QStringList> rows = gridrows(0);
    try {
        QPrinter printer(QPrinter::HighResolution);
        // The layout's offsets are device pixels of a common 600 dpi printer.
        printer.setResolution(600);
        if (!askprinter(this, printer))
            return;
        Tprintercanvas canvas(printer);
        planprint::printplan(canvas, rows, planprint::inputline(boxtexts(), QDate::currentDate()));
    } catch (const std::exception &) {
        messages::showprintfailure(u"请安装打印机！"_s);
    }
}

void Tfrmgudingjihua::btncloseClick()
{
    hide();
}

void Tfrmgudingjihua::setupplangrid(int days)
{
    static const QString titles[7] = {u"投注时间"_s, u"投注倍数"_s, u"当期投注"_s, u"当期总投入"_s,
                                      u"当期中奖"_s, u"当期净利润"_s, u"当期利润率(%)"_s};
    Tstringgrid *grid = ui->grdjihua;
    grid->setrowcount(days + 1);
    grid->setcolcount(7);
    const int width = (grid->clientwidth() - 20) / 7;
    for (int col = 0; col < 7; ++col) {
        grid->setcolwidth(col, width);
        grid->setcell(col, 0, titles[col]);
    }
}

void Tfrmgudingjihua::showtable(int days)
{
    Tstringgrid *grid = ui->grdjihua;
    for (int row = 1; row <= days; ++row)
        for (int col = 0; col < 7; ++col)
            grid->setcell(col, row, QString::number(plantable[static_cast<size_t>(row - 1)][col]));
}

void Tfrmgudingjihua::showaverage(int days)
{
    messages::showmessage(u"平均每期净利润为:"_s + QString::number(plancalc::averagenet(plantable, days)));
}
