// What the replay's charts draw, worked out without a widget: the plan lengths
// in at most about 40 bars, and the running result thinned to a few thousand
// points that keep every dip.
#pragma once

#include "replay/replay.h"

#include <QString>

#include <vector>

namespace replay {

// Finished plans of length 1 to `days` as seen.
std::vector<qint64> observedlengths(const outcome &out, qint64 days);

// One bar of the plan-length chart: plans of length `from` to `to`.
struct lengthbar
{
    qint64 from = 0, to = 0;
    QString label;       // "7", "31-60"
    qint64 hits = 0;     // plans that ended with a hit in this range
    qint64 busts = 0;    // busts (only in the bar of length N)
    double expected = 0; // as many as random draws would give
};
constexpr int longestbars = 40;
// Lengths one by one while there are few, the long ones grouped; length N has
// a bar of its own, with its hits and busts apart.
std::vector<lengthbar> lengthbars(const outcome &out, qint64 days, const std::vector<double> &expected);

// The running result as about `limit` points at most, from the start (bet 0,
// result 0): every bet of a short history, else the lowest and the highest point
// of each stretch, in order, so no dip is lost, and the last bet.
struct chartpoint
{
    qint64 bet;
    qint64 result;
};
std::vector<chartpoint> chartline(const std::vector<qint64> &running, int limit);

// The bets (from 1) at which plans went bust.
std::vector<qint64> bustbets(const outcome &out, planrules::kind type);

} // namespace replay
