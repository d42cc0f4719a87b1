// The planner's calculation as plain functions: integers read from the boxes, the
// table of multiples, the average, every failure, and the fast search against the
// plain scan.
#include "planner/plancalc.h"
#include "tests/checks.h"
#include "toolkit/apperror.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace plancalc;

using rowlist = QList<qint64>;

class TestPlanCalc : public QObject
{
    Q_OBJECT

private slots:
    void readsintegers_data();
    void readsintegers();
    void refusesnonintegers_data();
    void refusesnonintegers();
    void table_data();
    void table();
    void failures_data();
    void failures();
    void calculatechecksitsperiodcount_data();
    void calculatechecksitsperiodcount();
    void fastsearchequalsthescan_data();
    void fastsearchequalsthescan();
};

void TestPlanCalc::readsintegers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("zero") << u"0"_s << qint64(0);
    QTest::newRow("negative") << u"-5"_s << qint64(-5);
    QTest::newRow("plus") << u"+7"_s << qint64(7);
    QTest::newRow("blanks around") << u"  12 "_s << qint64(12);
    QTest::newRow("leading zeros") << u"0080"_s << qint64(80);
    QTest::newRow("maximum") << u"9223372036854775807"_s << std::numeric_limits<qint64>::max();
    QTest::newRow("minimum") << u"-9223372036854775808"_s << std::numeric_limits<qint64>::min();
}

void TestPlanCalc::readsintegers()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(readinteger(text), value);
}

void TestPlanCalc::refusesnonintegers_data()
{
    QTest::addColumn<QString>("text");
    for (const QString &text : {u""_s, u" "_s, u"abc"_s, u"1.5"_s, u"12a"_s, u"+"_s, u"-"_s, u"1 2"_s, u"--1"_s,
                                u"0x10"_s, u"１２"_s, u"9223372036854775808"_s, u"-9223372036854775809"_s,
                                u"99999999999999999999"_s})
        QTest::newRow(qPrintable(u"'"_s + text + u"'"_s)) << text;
}

void TestPlanCalc::refusesnonintegers()
{
    QFETCH(QString, text);
    try {
        readinteger(text);
        QFAIL("accepted");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), u"'"_s + text + u"' 不是一个有效的整形值"_s);
    }
}

void TestPlanCalc::table_data()
{
    QTest::addColumn<QStringList>("boxes"); // 前期亏损, 预期利润, 单倍投入, 单注奖金, 投注期数
    QTest::addColumn<QList<rowlist>>("rows"); // the rows to check, by their period number
    QTest::addColumn<qint64>("average");
    QTest::addColumn<qint64>("count");

    QTest::newRow("the default plan")
        << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}
        << QList<rowlist>{{1, 1, 16, 16, 1000, 984, 6150},
                          {52, 1, 16, 832, 1000, 168, 20},
                          {53, 2, 32, 864, 2000, 1136, 131},
                          {78, 2, 32, 1664, 2000, 336, 20},
                          {79, 3, 48, 1712, 3000, 1288, 75},
                          {80, 3, 48, 1760, 3000, 1240, 70}}
        << qint64(645) << qint64(80);
    QTest::newRow("previous loss 100")
        << QStringList{u"100"_s, u"20"_s, u"16"_s, u"1000"_s, u"2"_s}
        << QList<rowlist>{{1, 1, 16, 116, 1000, 884, 762}, {2, 1, 16, 132, 1000, 868, 657}} << qint64(876)
        << qint64(2);
    QTest::newRow("a loss under 1% is a rate of 0")
        << QStringList{u"1000"_s, u"0"_s, u"16"_s, u"1010"_s, u"1"_s}
        << QList<rowlist>{{1, 1, 16, 1016, 1010, -6, 0}} << qint64(-6) << qint64(1);
    QTest::newRow("one period") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"1"_s}
                                << QList<rowlist>{{1, 1, 16, 16, 1000, 984, 6150}} << qint64(984) << qint64(1);
    QTest::newRow("negative inputs")
        << QStringList{u"-100"_s, u"-200"_s, u"20"_s, u"30"_s, u"2"_s}
        << QList<rowlist>{{1, 1, 20, -80, 30, 110, -137}, {2, 1, 20, -60, 30, 90, -150}} << qint64(100)
        << qint64(2);
    QTest::newRow("multiple 10000 every period")
        << QStringList{u"1000000"_s, u"20"_s, u"0"_s, u"120"_s, u"3"_s}
        << QList<rowlist>{{1, 10000, 0, 1000000, 1200000, 200000, 20}, {3, 10000, 0, 1000000, 1200000, 200000, 20}}
        << qint64(200000) << qint64(3);
}

void TestPlanCalc::table()
{
    QFETCH(QStringList, boxes);
    QFETCH(QList<rowlist>, rows);
    QFETCH(qint64, average);
    QFETCH(qint64, count);
    const inputs in = readinputs(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]);
    const std::optional<plantabletype> result = calculate(in);
    QVERIFY(result);
    QCOMPARE(qint64(result->size()), count);
    for (const rowlist &want : rows) {
        const planrow &got = (*result)[static_cast<size_t>(want[0] - 1)];
        QCOMPARE(rowlist(got.begin(), got.end()), want);
    }
    // Periods follow each other: each adds its stake to the running total.
    for (size_t i = 1; i < result->size(); ++i)
        QCOMPARE((*result)[i][3], (*result)[i - 1][3] + (*result)[i][2]);
    QCOMPARE(averagenet(*result, in.days), average);
}

void TestPlanCalc::failures_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("message"); // empty: no multiple qualifies
    QTest::newRow("prize below the stake") << QStringList{u"0"_s, u"0"_s, u"16"_s, u"15"_s, u"80"_s} << QString();
    QTest::newRow("the period count is read first")
        << QStringList{u"x"_s, u"y"_s, u"16"_s, u"1000"_s, u"8o"_s} << u"'8o' 不是一个有效的整形值"_s;
    QTest::newRow("then the loss") << QStringList{u"x"_s, u"y"_s, u"16"_s, u"1000"_s, u"80"_s}
                                   << u"'x' 不是一个有效的整形值"_s;
    QTest::newRow("then the profit") << QStringList{u"0"_s, u" y "_s, u"z"_s, u"1000"_s, u"80"_s}
                                     << u"' y ' 不是一个有效的整形值"_s;
    QTest::newRow("then the stake") << QStringList{u"0"_s, u"20"_s, u"z"_s, u""_s, u"80"_s}
                                    << u"'z' 不是一个有效的整形值"_s;
    QTest::newRow("then the prize") << QStringList{u"0"_s, u"20"_s, u"16"_s, u""_s, u"80"_s}
                                    << u"'' 不是一个有效的整形值"_s;
    QTest::newRow("negative period count before a bad loss")
        << QStringList{u"x"_s, u"20"_s, u"16"_s, u"1000"_s, u"-1"_s} << u"范围检测错误"_s;
    QTest::newRow("too many periods") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"1000001"_s}
                                      << u"投注期数不能超过1000000"_s;
    QTest::newRow("zero investment") << QStringList{u"0"_s, u"20"_s, u"0"_s, u"1000"_s, u"80"_s} << u"被 0 除"_s;
    QTest::newRow("a negative loss reaches a zero total")
        << QStringList{u"-100"_s, u"-50"_s, u"20"_s, u"30"_s, u"1"_s} << u"被 0 除"_s;
    QTest::newRow("zero periods") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"0"_s} << u"被 0 除"_s;
    QTest::newRow("net times 100 overflows")
        << QStringList{u"0"_s, u"20"_s, u"4000000000000000000"_s, u"5000000000000000000"_s, u"1"_s}
        << u"整数溢出"_s;
    QTest::newRow("a huge prize overflows the rate")
        << QStringList{u"0"_s, u"20"_s, u"1"_s, u"9223372036854775807"_s, u"1"_s} << u"整数溢出"_s;
    QTest::newRow("the total overflows")
        << QStringList{u"9223372036854775807"_s, u"-100"_s, u"1"_s, u"0"_s, u"1"_s} << u"整数溢出"_s;
    QTest::newRow("the sum of the net profits overflows")
        << QStringList{u"0"_s, u"0"_s, u"1"_s, u"90000000000000000"_s, u"200"_s} << u"整数溢出"_s;
}

void TestPlanCalc::failures()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);
    try {
        const inputs in = readinputs(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]);
        const std::optional<plantabletype> result = calculate(in);
        if (message.isEmpty()) {
            QVERIFY(!result);
            return;
        }
        QVERIFY(result);
        averagenet(*result, in.days);
        QFAIL("no failure");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), message);
    }
}

void TestPlanCalc::calculatechecksitsperiodcount_data()
{
    QTest::addColumn<qint64>("days");
    QTest::addColumn<QString>("message");
    QTest::newRow("-1") << qint64(-1) << u"范围检测错误"_s;
    QTest::newRow("minimum") << std::numeric_limits<qint64>::min() << u"范围检测错误"_s;
    QTest::newRow("above the cap") << maxdays + 1 << u"投注期数不能超过1000000"_s;
    QTest::newRow("maximum") << std::numeric_limits<qint64>::max() << u"投注期数不能超过1000000"_s;
}

void TestPlanCalc::calculatechecksitsperiodcount()
{
    QFETCH(qint64, days);
    QFETCH(QString, message);
    // Inputs built by hand, not read from boxes: the table's own check must hold.
    QCOMPARE(failuremessage([&] { calculate({0, 20, 16, 1000, days}); }), message);
    QCOMPARE(failuremessage([&] { checkdays(days); }), message);
}

namespace {

// The answer or the failure, as text, so both searches compare in one value.
QString outcome(qint64 (*search)(qint64, const inputs &), qint64 total, const inputs &in)
{
    try {
        return QString::number(search(total, in));
    } catch (const AppError &error) {
        return error.message();
    }
}

} // namespace

void TestPlanCalc::fastsearchequalsthescan_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<qint64>("scale"); // inputs are drawn from about -scale to scale
    for (quint32 seed = 1; seed <= 4; ++seed) {
        QTest::newRow(qPrintable(u"small values, seed %1"_s.arg(seed))) << seed << qint64(50);
        QTest::newRow(qPrintable(u"medium values, seed %1"_s.arg(seed))) << seed << qint64(5000);
        QTest::newRow(qPrintable(u"huge values, seed %1"_s.arg(seed))) << seed << qint64(1);
    }
}

void TestPlanCalc::fastsearchequalsthescan()
{
    QFETCH(quint32, seed);
    QFETCH(qint64, scale);
    QRandomGenerator random(seed);
    const bool huge = scale == 1;
    auto draw = [&](bool mostlypositive) -> qint64 {
        if (huge) // near the ends of the range, where the products overflow
            return qint64(random.generate64() >> random.bounded(1, 40)) * (random.bounded(8) == 0 ? -1 : 1);
        const qint64 v = random.bounded(-scale, scale + 1);
        return mostlypositive && random.bounded(4) != 0 ? qAbs(v) : v;
    };
    int fast = 0;
    for (int i = 0; i < 2000; ++i) {
        inputs in{};
        in.lirun = huge ? random.bounded(-200, 200) : draw(false);
        in.inofsin = draw(true);
        in.outofsin = draw(true) * (!huge && random.bounded(3) == 0 ? 50 : 1);
        qint64 total = draw(true);
        // Edges: a rate exactly R, a total of zero or one.
        switch (random.bounded(6)) {
        case 0:
            total = 0;
            break;
        case 1:
            total = 1;
            break;
        case 2:
            if (in.inofsin > 0 && total >= 0 && in.outofsin >= 0 && !huge) {
                const qint64 m = random.bounded(1, 200);
                in.lirun = (m * in.outofsin - total - m * in.inofsin) * 100 / (total + m * in.inofsin);
            }
            break;
        default:
            break;
        }
        const QString scanned = outcome(scanmultiple, total, in);
        QCOMPARE(outcome(firstmultiple, total, in), scanned);
        qint64 first;
        fast += total >= 0 && in.inofsin >= 0 && in.outofsin >= 0 && !qAddOverflow(total, in.inofsin, &first)
                && first > 0;
    }
    QVERIFY2(fast > 300, "too few inputs took the fast path to test it");
}

QTEST_GUILESS_MAIN(TestPlanCalc)
#include "test_plancalc.moc"
