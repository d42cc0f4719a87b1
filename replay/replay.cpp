#include "replay/replay.h"

#include <algorithm>
#include <array>

using planrules::kind;

namespace replay {
namespace {

// The plan rules as one replay asks them, with each plan held once by number
// and each answer worked out once by the rules, then looked up. A
// two-position plan reads only the latest draw; a three-position plan reads
// the classes of the second-latest and the latest draw at each position. So
// an answer depends on the plan and the latest number, or on the plan and six
// classes, and there are only a dozen plans.
class Tplansteps
{
public:
    static constexpr int none = -1; // no plan: the draw hit

    Tplansteps(kind type, planrules::mode m) : m_type(type), m_mode(m)
    {
        const QChar first = planrules::classof(0, m);
        for (int n = 0; n < 1000; ++n)
            m_classes[size_t(n)] = quint8((planrules::classof(n / 100, m) != first) << 2
                                          | (planrules::classof(n / 10 % 10, m) != first) << 1
                                          | (planrules::classof(n % 10, m) != first));
    }

    // The plan a new plan starts with, from its first draw (and the one before).
    int begin(const QString &secondlatest, const QString &latest)
    {
        return intern(planrules::nextplan(m_type, m_mode, std::nullopt, secondlatest, latest));
    }

    // The plan after `current` once `latest` is drawn, or none on a hit.
    int next(int current, const QString &secondlatest, const QString &latest, int secondnumber, int number)
    {
        const size_t key = m_type == kind::two ? size_t(number)
                                               : size_t(m_classes[size_t(secondnumber)]) * 8 + m_classes[size_t(number)];
        if (const qint16 known = m_answers[size_t(current)][key]; known != unknown)
            return known;
        // Interning may grow the table, so the answer is stored only after it.
        const int found = intern(planrules::nextplan(m_type, m_mode, m_plans[size_t(current)], secondlatest, latest));
        m_answers[size_t(current)][key] = qint16(found);
        return found;
    }

private:
    static constexpr qint16 unknown = -2;

    int intern(std::optional<planrules::plan> plan)
    {
        if (!plan)
            return none;
        const auto found = std::find(m_plans.begin(), m_plans.end(), plan);
        if (found != m_plans.end())
            return int(found - m_plans.begin());
        m_plans.push_back(std::move(plan));
        m_answers.emplace_back();
        m_answers.back().fill(unknown);
        return int(m_plans.size() - 1);
    }

    kind m_type;
    planrules::mode m_mode;
    std::array<quint8, 1000> m_classes{}; // a number's class at each position, as three bits
    std::vector<std::optional<planrules::plan>> m_plans;
    std::vector<std::array<qint16, 1000>> m_answers; // by plan, then by number or by classes
};

} // namespace

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

qint64 drawsneeded(planrules::kind type)
{
    return firstbet(type) + 1;
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

    Tplansteps rules(how.type, how.mode);
    int current = rules.begin(draws.draw(0), draws.draw(start - 1));
    planresult plan{start};
    qint64 running = 0, peak = 0;
    for (qint64 d = start; d < draws.size(); ++d) {
        const plancalc::planrow &row = table[size_t(plan.periods)];
        const qint64 stake = row[plancalc::stakecolumn];
        // B + result < stake, in a form that cannot overflow (stake >= 0, B > 0).
        if (bankroll && running < stake - *bankroll) {
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
        const int next = rules.next(current, secondlatest, latest, draws.number(d - 1), draws.number(d));
        const bool hit = next == Tplansteps::none;
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
            current = rules.begin(secondlatest, latest);
        } else {
            current = next;
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
