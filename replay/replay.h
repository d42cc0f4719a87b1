// The history replay: the main window's plan run over past draws as a user would
// run it, press by press, with a new plan right after every hit, and the
// planner's multiples staked on it.
//
// Every draw after the start is bet on. A two-position plan starts from one draw
// (the first, or the one that ended the plan before), a three-position plan from
// two (the second-latest and the latest). Period i of a plan bets with the
// multiple of row i of the planner's table; a plan that has missed N bets is a
// bust and the next one starts as after a hit. With a bankroll B the replay
// stops before the first stake that B plus the running result cannot pay.
#pragma once

#include "app/planrules.h"
#include "planner/plancalc.h"
#include "replay/history.h"

#include <vector>

namespace replay {

enum class ending { hit, bust, open };

struct planresult
{
    qint64 first = 0;   // the first draw it bet on (index into the history)
    qint32 periods = 0; // bets placed
    ending end = ending::open;
    qint64 staked = 0;
    qint64 won = 0;
    qint64 result() const { return won - staked; }
    // The draw it ended on (hit or bust), or its last bet when open.
    qint64 last() const { return first + periods - 1; }
};

// Where a bankroll ran out: before the stake of bet `bet` (from 1, in time order).
struct bankrupt
{
    qint64 bet = 0;
    qint64 draw = 0;     // the draw that stake was for (index into the history)
    qint64 period = 0;   // its period in its plan, from 1
    qint64 multiple = 0; // the multiple it could not pay
    qint64 stake = 0;
    qint64 result = 0;   // the running result before it
};

struct outcome
{
    std::vector<planresult> plans; // in order; an open plan, if any, is the last
    std::vector<qint64> running;   // the running result after each draw bet on
    qint64 staked = 0;
    qint64 won = 0;
    qint64 lowest = 0;           // the lowest point of the running result, each stake counted as it is placed
    qint64 drawdown = 0;         // the largest fall from a running peak to a later low, counted the same way
    qint64 deepest = 0;          // the deepest period any plan reached
    qint64 largeststake = 0;     // the largest single stake
    qint64 largestplancash = 0;  // the largest sum of stakes one plan needed
    qint64 hits = 0;
    qint64 busts = 0;
    std::optional<bankrupt> broke; // the bankroll ran out; the plans end there
    bool cancelled = false;

    qint64 result() const { return won - staked; }
    qint64 bets() const { return qint64(running.size()); }
    // Hits and busts; an open plan is counted apart.
    qint64 finished() const { return hits + busts; }
    const planresult *open() const;
    // The longest finished plan, or null when none has finished.
    const planresult *longest() const;
    double meanlength() const;
    // The finished plans' average result.
    double meanresult() const;
};

struct settings
{
    planrules::kind type = planrules::kind::two;
    planrules::mode mode = planrules::mode::oddeven;
    history::positions positions = history::positions::back; // of a five-digit draw
};

// The draws a type bets on: all but the first one (two positions) or two.
qint64 firstbet(planrules::kind type);
// The draws a history needs before it has one bet: 2 or 3.
qint64 drawsneeded(planrules::kind type);
qint64 betsof(const history::Thistory &draws, planrules::kind type);

// Replays the history with the planner's table; its row count is N. Money is
// signed 64-bit and checked: an overflow fails with "整数溢出".
outcome run(const history::Thistory &draws, const settings &how, const plancalc::plantabletype &table,
            std::optional<qint64> bankroll = {}, const history::progressfn &progress = {});

} // namespace replay
