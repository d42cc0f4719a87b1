#include "replay/odds.h"

#include "toolkit/apperror.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace odds {

plantable fromplanner(const plancalc::plantabletype &table)
{
    plantable t;
    t.stakes.reserve(table.size());
    t.totals.reserve(table.size());
    t.prizes.reserve(table.size());
    qint64 total = 0;
    for (const plancalc::planrow &row : table) {
        total = plancalc::addchecked(total, row[plancalc::stakecolumn]);
        t.stakes.push_back(row[plancalc::stakecolumn]);
        t.totals.push_back(total);
        t.prizes.push_back(row[plancalc::prizecolumn]);
    }
    return t;
}

double hitchance(qint64 bets)
{
    return double(bets) / 1000.0;
}

double bustchance(qint64 bets, qint64 periods)
{
    return std::pow(1 - hitchance(bets), double(periods));
}

double returnper100(qint64 bets, qint64 stake, qint64 prize)
{
    if (stake <= 0)
        throw AppError(u"单倍投入必须大于0"_s);
    return hitchance(bets) * double(prize) / double(stake) * 100;
}

qint64 bustcost(const plantable &table)
{
    return table.totals.empty() ? 0 : table.totals.back();
}

double expectedplanresult(qint64 bets, const plantable &table)
{
    const size_t n = table.stakes.size();
    if (table.totals.size() != n || table.prizes.size() != n)
        throw AppError(u"计划表的各列长度不一致"_s);
    const double hit = hitchance(bets);
    double reached = 1; // the chance of missing every bet before this one
    double expected = 0;
    for (size_t k = 0; k < n; ++k) {
        expected += reached * hit * (double(table.prizes[k]) - double(table.totals[k]));
        reached *= 1 - hit;
    }
    if (n > 0)
        expected -= reached * double(table.totals.back());
    return expected;
}

double expectedbusts(qint64 bets, qint64 periods, qint64 plans)
{
    return double(plans) * bustchance(bets, periods);
}

double lastsatleast(qint64 bets, qint64 length)
{
    return length <= 1 ? 1.0 : std::pow(1 - hitchance(bets), double(length - 1));
}

double atleastonce(double chance, qint64 times)
{
    if (chance >= 1)
        return times > 0 ? 1.0 : 0.0;
    return -std::expm1(double(times) * std::log1p(-chance));
}

std::vector<double> expectedlengths(qint64 bets, qint64 periods, qint64 plans)
{
    const double hit = hitchance(bets);
    std::vector<double> counts(size_t(std::max<qint64>(periods, 0)), 0.0);
    for (qint64 k = 1; k <= periods; ++k) {
        // Missed k - 1 times, then a hit; the last length also holds the busts.
        const double reached = std::pow(1 - hit, double(k - 1));
        counts[size_t(k - 1)] = double(plans) * (k < periods ? reached * hit : reached);
    }
    return counts;
}

figures figuresof(qint64 bets, const plantable &table, qint64 stake, qint64 prize, qint64 plans, qint64 longest)
{
    figures f;
    f.hit = hitchance(bets);
    f.bust = bustchance(bets, table.periods());
    if (stake > 0)
        f.returnper100 = returnper100(bets, stake, prize);
    f.bustcost = bustcost(table);
    f.expectedplan = expectedplanresult(bets, table);
    f.expectedbusts = expectedbusts(bets, table.periods(), plans);
    if (longest > 0) {
        f.longestatleast = lastsatleast(bets, longest);
        f.longestanywhere = atleastonce(f.longestatleast, plans);
    }
    return f;
}

QString chancetext(double chance)
{
    const double percent = chance * 100;
    QString text = percent >= 0.01 || percent == 0 ? QString::number(percent, 'f', 2) : QString::number(percent, 'g', 3);
    // Rounding must not make a mere likelihood look certain.
    if (chance < 1 && text == u"100.00"_s)
        return u"超过99.99%"_s;
    text += u'%';
    if (chance > 0 && chance < 0.5) {
        const double inverse = 1 / chance;
        if (std::isfinite(inverse))
            text += u"（约1/"_s + (inverse < 1e12 ? QString::number(std::round(inverse), 'f', 0) : QString::number(inverse, 'g', 3))
                    + u"）"_s;
    }
    return text;
}

} // namespace odds
