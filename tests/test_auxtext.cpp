// The tool that writes the producer text files, run as a user runs it.
#include "cipher/Des.h"
#include "cipher/auxfilekey.h"
#include "tests/checks.h"
#include "toolkit/gbk.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct run
{
    int exitcode;
    QByteArray out;
    QString err;
};

run tool(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(QORVEL3D_AUXTEXT), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestAuxText : public QObject
{
    Q_OBJECT

private slots:
    void writesandreadsafile();
    void standardinputandoutput();
    void anotherkey();
    void failures_data();
    void failures();
    void help();
    void runningoutofmemoryisamessage();
};

void TestAuxText::writesandreadsafile()
{
    QTemporaryDir folder;
    const QString source = folder.filePath(u"about.txt"_s), target = folder.filePath(u"附属.txt"_s);
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"作者：示例\n版权所有：示例工作室\r\nQQ号码：10000\n"_s.toUtf8());
    file.close();

    run r = tool({source, target});
    QCOMPARE(r.exitcode, 0);
    const QList<QByteArray> lines = filebytes(target).split('\n');
    QCOMPARE(lines.size(), 4); // three lines, each ended by CR LF
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(Des::decipherfromhex(lines[0].chopped(1), auxfilekey), gbk::encode(u"作者：示例"_s));
    QCOMPARE(lines[2].chopped(1), Des::enciphertohex(gbk::encode(u"QQ号码：10000"_s), auxfilekey));
    QVERIFY(lines[1].endsWith('\r'));

    const QString back = folder.filePath(u"back.txt"_s);
    r = tool({u"--decipher"_s, target, back});
    QCOMPARE(r.exitcode, 0);
    QCOMPARE(QString::fromUtf8(filebytes(back)), u"作者：示例\r\n版权所有：示例工作室\r\nQQ号码：10000\r\n"_s);
}

void TestAuxText::standardinputandoutput()
{
    const run enciphered = tool({}, "line one\n\nthird\n");
    QCOMPARE(enciphered.exitcode, 0);
    QCOMPARE(enciphered.out.count("\r\n"), 3);
    QVERIFY(enciphered.out.contains("\r\n\r\n")); // an empty text is an empty line
    const run back = tool({u"--decipher"_s, u"-"_s}, enciphered.out);
    QCOMPARE(back.exitcode, 0);
    QCOMPARE(back.out, QByteArray("line one\r\n\r\nthird\r\n"));
}

void TestAuxText::anotherkey()
{
    const run r = tool({u"--key"_s, u"12"_s}, "abc\n");
    QCOMPARE(r.exitcode, 0);
    QCOMPARE(r.out, Des::enciphertohex("abc", "12") + "\r\n");
    QVERIFY(r.out != Des::enciphertohex("abc", auxfilekey) + "\r\n");
}

void TestAuxText::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitcode");
    QTest::addColumn<QString>("message");
    QTest::newRow("a missing file") << QStringList{u"/no/such/file.txt"_s} << QByteArray() << 1
                                    << u"/no/such/file.txt：无效的文件名"_s;
    QTest::newRow("text GBK cannot hold") << QStringList() << u"好\n不好😀\n"_s.toUtf8() << 1
                                          << u"第2行：文本含有GBK无法表示的字符"_s;
    const QByteArray good = Des::enciphertohex("abc", auxfilekey) + '\n';
    QTest::newRow("a line that is no hex") << QStringList{u"--decipher"_s} << good + "\nXY\n" << 1
                                           << u"第3行：Error: not a Hex String"_s;
    QTest::newRow("hex of odd length") << QStringList{u"--decipher"_s} << good + "ABC\n" << 1
                                       << u"第2行：长度3不是16的倍数"_s;
    QTest::newRow("one hex digit") << QStringList{u"--decipher"_s} << QByteArray("A\n") << 1
                                   << u"第1行：长度1不是16的倍数"_s;
    QTest::newRow("a block and a bit") << QStringList{u"--decipher"_s} << good.chopped(1) + "00\n" << 1
                                       << u"第1行：长度18不是16的倍数"_s;
    QTest::newRow("an unknown option") << QStringList{u"--decode"_s} << QByteArray() << 2 << u"--decode"_s;
    QTest::newRow("too many files") << QStringList{u"a"_s, u"b"_s, u"c"_s} << QByteArray() << 2 << u"用法"_s;
}

void TestAuxText::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitcode);
    QFETCH(QString, message);
    const run r = tool(arguments, input);
    QCOMPARE(r.exitcode, exitcode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty()); // nothing half written
}

void TestAuxText::help()
{
    const run r = tool({u"--help"_s});
    QCOMPARE(r.exitcode, 0);
    const QString text = QString::fromUtf8(r.out);
    for (const QString &word : {u"--key"_s, u"--decipher"_s, u"CR LF"_s, u"GBK"_s, u"标准输入"_s, u"行号"_s})
        QVERIFY2(text.contains(word), qPrintable(word));
}

void TestAuxText::runningoutofmemoryisamessage()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer needs more address space than the limit leaves, and ends the program on a failed allocation");
#elif defined(Q_OS_LINUX)
    // A file larger than the memory the tool may take: a sparse one, made at once.
    QTemporaryDir folder;
    const QString big = folder.filePath(u"big.txt"_s);
    QVERIFY(makesparsefile(big, qint64(2) << 30));
    QProcess process;
    limitaddressspace(process, 768);
    process.start(QStringLiteral(QORVEL3D_AUXTEXT), {big, folder.filePath(u"out.txt"_s)});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), u"内存不足\n"_s);
#else
    QSKIP("address-space limits");
#endif
}

QTEST_GUILESS_MAIN(TestAuxText)
#include "test_auxtext.moc"
