// Reading a history of draws: the line forms with their draw, label and order
// key, refused lines with their reason, the order of the file, headers,
// encodings, limits, and the sources a history is read from.
#include "replay/history.h"
#include "tests/checks.h"
#include "toolkit/gbk.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList drawsof(const history::parsed &p)
{
    QStringList draws;
    for (qint64 i = 0; i < p.history.size(); ++i)
        draws.append(p.history.draw(i));
    return draws;
}

QStringList labelsof(const history::parsed &p)
{
    QStringList labels;
    for (qint64 i = 0; i < p.history.size(); ++i)
        labels.append(p.history.label(i));
    return labels;
}

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void readslines_data();
    void readslines();
    void refuseslines_data();
    void refuseslines();
    void playsthechosenpositions_data();
    void playsthechosenpositions();
    void ordersbykeys_data();
    void ordersbykeys();
    void skipsaheader_data();
    void skipsaheader();
    void decodes_data();
    void decodes();
    void limitslinelength_data();
    void limitslinelength();
    void readsahugelineasonebadline();
    void escapesandcutsshowntext();
    void keepslabelsverbatim();
    void keepslabelsacrossblocks();
    void cutsthelistofbadlines();
    void namesdrawswithoutlabels();
    void cancels();
    void readssources();
    void refusesdevices();
    void readsafifo();
    void reportsrunningoutofmemory();
};

void TestHistory::readslines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("draw");
    QTest::addColumn<QString>("label");
    // The order key shows in what the line given twice is refused for: empty when
    // the repeat is allowed (a date alone) or when the line has no key.
    QTest::addColumn<QString>("twice");
    QTest::addColumn<bool>("keyed");

    QTest::newRow("period, three digits") << u"2024001 385"_s << u"385"_s << u"2024001"_s << u"期号2024001重复"_s << true;
    QTest::newRow("period, three one-digit fields") << u"2024001 3 8 5"_s << u"385"_s << u"2024001"_s
                                                    << u"期号2024001重复"_s << true;
    QTest::newRow("five-digit period first") << u"24001 385"_s << u"385"_s << u"24001"_s << u"期号24001重复"_s << true;
    QTest::newRow("第…期 and commas") << u"第2024001期 3,8,5"_s << u"385"_s << u"第2024001期"_s
                                   << u"期号2024001重复"_s << true;
    QTest::newRow("date after the draw") << u"2024001,044,2024-01-01"_s << u"044"_s << u"2024001,2024-01-01"_s
                                         << u"期号2024001重复"_s << true;
    QTest::newRow("date") << u"2024-03-01 385"_s << u"385"_s << u"2024-03-01"_s << QString() << true;
    QTest::newRow("date and time") << u"2024/3/1 20:30 3 8 5"_s << u"385"_s << u"2024/3/1 20:30"_s
                                   << u"时间2024-03-01 20:30重复"_s << true;
    QTest::newRow("day and draw, five digits") << u"20240301-023 3 8 5 7 1"_s << u"571"_s << u"20240301-023"_s
                                               << u"期号20240301-023重复"_s << true;
    QTest::newRow("sum and span after the draw") << u"2024001\t3\t8\t5\t16\t8"_s << u"385"_s << u"2024001\t16\t8"_s
                                                 << u"期号2024001重复"_s << true;
    QTest::newRow("quoted spreadsheet cells") << u"\"2024001\",\"3,8,5\",\"2024-01-01\""_s << u"385"_s
                                              << u"2024001\",\"2024-01-01"_s << u"期号2024001重复"_s << true;
    QTest::newRow("digits joined by -") << u"0-4-4"_s << u"044"_s << QString() << QString() << false;
    QTest::newRow("full-width digits") << u"３８５"_s << u"385"_s << QString() << QString() << false;

    QTest::newRow("bars") << u"2024001|3|8|5"_s << u"385"_s << u"2024001"_s << u"期号2024001重复"_s << true;
    QTest::newRow("full-width commas and semicolons") << u"2024001，3；8；5"_s << u"385"_s << u"2024001"_s
                                                      << u"期号2024001重复"_s << true;
    QTest::newRow("ideographic space") << u"2024001　385"_s << u"385"_s << u"2024001"_s << u"期号2024001重复"_s << true;
    QTest::newRow("period with full-width digits") << u"第２０２４００１期 0-4-4"_s << u"044"_s << u"第２０２４００１期"_s
                                                   << u"期号2024001重复"_s << true;
    QTest::newRow("draw before the period") << u"385 2024001"_s << u"385"_s << u"2024001"_s << u"期号2024001重复"_s
                                            << true;
    QTest::newRow("first of two candidates is the label") << u"001 385"_s << u"385"_s << u"001"_s << u"期号001重复"_s
                                                          << true;
    QTest::newRow("date and weekday") << u"2026-12-01 周二 385"_s << u"385"_s << u"2026-12-01 周二"_s << QString()
                                      << true;
    QTest::newRow("Chinese date") << u"2024年3月1日 385"_s << u"385"_s << u"2024年3月1日"_s << QString() << true;
    QTest::newRow("time with seconds") << u"2024-03-01 20:30:15 385"_s << u"385"_s << u"2024-03-01 20:30:15"_s
                                       << u"时间2024-03-01 20:30:15重复"_s << true;
    QTest::newRow("five digits in one field") << u"2024001 38571"_s << u"571"_s << u"2024001"_s
                                              << u"期号2024001重复"_s << true;
    QTest::newRow("a field that is no key") << u"周二 385"_s << u"385"_s << u"周二"_s << QString() << false;
    QTest::newRow("no date: month 13") << u"2024-13-01 385"_s << u"385"_s << u"2024-13-01"_s << QString() << false;
    QTest::newRow("two one-digit fields beside a draw") << u"2024001 385 1 2"_s << u"385"_s << u"2024001 1 2"_s
                                                        << u"期号2024001重复"_s << true;
}

void TestHistory::readslines()
{
    QFETCH(QString, line);
    QFETCH(QString, draw);
    QFETCH(QString, label);
    QFETCH(QString, twice);
    QFETCH(bool, keyed);
    // As bytes (ASCII or UTF-8) and as text: the two ways in read alike.
    for (const history::parsed &p : {history::parse(line.toUtf8()), history::parse(line)}) {
        QCOMPARE(p.badcount, qint64(0));
        QCOMPARE(drawsof(p), QStringList{draw});
        QCOMPARE(labelsof(p), QStringList{label});
        QCOMPARE(p.order, keyed ? history::orderfrom::keys : history::orderfrom::file);
        QCOMPARE(p.history.number(0), draw.toInt());
    }
    const history::parsed repeated = history::parse((line + u'\n' + line).toUtf8());
    QStringList reasons;
    for (const history::badline &bad : repeated.bad)
        reasons.append(bad.reason);
    QCOMPARE(reasons, twice.isEmpty() ? QStringList() : QStringList{twice});
}

void TestHistory::refuseslines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<history::badkind>("kind");
    using history::badkind;
    QTest::newRow("two draws after the label") << u"2024001 385 123"_s << u"一行有两个开奖号码"_s << badkind::ambiguous;
    QTest::newRow("four one-digit fields") << u"2024006 3 8 5 7"_s << u"4个一位数字，无法确定开奖号码"_s
                                           << badkind::ambiguous;
    QTest::newRow("six one-digit fields") << u"2024006 3 8 5 7 1 2"_s << u"6个一位数字，无法确定开奖号码"_s
                                          << badkind::ambiguous;
    QTest::newRow("four digits joined by -") << u"1-2-3-4"_s << u"4个一位数字，无法确定开奖号码"_s << badkind::ambiguous;
    QTest::newRow("still two after the first field") << u"24001 385 123"_s << u"一行有两个开奖号码"_s
                                                     << badkind::ambiguous;
    QTest::newRow("a run first is no label") << u"3 8 5 472"_s << u"一行有两个开奖号码"_s << badkind::ambiguous;
    QTest::newRow("three and five digits") << u"2024001 38571 385"_s << u"一行有两个开奖号码"_s << badkind::ambiguous;
    QTest::newRow("two digits") << u"2024001 38"_s << u"没有开奖号码"_s << badkind::nodraw;
    QTest::newRow("two one-digit fields") << u"2024001 3 8"_s << u"没有开奖号码"_s << badkind::nodraw;
    QTest::newRow("four digits") << u"2024001 3855"_s << u"没有开奖号码"_s << badkind::nodraw;
    QTest::newRow("a letter in the draw") << u"2024001 38a"_s << u"没有开奖号码"_s << badkind::nodraw;
    QTest::newRow("one and two digits") << u"1 2 34"_s << u"没有开奖号码"_s << badkind::nodraw;
}

void TestHistory::refuseslines()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QFETCH(history::badkind, kind);
    // After a good line, so that the line cannot be taken for a header.
    const history::parsed p = history::parse((u"1999001 111\n"_s + line).toUtf8());
    QCOMPARE(p.badcount, qint64(1));
    QCOMPARE(p.bad.size(), size_t(1));
    QCOMPARE(p.bad[0].number, qint64(2));
    QCOMPARE(p.bad[0].reason, reason);
    QCOMPARE(p.bad[0].kind, kind);
    QCOMPARE(p.bad[0].text, line);
    QCOMPARE(drawsof(p), QStringList{u"111"_s});
    QCOMPARE(history::describebad(p), QStringList{u"第2行："_s + reason + u"："_s + line});
}

void TestHistory::playsthechosenpositions_data()
{
    QTest::addColumn<history::positions>("positions");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("draws");
    QTest::newRow("front") << history::positions::front << u"前三"_s << QStringList{u"385"_s, u"012"_s, u"385"_s};
    QTest::newRow("middle") << history::positions::middle << u"中三"_s << QStringList{u"857"_s, u"123"_s, u"385"_s};
    QTest::newRow("back") << history::positions::back << u"后三"_s << QStringList{u"571"_s, u"234"_s, u"385"_s};
}

void TestHistory::playsthechosenpositions()
{
    QFETCH(history::positions, positions);
    QFETCH(QString, name);
    QFETCH(QStringList, draws);
    QCOMPARE(history::positionsname(positions), name);
    const history::parsed p =
        history::parse(QByteArray("20240301-001 3 8 5 7 1\n20240301-002 01234\n20240301-003 385\n"), {positions});
    QCOMPARE(p.badcount, qint64(0));
    QCOMPARE(drawsof(p), draws);
    QCOMPARE(p.fivedigit, qint64(2));
}

void TestHistory::ordersbykeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("draws"); // in replay order
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<bool>("fromkeys");
    QTest::addColumn<QStringList>("described");
    const QStringList none;
    const QStringList rising{u"385"_s, u"472"_s, u"391"_s};

    QTest::newRow("rising") << u"2024001 385\n2024002 472\n2024003 391\n"_s << rising << false << true << none;
    QTest::newRow("falling") << u"2024003 391\n2024002 472\n2024001 385\n"_s << rising << true << true << none;
    QTest::newRow("falling 第…期") << u"第2020003期 3 9 1\n第2020002期 4 7 2\n第2020001期 3 8 5\n"_s << rising << true
                                 << true << none;
    QTest::newRow("falling dates") << u"2024-03-03 391\n2024-03-02 472\n2024-03-01 385\n"_s << rising << true << true
                                   << none;
    QTest::newRow("falling days and draws") << u"20240302-001 12391\n20240301-002 12472\n20240301-001 12385\n"_s
                                            << rising << true << true << none;
    QTest::newRow("falling with a line without key") << u"2024003 391\n472\n2024001 385\n"_s << rising << true << true
                                                     << none;
    QTest::newRow("date-only repeats rising") << u"2024-03-01 385\n2024-03-01 472\n2024-03-02 391\n"_s << rising
                                              << false << true << none;
    QTest::newRow("date-only repeats falling") << u"2024-03-02 391\n2024-03-01 472\n2024-03-01 385\n"_s << rising
                                               << true << true << none;
    QTest::newRow("times on one day") << u"2024-03-01 10:00 385\n2024-03-01 10:10 472\n2024-03-01 391\n"_s << rising
                                      << false << true << none;
    QTest::newRow("no keys: file order") << u"385\n472\n391\n"_s << rising << false << false << none;

    QString broken, repeated;
    for (int i = 1; i <= 11; ++i)
        broken += QString::number(2024000 + i) + u" 385\n"_s;
    broken += u"2024010 385\n2024012 385\n"_s;
    QTest::newRow("broken") << broken << QStringList(13, u"385"_s) << false << true
                            << QStringList{u"第12行：期号2024010排在2024011之后：2024010 385"_s};
    for (int i = 1; i <= 29; ++i)
        repeated += QString::number(2024000 + i) + u" 385\n"_s;
    repeated += u"2024029 472\n"_s;
    QTest::newRow("repeated") << repeated << QStringList(29, u"385"_s) << false << true
                              << QStringList{u"第30行：期号2024029重复：2024029 472"_s};
    QTest::newRow("repeated while falling") << u"2024003 391\n2024002 472\n2024002 472\n2024001 385\n"_s
                                            << QStringList{u"391"_s, u"472"_s, u"385"_s} << false << true
                                            << QStringList{u"第3行：期号2024002重复：2024002 472"_s};
    QTest::newRow("one rise in a falling file") << u"2024005 111\n2024004 222\n2024006 333\n2024003 444\n2024002 555\n"_s
                                                << QStringList{u"111"_s, u"222"_s, u"333"_s, u"444"_s, u"555"_s}
                                                << false << true
                                                << QStringList{u"第3行：期号2024006排在2024004之后：2024006 333"_s};
    QTest::newRow("a repeated time") << u"2024/3/1 20:30 385\n2024/3/1 20:30 472\n"_s << QStringList{u"385"_s} << false
                                     << true << QStringList{u"第2行：时间2024-03-01 20:30重复：2024/3/1 20:30 472"_s};
    QTest::newRow("periods and dates mixed")
        << u"2024001 385\n2024-03-01 472\n"_s << QStringList{u"385"_s} << false << true
        << QStringList{u"第2行：顺序不对：前面的行按期号排列，这一行是日期：2024-03-01 472"_s};
    QTest::newRow("bad lines and breaks by line number")
        << u"2024001 385\n2024003 391\nxx 1\n2024002 472\n"_s << QStringList{u"385"_s, u"391"_s, u"472"_s} << false
        << true << QStringList{u"第3行：没有开奖号码：xx 1"_s, u"第4行：期号2024002排在2024003之后：2024002 472"_s};
    QTest::newRow("a bad line keeps a falling file as it is")
        << u"2024002 472\nbad 1\n2024001 385\n"_s << QStringList{u"472"_s, u"385"_s} << false << true
        << QStringList{u"第2行：没有开奖号码：bad 1"_s};
}

void TestHistory::ordersbykeys()
{
    QFETCH(QString, text);
    QFETCH(QStringList, draws);
    QFETCH(bool, reversed);
    QFETCH(bool, fromkeys);
    QFETCH(QStringList, described);
    const history::parsed p = history::parse(text.toUtf8());
    QCOMPARE(drawsof(p), draws);
    QCOMPARE(p.history.reversed(), reversed);
    QCOMPARE(p.order, fromkeys ? history::orderfrom::keys : history::orderfrom::file);
    QCOMPARE(history::describebad(p), described);
    QCOMPARE(p.badcount, qint64(described.size()));
}

void TestHistory::skipsaheader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("described");
    QTest::newRow("spreadsheet export") << u"期号,开奖号码,开奖日期\r\n2024001,044,2024-01-01\r\n"_s << u"期号,开奖号码,开奖日期"_s
                                        << QStringList{u"044"_s} << QStringList();
    QTest::newRow("after comments") << u"# 导出\n\n期号 号码\n2024001 385\n"_s << u"期号 号码"_s
                                    << QStringList{u"385"_s} << QStringList();
    QTest::newRow("only the first line") << u"期号 号码\n2024001 385\n期号 号码\n"_s << u"期号 号码"_s
                                         << QStringList{u"385"_s} << QStringList{u"第3行：没有开奖号码：期号 号码"_s};
    QTest::newRow("a first line with digits is no header")
        << u"2024001 38\n2024002 385\n"_s << QString() << QStringList{u"385"_s}
        << QStringList{u"第1行：没有开奖号码：2024001 38"_s};
}

void TestHistory::skipsaheader()
{
    QFETCH(QString, text);
    QFETCH(QString, header);
    QFETCH(QStringList, draws);
    QFETCH(QStringList, described);
    const history::parsed p = history::parse(text.toUtf8());
    QCOMPARE(p.header, header);
    QCOMPARE(drawsof(p), draws);
    QCOMPARE(history::describebad(p), described);
}

void TestHistory::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("described");
    const QString text = u"第2024001期 周二 385\r\n第2024002期 周三 472\r\n"_s;
    const QStringList labels{u"第2024001期 周二"_s, u"第2024002期 周三"_s};
    QTest::newRow("UTF-8") << text.toUtf8() << labels << QStringList();
    QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + text.toUtf8() << labels << QStringList();
    QTest::newRow("GBK") << gbk::encode(text) << labels << QStringList();
    QTest::newRow("UTF-16 LE") << utf16(text, QStringConverter::Utf16LE) << labels << QStringList();
    QTest::newRow("UTF-16 BE") << utf16(text, QStringConverter::Utf16BE) << labels << QStringList();
    // Every byte here also pairs up as GBK: one broken pair must not turn the
    // whole file into GBK.
    QTest::newRow("UTF-8 with one bad pair of bytes")
        << u"2024-03-01 周二 385\n2024-03-02 周三"_s.toUtf8() + "\xB0\xA1" + u" 472\n2024-03-03 周四 391\n"_s.toUtf8()
        << QStringList{u"2024-03-01 周二"_s, u"2024-03-03 周四"_s}
        << QStringList{u"第2行：含有无法识别的字符：2024-03-02 周三\uFFFD\uFFFD 472"_s};
    QTest::newRow("UTF-8 with one bad byte") << QByteArray("2024001 385\n2024002 47\xFF\n2024003 391\n")
                                             << QStringList{u"2024001"_s, u"2024003"_s}
                                             << QStringList{u"第2行：含有无法识别的字符：2024002 47\uFFFD"_s};
    QTest::newRow("lone CR") << QByteArray("2024001 385\r2024002 472\r") << QStringList{u"2024001"_s, u"2024002"_s}
                             << QStringList();
    QTest::newRow("every line end") << QByteArray("2024001 385\r\n2024002 472\n2024003 391\r2024004 123")
                                    << QStringList{u"2024001"_s, u"2024002"_s, u"2024003"_s, u"2024004"_s}
                                    << QStringList();
    QTest::newRow("UTF-16 cut short") << utf16(u"2024001 385\n2024002 472"_s, QStringConverter::Utf16LE).chopped(1)
                                      << QStringList{u"2024001"_s}
                                      << QStringList{u"第2行：含有无法识别的字符：2024002 47\uFFFD"_s};
}

void TestHistory::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, described);
    const history::parsed p = history::parse(bytes);
    QCOMPARE(labelsof(p), labels);
    QCOMPARE(history::describebad(p), described);
}

void TestHistory::limitslinelength_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("toolong");
    const QString ascii = u"2024002 385 "_s;
    QTest::newRow("1000 characters") << ascii + QString(1000 - ascii.size(), u'x') << false;
    QTest::newRow("1001 characters") << ascii + QString(1001 - ascii.size(), u'x') << true;
    // Three bytes each in UTF-8: characters count, not bytes.
    QTest::newRow("1000 Chinese characters") << ascii + QString(1000 - ascii.size(), u'期') << false;
    QTest::newRow("1001 Chinese characters") << ascii + QString(1001 - ascii.size(), u'期') << true;
    QTest::newRow("one-digit fields") << u"1 "_s.repeated(501) << true;
}

void TestHistory::limitslinelength()
{
    QFETCH(QString, line);
    QFETCH(bool, toolong);
    const QString text = u"2024001 111\n"_s + line + u"\n2024003 222\n"_s;
    for (const history::parsed &p : {history::parse(text.toUtf8()), history::parse(text)}) {
        if (!toolong) {
            QCOMPARE(p.badcount, qint64(0));
            QCOMPARE(p.history.label(1), line.left(8) + line.mid(12));
            continue;
        }
        QCOMPARE(p.badcount, qint64(1));
        QCOMPARE(p.bad[0].number, qint64(2));
        QCOMPARE(p.bad[0].reason, u"行太长"_s);
        QCOMPARE(p.bad[0].text, line.left(history::shownchars) + u'…');
        QCOMPARE(drawsof(p), (QStringList{u"111"_s, u"222"_s}));
    }
}

void TestHistory::readsahugelineasonebadline()
{
    QByteArray bytes = "2024001 385\n" + QByteArray("1 ").repeated(4 * 1024 * 1024) + "\n2024002 472";
    const history::parsed p = history::parse(bytes);
    QCOMPARE(p.badcount, qint64(1));
    QCOMPARE(p.bad[0].reason, u"行太长"_s);
    QCOMPARE(p.bad[0].text.size(), history::shownchars + 1);
    QCOMPARE(drawsof(p), (QStringList{u"385"_s, u"472"_s}));
}

void TestHistory::escapesandcutsshowntext()
{
    QCOMPARE(history::shown(u"\x1b[31m红\x07\tx\u202e"_s), u"\\x1b[31m红\\x07\\tx\\u202e"_s);
    QCOMPARE(history::shown(QString(61, u'a')), QString(60, u'a') + u'…');
    QCOMPARE(history::shown(QString(60, u'a')), QString(60, u'a'));
    // A character outside the BMP counts once and is never split.
    const QString wide = QString(59, u'a') + u"😀b"_s;
    QCOMPARE(history::shown(wide), QString(59, u'a') + u"😀…"_s);
    const history::parsed p = history::parse(QByteArray("2024001 385\n\x1b]0;x\x07 38\n"));
    QCOMPARE(history::describebad(p), QStringList{u"第2行：没有开奖号码：\\x1b]0;x\\x07 38"_s});
    const history::parsed header = history::parse(QByteArray("\x1b[2J期号\n2024001 385\n"));
    QCOMPARE(header.header, u"\\x1b[2J期号"_s);
}

void TestHistory::keepslabelsverbatim()
{
    const history::parsed p = history::parse(u"%1期 %L2 385\n%2 第%1期 38\n"_s);
    QCOMPARE(labelsof(p), QStringList{u"%1期 %L2"_s});
    QCOMPARE(p.history.name(0), u"%1期 %L2"_s);
    QCOMPARE(history::describebad(p), QStringList{u"第2行：没有开奖号码：%2 第%1期 38"_s});
}

void TestHistory::keepslabelsacrossblocks()
{
    // More labels than one block of ends holds, of every length, newest first.
    constexpr int count = 140000;
    QByteArray bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes += QByteArray::number(1000000 + i) + QByteArray(i % 7, 'x') + ' '
                 + QByteArray::number(i % 1000).rightJustified(3, '0') + '\n';
    const history::parsed p = history::parse(bytes);
    QCOMPARE(p.badcount, qint64(0));
    QVERIFY(p.history.reversed());
    QCOMPARE(p.history.size(), qint64(count));
    for (int i = 0; i < count; ++i) {
        const QString label = QString::number(1000000 + i) + QString(i % 7, u'x');
        if (p.history.label(i) != label || p.history.number(i) != i % 1000)
            QFAIL(qPrintable(u"draw %1: %2 %3"_s.arg(i).arg(p.history.label(i)).arg(p.history.number(i))));
    }
}

void TestHistory::cutsthelistofbadlines()
{
    QByteArray bytes;
    for (int i = 0; i < 30; ++i)
        bytes += "bad " + QByteArray::number(i) + "\n";
    const history::parsed p = history::parse(bytes);
    QCOMPARE(p.badcount, qint64(30));
    QCOMPARE(int(p.bad.size()), history::shownbad);
    const QStringList described = history::describebad(p);
    QCOMPARE(described.size(), history::shownbad + 1);
    QCOMPARE(described.first(), u"第1行：没有开奖号码：bad 0"_s);
    QCOMPARE(described.last(), u"另有10行无法识别"_s);
}

void TestHistory::namesdrawswithoutlabels()
{
    const history::parsed p = history::parse(QByteArray("385\n2026002 472\n"));
    QCOMPARE(p.history.name(0), u"#1"_s);
    QCOMPARE(p.history.name(1), u"2026002"_s);
}

void TestHistory::cancels()
{
    const QByteArray bytes = QByteArray("385\n").repeated(100000);
    for (const bool astext : {false, true}) {
        int calls = 0;
        const auto progress = [&](qint64 done, qint64 total) {
            ++calls;
            return done < total / 2;
        };
        const history::parsed p =
            astext ? history::parse(QString::fromLatin1(bytes), progress) : history::parse(bytes, progress);
        QVERIFY(p.cancelled);
        QVERIFY(calls >= 2);
        QVERIFY(p.history.size() < 100000);
    }
}

void TestHistory::readssources()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"开奖.txt"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("2024001 385\n");
    file.close();
    QCOMPARE(history::readsource(path), QByteArray("2024001 385\n"));
    QCOMPARE(failuremessage([&] { history::readsource(folder.filePath(u"没有.txt"_s)); }), u"文件没找到"_s);
    QCOMPARE(failuremessage([&] { history::readsource(folder.path()); }), u"不是普通文件"_s);
}

void TestHistory::refusesdevices()
{
#ifdef Q_OS_UNIX
    QCOMPARE(failuremessage([] { history::readsource(u"/dev/zero"_s); }), u"不是普通文件"_s);
    // Standard input is read, unless it is such a device.
    const int saved = ::dup(STDIN_FILENO);
    const int zero = ::open("/dev/zero", O_RDONLY);
    ::dup2(zero, STDIN_FILENO);
    const QString refused = failuremessage([] { history::readsource(u"-"_s); });
    int pipefds[2];
    QVERIFY(::pipe(pipefds) == 0);
    QVERIFY(::write(pipefds[1], "2024001 385\n", 12) == 12);
    ::close(pipefds[1]);
    ::dup2(pipefds[0], STDIN_FILENO);
    QByteArray piped;
    const QString failed = failuremessage([&] { piped = history::readsource(u"-"_s); });
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    ::close(zero);
    ::close(pipefds[0]);
    std::clearerr(stdin);
    QCOMPARE(refused, u"不是普通文件"_s);
    QCOMPARE(failed, QString());
    QCOMPARE(piped, QByteArray("2024001 385\n"));
#else
    QSKIP("devices are a Unix matter");
#endif
}

void TestHistory::readsafifo()
{
#ifdef Q_OS_UNIX
    QTemporaryDir folder;
    const QString path = folder.filePath(u"fifo"_s);
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    std::thread writer([&] {
        QFile fifo(path);
        if (fifo.open(QIODevice::WriteOnly))
            fifo.write("2024001 385\n2024002 472\n");
    });
    const QByteArray bytes = history::readsource(path);
    writer.join();
    QCOMPARE(drawsof(history::parse(bytes)), (QStringList{u"385"_s, u"472"_s}));
#else
    QSKIP("FIFOs are a Unix matter");
#endif
}

void TestHistory::reportsrunningoutofmemory()
{
#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
    // A sparse file far larger than memory: reading it must fail with a message.
    QFile overcommit(u"/proc/sys/vm/overcommit_memory"_s);
    if (!overcommit.open(QIODevice::ReadOnly) || overcommit.readAll().trimmed() == "1")
        QSKIP("memory here is promised without limit");
    QTemporaryDir folder;
    const QString path = folder.filePath(u"huge.txt"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (!file.resize(qint64(256) << 30))
        QSKIP("no sparse files here");
    file.close();
    struct stat info;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    if (qint64(info.st_blocks) * 512 > (qint64(1) << 30))
        QSKIP("no sparse files here");
    QCOMPARE(failuremessage([&] { history::readsource(path); }), u"内存不足"_s);
#else
    QSKIP("needs a Unix build without the address sanitizer");
#endif
}

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
