// What a replay says, in the words the window shows and the command line
// prints: the summary, the odds under random draws beside what happened, the
// table of plans and its CSV file.
#pragma once

#include "replay/replay.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <vector>

namespace replay {

// What the replay was run with.
struct runinfo
{
    settings how;
    plancalc::inputs in;
    qint64 maxdays = 0; // the largest count up to 80 whose table exists
    plancalc::plantabletype table;
};

QString typename_(planrules::kind type);
QString modename(planrules::mode mode);

// The defaults: stake = bets x ticket price 2 for the type.
constexpr qint64 ticketprice = 2;
constexpr qint64 defaultloss = 0;
constexpr qint64 defaultprofit = 20;
constexpr qint64 defaultprize = 1040;
constexpr qint64 longestdefault = 80;
qint64 defaultstake(planrules::kind type);

// The largest period count up to 80 whose planner table exists with the other
// inputs (their own count is not read); fails as the planner's calculation does.
qint64 longestdays(plancalc::inputs in);

// The planner's table for the inputs, worked out and checked as the planner does,
// its average included; no value for "所需倍数太大，无法投注！".
std::optional<plancalc::plantabletype> plannertable(const plancalc::inputs &in);

// Plans of length 1 to N as seen.
std::vector<qint64> observedlengths(const outcome &out, qint64 days);

QStringList summarylines(const history::Thistory &draws, const runinfo &info, const outcome &out);

// The running result as about `limit` points at most, from the start (bet 0,
// result 0): every bet of a short history, else the lowest and the highest point
// of each stretch, in order, so no dip is lost.
struct chartpoint
{
    qint64 bet;
    qint64 result;
};
std::vector<chartpoint> chartline(const std::vector<qint64> &running, int limit);

// The table of plans: number, first draw, periods, how it ended, staked, won, result.
QStringList tabletitles();
QString cellof(const history::Thistory &draws, const outcome &out, qint64 plan, int column);
constexpr int tablecolumns = 7;

// The table as CSV lines, the first with a UTF-8 byte-order mark; the caller ends
// each with CR LF.
QList<QByteArray> csvlines(const history::Thistory &draws, const outcome &out);

} // namespace replay
