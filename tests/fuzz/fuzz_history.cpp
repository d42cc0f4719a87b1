// Any bytes as a history of draws, with each choice of positions: reading never
// crashes, every draw it keeps is three digits, no line is lost without being
// counted as bad, and nothing shown of a bad line or header is raw or long.
#include "replay/history.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool safe(const QString &text)
{
    // Cut to the shown length (a pair of surrogates being one), then "…".
    if (text.size() > history::shownchars * 10 + 1)
        return false;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format || c == u'\u2028' || c == u'\u2029')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // Every line end there could be: LF, CR LF and a lone CR, in any encoding the
    // bytes may be read in (a UTF-16 line end holds one of these bytes too).
    qint64 lines = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    for (const history::positions five : {history::positions::front, history::positions::middle, history::positions::back}) {
        const history::parsed p = history::parse(bytes, {five});
        if (p.badcount < qint64(p.bad.size()) || p.bad.size() > size_t(history::shownbad))
            std::abort();
        if (p.history.reversed() && p.badcount > 0)
            std::abort();
        if (p.history.size() > lines || p.badcount > lines || p.fivedigit > p.history.size() + p.badcount)
            std::abort();
        // Only lines that break the order are both kept and counted as bad.
        bool orderbreaks = p.badcount > qint64(p.bad.size());
        for (const history::badline &line : p.bad) {
            if (line.number < 1 || line.number > lines || line.reason.isEmpty() || !safe(line.text))
                std::abort();
            orderbreaks = orderbreaks || line.kind == history::badkind::order;
        }
        if (!orderbreaks && p.history.size() + p.badcount > lines)
            std::abort();
        if (!safe(p.header) || (p.order == history::orderfrom::file && p.history.reversed()))
            std::abort();
        for (qint64 i = 0; i < p.history.size(); ++i) {
            const QString &draw = p.history.draw(i);
            if (draw.size() != 3 || p.history.number(i) != draw.toInt() || p.history.number(i) > 999)
                std::abort();
            const QString label = p.history.label(i);
            if (label.contains(u'\n') || label.contains(u'\r') || label.size() > 2 * history::longestline)
                std::abort();
        }
        const QStringList described = history::describebad(p);
        if (described.size() < qsizetype(p.bad.size()))
            std::abort();
    }
    return 0;
}
