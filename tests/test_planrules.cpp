// The plan engine's rules as plain functions: the number table, the draw check,
// the two-position next-plan rule, the bet and the copied text.
#include "app/planrules.h"
#include "toolkit/apperror.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace planrules;

Q_DECLARE_METATYPE(planrules::mode)


class TestPlanRules : public QObject
{
    Q_OBJECT

private slots:
    void codetablerows_data();
    void codetablerows();
    void everyrowholdsitsdigits();
    void draws_data();
    void draws();
    void nexttwo_data();
    void nexttwo();
    void workedsequencechains();
    void malformedplantextfails();
    void rulesrefuseinputtheydonottake();
    void nextthree_data();
    void nextthree();
    void betholdsexactlythematchingnumbers_data();
    void betholdsexactlythematchingnumbers();
    void numberlabels_data();
    void numberlabels();
    void copytextlines_data();
    void copytextlines();
};

void TestPlanRules::codetablerows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("000") << 0 << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("007") << 7 << QList<int>{0, 0, 7, 0, 0};
    QTest::newRow("123") << 123 << QList<int>{1, 2, 3, 0, 0};
    QTest::newRow("999") << 999 << QList<int>{9, 9, 9, 0, 0};
}

void TestPlanRules::codetablerows()
{
    QFETCH(int, row);
    QFETCH(QList<int>, expected);
    const codetabletype table = buildcodetable();
    QCOMPARE(table.size(), size_t(1000));
    const QList<int> actual(table[row].begin(), table[row].end());
    QCOMPARE(actual, expected);
}

void TestPlanRules::everyrowholdsitsdigits()
{
    const codetabletype table = buildcodetable();
    for (int r = 0; r < 1000; ++r) {
        QCOMPARE(table[r][0] * 100 + table[r][1] * 10 + table[r][2], r);
        QCOMPARE(table[r][3], 0);
        QCOMPARE(table[r][4], 0);
    }
}

void TestPlanRules::draws_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("385") << u"385"_s << true;
    QTest::newRow("000") << u"000"_s << true;
    QTest::newRow("999") << u"999"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("two digits") << u"12"_s << false;
    QTest::newRow("four digits") << u"1234"_s << false;
    QTest::newRow("letter") << u"12a"_s << false;
    QTest::newRow("leading blank") << u" 12"_s << false;
    QTest::newRow("trailing blank") << u"12 "_s << false;
    QTest::newRow("minus") << u"-12"_s << false;
    QTest::newRow("full-width digits") << u"１２３"_s << false;
    QTest::newRow("arabic-indic digits") << u"١٢٣"_s << false;
}

void TestPlanRules::draws()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isdraw(text), valid);
}

void TestPlanRules::nexttwo_data()
{
    QTest::addColumn<mode>("m");
    QTest::addColumn<QString>("previous"); // empty: first period
    QTest::addColumn<QString>("draw");
    QTest::addColumn<QString>("next");     // empty: the draw hits
    const mode oe = mode::oddeven, bs = mode::bigsmall;
    // The worked sequence, press by press.
    QTest::newRow("first period 385") << oe << QString() << u"385"_s << u"百十位奇偶"_s;
    QTest::newRow("472 both missed") << oe << u"百十位奇偶"_s << u"472"_s << u"百十位偶奇"_s;
    QTest::newRow("391 hundreds moves to units") << oe << u"百十位偶奇"_s << u"391"_s << u"十个位奇奇"_s;
    QTest::newRow("258 units moves to hundreds") << oe << u"十个位奇奇"_s << u"258"_s << u"百十位偶奇"_s;
    QTest::newRow("412 hits") << oe << u"百十位偶奇"_s << u"412"_s << QString();
    // Other moves and the other mode.
    QTest::newRow("tens moves to hundreds") << oe << u"十个位奇奇"_s << u"201"_s << u"百个位偶奇"_s;
    QTest::newRow("tens moves in for hundreds") << oe << u"百个位奇奇"_s << u"221"_s << u"十个位偶奇"_s;
    QTest::newRow("first period 000") << oe << QString() << u"000"_s << u"百十位偶偶"_s;
    QTest::newRow("big/small first period 385") << bs << QString() << u"385"_s << u"百十位小大"_s;
    QTest::newRow("big/small first period 000") << bs << QString() << u"000"_s << u"百十位小小"_s;
    QTest::newRow("big/small 4 small, 5 big: hit") << bs << u"百十位小大"_s << u"459"_s << QString();
    QTest::newRow("big/small both missed") << bs << u"百十位小大"_s << u"549"_s << u"百十位大小"_s;
    QTest::newRow("big/small hit") << bs << u"百个位大小"_s << u"914"_s << QString();
    QTest::newRow("mode switch never hits") << bs << u"百十位奇偶"_s << u"385"_s << u"百十位小大"_s;
}

void TestPlanRules::nexttwo()
{
    QFETCH(mode, m);
    QFETCH(QString, previous);
    QFETCH(QString, draw);
    QFETCH(QString, next);
    std::optional<plan> current;
    if (!previous.isEmpty())
        current = readplan(previous);
    const std::optional<plan> result = nexttwoplan(current, draw, m);
    QVERIFY(nextplan(kind::two, m, current, {}, draw) == result); // a press reads the latest draw only
    if (next.isEmpty()) {
        QVERIFY(!result);
        QVERIFY(inbet(draw, *current));
    } else {
        QVERIFY(result);
        QCOMPARE(plantext(*result), next);
    }
}

void TestPlanRules::workedsequencechains()
{
    // The log carries the plan only as text: each press reads back what the last wrote.
    std::optional<plan> current;
    QStringList texts;
    for (const QString &draw : {u"385"_s, u"472"_s, u"391"_s, u"258"_s}) {
        current = nexttwoplan(current, draw, mode::oddeven);
        QVERIFY(current);
        texts.append(plantext(*current));
        current = readplan(texts.last());
    }
    QCOMPARE(texts, (QStringList{u"百十位奇偶"_s, u"百十位偶奇"_s, u"十个位奇奇"_s, u"百十位偶奇"_s}));
    QVERIFY(!nexttwoplan(current, u"412"_s, mode::oddeven));
}

void TestPlanRules::malformedplantextfails()
{
    for (const QString &text : {u"本期投注"_s, QString(), u"位"_s, u"百十位奇"_s, u"百十位奇偶偶"_s, u"十百位奇偶"_s,
                                u"百百位奇偶"_s, u"百十位奇好"_s, u"百十个位奇偶"_s})
        QVERIFY_THROWS_EXCEPTION(AppError, readplan(text));
    QCOMPARE(readplan(u"百十个位奇偶奇"_s).size(), size_t(3));
}

void TestPlanRules::rulesrefuseinputtheydonottake()
{
    const plan three = readplan(u"百十个位奇偶奇"_s);
    QVERIFY_THROWS_EXCEPTION(AppError, nexttwoplan(three, u"385"_s, mode::oddeven));
    QVERIFY_THROWS_EXCEPTION(AppError, nexttwoplan(plan{{1, u'奇'}}, u"385"_s, mode::oddeven));
    QVERIFY_THROWS_EXCEPTION(AppError, nexttwoplan(std::nullopt, u"38"_s, mode::oddeven));
    QVERIFY_THROWS_EXCEPTION(AppError, inbet(u"38"_s, three));
    QVERIFY_THROWS_EXCEPTION(AppError, nextthreeplan(u"385"_s, u"4a2"_s, mode::oddeven));
    QVERIFY_THROWS_EXCEPTION(AppError, digitat(u"385"_s, 0));
    QVERIFY_THROWS_EXCEPTION(AppError, digitat(u"385"_s, 4));
    QCOMPARE(digitat(u"385"_s, 3), 5);
}

void TestPlanRules::nextthree_data()
{
    QTest::addColumn<mode>("m");
    QTest::addColumn<QString>("current"); // the last log row's plan text
    QTest::addColumn<QString>("secondlatest");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QString>("next"); // empty: the draw hits
    const mode oe = mode::oddeven, bs = mode::bigsmall;
    const QString title = u"本期投注"_s;
    // The worked sequence, press by press.
    QTest::newRow("385 472 first period") << oe << title << u"385"_s << u"472"_s << u"百十个位奇偶奇"_s;
    QTest::newRow("472 390") << oe << u"百十个位奇偶奇"_s << u"472"_s << u"390"_s << u"百十个位偶奇偶"_s;
    QTest::newRow("390 816 hits") << oe << u"百十个位偶奇偶"_s << u"390"_s << u"816"_s << QString();
    // Edges.
    QTest::newRow("000 000") << oe << title << u"000"_s << u"000"_s << u"百十个位偶偶偶"_s;
    QTest::newRow("equal draws bet on their pattern") << oe << title << u"385"_s << u"385"_s << u"百十个位奇偶奇"_s;
    QTest::newRow("the same pattern again hits") << oe << u"百十个位奇偶奇"_s << u"385"_s << u"123"_s << QString();
    QTest::newRow("big/small 385 472") << bs << title << u"385"_s << u"472"_s << u"百十个位小大大"_s;
    QTest::newRow("big/small 4 small, 5 big") << bs << title << u"459"_s << u"540"_s << u"百十个位小大大"_s;
    QTest::newRow("big/small hit") << bs << u"百十个位小大大"_s << u"472"_s << u"099"_s << QString();
    QTest::newRow("mode switch never hits") << bs << u"百十个位奇偶奇"_s << u"472"_s << u"385"_s << u"百十个位小大小"_s;
}

void TestPlanRules::nextthree()
{
    QFETCH(mode, m);
    QFETCH(QString, current);
    QFETCH(QString, secondlatest);
    QFETCH(QString, latest);
    QFETCH(QString, next);
    std::optional<plan> shown;
    if (current != u"本期投注"_s)
        shown = readplan(current);
    const std::optional<plan> pressed = nextplan(kind::three, m, shown, secondlatest, latest);
    QCOMPARE(!pressed, next.isEmpty());
    // A hit is what comparing the draw's class text with the plan text says.
    QCOMPARE(classtext(latest, m) == current, next.isEmpty());
    if (!pressed)
        return;
    const plan p = *pressed;
    QCOMPARE(plantext(p), next);
    // Whatever changed between the two draws, the bet is the second-latest's pattern.
    QCOMPARE(plantext(p), classtext(secondlatest, m));
    codetabletype table = buildcodetable();
    QCOMPARE(selectbet(table, p), 125);
    QCOMPARE(betcount(kind::three), 125);
    QCOMPARE(betcount(kind::two), 250);
}

void TestPlanRules::betholdsexactlythematchingnumbers_data()
{
    QTest::addColumn<QString>("plantext");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("first");
    QTest::newRow("百十位偶偶") << u"百十位偶偶"_s << 250 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21};
    QTest::newRow("百十位奇偶") << u"百十位奇偶"_s << 250 << QList<int>{100, 101, 102};
    QTest::newRow("十个位大小") << u"十个位大小"_s << 250 << QList<int>{50, 51, 52, 53, 54, 60};
    QTest::newRow("百个位小大") << u"百个位小大"_s << 250 << QList<int>{5, 6, 7, 8, 9, 15};
    QTest::newRow("百十个位偶偶偶") << u"百十个位偶偶偶"_s << 125 << QList<int>{0, 2, 4, 6, 8, 20, 22};
    QTest::newRow("百十个位大小大") << u"百十个位大小大"_s << 125 << QList<int>{505, 506, 507, 508, 509, 515};
}

void TestPlanRules::betholdsexactlythematchingnumbers()
{
    QFETCH(QString, plantext);
    QFETCH(int, count);
    QFETCH(QList<int>, first);
    codetabletype table = buildcodetable();
    table[500][flagcolumn] = 0; // a stale flag from an earlier period
    const plan p = readplan(plantext);
    QCOMPARE(selectbet(table, p), count);
    QList<int> selected;
    for (int r = 0; r < 1000; ++r) {
        const QString draw = QString::number(r).rightJustified(3, u'0');
        QCOMPARE(table[r][flagcolumn] == 0, inbet(draw, p));
        if (table[r][flagcolumn] == 0)
            selected.append(r);
        QCOMPARE(table[r][0] * 100 + table[r][1] * 10 + table[r][2], r);
    }
    QCOMPARE(selected.mid(0, first.size()), first);
}

void TestPlanRules::numberlabels_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("label");
    QTest::newRow("1") << 1 << u"  1"_s;
    QTest::newRow("10") << 10 << u" 10"_s;
    QTest::newRow("250") << 250 << u"250"_s;
}

void TestPlanRules::numberlabels()
{
    QFETCH(int, n);
    QFETCH(QString, label);
    QCOMPARE(numberlabel(n), label);
}

void TestPlanRules::copytextlines_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("fulllines");
    QTest::addColumn<QString>("tail"); // what follows the last CR LF
    QTest::newRow("250 numbers") << 250 << 25 << QString();
    QTest::newRow("125 numbers") << 125 << 12 << u"120 121 122 123 124 "_s;
    QTest::newRow("none") << 0 << 0 << QString();
}

void TestPlanRules::copytextlines()
{
    QFETCH(int, count);
    QFETCH(int, fulllines);
    QFETCH(QString, tail);
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers.append(QString::number(i).rightJustified(3, u'0'));
    const QString text = copytext(numbers);
    const QStringList lines = text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), fulllines + 1);
    QCOMPARE(lines.last(), tail);
    if (count > 0)
        QCOMPARE(lines.first(), u"000 001 002 003 004 005 006 007 008 009 "_s);
    QCOMPARE(text.count(u'\n'), fulllines);
    QCOMPARE(text.size(), count * 4 + fulllines * 2);
}

QTEST_GUILESS_MAIN(TestPlanRules)
#include "test_planrules.moc"
