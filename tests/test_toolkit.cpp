// The thin layer over Qt: string grid, radio group, messages and the guard, GBK,
// JPEG decoding.
#include "toolkit/apperror.h"
#include "toolkit/filedialogs.h"
#include "toolkit/gbk.h"
#include "toolkit/guard.h"
#include "toolkit/jpeg.h"
#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/printing.h"
#include "toolkit/programfiles.h"
#include "toolkit/radiogroup.h"
#include "toolkit/shell.h"
#include "toolkit/stringgrid.h"
#include "toolkit/window.h"
#include "tests/accessibility.h"
#include "tests/gridcheck.h"
#include "tests/windowtest.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <QHeaderView>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

#ifdef Q_OS_LINUX
namespace {

// Limits the process's address space to what it uses now plus `room`, while it lives.
class Taddressspacelimit
{
public:
    explicit Taddressspacelimit(qint64 room)
    {
        QFile statm(u"/proc/self/statm"_s);
        if (!statm.open(QIODevice::ReadOnly) || getrlimit(RLIMIT_AS, &m_old) != 0)
            return;
        const qint64 used = statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
        rlimit tight = m_old;
        tight.rlim_cur = static_cast<rlim_t>(used + room);
        m_set = used > 0 && setrlimit(RLIMIT_AS, &tight) == 0;
    }
    ~Taddressspacelimit()
    {
        if (m_set)
            setrlimit(RLIMIT_AS, &m_old);
    }
    bool isset() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
};

} // namespace
#endif

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_seams.emplace(); }
    void cleanup() { RELEASESEAMS(m_seams); }

    void freshgridhasfivebyfiveemptycells();
    void gridtitlerowistheheader();
    void gridkeepscellsacrossreshapes();
    void gridrefusescellsoutsideit();
    void gridkeepscellsacrossrewrites();
    void gridcellsarenoteditable();
    void afailedgrowthleavesthegrid_data();
    void afailedgrowthleavesthegrid();
    void fixedcolumnlinesupwithitsrows_data();
    void fixedcolumnlinesupwithitsrows();

    void radiogroupselects();
    void taborderisaring_data();
    void taborderisaring();
    void dialogsoverawindowontopstayontop();

    void seamleftoversfailthetest_data();
    void seamleftoversfailthetest();
    void anestedseamkeepstheenclosingone();

    void errortext_data();
    void errortext();
    void guardshowsthefailureandreturns();
    void plainmessage();
    void errorboxreadschineseoncetranslated();

    void datafilesbesideorinstalled_data();
    void datafilesbesideorinstalled();
    void helpopenstheguide_data();
    void helpopenstheguide();
    void gbkroundtrip();
    void gbkrefusestextitcannothold();

    void decodesjpeg_data();
    void decodesjpeg();
    void brokenjpegfailswithlibjpegsmessage_data();
    void brokenjpegfailswithlibjpegsmessage();

private:
    std::optional<Tquietseams> m_seams;
};

void TestToolkit::freshgridhasfivebyfiveemptycells()
{
    Tstringgrid grid;
    QCOMPARE(grid.rowcount(), 5);
    QCOMPARE(grid.colcount(), 5);
    QCOMPARE(grid.model()->rowCount(), 4);
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(grid.horizontalHeader()->sectionSize(c), 64);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(grid.cell(c, r), QString());
    }
    QVERIFY(grid.verticalHeader()->isHidden());
}

void TestToolkit::gridtitlerowistheheader()
{
    Tstringgrid grid;
    grid.setcell(2, 0, u"本期投注"_s);
    grid.setcell(1, 1, u"385"_s);
    QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), u"本期投注"_s);
    QCOMPARE(grid.model()->index(0, 1).data().toString(), u"385"_s);
    QCOMPARE(grid.cell(1, 1), u"385"_s);
}

void TestToolkit::gridkeepscellsacrossreshapes()
{
    Tstringgrid grid;
    grid.setcell(0, 0, u"a"_s);
    grid.setcell(4, 4, u"corner"_s);
    grid.setcell(1, 2, u"b"_s);
    grid.setcolwidth(1, 117);

    grid.setrowcount(3);
    QCOMPARE(grid.rowcount(), 3);
    QCOMPARE(grid.model()->rowCount(), 2);
    grid.setrowcount(6);
    QCOMPARE(grid.cell(4, 4), QString()); // cut rows come back empty
    QCOMPARE(grid.cell(1, 2), u"b"_s);

    grid.setcolcount(2);
    QCOMPARE(grid.colcount(), 2);
    QCOMPARE(grid.cell(0, 0), u"a"_s);
    QCOMPARE(grid.cell(1, 2), u"b"_s);
    QCOMPARE(grid.horizontalHeader()->sectionSize(1), 117);
    grid.setcolcount(7);
    QCOMPARE(grid.model()->columnCount(), 7);
    QCOMPARE(grid.cell(6, 5), QString());
    QCOMPARE(grid.cell(1, 2), u"b"_s);

    grid.setrowcount(1);
    QCOMPARE(grid.model()->rowCount(), 0);
    QCOMPARE(grid.cell(0, 0), u"a"_s);
}

void TestToolkit::gridkeepscellsacrossrewrites()
{
    // Cells written over and over, longer and shorter, with rows and columns
    // dropped and added between: every cell reads back its last text.
    Tstringgrid grid;
    grid.setcolcount(7);
    grid.setrowcount(200);
    std::vector<QString> expected(size_t(7) * 200);
    const auto at = [](int col, int row) { return size_t(row) * 7 + size_t(col); };
    for (int round = 0; round < 12; ++round) {
        for (int row = 0; row < 200; ++row) {
            for (int col = 0; col < 7; ++col) {
                const int n = (row * 7 + col) * 31 + round * 17;
                const QString text = QString(n % 13, QChar(u'a' + n % 26)) + QString::number(n);
                grid.setcell(col, row, text);
                expected[at(col, row)] = text;
            }
        }
        if (round == 5) {
            grid.setrowcount(50); // most of the text left unused
            grid.setrowcount(200);
            for (size_t i = at(0, 50); i < expected.size(); ++i)
                expected[i].clear();
        }
    }
    grid.setcell(3, 3, grid.cellview(3, 4)); // a cell's own text as the source
    expected[at(3, 3)] = expected[at(3, 4)];
    grid.setcolcount(5);
    for (int row = 0; row < 200; ++row)
        for (int col = 0; col < 7; ++col)
            QCOMPARE(grid.cell(col, row), col < 5 ? expected[at(col, row)] : QString());
    grid.setcolcount(7);
    QCOMPARE(grid.cell(6, 199), QString());
    QCOMPARE(grid.cell(4, 199), expected[at(4, 199)]);
}

void TestToolkit::gridrefusescellsoutsideit()
{
    Tstringgrid grid;
    QVERIFY_THROWS_EXCEPTION(AppError, grid.setcell(5, 0, u"x"_s));
    QVERIFY_THROWS_EXCEPTION(AppError, grid.setcell(0, 5, u"x"_s));
    QVERIFY_THROWS_EXCEPTION(AppError, grid.setcell(-1, 0, u"x"_s));
    QCOMPARE(grid.cell(9, 9), QString());
}

void TestToolkit::gridcellsarenoteditable()
{
    Tstringgrid grid;
    const Qt::ItemFlags flags = grid.model()->flags(grid.model()->index(0, 0));
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(!(flags & Qt::ItemIsEditable));
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestToolkit::afailedgrowthleavesthegrid_data()
{
    QTest::addColumn<bool>("rows"); // grow the rows, else the columns
    QTest::newRow("rows") << true;
    QTest::newRow("columns") << false;
}

void TestToolkit::afailedgrowthleavesthegrid()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer ends the program on a failed allocation instead of throwing");
#elif !defined(Q_OS_LINUX)
    QSKIP("the address space is limited through Linux's setrlimit");
#else
    QFETCH(bool, rows);
    Tstringgrid grid;
    grid.setcell(1, 2, u"kept"_s);
    QSignalSpy rowsinserting(grid.model(), &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy colsinserting(grid.model(), &QAbstractItemModel::columnsAboutToBeInserted);
    bool failed = false;
    {
        // Ten billion cells cannot fit into the address space left here,
        // whatever the system's overcommit policy.
        Taddressspacelimit limit(qint64(1) << 30);
        QVERIFY(limit.isset());
        try {
            rows ? grid.setrowcount(std::numeric_limits<int>::max()) : grid.setcolcount(std::numeric_limits<int>::max());
        } catch (const std::exception &) {
            failed = true;
        }
    }
    QVERIFY(failed);
    QCOMPARE(rowsinserting.count(), 0);
    QCOMPARE(colsinserting.count(), 0);
    QCOMPARE(grid.rowcount(), 5);
    QCOMPARE(grid.colcount(), 5);
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(grid.model()->columnCount(), 5);
    QCOMPARE(grid.cell(1, 2), u"kept"_s);
    grid.setrowcount(7); // and it still works
    QCOMPARE(grid.model()->rowCount(), 6);
#endif
}

void TestToolkit::fixedcolumnlinesupwithitsrows_data()
{
    QTest::addColumn<int>("down");     // rows scrolled down
    QTest::addColumn<bool>("sideways"); // scrolled to the right end
    QTest::newRow("as laid out") << 0 << false;
    QTest::newRow("down") << 7 << false;
    QTest::newRow("sideways") << 0 << true;
    QTest::newRow("both ways") << 7 << true;
    QTest::newRow("to the last row") << 1000 << true;
}

void TestToolkit::fixedcolumnlinesupwithitsrows()
{
    QFETCH(int, down);
    QFETCH(bool, sideways);
    // Titles as the planner's: Chinese ones beside a column 0 of Latin text.
    QWidget window;
    window.resize(320, 260);
    Tstringgrid grid(&window);
    grid.setGeometry(8, 8, 300, 240);
    grid.setcolcount(7);
    grid.setrowcount(41);
    const QStringList titles{u"No"_s, u"本期倍数"_s, u"本期投入"_s, u"累计投入"_s, u"本期收益"_s, u"当期利润"_s,
                             u"当期利润率(%)"_s};
    for (int c = 0; c < 7; ++c) {
        grid.setcell(c, 0, titles[c]);
        grid.setcolwidth(c, 80);
        for (int r = 1; r < 41; ++r)
            grid.setcell(c, r, u"第%1期"_s.arg(r));
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) // the scaled run must really scale
        QCOMPARE(window.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    grid.verticalScrollBar()->setValue(down);
    if (sideways)
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    QCoreApplication::processEvents();

    VERIFYSTEP(comparefixedcolumn(grid, sideways));
}

void TestToolkit::radiogroupselects()
{
    Tradiogroup group;
    group.setitems({u"二码"_s, u"三码"_s});
    group.setcolumns(2);
    QSignalSpy clicked(&group, &Tradiogroup::clicked);
    QCOMPARE(group.itemindex(), -1);
    group.setitemindex(0);
    QCOMPARE(group.itemindex(), 0);
    group.button(1)->click();
    QCOMPARE(group.itemindex(), 1);
    QVERIFY(!group.button(0)->isChecked());
    QCOMPARE(clicked.count(), 2);
    // Only the selection takes the Tab focus.
    QCOMPARE(group.button(1)->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(group.button(0)->focusPolicy(), Qt::ClickFocus);
    group.setitemindex(-1);
    QCOMPARE(group.itemindex(), -1);
    QCOMPARE(group.items(), (QStringList{u"二码"_s, u"三码"_s}));
}

void TestToolkit::taborderisaring_data()
{
    QTest::addColumn<bool>("withpages");
    QTest::newRow("plain controls") << false;
    QTest::newRow("with a page control") << true;
}

void TestToolkit::taborderisaring()
{
    QFETCH(bool, withpages);
    QWidget window;
    const auto make = [&window](auto *w, const char *name) {
        w->setObjectName(QLatin1StringView(name));
        return w;
    };
    // Made before the others, so Qt's own chain would reach it from the last one.
    QLineEdit *stray = make(new QLineEdit(&window), "stray");
    QPushButton *first = make(new QPushButton(u"1"_s, &window), "first");
    auto *pages = make(new QTabWidget(&window), "pages");
    auto *page = new QWidget;
    QPushButton *inpage = make(new QPushButton(u"2"_s, page), "inpage");
    pages->addTab(page, u"页"_s);
    Tradiogroup *group = make(new Tradiogroup(&window), "group");
    group->setitems({u"甲"_s, u"乙"_s});
    group->setitemindex(1);
    QPushButton *last = make(new QPushButton(u"3"_s, &window), "last");
    int y = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{stray, first, pages, group, last})
        w->setGeometry(0, std::exchange(y, y + 60), 200, 50);
    QStringList ring{u"first"_s, u"group"_s, u"last"_s};
    if (withpages) {
        settaborder({first, pages, inpage, group, last});
        ring.insert(1, u"pages"_s);
        ring.insert(2, u"inpage"_s);
    } else {
        pages->hide();
        settaborder({first, group, last});
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const QString arrow = u" > "_s;
    QCOMPARE(accessibility::tabring(first).join(arrow), (ring + QStringList{ring.first()}).join(arrow));
    QStringList backward = ring;
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(accessibility::tabring(first, false).join(arrow), (backward + QStringList{ring.first()}).join(arrow));
    // Left out of the ring, the stray box still takes a click.
    QVERIFY(stray->focusPolicy() & Qt::ClickFocus);
    QVERIFY(!(stray->focusPolicy() & Qt::TabFocus));
}

void TestToolkit::dialogsoverawindowontopstayontop()
{
    QWidget ontop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), plain;
    QLineEdit inside(&ontop);
    QDialog overtop, overplain, unowned;
    stayabove(&overtop, &inside); // the owner may be any control of that window
    stayabove(&overplain, &plain);
    stayabove(&unowned, nullptr);
    QVERIFY(overtop.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!overplain.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!unowned.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestToolkit::seamleftoversfailthetest_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("fault");
    QTest::newRow("a box read") << u"box read"_s << QString();
    QTest::newRow("a box not read") << u"box"_s << u"message box: 1 request(s) never read"_s;
    QTest::newRow("a shell request not read") << u"shell"_s << u"shell: 1 request(s) never read"_s;
    QTest::newRow("a file answer used") << u"file answered"_s << QString();
    QTest::newRow("a file answer not used") << u"file answer"_s << u"file dialog: 1 queued answer(s) never used"_s;
    QTest::newRow("a file dialog not answered") << u"file dialog"_s << u"file dialog: 1 shown with no queued answer"_s;
    QTest::newRow("a print answer not used") << u"print answer"_s << u"print dialog: 1 queued answer(s) never used"_s;
    QTest::newRow("a print dialog not answered")
        << u"print dialog"_s << u"print dialog: 1 shown with no queued answer"_s;
}

void TestToolkit::seamleftoversfailthetest()
{
    QFETCH(QString, step);
    QFETCH(QString, fault);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Tfiledialogsetup setup{u"文本文件(*.txt)"_s, u"txt"_s, folder.path(), QString()};
    QPrinter printer;
    if (step.startsWith(u"box"))
        messages::showmessage(u"x"_s);
    if (step == u"box read")
        QCOMPARE(takemessagetexts(), QStringList{u"x"_s});
    if (step == u"shell")
        shellopen(nullptr, u"http://www.qorvel3d.example"_s, Tshowmode::normal);
    if (step.startsWith(u"file answer"))
        filedialogs::seam().queueanswer(u"a.txt"_s);
    if (step == u"file answered")
        QCOMPARE(askopenfile(nullptr, setup), QDir(folder.path()).filePath(u"a.txt"_s));
    if (step == u"file dialog")
        QCOMPARE(asksavefile(nullptr, setup), QString()); // cancelled
    if (step == u"print answer")
        printdialogs::seam().queueanswer(folder.filePath(u"a.pdf"_s));
    if (step == u"print dialog")
        QVERIFY(!askprinter(nullptr, printer));

    QCOMPARE(takeleftovers(), fault.isEmpty() ? QStringList() : QStringList{fault});
    QCOMPARE(takeleftovers(), QStringList()); // told once, then forgotten
}

void TestToolkit::anestedseamkeepstheenclosingone()
{
    messages::showmessage(u"outer"_s);
    filedialogs::seam().queueanswer(u"outer.txt"_s);
    {
        Tseamscope<Tseam<messages::shown>> boxes(messages::seam());
        Tseamscope<Tseam<filedialogs::shown, QString>> files(filedialogs::seam());
        QCOMPARE(takemessagetexts(), QStringList());
        messages::showmessage(u"inner"_s);
        QCOMPARE(takemessagetexts(), QStringList{u"inner"_s});
        filedialogs::seam().queueanswer(u"inner.txt"_s);
        QCOMPARE(askopenfile(nullptr, {u"文本文件(*.txt)"_s, u"txt"_s, QDir::tempPath(), QString()}),
                 QDir(QDir::tempPath()).filePath(u"inner.txt"_s));
        QCOMPARE(takeleftovers(), QStringList());
    }
    QVERIFY(messages::seam().active());
    QCOMPARE(takemessagetexts(), QStringList{u"outer"_s});
    QCOMPARE(askopenfile(nullptr, {u"文本文件(*.txt)"_s, u"txt"_s, QDir::tempPath(), QString()}),
             QDir(QDir::tempPath()).filePath(u"outer.txt"_s));

    // An inner scope's leftovers are its own, not the enclosing scope's.
    auto outer = messages::seam().open();
    messages::showmessage(u"left"_s);
    QCOMPARE(messages::seam().close(std::move(outer)), QStringList{u"message box: 1 request(s) never read"_s});
    QCOMPARE(takeleftovers(), QStringList());
}

void TestToolkit::errortext_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("chinese") << u"文件没找到"_s << u"文件没找到."_s;
    QTest::newRow("letter") << u"Error: not a Hex String"_s << u"Error: not a Hex String."_s;
    QTest::newRow("digit") << u"I/O 错误 5"_s << u"I/O 错误 5."_s;
    QTest::newRow("full stop") << u"Error: the last char is NULL char."_s << u"Error: the last char is NULL char."_s;
    QTest::newRow("comma") << u"a,"_s << u"a,"_s;
    QTest::newRow("exclamation") << u"无法投注！!"_s << u"无法投注！!"_s;
    QTest::newRow("blank") << u"abc "_s << u"abc "_s;
    QTest::newRow("slash sorts after") << u"a/"_s << u"a/."_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestToolkit::errortext()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(messages::errortext(message), shown);
}

void TestToolkit::guardshowsthefailureandreturns()
{
    int reached = 0;
    guard([&] {
        reached = 1;
        throw AppError(u"被 0 除"_s);
        reached = 2;
    });
    QCOMPARE(reached, 1);
    guard([] { throw std::out_of_range("index"); });
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, u"被 0 除."_s);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(shown[0].buttons, QStringList{u"OK"_s}); // the standard button; Chinese once translated
    QCOMPARE(shown[1].text, u"index."_s);
}

void TestToolkit::plainmessage()
{
    messages::showmessage(u"请输入三位数字"_s);
    messages::showprintfailure(u"请安装打印机！"_s);
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, u"请输入三位数字"_s);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(shown[0].buttons, QStringList{u"确定"_s});
    QCOMPARE(shown[1].text, u"请安装打印机！"_s);
    QCOMPARE(shown[1].caption, u"错误"_s);
    QCOMPARE(shown[1].icon, QMessageBox::Critical);
    QCOMPARE(shown[1].buttons, QStringList{u"确定"_s});
}

void TestToolkit::errorboxreadschineseoncetranslated()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    loadchinesetranslation(*app);
    const QList<QTranslator *> loaded = app->findChildren<QTranslator *>();
    messages::showerror(u"文件没找到"_s);
    for (QTranslator *translator : loaded) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QVERIFY2(!loaded.isEmpty(), "Qt's Chinese translation (qt6-translations-l10n) did not load");
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].buttons, QStringList{u"确定"_s});
}

void TestToolkit::datafilesbesideorinstalled_data()
{
    QTest::addColumn<QStringList>("present"); // files made under a prefix with bin/ and share/
    QTest::addColumn<QString>("found");
    QTest::newRow("beside the program") << QStringList{u"bin/附属/flash.txt"_s} << u"bin/附属/flash.txt"_s;
    QTest::newRow("installed") << QStringList{u"share/qorvel3d/附属/flash.txt"_s} << u"share/qorvel3d/附属/flash.txt"_s;
    QTest::newRow("beside comes first")
        << QStringList{u"bin/附属/flash.txt"_s, u"share/qorvel3d/附属/flash.txt"_s} << u"bin/附属/flash.txt"_s;
    QTest::newRow("nowhere: beside, where it is then missing") << QStringList() << u"bin/附属/flash.txt"_s;
}

void TestToolkit::datafilesbesideorinstalled()
{
    QFETCH(QStringList, present);
    QFETCH(QString, found);
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(u"bin"_s));
    for (const QString &file : present) {
        QVERIFY(root.mkpath(QFileInfo(file).path()));
        QFile made(root.filePath(file));
        QVERIFY(made.open(QIODevice::WriteOnly));
    }
    QCOMPARE(datafile(root.filePath(u"bin"_s) + u'/', u"附属/flash.txt"_s), QDir::toNativeSeparators(root.filePath(found)));
}

void TestToolkit::helpopenstheguide_data()
{
    QTest::addColumn<QStringList>("present"); // made under a prefix with bin/ and share/
    QTest::addColumn<QString>("opened");      // empty: nothing
#ifdef Q_OS_WIN
    QTest::newRow("the demonstration program, there or not") << QStringList() << u"bin/软件演示.exe"_s;
#else
    QTest::newRow("portable") << QStringList{u"bin/软件演示.html"_s} << u"bin/软件演示.html"_s;
    QTest::newRow("installed") << QStringList{u"share/qorvel3d/软件演示.html"_s} << u"share/qorvel3d/软件演示.html"_s;
    QTest::newRow("missing") << QStringList() << QString();
    QTest::newRow("a folder of that name") << QStringList{u"bin/软件演示.html/"_s} << QString();
    QTest::newRow("not the Windows program") << QStringList{u"bin/软件演示.exe"_s} << QString();
#endif
}

void TestToolkit::helpopenstheguide()
{
    QFETCH(QStringList, present);
    QFETCH(QString, opened);
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(u"bin"_s));
    for (const QString &file : present) {
        if (file.endsWith(u'/')) {
            QVERIFY(root.mkpath(file));
            continue;
        }
        QVERIFY(root.mkpath(QFileInfo(file).path()));
        QFile made(root.filePath(file));
        QVERIFY(made.open(QIODevice::WriteOnly));
    }
    const QString target = helptarget(root.filePath(u"bin"_s) + u'/');
    QCOMPARE(target, opened.isEmpty() ? QString() : QDir::toNativeSeparators(root.filePath(opened)));
}

void TestToolkit::gbkroundtrip()
{
    const QString text = u"出品：Qorvel 工作室 3D排列三"_s;
    const QByteArray bytes = gbk::encode(text);
    QCOMPARE(bytes.left(4), QByteArray("\xB3\xF6\xC6\xB7")); // 出品
    QCOMPARE(bytes.size(), 2 * 9 + 10);
    QCOMPARE(gbk::decode(bytes), text);
    // Trail bytes may be "\" (0x5C): 乗 is 81 5C.
    QCOMPARE(gbk::decode(QByteArray("\x81\x5C")), u"乗"_s);
}

void TestToolkit::gbkrefusestextitcannothold()
{
    QVERIFY_THROWS_EXCEPTION(AppError, gbk::encode(u"票😀"_s));
    QVERIFY_THROWS_EXCEPTION(AppError, gbk::encode(u"한국"_s));
    // A refusal leaves no mark on the next text.
    QCOMPARE(gbk::encode(u"票"_s), QByteArray("\xC6\xB1"));
    QByteArray appended("1\r\n");
    QVERIFY_THROWS_EXCEPTION(AppError, gbk::appendencoded(appended, u"😀"_s));
    gbk::appendencoded(appended, u"16"_s);
    gbk::appendencoded(appended, u"票"_s);
    QCOMPARE(appended, QByteArray("1\r\n16\xC6\xB1"));
    QString decoded = u"x"_s;
    gbk::appenddecoded(decoded, "16\xC6\xB1");
    QCOMPARE(decoded, u"x16票"_s);
}

namespace {

// A JPEG written by Qt's own encoder, so the test does not rely on our decoder
// to make its input.
QByteArray encodedbyqt(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

} // namespace

void TestToolkit::decodesjpeg_data()
{
    QTest::addColumn<QImage>("source");
    QImage colour(40, 24, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    for (int x = 20; x < 40; ++x)
        for (int y = 0; y < 24; ++y)
            colour.setPixel(x, y, qRgb(20, 40, 220));
    QImage grey(17, 9, QImage::Format_Grayscale8);
    grey.fill(180);
    QTest::newRow("colour") << colour;
    QTest::newRow("greyscale") << grey;
}

void TestToolkit::decodesjpeg()
{
    QFETCH(QImage, source);
    const QByteArray bytes = encodedbyqt(source);
    if (bytes.isEmpty())
        QSKIP("Qt has no JPEG writer here");
    const QImage image = decodejpeg(bytes);
    QCOMPARE(image.size(), source.size());
    for (const QPoint at : {QPoint(2, 2), QPoint(source.width() - 3, source.height() - 3)}) {
        const QColor want = source.pixelColor(at), got = image.pixelColor(at);
        QVERIFY2(qAbs(want.red() - got.red()) < 12 && qAbs(want.green() - got.green()) < 12
                     && qAbs(want.blue() - got.blue()) < 12,
                 qPrintable(got.name() + u" for "_s + want.name()));
    }
}

void TestToolkit::brokenjpegfailswithlibjpegsmessage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << u"Empty input file"_s;
    QTest::newRow("not a jpeg") << QByteArray("GIF89a plus some more bytes") << u"Not a JPEG file"_s;
    QByteArray header = encodedbyqt(QImage(8, 8, QImage::Format_RGB32));
    QTest::newRow("header only") << header.left(20) << u""_s;
}

void TestToolkit::brokenjpegfailswithlibjpegsmessage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        decodejpeg(bytes);
        QFAIL("a broken picture was decoded");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith(message) && !error.message().isEmpty(), qPrintable(error.message()));
    }
}

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
