#include "planner/planfile.h"

#include "toolkit/gbk.h"
#include "toolkit/programfiles.h"
#include "toolkit/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <limits>
#include <new>

namespace planfile {

QString defaulttablefolder(const QString &programfolder, const QString &documentsfolder)
{
    // Beside the program only: the data found in ../share/qorvel3d belongs to
    // the installation, and root could write there.
    const QString aux = besideprogram(programfolder, QStringLiteral("附属"));
    const QFileInfo info(aux);
    if (info.isDir() && info.isWritable())
        return aux;
    return QDir::toNativeSeparators(QDir(documentsfolder).filePath(QStringLiteral("Qorvel3D")));
}

QString tablefolder(const QString &programfolder)
{
    const QString folder =
        defaulttablefolder(programfolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QDir().mkpath(folder);
    return folder;
}

QList<QByteArray> planfilelines(const QStringList &boxes, const QList<QStringList> &rows)
{
    QList<QByteArray> lines;
    lines.reserve(boxes.size() + rows.size() * columns);
    for (const QString &text : boxes)
        lines.append(gbk::encode(text));
    for (const QStringList &row : rows)
        for (int k = 0; k < columns; ++k)
            lines.append(k < row.size() ? gbk::encode(row[k]) : QByteArray());
    return lines;
}

QByteArray planfilebytes(const QStringList &boxes, qsizetype rows,
                         const std::function<QStringView(qsizetype row, int col)> &cell)
{
    QByteArray bytes;
    // Room for numbers of some eight digits; more only grows the buffer.
    bytes.reserve(64 * boxcount + rows * columns * 10);
    for (const QString &text : boxes) {
        gbk::appendencoded(bytes, text);
        bytes += "\r\n";
    }
    for (qsizetype r = 0; r < rows; ++r) {
        for (int k = 0; k < columns; ++k) {
            gbk::appendencoded(bytes, cell(r, k));
            bytes += "\r\n";
        }
    }
    return bytes;
}

qsizetype Tplancells::rowsize(qsizetype row) const
{
    const qsizetype end = row + 1 < rows() ? m_rowstarts[size_t(row + 1)] : qsizetype(m_ends.size());
    return end - m_rowstarts[size_t(row)];
}

QStringView Tplancells::cell(qsizetype row, qsizetype col) const
{
    const size_t at = size_t(m_rowstarts[size_t(row)] + col);
    const qsizetype start = at == 0 ? 0 : m_ends[at - 1];
    return QStringView(m_text).sliced(start, m_ends[at] - start);
}

QStringList Tplancells::row(qsizetype row) const
{
    QStringList texts;
    for (qsizetype k = 0; k < rowsize(row); ++k)
        texts.append(cell(row, k).toString());
    return texts;
}

void Tplancells::reserve(qsizetype cells, qsizetype chars)
{
    m_ends.reserve(size_t(cells));
    m_rowstarts.reserve(size_t(cells / columns + 1));
    m_text.reserve(chars);
}

void Tplancells::startrow()
{
    m_rowstarts.push_back(quint32(m_ends.size()));
}

QStringView Tplancells::append(QByteArrayView gbkbytes)
{
    const qsizetype start = m_text.size();
    gbk::appenddecoded(m_text, gbkbytes);
    // Offsets of 32 bits hold any file the planner can lay out, and then some.
    if (m_text.size() > qsizetype(std::numeric_limits<quint32>::max()))
        throw std::bad_alloc();
    m_ends.push_back(quint32(m_text.size()));
    return QStringView(m_text).sliced(start);
}

namespace {

// Reads rows until the end of the file or a line that is no integer.
void readrows(Ttextreader &reader, loadedplan &plan)
{
    const int days = *plan.layout;
    plancalc::plantabletype &table = plan.table.emplace(static_cast<size_t>(days), plancalc::planrow{});
    QString unkept; // the text of rows beyond the count, checked and dropped
    // Each line holds at most its bytes as characters; room never touched costs
    // address space only.
    plan.cells.reserve(qsizetype(days) * columns, std::min(reader.remaining(), qsizetype(days) * columns * 24));
    for (qint64 r = 1; !reader.atend(); ++r) {
        const bool kept = r <= days;
        if (kept)
            plan.cells.startrow();
        for (int k = 0; k < columns; ++k) {
            // Past the end a row reads on as empty lines, which are no integers.
            const QByteArrayView line = reader.nextline();
            QStringView text;
            if (kept) {
                text = plan.cells.append(line);
            } else {
                unkept.resize(0);
                gbk::appenddecoded(unkept, line);
                text = unkept;
            }
            const std::optional<qint64> value = plancalc::tointeger(text);
            if (!value) {
                plan.rowcount = QString::number(r - 1);
                return;
            }
            if (kept)
                table[static_cast<size_t>(r - 1)][k] = *value;
        }
    }
}

} // namespace

loadedplan loadplan(Ttextreader &reader)
{
    loadedplan plan;
    for (int i = 0; i < boxcount; ++i)
        plan.boxes.append(gbk::decode(reader.readline()));
    const QString &daystext = plan.boxes.last();
    const std::optional<qint64> days = plancalc::tointeger(daystext);
    if (!days) {
        plan.failure = plancalc::notaninteger(daystext);
        return plan;
    }
    plan.failure = plancalc::daysfault(*days);
    if (*days < 0)
        plan.layout = 0; // the grid is laid out before the count is refused
    if (plan.failure)
        return plan;
    plan.layout = static_cast<int>(*days);
    readrows(reader, plan);
    return plan;
}

} // namespace planfile
