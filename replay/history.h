// A history of past draws, read from a text file or pasted text: one draw a line,
// either its last token of three digits ("2026001 385") or its last three tokens
// of one digit each ("2026001 3,8,5"); what comes before is the line's label.
// Empty lines and lines that start with "#" are skipped; any other line is bad.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace history {

enum class positions { front, middle, back }; // 前三 中三 后三 of a five-digit draw

// Reports progress (done of total) now and then; false cancels.
using progressfn = std::function<bool(qint64 done, qint64 total)>;

struct readoptions
{
    positions five = positions::back;
};

struct badline
{
    qint64 number; // 1-based line number in the text
    QString reason;
    QString text;
};

enum class orderfrom { keys, file };

// Draws oldest first, held compactly: a million of them stay small.
class Thistory
{
public:
    qint64 size() const { return qint64(m_draws.size()); }
    bool isempty() const { return m_draws.empty(); }
    // The draw as three digits, "007".
    const QString &draw(qint64 i) const;
    int number(qint64 i) const { return m_draws[size_t(i)]; }
    QString label(qint64 i) const;
    // The label, or "#n" (n its place from the oldest, from 1) when it has none.
    QString name(qint64 i) const;
    // The file listed the newest draw first and was turned round.
    bool reversed() const { return m_reversed; }

    void append(int number, QStringView label);
    void reverse();
    // Gives back the room that appending kept in hand.
    void squeeze();

private:
    QStringView labelview(qint64 i) const;

    std::vector<quint16> m_draws;
    QString m_labels;            // all labels, one after another
    std::vector<qsizetype> m_ends; // where each label ends in m_labels
    bool m_reversed = false;
};

struct parsed
{
    Thistory history;
    qint64 badcount = 0;
    std::vector<badline> bad; // the first `shownbad` of them
    bool cancelled = false;
    QString header;
    orderfrom order = orderfrom::file;
    qint64 fivedigit = 0;
};

constexpr int shownbad = 20;

// UTF-8, or GBK when the bytes are not valid UTF-8; a byte-order mark is dropped.
QString decode(const QByteArray &bytes);
parsed parse(const QString &text, const readoptions &how = {}, const progressfn &progress = {});
parsed parse(const QByteArray &bytes, const readoptions &how = {}, const progressfn &progress = {});
QByteArray readsource(const QString &path);

// "第3行：abc" for each bad line shown, then "另有N行无法识别" when more were cut.
QStringList describebad(const parsed &p);

} // namespace history
