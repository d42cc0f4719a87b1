#include "app/planrules.h"

#include "toolkit/apperror.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace planrules {

codetabletype buildcodetable()
{
    codetabletype table(1000);
    int r = 0;
    for (qint32 h = 0; h <= 9; ++h)
        for (qint32 t = 0; t <= 9; ++t)
            for (qint32 u = 0; u <= 9; ++u)
                table[r++] = {h, t, u, 0, 0};
    return table;
}

QChar positionname(int position)
{
    static constexpr char16_t names[] = u"百十个";
    return position >= 1 && position <= 3 ? QChar(names[position - 1]) : QChar();
}

int positionof(QChar name)
{
    for (int position = 1; position <= 3; ++position)
        if (positionname(position) == name)
            return position;
    return 0;
}

QChar classof(int digit, mode m)
{
    if (m == mode::oddeven)
        return digit % 2 == 1 ? u'奇' : u'偶';
    return digit >= 5 ? u'大' : u'小';
}

QChar otherclass(QChar cls)
{
    switch (cls.unicode()) {
    case u'奇':
        return u'偶';
    case u'偶':
        return u'奇';
    case u'大':
        return u'小';
    case u'小':
        return u'大';
    default:
        return cls;
    }
}

bool inclass(int digit, QChar cls)
{
    switch (cls.unicode()) {
    case u'奇':
        return digit % 2 == 1;
    case u'偶':
        return digit % 2 == 0;
    case u'大':
        return digit >= 5;
    case u'小':
        return digit < 5;
    default:
        return false;
    }
}

bool isdraw(const QString &text)
{
    // Asked for every digit a plan reads, so kept to three plain comparisons.
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const QChar *c = text.constData();
    return text.size() == 3 && digit(c[0]) && digit(c[1]) && digit(c[2]);
}

int digitat(const QString &draw, int position)
{
    if (position < 1 || position > 3 || !isdraw(draw))
        throw AppError(u"无效的号码：%1 第%2位"_s.arg(draw).arg(position));
    return draw.constData()[position - 1].unicode() - u'0';
}

QString plantext(const plan &p)
{
    QString text;
    for (const leg &l : p)
        text += positionname(l.position);
    text += u'位';
    for (const leg &l : p)
        text += l.cls;
    return text;
}

plan readplan(const QString &text)
{
    // Names of distinct positions in ascending order, "位", one class for each.
    const qsizetype mark = text.indexOf(u'位');
    plan p;
    for (qsizetype i = 0; mark > 0 && i < mark && mark + 1 + i < text.size(); ++i) {
        const int position = positionof(text[i]);
        const QChar cls = text[mark + 1 + i];
        if (position == 0 || (!p.empty() && position <= p.back().position) || otherclass(cls) == cls)
            break;
        p.push_back({position, cls});
    }
    if (p.empty() || qsizetype(p.size()) != mark || text.size() != 2 * mark + 1)
        throw AppError(u"无效的计划：%1"_s.arg(text));
    return p;
}

plan drawplan(const QString &draw, std::initializer_list<int> positions, mode m)
{
    plan p;
    p.reserve(positions.size());
    for (int position : positions)
        p.push_back({position, classof(digitat(draw, position), m)});
    return p;
}

bool inbet(const QString &draw, const plan &p)
{
    return std::all_of(p.begin(), p.end(), [&](const leg &l) { return inclass(digitat(draw, l.position), l.cls); });
}

bool inbet(const coderow &row, const plan &p)
{
    return std::all_of(p.begin(), p.end(), [&](const leg &l) { return inclass(row[l.position - 1], l.cls); });
}

int selectbet(codetabletype &table, const plan &p)
{
    int selected = 0;
    for (coderow &row : table)
        row[flagcolumn] = 1;
    for (coderow &row : table) {
        if (inbet(row, p)) {
            row[flagcolumn] = 0;
            ++selected;
        }
    }
    return selected;
}

std::optional<plan> nexttwoplan(const std::optional<plan> &previous, const QString &draw, mode m)
{
    if (!previous)
        return drawplan(draw, {1, 2}, m);
    if (previous->size() != 2)
        throw AppError(u"不是二码计划：%1"_s.arg(plantext(*previous)));
    const int p = (*previous)[0].position;
    const int q = (*previous)[1].position;
    const bool keptp = classof(digitat(draw, p), m) == (*previous)[0].cls;
    const bool keptq = classof(digitat(draw, q), m) == (*previous)[1].cls;
    if (keptp && keptq)
        return std::nullopt;
    // A position whose class came true stays; a missed one gives way to the
    // position not in use, unless both missed.
    const int unused = 6 - p - q;
    int first = p, second = q;
    if (keptp)
        second = unused;
    else if (keptq)
        first = unused;
    return drawplan(draw, {std::min(first, second), std::max(first, second)}, m);
}

QString classtext(const QString &draw, mode m)
{
    return plantext(drawplan(draw, {1, 2, 3}, m));
}

plan nextthreeplan(const QString &secondlatest, const QString &latest, mode m)
{
    // Either way the bet comes to the class the second-latest draw shows there.
    plan next;
    next.reserve(3);
    for (int position = 1; position <= 3; ++position) {
        const QChar before = classof(digitat(secondlatest, position), m);
        const QChar now = classof(digitat(latest, position), m);
        next.push_back({position, before == now ? now : otherclass(now)});
    }
    return next;
}

bool hitsthree(const QString &draw, const plan &current, mode m)
{
    // Compared class by class, which is what comparing the two texts comes to.
    if (current.size() != 3)
        return false;
    for (int position = 1; position <= 3; ++position)
        if (current[position - 1].position != position
            || current[position - 1].cls != classof(digitat(draw, position), m))
            return false;
    return true;
}

std::optional<plan> nextplan(kind type, mode m, const std::optional<plan> &current, const QString &secondlatest,
                             const QString &latest)
{
    if (type == kind::two)
        return nexttwoplan(current, latest, m);
    if (current && hitsthree(latest, *current, m))
        return std::nullopt;
    return nextthreeplan(secondlatest, latest, m);
}

int betcount(kind type)
{
    // Selected once per type from the table of all numbers; the size never changes.
    static const std::array<int, 2> counts = [] {
        std::array<int, 2> sizes{};
        codetabletype table = buildcodetable();
        const QString draw = u"000"_s;
        for (const kind k : {kind::two, kind::three})
            sizes[size_t(k)] = selectbet(table, *nextplan(k, mode::oddeven, std::nullopt, draw, draw));
        return sizes;
    }();
    return counts[size_t(type)];
}

QString numberlabel(int n)
{
    return QString::number(n).rightJustified(3, u' ');
}

QString copytext(const QStringList &numbers)
{
    QString text;
    text.reserve(numbers.size() * 4 + numbers.size() / 5);
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        text += numbers[i] + u' ';
        if ((i + 1) % 10 == 0)
            text += u"\r\n"_s;
    }
    return text;
}

} // namespace planrules
