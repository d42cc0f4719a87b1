// The replay under random draws: 10,000 histories of 3,000 bets with the
// default two-position plan, on one thread and on every core, with and without
// a bankroll. Run with -median 9.
#include "planner/plancalc.h"
#include "replay/odds.h"
#include "replay/simulate.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class BenchSimulate : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
};

void BenchSimulate::run_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<std::optional<qint64>>("bankroll");
    for (const int threads : {0, 1})
        for (const std::optional<qint64> bankroll : {std::optional<qint64>(), std::optional<qint64>(100000000)})
            QTest::newRow(qPrintable(u"%1, %2"_s.arg(threads == 0 ? u"every core"_s : u"one thread"_s,
                                                   bankroll ? u"bankroll 1e8"_s : u"no bankroll"_s)))
                << threads << bankroll;
}

void BenchSimulate::run()
{
    QFETCH(int, threads);
    QFETCH(std::optional<qint64>, bankroll);
    simulate::setup s;
    const odds::plantable columns = odds::fromplanner(*plancalc::calculate({0, 20, 500, 1040, 11}));
    s.stakes = columns.stakes;
    s.prizes = columns.prizes;
    s.hit = 0.25;
    s.bets = 3000;
    s.bankroll = bankroll;
    s.runs = 10000;
    s.threads = threads;
    QBENCHMARK {
        const simulate::result r = simulate::run(s);
        QCOMPARE(r.finals.size(), size_t(10000));
    }
}

QTEST_GUILESS_MAIN(BenchSimulate)
#include "bench_simulate.moc"
