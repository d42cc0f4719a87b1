// The printed plan table on a recording canvas: every position on a page of
// 4800 x 6960 device pixels, the pagination and the texts.
#include "planner/planprint.h"
#include "toolkit/apperror.h"
#include "toolkit/printcanvas.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct operation
{
    QString kind; // begin, font, text, line, page, end
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString text;
};

class Trecordingcanvas : public Tprintcanvas
{
public:
    void begindoc() override { ops.append({u"begin"_s, 0, 0, 0, 0, {}}); }
    int pagewidth() const override { return 4800; }
    int pageheight() const override { return 6960; }
    int vertresolution() const override { return 600; }
    void selectfont(const QString &face, int points, bool bold, bool italic) override
    {
        ops.append({u"font"_s, points, bold, italic, 0, face});
    }
    int textwidth(const QString &text) override { return 100 * int(text.size()) + 1; }
    void drawtext(int x, int y, const QString &text) override { ops.append({u"text"_s, x, y, 0, 0, text}); }
    void drawline(int x1, int y1, int x2, int y2) override { ops.append({u"line"_s, x1, y1, x2, y2, {}}); }
    void newpage() override { ops.append({u"page"_s, 0, 0, 0, 0, {}}); }
    void enddoc() override { ops.append({u"end"_s, 0, 0, 0, 0, {}}); }

    // The operations of page p (1-based), between page breaks.
    QList<operation> page(int p) const
    {
        QList<operation> result;
        int current = 1;
        for (const operation &op : ops) {
            if (op.kind == u"page"_s)
                ++current;
            else if (current == p)
                result.append(op);
        }
        return result;
    }

    QList<operation> ops;
};

QList<QStringList> table(int datarows)
{
    QList<QStringList> rows{{u"投注时间"_s, u"投注倍数"_s, u"当期投注"_s, u"当期总投入"_s, u"当期中奖"_s,
                             u"当期净利润"_s, u"当期利润率(%)"_s}};
    for (int r = 1; r <= datarows; ++r) {
        QStringList cells;
        for (int k = 0; k < 7; ++k)
            cells.append(u"r%1c%2"_s.arg(r).arg(k));
        rows.append(cells);
    }
    return rows;
}

QList<operation> only(const QList<operation> &ops, const QString &kind)
{
    QList<operation> result;
    for (const operation &op : ops)
        if (op.kind == kind)
            result.append(op);
    return result;
}

const operation *textop(const QList<operation> &ops, const QString &text)
{
    for (const operation &op : ops)
        if (op.kind == u"text"_s && op.text == text)
            return &op;
    return nullptr;
}

} // namespace

class TestPlanPrint : public QObject
{
    Q_OBJECT

private slots:
    void positionsonthepage();
    void pagination_data();
    void pagination();
    void inputlineandcounter();
    void notableprintsnothing();
};

void TestPlanPrint::positionsonthepage()
{
    Trecordingcanvas canvas;
    planprint::printplan(canvas, table(30), u"输入"_s);
    QVERIFY(canvas.ops.size() > 2);
    QCOMPARE(canvas.ops.first().kind, u"begin"_s);
    QCOMPARE(canvas.ops.last().kind, u"end"_s);
    const QList<operation> first = canvas.page(1);
    QVERIFY(first.size() > 3);

    // The title, centred in the title font; then the input line in the body font.
    QCOMPARE(first[1].kind, u"font"_s);
    QCOMPARE(first[1].text, u"录书"_s);
    QCOMPARE(QList<int>({first[1].x1, first[1].y1, first[1].x2}), QList<int>({18, 1, 1}));
    const operation *title = textop(first, u"固定投资计划表"_s);
    QVERIFY(title);
    QCOMPARE(title->x1, (4800 - 701) / 2);
    QCOMPARE(title->y1, 190);
    QCOMPARE(first[3].text, u"宋体"_s);
    QCOMPARE(QList<int>({first[3].x1, first[3].y1, first[3].x2}), QList<int>({10, 0, 0}));
    const operation *input = textop(first, u"输入"_s);
    QVERIFY(input);
    QCOMPARE(QPoint(input->x1, input->y1), QPoint(400, 460));

    const QList<operation> lines = only(first, u"line"_s);
    QCOMPARE(lines.size(), 27 + 8);
    for (int j = 0; j <= 26; ++j) {
        const operation &rule = lines[j];
        QCOMPARE(QList<int>({rule.x1, rule.y1, rule.x2, rule.y2}), QList<int>({369, 600 + 240 * j, 4689, 600 + 240 * j}));
    }
    const QList<int> columns{369, 986, 1603, 2220, 2837, 3454, 4071, 4689};
    for (int m = 0; m <= 7; ++m) {
        const operation &rule = lines[27 + m];
        QCOMPARE(QList<int>({rule.x1, rule.y1, rule.x2, rule.y2}), QList<int>({columns[m], 600, columns[m], 6840}));
    }
    for (int k = 0; k < 7; ++k) {
        const operation *heading = textop(first, table(0)[0][k]);
        QVERIFY(heading);
        QCOMPARE(QPoint(heading->x1, heading->y1), QPoint(columns[k] + 100, 696));
        const operation *cell = textop(first, u"r1c%1"_s.arg(k));
        QVERIFY(cell);
        QCOMPARE(QPoint(cell->x1, cell->y1), QPoint(columns[k] + 220, 960));
    }
    QCOMPARE(textop(first, u"r25c6"_s)->y1, 6720);
    const operation *counter = textop(first, u"共2页\\第1页"_s);
    QVERIFY(counter);
    QCOMPARE(QPoint(counter->x1, counter->y1), QPoint(4160, 6850));

    // Page 2 starts its rows in the first slot again, and has no title.
    const QList<operation> second = canvas.page(2);
    QCOMPARE(textop(second, u"r26c0"_s)->y1, 960);
    QCOMPARE(textop(second, u"r30c0"_s)->y1, 1920);
    QVERIFY(!textop(second, u"固定投资计划表"_s));
    QVERIFY(!textop(second, u"输入"_s));
    QCOMPARE(only(second, u"font"_s).size(), 1); // the body font, selected again
}

void TestPlanPrint::pagination_data()
{
    QTest::addColumn<int>("datarows");
    QTest::addColumn<QList<int>>("rowsperpage");
    QTest::newRow("the default plan") << 80 << QList<int>{25, 25, 25, 5};
    QTest::newRow("25 rows") << 25 << QList<int>{25};
    QTest::newRow("26 rows") << 26 << QList<int>{25, 1};
    QTest::newRow("1 row") << 1 << QList<int>{1};
}

void TestPlanPrint::pagination()
{
    QFETCH(int, datarows);
    QFETCH(QList<int>, rowsperpage);
    Trecordingcanvas canvas;
    planprint::printplan(canvas, table(datarows), u"输入"_s);
    const int pages = int(rowsperpage.size());
    QCOMPARE(planprint::pagecount(datarows), pages);
    QCOMPARE(only(canvas.ops, u"page"_s).size(), pages - 1);
    for (int p = 1; p <= pages; ++p) {
        const QList<operation> ops = canvas.page(p);
        QCOMPARE(only(ops, u"line"_s).size(), 35); // the whole frame, however few the rows
        QVERIFY(textop(ops, u"共%1页\\第%2页"_s.arg(pages).arg(p)));
        int cells = 0;
        for (const operation &op : only(ops, u"text"_s))
            cells += op.text.startsWith(u'r');
        QCOMPARE(cells, rowsperpage[p - 1] * 7);
        QCOMPARE(bool(textop(ops, u"固定投资计划表"_s)), p == 1);
    }
}

void TestPlanPrint::inputlineandcounter()
{
    QCOMPARE(planprint::inputline({u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}, QDate(2024, 3, 7)),
             u"前期亏损:0  预测利润:20  单倍投入:16  单注奖金:1000  投注天数:80  打印日期:2024-3-7"_s);
    QCOMPARE(planprint::inputline({u"一"_s, u""_s, u""_s, u""_s, u"x"_s}, QDate(2026, 12, 10)),
             u"前期亏损:一  预测利润:  单倍投入:  单注奖金:  投注天数:x  打印日期:2026-12-10"_s);
    QCOMPARE(planprint::pagecounter(4, 1), u"共4页\\第1页"_s);
    QCOMPARE(planprint::pagecounter(4, 1).toUtf8().count('\\'), 1);
}

void TestPlanPrint::notableprintsnothing()
{
    Trecordingcanvas canvas;
    QVERIFY_THROWS_EXCEPTION(AppError, planprint::printplan(canvas, {}, u"输入"_s));
    QVERIFY(canvas.ops.isEmpty()); // the job was never begun
    QVERIFY_THROWS_EXCEPTION(AppError, planprint::pagecount(-1));
    QCOMPARE(planprint::pagecount(0), 0);
}

QTEST_GUILESS_MAIN(TestPlanPrint)
#include "test_planprint.moc"
