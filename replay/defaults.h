// The replay's settings as a new window and the command line start: the
// planner's own defaults, and a stake of 2 元 a bet.
#pragma once

#include "app/planrules.h"

#include <QtGlobal>

namespace replay::defaults {

constexpr qint64 ticketprice = 2;
constexpr qint64 loss = 0;
constexpr qint64 profit = 20;
constexpr qint64 prize = 1040;
// Without a period count the replay takes the longest up to this one whose
// planner table exists.
constexpr qint64 longestcap = 80;
constexpr qint64 simulations = 10000;
constexpr qint64 maxsimulations = 1000000;
constexpr quint64 seed = 3000;

inline qint64 stake(planrules::kind type)
{
    return planrules::betcount(type) * ticketprice;
}

} // namespace replay::defaults
