#include "replay/simulate.h"

#include "planner/plancalc.h"
#include "toolkit/apperror.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace simulate {
namespace {

quint64 splitmix(quint64 &state)
{
    quint64 z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// xoshiro256**, its state filled by splitmix64 from the seed and the history's
// index, so history i draws the same bets on whichever thread plays it.
class generator
{
public:
    generator(quint64 seed, quint64 index)
    {
        quint64 state = seed;
        quint64 mixedindex = index;
        state = splitmix(state) ^ splitmix(mixedindex);
        for (quint64 &word : m_s)
            word = splitmix(state);
    }

    quint64 next()
    {
        const quint64 result = rotl(m_s[1] * 5, 7) * 9;
        const quint64 t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }
    quint64 m_s[4];
};

// The setup as the inner loop wants it.
struct plan
{
    std::vector<qint64> stakes, prizes;
    std::vector<qint64> need; // with a bankroll: the history stops when running < stake - bankroll
    bool bankroll = false;
    bool always = false;  // a chance of 1
    quint64 threshold = 0; // otherwise a bet hits when the generator's word is below this
    qint64 bets = 0;
    quint64 seed = 0;
};

// Whether no running result can leave 64 bits: it moves by at most
// |stake| + |prize| a bet.
bool cannotoverflow(const plan &p)
{
    qint64 step = 0;
    for (size_t k = 0; k < p.stakes.size(); ++k) {
        const qint64 stake = p.stakes[k], prize = p.prizes[k];
        if (stake == std::numeric_limits<qint64>::min() || prize == std::numeric_limits<qint64>::min())
            return false;
        qint64 move;
        if (qAddOverflow(std::abs(stake), std::abs(prize), &move))
            return false;
        step = std::max(step, move);
    }
    qint64 bound;
    return !qMulOverflow(step, p.bets, &bound);
}

struct outcome
{
    qint64 final = 0;
    bool ruined = false;
};

// One history; gives up early (its figures unused) once `stop` is set.
template <bool checked>
outcome play(const plan &p, qint64 index, const std::atomic<bool> &stop)
{
    generator random(p.seed, quint64(index));
    const size_t periods = p.stakes.size();
    qint64 running = 0;
    size_t period = 0;
    for (qint64 b = 0; b < p.bets; ++b) {
        if ((b & 0xFFFF) == 0xFFFF && stop.load(std::memory_order_relaxed))
            break;
        if (p.bankroll && running < p.need[period])
            return {running, true};
        const bool hit = p.always || random.next() < p.threshold;
        if constexpr (checked) {
            running = plancalc::subchecked(running, p.stakes[period]);
            if (hit)
                running = plancalc::addchecked(running, p.prizes[period]);
        } else {
            running -= p.stakes[period];
            if (hit)
                running += p.prizes[period];
        }
        // After a hit or a bust a new plan starts at period 1.
        if (hit || ++period == periods)
            period = 0;
    }
    return {running, false};
}

plan planof(const setup &s)
{
    if (s.stakes.size() != s.prizes.size())
        throw AppError(u"计划表的各列长度不一致"_s);
    if (!(s.hit >= 0 && s.hit <= 1))
        throw AppError(u"中出概率必须在0到1之间"_s);
    if (s.bets < 0 || s.runs < 0)
        throw AppError(u"模拟次数和投注期数不能为负"_s);
    if (s.bankroll && *s.bankroll < 0)
        throw AppError(u"本金不能为负"_s);
    plan p;
    p.stakes = s.stakes;
    p.prizes = s.prizes;
    // With no plan to play every history stays at 0.
    p.bets = s.stakes.empty() ? 0 : s.bets;
    p.seed = s.seed;
    p.always = s.hit >= 1;
    p.threshold = p.always ? 0 : quint64(std::ldexp(s.hit, 64));
    if (s.bankroll) {
        p.bankroll = true;
        for (const qint64 stake : s.stakes)
            p.need.push_back(plancalc::subchecked(stake, *s.bankroll));
    }
    return p;
}

// The work shared by the threads: histories handed out in chunks, each result
// written to its own slot.
struct pool
{
    pool(const plan &played, std::vector<outcome> &results) : p(played), outcomes(results) {}

    const plan &p;
    std::vector<outcome> &outcomes;
    qint64 chunk = 1;
    bool checked = false;
    std::atomic<qint64> next{0};
    std::atomic<qint64> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    int active = 0;
    std::exception_ptr error;

    void work()
    {
        try {
            const qint64 runs = qint64(outcomes.size());
            while (!stop.load(std::memory_order_relaxed)) {
                const qint64 from = next.fetch_add(chunk);
                if (from >= runs)
                    break;
                const qint64 to = std::min(runs, from + chunk);
                for (qint64 i = from; i < to; ++i)
                    outcomes[size_t(i)] = checked ? play<true>(p, i, stop) : play<false>(p, i, stop);
                done.fetch_add(to - from);
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!error)
                error = std::current_exception();
            stop = true;
        }
        const std::lock_guard lock(mutex);
        --active;
        finished.notify_all();
    }
};

int threadcount(int wanted, qint64 chunks)
{
    int n = wanted > 0 ? wanted : int(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, 64);
    return int(std::min<qint64>(n, std::max<qint64>(chunks, 1)));
}

} // namespace

result run(const setup &s, const std::function<bool(qint64 done, qint64 total)> &progress)
{
    const plan p = planof(s);
    result r;
    r.seed = s.seed;
    std::vector<outcome> outcomes(size_t(s.runs));

    pool work(p, outcomes);
    // About a quarter of a million bets a chunk: small enough to share out
    // evenly and to notice a cancel soon.
    work.chunk = std::clamp<qint64>((qint64(1) << 18) / std::max<qint64>(p.bets, 1), 1, 256);
    work.checked = !cannotoverflow(p);
    const int threads = threadcount(s.threads, (s.runs + work.chunk - 1) / work.chunk);

    // Whatever leaves this block, a throwing progress callback included, the
    // workers are stopped and joined first.
    struct crew
    {
        pool &work;
        std::vector<std::thread> threads;
        ~crew()
        {
            if (threads.empty())
                return;
            work.stop = true;
            for (std::thread &t : threads)
                t.join();
        }
    } workers{work, {}};
    workers.threads.reserve(size_t(threads));
    bool cancelled = false;
    {
        std::unique_lock lock(work.mutex);
        for (int t = 0; t < threads; ++t) {
            workers.threads.emplace_back([&work] { work.work(); });
            ++work.active;
        }
        while (!work.finished.wait_for(lock, std::chrono::milliseconds(50), [&work] { return work.active == 0; })) {
            if (progress && !cancelled) {
                lock.unlock();
                const bool goon = progress(work.done.load(), s.runs);
                lock.lock();
                if (!goon) {
                    cancelled = true;
                    work.stop = true;
                }
            }
        }
    }
    for (std::thread &w : workers.threads)
        w.join();
    workers.threads.clear();
    if (work.error)
        std::rethrow_exception(work.error);
    if (cancelled) {
        r.cancelled = true;
        return r;
    }

    r.runs = s.runs;
    r.finals.reserve(outcomes.size());
    qint64 ruined = 0, losses = 0;
    for (const outcome &o : outcomes) {
        r.finals.push_back(o.final);
        ruined += o.ruined;
        losses += o.final < 0;
    }
    std::sort(r.finals.begin(), r.finals.end());
    if (r.runs == 0)
        return r;
    if (s.bankroll) {
        const interval i = wilson(ruined, r.runs);
        r.ruin = double(ruined) / double(r.runs);
        r.ruinlow = i.low;
        r.ruinhigh = i.high;
    }
    r.median = quantile(r.finals, 0.5);
    r.p05 = quantile(r.finals, 0.05);
    r.p95 = quantile(r.finals, 0.95);
    r.lossshare = double(losses) / double(r.runs);
    return r;
}

double quantile(const std::vector<qint64> &sorted, double q)
{
    if (sorted.empty())
        return 0;
    const double position = std::clamp(q, 0.0, 1.0) * double(sorted.size() - 1);
    const size_t below = size_t(std::floor(position));
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double low = double(sorted[below]), high = double(sorted[above]);
    return low + (position - double(below)) * (high - low);
}

interval wilson(qint64 hits, qint64 trials)
{
    constexpr double z = 1.959963984540054; // the normal's 97.5 % point
    const double n = double(trials), phat = double(hits) / n;
    const double denominator = 1 + z * z / n;
    const double centre = (phat + z * z / (2 * n)) / denominator;
    const double half = z * std::sqrt(phat * (1 - phat) / n + z * z / (4 * n * n)) / denominator;
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

histogram histogramof(const std::vector<qint64> &sorted, int bins)
{
    histogram h;
    if (sorted.empty())
        return h;
    bins = std::max(bins, 1);
    // In double: exact for any sum of money below 2^53, and the bins only place.
    const double low = double(sorted.front()), high = double(sorted.back());
    const double raw = (high - low) / bins;
    double width = 1;
    for (double decade = 1; width < raw; decade *= 10)
        for (const double step : {1.0, 2.0, 5.0})
            if (width < raw)
                width = step * decade;
    const double first = std::floor(low / width) * width;
    const qint64 count = std::clamp<qint64>(qint64(std::floor((high - first) / width)) + 1, 1, qint64(bins) * 10);
    h.counts.assign(size_t(count), 0);
    for (qint64 i = 0; i <= count; ++i)
        h.edges.push_back(first + double(i) * width);
    for (const qint64 v : sorted) {
        const qint64 bin = std::clamp<qint64>(qint64(std::floor((double(v) - first) / width)), 0, count - 1);
        ++h.counts[size_t(bin)];
    }
    return h;
}

} // namespace simulate
