// The simulation under random draws against the exact figures of short
// histories, worked out here by a dynamic program over every way the bets can
// fall; against hand-worked certain cases; and for repeatability.
#include "replay/odds.h"
#include "replay/simulate.h"
#include "planner/plancalc.h"
#include "toolkit/apperror.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

struct exact
{
    double ruin = 0;
    std::map<qint64, double> finals; // final result -> its chance
};

// Every history of `bets` bets as a chance per (period in plan, running result),
// a bet at a time; a history that cannot pay its stake leaves with what it has.
exact exactly(const std::vector<qint64> &stakes, const std::vector<qint64> &prizes, double hit, qint64 bets,
              std::optional<qint64> bankroll)
{
    exact e;
    std::map<std::pair<size_t, qint64>, double> states{{{0, 0}, 1.0}};
    for (qint64 b = 0; b < bets; ++b) {
        std::map<std::pair<size_t, qint64>, double> next;
        for (const auto &[state, chance] : states) {
            const auto [period, running] = state;
            if (bankroll && *bankroll + running < stakes[period]) {
                e.ruin += chance;
                e.finals[running] += chance;
                continue;
            }
            const qint64 staked = running - stakes[period];
            next[{0, staked + prizes[period]}] += chance * hit;
            next[{(period + 1) % stakes.size(), staked}] += chance * (1 - hit);
        }
        states = std::move(next);
    }
    for (const auto &[state, chance] : states)
        e.finals[state.second] += chance;
    return e;
}

double chancebelow(const exact &e, qint64 value)
{
    double sum = 0;
    for (const auto &[v, chance] : e.finals)
        if (v < value)
            sum += chance;
    return sum;
}

qint64 countof(const std::vector<qint64> &values, qint64 value)
{
    return qint64(std::count(values.begin(), values.end(), value));
}

// The default two-position plan's stakes and prizes.
simulate::setup defaultplan(qint64 bets, std::optional<qint64> bankroll)
{
    simulate::setup s;
    const odds::plantable columns = odds::fromplanner(*plancalc::calculate({0, 20, 500, 1040, 11}));
    s.stakes = columns.stakes;
    s.prizes = columns.prizes;
    s.hit = 0.25;
    s.bets = bets;
    s.bankroll = bankroll;
    return s;
}

} // namespace

class TestSimulate : public QObject
{
    Q_OBJECT

private slots:
    void againsttheexactfigures_data();
    void againsttheexactfigures();
    void certainhistories_data();
    void certainhistories();
    void thesameforanythreadcount();
    void cancels();
    void overflowfails();
    void badsetupsfail_data();
    void badsetupsfail();
    void quantiles_data();
    void quantiles();
    void wilson_data();
    void wilson();
    void histogram();
};

void TestSimulate::againsttheexactfigures_data()
{
    QTest::addColumn<std::vector<qint64>>("stakes");
    QTest::addColumn<std::vector<qint64>>("prizes");
    QTest::addColumn<double>("hit");
    QTest::addColumn<qint64>("bets");
    QTest::addColumn<std::optional<qint64>>("bankroll");
    // Hits at periods 1..3 net 160, 380 and 1040; a bust loses 1300.
    const std::vector<qint64> stakes{100, 300, 900}, prizes{260, 780, 2340};
    QTest::newRow("bankroll 2000, 30 bets") << stakes << prizes << 0.25 << qint64(30) << std::optional<qint64>(2000);
    QTest::newRow("bankroll 1300, one bust and out") << stakes << prizes << 0.25 << qint64(24)
                                                     << std::optional<qint64>(1300);
    QTest::newRow("three positions, bankroll 6000") << stakes << prizes << 0.125 << qint64(16)
                                                    << std::optional<qint64>(6000);
    QTest::newRow("no bankroll") << stakes << prizes << 0.25 << qint64(25) << std::optional<qint64>();
    const simulate::setup d = defaultplan(40, 500000);
    QTest::newRow("the default plan, bankroll 500000") << d.stakes << d.prizes << 0.25 << qint64(40) << d.bankroll;
}

void TestSimulate::againsttheexactfigures()
{
    QFETCH(std::vector<qint64>, stakes);
    QFETCH(std::vector<qint64>, prizes);
    QFETCH(double, hit);
    QFETCH(qint64, bets);
    QFETCH(std::optional<qint64>, bankroll);
    const exact e = exactly(stakes, prizes, hit, bets, bankroll);

    simulate::setup s{stakes, prizes, hit, bets, bankroll};
    s.runs = 20000;
    const simulate::result r = simulate::run(s);
    QCOMPARE(r.runs, s.runs);
    QCOMPARE(r.finals.size(), size_t(s.runs));
    QVERIFY(std::is_sorted(r.finals.begin(), r.finals.end()));
    const double n = double(s.runs);
    // Within four standard errors of the exact chance.
    const auto near = [n](double estimate, double p) { return std::abs(estimate - p) <= 4 * std::sqrt(p * (1 - p) / n); };

    if (bankroll) {
        QVERIFY2(e.ruin > 0.05 && e.ruin < 0.95, "the case should be a real question");
        QVERIFY2(near(*r.ruin, e.ruin), qPrintable(u"%1 against %2"_s.arg(*r.ruin).arg(e.ruin)));
        QVERIFY(*r.ruinlow <= *r.ruin && *r.ruin <= *r.ruinhigh);
    } else {
        QVERIFY(!r.ruin && !r.ruinlow && !r.ruinhigh);
    }
    const double loss = chancebelow(e, 0);
    QVERIFY2(near(r.lossshare, loss), qPrintable(u"%1 against %2"_s.arg(r.lossshare).arg(loss)));
    QCOMPARE(r.lossshare, double(std::count_if(r.finals.begin(), r.finals.end(), [](qint64 v) { return v < 0; })) / n);

    // Each likely final result as often as it should be.
    double mean = 0, square = 0;
    for (const auto &[value, chance] : e.finals) {
        mean += chance * double(value);
        square += chance * double(value) * double(value);
        if (chance > 0.01)
            QVERIFY2(near(double(countof(r.finals, value)) / n, chance), qPrintable(QString::number(value)));
    }
    double simulated = 0;
    for (const qint64 v : r.finals)
        simulated += double(v);
    simulated /= n;
    QVERIFY2(std::abs(simulated - mean) <= 4 * std::sqrt((square - mean * mean) / n),
             qPrintable(u"mean %1 against %2"_s.arg(simulated).arg(mean)));

    // Each quantile lies between the exact quantiles a few standard errors either side.
    const auto exactquantile = [&e](double level) {
        double below = 0;
        for (const auto &[value, chance] : e.finals)
            if ((below += chance) >= level)
                return double(value);
        return double(e.finals.rbegin()->first);
    };
    for (const auto &[q, got] : {std::pair{0.05, r.p05}, std::pair{0.5, r.median}, std::pair{0.95, r.p95}}) {
        const double margin = 4 * std::sqrt(q * (1 - q) / n) + 1 / n;
        QVERIFY2(exactquantile(q - margin) <= got && got <= exactquantile(q + margin),
                 qPrintable(u"%1 at %2, exactly %3"_s.arg(got).arg(q).arg(exactquantile(q))));
    }
}

void TestSimulate::certainhistories_data()
{
    QTest::addColumn<double>("hit");
    QTest::addColumn<std::optional<qint64>>("bankroll");
    QTest::addColumn<qint64>("final");
    QTest::addColumn<bool>("ruined");
    // Stakes 100, 200, 400; prizes 250, 500, 1000; ten bets.
    QTest::newRow("never hits, no bankroll: three busts and one stake") << 0.0 << std::optional<qint64>() << qint64(-2200)
                                                                        << false;
    QTest::newRow("never hits, 650 cannot pay the third stake") << 0.0 << std::optional<qint64>(650) << qint64(-300)
                                                                << true;
    QTest::newRow("never hits, 700 pays it exactly, then nothing more") << 0.0 << std::optional<qint64>(700)
                                                                        << qint64(-700) << true;
    QTest::newRow("always hits, 100 pays every first stake") << 1.0 << std::optional<qint64>(100) << qint64(1500)
                                                             << false;
    QTest::newRow("always hits, no bankroll") << 1.0 << std::optional<qint64>() << qint64(1500) << false;
    QTest::newRow("bankroll 0 stakes nothing") << 1.0 << std::optional<qint64>(0) << qint64(0) << true;
}

void TestSimulate::certainhistories()
{
    QFETCH(double, hit);
    QFETCH(std::optional<qint64>, bankroll);
    QFETCH(qint64, final);
    QFETCH(bool, ruined);
    simulate::setup s{{100, 200, 400}, {250, 500, 1000}, hit, 10, bankroll};
    s.runs = 50;
    const simulate::result r = simulate::run(s);
    QCOMPARE(r.finals, std::vector<qint64>(50, final));
    QCOMPARE(r.median, double(final));
    QCOMPARE(r.p05, double(final));
    QCOMPARE(r.p95, double(final));
    QCOMPARE(r.lossshare, final < 0 ? 1.0 : 0.0);
    QCOMPARE(r.ruin.has_value(), bankroll.has_value());
    if (bankroll)
        QCOMPARE(*r.ruin, ruined ? 1.0 : 0.0);

    // No plan to play: nothing is staked.
    s.stakes.clear();
    s.prizes.clear();
    QCOMPARE(simulate::run(s).finals, std::vector<qint64>(50, 0));
}

void TestSimulate::thesameforanythreadcount()
{
    simulate::setup s = defaultplan(3000, 100000000);
    s.runs = 3000;
    s.threads = 1;
    const simulate::result one = simulate::run(s);
    s.threads = 2;
    const simulate::result two = simulate::run(s);
    QCOMPARE(two.finals, one.finals);
    QCOMPARE(two.ruin, one.ruin);
    QCOMPARE(two.median, one.median);
    QCOMPARE(two.seed, s.seed);
    QVERIFY(*one.ruin > 0 && *one.ruin < 1);
    QVERIFY(one.finals.front() < one.finals.back());

    s.seed = 7;
    const simulate::result other = simulate::run(s);
    QCOMPARE(other.seed, quint64(7));
    QVERIFY(other.finals != one.finals);
    // A prefix of the runs is the same histories: each is seeded by its index,
    // so the first history alone comes back among the finals of all of them.
    s.seed = one.seed;
    s.runs = 1;
    const simulate::result first = simulate::run(s);
    QCOMPARE(first.finals.size(), size_t(1));
    QVERIFY(std::binary_search(one.finals.begin(), one.finals.end(), first.finals.front()));
}

void TestSimulate::cancels()
{
    simulate::setup s = defaultplan(3000, std::nullopt);
    s.runs = 2000000;
    s.threads = 2;
    const std::thread::id caller = std::this_thread::get_id();
    int calls = 0;
    bool samethread = true, rising = true;
    qint64 lastdone = -1, total = 0;
    const simulate::result r = simulate::run(s, [&](qint64 done, qint64 of) {
        ++calls;
        samethread = samethread && std::this_thread::get_id() == caller;
        rising = rising && done >= lastdone && done < of;
        lastdone = done;
        total = of;
        return calls < 2;
    });
    QVERIFY(r.cancelled);
    QCOMPARE(calls, 2);
    QVERIFY(samethread);
    QVERIFY(rising);
    QCOMPARE(total, s.runs);
    QVERIFY(r.finals.empty());
    QVERIFY(!r.ruin);

    // A callback that fails stops the workers before the failure goes on.
    QVERIFY_THROWS_EXCEPTION(AppError, simulate::run(s, [](qint64, qint64) -> bool { throw AppError(u"停"_s); }));
}

void TestSimulate::overflowfails()
{
    // The running result would pass 2^63 at the third bet.
    constexpr qint64 big = std::numeric_limits<qint64>::max() / 2;
    simulate::setup s{{1}, {big}, 1.0, 3, std::nullopt};
    s.runs = 5;
    QVERIFY_THROWS_EXCEPTION(AppError, simulate::run(s));
    // Checked all the way, a history that stays in range is right.
    s.bets = 2;
    QCOMPARE(simulate::run(s).finals, std::vector<qint64>(5, 2 * (big - 1)));
}

void TestSimulate::badsetupsfail_data()
{
    QTest::addColumn<simulate::setup>("setup");
    QTest::newRow("columns of different lengths") << simulate::setup{{100, 200}, {250}, 0.25, 10, std::nullopt};
    QTest::newRow("a chance above 1") << simulate::setup{{100}, {250}, 1.5, 10, std::nullopt};
    QTest::newRow("no chance at all") << simulate::setup{{100}, {250}, std::nan(""), 10, std::nullopt};
    QTest::newRow("a negative bankroll") << simulate::setup{{100}, {250}, 0.25, 10, -1};
    QTest::newRow("negative bets") << simulate::setup{{100}, {250}, 0.25, -1, std::nullopt};
}

void TestSimulate::badsetupsfail()
{
    QFETCH(simulate::setup, setup);
    QVERIFY_THROWS_EXCEPTION(AppError, simulate::run(setup));
}

void TestSimulate::quantiles_data()
{
    QTest::addColumn<std::vector<qint64>>("sorted");
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("value");
    QTest::newRow("median of four: between the middle two") << std::vector<qint64>{1, 2, 3, 4} << 0.5 << 2.5;
    QTest::newRow("median of five") << std::vector<qint64>{-7, 1, 2, 3, 40} << 0.5 << 2.0;
    QTest::newRow("5 % of five") << std::vector<qint64>{1, 2, 3, 4, 5} << 0.05 << 1.2;
    QTest::newRow("95 % of five") << std::vector<qint64>{1, 2, 3, 4, 5} << 0.95 << 4.8;
    QTest::newRow("95 % of 21") << [] {
        std::vector<qint64> v;
        for (qint64 i = 0; i <= 20; ++i)
            v.push_back(i * 10);
        return v;
    }() << 0.95 << 190.0;
    QTest::newRow("one value") << std::vector<qint64>{5} << 0.05 << 5.0;
    QTest::newRow("the lowest") << std::vector<qint64>{3, 9} << 0.0 << 3.0;
    QTest::newRow("the highest") << std::vector<qint64>{3, 9} << 1.0 << 9.0;
    QTest::newRow("none") << std::vector<qint64>{} << 0.5 << 0.0;
}

void TestSimulate::quantiles()
{
    QFETCH(std::vector<qint64>, sorted);
    QFETCH(double, q);
    QFETCH(double, value);
    QCOMPARE(simulate::quantile(sorted, q), value);
}

void TestSimulate::wilson_data()
{
    QTest::addColumn<qint64>("hits");
    QTest::addColumn<qint64>("trials");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("20 of 100") << qint64(20) << qint64(100) << 0.1334 << 0.2888;
    QTest::newRow("none of 10") << qint64(0) << qint64(10) << 0.0 << 0.2775;
    QTest::newRow("all of 10") << qint64(10) << qint64(10) << 0.7225 << 1.0;
}

void TestSimulate::wilson()
{
    QFETCH(qint64, hits);
    QFETCH(qint64, trials);
    QFETCH(double, low);
    QFETCH(double, high);
    const simulate::interval i = simulate::wilson(hits, trials);
    QVERIFY2(std::abs(i.low - low) < 1e-4, qPrintable(QString::number(i.low)));
    QVERIFY2(std::abs(i.high - high) < 1e-4, qPrintable(QString::number(i.high)));
}

void TestSimulate::histogram()
{
    // Range 1249 into about 10 bins: width 200, edges on its multiples.
    const simulate::histogram h = simulate::histogramof({-250, -10, 0, 0, 7, 999}, 10);
    QCOMPARE(h.edges, (std::vector<double>{-400, -200, 0, 200, 400, 600, 800, 1000}));
    QCOMPARE(h.counts, (std::vector<qint64>{1, 1, 3, 0, 0, 0, 1}));
    // An edge value belongs to the bin above it.
    QCOMPARE(simulate::histogramof({0, 200, 200, 399}, 2).counts, (std::vector<qint64>{1, 3}));
    const simulate::histogram one = simulate::histogramof({5, 5}, 40);
    QCOMPARE(one.edges, (std::vector<double>{5, 6}));
    QCOMPARE(one.counts, std::vector<qint64>{2});
    QVERIFY(simulate::histogramof({}, 40).counts.empty());

    // The finals of a real run: every one counted, in about the bins asked for.
    simulate::setup s = defaultplan(3000, std::nullopt);
    s.runs = 2000;
    const simulate::result r = simulate::run(s);
    const simulate::histogram spread = simulate::histogramof(r.finals, 40);
    QVERIFY(spread.counts.size() >= 16 && spread.counts.size() <= 41);
    QCOMPARE(std::accumulate(spread.counts.begin(), spread.counts.end(), qint64(0)), s.runs);
    QVERIFY(spread.edges.front() <= double(r.finals.front()) && double(r.finals.back()) < spread.edges.back());
}

QTEST_GUILESS_MAIN(TestSimulate)
#include "test_simulate.moc"
