// The replay window driven through its controls: its defaults and how they follow
// the inputs, its refusals, bad lines, a replay of the sample history with its
// summary, charts and table, results that go out of date, and the exports.
#include "replay/defaults.h"
#include "replay/u_replay.h"
#include "tests/accessibility.h"
#include "tests/checks.h"
#include "tests/windowtest.h"
#include "toolkit/radiogroup.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>


using namespace Qt::Literals::StringLiterals;

class TestReplayWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaults();
    void stakeandperiodsfollowuntiledited();
    void refusesnamingthebox_data();
    void refusesnamingthebox();
    void listsbadlinesandreplaysnothing();
    void replaysthesample_data();
    void replaysthesample();
    void settingschangesclearresults();
    void thebankrollstopsthereplay();
    void sortsandfiltersthetable();
    void keyboardandscreenreaders();
    void exportsthetable();
    void afailedexportleavesnofile();
    void exportsthechart();
    void opensfromthelastfolder();
    void saysaboutafilewhatiswrong();
    void pastesdraws();
    void pastedlinebreaksareremoved();

private:
    template <typename T>
    T *control(const char *name) const
    {
        return findcontrol<T>(m_window.get(), name);
    }
    QString summary() const { return control<QPlainTextEdit>("memsummary")->toPlainText(); }
    QString write(const QString &name, const QByteArray &bytes) const;
    void replaysample();

    std::optional<Tquietseams> m_seams;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Tfrmreplay> m_window;
};

namespace {

const QString sample = QStringLiteral(QORVEL3D_SAMPLE);

} // namespace

void TestReplayWindow::init()
{
    m_seams.emplace();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_window = std::make_unique<Tfrmreplay>(m_folder->path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestReplayWindow::cleanup()
{
    m_window.reset();
    m_folder.reset();
    RELEASESEAMS(m_seams);
}

QString TestReplayWindow::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestReplayWindow::replaysample()
{
    m_window->openhistory(sample);
    QCOMPARE(takemessagetexts(), QStringList());
    control<QPushButton>("btnreplay")->click();
}

void TestReplayWindow::defaults()
{
    QCOMPARE(m_window->objectName(), u"frmreplay"_s);
    QCOMPARE(m_window->windowTitle(), u"Qorvel3D历史回测"_s);
    QCOMPARE(control<Tradiogroup>("opttype")->items(), (QStringList{u"二码"_s, u"三码"_s}));
    QCOMPARE(control<Tradiogroup>("optmode")->items(), (QStringList{u"奇偶模式"_s, u"大小模式"_s}));
    QCOMPARE(control<Tradiogroup>("opttype")->itemindex(), 0);
    QCOMPARE(control<Tradiogroup>("optpositions")->items(), (QStringList{u"前三"_s, u"中三"_s, u"后三"_s}));
    QCOMPARE(control<Tradiogroup>("optpositions")->itemindex(), 2);
    // The boxes start from the one set of defaults the command line uses too.
    const char *boxes[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays", "edtbankroll"};
    const QStringList texts{QString::number(replay::defaults::loss), QString::number(replay::defaults::profit),
                            QString::number(replay::defaults::stake(planrules::kind::two)),
                            QString::number(replay::defaults::prize), u"11"_s, QString()};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(control<QLineEdit>(boxes[i])->text(), texts[i]);
    QCOMPARE(texts.mid(0, 4), (QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s}));
    QCOMPARE(control<QLabel>("lblmaxdays")->text(), u"最多可投注期数：11"_s);
    QVERIFY(control<QPushButton>("btnreplay")->isDefault());
    QVERIFY(!control<QPushButton>("btnsavecsv")->isEnabled());
    QVERIFY(!control<QPushButton>("btnsavechart")->isEnabled());
    // Nothing to replay yet.
    control<QPushButton>("btnreplay")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"请先打开或粘贴开奖历史"_s});
}

void TestReplayWindow::stakeandperiodsfollowuntiledited()
{
    auto *stake = control<QLineEdit>("edtinofsin");
    auto *days = control<QLineEdit>("edtdays");
    auto *longest = control<QLabel>("lblmaxdays");
    control<Tradiogroup>("opttype")->setitemindex(1);
    QCOMPARE(stake->text(), u"250"_s);
    QCOMPARE(days->text(), u"29"_s);
    QCOMPARE(longest->text(), u"最多可投注期数：29"_s);

    // A prize the stake cannot reach leaves no table at all.
    control<QLineEdit>("edtoutofsin")->setText(u"200"_s);
    QCOMPARE(longest->text(), u"最多可投注期数：0"_s);
    control<QLineEdit>("edtoutofsin")->setText(u"x"_s);
    QCOMPARE(longest->text(), u"最多可投注期数：—"_s);
    QCOMPARE(days->text(), u"0"_s); // it followed as long as there was a count
    control<QLineEdit>("edtoutofsin")->setText(u"1040"_s);

    // Typed by the user, they stay.
    stake->selectAll();
    QTest::keyClicks(stake, u"300"_s);
    days->selectAll();
    QTest::keyClicks(days, u"7"_s);
    control<Tradiogroup>("opttype")->setitemindex(0);
    QCOMPARE(stake->text(), u"300"_s);
    QCOMPARE(days->text(), u"7"_s);
    // Still worked out for the inputs.
    QCOMPARE(longest->text(), u"最多可投注期数："_s + QString::number(plancalc::longestfeasible({0, 20, 300, 1040, 0}, 80)));
    QVERIFY(longest->text() != u"最多可投注期数：11"_s);
}

void TestReplayWindow::refusesnamingthebox_data()
{
    QTest::addColumn<QStringList>("boxes"); // loss, profit, stake, prize, periods, bankroll
    QTest::addColumn<QString>("shown");
    QTest::newRow("no multiple reaches the profit")
        << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"12"_s, QString()}
        << u"按这些设置所需倍数太大，最多可投注11期。"_s;
    QTest::newRow("not an integer") << QStringList{u"0"_s, u"2O"_s, u"500"_s, u"1040"_s, u"11"_s, QString()}
                                    << u"预期利润必须是不小于0的整数"_s;
    QTest::newRow("zero investment") << QStringList{u"0"_s, u"20"_s, u"0"_s, u"1040"_s, u"11"_s, QString()}
                                     << u"单倍投入必须是大于0的整数"_s;
    QTest::newRow("zero periods") << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"0"_s, QString()}
                                  << u"投注期数必须是1到1000000之间的整数"_s;
    QTest::newRow("a negative count") << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"-1"_s, QString()}
                                      << u"投注期数必须是1到1000000之间的整数"_s;
    QTest::newRow("a bad bankroll") << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"11"_s, u"-5"_s}
                                    << u"本金必须是大于0的整数"_s;
    QTest::newRow("overflow") << QStringList{u"0"_s, u"20"_s, u"4000000000000000000"_s, u"5000000000000000000"_s,
                                             u"1"_s, QString()}
                              << u"按这些设置所需倍数太大，一期也无法投注。"_s;
}

void TestReplayWindow::refusesnamingthebox()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, shown);
    m_window->openhistory(sample);
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays", "edtbankroll"};
    for (int i = 0; i < 6; ++i)
        control<QLineEdit>(names[i])->setText(boxes[i]);
    control<QPushButton>("btnreplay")->click();
    const QList<messages::shown> boxesshown = takeshown();
    QCOMPARE(boxesshown.size(), 1); // one box says it all
    QCOMPARE(boxesshown[0].text, shown);
    QCOMPARE(boxesshown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(boxesshown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QVERIFY(!control<QPushButton>("btnsavecsv")->isEnabled()); // nothing was replayed
}

void TestReplayWindow::listsbadlinesandreplaysnothing()
{
    const QString path = write(u"坏.txt"_s, "2026001 385\n2026002 38\n# fine\n2026003 3 8\n2026004 472\n");
    m_window->openhistory(path);
    QCOMPARE(takemessagetexts(), QStringList{u"开奖历史中有2行有误，改正之后才能回测。各行的原因见汇总。"_s});
    // The progress bar is gone before the box shows.
    QVERIFY(m_window->findChildren<QProgressDialog *>().isEmpty());
    QVERIFY2(summary().contains(u"第2行：没有开奖号码：2026002 38"_s), qPrintable(summary()));
    QVERIFY(summary().contains(u"第4行：没有开奖号码：2026003 3 8"_s));
    control<QPushButton>("btnreplay")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"开奖历史中有2行有误，改正之后才能回测。"_s});
    QCOMPARE(control<QTableView>("grdplans")->model()->rowCount(), 0);
}

void TestReplayWindow::replaysthesample_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    for (int type = 0; type < 2; ++type)
        for (int mode = 0; mode < 2; ++mode)
            QTest::newRow(qPrintable(replay::kindname(planrules::kind(type)) + u' '
                                     + replay::modename(planrules::mode(mode))))
                << type << mode;
}

void TestReplayWindow::replaysthesample()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    control<Tradiogroup>("opttype")->setitemindex(type);
    control<Tradiogroup>("optmode")->setitemindex(mode);
    replaysample();
    QCOMPARE(takemessagetexts(), QStringList());
    QVERIFY2(summary().startsWith(u"■ 随机开奖下，每投入100元平均收回52元\n"_s), qPrintable(summary()));
    QVERIFY(summary().contains(u"\n【开奖历史】3000期；按期号或日期的先后回测\n"_s));
    QVERIFY(summary().contains(u"【随机开奖下】"_s));
    QVERIFY(summary().contains(u"【模拟】按随机开奖模拟10000段"_s));
    QVERIFY(control<QLineEdit>("edtsource")->text().endsWith(u"（3000期开奖）"_s));

    // The command line says the same with the same settings.
    QProcess program;
    program.start(QStringLiteral(QORVEL3D_REPLAY), {u"--text"_s, sample, u"--type"_s, type == 0 ? u"2"_s : u"3"_s,
                                                    u"--mode"_s, mode == 0 ? u"oddeven"_s : u"bigsmall"_s});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), summary() + u'\n');

    const QAbstractItemModel *plans = control<QTableView>("grdplans")->model();
    QVERIFY(plans->rowCount() > 100);
    QCOMPARE(plans->columnCount(), 7);
    QCOMPARE(plans->headerData(3, Qt::Horizontal).toString(), u"结果"_s);
    QCOMPARE(plans->index(0, 0).data().toString(), u"1"_s);
    QVERIFY(plans->index(0, 1).data().toString().startsWith(u"2019"_s));
    const QChart *lengths = control<QChartView>("chtlengths")->chart();
    QCOMPARE(lengths->series().size(), 2);
    // The line and the busts marked on it.
    QCOMPARE(control<QChartView>("chtresult")->chart()->series().size(), 2);
    // The histogram and this history's result.
    QCOMPARE(control<QChartView>("chtsimulation")->chart()->series().size(), 2);
    QVERIFY(control<QPushButton>("btnsavecsv")->isEnabled());
}

void TestReplayWindow::settingschangesclearresults()
{
    replaysample();
    QVERIFY(control<QPushButton>("btnsavecsv")->isEnabled());
    // Each setting, changed after a replay, takes the results away.
    const std::function<void()> changes[] = {
        [&] { control<Tradiogroup>("opttype")->setitemindex(1); },
        [&] { control<Tradiogroup>("optmode")->setitemindex(1); },
        [&] { control<Tradiogroup>("optpositions")->setitemindex(0); },
        [&] { control<QLineEdit>("edtlirun")->setText(u"30"_s); },
        [&] { control<QLineEdit>("edtdays")->setText(u"5"_s); },
        [&] { control<QLineEdit>("edtbankroll")->setText(u"1000"_s); },
    };
    for (const auto &change : changes) {
        control<QPushButton>("btnreplay")->click();
        QCOMPARE(takemessagetexts(), QStringList());
        QVERIFY(control<QTableView>("grdplans")->model()->rowCount() > 0);
        change();
        QCOMPARE(summary(), u"设置或开奖历史已改变，请按“开始回测”重新计算。"_s);
        QCOMPARE(control<QTableView>("grdplans")->model()->rowCount(), 0);
        QVERIFY(!control<QPushButton>("btnsavecsv")->isEnabled());
        QVERIFY(!control<QPushButton>("btnsavechart")->isEnabled());
    }
}

void TestReplayWindow::thebankrollstopsthereplay()
{
    control<QLineEdit>("edtbankroll")->setText(u"20000"_s);
    replaysample();
    QCOMPARE(takemessagetexts(), QStringList());
    QVERIFY2(summary().contains(u"■ 本金用完：第"_s), qPrintable(summary()));
    QVERIFY(summary().contains(u"本金用完的比例"_s));
    const QAbstractItemModel *plans = control<QTableView>("grdplans")->model();
    QCOMPARE(plans->index(plans->rowCount() - 1, 3).data().toString(), u"本金用完"_s);
    // The running result shows the bankroll's line and where it ran out.
    QCOMPARE(control<QChartView>("chtresult")->chart()->series().size(), 4);
}

void TestReplayWindow::sortsandfiltersthetable()
{
    control<QLineEdit>("edtdays")->setText(u"4"_s); // short plans: many busts
    replaysample();
    auto *table = control<QTableView>("grdplans");
    const QAbstractItemModel *plans = table->model();
    const int all = plans->rowCount();
    table->sortByColumn(6, Qt::AscendingOrder); // 盈亏, the worst first
    const QString worst = plans->index(0, 6).data().toString();
    QVERIFY2(worst.startsWith(u'-') && worst.endsWith(u"元"_s), qPrintable(worst));
    QCOMPARE(plans->index(0, 3).data().toString(), u"爆仓（4期未中）"_s);
    QVERIFY(plans->index(0, 3).data(Qt::FontRole).value<QFont>().bold());
    table->sortByColumn(0, Qt::DescendingOrder);
    QCOMPARE(plans->index(0, 0).data().toString(), QString::number(all));
    control<QCheckBox>("chkbusts")->click();
    QVERIFY(plans->rowCount() > 0 && plans->rowCount() < all);
    for (int row = 0; row < plans->rowCount(); ++row)
        QVERIFY(plans->index(row, 3).data().toString().startsWith(u"爆仓"_s));
    control<QCheckBox>("chkbusts")->click();
    QCOMPARE(plans->rowCount(), all);
    // Columns as wide as their content, the last one too.
    QVERIFY(table->columnWidth(6) < 200);
}

void TestReplayWindow::keyboardandscreenreaders()
{
    Tseamscope announced(announcements::seam());
    replaysample();
    QCOMPARE(announcements::seam().takerequests().size(), 1); // the new table of plans
    // Every control that takes the focus has a name, on every page.
    auto *page = control<QTabWidget>("page");
    for (int i = 0; i < page->count(); ++i) {
        page->setCurrentIndex(i);
        QCOMPARE(accessibility::unnamedcontrols(m_window.get()).join(u','), QString());
    }
    // Tab goes round every control and comes back, the table included.
    page->setCurrentWidget(control<QWidget>("tabplans"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const QStringList ring = accessibility::tabring(control<QWidget>("btnopen"));
    QCOMPARE(ring.first(), u"btnopen"_s);
    QCOMPARE(ring.last(), u"btnopen"_s);
    for (const char *name : {"edtprekui", "edtbankroll", "btnreplay", "page", "chkbusts", "grdplans", "btnclose"})
        QVERIFY2(ring.contains(QLatin1StringView(name)), qPrintable(ring.join(u' ')));
    QCOMPARE(ring.count(u"grdplans"_s), 1); // Tab leaves the table at once
    auto *table = control<QTableView>("grdplans");
    QVERIFY(!table->tabKeyNavigation()); // Tab leaves the table
    auto *summarybox = control<QPlainTextEdit>("memsummary");
    QVERIFY(summarybox->isReadOnly());
    QVERIFY(summarybox->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    for (const char *name : {"chtlengths", "chtresult", "chtsimulation"}) {
        const QChartView *chart = control<QChartView>(name);
        QCOMPARE(chart->accessibleName(), chart->chart()->title());
        QVERIFY2(!chart->accessibleDescription().isEmpty(), name);
        QCOMPARE(chart->focusPolicy(), Qt::NoFocus);
    }
    // The lengths chart is described in the words the summary uses.
    const QString lengths = control<QChartView>("chtlengths")->accessibleDescription();
    QVERIFY2(lengths.startsWith(u"计划长度：1期"_s), qPrintable(lengths));
    for (const char *name : {"opttype", "optmode", "optpositions", "memsummary", "grdplans"})
        QVERIFY2(!control<QWidget>(name)->accessibleName().isEmpty(), name);
    for (const char *name : {"edtsource", "edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays", "edtbankroll"}) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(control<QWidget>(name));
        QVERIFY2(box && !box->text(QAccessible::Name).isEmpty(), name);
    }
}

void TestReplayWindow::exportsthetable()
{
    replaysample();
    const int rows = control<QTableView>("grdplans")->model()->rowCount();
    const QString path = m_folder->filePath(u"计划.csv"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsavecsv")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    const QList<filedialogs::shown> asked = filedialogs::seam().takerequests();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].defaultsuffix, u"csv"_s);
    const QByteArray bytes = filebytes(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "编号,首期开奖,期数,结果,投入,奖金,盈亏\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), qsizetype(rows) + 1);
    QCOMPARE(bytes.count('\n'), qsizetype(rows) + 1);
    QVERIFY(bytes.contains("\r\n1,2019"));
}

void TestReplayWindow::afailedexportleavesnofile()
{
    replaysample();
    // A folder that does not exist; then a folder standing where the file would go.
    for (const QString &target : {m_folder->filePath(u"没有/计划.csv"_s), m_folder->path()}) {
        filedialogs::seam().queueanswer(target);
        control<QPushButton>("btnsavecsv")->click();
        const QList<messages::shown> shown = takeshown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QVERIFY(shown[0].text == u"无效的文件名."_s || shown[0].text == u"文件存取错误."_s);
    }
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

void TestReplayWindow::exportsthechart()
{
    replaysample();
    QVERIFY(!control<QPushButton>("btnsavechart")->isEnabled()); // the summary is in front
    auto *page = control<QTabWidget>("page");
    for (const char *sheet : {"tablengths", "tabresult", "tabsimulation"}) {
        page->setCurrentWidget(control<QWidget>(sheet));
        QVERIFY(control<QPushButton>("btnsavechart")->isEnabled());
        const QString path = m_folder->filePath(QString::fromLatin1(sheet) + u".png"_s);
        filedialogs::seam().queueanswer(path);
        control<QPushButton>("btnsavechart")->click();
        QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
        QVERIFY(filebytes(path).startsWith("\x89PNG\r\n"));
        // The chart with its caption below it.
        const QImage image(path);
        QVERIFY(image.height() > control<QChartView>(sheet == QByteArrayView("tablengths") ? "chtlengths"
                                                     : sheet == QByteArrayView("tabresult") ? "chtresult"
                                                                                            : "chtsimulation")
                                     ->height());
    }
    // The dialog starts in the history's folder.
    const QList<filedialogs::shown> asked = filedialogs::seam().takerequests();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(QDir(asked[0].folder), QFileInfo(sample).absoluteDir());
    QCOMPARE(asked[0].filters, QStringList{u"PNG图片(*.png)"_s});
}

void TestReplayWindow::opensfromthelastfolder()
{
    // History files by their usual names, or any file; the dialog starts where
    // the last one came from.
    QVERIFY(QDir(m_folder->path()).mkdir(u"导出"_s));
    const QString other = write(u"导出/另一个.csv"_s, "期号,开奖号码\n2026001,385\n2026002,472\n");
    filedialogs::seam().queueanswer(other);
    control<QPushButton>("btnopen")->click();
    filedialogs::seam().queueanswer(QString());
    control<QPushButton>("btnopen")->click();
    const QList<filedialogs::shown> asked = filedialogs::seam().takerequests();
    QCOMPARE(asked.size(), 2);
    QVERIFY(!asked[0].save && asked[0].existingonly);
    QCOMPARE(asked[0].filters, (QStringList{u"开奖历史 (*.txt *.csv *.tsv)"_s, u"所有文件 (*)"_s}));
    QCOMPARE(QDir(asked[0].folder), QDir(m_folder->path()));
    QCOMPARE(QDir(asked[1].folder), QFileInfo(other).absoluteDir());
    QCOMPARE(control<QLineEdit>("edtsource")->text(), QDir::toNativeSeparators(other) + u"（2期开奖）"_s);
}

void TestReplayWindow::saysaboutafilewhatiswrong()
{
    // A file that is not there: the box names it.
    const QString missing = m_folder->filePath(u"没有.txt"_s);
    filedialogs::seam().queueanswer(missing);
    control<QPushButton>("btnopen")->click();
    const QList<messages::shown> shown = takeshown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QVERIFY2(shown[0].text.startsWith(QDir::toNativeSeparators(missing) + u"："_s), qPrintable(shown[0].text));
    // One draw is read, and the window says at once that it is too few.
    m_window->openhistory(write(u"一期.txt"_s, "2026001 385\n"));
    QVERIFY2(summary().contains(u"二码至少要有2期"_s), qPrintable(summary()));
    control<QPushButton>("btnreplay")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"开奖历史只有1期，二码至少要有2期才能回测。"_s});
    filedialogs::seam().takerequests();
}

void TestReplayWindow::pastesdraws()
{
    QGuiApplication::clipboard()->setText(u"2026002 472\n2026001 385\n"_s);
    control<QPushButton>("btnpaste")->click();
    QCOMPARE(control<QLineEdit>("edtsource")->text(), u"剪贴板（2期开奖，新开奖在前，已倒转）"_s);
    control<QPushButton>("btnreplay")->click();
    QVERIFY2(summary().contains(u"\n【开奖历史】2期；文件为新开奖在前，已按期号或日期倒转为按时间先后回测\n"_s),
             qPrintable(summary()));
    QCOMPARE(control<QTableView>("grdplans")->model()->index(0, 1).data().toString(), u"2026002"_s);

    QGuiApplication::clipboard()->setText(u"  \n"_s);
    control<QPushButton>("btnpaste")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"剪贴板中没有开奖号码"_s});
}

void TestReplayWindow::pastedlinebreaksareremoved()
{
    int boxes = 0;
    for (QLineEdit *box : m_window->findChildren<QLineEdit *>()) {
        if (box->isReadOnly() || !box->isVisibleTo(m_window.get()))
            continue;
        ++boxes;
        pasteinto(box, u"7\r\n"_s);
        QCOMPARE(box->text(), u"7"_s);
    }
    QVERIFY(boxes >= 5);
    // Seven in 本金 and 投注期数 is a setting like any other; no box is shown.
    QCOMPARE(takemessagetexts(), QStringList());
}

QTEST_MAIN(TestReplayWindow)
#include "test_replaywindow.moc"
