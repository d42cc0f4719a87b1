// The replay under random draws: many made-up histories of the same length,
// each bet hitting with the chance bets / 1000, played with the same planner
// table and the same bankroll rule as the real history. Each history is seeded
// from the seed and its index alone, so the figures do not depend on the
// number of threads.
#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

namespace simulate {

struct setup
{
    std::vector<qint64> stakes; // stake of period 1..N of a plan
    std::vector<qint64> prizes; // prize paid when the plan hits at period 1..N
    double hit = 0;             // bets / 1000
    qint64 bets = 0;            // bets per simulated history (the real history's count)
    std::optional<qint64> bankroll;
    qint64 runs = 10000;
    quint64 seed = 0;
    int threads = 0; // 0: as many as the machine has
};

struct result
{
    qint64 runs = 0;
    quint64 seed = 0;
    std::optional<double> ruin, ruinlow, ruinhigh; // only with a bankroll; Wilson 95 %
    double median = 0, p05 = 0, p95 = 0, lossshare = 0; // of the final results; lossshare = share < 0
    std::vector<qint64> finals; // sorted final results, for the histogram
    bool cancelled = false;     // then nothing else is filled in
};

// Plays s.runs histories on the worker threads; `progress` is called now and then
// from the calling thread with the histories done, and stops the run by
// returning false. Fails with "整数溢出" where a running result would leave 64
// bits, and on a setup that cannot be played (columns of different lengths, a
// chance outside 0..1, negative counts).
result run(const setup &s, const std::function<bool(qint64 done, qint64 total)> &progress = {});

// The q-quantile of sorted values: linear between the order statistics, at
// position (n - 1) q counted from 0 (so the median of an even count is the mean
// of the middle two). 0 for no values.
double quantile(const std::vector<qint64> &sorted, double q);

// The 95 % Wilson score interval of `hits` in `trials` (trials > 0).
struct interval
{
    double low = 0, high = 0;
};
interval wilson(qint64 hits, qint64 trials);

// Sorted values into about `bins` bins of one round width (1, 2 or 5 times a
// power of ten, at least 1) on multiples of it: counts.size() bins, and
// edges.size() == counts.size() + 1. Value v falls in the bin with
// edges[i] <= v < edges[i + 1]. Empty for no values.
struct histogram
{
    std::vector<double> edges;
    std::vector<qint64> counts;
};
histogram histogramof(const std::vector<qint64> &sorted, int bins);

} // namespace simulate
