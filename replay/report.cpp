#include "replay/report.h"

#include "replay/chartdata.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace replay {
namespace {

// Digits in groups of three, the sign in front.
QString grouped(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -quint64(value) : quint64(value));
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += u',';
        text += digits[i];
    }
    return value < 0 ? u'-' + text : text;
}

// A result with its sign, so a gain reads as one: "+51,100元".
QString signedmoney(qint64 value)
{
    return value > 0 ? u'+' + moneytext(value) : moneytext(value);
}

// A figure with at most two decimals, trailing zeros dropped: "52", "51.5".
QString decimal(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == u"-0"_s ? u"0"_s : text;
}

// A cell of user text that a spreadsheet would read as a formula is written
// with an apostrophe in front; quoting as CSV needs.
QString csvtext(QString text)
{
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
        text.prepend(u'\'');
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    text.replace(u'"', u"\"\""_s);
    return u'"' + text + u'"';
}

odds::figures figuresof(const findings &f)
{
    const planresult *longest = f.out.longest();
    return odds::figuresof(planrules::betcount(f.info.how.type), odds::fromplanner(f.info.table), f.info.in.inofsin,
                           f.info.in.outofsin, f.out.finished(), longest ? longest->periods : 0);
}

QString orderline(const history::parsed &read)
{
    if (read.history.reversed())
        return u"文件为新开奖在前，已按期号或日期倒转为按时间先后回测"_s;
    if (read.order == history::orderfrom::keys)
        return u"按期号或日期的先后回测"_s;
    return u"各行没有期号或日期，按文件中的先后回测（最早的在前）"_s;
}

} // namespace

QString kindname(planrules::kind type)
{
    return type == planrules::kind::two ? u"二码"_s : u"三码"_s;
}

QString modename(planrules::mode mode)
{
    return mode == planrules::mode::oddeven ? u"奇偶模式"_s : u"大小模式"_s;
}

QString lengthsline(const outcome &out, qint64 days)
{
    const std::vector<qint64> seen = observedlengths(out, days);
    QStringList parts;
    for (qint64 k = 0; k < qint64(seen.size()); ++k)
        if (seen[size_t(k)] > 0)
            parts.append(QString::number(k + 1) + u"期"_s + QString::number(seen[size_t(k)]) + u"个"_s);
    QString text = u"计划长度："_s + (parts.isEmpty() ? u"没有结束的计划"_s : parts.join(u'，'));
    if (out.busts > 0)
        text += u"（其中"_s + QString::number(days) + u"期爆仓"_s + QString::number(out.busts) + u"个）"_s;
    return text;
}

QString settingsline(const runinfo &info, const outcome &out)
{
    return kindname(info.how.type) + u' ' + modename(info.how.mode) + u"；前期亏损"_s + moneytext(info.in.prekui)
           + u"，预期利润"_s + QString::number(info.in.lirun) + u"%，单倍投入"_s + moneytext(info.in.inofsin)
           + u"，单注奖金"_s + moneytext(info.in.outofsin) + u"；投注期数"_s + QString::number(info.in.days)
           + u"（按这些设置最多可投注"_s + QString::number(info.longest) + u"期），本次最深投到第"_s
           + QString::number(out.deepest) + u"期；本金"_s + (info.bankroll ? moneytext(*info.bankroll) : u"不限"_s);
}

QString moneytext(qint64 value)
{
    return grouped(value) + u"元"_s;
}

QString axistext(double value)
{
    const double size = std::abs(value);
    if (size >= 1e8)
        return decimal(value / 1e8) + u"亿"_s;
    if (size >= 1e4)
        return decimal(value / 1e4) + u"万"_s;
    return grouped(qint64(std::llround(value)));
}

std::vector<summaryline> summary(const findings &f)
{
    const runinfo &info = f.info;
    const outcome &out = f.out;
    const history::Thistory &draws = f.read.history;
    const odds::figures o = figuresof(f);
    const qint64 days = info.in.days;
    std::vector<summaryline> lines;
    const auto say = [&lines](const QString &text, bool strong = false) { lines.push_back({text, strong}); };

    // The risk first, whatever this history did.
    say(u"随机开奖下，每投入100元平均收回"_s + decimal(o.returnper100.value_or(0)) + u"元"_s, true);
    say(u"一个计划"_s + QString::number(days) + u"期全部未中即爆仓，亏损"_s + moneytext(o.bustcost)
            + u"；随机开奖下每个计划爆仓的概率"_s + odds::chancetext(o.bust),
        true);
    say(u"随机开奖下平均每个计划盈亏约"_s + signedmoney(std::llround(o.expectedplan))
        + (out.finished() > 0 ? u"；本段历史"_s + QString::number(out.finished()) + u"个结束的计划平均每个盈亏约"_s
                                    + signedmoney(std::llround(out.meanresult()))
                              : u"；本段历史还没有结束的计划"_s));

    say(u"【开奖历史】"_s + QString::number(draws.size()) + u"期；"_s + orderline(f.read));
    if (!f.read.header.isEmpty())
        say(u"已跳过标题行："_s + f.read.header);
    if (f.read.fivedigit > 0)
        say(QString::number(f.read.fivedigit) + u"期是五位开奖号码，取其"_s + history::positionsname(info.how.positions));

    say(u"【设置】"_s + settingsline(info, out));
    say(u"每个计划都按同一张倍投计划表下注：表按前期亏损"_s + moneytext(info.in.prekui)
        + u"算出，每个新计划都从表的第1期重新开始"_s);

    say(u"【回测结果】"_s);
    say(u"计划：结束"_s + QString::number(out.finished()) + u"个，其中中出"_s + QString::number(out.hits)
            + u"个，爆仓"_s + QString::number(out.busts) + u"个"_s,
        out.busts > 0);
    if (const bankrupt *broke = out.broke ? &*out.broke : nullptr)
        say(u"本金用完：第"_s + QString::number(broke->bet) + u"次投注（开奖"_s + draws.name(broke->draw)
                + u"，计划第"_s + QString::number(broke->period) + u"期）需要倍数"_s + QString::number(broke->multiple)
                + u"、投注"_s + moneytext(broke->stake) + u"，本金只剩"_s
                + moneytext(*info.bankroll + broke->result) + u"；回测到此为止，此前累计盈亏"_s
                + signedmoney(broke->result),
            true);
    if (const planresult *open = out.open()) {
        QString text = u"未结束的计划：已投"_s + QString::number(open->periods) + u"期，投入"_s + moneytext(open->staked);
        // Where a bankroll ran out, the line above already names the stake it could not pay.
        if (open->periods < days && !out.broke) {
            const plancalc::planrow &next = info.table[size_t(open->periods)];
            text += u"；下一期是它的第"_s + QString::number(open->periods + 1) + u"期，倍数"_s
                    + QString::number(next[plancalc::multiplecolumn]) + u"，投注"_s
                    + moneytext(next[plancalc::stakecolumn]);
        }
        say(text);
    }
    if (const planresult *longest = out.longest())
        say(u"最长计划："_s + QString::number(longest->periods) + u"期（"_s + draws.name(longest->first) + u"至"_s
            + draws.name(longest->last()) + u"）；平均计划长度"_s + QString::number(out.meanlength(), 'f', 2) + u"期"_s);
    say(lengthsline(out, days));
    say(u"资金：总投入"_s + moneytext(out.staked) + u"，总奖金"_s + moneytext(out.won) + u"，总盈亏"_s
        + signedmoney(out.result()));
    say(u"累计盈亏的最低点"_s + moneytext(out.lowest) + u"；最大回撤（从高点到其后低点的最大跌幅）"_s
            + moneytext(out.drawdown),
        true);
    say(u"单期最大投注"_s + moneytext(out.largeststake) + u"；一个计划最多需要资金"_s + moneytext(out.largestplancash));

    say(u"【随机开奖下】"_s);
    say(u"每期投注中出的概率"_s + QString::number(o.hit * 100, 'f', 1) + u"%（"_s
        + QString::number(planrules::betcount(info.how.type)) + u"/1000注）"_s);
    say(QString::number(out.finished()) + u"个结束的计划预计爆仓"_s + QString::number(o.expectedbusts, 'f', 1)
        + u"次，实际爆仓"_s + QString::number(out.busts) + u"次"_s);
    if (const planresult *longest = out.longest())
        say(u"最长计划"_s + QString::number(longest->periods) + u"期：一个计划至少持续这么久的概率"_s
            + odds::chancetext(o.longestatleast) + u"；"_s + QString::number(out.finished())
            + u"个计划中至少出现一次的概率"_s
            // Short of certain however many plans there are, even where a double rounds it to 1.
            + odds::chancetext(std::min(o.longestanywhere, std::nextafter(1.0, 0.0))));

    if (const simulate::result *sim = f.simulated) {
        say(u"【模拟】按随机开奖模拟"_s + QString::number(sim->runs) + u"段同样长度（"_s
            + QString::number(betsof(draws, info.how.type)) + u"次投注）的历史，种子"_s + QString::number(sim->seed)
            + u"；这些是模拟的数据，不是开奖结果"_s);
        if (sim->ruin)
            say(u"本金用完的比例"_s + odds::chancetext(*sim->ruin) + u"（95%置信区间"_s + odds::chancetext(*sim->ruinlow) + u"至"_s
                    + odds::chancetext(*sim->ruinhigh) + u"）"_s,
                true);
        say(u"最终盈亏：中位数"_s + signedmoney(std::llround(sim->median)) + u"，5%分位"_s
            + signedmoney(std::llround(sim->p05)) + u"，95%分位"_s + signedmoney(std::llround(sim->p95))
            + u"；以亏损结束的比例"_s + odds::chancetext(sim->lossshare));
    }
    return lines;
}

QStringList summarylines(const findings &f)
{
    QStringList lines;
    for (const summaryline &line : summary(f))
        lines.append(line.strong ? u"■ "_s + line.text : line.text);
    return lines;
}

QStringList tabletitles()
{
    return {u"编号"_s, u"首期开奖"_s, u"期数"_s, u"结果"_s, u"投入"_s, u"奖金"_s, u"盈亏"_s};
}

std::optional<qint64> numberof(const outcome &out, qint64 plan, tablecolumn column)
{
    const planresult &p = out.plans[size_t(plan)];
    switch (column) {
    case tablecolumn::number:
        return plan + 1;
    case tablecolumn::periods:
        return p.periods;
    case tablecolumn::staked:
        return p.staked;
    case tablecolumn::won:
        return p.won;
    case tablecolumn::result:
        return p.result();
    default:
        return std::nullopt;
    }
}

QString cellof(const history::Thistory &draws, const outcome &out, qint64 plan, tablecolumn column)
{
    const planresult &p = out.plans[size_t(plan)];
    switch (column) {
    case tablecolumn::first:
        return draws.name(p.first);
    case tablecolumn::ending:
        switch (p.end) {
        case ending::hit:
            return u"中出于"_s + draws.name(p.last());
        case ending::bust:
            return u"爆仓（"_s + QString::number(p.periods) + u"期未中）"_s;
        case ending::open:
            return out.broke && plan + 1 == qint64(out.plans.size()) ? u"本金用完"_s : u"未结束"_s;
        }
        break;
    case tablecolumn::staked:
    case tablecolumn::won:
    case tablecolumn::result:
        return moneytext(*numberof(out, plan, column));
    default:
        if (const std::optional<qint64> number = numberof(out, plan, column))
            return QString::number(*number);
        break;
    }
    return {};
}

QList<QByteArray> csvlines(const history::Thistory &draws, const outcome &out)
{
    QList<QByteArray> lines;
    lines.reserve(qsizetype(out.plans.size()) + 1);
    lines.append("\xEF\xBB\xBF" + tabletitles().join(u',').toUtf8());
    QStringList cells;
    for (qint64 plan = 0; plan < qint64(out.plans.size()); ++plan) {
        cells.clear();
        for (int c = 0; c < tablecolumns; ++c) {
            const auto column = tablecolumn(c);
            const std::optional<qint64> number = numberof(out, plan, column);
            cells.append(number ? QString::number(*number) : csvtext(cellof(draws, out, plan, column)));
        }
        lines.append(cells.join(u',').toUtf8());
    }
    return lines;
}

QByteArray json(const findings &f)
{
    const runinfo &info = f.info;
    const outcome &out = f.out;
    const odds::figures o = figuresof(f);
    const auto optional = [](const std::optional<qint64> &value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    };
    const auto optionalreal = [](const std::optional<double> &value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    };
    static const char *const positions[] = {"front", "middle", "back"};

    QJsonObject root;
    root[u"draws"_s] = f.read.history.size();
    root[u"bets"_s] = out.bets();
    root[u"type"_s] = info.how.type == planrules::kind::two ? 2 : 3;
    root[u"mode"_s] = info.how.mode == planrules::mode::oddeven ? u"oddeven"_s : u"bigsmall"_s;
    root[u"positions"_s] = QLatin1StringView(positions[int(info.how.positions)]);
    root[u"reversed"_s] = f.read.history.reversed();
    root[u"order"_s] = f.read.order == history::orderfrom::keys ? u"keys"_s : u"file"_s;
    root[u"settings"_s] = QJsonObject{{u"loss"_s, info.in.prekui},     {u"profit"_s, info.in.lirun},
                                      {u"stake"_s, info.in.inofsin},   {u"prize"_s, info.in.outofsin},
                                      {u"periods"_s, info.in.days},    {u"longest"_s, info.longest},
                                      {u"bankroll"_s, optional(info.bankroll)}};
    root[u"plans"_s] = QJsonObject{{u"closed"_s, out.finished()}, {u"hits"_s, out.hits}, {u"busts"_s, out.busts}};
    root[u"money"_s] = QJsonObject{{u"staked"_s, out.staked},
                                   {u"won"_s, out.won},
                                   {u"result"_s, out.result()},
                                   {u"lowest"_s, out.lowest},
                                   {u"drawdown"_s, out.drawdown},
                                   {u"largest_stake"_s, out.largeststake},
                                   {u"plan_cash"_s, out.largestplancash},
                                   {u"bust_cost"_s, o.bustcost}};
    if (const planresult *open = out.open(); open && open->periods < info.in.days) {
        const plancalc::planrow &next = info.table[size_t(open->periods)];
        root[u"open_plan"_s] = QJsonObject{{u"periods"_s, open->periods},
                                           {u"staked"_s, open->staked},
                                           {u"next_period"_s, open->periods + 1},
                                           {u"next_multiple"_s, next[plancalc::multiplecolumn]}};
    } else {
        root[u"open_plan"_s] = QJsonValue(QJsonValue::Null);
    }
    if (info.bankroll) {
        const bankrupt *broke = out.broke ? &*out.broke : nullptr;
        root[u"bankroll"_s] =
            QJsonObject{{u"exhausted"_s, broke != nullptr},
                        {u"at_bet"_s, broke ? QJsonValue(broke->bet) : QJsonValue(QJsonValue::Null)},
                        {u"at_label"_s, broke ? QJsonValue(f.read.history.name(broke->draw)) : QJsonValue(QJsonValue::Null)},
                        {u"result_before"_s, broke ? QJsonValue(broke->result) : QJsonValue(QJsonValue::Null)}};
    } else {
        root[u"bankroll"_s] = QJsonValue(QJsonValue::Null);
    }
    root[u"odds"_s] = QJsonObject{{u"hit"_s, o.hit},
                                  {u"bust"_s, o.bust},
                                  {u"expected_busts"_s, o.expectedbusts},
                                  {u"return_per_100"_s, o.returnper100.value_or(0)},
                                  {u"expected_plan_result"_s, o.expectedplan}};
    const simulate::result *sim = f.simulated;
    const QJsonValue none(QJsonValue::Null);
    root[u"simulation"_s] = QJsonObject{
        {u"runs"_s, sim ? QJsonValue(sim->runs) : none},
        {u"seed"_s, sim ? QJsonValue(qint64(sim->seed)) : none},
        {u"ruin"_s, sim ? optionalreal(sim->ruin) : none},
        {u"ruin_low"_s, sim ? optionalreal(sim->ruinlow) : none},
        {u"ruin_high"_s, sim ? optionalreal(sim->ruinhigh) : none},
        {u"result_median"_s, sim ? QJsonValue(sim->median) : none},
        {u"result_p05"_s, sim ? QJsonValue(sim->p05) : none},
        {u"result_p95"_s, sim ? QJsonValue(sim->p95) : none},
        {u"loss_share"_s, sim ? QJsonValue(sim->lossshare) : none}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace replay
