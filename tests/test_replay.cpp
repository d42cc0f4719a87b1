// The replay against hand-worked plans and money, and against the main window
// itself, driven press by press over seeded random histories.
#include "app/u_main.h"
#include "replay/chartdata.h"
#include "replay/report.h"
#include "tests/checks.h"
#include "tests/windowtest.h"
#include "toolkit/radiogroup.h"
#include "toolkit/stringgrid.h"

#include <QJsonDocument>
#include <QJsonObject>
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
    return plancalc::decide({0, 20, stake, 1040, days}).table;
}

// The run the window and the command line would prepare from these boxes.
replay::runinfo infoof(const QString &stake, const QString &days, const QString &bankroll = {})
{
    replay::request given;
    given.stake = stake;
    given.periods = days;
    given.bankroll = bankroll;
    return std::get<replay::runinfo>(replay::prepare(given));
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
    void bankroll_data();
    void bankroll();
    void drawdown();
    void prepares_data();
    void prepares();
    void thelongestbeyondthecap();
    void refuses_data();
    void refuses();
    void thesummaryopenswiththerisk();
    void moneyreads_data();
    void moneyreads();
    void labelsstaytext();
    void csvkeepsformulasout();
    void jsoncarrieseverykey();
    void nothingtobeton();
    void countslengthsasseen();
    void lengthbars_data();
    void lengthbars();
    void thechartkeepseverydip();
    void cancels();
    void equalsaskingtherulesateverydraw_data() { equalsdrivingthemainwindow_data(); }
    void equalsaskingtherulesateverydraw();
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
        multiples.append(row[plancalc::multiplecolumn]);
        stakes.append(row[plancalc::stakecolumn]);
        prizes.append(row[plancalc::prizecolumn]);
    }
    QCOMPARE(multiples, (QList<qint64>{1, 2, 5, 11, 26}));
    QCOMPARE(stakes, (QList<qint64>{500, 1000, 2500, 5500, 13000}));
    QCOMPARE(prizes, (QList<qint64>{1040, 2080, 5200, 11440, 27040}));
    QCOMPARE(three[1][plancalc::multiplecolumn], qint64(1));
    QCOMPARE(plancalc::longestfeasible({0, 20, 500, 1040, 0}, 80), qint64(11));
    QCOMPARE(plancalc::longestfeasible({0, 20, 250, 1040, 0}, 80), qint64(29));
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
    const history::parsed open = history::parse(worked.mid(0, 3).join(u'\n').toUtf8());
    const replay::runinfo info = infoof(u"500"_s, u"5"_s);
    out = replay::run(open.history, info.how, info.table);
    QVERIFY(out.open());
    QCOMPARE(out.open()->staked, qint64(1500));
    QCOMPARE(out.finished(), qint64(0));
    QVERIFY(!out.longest());
    const QStringList summary = replay::summarylines({open, info, out});
    QVERIFY2(summary.contains(u"未结束的计划：已投2期，投入1,500元；下一期是它的第3期，倍数5，投注2,500元"_s),
             qPrintable(summary.join(u'\n')));
    QVERIFY(summary.contains(u"资金：总投入1,500元，总奖金0元，总盈亏-1,500元"_s));
}

void TestReplay::bankroll_data()
{
    QTest::addColumn<qint64>("bankroll");
    QTest::addColumn<qint64>("atbet");  // 0: never ran out
    QTest::addColumn<qint64>("result"); // the running result where it stopped, or at the end
    QTest::addColumn<QStringList>("plans");
    // The worked sequence stakes 500, 1000, 2500, 5500 and hits at the fourth.
    QTest::newRow("enough for the whole plan") << qint64(9500) << qint64(0) << qint64(1940) << QStringList{u"1:4:hit"_s};
    // 9499 + (-4000) = 5499 < 5500: the fourth stake cannot be paid.
    QTest::newRow("one short of the fourth stake") << qint64(9499) << qint64(4) << qint64(-4000)
                                                   << QStringList{u"1:3:open"_s};
    QTest::newRow("not even the first stake") << qint64(499) << qint64(1) << qint64(0) << QStringList{};
    QTest::newRow("exactly the first stake") << qint64(500) << qint64(2) << qint64(-500) << QStringList{u"1:1:open"_s};
}

void TestReplay::bankroll()
{
    QFETCH(qint64, bankroll);
    QFETCH(qint64, atbet);
    QFETCH(qint64, result);
    QFETCH(QStringList, plans);
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    const history::parsed read = history::parse(worked.join(u'\n').toUtf8());
    const replay::runinfo info = infoof(u"500"_s, u"5"_s, QString::number(bankroll));
    const replay::outcome out = replay::run(read.history, info.how, info.table, info.bankroll);
    QCOMPARE(planlines(out), plans);
    QCOMPARE(out.broke.has_value(), atbet > 0);
    if (atbet > 0) {
        QCOMPARE(out.broke->bet, atbet);
        QCOMPARE(out.broke->result, result);
        QCOMPARE(out.broke->stake, tableof(500, 5)[size_t(out.broke->period - 1)][plancalc::stakecolumn]);
        QCOMPARE(out.bets(), atbet - 1); // the table ends there
        const QStringList summary = replay::summarylines({read, info, out});
        const QString stop = u"■ 本金用完：第"_s + QString::number(atbet) + u"次投注（开奖"_s
                             + read.history.name(out.broke->draw) + u"，计划第"_s;
        QVERIFY2(std::any_of(summary.begin(), summary.end(), [&](const QString &line) { return line.startsWith(stop); }),
                 qPrintable(summary.join(u'\n')));
    } else {
        QCOMPARE(out.result(), result);
    }
}

void TestReplay::drawdown()
{
    // 305 hits 百十位奇偶 at once (+540); the plan made from 305 is the same, so
    // the worked sequence follows: a bust of three (500 + 1000 + 2500), then a
    // hit whose stake is out before its prize. The fall from the peak 540 to
    // -3960 is 4500, while the lowest point is -3960.
    const QStringList draws{u"385"_s, u"305"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    const replay::outcome out = replay::run(drawsof(draws), {}, tableof(500, 3));
    QCOMPARE(planlines(out), (QStringList{u"1:1:hit"_s, u"2:3:bust"_s, u"5:1:hit"_s}));
    QCOMPARE(out.running, (std::vector<qint64>{540, 40, -960, -3460, -2920}));
    QCOMPARE(out.lowest, qint64(-3960));
    QCOMPARE(out.drawdown, qint64(4500));
    QCOMPARE(out.deepest, qint64(3));
}

void TestReplay::prepares_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("days");
    QTest::addColumn<qint64>("used");
    QTest::addColumn<qint64>("longest");
    QTest::newRow("two positions, the longest") << 0 << QString() << qint64(11) << qint64(11);
    QTest::newRow("three positions, the longest") << 1 << QString() << qint64(29) << qint64(29);
    QTest::newRow("a shorter count") << 0 << u"5"_s << qint64(5) << qint64(11);
}

void TestReplay::prepares()
{
    QFETCH(int, type);
    QFETCH(QString, days);
    QFETCH(qint64, used);
    QFETCH(qint64, longest);
    replay::request given;
    given.how.type = kind(type);
    given.periods = days;
    const replay::runinfo info = std::get<replay::runinfo>(replay::prepare(given));
    QCOMPARE(info.in.inofsin, qint64(type == 0 ? 500 : 250));
    QCOMPARE(info.in.days, used);
    QCOMPARE(info.longest, longest);
    QCOMPARE(qint64(info.table.size()), used);
    QCOMPARE(info.table, tableof(info.in.inofsin, used));
    QVERIFY(!info.bankroll);
    QCOMPARE(info.simulations, qint64(10000));
}

void TestReplay::thelongestbeyondthecap()
{
    // No profit asked: the table goes on well past 80 periods, and a count past
    // 80 is measured against the table's real end, not against 80.
    replay::request given;
    given.profit = u"0"_s;
    given.stake = u"100"_s;
    given.periods = u"90"_s;
    const replay::runinfo info = std::get<replay::runinfo>(replay::prepare(given));
    QVERIFY2(info.longest >= 90, qPrintable(QString::number(info.longest)));
    plancalc::inputs in = info.in;
    in.days = info.longest;
    QCOMPARE(plancalc::decide(in).outcome, plancalc::verdict::table);
    in.days = info.longest + 1;
    QCOMPARE(plancalc::decide(in).outcome, plancalc::verdict::toolarge);
    given.periods = QString::number(info.longest + 1);
    const replay::refusal no = std::get<replay::refusal>(replay::prepare(given));
    QCOMPARE(no.text, u"按这些设置所需倍数太大，最多可投注"_s + QString::number(info.longest) + u"期。"_s);
}

void TestReplay::refuses_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("field"); // -1: no field
    QTest::addColumn<QString>("message");
    QTest::newRow("stake 0") << u"stake"_s << u"0"_s << int(replay::field::stake) << u"必须是大于0的整数"_s;
    QTest::newRow("prize 0") << u"prize"_s << u"0"_s << int(replay::field::prize) << u"必须是大于0的整数"_s;
    QTest::newRow("negative loss") << u"loss"_s << u"-1"_s << int(replay::field::loss) << u"必须是不小于0的整数"_s;
    QTest::newRow("profit not a number") << u"profit"_s << u"2O"_s << int(replay::field::profit)
                                         << u"必须是不小于0的整数"_s;
    QTest::newRow("periods 0") << u"periods"_s << u"0"_s << int(replay::field::periods)
                               << u"必须是1到1000000之间的整数"_s;
    QTest::newRow("periods too many to lay out") << u"periods"_s << u"1000001"_s << int(replay::field::periods)
                                                 << u"必须是1到1000000之间的整数"_s;
    QTest::newRow("periods beyond the table") << u"periods"_s << u"12"_s << -1
                                              << u"按这些设置所需倍数太大，最多可投注11期。"_s;
    QTest::newRow("no period at all") << u"profit"_s << u"500000"_s << -1
                                      << u"按这些设置所需倍数太大，一期也无法投注。"_s;
    QTest::newRow("bankroll 0") << u"bankroll"_s << u"0"_s << int(replay::field::bankroll) << u"必须是大于0的整数"_s;
    QTest::newRow("too many simulations") << u"simulations"_s << u"1000001"_s << int(replay::field::simulations)
                                          << u"必须是0到1000000之间的整数"_s;
    QTest::newRow("negative seed") << u"seed"_s << u"-5"_s << int(replay::field::seed) << u"必须是不小于0的整数"_s;
}

void TestReplay::refuses()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(QString, message);
    replay::request given;
    QString *boxes[] = {&given.loss, &given.profit, &given.stake, &given.prize, &given.periods, &given.bankroll,
                        &given.simulations, &given.seed};
    const QStringList names{u"loss"_s, u"profit"_s, u"stake"_s, u"prize"_s, u"periods"_s, u"bankroll"_s,
                            u"simulations"_s, u"seed"_s};
    *boxes[names.indexOf(box)] = text;
    const std::variant<replay::runinfo, replay::refusal> prepared = replay::prepare(given);
    QVERIFY(std::holds_alternative<replay::refusal>(prepared));
    const replay::refusal &no = std::get<replay::refusal>(prepared);
    QCOMPARE(no.what ? int(*no.what) : -1, field);
    QCOMPARE(no.text, message);
}

void TestReplay::thesummaryopenswiththerisk()
{
    // Forty draws with no bust: a profit, and still the cost of one bust first.
    QRandomGenerator random(40);
    QStringList draws;
    for (int i = 0; i < 40; ++i)
        draws.append(QString::number(random.bounded(1000)).rightJustified(3, u'0'));
    const history::parsed read = history::parse(draws.join(u'\n').toUtf8());
    const replay::runinfo info = infoof(u"500"_s, QString());
    const replay::outcome out = replay::run(read.history, info.how, info.table);
    const std::vector<replay::summaryline> lines = replay::summary({read, info, out});
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines[0].text, u"随机开奖下，每投入100元平均收回52元"_s);
    QVERIFY(lines[0].strong);
    QVERIFY2(lines[1].text.startsWith(u"一个计划11期全部未中即爆仓，亏损3,951,000元"_s), qPrintable(lines[1].text));
    QVERIFY(lines[1].strong);
    QVERIFY2(lines[2].text.startsWith(u"随机开奖下平均每个计划盈亏约-"_s), qPrintable(lines[2].text));
    QVERIFY(lines[2].text.contains(u"本段历史"_s));
    // The plain lines mark what stands out.
    QVERIFY(replay::summarylines({read, info, out}).first().startsWith(u"■ "_s));
}

void TestReplay::moneyreads_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("money");
    QTest::addColumn<QString>("axis");
    QTest::newRow("zero") << qint64(0) << u"0元"_s << u"0"_s;
    QTest::newRow("hundreds") << qint64(-500) << u"-500元"_s << u"-500"_s;
    QTest::newRow("thousands") << qint64(3951000) << u"3,951,000元"_s << u"395.1万"_s;
    QTest::newRow("ten thousand") << qint64(10000) << u"10,000元"_s << u"1万"_s;
    QTest::newRow("billions") << qint64(-40000000000) << u"-40,000,000,000元"_s << u"-400亿"_s;
    QTest::newRow("the largest") << std::numeric_limits<qint64>::max() << u"9,223,372,036,854,775,807元"_s
                                 << u"92233720368.55亿"_s;
    QTest::newRow("the smallest") << std::numeric_limits<qint64>::min() << u"-9,223,372,036,854,775,808元"_s
                                  << u"-92233720368.55亿"_s;
}

void TestReplay::moneyreads()
{
    QFETCH(qint64, value);
    QFETCH(QString, money);
    QFETCH(QString, axis);
    QCOMPARE(replay::moneytext(value), money);
    QCOMPARE(replay::axistext(double(value)), axis);
}

void TestReplay::labelsstaytext()
{
    // A label that looks like a placeholder is shown as it was written.
    const history::parsed read = history::parse(QByteArray("%1期 385\n%L2 472\n%3 391\n%4 258\n%5 412\n"));
    const replay::runinfo info = infoof(u"500"_s, u"5"_s);
    const replay::outcome out = replay::run(read.history, info.how, info.table);
    const QString summary = replay::summarylines({read, info, out}).join(u'\n');
    QVERIFY2(summary.contains(u"最长计划：4期（%L2至%5）"_s), qPrintable(summary));
    QCOMPARE(replay::cellof(read.history, out, 0, replay::tablecolumn::first), u"%L2"_s);
    QCOMPARE(replay::cellof(read.history, out, 0, replay::tablecolumn::ending), u"中出于%5"_s);
}

void TestReplay::csvkeepsformulasout()
{
    const history::parsed read = history::parse(QByteArray("a 385\n=1+1 472\n-2 391\n@x 258\n+3 412\n"));
    const replay::runinfo info = infoof(u"500"_s, u"5"_s);
    const replay::outcome out = replay::run(read.history, info.how, info.table, std::nullopt);
    const QList<QByteArray> lines = replay::csvlines(read.history, out);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QByteArray("\xEF\xBB\xBF") + u"编号,首期开奖,期数,结果,投入,奖金,盈亏"_s.toUtf8());
    // Number cells stay numbers; the labels cannot run as formulas.
    QCOMPARE(lines[1], u"1,'=1+1,4,中出于+3,9500,11440,1940"_s.toUtf8());
}

void TestReplay::jsoncarrieseverykey()
{
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s, u"385"_s};
    const history::parsed read = history::parse(worked.join(u'\n').toUtf8());
    const replay::runinfo info = infoof(u"500"_s, u"5"_s, u"20000"_s);
    const replay::outcome out = replay::run(read.history, info.how, info.table, info.bankroll);
    const QJsonObject json = QJsonDocument::fromJson(replay::json({read, info, out})).object();
    const QStringList keys{u"draws"_s, u"bets"_s, u"type"_s, u"mode"_s, u"positions"_s, u"reversed"_s, u"order"_s,
                           u"settings"_s, u"plans"_s, u"money"_s, u"open_plan"_s, u"bankroll"_s, u"odds"_s,
                           u"simulation"_s};
    QCOMPARE(QStringList(json.keys()).size(), keys.size());
    for (const QString &key : keys)
        QVERIFY2(json.contains(key), qPrintable(key));
    QCOMPARE(json[u"draws"_s].toInteger(), 6);
    QCOMPARE(json[u"bets"_s].toInteger(), 5);
    QCOMPARE(json[u"type"_s].toInteger(), 2);
    QCOMPARE(json[u"mode"_s].toString(), u"oddeven"_s);
    QCOMPARE(json[u"positions"_s].toString(), u"back"_s);
    QCOMPARE(json[u"order"_s].toString(), u"file"_s);
    const QJsonObject settings = json[u"settings"_s].toObject();
    QCOMPARE(settings[u"periods"_s].toInteger(), 5);
    QCOMPARE(settings[u"longest"_s].toInteger(), 11);
    QCOMPARE(settings[u"bankroll"_s].toInteger(), 20000);
    const QJsonObject money = json[u"money"_s].toObject();
    QCOMPARE(money[u"staked"_s].toInteger(), 10000);
    QCOMPARE(money[u"result"_s].toInteger(), 1440);
    QCOMPARE(money[u"bust_cost"_s].toInteger(), 22500);
    QCOMPARE(money.keys().size(), 8);
    const QJsonObject open = json[u"open_plan"_s].toObject();
    QCOMPARE(open[u"next_period"_s].toInteger(), 2);
    QCOMPARE(open[u"next_multiple"_s].toInteger(), 2);
    QCOMPARE(json[u"bankroll"_s].toObject()[u"exhausted"_s].toBool(), false);
    QVERIFY(json[u"bankroll"_s].toObject()[u"at_bet"_s].isNull());
    QCOMPARE(json[u"odds"_s].toObject()[u"return_per_100"_s].toDouble(), 52.0);
    // Without a simulation its keys are null.
    const QJsonObject simulation = json[u"simulation"_s].toObject();
    QCOMPARE(simulation.keys().size(), 9);
    for (const QString &key : simulation.keys())
        QVERIFY2(simulation[key].isNull(), qPrintable(key));
}

void TestReplay::nothingtobeton()
{
    // One draw starts a two-position plan but bets on nothing; three positions need two.
    for (const QStringList &draws : {QStringList(), QStringList{u"385"_s}})
        QVERIFY(replay::run(drawsof(draws), {}, tableof(500, 5)).plans.empty());
    QVERIFY(replay::run(drawsof({u"385"_s, u"472"_s}), {kind::three, mode::oddeven}, tableof(250, 5)).plans.empty());
    QCOMPARE(replay::run(drawsof({u"385"_s, u"472"_s}), {}, tableof(500, 5)).plans.size(), size_t(1));
}

void TestReplay::countslengthsasseen()
{
    const QStringList worked{u"385"_s, u"472"_s, u"391"_s, u"258"_s, u"412"_s};
    const replay::runinfo info = infoof(u"500"_s, u"3"_s);
    const replay::outcome out = replay::run(drawsof(worked), info.how, info.table);
    // Plans of each length as seen: a bust at 3, then a hit at 1.
    QCOMPARE(replay::observedlengths(out, 3), (std::vector<qint64>{1, 0, 1}));
    QCOMPARE(out.finished(), qint64(2));
    QCOMPARE(out.longest()->periods, 3);
}

void TestReplay::lengthbars_data()
{
    QTest::addColumn<qint64>("days");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("thirtyfirst"); // the label of bar 31, if any
    QTest::newRow("few lengths, one bar each") << qint64(11) << 11 << QString();
    QTest::newRow("forty") << qint64(40) << 40 << u"31"_s;
    QTest::newRow("forty-one groups the long ones") << qint64(41) << 40 << u"31"_s;
    QTest::newRow("a million") << qint64(1000000) << 40 << u"31-111137"_s;
}

void TestReplay::lengthbars()
{
    QFETCH(qint64, days);
    QFETCH(int, bars);
    QFETCH(QString, thirtyfirst);
    // Plans of length 1, 2, 35, N (hit), N (bust) and an open one.
    replay::outcome out;
    for (const qint64 length : {qint64(1), qint64(2), std::min<qint64>(35, days - 1), days, days})
        out.plans.push_back({0, qint32(length), replay::ending::hit});
    out.plans.back().end = replay::ending::bust;
    out.plans.push_back({0, 3, replay::ending::open});
    out.hits = 4;
    out.busts = 1;
    const std::vector<double> expected(size_t(days), 1.0);
    const std::vector<replay::lengthbar> got = replay::lengthbars(out, days, expected);
    QCOMPARE(int(got.size()), bars);
    // The bars cover 1 to N without a gap, N alone in the last one.
    qint64 next = 1, hits = 0;
    double total = 0;
    for (const replay::lengthbar &bar : got) {
        QCOMPARE(bar.from, next);
        QVERIFY(bar.to >= bar.from);
        next = bar.to + 1;
        hits += bar.hits;
        total += bar.expected;
    }
    QCOMPARE(next, days + 1);
    QCOMPARE(got.back().from, days);
    QCOMPARE(got.back().hits, qint64(1));
    QCOMPARE(got.back().busts, qint64(1));
    QCOMPARE(hits, qint64(4));
    QCOMPARE(total, double(days));
    if (!thirtyfirst.isEmpty())
        QCOMPARE(got[30].label, thirtyfirst);
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
    // It ends at the last bet, where the summary's result is.
    QCOMPARE(points.back().bet, qint64(running.size()));
    QCOMPARE(points.back().result, running.back());
    QCOMPARE(replay::chartline({5, -3}, 200).size(), size_t(3)); // short: every bet
}

void TestReplay::cancels()
{
    QStringList draws;
    for (int i = 0; i < 200000; ++i)
        draws.append(u"385"_s);
    const replay::outcome out = replay::run(drawsof(draws), {}, tableof(500, 5), std::nullopt,
                                            [](qint64 done, qint64) { return done < 100000; });
    QVERIFY(out.cancelled);
    QVERIFY(out.bets() < 199999);
}

void TestReplay::equalsaskingtherulesateverydraw()
{
    // The replay looks each answer up once it has one; asked afresh at every
    // draw over a long history, the rules give the same plans.
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    QStringList draws;
    for (int i = 0; i < 20000; ++i)
        draws.append(QString::number(random.bounded(1000)).rightJustified(3, u'0'));
    const auto k = kind(type);
    const auto m = planrules::mode(mode);
    const qint64 days = 4, start = type == 0 ? 1 : 2;
    QStringList asked;
    std::optional<planrules::plan> current = planrules::nextplan(k, m, std::nullopt, draws[0], draws[start - 1]);
    qint64 first = start, periods = 0;
    for (qint64 d = start; d < draws.size(); ++d) {
        ++periods;
        std::optional<planrules::plan> next = planrules::nextplan(k, m, current, draws[d - 1], draws[d]);
        if (next && periods < days) {
            current = std::move(next);
            continue;
        }
        asked.append(planline(first, periods, next ? ending::bust : ending::hit));
        current = planrules::nextplan(k, m, std::nullopt, draws[d - 1], draws[d]);
        first = d + 1;
        periods = 0;
    }
    if (periods > 0)
        asked.append(planline(first, periods, ending::open));
    const replay::outcome out = replay::run(drawsof(draws), {k, m}, tableof(type == 0 ? 500 : 250, days));
    QCOMPARE(planlines(out), asked);
}

void TestReplay::equalsdrivingthemainwindow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<quint32>("seed");
    for (int type = 0; type < 2; ++type)
        for (int mode = 0; mode < 2; ++mode)
            for (quint32 seed : {7u, 2026u})
                QTest::newRow(qPrintable(u"%1 %2 seed %3"_s.arg(replay::kindname(kind(type)),
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
