#include "replay/prepare.h"

#include "replay/defaults.h"
#include "replay/odds.h"

using namespace Qt::Literals::StringLiterals;

namespace replay {
namespace {

struct bounds
{
    qint64 low, high;
    QString rule;
};

const bounds atleastzero{0, std::numeric_limits<qint64>::max(), u"必须是不小于0的整数"_s};
const bounds abovezero{1, std::numeric_limits<qint64>::max(), u"必须是大于0的整数"_s};

// A value within the bounds, the default for an empty text, or the refusal.
std::variant<qint64, refusal> readfield(const QString &text, qint64 fallback, field what, const bounds &allowed)
{
    if (text.trimmed().isEmpty())
        return fallback;
    const std::optional<qint64> value = plancalc::tointeger(text);
    if (!value || *value < allowed.low || *value > allowed.high)
        return refusal{what, allowed.rule};
    return *value;
}

// The four amounts of the planner, checked; the count is filled in later.
std::variant<plancalc::inputs, refusal> readamounts(const request &given)
{
    plancalc::inputs in{};
    const struct
    {
        const QString &text;
        qint64 fallback;
        field what;
        const bounds &allowed;
        qint64 &into;
    } amounts[] = {
        {given.loss, defaults::loss, field::loss, atleastzero, in.prekui},
        {given.profit, defaults::profit, field::profit, atleastzero, in.lirun},
        {given.stake, defaults::stake(given.how.type), field::stake, abovezero, in.inofsin},
        {given.prize, defaults::prize, field::prize, abovezero, in.outofsin},
    };
    for (const auto &amount : amounts) {
        const std::variant<qint64, refusal> value = readfield(amount.text, amount.fallback, amount.what, amount.allowed);
        if (const refusal *no = std::get_if<refusal>(&value))
            return *no;
        amount.into = std::get<qint64>(value);
    }
    return in;
}

refusal overflowed()
{
    return {std::nullopt, u"按这些设置，倍投计划的金额超出了可计算的范围。"_s};
}

refusal toolarge(qint64 longest)
{
    if (longest == 0)
        return {std::nullopt, u"按这些设置所需倍数太大，一期也无法投注。"_s};
    return {std::nullopt, u"按这些设置所需倍数太大，最多可投注%1期。"_s.arg(longest)};
}

} // namespace

simulate::setup simulationof(const runinfo &info, const history::Thistory &draws)
{
    const odds::plantable columns = odds::fromplanner(info.table);
    return {columns.stakes, columns.prizes, odds::hitchance(planrules::betcount(info.how.type)),
            betsof(draws, info.how.type), info.bankroll, info.simulations, info.seed};
}

std::optional<qint64> longestfor(const request &given)
{
    const std::variant<plancalc::inputs, refusal> in = readamounts(given);
    if (!std::holds_alternative<plancalc::inputs>(in))
        return std::nullopt;
    return plancalc::longestfeasible(std::get<plancalc::inputs>(in), defaults::longestcap);
}

std::variant<runinfo, refusal> prepare(const request &given)
{
    std::variant<plancalc::inputs, refusal> amounts = readamounts(given);
    if (const refusal *no = std::get_if<refusal>(&amounts))
        return *no;
    runinfo info;
    info.how = given.how;
    info.in = std::get<plancalc::inputs>(amounts);

    const struct
    {
        const QString &text;
        qint64 fallback;
        field what;
        bounds allowed;
    } counts[] = {
        {given.bankroll, 0, field::bankroll, abovezero},
        {given.simulations, defaults::simulations, field::simulations,
         {0, defaults::maxsimulations, u"必须是0到%1之间的整数"_s.arg(defaults::maxsimulations)}},
        {given.seed, qint64(defaults::seed), field::seed, atleastzero},
        {given.periods, 0, field::periods,
         {1, plancalc::maxdays, u"必须是1到%1之间的整数"_s.arg(plancalc::maxdays)}},
    };
    qint64 values[std::size(counts)];
    for (size_t i = 0; i < std::size(counts); ++i) {
        const std::variant<qint64, refusal> value =
            readfield(counts[i].text, counts[i].fallback, counts[i].what, counts[i].allowed);
        if (const refusal *no = std::get_if<refusal>(&value))
            return *no;
        values[i] = std::get<qint64>(value);
    }
    if (!given.bankroll.trimmed().isEmpty())
        info.bankroll = values[0];
    info.simulations = values[1];
    info.seed = quint64(values[2]);

    info.longest = plancalc::longestfeasible(info.in, defaults::longestcap);
    info.in.days = given.periods.trimmed().isEmpty() ? info.longest : values[3];
    if (info.in.days == 0)
        return toolarge(0);
    if (info.in.days > info.longest) {
        // Beyond the usual cap the longest count is looked for as far as a table may go.
        if (info.longest == defaults::longestcap)
            info.longest = plancalc::longestfeasible(info.in, plancalc::maxdays);
        if (info.longest < info.in.days)
            return toolarge(info.longest);
    }
    try {
        plancalc::decision decided = plancalc::decide(info.in);
        if (decided.outcome != plancalc::verdict::table)
            return toolarge(info.longest);
        info.table = std::move(decided.table);
    } catch (const AppError &) {
        return overflowed(); // cannot happen once the count is feasible; said plainly all the same
    }
    return info;
}

} // namespace replay
