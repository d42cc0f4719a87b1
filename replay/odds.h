// The odds of a plan under random draws: each period's bet hits with the chance
// bets / 1000, independently, whatever numbers it picks. Plain inputs only (the
// bet count and the planner's table as columns), so the summary, the command
// line and the tests all ask the same functions.
#pragma once

#include "planner/plancalc.h"

#include <QString>

#include <optional>
#include <vector>

namespace odds {

// The planner's table as the plan plays it, period 1 first: what period k stakes,
// the sum of the stakes of periods 1..k, and what a hit at period k pays.
struct plantable
{
    std::vector<qint64> stakes;
    std::vector<qint64> totals;
    std::vector<qint64> prizes;
    qint64 periods() const { return qint64(stakes.size()); }
};

// The columns of a planner table. Its own running total starts at the earlier
// loss L, which a plan never stakes, so the totals here are the stakes summed
// afresh (checked: "整数溢出").
plantable fromplanner(const plancalc::plantabletype &table);

// One period's bet hits with this chance.
double hitchance(qint64 bets);
// All `periods` bets of a plan miss.
double bustchance(qint64 bets, qint64 periods);
// What every 100 staked brings back on average: hit x prize / stake x 100 for one
// multiple; the multiples cancel out, so it holds for any plan. Fails on a stake <= 0.
double returnper100(qint64 bets, qint64 stake, qint64 prize);
// What one bust loses: all N stakes (0 for an empty table).
qint64 bustcost(const plantable &table);
// The mean result of one plan: each first hit at k weighted by its chance, and
// the bust. Fails when the columns differ in length.
double expectedplanresult(qint64 bets, const plantable &table);
// Over `plans` finished plans.
double expectedbusts(qint64 bets, qint64 periods, qint64 plans);
// A plan lasts at least `length` periods: it missed the first length - 1 bets.
double lastsatleast(qint64 bets, qint64 length);
// Something of chance `chance` happens at least once in `times` tries; exact for
// tiny chances, where 1 - (1 - c)^n would round to 0.
double atleastonce(double chance, qint64 times);
// Of `plans` finished plans, how many end after 1..periods bets; the last length
// holds the busts as well.
std::vector<double> expectedlengths(qint64 bets, qint64 periods, qint64 plans);

// The figures the summary shows, for a history whose finished plans number
// `plans` and whose longest lasted `longest` periods (0: none finished).
struct figures
{
    double hit = 0;
    double bust = 0;
    std::optional<double> returnper100; // none for a stake <= 0
    qint64 bustcost = 0;
    double expectedplan = 0;
    double expectedbusts = 0;
    double longestatleast = 0;  // one plan lasting at least as long as the longest seen
    double longestanywhere = 0; // that happening at least once over the finished plans
};
figures figuresof(qint64 bets, const plantable &table, qint64 stake, qint64 prize, qint64 plans, qint64 longest);

// "4.22%（约1/24）"; tiny chances keep three significant digits, and a chance
// below 1 that would round to 100.00% reads "超过99.99%".
QString chancetext(double chance);

} // namespace odds
