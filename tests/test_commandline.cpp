// qorvel3d-replay on the command line, the built program itself: its exit
// statuses, what it prints and where, and the files it writes.
#include "tests/checks.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString sample = QStringLiteral(QORVEL3D_SAMPLE);

struct printed
{
    int status = -1;
    QByteArray out;
    QString err;
};

printed runprogram(const QStringList &args, const QByteArray &input = {}, const QString &outfile = {})
{
    QProcess program;
    if (!outfile.isEmpty())
        program.setStandardOutputFile(outfile);
    program.start(QStringLiteral(QORVEL3D_REPLAY), args);
    if (!program.waitForStarted())
        return {};
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void exitstatuses_data();
    void exitstatuses();
    void optionforms();
    void readsstandardinput();
    void writescsvandjson();
    void afullstandardoutputfails();
    void listsbadlineswiththeirreasons();
    void runningoutofmemoryisamessage();

private:
    QString write(const QString &name, const QByteArray &bytes) const;

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestCommandLine::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

QString TestCommandLine::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestCommandLine::exitstatuses_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stderrhas");
    const QStringList fast{u"--text"_s, sample, u"--simulations"_s, u"0"_s};
    QTest::newRow("the sample") << fast << 0 << QString();
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QString();
    QTest::newRow("an unknown option") << (fast + QStringList{u"--fast"_s}) << 2 << u"未知的参数：--fast"_s;
    QTest::newRow("a missing value") << QStringList{u"--text"_s} << 2 << u"参数 --text 缺少取值"_s;
    QTest::newRow("an option where a value should be") << QStringList{u"--text"_s, sample, u"--type"_s, u"--mode"_s,
                                                                      u"bigsmall"_s}
                                                       << 2 << u"参数 --type 缺少取值"_s;
    QTest::newRow("no history") << QStringList{u"--type"_s, u"3"_s} << 2 << u"缺少 --text"_s;
    QTest::newRow("a repeated option") << (fast + QStringList{u"--type"_s, u"2"_s, u"--type=3"_s}) << 2
                                       << u"参数 --type 给了不止一次"_s;
    QTest::newRow("a bad type") << (fast + QStringList{u"--type"_s, u"4"_s}) << 2 << u"--type 只能是 2、3"_s;
    QTest::newRow("a bad mode") << (fast + QStringList{u"--mode"_s, u"odd"_s}) << 2 << u"--mode 只能是"_s;
    QTest::newRow("bad positions") << (fast + QStringList{u"--positions=last"_s}) << 2 << u"--positions 只能是"_s;
    QTest::newRow("a zero stake") << (fast + QStringList{u"--stake"_s, u"0"_s}) << 2 << u"--stake 必须是大于0的整数"_s;
    QTest::newRow("a zero prize") << (fast + QStringList{u"--prize"_s, u"0"_s}) << 2 << u"--prize 必须是大于0的整数"_s;
    QTest::newRow("not an integer") << (fast + QStringList{u"--stake"_s, u"5O0"_s}) << 2 << u"--stake 必须"_s;
    QTest::newRow("an empty value") << (fast + QStringList{u"--loss="_s}) << 2 << u"--loss 缺少取值"_s;
    QTest::newRow("too many periods") << (fast + QStringList{u"--periods"_s, u"12"_s}) << 2
                                      << u"按这些设置所需倍数太大，最多可投注11期。"_s;
    QTest::newRow("a zero bankroll") << (fast + QStringList{u"--bankroll"_s, u"0"_s}) << 2 << u"--bankroll 必须"_s;
    QTest::newRow("csv onto the history") << (fast + QStringList{u"--csv"_s, sample}) << 2
                                          << u"--csv 不能与 --text 是同一个文件"_s;
    QTest::newRow("json onto the history") << (fast + QStringList{u"--json="_s + sample}) << 2
                                           << u"--json 不能与 --text 是同一个文件"_s;
    QTest::newRow("an empty file name") << QStringList{u"--text="_s} << 2 << u"参数 --text 缺少文件名"_s;
    QTest::newRow("csv and json into one file") << (fast + QStringList{u"--csv=out"_s, u"--json"_s, u"out"_s}) << 2
                                                << u"--csv 和 --json 不能是同一个文件"_s;
    QTest::newRow("a missing file") << QStringList{u"--text"_s, u"/没有/文件.txt"_s} << 1 << u"无效的文件名"_s;
    QTest::newRow("not a file") << QStringList{u"--text"_s, u"/dev/zero"_s} << 1 << u"不是普通文件"_s;
    QTest::newRow("an unwritable csv") << (fast + QStringList{u"--csv"_s, u"/没有/表.csv"_s}) << 1
                                       << u"无效的文件名"_s;
}

void TestCommandLine::exitstatuses()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, stderrhas);
    const printed cli = runprogram(args);
    QCOMPARE(cli.status, status);
    QVERIFY2(cli.err.contains(stderrhas), qPrintable(cli.err));
    if (status == 0)
        QVERIFY(!cli.out.isEmpty() && cli.err.isEmpty());
    else if (status == 2)
        QVERIFY(cli.out.isEmpty()); // checked before any work
}

void TestCommandLine::optionforms()
{
    // `--opt value` and `--opt=value` are one option.
    const printed spaced = runprogram({u"--text"_s, sample, u"--type"_s, u"3"_s, u"--simulations"_s, u"0"_s});
    const printed joined = runprogram({u"--text="_s + sample, u"--type=3"_s, u"--simulations=0"_s});
    QCOMPARE(spaced.status, 0);
    QCOMPARE(joined.status, 0);
    QCOMPARE(joined.out, spaced.out);
    QVERIFY(QString::fromUtf8(spaced.out).contains(u"【设置】三码 奇偶模式"_s));
}

void TestCommandLine::readsstandardinput()
{
    const printed cli = runprogram({u"--text"_s, u"-"_s, u"--simulations"_s, u"0"_s, u"--json"_s, u"-"_s},
                                   "385\n472\n391\n258\n412\n");
    QCOMPARE(cli.status, 0);
    // Standard output holds the JSON alone.
    const QJsonObject json = QJsonDocument::fromJson(cli.out).object();
    QCOMPARE(json[u"draws"_s].toInteger(), 5);
    QCOMPARE(json[u"plans"_s].toObject()[u"hits"_s].toInteger(), 1);
    QCOMPARE(json[u"money"_s].toObject()[u"result"_s].toInteger(), 1940);
}

void TestCommandLine::writescsvandjson()
{
    const QString csv = m_folder->filePath(u"表.csv"_s), json = m_folder->filePath(u"结果.json"_s);
    const printed cli = runprogram({u"--text"_s, sample, u"--type"_s, u"3"_s, u"--csv"_s, csv, u"--json"_s, json,
                                    u"--bankroll"_s, u"100000"_s, u"--simulations"_s, u"500"_s, u"--seed"_s, u"7"_s});
    QCOMPARE(cli.status, 0);
    QVERIFY(QString::fromUtf8(cli.out).contains(u"【模拟】按随机开奖模拟500段"_s));
    QVERIFY(filebytes(csv).startsWith("\xEF\xBB\xBF" "编号,首期开奖,期数,结果,投入,奖金,盈亏\r\n"));
    const QJsonObject result = QJsonDocument::fromJson(filebytes(json)).object();
    QCOMPARE(result[u"type"_s].toInteger(), 3);
    QCOMPARE(result[u"settings"_s].toObject()[u"bankroll"_s].toInteger(), 100000);
    const QJsonObject simulation = result[u"simulation"_s].toObject();
    QCOMPARE(simulation[u"runs"_s].toInteger(), 500);
    QCOMPARE(simulation[u"seed"_s].toInteger(), 7);
    const double ruin = simulation[u"ruin"_s].toDouble();
    QVERIFY(simulation[u"ruin_low"_s].toDouble() <= ruin && ruin <= simulation[u"ruin_high"_s].toDouble());
    // The same seed gives the same figures.
    const printed again = runprogram({u"--text"_s, sample, u"--type"_s, u"3"_s, u"--bankroll"_s, u"100000"_s,
                                      u"--simulations"_s, u"500"_s, u"--seed"_s, u"7"_s});
    QCOMPARE(again.out, cli.out);
}

void TestCommandLine::afullstandardoutputfails()
{
    const printed cli = runprogram({u"--text"_s, sample, u"--simulations"_s, u"0"_s}, {}, u"/dev/full"_s);
    QCOMPARE(cli.status, 1);
    QVERIFY2(cli.err.contains(u"标准输出"_s), qPrintable(cli.err));
}

void TestCommandLine::listsbadlineswiththeirreasons()
{
    const QString bad = write(u"坏.txt"_s, "385\n472\nabc\n391\n");
    const printed cli = runprogram({u"--text"_s, bad});
    QCOMPARE(cli.status, 2);
    QVERIFY2(cli.err.contains(u"第3行：没有开奖号码：abc"_s), qPrintable(cli.err));
    QVERIFY(cli.out.isEmpty());
    // One draw is not a history.
    const printed one = runprogram({u"--text"_s, write(u"一期.txt"_s, "385\n")});
    QCOMPARE(one.status, 2);
    QVERIFY2(one.err.contains(u"至少要有2期"_s), qPrintable(one.err));
}

void TestCommandLine::runningoutofmemoryisamessage()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer needs more address space than the limit leaves, and ends the program on a failed allocation");
#elif defined(Q_OS_LINUX)
    // A history larger than the memory the program may take: a sparse file.
    const QString big = m_folder->filePath(u"big.txt"_s);
    QVERIFY(makesparsefile(big, qint64(2) << 30));
    QProcess process;
    limitaddressspace(process, 768);
    process.start(QStringLiteral(QORVEL3D_REPLAY), {u"--text"_s, big});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(u"qorvel3d-replay: "_s) && err.endsWith(u"内存不足\n"_s), qPrintable(err));
#else
    QSKIP("address-space limits");
#endif
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
