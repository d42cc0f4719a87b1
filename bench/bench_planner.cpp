// The planner's "生成计划" press: calculation plus filling the grid, for the default
// plan and for 100 000 periods; and how much memory a 100 000-period table takes.
#include "planner/u_gudingjihua.h"
#include "bench/heap.h"
#include "tests/windowtest.h"
#include "toolkit/stringgrid.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

void setboxes(QWidget *window, const QStringList &texts)
{
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    for (int i = 0; i < 5; ++i)
        window->findChild<QLineEdit *>(QLatin1StringView(names[i]))->setText(texts[i]);
}

} // namespace

class BenchPlanner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_seams.emplace(); }
    void cleanupTestCase() { m_seams.reset(); }
    void calculate_data();
    void calculate();
    void memory_data() { calculate_data(); }
    void memory();

private:
    std::optional<Tquietseams> m_seams;
};

void BenchPlanner::calculate_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("average");
    QTest::newRow("default, 80 periods") << QStringList{u"0"_s, u"20"_s, u"16"_s, u"1000"_s, u"80"_s}
                                         << u"平均每期净利润为:645"_s;
    QTest::newRow("100000 periods, stake 1, prize 1000000")
        << QStringList{u"0"_s, u"20"_s, u"1"_s, u"1000000"_s, u"100000"_s} << QString();
    QTest::newRow("100000 periods at multiple 10000")
        << QStringList{u"1000000"_s, u"20"_s, u"0"_s, u"120"_s, u"100000"_s} << u"平均每期净利润为:200000"_s;
}

void BenchPlanner::calculate()
{
    QFETCH(QStringList, boxes);
    QFETCH(QString, average);
    Tfrmgudingjihua window(QDir::tempPath());
    setboxes(&window, boxes);
    auto *ala = window.findChild<QPushButton *>(u"btnala"_s);
    QBENCHMARK {
        ala->click();
        QCoreApplication::processEvents();
    }
    const QList<messages::shown> shown = takeshown();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.last().text.startsWith(u"平均每期净利润为:"_s), qPrintable(shown.last().text));
    if (!average.isEmpty())
        QCOMPARE(shown.last().text, average);
    QCOMPARE(window.findChild<Tstringgrid *>(u"grdjihua"_s)->rowcount(), boxes[4].toInt() + 1);
}

void BenchPlanner::memory()
{
    QFETCH(QStringList, boxes);
    Tfrmgudingjihua window(QDir::tempPath());
    setboxes(&window, boxes);
    plantable = {};
    const qint64 before = heapinuse();
    window.findChild<QPushButton *>(u"btnala"_s)->click();
    QCoreApplication::processEvents();
    const qint64 after = heapinuse();
    takeshown();
    // The table and the grid's cells, held while the window shows them.
    QTest::setBenchmarkResult(double(after - before), QTest::BytesAllocated);
}

QTEST_MAIN(BenchPlanner)
#include "bench_planner.moc"
