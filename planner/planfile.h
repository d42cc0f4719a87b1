// The plan table file: one value per line, CR LF after each, in GBK. Lines 1 to
// 5 are the texts of the five input boxes, then seven lines per table row (the
// grid's cells, no title row).
#pragma once

#include "planner/plancalc.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>
#include <vector>

class Ttextreader;

namespace planfile {

constexpr int boxcount = 5;
constexpr int columns = 7;

// The file's lines; fails when a text holds a character GBK cannot hold.
QList<QByteArray> planfilelines(const QStringList &boxes, const QList<QStringList> &rows);

// Lines 1 to 5, as the boxes get them (missing lines read as empty).
QStringList readboxes(Ttextreader &reader);

struct planrows
{
    std::vector<QStringList> cells; // rows 1 to `days` as far as read; the last may be cut short
    plancalc::plantabletype table;  // `days` rows, zero where nothing was read
    std::optional<qint64> stoppedafter; // rows read in full before a line that is no integer
};

// The rows after the boxes, up to the end of the file. Rows beyond `days` are
// read and checked but not kept.
planrows readrows(Ttextreader &reader, qint64 days);

} // namespace planfile
