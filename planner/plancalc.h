// The multiplier planner's calculation, with no widget: for each period the
// smallest multiple at which a win pays back the earlier loss and every stake so
// far and leaves at least the expected profit rate. Signed 64-bit throughout;
// an overflow raises "整数溢出", a zero divisor "被 0 除".
#pragma once

#include "toolkit/apperror.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace plancalc {

// One period: number, multiple, stake, cumulative investment, prize, net profit,
// profit rate (%), in the grid's and the file's column order.
using planrow = std::array<qint64, 7>;
using plantabletype = std::vector<planrow>;
enum planfield : int {
    periodcolumn,
    multiplecolumn,
    stakecolumn,
    totalcolumn,
    prizecolumn,
    netcolumn,
    ratecolumn
};

constexpr qint64 maxmultiple = 10000;
constexpr qint64 maxdays = 1000000;

// An optional sign and decimal digits, blanks around them ignored, within 64 bits;
// no value for anything else.
std::optional<qint64> tointeger(QStringView text);
// The same, failing with notaninteger(text).
qint64 readinteger(const QString &text);
// "'%s' 不是一个有效的整形值", quoting the text as it stands.
AppError notaninteger(const QString &text);

struct inputs
{
    qint64 prekui;   // previous loss L
    qint64 lirun;    // expected profit R, percent
    qint64 inofsin;  // stake of one multiple S
    qint64 outofsin; // prize of one multiple P
    qint64 days;     // periods N
};

// Why no table can be sized for a period count: "范围检测错误" for a negative
// one; one above maxdays is refused rather than exhausting memory. None when it fits.
std::optional<AppError> daysfault(qint64 days);
// The period count as a row count, failing with daysfault(days).
int checkdays(qint64 days);

// Reads the boxes in the window's order: the period count first (a negative
// one fails with "范围检测错误", one above maxdays too), then L, R, S, P and N.
inputs readinputs(const QString &prekui, const QString &lirun, const QString &inofsin, const QString &outofsin,
                  const QString &days);

// The row of multiple m on top of the running total T; fails with "整数溢出" or
// "被 0 除" at the first step that overflows or divides by zero.
planrow candidate(qint64 period, qint64 m, qint64 total, const inputs &in);
// The same row, or no value where candidate() would fail.
std::optional<planrow> trycandidate(qint64 period, qint64 m, qint64 total, const inputs &in);

// The first multiple from 1 to maxmultiple that qualifies, or 0 when none does:
// tried one after another, as the rule is written.
qint64 scanmultiple(qint64 total, const inputs &in);
// The same answer, found by bisection where the rate cannot fall as the multiple
// grows, and by the scan elsewhere.
qint64 firstmultiple(qint64 total, const inputs &in);

// The whole table, or no value when some period has no qualifying multiple. The
// period count is checked as checkdays() does.
std::optional<plantabletype> calculate(const inputs &in);
// The table as far as it goes: all rows, or those before the first period with no
// qualifying multiple. Its size is the largest count up to in.days whose table exists.
plantabletype calculateupto(const inputs &in);

// a + b and a - b, failing with "整数溢出" where the result leaves 64 bits.
qint64 addchecked(qint64 a, qint64 b);
qint64 subchecked(qint64 a, qint64 b);

// Sum of the net profits of the first `days` rows, divided by `days`.
qint64 averagenet(const plantabletype &table, qint64 days);

// The planner's whole decision for a set of inputs: the table, or why there is
// none. A count of 0 lays out no row and has no average (the planner window
// fails there with "被 0 除"); overflows raise as calculate() does.
enum class verdict { table, nodays, toolarge };
struct decision
{
    verdict outcome = verdict::toolarge;
    plantabletype table; // all in.days rows when outcome is verdict::table
};
decision decide(const inputs &in);
// The largest count up to `cap` whose table exists with these inputs (their own
// count is not read); a period that overflows ends it as one with no multiple does.
qint64 longestfeasible(const inputs &in, qint64 cap);

} // namespace plancalc
