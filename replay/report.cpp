#include "replay/report.h"

#include "replay/odds.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace replay {
namespace {

QString money(qint64 value)
{
    return QString::number(value);
}

QString csvfield(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace

QString typename_(planrules::kind type)
{
    return type == planrules::kind::two ? u"二码"_s : u"三码"_s;
}

QString modename(planrules::mode mode)
{
    return mode == planrules::mode::oddeven ? u"奇偶模式"_s : u"大小模式"_s;
}

qint64 defaultstake(planrules::kind type)
{
    return planrules::betcount(type) * ticketprice;
}

qint64 longestdays(plancalc::inputs in)
{
    in.days = longestdefault;
    return qint64(plancalc::calculateupto(in).size());
}

std::optional<plancalc::plantabletype> plannertable(const plancalc::inputs &in)
{
    std::optional<plancalc::plantabletype> table = plancalc::calculate(in);
    if (table)
        plancalc::averagenet(*table, in.days); // a count of 0 fails here, as in the planner
    return table;
}

std::vector<qint64> observedlengths(const outcome &out, qint64 days)
{
    std::vector<qint64> counts(size_t(std::max<qint64>(days, 0)), 0);
    for (const planresult &p : out.plans)
        if (p.end != ending::open && p.periods >= 1 && p.periods <= days)
            ++counts[size_t(p.periods - 1)];
    return counts;
}

QStringList summarylines(const history::Thistory &draws, const runinfo &info, const outcome &out)
{
    QStringList lines;
    lines.append(u"【开奖历史】%1期"_s.arg(draws.size())
                 + (draws.reversed() ? u"（文件为新开奖在前，已倒转为按时间先后回测）"_s : QString()));
    lines.append(u"【设置】%1 %2；前期亏损%3，预期利润%4%，单倍投入%5，单注奖金%6，投注期数%7（最多可投注期数%8）"_s
                     .arg(typename_(info.how.type), modename(info.how.mode))
                     .arg(info.in.prekui)
                     .arg(info.in.lirun)
                     .arg(info.in.inofsin)
                     .arg(info.in.outofsin)
                     .arg(info.in.days)
                     .arg(info.maxdays));
    lines.append(u"【回测结果】"_s);
    lines.append(u"计划：结束%1个，其中中出%2个，爆仓%3个"_s.arg(out.finished()).arg(out.hits).arg(out.busts));
    if (const planresult *open = out.open()) {
        const plancalc::planrow &next = info.table[size_t(open->periods)];
        lines.append(u"未结束的计划：已投%1期，投入%2；下一期是它的第%3期，倍数%4，投注%5"_s.arg(open->periods)
                         .arg(money(open->staked))
                         .arg(open->periods + 1)
                         .arg(next[1])
                         .arg(money(next[2])));
    }
    if (const planresult *longest = out.longest())
        lines.append(u"最长计划：%1期（%2至%3）；平均计划长度%4期"_s.arg(longest->periods)
                         .arg(draws.name(longest->first), draws.name(longest->last()))
                         .arg(QString::number(out.meanlength(), 'f', 2)));
    lines.append(u"资金：总投入%1，总奖金%2，总盈亏%3"_s.arg(money(out.staked), money(out.won), money(out.result())));
    lines.append(u"最大回撤（累计盈亏的最低点）%1；单期最大投注%2；一个计划最多需要资金%3"_s.arg(
        money(out.lowest), money(out.largeststake), money(out.largestplancash)));

    const qint64 bets = planrules::betcount(info.how.type);
    const planresult *longestplan = out.longest();
    const odds::figures o = odds::figuresof(bets, odds::fromplanner(info.table), info.in.inofsin, info.in.outofsin,
                                            out.finished(), longestplan ? longestplan->periods : 0);
    lines.append(u"【随机开奖下】"_s);
    lines.append(u"每期投注中出的概率%1%（%2/1000注）"_s.arg(QString::number(o.hit * 100, 'f', 1))
                     .arg(bets));
    lines.append(u"一个计划爆仓（连续%1期未中）的概率%2"_s.arg(info.in.days).arg(odds::chancetext(o.bust)));
    lines.append(u"%1个结束的计划预计爆仓%2次，实际爆仓%3次"_s.arg(out.finished())
                     .arg(QString::number(o.expectedbusts, 'f', 1))
                     .arg(out.busts));
    if (const planresult *longest = out.longest())
        lines.append(u"最长计划%1期：一个计划至少持续%1期的概率%2；%3个计划中至少出现一次的概率%4"_s.arg(longest->periods)
                         .arg(odds::chancetext(o.longestatleast))
                         .arg(out.finished())
                         .arg(odds::chancetext(o.longestanywhere)));
    return lines;
}

std::vector<chartpoint> chartline(const std::vector<qint64> &running, int limit)
{
    const qint64 n = qint64(running.size());
    std::vector<chartpoint> points{{0, 0}};
    if (n <= limit) {
        for (qint64 i = 0; i < n; ++i)
            points.push_back({i + 1, running[size_t(i)]});
        return points;
    }
    const qint64 stretches = std::max(1, limit / 2);
    for (qint64 s = 0; s < stretches; ++s) {
        const qint64 from = s * n / stretches, to = (s + 1) * n / stretches;
        qint64 low = from, high = from;
        for (qint64 i = from; i < to; ++i) {
            if (running[size_t(i)] < running[size_t(low)])
                low = i;
            if (running[size_t(i)] > running[size_t(high)])
                high = i;
        }
        for (const qint64 i : {std::min(low, high), std::max(low, high)})
            if (points.back().bet != i + 1)
                points.push_back({i + 1, running[size_t(i)]});
    }
    return points;
}

QStringList tabletitles()
{
    return {u"编号"_s, u"首期开奖"_s, u"期数"_s, u"结果"_s, u"投入"_s, u"奖金"_s, u"盈亏"_s};
}

QString cellof(const history::Thistory &draws, const outcome &out, qint64 plan, int column)
{
    const planresult &p = out.plans[size_t(plan)];
    switch (column) {
    case 0:
        return QString::number(plan + 1);
    case 1:
        return draws.name(p.first);
    case 2:
        return QString::number(p.periods);
    case 3:
        switch (p.end) {
        case ending::hit:
            return u"中出于%1"_s.arg(draws.name(p.last()));
        case ending::bust:
            return u"爆仓"_s;
        case ending::open:
            return u"未结束"_s;
        }
        break;
    case 4:
        return money(p.staked);
    case 5:
        return money(p.won);
    case 6:
        return money(p.result());
    default:
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
        for (int column = 0; column < tablecolumns; ++column)
            cells.append(csvfield(cellof(draws, out, plan, column)));
        lines.append(cells.join(u',').toUtf8());
    }
    return lines;
}

} // namespace replay
