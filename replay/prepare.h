// One way into the replay for the window and the command line: the settings as
// the user gave them, checked and turned into the run (the planner's table and
// the longest count worked out once), or refused with the reason.
#pragma once

#include "replay/replay.h"
#include "replay/simulate.h"

#include <QString>

#include <optional>
#include <variant>

namespace replay {

// The settings a user gives, as typed; an empty text takes the default.
struct request
{
    settings how;
    QString loss, profit, stake, prize;
    QString periods;     // empty: the longest count up to defaults::longestcap
    QString bankroll;    // empty: no limit
    QString simulations; // empty: defaults::simulations
    QString seed;        // empty: defaults::seed
};

// What prepare() works out: everything a replay is run and reported with.
struct runinfo
{
    settings how;
    plancalc::inputs in;       // in.days is the count used
    qint64 longest = 0;        // the longest count up to defaults::longestcap whose table exists
    plancalc::plantabletype table;
    std::optional<qint64> bankroll;
    qint64 simulations = 0;
    quint64 seed = 0;
};

enum class field { loss, profit, stake, prize, periods, bankroll, simulations, seed };

// Why the settings cannot be run. With a field, `text` says what that field
// must be and follows the field's name ("必须大于0"); without, it stands alone.
struct refusal
{
    std::optional<field> what;
    QString text;
};

std::variant<runinfo, refusal> prepare(const request &given);

// The simulation of this run: histories as long as this one's bets, played with
// its table and bankroll.
simulate::setup simulationof(const runinfo &info, const history::Thistory &draws);

// The longest count up to defaults::longestcap for these amounts, or none when
// they are not all valid; what the window shows as the user types.
std::optional<qint64> longestfor(const request &given);

} // namespace replay
