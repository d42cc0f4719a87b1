// The main window driven through its controls: its design state, the two-position
// plan cycle typed and entered as a user does, and the copied numbers.
#include "app/u_about.h"
#include "app/u_main.h"
#include "planner/u_gudingjihua.h"
#include "tests/accessibility.h"
#include "tests/gridcheck.h"
#include "tests/windowtest.h"
#include "toolkit/messages.h"
#include "toolkit/clicklabel.h"
#include "toolkit/programfiles.h"
#include "toolkit/radiogroup.h"
#include "toolkit/shell.h"
#include "toolkit/stringgrid.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designstate();
    void layout_data();
    void layout();
    void taborder_data();
    void taborder();
    void codetableisbuilt();

    void plancycle_data();
    void plancycle();
    void modeswitchmidplannevershits_data();
    void modeswitchmidplannevershits();
    void refuseddraw_data();
    void refuseddraw();
    void hitendstheplanuntilnewplan();
    void newplanafteranormalperiodemptiesthesecondbox();
    void typeswitchresetsthewindow();

    void threepositionplancycle_data();
    void threepositionplancycle();
    void threepositionplanfollowstheeditedbox();
    void refusedsecondlatestdraw_data();
    void refusedsecondlatestdraw();
    void copiesthenumbers();
    void copiesathreepositionbet();
    void copyofanemptygridkeepstheclipboard();
    void enteronanotherbuttonpressesthatbutton();
    void closebuttonclosesthewindow();
    void plannerbuttonopensoneplanner();
    void aboutboxiscreatedonce();
    void fixedcolumnslineupafterdraws();
    void pastedlinebreaksareremoved();
    void helpandweblinksasktheshell();
    void helpopenstheguidebesidetheprogram();

    void everycontrolhasaname_data();
    void everycontrolhasaname();
    void controlnames_data();
    void controlnames();
    void linksopenbykeyboard_data();
    void linksopenbykeyboard();
    void linksarepressableforscreenreaders();
    void numbersgridnamecarriesthecount();
    void windowroles();

private:
    template <typename T>
    T *control(const char *name) const
    {
        return findcontrol<T>(m_window.get(), name);
    }
    Tstringgrid *log() const { return control<Tstringgrid>("grdjihua"); }
    Tstringgrid *numbers() const { return control<Tstringgrid>("grdcode"); }
    QLineEdit *latest() const { return control<QLineEdit>("edtzuijingcode2"); }
    QLineEdit *secondlatest() const { return control<QLineEdit>("edtzuijingcode1"); }
    QPushButton *generate() const { return control<QPushButton>("btngencode"); }
    void press(const QString &draw)
    {
        latest()->clear();
        // Qt Test types only Latin-1 keys; other text is put in as if pasted.
        if (std::all_of(draw.begin(), draw.end(), [](QChar c) { return c.unicode() < 0x80; }))
            QTest::keyClicks(latest(), draw);
        else
            latest()->insert(draw);
        QTest::keyClick(latest(), Qt::Key_Return);
    }
    void verifybet(const QString &plantext, int count = 250);
    Tradiogroup *type() const { return control<Tradiogroup>("opttype"); }

    std::optional<Tquietseams> m_seams;
    std::unique_ptr<Tfrmmain> m_window;
};

void TestMainWindow::init()
{
    m_seams.emplace();
    m_window = std::make_unique<Tfrmmain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    delete frmgudingjihua;
    frmgudingjihua = nullptr;
    delete frmabout;
    frmabout = nullptr;
    RELEASESEAMS(m_seams);
}

void TestMainWindow::designstate()
{
    QCOMPARE(m_window->objectName(), u"frmmain"_s);
    QCOMPARE(m_window->windowTitle(), u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(control<QLabel>("Label1")->text(), m_window->windowTitle());
    const QFont title = control<QLabel>("Label1")->font();
    QCOMPARE(title.pixelSize(), 33);
    QCOMPARE(title.family(), u"黑体"_s);
    QVERIFY(title.bold() && title.italic());
    QCOMPARE(control<Tradiogroup>("opttype")->itemindex(), 0);
    QCOMPARE(control<Tradiogroup>("opttype")->items(), (QStringList{u"二码"_s, u"三码"_s}));
    QCOMPARE(control<Tradiogroup>("optmode")->itemindex(), 0);
    QCOMPARE(control<Tradiogroup>("optmode")->items(), (QStringList{u"奇偶模式"_s, u"大小模式"_s}));
    QCOMPARE(generate()->text(), u"生成二码"_s);
    QVERIFY(generate()->isEnabled());
    QVERIFY(generate()->isDefault());
    QVERIFY(!secondlatest()->isEnabled());
    QVERIFY(!control<QLabel>("Label2")->isEnabled());
    QVERIFY(latest()->isEnabled());
    QVERIFY(latest()->text().isEmpty());
    QVERIFY(!control<QLineEdit>("edtcopy")->isVisible());
    QCOMPARE(control<QTabWidget>("page")->currentWidget()->objectName(), u"TabSheet1"_s);
    QCOMPARE(control<QTabWidget>("page")->tabText(0), u"位置号码"_s);
    QCOMPARE(control<QTabWidget>("page")->tabText(1), u"直选号码"_s);
    QVERIFY(!control<QLabel>("imglogo")->pixmap().isNull());
    for (Tstringgrid *grid : {log(), numbers()}) {
        QCOMPARE(grid->rowcount(), 5);
        QCOMPARE(grid->colcount(), 5);
        QCOMPARE(grid->cell(0, 0), QString());
    }
    QCOMPARE(m_window->focusWidget(), control<Tradiogroup>("optmode")->button(0));
    QVERIFY(control<QLabel>("lbljushu")->text().isEmpty());
}

void TestMainWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label6") << u"Label6"_s << QRect(480, 27, 36, 13) << u"官网："_s;
    QTest::newRow("page") << u"page"_s << QRect(16, 48, 433, 441) << QString();
    QTest::newRow("grdjihua") << u"grdjihua"_s << QRect(8, 16, 401, 385) << QString();
    QTest::newRow("lbljushu") << u"lbljushu"_s << QRect(180, 0, 57, 13) << QString();
    QTest::newRow("grdcode") << u"grdcode"_s << QRect(8, 16, 401, 385) << QString();
    QTest::newRow("btnjihua") << u"btnjihua"_s << QRect(328, 40, 57, 25) << u"倍投计划"_s;
    QTest::newRow("btncopy") << u"btncopy"_s << QRect(392, 40, 57, 25) << u"复制号码"_s;
    QTest::newRow("imglogo") << u"imglogo"_s << QRect(472, 48, 193, 177) << QString();
    QTest::newRow("opttype") << u"opttype"_s << QRect(472, 232, 193, 41) << QString();
    QTest::newRow("optmode") << u"optmode"_s << QRect(472, 280, 193, 41) << QString();
    QTest::newRow("Label2") << u"Label2"_s << QRect(472, 328, 99, 13) << u"次新开奖(３位）："_s;
    QTest::newRow("Label3") << u"Label3"_s << QRect(576, 328, 99, 13) << u"最新开奖(３位）："_s;
    QTest::newRow("edtzuijingcode1") << u"edtzuijingcode1"_s << QRect(472, 344, 89, 21) << QString();
    QTest::newRow("edtzuijingcode2") << u"edtzuijingcode2"_s << QRect(576, 344, 89, 21) << QString();
    QTest::newRow("btnnewjihua") << u"btnnewjihua"_s << QRect(488, 392, 75, 25) << u"开始新计划"_s;
    QTest::newRow("btngencode") << u"btngencode"_s << QRect(576, 392, 73, 25) << u"生成二码"_s;
    QTest::newRow("btnabout") << u"btnabout"_s << QRect(488, 456, 37, 25) << u"关于"_s;
    QTest::newRow("btnhelp") << u"btnhelp"_s << QRect(526, 456, 37, 25) << u"帮助"_s;
    QTest::newRow("btnclose") << u"btnclose"_s << QRect(576, 456, 73, 25) << u"关闭"_s;
    QTest::newRow("edtcopy") << u"edtcopy"_s << QRect(480, 2, 89, 21) << QString();
}

void TestMainWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);
    const QWidget *w = m_window->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), bounds);
    if (const auto *label = qobject_cast<const QLabel *>(w))
        QCOMPARE(label->text(), text);
    if (const auto *button = qobject_cast<const QPushButton *>(w))
        QCOMPARE(button->text(), text);
}

void TestMainWindow::taborder_data()
{
    QTest::addColumn<int>("typeindex");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("ring");
    // The design's order, the two links before the type group; the grid is the
    // one of the page shown, the second-latest box is skipped while disabled.
    const auto ring = [](const QStringList &boxes, const QString &grid) {
        return boxes + QStringList{u"btnnewjihua"_s, u"btngencode"_s, u"btnabout"_s, u"btnhelp"_s, u"btnclose"_s,
                                   u"page"_s, grid, u"btncopy"_s, u"btnjihua"_s, u"Label6"_s, u"lblweb2"_s,
                                   u"opttype"_s};
    };
    QTest::newRow("two positions") << 0 << 0 << ring({u"optmode"_s, u"edtzuijingcode2"_s}, u"grdjihua"_s);
    QTest::newRow("three positions")
        << 1 << 0 << ring({u"optmode"_s, u"edtzuijingcode1"_s, u"edtzuijingcode2"_s}, u"grdjihua"_s);
    QTest::newRow("numbers page") << 0 << 1 << ring({u"optmode"_s, u"edtzuijingcode2"_s}, u"grdcode"_s);
}

void TestMainWindow::taborder()
{
    QFETCH(int, typeindex);
    QFETCH(int, page);
    QFETCH(QStringList, ring);
    type()->setitemindex(typeindex);
    control<QTabWidget>("page")->setCurrentIndex(page);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QWidget *first = control<Tradiogroup>("optmode")->button(0);

    // Compared as one line each, so a failure shows the whole walk.
    const QString arrow = u" > "_s;
    QCOMPARE(accessibility::tabring(first).join(arrow), (ring + QStringList{ring.first()}).join(arrow));
    QStringList backward = ring;
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(accessibility::tabring(first, false).join(arrow), (backward + QStringList{ring.first()}).join(arrow));
}

void TestMainWindow::codetableisbuilt()
{
    QCOMPARE(codetable.size(), size_t(1000));
    QCOMPARE(QList<int>(codetable[123].begin(), codetable[123].end()), (QList<int>{1, 2, 3, 0, 0}));
    QCOMPARE(QList<int>(codetable[7].begin(), codetable[7].end()), (QList<int>{0, 0, 7, 0, 0}));
    QVERIFY(apppath.endsWith(QDir::separator()));
}

void TestMainWindow::verifybet(const QString &plantext, int count)
{
    const planrules::plan p = planrules::readplan(plantext);
    const Tstringgrid *grid = numbers();
    QCOMPARE(grid->rowcount(), count + 1);
    QCOMPARE(grid->colcount(), 4);
    QCOMPARE(grid->cell(0, 0), u"记录期号"_s);
    QCOMPARE(grid->cell(3, 0), u"号码3"_s);
    int previous = -1;
    for (int row = 1; row <= count; ++row) {
        QCOMPARE(grid->cell(0, row), planrules::numberlabel(row));
        const QString number = grid->cell(1, row) + grid->cell(2, row) + grid->cell(3, row);
        QVERIFY(planrules::isdraw(number));
        QVERIFY2(planrules::inbet(number, p), qPrintable(number));
        QVERIFY(number.toInt() > previous);
        previous = number.toInt();
    }
}

void TestMainWindow::plancycle_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("plans"); // one per logged period; a shorter list: the last draw hits
    QTest::newRow("odd/even worked sequence")
        << 0 << QStringList{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s}
        << QStringList{u"百十位奇偶"_s, u"百十位偶奇"_s, u"十个位奇奇"_s, u"百十位偶奇"_s};
    QTest::newRow("big/small") << 1 << QStringList{u"385"_s, u"549"_s, u"459"_s}
                               << QStringList{u"百十位小大"_s, u"百十位大小"_s, u"百十位小大"_s};
    QTest::newRow("000 and 999") << 0 << QStringList{u"000"_s, u"999"_s} << QStringList{u"百十位偶偶"_s, u"百十位奇奇"_s};
}

void TestMainWindow::plancycle()
{
    QFETCH(int, mode);
    QFETCH(QStringList, draws);
    QFETCH(QStringList, plans);
    control<Tradiogroup>("optmode")->setitemindex(mode);
    for (int i = 0; i < draws.size(); ++i) {
        press(draws[i]);
        QCOMPARE(control<QLabel>("lbljushu")->text(), u"共：250注"_s);
        if (i == plans.size()) {
            QCOMPARE(takemessagetexts(), QStringList{u"号码已中出，计划结束"_s});
            QVERIFY(!generate()->isEnabled());
            QCOMPARE(latest()->text(), draws[i]);
            QCOMPARE(log()->rowcount(), i + 1);
            VERIFYSTEP(verifybet(plans.last())); // the bet that was hit stays listed
            return;
        }
        QCOMPARE(takemessagetexts(), QStringList());
        const int row = i + 1;
        QCOMPARE(log()->rowcount(), row + 1);
        QCOMPARE(log()->colcount(), 3);
        QCOMPARE(log()->cell(0, 0), u"投注期数"_s);
        QCOMPARE(log()->cell(1, 0), u"最新开奖"_s);
        QCOMPARE(log()->cell(2, 0), u"本期投注"_s);
        QCOMPARE(log()->cell(0, row), u"第%1期"_s.arg(row));
        QCOMPARE(log()->cell(1, row), draws[i]);
        QCOMPARE(log()->cell(2, row), plans[i]);
        VERIFYSTEP(verifybet(plans[i]));
        QVERIFY(latest()->text().isEmpty());
        QCOMPARE(m_window->focusWidget(), latest());
    }
    QCOMPARE(log()->horizontalHeader()->sectionSize(0), 117);
    QCOMPARE(log()->horizontalHeader()->sectionSize(2), 117);
    QVERIFY(generate()->isEnabled());
}

void TestMainWindow::modeswitchmidplannevershits_data()
{
    QTest::addColumn<int>("plantype");
    QTest::addColumn<QString>("plan"); // after 385 in odd/even, then 385 in big/small
    QTest::newRow("two positions") << 0 << u"百十位小大"_s;
    QTest::newRow("three positions") << 1 << u"百十个位小大大"_s;
}

void TestMainWindow::modeswitchmidplannevershits()
{
    // The odd/even plan that 385 leads to is hit by 385 itself; once the mode is
    // switched the same draw can no longer hit it.
    QFETCH(int, plantype);
    QFETCH(QString, plan);
    type()->button(plantype)->click();
    secondlatest()->setText(u"385"_s);
    press(u"385"_s);
    control<Tradiogroup>("optmode")->button(1)->click();
    press(u"385"_s);
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(log()->rowcount(), 3);
    QCOMPARE(log()->cell(2, 2), plan);
    QVERIFY(generate()->isEnabled());
}

void TestMainWindow::refuseddraw_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("12") << u"12"_s;
    QTest::newRow("1234") << u"1234"_s;
    QTest::newRow("12a") << u"12a"_s;
    QTest::newRow("blank 12") << u" 12"_s;
    QTest::newRow("-12") << u"-12"_s;
    QTest::newRow("full-width") << u"１２３"_s;
}

void TestMainWindow::refuseddraw()
{
    QFETCH(QString, text);
    // On the very first press the log gets its titles before the draw is checked.
    press(text);
    QCOMPARE(takemessagetexts(), QStringList{u"请输入三位数字"_s});
    QCOMPARE(log()->rowcount(), 1);
    QCOMPARE(log()->cell(2, 0), u"本期投注"_s);
    QCOMPARE(numbers()->rowcount(), 5);
    QCOMPARE(numbers()->cell(0, 0), QString());
    QCOMPARE(control<QLabel>("lbljushu")->text(), u"共：250注"_s);
    QCOMPARE(latest()->text(), text);
    QVERIFY(generate()->isEnabled());

    // In a running plan nothing moves either.
    press(u"385"_s);
    const planrules::codetabletype before = codetable;
    press(text);
    QCOMPARE(takemessagetexts(), QStringList{u"请输入三位数字"_s});
    QCOMPARE(log()->rowcount(), 2);
    QCOMPARE(numbers()->rowcount(), 251);
    QVERIFY(codetable == before);
}

void TestMainWindow::hitendstheplanuntilnewplan()
{
    press(u"385"_s);
    press(u"173"_s); // odd hundreds, odd tens: 百 came true, 十 missed
    press(u"135"_s); // hits 百个位奇奇
    QCOMPARE(log()->cell(2, 2), u"百个位奇奇"_s);
    QCOMPARE(takemessagetexts(), QStringList{u"号码已中出，计划结束"_s});
    QVERIFY(!generate()->isEnabled());

    control<Tradiogroup>("optmode")->button(1)->click();
    QVERIFY(!generate()->isEnabled());
    control<Tradiogroup>("opttype")->button(1)->click();
    QVERIFY(!generate()->isEnabled());
    control<Tradiogroup>("opttype")->button(0)->click();
    QVERIFY(!generate()->isEnabled());
    QTest::keyClick(latest(), Qt::Key_Return); // a disabled default button does nothing
    QCOMPARE(takemessagetexts(), QStringList());

    latest()->setText(u"135"_s); // the type switch emptied the box; a hit itself leaves it
    control<QPushButton>("btnnewjihua")->click();
    QVERIFY(generate()->isEnabled());
    QCOMPARE(secondlatest()->text(), u"135"_s);
    QVERIFY(latest()->text().isEmpty());
    QCOMPARE(log()->rowcount(), 1);
    QCOMPARE(numbers()->rowcount(), 1);
    QVERIFY(control<QLabel>("lbljushu")->text().isEmpty());
    QCOMPARE(control<Tradiogroup>("optmode")->itemindex(), 1); // mode and type stay

    press(u"385"_s); // a new plan starts on 百 and 十 again
    QCOMPARE(log()->cell(0, 1), u"第1期"_s);
    QCOMPARE(log()->cell(2, 1), u"百十位小大"_s);
}

void TestMainWindow::newplanafteranormalperiodemptiesthesecondbox()
{
    control<Tradiogroup>("opttype")->setitemindex(1);
    secondlatest()->setText(u"111"_s);
    control<Tradiogroup>("opttype")->setitemindex(0);
    press(u"385"_s);
    control<QPushButton>("btnnewjihua")->click();
    QVERIFY(secondlatest()->text().isEmpty());
    QVERIFY(latest()->text().isEmpty());
}

void TestMainWindow::typeswitchresetsthewindow()
{
    press(u"385"_s);
    control<QPushButton>("btncopy")->click();
    latest()->setText(u"472"_s);
    control<Tradiogroup>("opttype")->button(1)->click();
    QVERIFY(secondlatest()->isEnabled());
    QVERIFY(control<QLabel>("Label2")->isEnabled());
    QCOMPARE(generate()->text(), u"生成三码"_s);
    QVERIFY(latest()->text().isEmpty());
    QCOMPARE(log()->rowcount(), 1);
    QCOMPARE(log()->cell(0, 0), u"投注期数"_s);
    QCOMPARE(numbers()->rowcount(), 1);
    QVERIFY(control<QLabel>("lbljushu")->text().isEmpty());
    QVERIFY(control<QLineEdit>("edtcopy")->text().isEmpty());

    secondlatest()->setText(u"123"_s);
    control<Tradiogroup>("opttype")->button(0)->click();
    QVERIFY(!secondlatest()->isEnabled());
    QVERIFY(!control<QLabel>("Label2")->isEnabled());
    QVERIFY(secondlatest()->text().isEmpty());
    QCOMPARE(generate()->text(), u"生成二码"_s);
}

void TestMainWindow::threepositionplancycle_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("first");        // typed into the second-latest box
    QTest::addColumn<QStringList>("draws");    // typed one per press into the latest box
    QTest::addColumn<QStringList>("plans");    // a shorter list: the last draw hits
    QTest::newRow("odd/even worked sequence") << 0 << u"385"_s << QStringList{u"472"_s, u"390"_s, u"816"_s}
                                              << QStringList{u"百十个位奇偶奇"_s, u"百十个位偶奇偶"_s};
    QTest::newRow("000 000") << 0 << u"000"_s << QStringList{u"000"_s} << QStringList{u"百十个位偶偶偶"_s};
    QTest::newRow("equal draws, then the same pattern")
        << 0 << u"385"_s << QStringList{u"385"_s, u"123"_s} << QStringList{u"百十个位奇偶奇"_s};
    QTest::newRow("big/small") << 1 << u"385"_s << QStringList{u"472"_s, u"999"_s}
                               << QStringList{u"百十个位小大大"_s, u"百十个位小大小"_s};
}

void TestMainWindow::threepositionplancycle()
{
    QFETCH(int, mode);
    QFETCH(QString, first);
    QFETCH(QStringList, draws);
    QFETCH(QStringList, plans);
    control<Tradiogroup>("optmode")->setitemindex(mode);
    type()->button(1)->click();
    QTest::keyClicks(secondlatest(), first);
    for (int i = 0; i < draws.size(); ++i) {
        const QString before = secondlatest()->text();
        press(draws[i]);
        QCOMPARE(control<QLabel>("lbljushu")->text(), u"共：125注"_s);
        if (i == plans.size()) {
            QCOMPARE(takemessagetexts(), QStringList{u"号码已中出，计划结束"_s});
            QVERIFY(!generate()->isEnabled());
            QCOMPARE(log()->rowcount(), i + 1);
            QCOMPARE(latest()->text(), draws[i]); // the hit is not moved on
            QCOMPARE(secondlatest()->text(), before);
            VERIFYSTEP(verifybet(plans.last(), 125));

            control<QPushButton>("btnnewjihua")->click();
            QCOMPARE(secondlatest()->text(), draws[i]);
            QVERIFY(latest()->text().isEmpty());
            press(before); // one new draw is enough
            QCOMPARE(takemessagetexts(), QStringList());
            QCOMPARE(log()->rowcount(), 2);
            QCOMPARE(log()->cell(2, 1), planrules::classtext(draws[i], planrules::mode(mode)));
            return;
        }
        QCOMPARE(takemessagetexts(), QStringList());
        const int row = i + 1;
        QCOMPARE(log()->rowcount(), row + 1);
        QCOMPARE(log()->cell(0, row), u"第%1期"_s.arg(row));
        QCOMPARE(log()->cell(1, row), draws[i]);
        QCOMPARE(log()->cell(2, row), plans[i]);
        VERIFYSTEP(verifybet(plans[i], 125));
        QCOMPARE(secondlatest()->text(), draws[i]);
        QVERIFY(latest()->text().isEmpty());
        QCOMPARE(m_window->focusWidget(), latest());
    }
    QVERIFY(generate()->isEnabled());
}

void TestMainWindow::threepositionplanfollowstheeditedbox()
{
    type()->button(1)->click();
    secondlatest()->setText(u"385"_s);
    press(u"472"_s);
    secondlatest()->setText(u"000"_s); // the user corrects the second-latest draw
    press(u"390"_s);
    QCOMPARE(log()->cell(2, 2), u"百十个位偶偶偶"_s);
}

void TestMainWindow::refusedsecondlatestdraw_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("12a") << u"12a"_s;
    QTest::newRow("1234") << u"1234"_s;
}

void TestMainWindow::refusedsecondlatestdraw()
{
    QFETCH(QString, text);
    type()->button(1)->click();
    secondlatest()->setText(u"385"_s);
    press(u"472"_s);
    const planrules::codetabletype before = codetable;
    secondlatest()->setText(text);
    press(u"390"_s);
    QCOMPARE(takemessagetexts(), QStringList{u"请输入三位数字"_s});
    QCOMPARE(secondlatest()->text(), text);
    QCOMPARE(latest()->text(), u"390"_s);
    QCOMPARE(log()->rowcount(), 2);
    QVERIFY(codetable == before);
    VERIFYSTEP(verifybet(u"百十个位奇偶奇"_s, 125));
    QVERIFY(generate()->isEnabled());
}

void TestMainWindow::copiesthenumbers()
{
    press(u"000"_s); // 百十位偶偶: 000 to 009, 020 ...
    QCOMPARE(numbers()->cell(0, 8), u"  8"_s);
    QCOMPARE(numbers()->cell(1, 8), u"0"_s);
    QCOMPARE(numbers()->cell(2, 8), u"0"_s);
    QCOMPARE(numbers()->cell(3, 8), u"7"_s);
    control<QPushButton>("btncopy")->click();
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(control<QLineEdit>("edtcopy")->text(), text);
    QVERIFY(text.startsWith(u"000 001 002 003 004 005 006 007 008 009 \r\n020 021 "_s));
    QVERIFY(text.endsWith(u"888 889 \r\n"_s));
    QCOMPARE(text.size(), 250 * 4 + 25 * 2);
    QCOMPARE(text.count(u"\r\n"_s), 25);
}

void TestMainWindow::copiesathreepositionbet()
{
    type()->button(1)->click();
    secondlatest()->setText(u"000"_s);
    press(u"000"_s); // 百十个位偶偶偶
    control<QPushButton>("btncopy")->click();
    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.startsWith(u"000 002 004 006 008 020 022 024 026 028 \r\n040 "_s));
    QCOMPARE(text.count(u"\r\n"_s), 12);
    QVERIFY(text.endsWith(u"\r\n880 882 884 886 888 "_s));
    QCOMPARE(text.size(), 125 * 4 + 12 * 2);
}

void TestMainWindow::copyofanemptygridkeepstheclipboard()
{
    QGuiApplication::clipboard()->setText(u"kept"_s);
    control<QPushButton>("btncopy")->click(); // the grid of the design: blank rows only
    QCOMPARE(QGuiApplication::clipboard()->text(), u"kept"_s);
    press(u"385"_s);
    control<QPushButton>("btnnewjihua")->click();
    control<QPushButton>("btncopy")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), u"kept"_s);
    QVERIFY(control<QLineEdit>("edtcopy")->text().isEmpty());
}

void TestMainWindow::enteronanotherbuttonpressesthatbutton()
{
    press(u"385"_s);
    latest()->setText(u"472"_s);
    auto *newplan = control<QPushButton>("btnnewjihua");
    newplan->setFocus();
    QTest::keyClick(newplan, Qt::Key_Return);
    QCOMPARE(log()->rowcount(), 1); // the plan was reset, not continued
    QCOMPARE(takemessagetexts(), QStringList());

    // Enter on a radio button or the grid presses the default button.
    latest()->setText(u"385"_s);
    QRadioButton *item = control<Tradiogroup>("optmode")->button(0);
    item->setFocus();
    QTest::keyClick(item, Qt::Key_Return);
    QCOMPARE(log()->rowcount(), 2);
    latest()->setText(u"472"_s);
    log()->setFocus();
    QTest::keyClick(log(), Qt::Key_Enter);
    QCOMPARE(log()->rowcount(), 3);
}

void TestMainWindow::closebuttonclosesthewindow()
{
    control<QPushButton>("btnclose")->click();
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::plannerbuttonopensoneplanner()
{
    QVERIFY(!frmgudingjihua);
    control<QPushButton>("btnjihua")->click();
    Tfrmgudingjihua *planner = frmgudingjihua;
    QVERIFY(planner);
    QVERIFY(planner->isVisible());
    QVERIFY(!planner->parent()); // the program's, not the main window's
    planner->findChild<QLineEdit *>(u"edtdays"_s)->setText(u"7"_s);
    planner->findChild<QPushButton *>(u"btnclose"_s)->click();
    QVERIFY(!planner->isVisible());

    control<QPushButton>("btnjihua")->click();
    QCOMPARE(frmgudingjihua, planner);
    QVERIFY(planner->isVisible());
    QCOMPARE(planner->findChild<QLineEdit *>(u"edtdays"_s)->text(), u"7"_s);
    control<QPushButton>("btnjihua")->click();
    QCOMPARE(frmgudingjihua, planner);

    // The main window stays usable beside it.
    press(u"385"_s);
    QCOMPARE(log()->rowcount(), 2);
}

void TestMainWindow::aboutboxiscreatedonce()
{
    QVERIFY(!frmabout);
    bool wasshown = false;
    const auto closewhenshown = [&] {
        QTimer::singleShot(0, m_window.get(), [&] {
            wasshown = frmabout && frmabout->isVisible() && frmabout->isModal();
            frmabout->close();
        });
    };
    closewhenshown();
    control<QPushButton>("btnabout")->click();
    QVERIFY(wasshown);
    // Beside the test program there is no "附属/about.txt": the box says so once.
    QCOMPARE(takeshown().size(), 1);
    Tfrmabout *first = frmabout;
    QVERIFY(!first->isVisible());

    wasshown = false;
    closewhenshown();
    control<QPushButton>("btnabout")->click();
    QVERIFY(wasshown);
    QCOMPARE(frmabout, first);
    QCOMPARE(takemessagetexts(), QStringList()); // not read again
}

void TestMainWindow::fixedcolumnslineupafterdraws()
{
    // After the first two draws, where "第1期" was seen above the line of "385".
    for (const QString &draw : {u"385"_s, u"427"_s}) {
        control<QLineEdit>("edtzuijingcode2")->setText(draw);
        control<QPushButton>("btngencode")->click();
    }
    takemessagetexts();
    QCoreApplication::processEvents();
    VERIFYSTEP(comparefixedcolumn(*control<Tstringgrid>("grdjihua"), false));
    control<QTabWidget>("page")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    Tstringgrid *numbers = control<Tstringgrid>("grdcode");
    numbers->verticalScrollBar()->setValue(numbers->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    VERIFYSTEP(comparefixedcolumn(*numbers, false));
}

void TestMainWindow::pastedlinebreaksareremoved()
{
    // The one box open to the user; the copy buffer keeps its lines.
    pasteinto(control<QLineEdit>("edtzuijingcode2"), u"385\r\n"_s);
    QCOMPARE(control<QLineEdit>("edtzuijingcode2")->text(), u"385"_s);
}

void TestMainWindow::helpandweblinksasktheshell()
{
    // The test's folder has no guide beside it: 帮助 then opens nothing.
    const QString guide = helptarget(apppath);
    control<QPushButton>("btnhelp")->click();
    QTest::mouseClick(control<Tclicklabel>("Label6"), Qt::LeftButton);
    QTest::mouseClick(control<Tclicklabel>("lblweb2"), Qt::LeftButton);
    QList<shell::request> requests = shell::seam().takerequests();
    if (!guide.isEmpty()) {
        QCOMPARE(requests.value(0).target, guide);
        QCOMPARE(requests.value(0).show, Tshowmode::maximized);
        requests.removeFirst();
    }
    QCOMPARE(requests.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(requests[i].target, u"http://www.qorvel3d.example"_s);
        QCOMPARE(requests[i].show, Tshowmode::normal);
    }
    QCOMPARE(QUrl(requests[0].target).path(), QString()); // the host alone
    QCOMPARE(takemessagetexts(), QStringList());
}

void TestMainWindow::helpopenstheguidebesidetheprogram()
{
#ifdef Q_OS_WIN
    control<QPushButton>("btnhelp")->click();
    const QList<shell::request> requests = shell::seam().takerequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].target, besideprogram(apppath, u"软件演示.exe"_s));
#else
    const QString guide = besideprogram(apppath, u"软件演示.html"_s);
    if (QFileInfo::exists(guide))
        QSKIP("a guide lies beside the test already");
    {
        QFile made(guide);
        QVERIFY(made.open(QIODevice::WriteOnly));
    }
    const auto removeguide = qScopeGuard([&] { QFile::remove(guide); });
    control<QPushButton>("btnhelp")->click();
    const QList<shell::request> requests = shell::seam().takerequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].target, guide);
    QVERIFY(requests[0].target.startsWith(apppath));
    QCOMPARE(requests[0].show, Tshowmode::maximized);
#endif
    QCOMPARE(takemessagetexts(), QStringList());
}

void TestMainWindow::everycontrolhasaname_data()
{
    QTest::addColumn<int>("typeindex");
    QTest::addColumn<int>("page");
    QTest::newRow("two positions, log page") << 0 << 0;
    QTest::newRow("three positions, numbers page") << 1 << 1;
}

void TestMainWindow::everycontrolhasaname()
{
    QFETCH(int, typeindex);
    QFETCH(int, page);
    type()->setitemindex(typeindex);
    control<QTabWidget>("page")->setCurrentIndex(page);
    QCOMPARE(accessibility::unnamedcontrols(m_window.get()).join(u", "_s), QString());
}

void TestMainWindow::controlnames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("announced");
    // Each box is named by the label above it, not by its neighbour's.
    QTest::newRow("second-latest box") << u"edtzuijingcode1"_s << u"次新开奖(３位）："_s;
    QTest::newRow("latest box") << u"edtzuijingcode2"_s << u"最新开奖(３位）："_s;
    QTest::newRow("page control") << u"page"_s << u"投注记录与号码"_s;
    QTest::newRow("plan log") << u"grdjihua"_s << u"投注计划记录"_s;
    QTest::newRow("numbers grid") << u"grdcode"_s << u"本期投注号码"_s;
    QTest::newRow("type group") << u"opttype"_s << u"类型"_s;
    QTest::newRow("mode group") << u"optmode"_s << u"模式"_s;
    QTest::newRow("logo") << u"imglogo"_s << u"Qorvel3D标志"_s;
    QTest::newRow("home page label") << u"Label6"_s << u"官网："_s;
    QTest::newRow("web address") << u"lblweb2"_s << u"qorvel3d.example"_s;
}

void TestMainWindow::controlnames()
{
    QFETCH(QString, name);
    QFETCH(QString, announced);
    QWidget *w = control<QWidget>(qPrintable(name));
    QCOMPARE(accessibility::accessiblename(w), announced);
}

void TestMainWindow::linksopenbykeyboard_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    for (const char *label : {"Label6", "lblweb2"}) {
        QTest::addRow("%s Return", label) << QString::fromLatin1(label) << int(Qt::Key_Return);
        QTest::addRow("%s Enter", label) << QString::fromLatin1(label) << int(Qt::Key_Enter);
        QTest::addRow("%s Space", label) << QString::fromLatin1(label) << int(Qt::Key_Space);
    }
}

void TestMainWindow::linksopenbykeyboard()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    auto *link = control<Tclicklabel>(qPrintable(name));
    const QString before = generate()->text();
    const QString log0 = log()->cell(0, 0);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    link->setFocus(Qt::TabFocusReason);
    QVERIFY(link->hasFocus());
    QTest::keyClick(link, Qt::Key(key));
    const QList<shell::request> requests = shell::seam().takerequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].target, u"http://www.qorvel3d.example"_s);
    // Enter on a link is the link's, not the default button's.
    QCOMPARE(log()->cell(0, 0), log0);
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(generate()->text(), before);

    // Other keys do nothing; a click opens the page without taking the focus.
    QTest::keyClick(link, Qt::Key_A);
    QCOMPARE(shell::seam().takerequests().size(), 0);
    control<QPushButton>("btnclose")->setFocus();
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(shell::seam().takerequests().size(), 1);
    QVERIFY(!link->hasFocus());
}

void TestMainWindow::linksarepressableforscreenreaders()
{
    for (const char *name : {"Label6", "lblweb2"}) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control<Tclicklabel>(name));
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Link);
        QVERIFY(iface->state().focusable);
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        const QList<shell::request> requests = shell::seam().takerequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].target, u"http://www.qorvel3d.example"_s);
    }
}

void TestMainWindow::numbersgridnamecarriesthecount()
{
    accessibility::Tannouncementscope announced{announcements::seam()};
    const auto announcednames = [] { return accessibility::takeannounced(u"grdcode"_s); };
    press(u"135"_s);
    QCOMPARE(accessibility::accessiblename(numbers()), u"本期投注号码，共250注"_s);
    QCOMPARE(announcednames(), QStringList{u"本期投注号码，共250注"_s});
    // The next bet has as many numbers and is still announced as new.
    press(u"246"_s);
    QCOMPARE(announcednames(), QStringList{u"本期投注号码，共250注"_s});
    // A refused draw changes nothing and says nothing.
    press(u"12"_s);
    QCOMPARE(takemessagetexts(), QStringList{u"请输入三位数字"_s});
    QCOMPARE(announcednames(), QStringList());

    control<QPushButton>("btnnewjihua")->click();
    QCOMPARE(accessibility::accessiblename(numbers()), u"本期投注号码"_s);
    QCOMPARE(announcednames(), QStringList{u"本期投注号码"_s});

    type()->setitemindex(1);
    QCOMPARE(announcednames(), QStringList{u"本期投注号码"_s});
    secondlatest()->setText(u"135"_s);
    press(u"246"_s);
    QCOMPARE(accessibility::accessiblename(numbers()), u"本期投注号码，共125注"_s);
    QCOMPARE(announcednames(), QStringList{u"本期投注号码，共125注"_s});
}

void TestMainWindow::windowroles()
{
    QAccessibleInterface *main = QAccessible::queryAccessibleInterface(m_window.get());
    QCOMPARE(main->role(), QAccessible::Window);
    QCOMPARE(main->text(QAccessible::Name), u"Qorvel3D时时彩自动选号器"_s);
    control<QPushButton>("btnjihua")->click();
    QAccessibleInterface *planner = QAccessible::queryAccessibleInterface(frmgudingjihua);
    QCOMPARE(planner->role(), QAccessible::Window);
    QCOMPARE(planner->text(QAccessible::Name), u"固定计划投资"_s);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
