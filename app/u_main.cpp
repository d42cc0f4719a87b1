#include "app/u_main.h"

#include "app/u_about.h"
#include "planner/u_gudingjihua.h"
#include "toolkit/announce.h"
#include "toolkit/guard.h"
#include "toolkit/jpeg.h"
#include "toolkit/messages.h"
#include "toolkit/oneline.h"
#include "toolkit/platform.h"
#include "toolkit/programfiles.h"
#include "toolkit/shell.h"
#include "toolkit/window.h"
#include "ui_frmmain.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;
using planrules::mode;

planrules::codetabletype codetable;
QString apppath;
Tfrmmain *frmmain = nullptr;
const char homepage[] = "http://www.qorvel3d.example";

namespace {

// A screen reader hears what the numbers grid holds and how many, as the count
// label beside it shows, and is told of each new bet even when the focus stays
// in the draw box.
void namebetgrid(Tstringgrid *grid, int count)
{
    QString name = u"本期投注号码"_s;
    if (count > 0)
        name += u"，共"_s + QString::number(count) + u"注"_s;
    if (grid->accessibleName() != name)
        grid->setAccessibleName(name);
    announcenewtable(grid);
}
} // namespace

Tfrmmain::Tfrmmain(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Tfrmmain>())
{
    ui->setupUi(this);
    keepboxesoneline(this);
    condenselabelstofit(this);
    guard([this] { ui->imglogo->setPixmap(QPixmap::fromImage(loadjpegfile(u":/forms/logo.jpg"_s))); });
    exposeaswindow(this);
    // The two links come last before the type group, by their place on the window.
    settaborder({ui->optmode, ui->edtzuijingcode1, ui->edtzuijingcode2, ui->btnnewjihua, ui->btngencode,
                 ui->btnabout, ui->btnhelp, ui->btnclose, ui->page, ui->grdjihua, ui->grdcode, ui->btncopy,
                 ui->btnjihua, ui->Label6, ui->lblweb2, ui->opttype});
    ui->optmode->button(ui->optmode->itemindex())->setFocus();
    setdefaultbutton(this, ui->btngencode);

    connecthandler(ui->btnclose, &QPushButton::clicked, this, &Tfrmmain::btncloseClick);
    connecthandler(ui->btnjihua, &QPushButton::clicked, this, &Tfrmmain::btnjihuaClick);
    connecthandler(ui->btngencode, &QPushButton::clicked, this, &Tfrmmain::btngencodeClick);
    connecthandler(ui->btnnewjihua, &QPushButton::clicked, this, &Tfrmmain::btnnewjihuaClick);
    connecthandler(ui->opttype, &Tradiogroup::clicked, this, &Tfrmmain::opttypeClick);
    connecthandler(ui->optmode, &Tradiogroup::clicked, this, &Tfrmmain::optmodeClick);
    connecthandler(ui->btncopy, &QPushButton::clicked, this, &Tfrmmain::btncopyClick);
    connecthandler(ui->btnabout, &QPushButton::clicked, this, &Tfrmmain::btnaboutClick);
    connecthandler(ui->btnhelp, &QPushButton::clicked, this, &Tfrmmain::btnhelpClick);
    connecthandler(ui->Label6, &Tclicklabel::clicked, this, &Tfrmmain::Label6Click);
    connecthandler(ui->lblweb2, &Tclicklabel::clicked, this, &Tfrmmain::lblweb2Click);

    guard([this] { FormCreate(); });
}

Tfrmmain::~Tfrmmain() = default;

void Tfrmmain::closeEvent(QCloseEvent *event)
{
    // The main window ends the program, whatever other window is still open.
    event->accept();
    QCoreApplication::quit();
}

void Tfrmmain::FormCreate()
{
    apppath = executablefolder();
    codetable = planrules::buildcodetable();
}

void Tfrmmain::btncloseClick()
{
    close();
}

void Tfrmmain::btnjihuaClick()
{
    // One planner per run: owned by the program, not by this window, and only
    // hidden by its own close button, so it keeps what the user left in it.
    if (!frmgudingjihua) {
        frmgudingjihua = new Tfrmgudingjihua(apppath);
        centreonscreen(frmgudingjihua);
    }
    frmgudingjihua->show();
    frmgudingjihua->raise();
    frmgudingjihua->activateWindow();
}

void Tfrmmain::btnaboutClick()
{
    // Created once per run: its file is read at the first press only.
    if (!frmabout) {
        frmabout = new Tfrmabout(apppath);
        centreonscreen(frmabout);
    }
    frmabout->exec();
}

void Tfrmmain::btnhelpClick()
{
    // A missing guide shows nothing, as a missing demonstration program does.
    const QString target = helptarget(apppath);
    if (!target.isEmpty())
        shellopen(this, target, Tshowmode::maximized);
}

void Tfrmmain::Label6Click()
{
    shellopen(this, QString::fromLatin1(homepage), Tshowmode::normal);
}

void Tfrmmain::lblweb2Click()
{
    shellopen(this, QString::fromLatin1(homepage), Tshowmode::normal);
}

void Tfrmmain::btngencodeClick()
{
    if (ui->grdjihua->cell(0, 0).isEmpty())
        setuplog();
    const bool three = ui->opttype->itemindex() == 1;
    const bool oddeven = ui->optmode->itemindex() == 0;
    if (!three)
        oddeven ? genoddeven2() : genbigsmall2();
    else
        oddeven ? genoddeven3() : genbigsmall3();
    const int count = planrules::betcount(three ? planrules::kind::three : planrules::kind::two);
    ui->lbljushu->setText(u"共："_s + QString::number(count) + u"注"_s);
}

void Tfrmmain::genoddeven2()
{
    gentwo(mode::oddeven);
}

void Tfrmmain::genbigsmall2()
{
    gentwo(mode::bigsmall);
}

void Tfrmmain::genoddeven3()
{
    genthree(mode::oddeven);
}

void Tfrmmain::genbigsmall3()
{
    genthree(mode::bigsmall);
}

void Tfrmmain::gentwo(mode m)
{
    const QString draw = ui->edtzuijingcode2->text();
    if (!planrules::isdraw(draw)) {
        messages::showmessage(u"请输入三位数字"_s);
        return;
    }
    const std::optional<planrules::plan> next = planrules::nextplan(planrules::kind::two, m, currentplan(), {}, draw);
    if (!next)
        return endonhit();
    logperiod(*next, planrules::kind::two);
    ui->edtzuijingcode2->clear();
    ui->edtzuijingcode2->setFocus();
}

void Tfrmmain::genthree(mode m)
{
    const QString secondlatest = ui->edtzuijingcode1->text();
    const QString draw = ui->edtzuijingcode2->text();
    if (!planrules::isdraw(secondlatest) || !planrules::isdraw(draw)) {
        messages::showmessage(u"请输入三位数字"_s);
        return;
    }
    const std::optional<planrules::plan> next =
        planrules::nextplan(planrules::kind::three, m, currentplan(), secondlatest, draw);
    if (!next)
        return endonhit();
    logperiod(*next, planrules::kind::three);
    ui->edtzuijingcode1->setText(draw);
    ui->edtzuijingcode2->clear();
    ui->edtzuijingcode2->setFocus();
}

std::optional<planrules::plan> Tfrmmain::currentplan() const
{
    // The plan lives only as the text of the last log row; the title row holds none.
    if (ui->grdjihua->rowcount() <= 1)
        return std::nullopt;
    return planrules::readplan(ui->grdjihua->cell(2, ui->grdjihua->rowcount() - 1));
}

void Tfrmmain::endonhit()
{
    messages::showmessage(u"号码已中出，计划结束"_s);
    ui->btngencode->setEnabled(false);
}

void Tfrmmain::logperiod(const planrules::plan &next, planrules::kind type)
{
    addperiodrow(planrules::plantext(next));
    planrules::selectbet(codetable, next);
    // The count label is btngencodeClick's, whatever the press ends in.
    fillcodegrid(planrules::betcount(type));
    namebetgrid(ui->grdcode, planrules::betcount(type));
}

void Tfrmmain::setuplog()
{
    Tstringgrid *log = ui->grdjihua;
    log->setrowcount(1);
    log->setcolcount(3);
    const int width = (log->width() - 50) / 3;
    for (int col = 0; col < 3; ++col)
        log->setcolwidth(col, width);
    log->setcell(0, 0, u"投注期数"_s);
    log->setcell(1, 0, u"最新开奖"_s);
    log->setcell(2, 0, u"本期投注"_s);
}

void Tfrmmain::addperiodrow(const QString &plantext)
{
    Tstringgrid *log = ui->grdjihua;
    const int row = log->rowcount();
    log->setrowcount(row + 1);
    log->setcell(0, row, u"第"_s + QString::number(row) + u"期"_s);
    log->setcell(1, row, ui->edtzuijingcode2->text());
    log->setcell(2, row, plantext);
}

void Tfrmmain::fillcodegrid(int count)
{
    // One shared text per digit, so listing a bet allocates no digit strings.
    static const std::array<QString, 10> digits = [] {
        std::array<QString, 10> texts;
        for (int d = 0; d < 10; ++d)
            texts[d] = QString(QChar(u'0' + d));
        return texts;
    }();
    Tstringgrid *grid = ui->grdcode;
    grid->setrowcount(count + 1);
    grid->setcolcount(4);
    grid->setcell(0, 0, u"记录期号"_s);
    grid->setcell(1, 0, u"号码1"_s);
    grid->setcell(2, 0, u"号码2"_s);
    grid->setcell(3, 0, u"号码3"_s);
    int n = 0;
    for (const planrules::coderow &row : codetable) {
        if (row[planrules::flagcolumn] != 0 || n == count)
            continue;
        ++n;
        grid->setcell(0, n, planrules::numberlabel(n));
        for (int col = 0; col < 3; ++col)
            grid->setcell(col + 1, n, digits[row[col]]);
    }
}

void Tfrmmain::btnnewjihuaClick()
{
    setuplog();
    ui->grdcode->setrowcount(1);
    namebetgrid(ui->grdcode, 0);
    ui->lbljushu->clear();
    ui->btngencode->setEnabled(true);
    ui->edtzuijingcode1->setText(ui->edtzuijingcode2->text());
    ui->edtzuijingcode2->clear();
}

void Tfrmmain::opttypeClick()
{
    const bool three = ui->opttype->itemindex() == 1;
    ui->Label2->setEnabled(three);
    ui->edtzuijingcode1->setEnabled(three);
    ui->Label3->setEnabled(true);
    ui->edtzuijingcode2->setEnabled(true);
    ui->edtzuijingcode1->clear();
    ui->edtzuijingcode2->clear();
    ui->btngencode->setText(three ? u"生成三码"_s : u"生成二码"_s);
    setuplog();
    ui->grdcode->setrowcount(1);
    namebetgrid(ui->grdcode, 0);
    ui->lbljushu->clear();
    ui->edtcopy->clear();
}

void Tfrmmain::optmodeClick()
{
    // The mode is read at the next generate press.
}

void Tfrmmain::btncopyClick()
{
    const Tstringgrid *grid = ui->grdcode;
    QStringList numbers;
    for (int row = 1; row < grid->rowcount(); ++row) {
        const QString number = grid->cell(1, row) + grid->cell(2, row) + grid->cell(3, row);
        // The grid before the first bet has blank rows; they are no numbers.
        if (!number.isEmpty())
            numbers.append(number);
    }
    const QString text = planrules::copytext(numbers);
    ui->edtcopy->setText(text);
    ui->edtcopy->selectAll();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}
