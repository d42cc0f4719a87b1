#include "replay/history.h"

#include "app/planrules.h"
#include "toolkit/gbk.h"
#include "toolkit/textfile.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

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

bool isseparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u'，' || c == u'|' || c == u';';
}

bool isdigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

struct span
{
    qsizetype start, end;
    qsizetype size() const { return end - start; }
};

// The leading period number of a label: its first token when that is all
// digits (and short enough to hold), else none.
std::optional<qint64> periodnumber(QStringView label)
{
    qsizetype end = 0;
    while (end < label.size() && !isseparator(label[end]))
        ++end;
    if (end == 0 || end > 18)
        return std::nullopt;
    qint64 value = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (!isdigit(label[i]))
            return std::nullopt;
        value = value * 10 + (label[i].unicode() - u'0');
    }
    return value;
}

} // namespace

const QString &Thistory::draw(qint64 i) const
{
    return drawtexts()[m_draws[size_t(i)]];
}

QStringView Thistory::labelview(qint64 i) const
{
    const qsizetype start = i == 0 ? 0 : m_ends[size_t(i - 1)];
    return QStringView(m_labels).mid(start, m_ends[size_t(i)] - start);
}

QString Thistory::label(qint64 i) const
{
    return labelview(i).toString();
}

QString Thistory::name(qint64 i) const
{
    const QString text = label(i);
    return text.isEmpty() ? u"#"_s + QString::number(i + 1) : text;
}

void Thistory::append(int number, QStringView label)
{
    m_draws.push_back(quint16(number));
    m_labels += label;
    m_ends.push_back(m_labels.size());
}

void Thistory::squeeze()
{
    m_draws.shrink_to_fit();
    m_ends.shrink_to_fit();
    m_labels.squeeze();
}

void Thistory::reverse()
{
    Thistory turned;
    turned.m_draws.reserve(m_draws.size());
    turned.m_ends.reserve(m_ends.size());
    turned.m_labels.reserve(m_labels.size());
    for (qint64 i = size() - 1; i >= 0; --i)
        turned.append(m_draws[size_t(i)], labelview(i));
    turned.m_reversed = !m_reversed;
    *this = std::move(turned);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return gbk::decode(bytes);
}

parsed parse(const QByteArray &bytes, const readoptions &how, const progressfn &progress)
{
    return parse(decode(bytes), how, progress);
}

QByteArray readsource(const QString &path)
{
    return readwholefile(path);
}

parsed parse(const QString &text, const readoptions &, const progressfn &progress)
{
    parsed result;
    std::vector<span> tokens;
    bool numbered = true, falling = true;
    std::optional<qint64> previousnumber;
    qint64 lineno = 0;
    for (qsizetype pos = 0; pos < text.size();) {
        qsizetype end = text.indexOf(u'\n', pos);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        if (end > pos && text[end - 1] == u'\r')
            --end;
        const QStringView line = QStringView(text).mid(pos, end - pos);
        pos = next;
        if (++lineno % 16384 == 0 && progress && !progress(pos, text.size())) {
            result.cancelled = true;
            return result;
        }

        tokens.clear();
        for (qsizetype i = 0; i < line.size();) {
            while (i < line.size() && isseparator(line[i]))
                ++i;
            const qsizetype start = i;
            while (i < line.size() && !isseparator(line[i]))
                ++i;
            if (i > start)
                tokens.push_back({start, i});
        }
        if (tokens.empty() || line[tokens.front().start] == u'#')
            continue;

        // The draw: the last token of three digits, or the last three of one digit.
        const span last = tokens.back();
        qsizetype drawstart = -1;
        int number = -1;
        if (planrules::isdraw(line.mid(last.start, last.size()).toString())) {
            drawstart = last.start;
            number = line.mid(last.start, 3).toInt();
        } else if (tokens.size() >= 3) {
            const span *three = &tokens[tokens.size() - 3];
            QString digits;
            for (int k = 0; k < 3; ++k)
                if (three[k].size() == 1)
                    digits += line[three[k].start];
            if (planrules::isdraw(digits)) {
                drawstart = three[0].start;
                number = digits.toInt();
            }
        }
        if (drawstart < 0) {
            if (result.bad.size() < size_t(shownbad))
                result.bad.push_back({lineno, QString(), line.toString()});
            ++result.badcount;
            continue;
        }

        qsizetype labelend = drawstart;
        while (labelend > 0 && isseparator(line[labelend - 1]))
            --labelend;
        const QStringView label = line.mid(tokens.front().start, std::max<qsizetype>(0, labelend - tokens.front().start));
        const std::optional<qint64> period = periodnumber(label);
        numbered = numbered && period.has_value();
        if (numbered && previousnumber)
            falling = falling && *period < *previousnumber;
        previousnumber = period;
        result.history.append(number, label);
    }
    // A listing whose period numbers fall down the file gives the newest draw first.
    if (result.badcount == 0 && numbered && falling && result.history.size() >= 2)
        result.history.reverse();
    result.history.squeeze();
    return result;
}

QStringList describebad(const parsed &p)
{
    QStringList lines;
    for (const badline &bad : p.bad)
        lines.append(u"第%1行：%2"_s.arg(bad.number).arg(bad.text));
    if (p.badcount > qint64(p.bad.size()))
        lines.append(u"另有%1行无法识别"_s.arg(p.badcount - qint64(p.bad.size())));
    return lines;
}

} // namespace history
