#include "planner/plancalc.h"

#include "toolkit/apperror.h"

#include <QtNumeric>

using namespace Qt::Literals::StringLiterals;

namespace plancalc {
namespace {

enum class fault { none, overflow, zerodivisor };

// Checked signed 64-bit arithmetic that keeps its first fault instead of
// throwing, so that a whole formula can be tried and asked afterwards.
class checked
{
public:
    bool failed() const { return m_fault != fault::none; }

    qint64 add(qint64 a, qint64 b)
    {
        qint64 r;
        return qAddOverflow(a, b, &r) ? overflowed() : r;
    }
    qint64 sub(qint64 a, qint64 b)
    {
        qint64 r;
        return qSubOverflow(a, b, &r) ? overflowed() : r;
    }
    qint64 mul(qint64 a, qint64 b)
    {
        qint64 r;
        return qMulOverflow(a, b, &r) ? overflowed() : r;
    }
    // Truncates toward zero, as C++ does.
    qint64 div(qint64 a, qint64 b)
    {
        if (b == 0) {
            note(fault::zerodivisor);
            return 0;
        }
        if (a == std::numeric_limits<qint64>::min() && b == -1)
            return overflowed();
        return a / b;
    }

    // Raises the first fault as the program's error, if there was one.
    void raise() const
    {
        if (m_fault == fault::overflow)
            throw AppError(u"整数溢出"_s);
        if (m_fault == fault::zerodivisor)
            throw AppError(u"被 0 除"_s);
    }

private:
    qint64 overflowed()
    {
        note(fault::overflow);
        return 0;
    }
    void note(fault f)
    {
        if (m_fault == fault::none)
            m_fault = f;
    }

    fault m_fault = fault::none;
};

planrow candidaterow(qint64 period, qint64 m, qint64 total, const inputs &in, checked &c)
{
    const qint64 stake = c.mul(m, in.inofsin);
    const qint64 invested = c.add(total, stake);
    const qint64 prize = c.mul(m, in.outofsin);
    const qint64 net = c.sub(prize, invested);
    const qint64 rate = c.div(c.mul(net, 100), invested);
    return {period, m, stake, invested, prize, net, rate};
}

bool qualifies(const planrow &row, const inputs &in)
{
    return row[ratecolumn] >= in.lirun;
}

} // namespace

std::optional<qint64> tointeger(QStringView text)
{
    const QStringView digits = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < digits.size() && digits[i] == u'-';
    if (i < digits.size() && (digits[i] == u'-' || digits[i] == u'+'))
        ++i;
    if (i == digits.size())
        return std::nullopt;
    // Accumulated as a negative number, which reaches the minimum too.
    qint64 value = 0;
    for (; i < digits.size(); ++i) {
        const char16_t c = digits[i].unicode();
        if (c < u'0' || c > u'9' || qMulOverflow(value, qint64(10), &value)
            || qSubOverflow(value, qint64(c - u'0'), &value))
            return std::nullopt;
    }
    if (!negative && qMulOverflow(value, qint64(-1), &value))
        return std::nullopt;
    return value;
}

qint64 readinteger(const QString &text)
{
    const std::optional<qint64> value = tointeger(text);
    if (!value)
        throw notaninteger(text);
    return *value;
}

AppError notaninteger(const QString &text)
{
    return AppError(u"'%1' 不是一个有效的整形值"_s.arg(text));
}

std::optional<AppError> daysfault(qint64 days)
{
    if (days < 0)
        return AppError(u"范围检测错误"_s);
    // Far beyond any real plan; more would only exhaust memory or freeze the window.
    if (days > maxdays)
        return AppError(u"投注期数不能超过%1"_s.arg(maxdays));
    return std::nullopt;
}

int checkdays(qint64 days)
{
    if (const std::optional<AppError> fault = daysfault(days))
        throw *fault;
    return static_cast<int>(days);
}

inputs readinputs(const QString &prekui, const QString &lirun, const QString &inofsin, const QString &outofsin,
                  const QString &days)
{
    checkdays(readinteger(days));
    return {readinteger(prekui), readinteger(lirun), readinteger(inofsin), readinteger(outofsin),
            readinteger(days)};
}

planrow candidate(qint64 period, qint64 m, qint64 total, const inputs &in)
{
    checked c;
    const planrow row = candidaterow(period, m, total, in, c);
    c.raise();
    return row;
}

std::optional<planrow> trycandidate(qint64 period, qint64 m, qint64 total, const inputs &in)
{
    checked c;
    const planrow row = candidaterow(period, m, total, in, c);
    return c.failed() ? std::nullopt : std::optional<planrow>(row);
}

qint64 scanmultiple(qint64 total, const inputs &in)
{
    for (qint64 m = 1; m <= maxmultiple; ++m)
        if (qualifies(candidate(1, m, total, in), in))
            return m;
    return 0;
}

qint64 firstmultiple(qint64 total, const inputs &in)
{
    // With T >= 0, S >= 0, P >= 0 and T + S > 0 every investment is positive and
    // the rate m*P / (T + m*S) - 1 cannot fall as m grows; truncation keeps that.
    qint64 first;
    const bool monotone = total >= 0 && in.inofsin >= 0 && in.outofsin >= 0
                          && !qAddOverflow(total, in.inofsin, &first) && first > 0;
    if (!monotone)
        return scanmultiple(total, in);
    // Multiple 1 first, as the scan does: it raises the scan's overflow there.
    if (qualifies(candidate(1, 1, total, in), in))
        return 1;
    // Each intermediate value is linear in m, so the multiples that do not overflow
    // form a range, and it holds 1: "overflows or qualifies" is false and then
    // true, and the first m where it turns true is where the scan stops or fails.
    qint64 low = 2, high = maxmultiple + 1; // the answer lies in [low, high]
    while (low < high) {
        const qint64 mid = low + (high - low) / 2;
        const std::optional<planrow> row = trycandidate(1, mid, total, in);
        if (!row || qualifies(*row, in))
            high = mid;
        else
            low = mid + 1;
    }
    if (low > maxmultiple)
        return 0;
    candidate(1, low, total, in); // raises the overflow the scan would meet here
    return low;
}

std::optional<plantabletype> calculate(const inputs &in)
{
    plantabletype table = calculateupto(in);
    if (qint64(table.size()) < in.days)
        return std::nullopt;
    return table;
}

namespace {

// Works the table out from period 1, handing each row to `take` once the running
// total past it is known, up to `cap` rows or the first period with no
// qualifying multiple; an overflow raises "整数溢出".
template <typename Take>
void walkrows(const inputs &in, qint64 cap, Take &&take)
{
    checked running;
    qint64 total = in.prekui;
    for (qint64 period = 1; period <= cap; ++period) {
        const qint64 m = firstmultiple(total, in);
        if (m == 0)
            break;
        const planrow row = candidate(period, m, total, in);
        total = running.add(total, row[stakecolumn]);
        running.raise();
        take(row);
    }
}

} // namespace

plantabletype calculateupto(const inputs &in)
{
    plantabletype table;
    table.reserve(static_cast<size_t>(checkdays(in.days)));
    walkrows(in, in.days, [&table](const planrow &row) { table.push_back(row); });
    return table;
}

qint64 addchecked(qint64 a, qint64 b)
{
    checked c;
    const qint64 sum = c.add(a, b);
    c.raise();
    return sum;
}

qint64 subchecked(qint64 a, qint64 b)
{
    checked c;
    const qint64 difference = c.sub(a, b);
    c.raise();
    return difference;
}

qint64 averagenet(const plantabletype &table, qint64 days)
{
    checked c;
    qint64 sum = 0;
    for (qint64 i = 0; i < days && i < qint64(table.size()); ++i)
        sum = c.add(sum, table[static_cast<size_t>(i)][netcolumn]);
    const qint64 average = c.div(sum, days);
    c.raise();
    return average;
}

decision decide(const inputs &in)
{
    std::optional<plantabletype> table = calculate(in);
    if (!table)
        return {verdict::toolarge, {}};
    if (in.days == 0)
        return {verdict::nodays, {}};
    return {verdict::table, std::move(*table)};
}

qint64 longestfeasible(const inputs &in, qint64 cap)
{
    checkdays(cap);
    // A period that overflows ends the count as one with no multiple does: no
    // table reaches it.
    qint64 rows = 0;
    try {
        walkrows(in, cap, [&rows](const planrow &) { ++rows; });
    } catch (const AppError &) {
    }
    return rows;
}

} // namespace plancalc
