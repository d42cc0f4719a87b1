#include "replay/replay.h"

#include <algorithm>

using planrules::kind;

namespace replay {

const planresult *outcome::open() const
{
    return !plans.empty() && plans.back().end == ending::open ? &plans.back() : nullptr;
}

const planresult *outcome::longest() const
{
    const planresult *best = nullptr;
    for (const planresult &p : plans)
        if (p.end != ending::open && (!best || p.periods > best->periods))
            best = &p;
    return best;
}

double outcome::meanlength() const
{
    qint64 periods = 0;
    for (const planresult &p : plans)
        if (p.end != ending::open)
            periods += p.periods;
    return finished() == 0 ? 0.0 : double(periods) / double(finished());
}

double outcome::meanresult() const
{
    qint64 sum = 0;
    for (const planresult &p : plans)
        if (p.end != ending::open)
            sum = plancalc::addchecked(sum, p.result());
    return finished() == 0 ? 0.0 : double(sum) / double(finished());
}

qint64 firstbet(planrules::kind type)
{
    // A two-position plan starts from one draw, a three-position plan from two.
    return type == kind::two ? 1 : 2;
}

qint64 betsof(const history::Thistory &draws, planrules::kind type)
{
    return std::max<qint64>(0, draws.size() - firstbet(type));
}

outcome run(const history::Thistory &draws, const settings &how, const plancalc::plantabletype &table,
            std::optional<qint64> bankroll, const history::progressfn &progress)
{
    using plancalc::addchecked;
    outcome out;
    const qint64 start = firstbet(how.type);
    const qint64 days = qint64(table.size());
    if (draws.size() <= start || days == 0)
        return out;
    out.running.reserve(size_t(draws.size() - start));

    std::optional<planrules::plan> current =
        planrules::nextplan(how.type, how.mode, std::nullopt, draws.draw(0), draws.draw(start - 1));
    planresult plan{start};
    qint64 running = 0, peak = 0;
    for (qint64 d = start; d < draws.size(); ++d) {
        const plancalc::planrow &row = table[size_t(plan.periods)];
        const qint64 stake = row[plancalc::stakecolumn];
        if (bankroll && addchecked(*bankroll, running) < stake) {
            out.broke = bankrupt{d - start + 1, d, plan.periods + 1, row[plancalc::multiplecolumn], stake, running};
            break;
        }
        ++plan.periods;
        out.deepest = std::max<qint64>(out.deepest, plan.periods);
        plan.staked = addchecked(plan.staked, stake);
        out.staked = addchecked(out.staked, stake);
        out.largeststake = std::max(out.largeststake, stake);
        running = plancalc::subchecked(running, stake);
        out.lowest = std::min(out.lowest, running);
        out.drawdown = std::max(out.drawdown, plancalc::subchecked(peak, running));

        const QString &secondlatest = draws.draw(d - 1);
        const QString &latest = draws.draw(d);
        std::optional<planrules::plan> next = planrules::nextplan(how.type, how.mode, current, secondlatest, latest);
        const bool hit = !next;
        if (hit) {
            plan.won = row[plancalc::prizecolumn];
            out.won = addchecked(out.won, plan.won);
            running = addchecked(running, plan.won);
            peak = std::max(peak, running);
        }
        out.running.push_back(running);

        if (hit || plan.periods == days) {
            plan.end = hit ? ending::hit : ending::bust;
            ++(hit ? out.hits : out.busts);
            out.largestplancash = std::max(out.largestplancash, plan.staked);
            out.plans.push_back(plan);
            // As after a hit: a new plan from this draw (and the one before it).
            plan = planresult{d + 1};
            current = planrules::nextplan(how.type, how.mode, std::nullopt, secondlatest, latest);
        } else {
            current = std::move(next);
        }
        if ((d & 0xFFFF) == 0 && progress && !progress(d, draws.size())) {
            out.cancelled = true;
            return out;
        }
    }
    if (plan.periods > 0) {
        out.largestplancash = std::max(out.largestplancash, plan.staked);
        out.plans.push_back(plan);
    }
    return out;
}

} // namespace replay
