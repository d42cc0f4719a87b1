// The replay against hand-worked plans and money, and against the main window
// itself, driven press by press over seeded random histories.
#include "app/u_main.h"
#include "replay/report.h"
#include "tests/checks.h"
#include "tests/windowtest.h"
#include "toolkit/radiogroup.h"
#include "toolkit/stringgrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using planrules::kind;
using planrules::mode;
using replay::ending;

namespace {

history::Thistory drawsof(const QStringList &draws)
{
    const history::parsed p = history::parse(draws.join(u'\n').toUtf8());
    return p.history;
}

plancalc::plantabletype tableof(qint64 stake, qint64 days)
{
    return *replay::plannertable({0, 20, stake, 1040, days});
}

// One plan as "first draw:periods:ending", so a whole replay compares in one list.
QString planline(qint64 first, qint64 periods, ending end)
{
    static const char *const names[] = {"hit", "bust", "open"};
    return u"%1:%2:%3"_s.arg(first).arg(periods).arg(QLatin1StringView(names[int(end)]));
}

QStringList planlines(const replay::outcome &out)
{
    QStringList lines;
    for (const replay::planresult &p : out.plans)
        lines.append(planline(p.first, p.periods, p.end));
    return lines;
}

} // namespace

class TestReplay : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_seams.emplace(); }
    void cleanup() { RELEASESEAMS(m_seams); }

    void thetablesthefixturesuse();
    void replays_data();
    void replays();
    void money();
    void nothingtobeton();
    void theodds();
    void thechartkeepseverydip();
    void cancels();
    void equalsdrivingthemainwindow_data();
    void equalsdrivingthemainwindow();

private:
    std::optional<Tquietseams> m_seams;
};

void TestReplay::thetablesthefixturesuse()
{
    // Worked out by hand from the planner's rule (the smallest multiple whose
    // profit rate reaches 20 %).
    const plancalc::plantabletype two = tableof(500, 5), three = tableof(250, 2);
    QList<qint64> multiples, stakes, prizes;
    for (const plancalc::planrow &row : two) {
        multiples.append(row[1]);
        stakes.append(row[2]);
        prizes.append(row[4]);
    }
    QCOMPARE(multiples, (QList<qint64>{1, 2, 5, 11, 26}));
    QCOMPARE(stakes, (QList<qint64>{500, 1000, 2500, 5500, 13000}));
    QCOMPARE(prizes, (QList<qint64>{1040, 2080, 5200, 11440, 27040}));
    QCOMPARE(three[1][1], qint64(1));
    QCOMPARE(replay::longestdays({0, 20, 500, 1040, 0}), qint64(11));
    QCOMPARE(replay::longestdays({0, 20, 250, 1040, 0}), qint64(29));
}

void TestReplay::replays_data()
{
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("days");
    QTest::addColumn<QStringList>("plans");
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    // The main window's worked sequence: 百十位奇偶, 偶奇, 十个位奇奇, 百十位偶奇, then 412 hits.
    QTest::newRow("two positions, a hit at the fourth period") << worked << 0 << 0 << qint64(5)
                                                               << QStringList{u"1:4:hit"_s};
    // Three misses bust; the next plan starts from 258 (百十位偶奇), which 412 hits.
    QTest::newRow("two positions, a bust and then a hit") << worked << 0 << 0 << qint64(3)
                                                          << QStringList{u"1:3:bust"_s, u"4:1:hit"_s};
    QTest::newRow("two positions, an open plan") << worked.mid(0, 3) << 0 << 0 << qint64(5)
                                                 << QStringList{u"1:2:open"_s};
    // 百十位小大 from 385, which 472 hits; 百十位小大 again from 472, which 391 hits.
    QTest::newRow("two positions, big/small") << QStringList{u"385"_s, u"472"_s, u"391"_s} << 0 << 1 << qint64(5)
                                              << QStringList{u"1:1:hit"_s, u"2:1:hit"_s};
    // 百十个位奇偶奇 from 385 472; 390 misses; 偶奇偶 from 472 390, which 816 hits.
    // The next plan is made from 390 and 816 (奇奇偶), which 130 hits at once.
    QTest::newRow("three positions") << QStringList{u"385"_s, u"472"_s, u"390"_s, u"816"_s, u"130"_s} << 1 << 0
                                     << qint64(2) << QStringList{u"2:2:hit"_s, u"4:1:hit"_s};
    QTest::newRow("three positions, a bust") << QStringList{u"385"_s, u"472"_s, u"390"_s, u"817"_s, u"130"_s} << 1
                                             << 0 << qint64(2) << QStringList{u"2:2:bust"_s, u"4:1:hit"_s};
}

void TestReplay::replays()
{
    QFETCH(QStringList, draws);
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(qint64, days);
    QFETCH(QStringList, plans);
    const replay::outcome out =
        replay::run(drawsof(draws), {kind(type), planrules::mode(mode)}, tableof(type == 0 ? 500 : 250, days));
    QCOMPARE(planlines(out), plans);
    // Every draw after the start is bet on.
    QCOMPARE(out.bets(), qint64(draws.size() - (type == 0 ? 1 : 2)));
}

void TestReplay::money()
{
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    // The hit at period 4: stakes 500 + 1000 + 2500 + 5500, the prize of row 4.
    replay::outcome out = replay::run(drawsof(worked), {}, tableof(500, 5));
    QCOMPARE(out.plans[0].staked, qint64(9500));
    QCOMPARE(out.plans[0].won, qint64(11440));
    QCOMPARE(out.plans[0].result(), qint64(1940));
    QCOMPARE(out.running, (std::vector<qint64>{-500, -1500, -4000, 1940}));
    QCOMPARE(out.lowest, qint64(-9500)); // the fourth stake is out before the prize comes in
    QCOMPARE(out.largeststake, qint64(5500));
    QCOMPARE(out.largestplancash, qint64(9500));
    QCOMPARE(out.result(), qint64(1940));

    // A bust loses rows 1 to 3; the next plan hits at once.
    out = replay::run(drawsof(worked), {}, tableof(500, 3));
    QCOMPARE(out.plans[0].staked, qint64(4000));
    QCOMPARE(out.plans[0].won, qint64(0));
    QCOMPARE(out.plans[1].result(), qint64(540));
    QCOMPARE(out.staked, qint64(4500));
    QCOMPARE(out.won, qint64(1040));
    QCOMPARE(out.running, (std::vector<qint64>{-500, -1500, -4000, -3460}));
    QCOMPARE(out.lowest, qint64(-4500));
    QCOMPARE(out.hits, qint64(1));
    QCOMPARE(out.busts, qint64(1));
    QCOMPARE(out.largestplancash, qint64(4000));

    // An open plan counts its stakes but no ending; the summary names its next bet.
    const history::Thistory open = drawsof(worked.mid(0, 3));
    const replay::runinfo info{{}, {0, 20, 500, 1040, 5}, 11, tableof(500, 5)};
    out = replay::run(open, info.how, info.table);
    QVERIFY(out.open());
    QCOMPARE(out.open()->staked, qint64(1500));
    QCOMPARE(out.finished(), qint64(0));
    QVERIFY(!out.longest());
    const QStringList summary = replay::summarylines(open, info, out);
    QVERIFY2(summary.contains(u"未结束的计划：已投2期，投入1500；下一期是它的第3期，倍数5，投注2500"_s),
             qPrintable(summary.join(u'\n')));
    QVERIFY(summary.contains(u"资金：总投入1500，总奖金0，总盈亏-1500"_s));
}

void TestReplay::nothingtobeton()
{
    // One draw starts a two-position plan but bets on nothing; three positions need two.
    for (const QStringList &draws : {QStringList(), QStringList{u"385"_s}})
        QVERIFY(replay::run(drawsof(draws), {}, tableof(500, 5)).plans.empty());
    QVERIFY(replay::run(drawsof({u"385"_s, u"472"_s}), {kind::three, mode::oddeven}, tableof(250, 5)).plans.empty());
    QCOMPARE(replay::run(drawsof({u"385"_s, u"472"_s}), {}, tableof(500, 5)).plans.size(), size_t(1));
}

void TestReplay::theodds()
{
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    const replay::runinfo info{{}, {0, 20, 500, 1040, 3}, 11, tableof(500, 3)};
    const replay::outcome out = replay::run(drawsof(worked), info.how, info.table);
    const replay::odds o = replay::oddsof(info, out);
    QCOMPARE(o.hit, 0.25);
    QCOMPARE(o.bust, 0.75 * 0.75 * 0.75);
    QCOMPARE(o.expectedbusts, 2 * 0.421875);
    QCOMPARE(o.longestatleast, 0.75 * 0.75); // lasting 3 periods: missing the first two
    QCOMPARE(o.longestanywhere, 1 - (1 - 0.5625) * (1 - 0.5625));
    // Plans of each length as seen, and as random draws would give them.
    QCOMPARE(replay::observedlengths(out, 3), (std::vector<qint64>{1, 0, 1}));
    const std::vector<double> expected = replay::expectedlengths(info, out);
    QCOMPARE(expected.size(), size_t(3));
    QCOMPARE(expected[0], 2 * 0.25);
    QCOMPARE(expected[1], 2 * 0.75 * 0.25);
    QCOMPARE(expected[2], 2 * 0.75 * 0.75); // the last length holds the busts as well
}

void TestReplay::thechartkeepseverydip()
{
    std::vector<qint64> running(10000);
    for (size_t i = 0; i < running.size(); ++i)
        running[i] = qint64(i % 7);
    running[4321] = -999;
    running[8765] = 999;
    const std::vector<replay::chartpoint> points = replay::chartline(running, 200);
    QVERIFY(points.size() <= 202);
    QCOMPARE(points.front().bet, qint64(0));
    bool low = false, high = false;
    for (size_t i = 1; i < points.size(); ++i) {
        QVERIFY(points[i].bet > points[i - 1].bet);
        QCOMPARE(points[i].result, running[size_t(points[i].bet - 1)]);
        low = low || points[i].result == -999;
        high = high || points[i].result == 999;
    }
    QVERIFY(low && high);
    QCOMPARE(replay::chartline({5, -3}, 200).size(), size_t(3)); // short: every bet
}

void TestReplay::cancels()
{
    QStringList draws;
    for (int i = 0; i < 200000; ++i)
        draws.append(u"385"_s);
    const replay::outcome out = replay::run(drawsof(draws), {}, tableof(500, 5),
                                            [](qint64 done, qint64) { return done < 100000; });
    QVERIFY(out.cancelled);
    QVERIFY(out.bets() < 199999);
}

void TestReplay::equalsdrivingthemainwindow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<quint32>("seed");
    for (int type = 0; type < 2; ++type)
        for (int mode = 0; mode < 2; ++mode)
            for (quint32 seed : {7u, 2026u})
                QTest::newRow(qPrintable(u"%1 %2 seed %3"_s.arg(replay::typename_(kind(type)),
                                                               replay::modename(planrules::mode(mode)))
                                             .arg(seed)))
                    << type << mode << seed;
}

void TestReplay::equalsdrivingthemainwindow()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(quint32, seed);
    // Short plans bust often, so busts, hits and the open end all occur.
    const qint64 days = 4;
    QRandomGenerator random(seed);
    QStringList draws;
    for (int i = 0; i < 300; ++i)
        draws.append(QString::number(random.bounded(1000)).rightJustified(3, u'0'));

    Tfrmmain window;
    findcontrol<Tradiogroup>(&window, "opttype")->setitemindex(type);
    findcontrol<Tradiogroup>(&window, "optmode")->setitemindex(mode);
    auto *second = findcontrol<QLineEdit>(&window, "edtzuijingcode1");
    auto *latest = findcontrol<QLineEdit>(&window, "edtzuijingcode2");
    auto *generate = findcontrol<QPushButton>(&window, "btngencode");
    auto *newplan = findcontrol<QPushButton>(&window, "btnnewjihua");
    const Tstringgrid *log = findcontrol<Tstringgrid>(&window, "grdjihua");
    const qint64 start = type == 0 ? 1 : 2;

    // A new plan from draw d (and, for three positions, the one before it),
    // typed as a user does after "开始新计划".
    const auto beginplan = [&](qint64 d) {
        newplan->click();
        if (type == 1)
            second->setText(draws[d - 1]);
        latest->setText(draws[d]);
        generate->click();
    };
    QStringList pressed;
    qint64 first = start;
    beginplan(start - 1);
    for (qint64 d = start; d < draws.size(); ++d) {
        latest->setText(draws[d]);
        generate->click();
        const bool hit = takemessagetexts() == QStringList{u"号码已中出，计划结束"_s};
        const qint64 logged = log->rowcount() - 1;
        if (!hit && logged <= days)
            continue;
        pressed.append(planline(first, hit ? logged : days, hit ? ending::hit : ending::bust));
        beginplan(d);
        first = d + 1;
    }
    if (log->rowcount() - 1 > 1)
        pressed.append(planline(first, log->rowcount() - 2, ending::open));

    const replay::outcome out =
        replay::run(drawsof(draws), {kind(type), planrules::mode(mode)}, tableof(type == 0 ? 500 : 250, days));
    QCOMPARE(planlines(out), pressed);
    QVERIFY(out.hits > 10 && out.busts > 3);
}

QTEST_MAIN(TestReplay)
#include "test_replay.moc"
