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

// One box: its text, the value an empty text takes, what it may hold, and
// where its value goes.
struct entry
{
    const QString &text;
    qint64 fallback;
    field what;
    bounds allowed;
    qint64 &into;
};

// Reads each box in turn; the first that holds no allowed value is refused.
std::optional<refusal> readfields(std::initializer_list<entry> entries)
{
    for (const entry &e : entries) {
        if (e.text.trimmed().isEmpty()) {
            e.into = e.fallback;
            continue;
        }
        const std::optional<qint64> value = plancalc::tointeger(e.text);
        if (!value || *value < e.allowed.low || *value > e.allowed.high)
            return refusal{e.what, e.allowed.rule};
        e.into = *value;
    }
    return std::nullopt;
}

// The four amounts of the planner, checked; the count is filled in later.
std::variant<plancalc::inputs, refusal> readamounts(const request &given)
{
    plancalc::inputs in{};
    if (std::optional<refusal> no = readfields({
            {given.loss, defaults::loss, field::loss, atleastzero, in.prekui},
            {given.profit, defaults::profit, field::profit, atleastzero, in.lirun},
            {given.stake, defaults::stake(given.how.type), field::stake, abovezero, in.inofsin},
            {given.prize, defaults::prize, field::prize, abovezero, in.outofsin},
        }))
        return *no;
    return in;
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

    qint64 bankroll = 0, seed = 0, days = 0;
    if (std::optional<refusal> no = readfields({
            {given.bankroll, 0, field::bankroll, abovezero, bankroll},
            {given.simulations, defaults::simulations, field::simulations,
             {0, defaults::maxsimulations, u"必须是0到%1之间的整数"_s.arg(defaults::maxsimulations)}, info.simulations},
            {given.seed, qint64(defaults::seed), field::seed, atleastzero, seed},
            {given.periods, 0, field::periods,
             {1, plancalc::maxdays, u"必须是1到%1之间的整数"_s.arg(plancalc::maxdays)}, days},
        }))
        return *no;
    if (!given.bankroll.trimmed().isEmpty())
        info.bankroll = bankroll;
    info.seed = quint64(seed);

    info.longest = plancalc::longestfeasible(info.in, defaults::longestcap);
    info.in.days = given.periods.trimmed().isEmpty() ? info.longest : days;
    if (info.in.days == 0)
        return toolarge(0);
    if (info.in.days > info.longest) {
        // Beyond the usual cap the longest count is looked for as far as a table may go.
        if (info.longest == defaults::longestcap)
            info.longest = plancalc::longestfeasible(info.in, plancalc::maxdays);
        if (info.longest < info.in.days)
            return toolarge(info.longest);
    }
    // The count is feasible now: the planner lays out its table.
    info.table = plancalc::decide(info.in).table;
    return info;
}

} // namespace replay
