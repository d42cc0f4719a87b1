// The plan table file: one value per line, CR LF after each, in GBK. Lines 1 to
// 5 are the texts of the five input boxes, then seven lines per table row (the
// grid's cells, no title row).
#pragma once

#include "planner/plancalc.h"
#include "toolkit/apperror.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Ttextreader;

namespace planfile {

constexpr int boxcount = 5;
constexpr int columns = 7;

// Where plan tables are saved and loaded by default: "附属" beside the program
// while it exists and can be written to (the portable layout), else the user's
// own "Qorvel3D" in the documents folder. An installation's share folder is
// never used, whoever runs the program.
QString defaulttablefolder(const QString &programfolder, const QString &documentsfolder);
// The same for this user, the user's folder made on first use.
QString tablefolder(const QString &programfolder);

// The file's lines; fails when a text holds a character GBK cannot hold.
QList<QByteArray> planfilelines(const QStringList &boxes, const QList<QStringList> &rows);
// The whole file as bytes, CR LF after each line, the same lines: the boxes, then
// `rows` rows of `columns` cells read through `cell(row, col)` (rows from 0).
// Made in one buffer, so a table of a million rows needs no line of its own each.
QByteArray planfilebytes(const QStringList &boxes, qsizetype rows,
                         const std::function<QStringView(qsizetype row, int col)> &cell);

// The cell texts read from a file, row after row, in one buffer.
class Tplancells
{
public:
    qsizetype rows() const { return qsizetype(m_rowstarts.size()); }
    bool empty() const { return m_rowstarts.empty(); }
    qsizetype rowsize(qsizetype row) const;
    QStringView cell(qsizetype row, qsizetype col) const;
    QStringList row(qsizetype row) const;

    qsizetype textsize() const { return m_text.size(); }

    // Room for what is coming, taken at once rather than by doubling.
    void reserve(qsizetype cells, qsizetype chars);
    void startrow();
    // Appends a cell to the last row; returns its text.
    QStringView append(QByteArrayView gbkbytes);

private:
    QString m_text;
    std::vector<quint32> m_ends;      // where each cell's text ends in m_text
    std::vector<quint32> m_rowstarts; // each row's first cell
};

// A plan table file as loading puts it into the planner. The window applies the
// parts in this order, each only when it is there, and raises `failure` last.
struct loadedplan
{
    QStringList boxes;                            // lines 1 to 5 (missing lines read as empty)
    std::optional<int> layout;                    // data rows to lay out; none: the grid stays
    Tplancells cells;                             // grid rows 1, 2, ... as far as read; the last may be cut short
    std::optional<plancalc::plantabletype> table; // `layout` rows, zero where nothing was read
    QString rowcount;                             // the message when a row could not be read in full
    std::optional<AppError> failure;
};

// The whole load: the boxes, the period count of line 5 and what it allows, the
// rows after it up to the end of the file. Rows beyond the count are read and
// checked but not kept. A count that does not fit is never laid out: a negative
// one lays out the title row alone and fails with "范围检测错误".
loadedplan loadplan(Ttextreader &reader);

} // namespace planfile
