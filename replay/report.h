// What a replay says, in the words the window shows and the command line
// prints: the summary (the risk first), the table of plans, and the CSV and
// JSON files. The figures come from replay.h, odds.h and simulate.h.
#pragma once

#include "replay/odds.h"
#include "replay/prepare.h"
#include "replay/simulate.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace replay {

QString kindname(planrules::kind type);
QString modename(planrules::mode mode);

// "3,951,000元", "-1,500元": thousands separators, always.
QString moneytext(qint64 value);
// An axis label: "4,000", "3.5万", "-40亿".
QString axistext(double value);

// "二码 奇偶模式；前期亏损0元，…；本金不限": what the replay was run with, as the
// summary and an exported chart's caption say it.
QString settingsline(const runinfo &info, const outcome &out);
// "计划长度：1期184个，2期141个……11期55个（其中11期爆仓38个）", the plan lengths
// the chart shows, in words.
QString lengthsline(const outcome &out, qint64 days);

// What the summary is made from.
struct findings
{
    const history::parsed &read;
    const runinfo &info;
    const outcome &out;
    const simulate::result *simulated = nullptr; // none when skipped or not run
};

// One line of the summary; `strong` lines are the ones to stand out (the risk
// and the worst figures), shown in bold or marked, never by colour alone.
struct summaryline
{
    QString text;
    bool strong = false;
};
std::vector<summaryline> summary(const findings &f);
// The summary as plain lines, strong ones marked with "■ ".
QStringList summarylines(const findings &f);

// The table of plans.
enum class tablecolumn { number, first, periods, ending, staked, won, result, count };
constexpr int tablecolumns = int(tablecolumn::count);
QStringList tabletitles();
QString cellof(const history::Thistory &draws, const outcome &out, qint64 plan, tablecolumn column);
// The cell as a number, for sorting and for the CSV; none for text cells.
std::optional<qint64> numberof(const outcome &out, qint64 plan, tablecolumn column);

// The table as CSV lines, the first with a UTF-8 byte-order mark; the caller ends
// each with CR LF. Label cells that a spreadsheet would run as a formula get a
// leading apostrophe.
QList<QByteArray> csvlines(const history::Thistory &draws, const outcome &out);

// The results for scripts, one JSON object.
QByteArray json(const findings &f);

} // namespace replay
