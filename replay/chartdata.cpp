#include "replay/chartdata.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace replay {

std::vector<qint64> observedlengths(const outcome &out, qint64 days)
{
    std::vector<qint64> counts(size_t(std::max<qint64>(days, 0)), 0);
    for (const planresult &p : out.plans)
        if (p.end != ending::open && p.periods >= 1 && p.periods <= days)
            ++counts[size_t(p.periods - 1)];
    return counts;
}

std::vector<lengthbar> lengthbars(const outcome &out, qint64 days, const std::vector<double> &expected)
{
    std::vector<lengthbar> bars;
    if (days <= 0)
        return bars;
    // Up to `single` lengths one by one, the rest before N in groups of about
    // equal width, then N alone.
    const qint64 single = std::min<qint64>(days - 1, longestbars - 10);
    const qint64 rest = days - 1 - single, groups = std::min<qint64>(rest, longestbars - 1 - single);
    for (qint64 k = 1; k <= single; ++k)
        bars.push_back({k, k, QString::number(k)});
    for (qint64 g = 0; g < groups; ++g) {
        const qint64 from = single + 1 + g * rest / groups, to = single + (g + 1) * rest / groups;
        bars.push_back({from, to, from == to ? QString::number(from) : QString::number(from) + u'-' + QString::number(to)});
    }
    bars.push_back({days, days, QString::number(days)});

    // Each length's bar, found by bisection over the ranges.
    const auto barof = [&bars](qint64 length) {
        return std::lower_bound(bars.begin(), bars.end(), length,
                                [](const lengthbar &bar, qint64 k) { return bar.to < k; });
    };
    for (const planresult &p : out.plans) {
        if (p.end == ending::open || p.periods < 1 || p.periods > days)
            continue;
        lengthbar &bar = *barof(p.periods);
        ++(p.end == ending::bust ? bar.busts : bar.hits);
    }
    for (qint64 k = 1; k <= qint64(expected.size()) && k <= days; ++k)
        barof(k)->expected += expected[size_t(k - 1)];
    return bars;
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
    // The line ends where the summary's result is.
    if (points.back().bet != n)
        points.push_back({n, running.back()});
    return points;
}

std::vector<qint64> bustbets(const outcome &out, planrules::kind type)
{
    std::vector<qint64> bets;
    for (const planresult &p : out.plans)
        if (p.end == ending::bust)
            bets.push_back(p.last() - firstbet(type) + 1);
    return bets;
}

} // namespace replay
