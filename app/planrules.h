// The plan engine's rules, with no widget: positions and classes of a draw, the
// plan text that carries a plan from one period to the next, the next-plan rule,
// the bet over the table of all 1000 numbers, and the copied text.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <optional>
#include <vector>

namespace planrules {

// One row per three-digit number r: hundreds, tens, units digit of r, the
// exclusion flag (0: in the current bet, 1: not) and a reserved column.
using coderow = std::array<qint32, 5>;
using codetabletype = std::vector<coderow>;
constexpr int flagcolumn = 3;
codetabletype buildcodetable();

enum class mode { oddeven = 0, bigsmall = 1 };

// Positions are 1 "百", 2 "十", 3 "个"; classes "奇"/"偶" or "大"/"小".
QChar positionname(int position);
int positionof(QChar name);
QChar classof(int digit, mode m);
QChar otherclass(QChar cls);
bool inclass(int digit, QChar cls);

// Exactly three characters, each an ASCII digit.
bool isdraw(const QString &text);
// The digit at a position (1 to 3) of a draw; fails for anything else.
int digitat(const QString &draw, int position);

// A plan: the named positions in ascending order, one class at each.
struct leg
{
    int position;
    QChar cls;
    bool operator==(const leg &) const = default;
};
using plan = std::vector<leg>;

// Position names, "位", then the classes: 百十位奇偶, 百十个位奇偶奇.
QString plantext(const plan &p);
// Reads a plan text back; fails when it is not one.
plan readplan(const QString &text);
// The plan that bets the classes the draw shows at the given positions.
plan drawplan(const QString &draw, std::initializer_list<int> positions, mode m);

// A number whose digit at every named position is in the plan's class there.
bool inbet(const QString &draw, const plan &p);
bool inbet(const coderow &row, const plan &p);
// Sets the exclusion flags of the table to the plan's bet; returns its size.
int selectbet(codetabletype &table, const plan &p);

// The next two-position plan, from the previous one (none in the first period)
// and the latest draw; no value when the draw hits the previous plan. Fails when
// the previous plan does not name two positions.
std::optional<plan> nexttwoplan(const std::optional<plan> &previous, const QString &draw, mode m);

// The class text of a draw at all three positions: 百十个位 and its three classes.
QString classtext(const QString &draw, mode m);
// The next three-position plan from the second-latest and the latest draw: at each
// position it bets that a changed class changes back and a kept one stays.
plan nextthreeplan(const QString &secondlatest, const QString &latest, mode m);

// The plan types: two positions ("二码") or all three ("三码").
enum class kind { two = 0, three = 1 };

// The hit test of a three-position plan: the class text of the draw equals the
// plan's text. A plan in the other mode's classes is never hit.
bool hitsthree(const QString &draw, const plan &current, mode m);

// One generate press on checked draws: the plan that follows the current one
// (none in the first period), or no value when the latest draw hits the current
// plan. Two positions read only the latest draw.
std::optional<plan> nextplan(kind type, mode m, const std::optional<plan> &current, const QString &secondlatest,
                             const QString &latest);

// How many numbers a plan of the type bets on: 250 or 125.
int betcount(kind type);

// Running number of the numbers grid: "%3d".
QString numberlabel(int n);
// Each number and a blank; CR LF after every tenth.
QString copytext(const QStringList &numbers);

} // namespace planrules
