// The odds under random draws: the default plan's figures against the planner's
// own table, a small table worked by hand, and the chance texts.
#include "app/planrules.h"
#include "replay/odds.h"
#include "toolkit/apperror.h"

#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The default two-position plan: loss 0, profit 20 %, stake 500, prize 1040, 11 periods.
plancalc::plantabletype defaulttable()
{
    return *plancalc::calculate({0, 20, 500, 1040, 11});
}

} // namespace

class TestOdds : public QObject
{
    Q_OBJECT

private slots:
    void thedefaults();
    void ahandworkedtable();
    void theexpectationmatchesthereturn();
    void theplannersearlierlossisnotstaked();
    void theplanlengths();
    void tinychancesoverplans();
    void unequalcolumnsfail();
    void chancetext_data();
    void chancetext();
};

void TestOdds::thedefaults()
{
    const qint64 bets = planrules::betcount(planrules::kind::two);
    QCOMPARE(bets, qint64(250));
    QCOMPARE(odds::hitchance(bets), 0.25);
    QCOMPARE(odds::returnper100(bets, 500, 1040), 52.0);
    QCOMPARE(odds::bustchance(bets, 11), 0.0422351360321044921875); // 3^11 / 4^11

    const plancalc::plantabletype table = defaulttable();
    const odds::plantable t = odds::fromplanner(table);
    QCOMPARE(t.periods(), qint64(11));
    QCOMPARE(odds::bustcost(t), qint64(3951000));
    QCOMPARE(odds::bustcost(t), table.back()[3]); // the planner's cumulative investment with no earlier loss

    const odds::figures f = odds::figuresof(bets, t, 500, 1040, 0, 0);
    QCOMPARE(f.bustcost, qint64(3951000));
    QCOMPARE(f.returnper100, std::optional<double>(52.0));
    // The plan loses on average, however often it wins: worked out apart from this code.
    QCOMPARE(f.expectedplan, -141166.36665344238);
    QCOMPARE(f.longestatleast, 0.0);
    // No stake to divide by: no return, and asked directly it fails.
    QVERIFY(!odds::figuresof(bets, t, 0, 1040, 0, 0).returnper100);
    QVERIFY_THROWS_EXCEPTION(AppError, odds::returnper100(bets, 0, 1040));
}

void TestOdds::ahandworkedtable()
{
    // Two periods at a 1/4 chance: a hit at 1 nets 150, a hit at 2 nets 350, a bust loses 400.
    const odds::plantable t{{100, 300}, {100, 400}, {250, 750}};
    // 1/4 x 150 + 3/4 x 1/4 x 350 - 9/16 x 400
    QCOMPARE(odds::expectedplanresult(250, t), 37.5 + 65.625 - 225.0);
    QCOMPARE(odds::bustcost(t), qint64(400));
    // 125 bets: 1/8 x 150 + 7/8 x 1/8 x 350 - 49/64 x 400
    QCOMPARE(odds::expectedplanresult(125, t), 18.75 + 38.28125 - 306.25);
    // Every bet hits: only the first period counts.
    QCOMPARE(odds::expectedplanresult(1000, t), 150.0);
    QCOMPARE(odds::expectedplanresult(250, odds::plantable{}), 0.0);
    QCOMPARE(odds::bustcost(odds::plantable{}), qint64(0));
}

void TestOdds::theexpectationmatchesthereturn()
{
    // Every stake and prize is its multiple times one multiple's, so what comes
    // back per 100 staked over a whole plan is the one-multiple return.
    for (const auto &[bets, stake] : {std::pair{250, 500}, std::pair{125, 250}}) {
        const plancalc::plantabletype table = *plancalc::calculate({0, 20, stake, 1040, bets == 250 ? 11 : 20});
        const odds::plantable t = odds::fromplanner(table);
        double staked = 0, reached = 1;
        for (const qint64 s : t.stakes) {
            staked += reached * double(s);
            reached *= 1 - bets / 1000.0;
        }
        const double back = (odds::expectedplanresult(bets, t) + staked) / staked * 100;
        QVERIFY2(std::abs(back - odds::returnper100(bets, stake, 1040)) < 1e-9, qPrintable(QString::number(back)));
    }
}

void TestOdds::theplannersearlierlossisnotstaked()
{
    // The planner's running total starts at the earlier loss; a bust loses only the stakes.
    const plancalc::plantabletype table = *plancalc::calculate({1000, 20, 500, 1040, 5});
    const odds::plantable t = odds::fromplanner(table);
    qint64 stakes = 0;
    for (const plancalc::planrow &row : table) {
        stakes += row[plancalc::stakecolumn];
        QCOMPARE(t.totals[size_t(row[plancalc::periodcolumn] - 1)], stakes);
        QCOMPARE(t.prizes[size_t(row[plancalc::periodcolumn] - 1)], row[plancalc::prizecolumn]);
    }
    QCOMPARE(odds::bustcost(t), stakes);
    QCOMPARE(table.back()[plancalc::totalcolumn], stakes + 1000);
}

void TestOdds::theplanlengths()
{
    // Two finished plans of three periods at most, the longest three long.
    const odds::figures f = odds::figuresof(250, odds::fromplanner(*plancalc::calculate({0, 20, 500, 1040, 3})), 500,
                                            1040, 2, 3);
    QCOMPARE(f.hit, 0.25);
    QCOMPARE(f.bust, 0.75 * 0.75 * 0.75);
    QCOMPARE(f.expectedbusts, 2 * 0.421875);
    QCOMPARE(f.longestatleast, 0.75 * 0.75); // lasting 3 periods: missing the first two
    QCOMPARE(f.longestanywhere, 1 - (1 - 0.5625) * (1 - 0.5625));
    QCOMPARE(odds::lastsatleast(250, 1), 1.0);

    const std::vector<double> expected = odds::expectedlengths(250, 3, 2);
    QCOMPARE(expected.size(), size_t(3));
    QCOMPARE(expected[0], 2 * 0.25);
    QCOMPARE(expected[1], 2 * 0.75 * 0.25);
    QCOMPARE(expected[2], 2 * 0.75 * 0.75); // the last length holds the busts as well
    QVERIFY(odds::expectedlengths(250, 0, 2).empty());
}

void TestOdds::tinychancesoverplans()
{
    // 1 - (1 - 1e-20)^1e6 rounds to 0 when worked out as written.
    QCOMPARE(odds::atleastonce(1e-20, 1000000), 1e-14);
    QCOMPARE(odds::atleastonce(0.5, 2), 0.75);
    QCOMPARE(odds::atleastonce(1, 3), 1.0);
    QCOMPARE(odds::atleastonce(0.3, 0), 0.0);
}

void TestOdds::unequalcolumnsfail()
{
    QVERIFY_THROWS_EXCEPTION(AppError, odds::expectedplanresult(250, odds::plantable{{100, 300}, {100}, {250, 750}}));
    QVERIFY_THROWS_EXCEPTION(AppError, odds::expectedplanresult(250, odds::plantable{{100}, {100}, {}}));
}

void TestOdds::chancetext_data()
{
    QTest::addColumn<double>("chance");
    QTest::addColumn<QString>("text");
    QTest::newRow("a bust at 11 periods") << std::pow(0.75, 11) << u"4.22%（约1/24）"_s;
    QTest::newRow("half") << 0.5 << u"50.00%"_s;
    QTest::newRow("tiny") << 1e-5 << u"0.001%（约1/100000）"_s;
    QTest::newRow("far too tiny for a whole count") << 1e-20 << u"1e-18%（约1/1e+20）"_s;
    QTest::newRow("none") << 0.0 << u"0.00%"_s;
    QTest::newRow("rounds down") << 0.99994 << u"99.99%"_s;
    QTest::newRow("would round to certain") << 0.999996 << u"超过99.99%"_s;
    QTest::newRow("all but certain") << 1 - 1e-12 << u"超过99.99%"_s;
    QTest::newRow("certain") << 1.0 << u"100.00%"_s;
}

void TestOdds::chancetext()
{
    QFETCH(double, chance);
    QFETCH(QString, text);
    QCOMPARE(odds::chancetext(chance), text);
}

QTEST_GUILESS_MAIN(TestOdds)
#include "test_odds.moc"
