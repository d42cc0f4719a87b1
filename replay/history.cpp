#include "replay/history.h"

#include "toolkit/apperror.h"
#include "toolkit/gbk.h"
#include "toolkit/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <new>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace history {
namespace {

// One shared text per number, so that handing a draw to the plan rules
// allocates nothing.
const std::array<QString, 1000> &drawtexts()
{
    static const std::array<QString, 1000> texts = [] {
        std::array<QString, 1000> all;
        for (int n = 0; n < 1000; ++n)
            all[size_t(n)] = QString::number(n).rightJustified(3, u'0');
        return all;
    }();
    return texts;
}

[[noreturn]] void outofmemory()
{
    throw AppError(u"内存不足"_s);
}

// ---- Characters ------------------------------------------------------------
// Lines reach the reader either as ASCII bytes or as UTF-16, so one template
// serves both; a byte is widened as it is read.

inline char16_t at(const char *s, int i)
{
    return char16_t(uchar(s[i]));
}

inline char16_t at(const char16_t *s, int i)
{
    return s[i];
}

inline bool isseparator(char16_t c)
{
    if (c < 0x80)
        // A spreadsheet quotes its cells: "2024001","3,8,5".
        return c == u' ' || c == u'\t' || c == u',' || c == u'|' || c == u';' || c == u'"' || c == u'\v'
               || c == u'\f';
    return c == u'，' || c == u'；' || QChar::isSpace(c);
}

// Full-width digits read as digits.
inline int digitof(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19)
        return c - 0xFF10;
    return -1;
}

QString hex(uint value, int width)
{
    return QString::number(value, 16).rightJustified(width, u'0');
}

// ---- Order keys --------------------------------------------------------------

enum class keykind : quint8 { none, period, date, daydraw };

struct orderkey
{
    keykind kind = keykind::none;
    qint64 major = 0; // the period number, or the day as yyyymmdd
    int minor = -1;   // the time in seconds or the draw of the day; -1 when none
    int width = 0;    // digits written, so that "0023" reads back as written
};

QString keyword(const orderkey &k)
{
    if (k.kind == keykind::date)
        return k.minor < 0 ? u"日期"_s : u"时间"_s;
    return u"期号"_s;
}

QString keytext(const orderkey &k)
{
    switch (k.kind) {
    case keykind::period:
        return QString::number(k.major).rightJustified(k.width, u'0');
    case keykind::daydraw:
        return QString::number(k.major) + u'-' + QString::number(k.minor).rightJustified(k.width, u'0');
    case keykind::date: {
        QString text = QString::number(k.major / 10000) + u'-' + QString::number(k.major / 100 % 100).rightJustified(2, u'0')
                       + u'-' + QString::number(k.major % 100).rightJustified(2, u'0');
        if (k.minor >= 0) {
            text += u' ' + QString::number(k.minor / 3600).rightJustified(2, u'0') + u':'
                    + QString::number(k.minor / 60 % 60).rightJustified(2, u'0');
            if (k.minor % 60 != 0)
                text += u':' + QString::number(k.minor % 60).rightJustified(2, u'0');
        }
        return text;
    }
    case keykind::none:
        break;
    }
    return {};
}

// Reads up to `most` digits at s[i..b); gives their count, 0 when none.
template <class C>
int readdigits(const C *s, int &i, int b, int most, int &value)
{
    int n = 0;
    value = 0;
    for (; i < b && n < most; ++i, ++n) {
        const int d = digitof(at(s, i));
        if (d < 0)
            break;
        value = value * 10 + d;
    }
    return n;
}

bool isday(int y, int m, int d)
{
    return y >= 1900 && y <= 2999 && m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

// "2024001", "第2024001期".
template <class C>
bool readperiod(const C *s, int a, int b, orderkey &k)
{
    if (b > a && at(s, a) == u'第')
        ++a;
    if (b > a && at(s, b - 1) == u'期')
        --b;
    const int n = b - a;
    if (n < 1 || n > 18)
        return false;
    qint64 value = 0;
    for (int i = a; i < b; ++i) {
        const int d = digitof(at(s, i));
        if (d < 0)
            return false;
        value = value * 10 + d;
    }
    k = {keykind::period, value, -1, n};
    return true;
}

// "20240301-023": a day and the draw of that day.
template <class C>
bool readdaydraw(const C *s, int a, int b, orderkey &k)
{
    int i = a, day = 0, draw = 0;
    if (readdigits(s, i, b, 8, day) != 8 || i >= b || at(s, i) != u'-')
        return false;
    ++i;
    const int width = readdigits(s, i, b, 4, draw);
    if (width == 0 || i != b || !isday(day / 10000, day / 100 % 100, day % 100))
        return false;
    k = {keykind::daydraw, day, draw, width};
    return true;
}

// "2024-03-01", "2024/3/1", "2024.3.1", "2024年3月1日".
template <class C>
bool readdate(const C *s, int a, int b, orderkey &k)
{
    int i = a, y = 0, m = 0, d = 0;
    if (readdigits(s, i, b, 4, y) != 4 || i >= b)
        return false;
    const char16_t sep = at(s, i);
    if (sep != u'-' && sep != u'/' && sep != u'.' && sep != u'年')
        return false;
    ++i;
    if (readdigits(s, i, b, 2, m) == 0 || i >= b || at(s, i) != (sep == u'年' ? u'月' : sep))
        return false;
    ++i;
    if (readdigits(s, i, b, 2, d) == 0)
        return false;
    if (sep == u'年' && i < b && at(s, i) == u'日')
        ++i;
    if (i != b || !isday(y, m, d))
        return false;
    k = {keykind::date, qint64(y) * 10000 + m * 100 + d, -1, 0};
    return true;
}

// "20:30", "20:30:05": the time of a date just before it.
template <class C>
bool readtime(const C *s, int a, int b, int &seconds)
{
    int i = a, h = 0, m = 0, sec = 0;
    const auto colon = [&] { return i < b && (at(s, i) == u':' || at(s, i) == u'：'); };
    if (readdigits(s, i, b, 2, h) == 0 || !colon())
        return false;
    ++i;
    if (readdigits(s, i, b, 2, m) != 2)
        return false;
    if (colon()) {
        ++i;
        if (readdigits(s, i, b, 2, sec) != 2)
            return false;
    }
    if (i != b || h > 23 || m > 59 || sec > 59)
        return false;
    seconds = h * 3600 + m * 60 + sec;
    return true;
}

// ---- Bytes -------------------------------------------------------------------

// The length of the valid UTF-8 sequence at p, 0 when it is not one.
int utf8sequence(const uchar *p, const uchar *end)
{
    const uchar b = p[0];
    if (b < 0x80)
        return 1;
    int n;
    uchar lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0; // overlong
        else if (b == 0xED)
            hi = 0x9F; // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;
    } else
        return 0;
    if (end - p < n || p[1] < lo || p[1] > hi)
        return 0;
    for (int k = 2; k < n; ++k)
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    return n;
}

// Bytes equal to `c` in a word, counted without a branch per byte.
inline int countbyte(quint64 word, uchar c)
{
    constexpr quint64 low7 = 0x7F7F7F7F7F7F7F7FULL;
    const quint64 v = word ^ (0x0101010101010101ULL * c);
    // 0x80 in each byte that was `c`; then the top byte of the product sums them.
    const quint64 hits = ~(((v & low7) + low7) | v | low7);
    return int(((hits >> 7) * 0x0101010101010101ULL) >> 56);
}

qint64 countbyte(QByteArrayView bytes, uchar c)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    qint64 n = 0;
    for (; end - p >= 8; p += 8) {
        quint64 word;
        memcpy(&word, p, 8);
        n += countbyte(word, c);
    }
    for (; p < end; ++p)
        n += *p == c;
    return n;
}

bool isascii(const uchar *p, const uchar *end)
{
    quint64 high = 0;
    for (; end - p >= 8; p += 8) {
        quint64 word;
        memcpy(&word, p, 8);
        high |= word;
    }
    for (; p < end; ++p)
        high |= *p;
    return (high & 0x8080808080808080ULL) == 0;
}

// Counts well-formed multi-byte sequences and bytes that are not UTF-8.
void utf8counts(const uchar *p, const uchar *end, qint64 &good, qint64 &bad)
{
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int n = utf8sequence(p, end);
        if (n == 0) {
            ++bad;
            ++p;
        } else {
            ++good;
            p += n;
        }
    }
}

bool isgbk(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        if (*p == 0x80 || *p == 0xFF || end - p < 2)
            return false;
        const uchar t = p[1];
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return false;
        p += 2;
    }
    return true;
}

// ---- The reader --------------------------------------------------------------

struct field
{
    int start, end;
    int digits; // the count when every character is a digit, else -1
};

struct candidate
{
    int first, last; // fields
    int digits;      // 3 or 5
};

// The fields of one line, kept in place: a line of at most `longestline`
// characters has at most half as many fields, each a character and a separator.
class fieldlist
{
public:
    void clear() { m_size = 0; }
    void push_back(const field &f)
    {
        if (m_size < int(m_items.size())) // always, for lines within the limit
            m_items[size_t(m_size++)] = f;
    }
    int size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const field &operator[](int i) const { return m_items[size_t(i)]; }
    const field &front() const { return m_items[0]; }
    const field &back() const { return m_items[size_t(m_size - 1)]; }

private:
    std::array<field, longestline / 2 + 1> m_items;
    int m_size = 0;
};

// Separators and digits among ASCII characters, as isseparator() and digitof() say.
constexpr std::array<quint8, 128> asciiclasses = [] {
    std::array<quint8, 128> classes{};
    for (const char c : {' ', '\t', ',', '|', ';', '"', '\v', '\f'})
        classes[size_t(c)] = 1;
    for (char c = '0'; c <= '9'; ++c)
        classes[size_t(c)] = 2;
    return classes;
}();

QString textof(const char *s, int n)
{
    return QString::fromLatin1(s, n);
}

QString textof(const char16_t *s, int n)
{
    return QStringView(s, n).toString();
}

QString kindname(keykind kind)
{
    switch (kind) {
    case keykind::period:
        return u"期号"_s;
    case keykind::date:
        return u"日期"_s;
    case keykind::daydraw:
        return u"日期加当日序号"_s;
    case keykind::none:
        break;
    }
    return {};
}

class reader
{
public:
    reader(const readoptions &how, qint64 expected) : m_how(how)
    {
        result.history.reserve(expected);
    }

    // A line of at most `longestline` characters: ASCII bytes or UTF-16.
    template <class C>
    void line(const C *s, int n, qint64 lineno);

    void toolong(qint64 lineno, const QString &start)
    {
        m_seencontent = true;
        bad(lineno, badkind::toolong, u"行太长"_s, start);
    }
    void unreadable(qint64 lineno, const QString &text)
    {
        m_seencontent = true;
        bad(lineno, badkind::unreadable, u"含有无法识别的字符"_s, text);
    }
    parsed finish();

    parsed result;

private:
    bool wanted() const { return result.bad.size() < size_t(shownbad); }
    void bad(qint64 lineno, badkind kind, const QString &reason, const QString &text)
    {
        ++result.badcount;
        if (wanted())
            result.bad.push_back({lineno, reason, shown(text), kind});
    }
    template <class C>
    void bad(qint64 lineno, badkind kind, const QString &reason, const C *s, int n)
    {
        ++result.badcount;
        if (wanted())
            result.bad.push_back({lineno, reason, shown(textof(s, n)), kind});
    }
    template <class C>
    bool order(const orderkey &key, qint64 lineno, const C *s, int n);
    template <class C>
    void keep(const C *s, const candidate &draw, int number);

    readoptions m_how;
    fieldlist m_fields;
    bool m_seencontent = false;
    QByteArray m_label; // a label put together from both sides of the draw
    QStringEncoder m_encoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};

    keykind m_filekind = keykind::none;
    orderkey m_previous;
    qint64 m_rises = 0, m_falls = 0;
    // The first steps each way; the fewer of the two are where the order breaks.
    std::vector<badline> m_risesteps, m_fallsteps;
};

template <class C>
void reader::line(const C *s, int n, qint64 lineno)
{
    m_fields.clear();
    for (int i = 0;;) {
        while (i < n && isseparator(at(s, i)))
            ++i;
        if (i >= n)
            break;
        const int start = i;
        int digits = 0;
        for (; i < n; ++i) {
            const char16_t c = at(s, i);
            bool digit;
            if (c < 0x80) {
                const quint8 kind = asciiclasses[c];
                if (kind == 1)
                    break;
                digit = kind == 2;
            } else {
                if (isseparator(c))
                    break;
                digit = digitof(c) >= 0;
            }
            digits += digit;
        }
        const int size = i - start;
        // "0-4-4": single digits joined by "-" are fields of their own.
        bool dashed = digits != size && size >= 3 && (size & 1) && digits == size / 2 + 1;
        for (int k = start; dashed && k < i; ++k)
            dashed = ((k - start) & 1) ? at(s, k) == u'-' : digitof(at(s, k)) >= 0;
        if (digits == size)
            m_fields.push_back({start, i, digits});
        else if (dashed)
            for (int k = start; k < i; k += 2)
                m_fields.push_back({k, k + 1, 1});
        else
            m_fields.push_back({start, i, -1});
    }
    if (m_fields.empty() || at(s, m_fields.front().start) == u'#')
        return;
    const bool first = !m_seencontent;
    m_seencontent = true;
    if constexpr (sizeof(C) == 2) {
        // What the decoder could not read.
        if (std::find(s, s + n, char16_t(0xFFFD)) != s + n) {
            bad(lineno, badkind::unreadable, u"含有无法识别的字符"_s, s, n);
            return;
        }
    }

    // The candidate draws: a field of three or five digits, or a run of three or
    // five one-digit fields. A run of any other length cannot be read one way.
    // Three are enough to know whether one is left after the first-field rule.
    std::array<candidate, 3> candidates;
    int found = 0;
    const auto add = [&](const candidate &c) {
        if (found < 3)
            candidates[size_t(found)] = c;
        ++found;
    };
    const int nf = m_fields.size();
    int wrongrun = 0;
    bool anydigits = false;
    for (int k = 0; k < nf;) {
        const field &f = m_fields[k];
        anydigits = anydigits || f.digits > 0;
        if (f.digits == 1) {
            int j = k + 1;
            while (j < nf && m_fields[j].digits == 1)
                ++j;
            const int run = j - k;
            if (run == 3 || run == 5)
                add({k, j - 1, run});
            else if ((run == 4 || run >= 6) && wrongrun == 0)
                wrongrun = run;
            k = j;
        } else {
            if (f.digits == 3 || f.digits == 5)
                add({k, k, f.digits});
            ++k;
        }
    }
    if (wrongrun > 0) {
        bad(lineno, badkind::ambiguous, QString::number(wrongrun) + u"个一位数字，无法确定开奖号码"_s, s, n);
        return;
    }
    // "24001 385": a first field that could be a draw is the period number.
    int chosen = 0;
    if (found >= 2 && candidates[0].first == 0 && candidates[0].last == 0) {
        chosen = 1;
        --found;
    }
    if (found == 0) {
        if (first && !anydigits) {
            result.header = shown(textof(s, n));
            return;
        }
        bad(lineno, badkind::nodraw, u"没有开奖号码"_s, s, n);
        return;
    }
    if (found >= 2) {
        bad(lineno, badkind::ambiguous, u"一行有两个开奖号码"_s, s, n);
        return;
    }

    const candidate draw = candidates[size_t(chosen)];
    std::array<int, 5> digits{};
    int count = 0;
    if (draw.first == draw.last) {
        const field &f = m_fields[(draw.first)];
        for (int i = f.start; i < f.end; ++i)
            digits[size_t(count++)] = digitof(at(s, i));
    } else {
        for (int k = draw.first; k <= draw.last; ++k)
            digits[size_t(count++)] = digitof(at(s, m_fields[(k)].start));
    }
    size_t offset = 0;
    if (draw.digits == 5) {
        ++result.fivedigit;
        offset = m_how.five == positions::front ? 0 : m_how.five == positions::middle ? 1 : 2;
    }
    const int number = digits[offset] * 100 + digits[offset + 1] * 10 + digits[offset + 2];

    // The order key: the first field of the label that is one, those before the
    // draw first; a date may have its time in the field after it.
    orderkey key;
    const auto tryfield = [&](int k, int limit) {
        const field &f = m_fields[(k)];
        if (readperiod(s, f.start, f.end, key) || readdaydraw(s, f.start, f.end, key))
            return true;
        if (!readdate(s, f.start, f.end, key))
            return false;
        int seconds = 0;
        if (k + 1 < limit && readtime(s, m_fields[(k + 1)].start, m_fields[(k + 1)].end, seconds))
            key.minor = seconds;
        return true;
    };
    bool haskey = false;
    for (int k = 0; k < draw.first && !haskey; ++k)
        haskey = tryfield(k, draw.first);
    for (int k = draw.last + 1; k < nf && !haskey; ++k)
        haskey = tryfield(k, nf);
    if (haskey && !order(key, lineno, s, n))
        return;
    keep(s, draw, number);
}

template <class C>
void reader::keep(const C *s, const candidate &draw, int number)
{
    const int nf = m_fields.size();
    const bool before = draw.first > 0, after = draw.last + 1 < nf;
    const int beforestart = m_fields.front().start;
    const int beforeend = before ? m_fields[(draw.first - 1)].end : 0;
    const int drawstart = m_fields[(draw.first)].start;
    const int afterstart = after ? m_fields[(draw.last + 1)].start : 0;
    const int afterend = m_fields.back().end;
    if constexpr (sizeof(C) == 1) {
        const auto piece = [s](int a, int b) { return QByteArrayView(s + a, b - a); };
        if (before && after) {
            m_label.clear();
            m_label.append(piece(beforestart, drawstart)).append(piece(afterstart, afterend));
            result.history.appendutf8(number, m_label);
        } else if (before)
            result.history.appendutf8(number, piece(beforestart, beforeend));
        else if (after)
            result.history.appendutf8(number, piece(afterstart, afterend));
        else
            result.history.appendutf8(number, {});
    } else {
        // Back to UTF-8 in a buffer kept from line to line.
        const auto piece = [s](int a, int b) { return QStringView(s + a, b - a); };
        QStringView first, second;
        if (before)
            first = piece(beforestart, after ? drawstart : beforeend);
        if (after)
            (before ? second : first) = piece(afterstart, afterend);
        m_label.resize(3 * (first.size() + second.size()));
        char *out = m_encoder.appendToBuffer(m_label.data(), first);
        out = m_encoder.appendToBuffer(out, second);
        result.history.appendutf8(number, QByteArrayView(m_label.constData(), out - m_label.constData()));
    }
}

template <class C>
bool reader::order(const orderkey &key, qint64 lineno, const C *s, int n)
{
    if (m_filekind == keykind::none) {
        m_filekind = key.kind;
        m_previous = key;
        return true;
    }
    if (key.kind != m_filekind) {
        bad(lineno, badkind::order,
            u"顺序不对：前面的行按"_s + kindname(m_filekind) + u"排列，这一行是"_s + kindname(key.kind), s, n);
        return false;
    }
    int step = 0;
    if (key.major != m_previous.major)
        step = key.major < m_previous.major ? -1 : 1;
    else if (key.kind == keykind::date && (key.minor < 0 || m_previous.minor < 0)) {
        // A day has many draws: a date without its time says nothing of their order.
        if (m_previous.minor < 0)
            m_previous = key;
        return true;
    } else if (key.minor != m_previous.minor)
        step = key.minor < m_previous.minor ? -1 : 1;
    if (step == 0) {
        bad(lineno, badkind::repeated, keyword(key) + keytext(key) + u"重复"_s, s, n);
        return false;
    }
    std::vector<badline> &steps = step > 0 ? m_risesteps : m_fallsteps;
    (step > 0 ? m_rises : m_falls) += 1;
    if (steps.size() < size_t(shownbad))
        steps.push_back({lineno, keyword(key) + keytext(key) + u"排在"_s + keytext(m_previous) + u"之后"_s,
                         shown(textof(s, n)), badkind::order});
    m_previous = key;
    return true;
}

parsed reader::finish()
{
    // The way most steps go is the file's; the others are where it breaks.
    const bool falling = m_falls > m_rises;
    const std::vector<badline> &breaks = falling ? m_risesteps : m_fallsteps;
    result.badcount += falling ? m_rises : m_falls;
    if (!breaks.empty()) {
        std::vector<badline> all;
        all.reserve(result.bad.size() + breaks.size());
        std::merge(result.bad.begin(), result.bad.end(), breaks.begin(), breaks.end(), std::back_inserter(all),
                   [](const badline &a, const badline &b) { return a.number < b.number; });
        if (all.size() > size_t(shownbad))
            all.resize(size_t(shownbad));
        result.bad = std::move(all);
    }
    result.order = m_filekind == keykind::none ? orderfrom::file : orderfrom::keys;
    if (falling && result.badcount == 0 && result.history.size() >= 2)
        result.history.reverse();
    result.history.squeeze();
    return std::move(result);
}

constexpr qint64 progressevery = 16384;

// Code points in UTF-8 bytes, a byte that is none counting as one.
qsizetype utf8chars(const uchar *p, const uchar *end)
{
    qsizetype n = 0;
    for (; p < end; ++p)
        n += (*p & 0xC0) != 0x80;
    return n;
}

bool isutf8(const uchar *p, const uchar *end)
{
    while (p < end) {
        const int n = utf8sequence(p, end);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

// UTF-8 bytes, ASCII lines read as they stand; `checklines` when the bytes are
// not all valid, so that each line is checked on its own.
parsed parseutf8(QByteArrayView bytes, bool checklines, const readoptions &how, const progressfn &progress)
{
    qint64 expected = countbyte(bytes, '\n');
    if (expected == 0)
        expected = countbyte(bytes, '\r');
    reader r(how, expected + 1);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString wide;
    const auto *begin = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = begin + bytes.size();
    qint64 lineno = 0;
    for (const uchar *p = begin; p < end;) {
        const uchar *start = p;
        uchar high = 0;
        while (p < end && *p != '\n' && *p != '\r')
            high |= *p++;
        const uchar *stop = p;
        if (p < end)
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        if (++lineno % progressevery == 0 && progress && !progress(p - begin, end - begin)) {
            r.result.cancelled = true;
            break;
        }
        const qsizetype size = stop - start;
        const char *line = reinterpret_cast<const char *>(start);
        if ((high & 0x80) == 0) {
            if (size > longestline)
                r.toolong(lineno, QString::fromLatin1(line, shownchars + 1));
            else
                r.line(line, int(size), lineno);
            continue;
        }
        if (size > longestline && utf8chars(start, stop) > longestline) {
            r.toolong(lineno, QString::fromUtf8(line, std::min<qsizetype>(size, 4 * (shownchars + 1))));
            continue;
        }
        if (checklines && !isutf8(start, stop)) {
            r.unreadable(lineno, QString::fromUtf8(line, size));
            continue;
        }
        wide.resize(size);
        const QChar *wideend = decoder.appendToBuffer(wide.data(), QByteArrayView(line, size));
        r.line(reinterpret_cast<const char16_t *>(wide.constData()), int(wideend - wide.constData()), lineno);
    }
    return r.finish();
}

parsed parsetext(QStringView text, const readoptions &how, const progressfn &progress)
{
    if (text.startsWith(QChar(0xFEFF)))
        text = text.sliced(1);
    qint64 expected = text.count(u'\n');
    if (expected == 0)
        expected = text.count(u'\r');
    reader r(how, expected + 1);
    const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
    const auto *end = begin + text.size();
    qint64 lineno = 0;
    for (const char16_t *p = begin; p < end;) {
        const char16_t *start = p;
        while (p < end && *p != u'\n' && *p != u'\r')
            ++p;
        const char16_t *stop = p;
        if (p < end)
            p += (*p == u'\r' && p + 1 < end && p[1] == u'\n') ? 2 : 1;
        if (++lineno % progressevery == 0 && progress && !progress(p - begin, end - begin)) {
            r.result.cancelled = true;
            break;
        }
        const qsizetype size = stop - start;
        if (size > longestline) {
            const QStringView line(start, size);
            // A pair of surrogates is one character.
            qsizetype chars = size;
            for (qsizetype i = 0; i + 1 < size; ++i)
                if (line[i].isHighSurrogate() && line[i + 1].isLowSurrogate())
                    --chars;
            if (chars > longestline) {
                r.toolong(lineno, line.first(2 * (shownchars + 1)).toString());
                continue;
            }
        }
        r.line(start, int(size), lineno);
    }
    return r.finish();
}

} // namespace

QString positionsname(positions p)
{
    switch (p) {
    case positions::front:
        return u"前三"_s;
    case positions::middle:
        return u"中三"_s;
    case positions::back:
        break;
    }
    return u"后三"_s;
}

Thistory::Tbytes::Tbytes(const Tbytes &other)
{
    append(other.m_data, other.m_size);
}

Thistory::Tbytes::~Tbytes()
{
    std::free(m_data);
}

void Thistory::Tbytes::swap(Tbytes &other) noexcept
{
    std::swap(m_data, other.m_data);
    std::swap(m_size, other.m_size);
    std::swap(m_capacity, other.m_capacity);
}

void Thistory::Tbytes::grow(qsizetype needed)
{
    // realloc moves a large block by remapping its pages, not by copying them.
    const qsizetype capacity = std::max({needed, m_capacity + m_capacity / 2, qsizetype(4096)});
    void *grown = std::realloc(m_data, size_t(capacity));
    if (!grown)
        throw std::bad_alloc();
    m_data = static_cast<char *>(grown);
    m_capacity = capacity;
}

void Thistory::Tbytes::append(const char *bytes, qsizetype n)
{
    if (n <= 0)
        return;
    if (m_size + n > m_capacity)
        grow(m_size + n);
    std::memcpy(m_data + m_size, bytes, size_t(n));
    m_size += n;
}

void Thistory::Tbytes::squeeze()
{
    if (m_capacity == m_size || m_size == 0)
        return;
    if (void *fitted = std::realloc(m_data, size_t(m_size))) {
        m_data = static_cast<char *>(fitted);
        m_capacity = m_size;
    }
}

const QString &Thistory::draw(qint64 i) const
{
    return drawtexts()[m_draws[size_t(i)]];
}

QByteArrayView Thistory::labelbytes(qint64 i) const
{
    constexpr qint64 mask = (qint64(1) << blockbits) - 1;
    const qint64 base = m_blocks[size_t(i >> blockbits)];
    const quint32 start = (i & mask) == 0 ? 0 : m_ends[size_t(i - 1)];
    return QByteArrayView(m_labels.data() + base + start, qsizetype(m_ends[size_t(i)] - start));
}

QString Thistory::label(qint64 i) const
{
    return QString::fromUtf8(labelbytes(i));
}

QString Thistory::name(qint64 i) const
{
    const QByteArrayView text = labelbytes(i);
    return text.isEmpty() ? u"#"_s + QString::number(i + 1) : QString::fromUtf8(text);
}

void Thistory::append(int number, QStringView label)
{
    appendutf8(number, label.toUtf8());
}

void Thistory::appendutf8(int number, QByteArrayView label)
{
    if (label.size() > 65535) {
        // Cut where a character starts.
        qsizetype cut = 65535;
        while (cut > 0 && (uchar(label[cut]) & 0xC0) == 0x80)
            --cut;
        label = label.first(cut);
    }
    constexpr qint64 mask = (qint64(1) << blockbits) - 1;
    if ((size() & mask) == 0)
        m_blocks.push_back(m_labels.size());
    m_draws.push_back(quint16(number));
    m_labels.append(label.data(), label.size());
    m_ends.push_back(quint32(m_labels.size() - m_blocks.back()));
}

void Thistory::reserve(qint64 count)
{
    m_draws.reserve(size_t(count));
    m_ends.reserve(size_t(count));
}

void Thistory::squeeze()
{
    // Copying to fit is only worth it when much is kept in hand.
    if (m_draws.capacity() > m_draws.size() + m_draws.size() / 8 + 64) {
        m_draws.shrink_to_fit();
        m_ends.shrink_to_fit();
    }
    m_labels.squeeze();
}

void Thistory::reverse()
{
    const qint64 n = size();
    // Turned round in place: the bytes of all labels, then each label back.
    std::vector<quint16> lengths(static_cast<size_t>(n));
    for (qint64 i = 0; i < n; ++i)
        lengths[size_t(n - 1 - i)] = quint16(labelbytes(i).size());
    std::reverse(m_draws.begin(), m_draws.end());
    char *bytes = m_labels.data();
    std::reverse(bytes, bytes + m_labels.size());
    m_ends.clear();
    m_blocks.clear();
    constexpr qint64 mask = (qint64(1) << blockbits) - 1;
    qint64 at = 0;
    for (qint64 i = 0; i < n; ++i) {
        if ((i & mask) == 0)
            m_blocks.push_back(at);
        std::reverse(bytes + at, bytes + at + lengths[size_t(i)]);
        at += lengths[size_t(i)];
        m_ends.push_back(quint32(at - m_blocks.back()));
    }
    m_reversed = !m_reversed;
}

QString shown(QStringView text)
{
    QString out;
    int chars = 0;
    for (qsizetype i = 0; i < text.size(); ++chars) {
        if (chars == shownchars) {
            out += u'…';
            break;
        }
        char32_t c = text[i].unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            width = 2;
        }
        const QChar::Category category = QChar::category(c);
        if (c == u'\t')
            out += u"\\t"_s;
        else if (category == QChar::Other_Control || category == QChar::Other_Format
                 || category == QChar::Other_Surrogate || category == QChar::Separator_Line
                 || category == QChar::Separator_Paragraph)
            out += c < 0x100 ? u"\\x"_s + hex(c, 2) : c < 0x10000 ? u"\\u"_s + hex(c, 4) : u"\\U"_s + hex(c, 8);
        else
            out += text.sliced(i, width);
        i += width;
    }
    return out;
}

parsed parse(const QByteArray &bytes, const readoptions &how, const progressfn &progress)
{
    try {
        QByteArrayView view(bytes);
        const bool le = view.startsWith("\xFF\xFE"), be = view.startsWith("\xFE\xFF");
        if (le || be) {
            QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                                   QStringConverter::Flag::Stateless);
            const QString text = decoder.decode(view.sliced(2));
            return parsetext(text, how, progress);
        }
        if (view.startsWith("\xEF\xBB\xBF"))
            view = view.sliced(3);
        const auto *begin = reinterpret_cast<const uchar *>(view.data());
        const auto *end = begin + view.size();
        if (isascii(begin, end))
            return parseutf8(view, false, how, progress);
        qint64 good = 0, broken = 0;
        utf8counts(begin, end, good, broken);
        if (broken == 0)
            return parseutf8(view, false, how, progress);
        // A UTF-8 file with a few broken bytes stays UTF-8, even where its bytes
        // happen to pair up as GBK.
        if (good < broken && isgbk(view)) {
            const QString text = gbk::decode(view.toByteArray());
            if (!text.contains(QChar(0xFFFD)))
                return parsetext(text, how, progress);
        }
        return parseutf8(view, true, how, progress);
    } catch (const std::bad_alloc &) {
        outofmemory();
    }
}

parsed parse(const QString &text, const readoptions &how, const progressfn &progress)
{
    try {
        return parsetext(text, how, progress);
    } catch (const std::bad_alloc &) {
        outofmemory();
    }
}

parsed parse(const QByteArray &bytes, const progressfn &progress)
{
    return parse(bytes, readoptions{}, progress);
}

parsed parse(const QString &text, const progressfn &progress)
{
    return parse(text, readoptions{}, progress);
}

QStringList describebad(const parsed &p)
{
    // Concatenated, never through arg(): a label may hold "%1".
    QStringList lines;
    for (const badline &bad : p.bad)
        lines.append(u"第"_s + QString::number(bad.number) + u"行："_s + bad.reason
                     + (bad.text.isEmpty() ? QString() : u"："_s + bad.text));
    if (p.badcount > qint64(p.bad.size()))
        lines.append(u"另有"_s + QString::number(p.badcount - qint64(p.bad.size())) + u"行无法识别"_s);
    return lines;
}

namespace {

[[noreturn]] void notafile()
{
    throw AppError(u"不是普通文件"_s);
}

QByteArray readall(QFile &file)
{
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(u"I/O 错误 "_s + file.errorString());
    return bytes;
}

} // namespace

QByteArray readsource(const QString &path)
{
    try {
        if (path == u"-") {
#ifdef Q_OS_UNIX
            // A terminal, a pipe or a redirected file; never a device read for ever.
            struct stat info;
            if (::fstat(STDIN_FILENO, &info) == 0 && !S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)
                && !S_ISSOCK(info.st_mode) && !::isatty(STDIN_FILENO))
                notafile();
#endif
            QFile in;
            if (!in.open(stdin, QIODevice::ReadOnly))
                throw AppError(u"无法读标准输入"_s);
            return readall(in);
        }
        const QFileInfo info(path);
        if (!info.exists() || info.isFile())
            return readwholefile(path);
        if (info.isDir())
            notafile();
#ifdef Q_OS_UNIX
        // Neither a file nor a folder: a FIFO is read, a device is not.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return readwholefile(path); // raises the file error
        struct stat opened;
        if (::fstat(file.handle(), &opened) != 0 || !S_ISFIFO(opened.st_mode))
            notafile();
        return readall(file);
#else
        notafile();
#endif
    } catch (const std::bad_alloc &) {
        outofmemory();
    }
}

} // namespace history
