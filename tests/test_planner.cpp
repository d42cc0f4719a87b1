// The planner window driven through its controls: design, calculation, the
// average message, the failures and the grid they leave alone, and resizing.
#include "planner/u_gudingjihua.h"
#include "toolkit/filedialogs.h"
#include "toolkit/printing.h"
#include "tests/accessibility.h"
#include "tests/checks.h"
#include "tests/gridcheck.h"
#include "tests/windowtest.h"
#include "toolkit/messages.h"
#include "toolkit/stringgrid.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestPlanner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void design();
    void taborder();
    void everycontrolhasaname();
    void boxesarenamedbytheirlabels_data();
    void boxesarenamedbytheirlabels();
    void calculatesthedefaultplan();
    void enterinanyboxcalculates_data();
    void enterinanyboxcalculates();
    void failuresleavethegrid_data();
    void failuresleavethegrid();
    void zeroperiodsleaveonlythetitles();
    void closeonlyhides();
    void gridgrowswiththewindow();
    void firstcolumnstayswhenscrollingsideways();

    void savesandloadsthedefaultplan();
    void dialogsaresetup_data();
    void dialogsaresetup();
    void cancellingchangesnothing();
    void savestheemptydesign();
    void loadfailures_data();
    void loadfailures();
    void afailedsavekeepstheoldfile_data();
    void afailedsavekeepstheoldfile();
    void chineseboxtextroundtrips();
    void pastedlinebreaksareremoved_data();
    void pastedlinebreaksareremoved();

    void printingneedsatable();
    void cancellingtheprintdialogprintsnothing();
    void printsthedefaultplantopdf();
    void aprinterfailureisreported();

private:
    template <typename T>
    T *control(const char *name) const
    {
        return findcontrol<T>(m_window.get(), name);
    }
    Tstringgrid *grid() const { return control<Tstringgrid>("grdjihua"); }
    void setboxes(const QStringList &texts);
    QStringList gridtexts() const;
    QStringList boxes() const;
    QString planpath(const QString &name) const { return m_programfolder->filePath(name); }
    // False when the file could not be written; QVERIFY() it.
    [[nodiscard]] bool writefile(const QString &path, const QByteArray &bytes) const;

    std::optional<Tquietseams> m_seams;
    QTemporaryDir m_home;
    QByteArray m_oldhome;
    std::unique_ptr<QTemporaryDir> m_programfolder;
    std::unique_ptr<Tfrmgudingjihua> m_window;
};

void TestPlanner::initTestCase()
{
    // The user's own folder for plan tables is made in a home of the test's.
    QVERIFY(m_home.isValid());
    m_oldhome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home.path()));
}

void TestPlanner::cleanupTestCase()
{
    qputenv("HOME", m_oldhome);
}

void TestPlanner::init()
{
    m_seams.emplace();
    m_programfolder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_programfolder->isValid());
    m_window = std::make_unique<Tfrmgudingjihua>(m_programfolder->path() + u'/');
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPlanner::cleanup()
{
    m_window.reset();
    m_programfolder.reset();
    RELEASESEAMS(m_seams);
}

void TestPlanner::setboxes(const QStringList &texts)
{
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    for (int i = 0; i < 5; ++i)
        control<QLineEdit>(names[i])->setText(texts[i]);
}

QStringList TestPlanner::gridtexts() const
{
    QStringList texts;
    for (int row = 0; row < grid()->rowcount(); ++row)
        for (int col = 0; col < grid()->colcount(); ++col)
            texts.append(grid()->cell(col, row));
    return texts;
}

QStringList TestPlanner::boxes() const
{
    return {control<QLineEdit>("edtprekui")->text(), control<QLineEdit>("edtlirun")->text(),
            control<QLineEdit>("edtinofsin")->text(), control<QLineEdit>("edtoutofsin")->text(),
            control<QLineEdit>("edtdays")->text()};
}

bool TestPlanner::writefile(const QString &path, const QByteArray &bytes) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

void TestPlanner::design()
{
    QCOMPARE(m_window->objectName(), u"frmgudingjihua"_s);
    QCOMPARE(m_window->windowTitle(), u"固定计划投资"_s);
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!m_window->isModal());
    QCOMPARE(m_window->size(), QSize(622, 453));
    QCOMPARE(grid()->geometry(), QRect(16, 16, 484, 424));
    QCOMPARE(grid()->rowcount(), 5);
    QCOMPARE(grid()->colcount(), 5);
    const QStringList boxes{u"edtprekui"_s, u"edtlirun"_s, u"edtinofsin"_s, u"edtoutofsin"_s, u"edtdays"_s};
    const QStringList texts{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s};
    const QList<int> tops{24, 74, 124, 174, 224};
    for (int i = 0; i < 5; ++i) {
        const auto *box = m_window->findChild<QLineEdit *>(boxes[i]);
        QCOMPARE(box->text(), texts[i]);
        QCOMPARE(box->geometry(), QRect(521, tops[i], 81, 21));
    }
    const QStringList labels{u"前期亏损："_s, u"预期利润(%)："_s, u"单倍投入："_s, u"单注奖金："_s, u"投注期数："_s};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(m_window->findChild<QLabel *>(u"Label%1"_s.arg(i + 1))->text(), labels[i]);
    const QStringList buttons{u"btnala"_s, u"btnsave"_s, u"btnload"_s, u"btnprint"_s, u"btnclose"_s};
    const QStringList captions{u"生成计划"_s, u"保存"_s, u"载入"_s, u"打印"_s, u"关闭"_s};
    for (int i = 0; i < 5; ++i) {
        const auto *button = m_window->findChild<QPushButton *>(buttons[i]);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->geometry(), QRect(521, 319 + 24 * i, 81, 25));
    }
    QVERIFY(control<QPushButton>("btnala")->isDefault());
}

void TestPlanner::taborder()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // The grid, the five boxes from the top, the five buttons from the top.
    const QStringList ring{u"grdjihua"_s,    u"edtprekui"_s, u"edtlirun"_s, u"edtinofsin"_s,
                           u"edtoutofsin"_s, u"edtdays"_s,   u"btnala"_s,   u"btnsave"_s,
                           u"btnload"_s,     u"btnprint"_s,  u"btnclose"_s};
    const QString arrow = u" > "_s;
    QCOMPARE(accessibility::tabring(grid()).join(arrow), (ring + QStringList{ring.first()}).join(arrow));
    QStringList backward = ring;
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(accessibility::tabring(grid(), false).join(arrow), (backward + QStringList{ring.first()}).join(arrow));
}

void TestPlanner::everycontrolhasaname()
{
    QCOMPARE(accessibility::unnamedcontrols(m_window.get()).join(u", "_s), QString());
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_window.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(accessibility::accessiblename(grid()), u"倍投计划表"_s);
}

void TestPlanner::boxesarenamedbytheirlabels_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("announced");
    QTest::newRow("previous loss") << u"edtprekui"_s << u"前期亏损："_s;
    QTest::newRow("profit") << u"edtlirun"_s << u"预期利润(%)："_s;
    QTest::newRow("stake") << u"edtinofsin"_s << u"单倍投入："_s;
    QTest::newRow("prize") << u"edtoutofsin"_s << u"单注奖金："_s;
    QTest::newRow("periods") << u"edtdays"_s << u"投注期数："_s;
}

void TestPlanner::boxesarenamedbytheirlabels()
{
    QFETCH(QString, box);
    QFETCH(QString, announced);
    QCOMPARE(accessibility::accessiblename(control<QLineEdit>(qPrintable(box))), announced);
}

void TestPlanner::calculatesthedefaultplan()
{
    control<QPushButton>("btnala")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    QCOMPARE(grid()->rowcount(), 81);
    QCOMPARE(grid()->colcount(), 7);
    const QStringList titles{u"投注时间"_s, u"投注倍数"_s, u"当期投注"_s, u"当期总投入"_s,
                             u"当期中奖"_s, u"当期净利润"_s, u"当期利润率(%)"_s};
    for (int col = 0; col < 7; ++col)
        QCOMPARE(grid()->cell(col, 0), titles[col]);
    const auto row = [this](int r) {
        QStringList cells;
        for (int col = 0; col < 7; ++col)
            cells.append(grid()->cell(col, r));
        return cells.join(u' ');
    };
    QCOMPARE(row(1), u"1 1 16 16 1000 984 6150"_s);
    QCOMPARE(row(53), u"53 2 32 864 2000 1136 131"_s);
    QCOMPARE(row(80), u"80 3 48 1760 3000 1240 70"_s);
    QCOMPARE(qsizetype(plantable.size()), qsizetype(80));
    QCOMPARE(plantable[79][5], qint64(1240));

    // From the width the cells have, the vertical scroll bar left out.
    QTRY_VERIFY(grid()->verticalScrollBar()->isVisible());
    const int width = (grid()->viewport()->width() - 20) / 7;
    QCOMPARE(grid()->columnWidth(0), width);
    QCOMPARE(grid()->columnWidth(6), width);
    QCOMPARE(grid()->horizontalScrollBar()->maximum(), 0); // all seven fit

    // Pressing it again with another loss recalculates from scratch.
    setboxes({u"100"_s, u"20"_s, u"16"_s, u"1000"_s, u"2"_s});
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"平均每期净利润为:876"_s);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(grid()->rowcount(), 3);
    QCOMPARE(row(2), u"2 1 16 132 1000 868 657"_s);
}

void TestPlanner::enterinanyboxcalculates_data()
{
    QTest::addColumn<QString>("box");
    for (const char *name : {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPlanner::enterinanyboxcalculates()
{
    QFETCH(QString, box);
    auto *edit = m_window->findChild<QLineEdit *>(box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"平均每期净利润为:645"_s);
    QCOMPARE(grid()->rowcount(), 81);
}

void TestPlanner::failuresleavethegrid_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    const int stop = QMessageBox::Critical, none = QMessageBox::NoIcon;
    QTest::newRow("not an integer") << QStringList{u"0"_s, u"2O"_s, u"16"_s, u"1000"_s, u"80"_s}
                                    << u"'2O' 不是一个有效的整形值."_s << stop;
    QTest::newRow("period count read first") << QStringList{u"a"_s, u"20"_s, u"16"_s, u"1000"_s, u""_s}
                                             << u"'' 不是一个有效的整形值."_s << stop;
    QTest::newRow("negative period count") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"-3"_s}
                                           << u"范围检测错误."_s << stop;
    QTest::newRow("zero investment") << QStringList{u"0"_s, u"20"_s, u"0"_s, u"1000"_s, u"80"_s}
                                     << u"被 0 除."_s << stop;
    QTest::newRow("no multiple qualifies") << QStringList{u"0"_s, u"0"_s, u"16"_s, u"15"_s, u"80"_s}
                                           << u"所需倍数太大，无法投注！"_s << none;
    QTest::newRow("overflow") << QStringList{u"0"_s, u"20"_s, u"4000000000000000000"_s,
                                             u"5000000000000000000"_s, u"80"_s}
                              << u"整数溢出."_s << stop;
}

void TestPlanner::failuresleavethegrid()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, text);
    QFETCH(int, icon);
    setboxes({u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"3"_s});
    control<QPushButton>("btnala")->click();
    takeshown();
    const QStringList before = gridtexts();
    const plancalc::plantabletype table = plantable;

    setboxes(boxes);
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, text);
    QCOMPARE(shown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QCOMPARE(int(shown[0].icon), icon);
    QCOMPARE(gridtexts(), before);
    QVERIFY(plantable == table);
}

void TestPlanner::zeroperiodsleaveonlythetitles()
{
    setboxes({u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"0"_s});
    control<QPushButton>("btnala")->click();
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"被 0 除."_s);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QCOMPARE(grid()->rowcount(), 1);
    QCOMPARE(grid()->colcount(), 7);
    QCOMPARE(grid()->cell(6, 0), u"当期利润率(%)"_s);
}

void TestPlanner::closeonlyhides()
{
    control<QLineEdit>("edtdays")->setText(u"5"_s);
    control<QPushButton>("btnala")->click();
    takeshown();
    control<QPushButton>("btnclose")->click();
    QVERIFY(!m_window->isVisible());
    m_window->show();
    QCOMPARE(control<QLineEdit>("edtdays")->text(), u"5"_s);
    QCOMPARE(grid()->rowcount(), 6);
}

void TestPlanner::gridgrowswiththewindow()
{
    m_window->resize(722, 553);
    QCOMPARE(grid()->geometry(), QRect(16, 16, 584, 524));
    QCOMPARE(control<QLineEdit>("edtprekui")->geometry(), QRect(621, 24, 81, 21));
    QCOMPARE(control<QLabel>("Label5")->pos(), QPoint(621, 208));
    QCOMPARE(control<QPushButton>("btnala")->geometry(), QRect(621, 419, 81, 25));
    QCOMPARE(control<QPushButton>("btnclose")->geometry(), QRect(621, 515, 81, 25));
}

void TestPlanner::firstcolumnstayswhenscrollingsideways()
{
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    m_window->resize(300, 453); // the grid is now narrower than its seven columns
    QTRY_VERIFY(grid()->horizontalScrollBar()->maximum() > 0);
    grid()->horizontalScrollBar()->setValue(grid()->horizontalScrollBar()->maximum());
    const QModelIndex period1 = grid()->model()->index(0, 0);
    QVERIFY(grid()->visualRect(period1).right() < 0); // scrolled away in the moving part
    const auto *fixed = grid()->findChild<QTableView *>(u"fixedcolumn"_s);
    QVERIFY(fixed && fixed->isVisible());
    QCOMPARE(fixed->geometry().topLeft(), QPoint(grid()->frameWidth(), grid()->frameWidth()));
    QCOMPARE(fixed->width(), grid()->columnWidth(0));
    QCOMPARE(fixed->visualRect(period1).left(), 0);
    QCOMPARE(fixed->model()->data(period1).toString(), u"1"_s);
    QCOMPARE(fixed->horizontalHeader()->model()->headerData(0, Qt::Horizontal).toString(), u"投注时间"_s);
    VERIFYSTEP(comparefixedcolumn(*grid(), true));
    // Scrolling down moves both parts together.
    grid()->verticalScrollBar()->setValue(10);
    QCOMPARE(fixed->verticalScrollBar()->value(), 10);
    QCoreApplication::processEvents();
    VERIFYSTEP(comparefixedcolumn(*grid(), true));
}

void TestPlanner::savesandloadsthedefaultplan()
{
    control<QPushButton>("btnala")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    const QStringList table = gridtexts();
    const QString path = planpath(u"计划.txt"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsave")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});

    const QByteArray bytes = filebytes(path);
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    QCOMPARE(lines.size(), 565);
    QCOMPARE(lines.mid(0, 12), (QList<QByteArray>{"0\r", "20\r", "16\r", "1000\r", "80\r", "1\r", "1\r",
                                                  "16\r", "16\r", "1000\r", "984\r", "6150\r"}));
    QCOMPARE(bytes.count("\r\n"), 565);

    // Load it into a window that shows something else.
    setboxes({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s});
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    plantable.clear();
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnload")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    QCOMPARE(boxes(), (QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}));
    QCOMPARE(gridtexts(), table);
    QCOMPARE(qsizetype(plantable.size()), qsizetype(80));
    QCOMPARE(plantable[52][1], qint64(2));
}

void TestPlanner::dialogsaresetup_data()
{
    QTest::addColumn<QString>("aux");    // where a 附属 folder is made, under the prefix; empty: none
    QTest::addColumn<bool>("readonly");
    QTest::addColumn<QString>("folder"); // where the dialogs open: under the prefix, or in the user's home
    QTest::newRow("beside the program") << u"bin/附属"_s << false << u"bin/附属"_s;
    // Never into an installation, even where it can be written, as by root.
    QTest::newRow("installed under share") << u"share/qorvel3d/附属"_s << false << u"~/Documents/Qorvel3D"_s;
    QTest::newRow("no 附属") << QString() << false << u"~/Documents/Qorvel3D"_s;
    QTest::newRow("a read-only 附属") << u"share/qorvel3d/附属"_s << true << u"~/Documents/Qorvel3D"_s;
}

void TestPlanner::dialogsaresetup()
{
    QFETCH(QString, aux);
    QFETCH(bool, readonly);
    QFETCH(QString, folder);
    if (readonly && runsasroot())
        QSKIP("root may write into any folder; the installed program's test runs this as another user");
    const QDir home(qEnvironmentVariable("HOME"));
    const QDir prefix(m_programfolder->path());
    QVERIFY(prefix.mkpath(u"bin"_s));
    if (!aux.isEmpty())
        QVERIFY(prefix.mkpath(aux));
    if (readonly)
        QVERIFY(QFile::setPermissions(prefix.filePath(aux), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    Tfrmgudingjihua installed(prefix.filePath(u"bin"_s) + u'/');
    findcontrol<QPushButton>(&installed, "btnala")->click();
    takemessagetexts();
    filedialogs::seam().queueanswer(QString());
    filedialogs::seam().queueanswer(u"固定投资计划表.txt"_s); // the name the dialog proposes
    findcontrol<QPushButton>(&installed, "btnload")->click();
    findcontrol<QPushButton>(&installed, "btnsave")->click();
    const QList<filedialogs::shown> asked = filedialogs::seam().takerequests();
    if (readonly)
        QFile::setPermissions(prefix.filePath(aux), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[0].save, false);
    QCOMPARE(asked[0].existingonly, true);
    QCOMPARE(asked[1].save, true);
    QCOMPARE(asked[1].existingonly, false);
    QCOMPARE(asked[1].confirmoverwrite, false); // the table is replaced without a question
    const QString expected = folder.startsWith(u'~') ? home.filePath(folder.mid(2)) : prefix.filePath(folder);
    for (const filedialogs::shown &dialog : asked) {
        QCOMPARE(dialog.filters, QStringList{u"文本文件(*.txt)"_s});
        QCOMPARE(dialog.defaultsuffix, u"txt"_s);
        QCOMPARE(dialog.folder, QDir::cleanPath(QDir(expected).absolutePath()));
        QCOMPARE(dialog.filename, u"固定投资计划表.txt"_s);
        QVERIFY(dialog.staysontop); // or it would open behind the planner
    }
    // The user's folder is made on first use; the table lands where the dialog opened.
    QVERIFY(QFile::exists(QDir(expected).filePath(u"固定投资计划表.txt"_s)));
    QDir(home.filePath(u"Documents"_s)).removeRecursively();
}

void TestPlanner::cancellingchangesnothing()
{
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    const QStringList table = gridtexts();
    filedialogs::seam().queueanswer(QString());
    filedialogs::seam().queueanswer(QString());
    control<QPushButton>("btnsave")->click();
    control<QPushButton>("btnload")->click();
    QCOMPARE(takemessagetexts(), QStringList());
    QCOMPARE(gridtexts(), table);
    QCOMPARE(QDir(m_programfolder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestPlanner::savestheemptydesign()
{
    const QString path = planpath(u"空.txt"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsave")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    QCOMPARE(filebytes(path), QByteArray("0\r\n20\r\n16\r\n1000\r\n80\r\n") + QByteArray("\r\n").repeated(28));

    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnload")->click();
    QCOMPARE(takemessagetexts(), (QStringList{u"0"_s, u"平均每期净利润为:0"_s}));
    QCOMPARE(grid()->rowcount(), 81);
    QCOMPARE(grid()->cell(0, 1), QString());
}

void TestPlanner::loadfailures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("boxes");  // the boxes afterwards
    QTest::addColumn<int>("rows");           // the grid's row count afterwards; 0: unchanged
    QTest::addColumn<QString>("lastcell");   // cell (6, rows - 1) afterwards
    const QByteArray head = "0\r\n20\r\n16\r\n1000\r\n";
    const QByteArray row1 = "1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n";
    const QByteArray row2 = "2\r\n1\r\n16\r\n32\r\n1000\r\n968\r\n3025\r\n";
    const QStringList two{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"2"_s};
    QTest::newRow("a short file") << QByteArray("7\r\n8\r\n9\r\n") << QStringList{u"'' 不是一个有效的整形值."_s}
                                  << QStringList{u"7"_s, u"8"_s, u"9"_s, u""_s, u""_s} << 0 << QString();
    QTest::newRow("a bad line 5") << head + "80\xCC\xEC\r\n" + row1 /* 80天 in GBK */ << QStringList{u"'80天' 不是一个有效的整形值."_s}
                                  << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80天"_s} << 0 << QString();
    QTest::newRow("a negative count") << head + "-2\r\n" + row1 << QStringList{u"范围检测错误."_s}
                                      << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"-2"_s} << 1
                                      << u"当期利润率(%)"_s;
    QTest::newRow("a zero count") << head + "0\r\n" << QStringList{u"被 0 除."_s}
                                  << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"0"_s} << 1
                                  << u"当期利润率(%)"_s;
    QTest::newRow("a bad data line") << head + "2\r\n" + row1 + "2\r\n1\r\n\xCA\xAE\xC1\xF9\r\n" /* 十六 */
                                     << QStringList{u"1"_s, u"平均每期净利润为:492"_s} << two << 3 << QString();
    QTest::newRow("an empty line after the rows") << head + "2\r\n" + row1 + row2 + "\r\n"
                                                  << QStringList{u"2"_s, u"平均每期净利润为:976"_s} << two << 3
                                                  << u"3025"_s;
    QTest::newRow("more rows than periods") << head + "2\r\n" + row1 + row2 + row1
                                            << QStringList{u"平均每期净利润为:976"_s} << two << 3 << u"3025"_s;
    QTest::newRow("fewer rows than periods")
        << head + "4\r\n" + row1 << QStringList{u"平均每期净利润为:246"_s}
        << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"4"_s} << 5 << QString();
    // Counts beyond 32 bits, or that wrap to small ones there, are never laid out.
    for (const char *count : {"1000001", "2147483647", "2147483648", "4294967296", "4294967297",
                              "9223372036854775807"})
        QTest::newRow(count) << head + count + "\r\n" + row1 << QStringList{u"投注期数不能超过1000000."_s}
                             << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, QString::fromLatin1(count)} << 0
                             << QString();
    for (const char *count : {"-2147483648", "-2147483649", "-4294967295", "-4294967296", "-9223372036854775808"})
        QTest::newRow(count) << head + count + "\r\n" + row1 << QStringList{u"范围检测错误."_s}
                             << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, QString::fromLatin1(count)} << 1
                             << u"当期利润率(%)"_s;
}

void TestPlanner::loadfailures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, boxes);
    QFETCH(int, rows);
    QFETCH(QString, lastcell);
    // A table of 80 rows is on show before, with values everywhere.
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    const QStringList before = gridtexts();

    const QString path = planpath(u"计划.txt"_s);
    QVERIFY(writefile(path, bytes));
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnload")->click();
    QCOMPARE(takemessagetexts(), shown);
    QCOMPARE(this->boxes(), boxes);
    if (rows == 0) {
        QCOMPARE(gridtexts(), before);
        return;
    }
    QCOMPARE(grid()->rowcount(), rows);
    QCOMPARE(grid()->colcount(), 7);
    QCOMPARE(grid()->cell(6, rows - 1), lastcell);
}

void TestPlanner::afailedsavekeepstheoldfile_data()
{
    QTest::addColumn<QString>("box");    // the loss box's text when saving
    QTest::addColumn<QString>("target"); // where the file goes, in the program folder
    QTest::addColumn<QString>("message");
    QTest::newRow("text GBK cannot hold") << u"亏损😀"_s << u"计划.txt"_s << u"文本含有GBK无法表示的字符."_s;
    QTest::newRow("a folder of that name") << u"0"_s << u"附属"_s << u"文件存取错误."_s;
    QTest::newRow("a missing folder") << u"0"_s << u"没有/计划.txt"_s << u"无效的文件名."_s;
}

void TestPlanner::afailedsavekeepstheoldfile()
{
    QFETCH(QString, box);
    QFETCH(QString, target);
    QFETCH(QString, message);
    const QString path = planpath(target);
    QVERIFY(writefile(planpath(u"计划.txt"_s), "old\r\n"));
    QDir().mkpath(planpath(u"附属"_s));
    control<QLineEdit>("edtprekui")->setText(box);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsave")->click();
    QCOMPARE(takemessagetexts(), QStringList{message});
    QCOMPARE(filebytes(planpath(u"计划.txt"_s)), QByteArray("old\r\n"));
    QCOMPARE(QDir(m_programfolder->path()).entryList(QDir::Files), QStringList{u"计划.txt"_s});
}

void TestPlanner::chineseboxtextroundtrips()
{
    setboxes({u"一千"_s, u"表\\|"_s, u"16"_s, u"1000"_s, u"1"_s});
    const QString path = planpath(u"中文.txt"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsave")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    QVERIFY(filebytes(path).startsWith("\xD2\xBB\xC7\xA7\r\n\xB1\xED\\|\r\n"));
    setboxes({u""_s, u""_s, u""_s, u""_s, u""_s});
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnload")->click();
    takemessagetexts();
    QCOMPARE(boxes(), (QStringList{u"一千"_s, u"表\\|"_s, u"16"_s, u"1000"_s, u"1"_s}));
}

void TestPlanner::pastedlinebreaksareremoved_data()
{
    QTest::addColumn<QString>("pasted"); // into 单倍投入, all of it selected
    QTest::newRow("a spreadsheet cell, CR LF") << u"16\r\n"_s;
    QTest::newRow("LF before") << u"\n16"_s;
    QTest::newRow("CR inside") << u"1\r6"_s;
    QTest::newRow("a paragraph separator") << u"16\u2029"_s;
}

void TestPlanner::pastedlinebreaksareremoved()
{
    QFETCH(QString, pasted);
    QLineEdit *box = control<QLineEdit>("edtinofsin");
    pasteinto(box, pasted);
    QCOMPARE(box->text(), u"16"_s);
    QCOMPARE(boxes(), (QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}));

    control<QPushButton>("btnala")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    const QString path = planpath(u"粘贴.txt"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsave")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    const QByteArray bytes = filebytes(path);
    QVERIFY(bytes.startsWith("0\r\n20\r\n16\r\n1000\r\n80\r\n1\r\n"));
    QCOMPARE(bytes.count("\r\n"), 5 + 80 * 7);

    setboxes({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s});
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnload")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"平均每期净利润为:645"_s});
    QCOMPARE(boxes(), (QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}));
    QCOMPARE(grid()->rowcount(), 81);
}

void TestPlanner::printingneedsatable()
{
    // No answer is queued: a print dialog shown here fails the test.
    const QString pdf = planpath(u"表.pdf"_s);
    control<QPushButton>("btnprint")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"请先生成表格！"_s});
    // A grid laid out but without a first multiple is no table either.
    QVERIFY(writefile(planpath(u"空.txt"_s), "0\r\n20\r\n16\r\n1000\r\n3\r\n"));
    filedialogs::seam().queueanswer(planpath(u"空.txt"_s));
    control<QPushButton>("btnload")->click();
    takemessagetexts();
    control<QPushButton>("btnprint")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"请先生成表格！"_s});
    QVERIFY(!QFile::exists(pdf));
}

void TestPlanner::cancellingtheprintdialogprintsnothing()
{
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    printdialogs::seam().queueanswer(QString());
    control<QPushButton>("btnprint")->click();
    QCOMPARE(takemessagetexts(), QStringList());
    const QList<printdialogs::shown> asked = printdialogs::seam().takerequests();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].resolution, 600); // the layout's offsets are 600 dpi pixels
    QVERIFY(asked[0].staysontop);
    QCOMPARE(QDir(m_programfolder->path()).entryList(QDir::Files), QStringList());
}

void TestPlanner::printsthedefaultplantopdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    const QString pdf = planpath(u"表.pdf"_s);
    printdialogs::seam().queueanswer(pdf);
    control<QPushButton>("btnprint")->click();
    QCOMPARE(takemessagetexts(), QStringList());

    QProcess convert;
    convert.start(pdftotext, {u"-layout"_s, pdf, u"-"_s});
    QVERIFY(convert.waitForFinished(30000));
    QCOMPARE(convert.exitCode(), 0);
    const QStringList pages = QString::fromUtf8(convert.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 4);
    const QString date = QDate::currentDate().toString(u"yyyy-M-d"_s);
    QVERIFY(pages[0].contains(u"固定投资计划表"_s));
    // pdftotext folds runs of blanks; the exact line is the layout's to test.
    QVERIFY2(pages[0].simplified().contains(u"前期亏损:0 预测利润:20 单倍投入:16 单注奖金:1000 投注天数:80 打印日期:"_s
                                            + date),
             qPrintable(pages[0].left(400)));
    QVERIFY(pages[0].contains(u"6150"_s));
    for (int p = 0; p < 4; ++p) {
        QVERIFY2(pages[p].contains(u"共4页\\第%1页"_s.arg(p + 1)), qPrintable(pages[p].right(200)));
        QVERIFY(pages[p].contains(u"当期净利润"_s));
        QCOMPARE(pages[p].contains(u"固定投资计划表"_s), p == 0);
    }
    QVERIFY(pages[3].contains(u"1240"_s)); // row 80
    QVERIFY(!pages[3].contains(u"\n 81 "_s));
}

void TestPlanner::aprinterfailureisreported()
{
    control<QPushButton>("btnala")->click();
    takemessagetexts();
    printdialogs::seam().queueanswer(planpath(u"没有/表.pdf"_s)); // a printer that cannot start the job
    control<QPushButton>("btnprint")->click();
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, u"请安装打印机！"_s);
    QCOMPARE(shown[0].caption, u"错误"_s);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
}

QTEST_MAIN(TestPlanner)
#include "test_planner.moc"
