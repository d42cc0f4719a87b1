// The planner's "生成计划" press: calculation plus filling the grid, for the default
// plan and for 100 000 periods; how much memory a 100 000-period table takes; and
// 保存 and 载入 of a plan file of 10^6 periods. Run one of the last two alone to read
// the process's peak RSS, which each prints:
//     build/bench/bench_planner -median 5 savehugeplan
//     build/bench/bench_planner -median 5 loadhugeplan
#include "planner/plancalc.h"
#include "planner/planfile.h"
#include "planner/u_gudingjihua.h"
#include "bench/heap.h"
#include "tests/windowtest.h"
#include "toolkit/stringgrid.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

void setboxes(QWidget *window, const QStringList &texts)
{
    const char *names[] = {"edtprekui", "edtlirun", "edtinofsin", "edtoutofsin", "edtdays"};
    for (int i = 0; i < 5; ++i)
        window->findChild<QLineEdit *>(QLatin1StringView(names[i]))->setText(texts[i]);
}

// The most periods a plan may have, at a multiple the planner can reach.
const QStringList hugeplan{u"1000000"_s, u"20"_s, u"0"_s, u"120"_s, u"1000000"_s};

void reportpeakrss()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        qInfo("peak RSS of this process: %.0f MB", double(usage.ru_maxrss) / 1024.0);
#endif
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
    void savehugeplan();
    void loadhugeplan();

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

void BenchPlanner::savehugeplan()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"计划.txt"_s);
    Tfrmgudingjihua window(folder.path());
    setboxes(&window, hugeplan);
    window.findChild<QPushButton *>(u"btnala"_s)->click();
    QCoreApplication::processEvents();
    takeshown();
    auto *save = window.findChild<QPushButton *>(u"btnsave"_s);
    QBENCHMARK {
        filedialogs::seam().queueanswer(path);
        save->click();
    }
    QCOMPARE(takeshown().last().text, u"成功保存！"_s);
    QCOMPARE(QFileInfo(path).size() > 7000000, true);
    reportpeakrss();
}

void BenchPlanner::loadhugeplan()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"计划.txt"_s);
    {
        // Written with the planner's own rules and file format, without a window,
        // so that the peak is the load's own.
        const plancalc::inputs in = plancalc::readinputs(hugeplan[0], hugeplan[1], hugeplan[2], hugeplan[3], hugeplan[4]);
        const std::optional<plancalc::plantabletype> table = plancalc::calculate(in);
        QVERIFY(table);
        QString number;
        const QByteArray bytes = planfile::planfilebytes(hugeplan, qsizetype(table->size()), [&](qsizetype row, int col) {
            number = QString::number((*table)[size_t(row)][col]);
            return QStringView(number);
        });
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // Each press into a fresh window, as a user opens a plan table after starting.
    int rows = 0;
    QBENCHMARK {
        plantable = {};
        Tfrmgudingjihua window(folder.path());
        filedialogs::seam().queueanswer(path);
        window.findChild<QPushButton *>(u"btnload"_s)->click();
        QCoreApplication::processEvents();
        rows = window.findChild<Tstringgrid *>(u"grdjihua"_s)->rowcount();
    }
    const QList<messages::shown> shown = takeshown();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.last().text.startsWith(u"平均每期净利润为:"_s), qPrintable(shown.last().text));
    QCOMPARE(rows, 1000001);
    QCOMPARE(qsizetype(plantable.size()), qsizetype(1000000));
    reportpeakrss();
}

QTEST_MAIN(BenchPlanner)
#include "bench_planner.moc"
