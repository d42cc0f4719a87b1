// A history of past draws, read from a file, pasted text or standard input: one
// draw a line, as three digits (or five for 时时彩) in one field or in one-digit
// fields; whatever else the line holds is its label, and a period number, date or
// day-and-draw in the label orders the file. Empty lines and lines that start with
// "#" are skipped; a first line none of whose fields is all digits is a header
// ("期号,开奖号码,开奖日期"); any other line
// that cannot be read one way only is bad, with its reason.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace history {

// Reports progress (done of total) now and then; false cancels.
using progressfn = std::function<bool(qint64 done, qint64 total)>;

// Which three of a five-digit draw are played.
enum class positions { front, middle, back }; // 前三 中三 后三
QString positionsname(positions p);

struct readoptions
{
    positions five = positions::back;
};

enum class badkind { nodraw, ambiguous, unreadable, toolong, order, repeated };

struct badline
{
    qint64 number;  // 1-based line number in the text
    QString reason; // 没有开奖号码, 一行有两个开奖号码, 期号2024010排在2024011之后, …
    QString text;   // the line, cut to 60 characters, control characters escaped
    badkind kind = badkind::nodraw;
};

// Draws oldest first, held compactly: ten million of them stay small.
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
    // The same with the label as UTF-8; a label keeps at most 65535 bytes.
    void appendutf8(int number, QByteArrayView label);
    void reverse();
    // Makes room for this many draws in one go.
    void reserve(qint64 count);
    // Gives back the room that appending kept in hand.
    void squeeze();

private:
    // Bytes that grow in place, so that a large history is never held twice.
    class Tbytes
    {
    public:
        Tbytes() = default;
        Tbytes(const Tbytes &other);
        Tbytes(Tbytes &&other) noexcept { swap(other); }
        Tbytes &operator=(Tbytes other) noexcept
        {
            swap(other);
            return *this;
        }
        ~Tbytes();
        void swap(Tbytes &other) noexcept;
        void append(const char *bytes, qsizetype n);
        void squeeze();
        char *data() { return m_data; }
        const char *data() const { return m_data; }
        qsizetype size() const { return m_size; }

    private:
        void grow(qsizetype needed);
        char *m_data = nullptr;
        qsizetype m_size = 0, m_capacity = 0;
    };

    // Label ends are kept relative to their block, so that four bytes hold each.
    static constexpr int blockbits = 16;
    QByteArrayView labelbytes(qint64 i) const;

    std::vector<quint16> m_draws;
    Tbytes m_labels;                 // all labels as UTF-8, one after another
    std::vector<quint32> m_ends;     // where each label ends, from its block's start
    std::vector<qint64> m_blocks;    // where each block of 2^blockbits labels starts
    bool m_reversed = false;
};

enum class orderfrom { keys, file };

struct parsed
{
    Thistory history;          // oldest first
    qint64 badcount = 0;
    std::vector<badline> bad;  // the first `shownbad` of them, by line number
    bool cancelled = false;
    QString header;            // the skipped header line (cut and escaped), empty when none
    orderfrom order = orderfrom::file;
    qint64 fivedigit = 0;      // lines whose draw had five digits
};

constexpr int shownbad = 20;
// Longer lines are bad, and are neither split nor kept.
constexpr int longestline = 1000;
// Bad lines and headers are shown cut to this many characters.
constexpr int shownchars = 60;

// The encoding is decided for the whole of the bytes: UTF-16 by its byte-order
// mark, else UTF-8 when all of it is valid, else GBK when all of it is, else UTF-8
// with each line that holds an invalid sequence bad. Fails with "内存不足" when
// memory runs out.
parsed parse(const QByteArray &bytes, const readoptions &how = {}, const progressfn &progress = {});
parsed parse(const QString &text, const readoptions &how = {}, const progressfn &progress = {});
parsed parse(const QByteArray &bytes, const progressfn &progress);
parsed parse(const QString &text, const progressfn &progress);

// "第3行：没有开奖号码：abc" for each bad line shown, then "另有N行无法识别"
// when more were cut.
QStringList describebad(const parsed &p);

// Text from a file made safe to show: at most `shownchars` characters (then "…"),
// control and format characters written as escapes ("\x1b").
QString shown(QStringView text);

// The bytes of a history source: a file path, or "-" for standard input. Refuses
// what is not a regular file, a FIFO or standard input ("不是普通文件"); file
// errors as readwholefile() raises them; "内存不足" when memory runs out.
QByteArray readsource(const QString &path);

} // namespace history
