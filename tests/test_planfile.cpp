// Text files line by line, the plan table file's lines, and the file errors in
// the program's words.
#include "planner/planfile.h"
#include "tests/checks.h"
#include "toolkit/apperror.h"
#include "toolkit/gbk.h"
#include "toolkit/textfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#endif

using namespace Qt::Literals::StringLiterals;

namespace {

// A device that takes `room` bytes and then refuses, as a full disk does.
class Tfulldevice : public QIODevice
{
public:
    explicit Tfulldevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        const qint64 taken = std::min(size, m_room);
        m_room -= taken;
        return taken == 0 ? -1 : taken;
    }

private:
    qint64 m_room;
};

} // namespace

class TestPlanFile : public QObject
{
    Q_OBJECT

private slots:
    void readslines_data();
    void readslines();
    void writeslineswithcrlf();
    void ashortwriteisafulldisk();
    void savereplacesthefile();
    void defaulttablefolder_data();
    void defaulttablefolder();
    void savewritesdevicesinplace_data();
    void savewritesdevicesinplace();
    void savefeedsafiforeader();
    void savethroughalinkkeepsthelink_data();
    void savethroughalinkkeepsthelink();
    void savetoadescriptorkeepswhatwaswritten();
    void filefailures_data();
    void filefailures();
    void errorcodes_data();
    void errorcodes();
    void linesofaplan();
    void gbktextroundtrips();
    void readsrows_data();
    void readsrows();
    void periodcounts_data();
    void periodcounts();
};

void TestPlanFile::readslines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines"); // read until the end, then one more
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b", ""};
    QTest::newRow("LF") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b", ""};
    QTest::newRow("no end of line at the end") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b", ""};
    QTest::newRow("an empty last line") << QByteArray("a\r\n\r\n") << QList<QByteArray>{"a", "", ""};
    QTest::newRow("a lone CR stays") << QByteArray("a\rb\r\n") << QList<QByteArray>{"a\rb", ""};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("GBK bytes with 0x5C and 0x7C") << QByteArray("\x81\x5C\x81\x7C\r\n")
                                                  << QList<QByteArray>{"\x81\x5C\x81\x7C", ""};
}

void TestPlanFile::readslines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    Ttextreader reader(bytes);
    QList<QByteArray> read;
    while (!reader.atend())
        read.append(reader.readline());
    read.append(reader.readline());
    QCOMPARE(read, lines);
    QCOMPARE(reader.readline(), QByteArray()); // and empty lines for ever
    QVERIFY(reader.atend());
}

void TestPlanFile::writeslineswithcrlf()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writelines(buffer, {"0", "", "\xB2\xE2"});
    QCOMPARE(buffer.data(), QByteArray("0\r\n\r\n\xB2\xE2\r\n"));
}

void TestPlanFile::ashortwriteisafulldisk()
{
    Tfulldevice device(5);
    QCOMPARE(failuremessage([&] { writelines(device, {"1000", "20"}); }), u"磁盘已满"_s);
}

void TestPlanFile::savereplacesthefile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"固定投资计划表.txt"_s);
    savelines(path, {"old", "lines", "here"});
    savelines(path, {"1", "2"});
    QCOMPARE(filebytes(path), QByteArray("1\r\n2\r\n"));
    // A save that fails leaves the file as it was.
    QCOMPARE(failuremessage([&] { planfile::planfilelines({u"😀"_s}, {}); }), u"文本含有GBK无法表示的字符"_s);
    QCOMPARE(filebytes(path), QByteArray("1\r\n2\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"固定投资计划表.txt"_s});
}

void TestPlanFile::defaulttablefolder_data()
{
    QTest::addColumn<QStringList>("folders"); // made under a prefix with bin/ and share/
    QTest::addColumn<bool>("readonly");       // the 附属 folders made read-only
    QTest::addColumn<QString>("expected");
    QTest::newRow("portable") << QStringList{u"bin/附属"_s} << false << u"bin/附属"_s;
    QTest::newRow("portable, read-only") << QStringList{u"bin/附属"_s} << true << u"home/Documents/Qorvel3D"_s;
    // Root can write into the installation; plan tables still go to the user's folder.
    QTest::newRow("installed, writable") << QStringList{u"share/qorvel3d/附属"_s} << false
                                         << u"home/Documents/Qorvel3D"_s;
    QTest::newRow("installed, read-only") << QStringList{u"share/qorvel3d/附属"_s} << true
                                          << u"home/Documents/Qorvel3D"_s;
    QTest::newRow("both: beside comes first") << QStringList{u"bin/附属"_s, u"share/qorvel3d/附属"_s} << false
                                              << u"bin/附属"_s;
    QTest::newRow("no data") << QStringList() << false << u"home/Documents/Qorvel3D"_s;
}

void TestPlanFile::defaulttablefolder()
{
    QFETCH(QStringList, folders);
    QFETCH(bool, readonly);
    QFETCH(QString, expected);
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(u"bin"_s));
    for (const QString &folder : folders) {
        QVERIFY(root.mkpath(folder));
        if (readonly)
            QFile::setPermissions(root.filePath(folder), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    if (readonly && QFileInfo(root.filePath(folders[0])).isWritable())
        QSKIP("running with rights that write through read-only permissions (root)");
    const QString found = planfile::defaulttablefolder(root.filePath(u"bin"_s) + u'/', root.filePath(u"home/Documents"_s));
    QCOMPARE(found, QDir::toNativeSeparators(root.filePath(expected)));
    QVERIFY2(!QFileInfo::exists(root.filePath(u"home"_s)), "deciding makes no folder");
}

void TestPlanFile::savewritesdevicesinplace_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::newRow("/dev/null takes it") << u"/dev/null"_s << QString();
    QTest::newRow("/dev/full is a full disk") << u"/dev/full"_s << u"磁盘已满"_s;
}

void TestPlanFile::savewritesdevicesinplace()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, device);
    QFETCH(QString, message);
    if (!QFileInfo::exists(device))
        QSKIP("no such device here");
    struct stat before{};
    QCOMPARE(::stat(device.toLocal8Bit().constData(), &before), 0);
    QCOMPARE(failuremessage([&] { savelines(device, {"1", "2"}); }), message);
    // Still the same device, never a regular file put in its place.
    struct stat after{};
    QCOMPARE(::stat(device.toLocal8Bit().constData(), &after), 0);
    QVERIFY(S_ISCHR(after.st_mode));
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_rdev, before.st_rdev);
#else
    QSKIP("Unix devices");
#endif
}

void TestPlanFile::savefeedsafiforeader()
{
#ifdef Q_OS_UNIX
    QTemporaryDir folder;
    const QString path = folder.filePath(u"管道"_s);
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(::mkfifo(native.constData(), 0600), 0);
    // The reader is there before the save, so the save's open does not wait; a
    // save that replaced the FIFO would leave it with nothing to read.
    const int reader = ::open(native.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    const QString message = failuremessage([&] { savelines(path, {"0", "20", "16"}); });
    QByteArray received;
    char chunk[64];
    for (ssize_t n; (n = ::read(reader, chunk, sizeof chunk)) > 0;)
        received.append(chunk, n);
    ::close(reader);
    QCOMPARE(message, QString());
    QCOMPARE(received, QByteArray("0\r\n20\r\n16\r\n"));
    struct stat after{};
    QCOMPARE(::stat(native.constData(), &after), 0);
    QVERIFY(S_ISFIFO(after.st_mode));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{u"管道"_s});
#else
    QSKIP("Unix FIFOs");
#endif
}

void TestPlanFile::savethroughalinkkeepsthelink_data()
{
    QTest::addColumn<bool>("targetexists");
    QTest::newRow("to a file") << true;
    QTest::newRow("to a file not made yet") << false;
}

void TestPlanFile::savethroughalinkkeepsthelink()
{
    QFETCH(bool, targetexists);
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(u"表"_s);
    const QString target = folder.filePath(u"表/计划.txt"_s), link = folder.filePath(u"链接.txt"_s);
    if (targetexists)
        savelines(target, {"old"});
    if (!QFile::link(target, link))
        QSKIP("no symbolic links here");
    savelines(link, {"1", "2"});
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    QCOMPARE(filebytes(target), QByteArray("1\r\n2\r\n"));
    QCOMPARE(QDir(folder.filePath(u"表"_s)).entryList(QDir::Files), QStringList{u"计划.txt"_s});
}

void TestPlanFile::savetoadescriptorkeepswhatwaswritten()
{
#ifdef Q_OS_LINUX
    // As `--csv /dev/stdout > out.txt`: the file behind the descriptor keeps what came first.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"out.txt"_s);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "summary\n", 8), 8);
    const QString message = failuremessage([&] { savelines(u"/dev/fd/%1"_s.arg(fd), {"a", "b"}); });
    ::close(fd);
    QCOMPARE(message, QString());
    QCOMPARE(filebytes(path), QByteArray("summary\na\r\nb\r\n"));
#else
    QSKIP("descriptor paths");
#endif
}

void TestPlanFile::filefailures_data()
{
    QTest::addColumn<QString>("relative"); // inside a fresh folder
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("message");
    QTest::newRow("load a missing file") << u"没有.txt"_s << false << u"文件没找到"_s;
    QTest::newRow("load from a missing folder") << u"没有/计划.txt"_s << false << u"无效的文件名"_s;
    QTest::newRow("load a folder") << u"目录"_s << false << u"文件存取错误"_s;
    QTest::newRow("save into a missing folder") << u"没有/计划.txt"_s << true << u"无效的文件名"_s;
    QTest::newRow("save over a folder") << u"目录"_s << true << u"文件存取错误"_s;
    QTest::newRow("save over a read-only file") << u"只读.txt"_s << true << u"文件存取错误"_s;
    QTest::newRow("save into a read-only folder") << u"只读目录/计划.txt"_s << true << u"文件存取错误"_s;
}

void TestPlanFile::filefailures()
{
    QFETCH(QString, relative);
    QFETCH(bool, saving);
    QFETCH(QString, message);
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(u"目录"_s);
    if (relative.startsWith(u"只读"_s)) {
        const QString readonly = folder.filePath(relative.section(u'/', 0, 0));
        if (relative.contains(u'/'))
            QDir(folder.path()).mkdir(relative.section(u'/', 0, 0));
        else
            savelines(readonly, {"kept"});
        QFile::setPermissions(readonly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(readonly).isWritable())
            QSKIP("running with rights that write through read-only permissions (root)");
    }
    const QString path = folder.filePath(relative);
    if (saving)
        QCOMPARE(failuremessage([&] { savelines(path, {"1"}); }), message);
    else
        QCOMPARE(failuremessage([&] { Ttextreader::fromfile(path); }), message);
    if (relative == u"只读.txt"_s)
        QCOMPARE(filebytes(path), QByteArray("kept\r\n"));
}

void TestPlanFile::errorcodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
#ifndef Q_OS_WIN
    QTest::newRow("EACCES") << EACCES << u"文件存取错误"_s;
    QTest::newRow("EROFS") << EROFS << u"文件存取错误"_s;
    QTest::newRow("EMFILE") << EMFILE << u"文件打开太多"_s;
    QTest::newRow("ENOSPC") << ENOSPC << u"磁盘已满"_s;
    QTest::newRow("ENOTDIR") << ENOTDIR << u"无效的文件名"_s;
    QTest::newRow("EIO") << EIO << u"I/O 错误 %1"_s.arg(EIO);
#else
    QTest::newRow("access denied") << 5 << u"文件存取错误"_s;
    QTest::newRow("too many open files") << 4 << u"文件打开太多"_s;
    QTest::newRow("disk full") << 112 << u"磁盘已满"_s;
    QTest::newRow("other") << 1117 << u"I/O 错误 1117"_s;
#endif
}

void TestPlanFile::errorcodes()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QCOMPARE(fileerrortext(code, QDir::tempPath() + u"/x.txt"_s), message);
}

void TestPlanFile::linesofaplan()
{
    const QList<QByteArray> lines = planfile::planfilelines(
        {u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s},
        {{u"1"_s, u"1"_s, u"16"_s, u"16"_s, u"1000"_s, u"984"_s, u"6150"_s}, {u"2"_s}});
    QCOMPARE(lines.size(), 5 + 14);
    QCOMPARE(lines.mid(0, 12), (QList<QByteArray>{"0", "20", "16", "1000", "80", "1", "1", "16", "16", "1000",
                                                  "984", "6150"}));
    QCOMPARE(lines.mid(12), (QList<QByteArray>{"2", "", "", "", "", "", ""})); // a short row: empty cells
}

void TestPlanFile::gbktextroundtrips()
{
    const QStringList boxes{u"前期亏损"_s, u"表\\|"_s, u""_s, u"1000"_s, u"0"_s};
    const QList<QByteArray> lines = planfile::planfilelines(boxes, {});
    QCOMPARE(lines[0], QByteArray("\xC7\xB0\xC6\xDA\xBF\xF7\xCB\xF0"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writelines(buffer, lines);
    Ttextreader reader(buffer.data());
    QCOMPARE(planfile::loadplan(reader).boxes, boxes);
}

void TestPlanFile::readsrows_data()
{
    QTest::addColumn<QByteArray>("rows"); // the lines after the five boxes
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("cellrows");          // rows with cells kept
    QTest::addColumn<QString>("rowcount");      // the row-count message; empty: read to the end
    QTest::addColumn<QList<qint64>>("lastrow"); // the table's last row
    const QByteArray row1 = "1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n";
    const QByteArray row2 = "2\r\n1\r\n16\r\n32\r\n1000\r\n968\r\n3025\r\n";
    const QList<qint64> second{2, 1, 16, 32, 1000, 968, 3025}, none{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("all rows") << row1 + row2 << 2 << 2 << QString() << second;
    QTest::newRow("one more empty line") << row1 + row2 + "\r\n" << 2 << 2 << u"2"_s << second;
    QTest::newRow("fewer rows than periods") << row1 << 3 << 1 << QString() << none;
    QTest::newRow("more rows than periods") << row1 + row2 + row1 << 2 << 2 << QString() << second;
    QTest::newRow("a bad data line") << row1 + "2\r\n1\r\nx\r\n" << 2 << 2 << u"1"_s
                                     << QList<qint64>{2, 1, 0, 0, 0, 0, 0};
    QTest::newRow("a row cut short") << row1 + "2\r\n1\r\n" << 2 << 2 << u"1"_s
                                     << QList<qint64>{2, 1, 0, 0, 0, 0, 0};
    QTest::newRow("no rows") << QByteArray() << 80 << 0 << QString() << none;
    QTest::newRow("empty design rows") << QByteArray("\r\n").repeated(28) << 80 << 1 << u"0"_s << none;
}

void TestPlanFile::readsrows()
{
    QFETCH(QByteArray, rows);
    QFETCH(int, days);
    QFETCH(int, cellrows);
    QFETCH(QString, rowcount);
    QFETCH(QList<qint64>, lastrow);
    Ttextreader reader("0\r\n20\r\n16\r\n1000\r\n" + QByteArray::number(days) + "\r\n" + rows);
    const planfile::loadedplan plan = planfile::loadplan(reader);
    QCOMPARE(plan.boxes, (QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, QString::number(days)}));
    QVERIFY(!plan.failure);
    QCOMPARE(plan.layout, std::optional<int>(days));
    QVERIFY(plan.table);
    QCOMPARE(int(plan.table->size()), days);
    QCOMPARE(int(plan.cells.rows()), cellrows);
    QCOMPARE(plan.rowcount, rowcount);
    const plancalc::planrow &last = plan.table->back();
    QCOMPARE(QList<qint64>(last.begin(), last.end()), lastrow);
    if (rowcount == u"1"_s) // the failing row keeps its cells up to the bad one
        QCOMPARE(plan.cells.rowsize(plan.cells.rows() - 1), 3);
}

void TestPlanFile::periodcounts_data()
{
    QTest::addColumn<QString>("count"); // line 5
    QTest::addColumn<int>("layout");    // data rows laid out; -1: the grid is not touched
    QTest::addColumn<QString>("failure");
    const QString negative = u"范围检测错误"_s, cap = u"投注期数不能超过1000000"_s;
    const struct
    {
        const char *count;
        int layout;
        QString failure;
    } rows[] = {
        {"0", 0, {}},
        {"1000000", 1000000, {}},
        {"1000001", -1, cap},
        {"2147483647", -1, cap},
        {"2147483648", -1, cap},
        {"4294967295", -1, cap},
        {"4294967296", -1, cap},
        {"4294967297", -1, cap}, // 1 in 32 bits
        {"9223372036854775807", -1, cap},
        {"-1", 0, negative},
        {"-2147483648", 0, negative},
        {"-2147483649", 0, negative},
        {"-4294967295", 0, negative}, // 1 in 32 bits
        {"-4294967296", 0, negative}, // 0 in 32 bits
        {"-9223372036854775808", 0, negative},
        {"9223372036854775808", -1, u"'9223372036854775808' 不是一个有效的整形值"_s},
        {"80天", -1, u"'80天' 不是一个有效的整形值"_s},
    };
    for (const auto &row : rows)
        QTest::newRow(row.count) << QString::fromUtf8(row.count) << row.layout << row.failure;
}

void TestPlanFile::periodcounts()
{
    QFETCH(QString, count);
    QFETCH(int, layout);
    QFETCH(QString, failure);
    const QByteArray row1 = "1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n";
    Ttextreader reader("0\r\n20\r\n16\r\n1000\r\n" + gbk::encode(count) + "\r\n" + row1);
    const planfile::loadedplan plan = planfile::loadplan(reader);
    QCOMPARE(plan.boxes.last(), count);
    QCOMPARE(plan.layout.value_or(-1), layout);
    QCOMPARE(plan.failure ? plan.failure->message() : QString(), failure);
    // Rows are read only for a count that is accepted, and never beyond it.
    QCOMPARE(plan.table.has_value(), failure.isEmpty());
    QCOMPARE(int(plan.cells.rows()), failure.isEmpty() ? std::min(layout, 1) : 0);
    if (plan.table)
        QCOMPARE(int(plan.table->size()), layout);
}

QTEST_GUILESS_MAIN(TestPlanFile)
#include "test_planfile.moc"
