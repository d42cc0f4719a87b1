// The replay window driven through its controls: its defaults and how they follow
// the inputs, the planner's refusals, bad lines, a replay of the sample history
// with its summary, charts and table, and the exports; and the command line.
#include "replay/commandline.h"
#include "replay/u_replay.h"
#include "tests/checks.h"
#include "tests/windowtest.h"
#include "toolkit/radiogroup.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;

class TestReplayWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaults();
    void stakeandperiodsfollowuntiledited();
    void refusesasthepllannerdoes_data();
    void refusesasthepllannerdoes();
    void listsbadlinesandreplaysnothing();
    void replaysthesample_data();
    void replaysthesample();
    void exportsthetable();
    void afailedexportleavesnofile();
    void exportsthechart();
    void pastesdraws();
    void pastedlinebreaksareremoved();

    void commandlineexitcodes_data();
    void commandlineexitcodes();
    void theprogramreportsbadlinesandwritesthetable();
    void theprogramrunningoutofmemoryisamessage();

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

// The command line run in-process: its exit status and what it printed.
struct printed
{
    int status;
    QString out, err;
};

printed runcommandline(const QStringList &args)
{
    QTemporaryFile out, err;
    if (!out.open() || !err.open())
        return {-1, {}, {}};
    FILE *o = std::fopen(out.fileName().toLocal8Bit().constData(), "w");
    FILE *e = std::fopen(err.fileName().toLocal8Bit().constData(), "w");
    const int status = replay::commandline(args, o, e);
    std::fclose(o);
    std::fclose(e);
    return {status, QString::fromUtf8(filebytes(out.fileName())), QString::fromUtf8(filebytes(err.fileName()))};
}

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
    QVERIFY2(releaseseams(m_seams), "a test left a message unread");
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
    const char *boxes[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    const QStringList texts{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"11"_s};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(control<QLineEdit>(boxes[i])->text(), texts[i]);
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
    QVERIFY(longest->text() != u"最多可投注期数：29"_s); // still worked out for the inputs
}

void TestReplayWindow::refusesasthepllannerdoes_data()
{
    QTest::addColumn<QStringList>("boxes"); // loss, profit, stake, prize, periods
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("icon");
    const int stop = QMessageBox::Critical, none = QMessageBox::NoIcon;
    QTest::newRow("no multiple reaches the profit")
        << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"12"_s}
        << QStringList{u"所需倍数太大，无法投注！"_s, u"按这些设置最多可投注11期"_s} << none;
    QTest::newRow("not an integer") << QStringList{u"0"_s, u"2O"_s, u"500"_s, u"1040"_s, u"11"_s}
                                    << QStringList{u"'2O' 不是一个有效的整形值."_s} << stop;
    QTest::newRow("zero investment") << QStringList{u"0"_s, u"20"_s, u"0"_s, u"1040"_s, u"11"_s}
                                     << QStringList{u"被 0 除."_s} << stop;
    QTest::newRow("zero periods") << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"0"_s}
                                  << QStringList{u"被 0 除."_s} << stop;
    QTest::newRow("a negative count") << QStringList{u"0"_s, u"20"_s, u"500"_s, u"1040"_s, u"-1"_s}
                                      << QStringList{u"范围检测错误."_s} << stop;
    QTest::newRow("overflow") << QStringList{u"0"_s, u"20"_s, u"4000000000000000000"_s, u"5000000000000000000"_s,
                                             u"1"_s}
                              << QStringList{u"整数溢出."_s} << stop;
}

void TestReplayWindow::refusesasthepllannerdoes()
{
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, shown);
    QFETCH(int, icon);
    m_window->openhistory(sample);
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    for (int i = 0; i < 5; ++i)
        control<QLineEdit>(names[i])->setText(boxes[i]);
    control<QPushButton>("btnreplay")->click();
    const QList<messages::shown> boxesshown = takeshown();
    QStringList texts;
    for (const messages::shown &box : boxesshown)
        texts.append(box.text);
    QCOMPARE(texts, shown);
    QCOMPARE(int(boxesshown[0].icon), icon);
    QCOMPARE(boxesshown[0].caption, u"Qorvel3D时时彩自动选号器"_s);
    QVERIFY(!control<QPushButton>("btnsavecsv")->isEnabled()); // nothing was replayed
}

void TestReplayWindow::listsbadlinesandreplaysnothing()
{
    const QString path = write(u"坏.txt"_s, "2026001 385\n2026002 38\n# fine\n2026003 3 8\n2026004 472\n");
    m_window->openhistory(path);
    QCOMPARE(takemessagetexts(), QStringList{u"开奖历史中有2行无法识别，改正之后才能回测。"_s});
    QVERIFY(summary().contains(u"第2行：2026002 38"_s));
    QVERIFY(summary().contains(u"第4行：2026003 3 8"_s));
    control<QPushButton>("btnreplay")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"开奖历史中有2行无法识别，改正之后才能回测"_s});
    QCOMPARE(control<QTableView>("grdplans")->model()->rowCount(), 0);
}

void TestReplayWindow::replaysthesample_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    for (int type = 0; type < 2; ++type)
        for (int mode = 0; mode < 2; ++mode)
            QTest::newRow(qPrintable(replay::typename_(planrules::kind(type)) + u' '
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
    QVERIFY2(summary().startsWith(u"【开奖历史】3000期\n"_s), qPrintable(summary()));
    QVERIFY(summary().contains(u"【随机开奖下】"_s));
    QVERIFY(control<QLineEdit>("edtsource")->text().endsWith(u"（3000期开奖）"_s));

    // The command line says the same with the same settings.
    const printed cli = runcommandline({u"--text"_s, sample, u"--type"_s, type == 0 ? u"2"_s : u"3"_s, u"--mode"_s,
                                        mode == 0 ? u"oddeven"_s : u"bigsmall"_s});
    QCOMPARE(cli.status, 0);
    QCOMPARE(cli.out, summary() + u'\n');

    const QAbstractItemModel *plans = control<QTableView>("grdplans")->model();
    QVERIFY(plans->rowCount() > 100);
    QCOMPARE(plans->columnCount(), 7);
    QCOMPARE(plans->headerData(3, Qt::Horizontal).toString(), u"结果"_s);
    QCOMPARE(plans->index(0, 0).data().toString(), u"1"_s);
    QVERIFY(plans->index(0, 1).data().toString().startsWith(u"2019"_s));
    const QChart *lengths = control<QChartView>("chtlengths")->chart();
    QCOMPARE(lengths->series().size(), 2);
    QCOMPARE(control<QChartView>("chtresult")->chart()->series().size(), 1);
    QVERIFY(control<QPushButton>("btnsavecsv")->isEnabled());
}

void TestReplayWindow::exportsthetable()
{
    replaysample();
    const int rows = control<QTableView>("grdplans")->model()->rowCount();
    const QString path = m_folder->filePath(u"计划.csv"_s);
    filedialogs::seam().queueanswer(path);
    control<QPushButton>("btnsavecsv")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
    const QList<Tfiledialogsetup> asked = filedialogs::seam().takerequests();
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
    for (const char *sheet : {"TabSheet2", "TabSheet3"}) {
        page->setCurrentWidget(control<QWidget>(sheet));
        QVERIFY(control<QPushButton>("btnsavechart")->isEnabled());
        const QString path = m_folder->filePath(QString::fromLatin1(sheet) + u".png"_s);
        filedialogs::seam().queueanswer(path);
        control<QPushButton>("btnsavechart")->click();
        QCOMPARE(takemessagetexts(), QStringList{u"成功保存！"_s});
        QVERIFY(filebytes(path).startsWith("\x89PNG\r\n"));
        QVERIFY(!QImage(path).isNull());
    }
}

void TestReplayWindow::pastesdraws()
{
    QGuiApplication::clipboard()->setText(u"2026002 472\n2026001 385\n"_s);
    control<QPushButton>("btnpaste")->click();
    QCOMPARE(control<QLineEdit>("edtsource")->text(), u"剪贴板（2期开奖，新开奖在前）"_s);
    control<QPushButton>("btnreplay")->click();
    QVERIFY(summary().startsWith(u"【开奖历史】2期（文件为新开奖在前，已倒转为按时间先后回测）"_s));
    QCOMPARE(control<QTableView>("grdplans")->model()->index(0, 1).data().toString(), u"2026002"_s);

    QGuiApplication::clipboard()->setText(u"  \n"_s);
    control<QPushButton>("btnpaste")->click();
    QCOMPARE(takemessagetexts(), QStringList{u"剪贴板中没有开奖号码"_s});
}

void TestReplayWindow::commandlineexitcodes_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stderrhas");
    QTest::newRow("the sample") << QStringList{u"--text"_s, sample} << 0 << QString();
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QString();
    QTest::newRow("an unknown option") << QStringList{u"--text"_s, sample, u"--fast"_s} << 2 << u"未知的参数：--fast"_s;
    QTest::newRow("a missing value") << QStringList{u"--text"_s} << 2 << u"参数 --text 缺少取值"_s;
    QTest::newRow("no history") << QStringList{u"--type"_s, u"3"_s} << 2 << u"缺少 --text"_s;
    QTest::newRow("a bad type") << QStringList{u"--text"_s, sample, u"--type"_s, u"4"_s} << 2 << u"--type"_s;
    QTest::newRow("a bad mode") << QStringList{u"--text"_s, sample, u"--mode"_s, u"odd"_s} << 2 << u"--mode"_s;
    QTest::newRow("not an integer") << QStringList{u"--text"_s, sample, u"--stake"_s, u"5O0"_s} << 2
                                    << u"'5O0' 不是一个有效的整形值"_s;
    QTest::newRow("a missing file") << QStringList{u"--text"_s, u"/没有/文件.txt"_s} << 1 << u"无效的文件名"_s;
    QTest::newRow("too many periods") << QStringList{u"--text"_s, sample, u"--periods"_s, u"12"_s} << 1
                                      << u"所需倍数太大，无法投注！按这些设置最多可投注11期"_s;
}

void TestReplayWindow::commandlineexitcodes()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, stderrhas);
    const printed cli = runcommandline(args);
    QCOMPARE(cli.status, status);
    QVERIFY2(cli.err.contains(stderrhas), qPrintable(cli.err));
    if (status == 0)
        QVERIFY(!cli.out.isEmpty() && cli.err.isEmpty());
    else
        QVERIFY(cli.out.isEmpty());
}

void TestReplayWindow::theprogramreportsbadlinesandwritesthetable()
{
    // The built program, so that its own start hands the arguments on.
    const QString bad = write(u"坏.txt"_s, "385\n472\nabc\n391\n1 2\n");
    QProcess program;
    program.start(QStringLiteral(QORVEL3D_REPLAY), {u"--text"_s, bad});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 2);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.contains(u"第3行：abc"_s) && err.contains(u"第5行：1 2"_s), qPrintable(err));
    QVERIFY(program.readAllStandardOutput().isEmpty());

    const QString csv = m_folder->filePath(u"表.csv"_s);
    program.start(QStringLiteral(QORVEL3D_REPLAY), {u"--text"_s, sample, u"--type"_s, u"3"_s, u"--csv"_s, csv});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(u"【开奖历史】3000期"_s));
    QVERIFY(filebytes(csv).startsWith("\xEF\xBB\xBF"));
}

void TestReplayWindow::theprogramrunningoutofmemoryisamessage()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer needs more address space than the limit leaves, and ends the program on a failed allocation");
#elif defined(Q_OS_LINUX)
    // A history larger than the memory the program may take: a sparse file.
    QFile big(m_folder->filePath(u"big.txt"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(2) << 30));
    big.close();
    QProcess process;
    process.setChildProcessModifier([] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = rlim_t(768) << 20;
        setrlimit(RLIMIT_AS, &limit);
    });
    process.start(QStringLiteral(QORVEL3D_REPLAY), {u"--text"_s, big.fileName()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), u"内存不足\n"_s);
#else
    QSKIP("address-space limits");
#endif
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
    takemessagetexts();
}

QTEST_MAIN(TestReplayWindow)
#include "test_replaywindow.moc"
