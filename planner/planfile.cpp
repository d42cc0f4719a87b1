#include "planner/planfile.h"

#include "toolkit/apperror.h"
#include "toolkit/gbk.h"
#include "toolkit/textfile.h"

namespace planfile {

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

QStringList readboxes(Ttextreader &reader)
{
    QStringList boxes;
    for (int i = 0; i < boxcount; ++i)
        boxes.append(gbk::decode(reader.readline()));
    return boxes;
}

planrows readrows(Ttextreader &reader, qint64 days)
{
    planrows rows;
    rows.table.assign(static_cast<size_t>(std::max<qint64>(days, 0)), plancalc::planrow{});
    for (qint64 r = 1; !reader.atend(); ++r) {
        const bool kept = r <= days;
        if (kept)
            rows.cells.emplace_back();
        for (int k = 0; k < columns; ++k) {
            // Past the end a row reads on as empty lines, which are no integers.
            const QString text = gbk::decode(reader.readline());
            if (kept)
                rows.cells.back().append(text);
            try {
                const qint64 value = plancalc::readinteger(text);
                if (kept)
                    rows.table[static_cast<size_t>(r - 1)][k] = value;
            } catch (const AppError &) {
                rows.stoppedafter = r - 1;
                return rows;
            }
        }
    }
    return rows;
}

} // namespace planfile
