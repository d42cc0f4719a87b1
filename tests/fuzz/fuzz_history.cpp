// Any bytes as a history of draws: reading never crashes, every draw it keeps is
// three digits, and no line is lost without being counted as bad.
#include "app/planrules.h"
#include "replay/history.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const history::parsed p = history::parse(bytes);
    if (p.badcount < qint64(p.bad.size()) || p.bad.size() > size_t(history::shownbad))
        std::abort();
    if (p.history.reversed() && p.badcount > 0)
        std::abort();
    const qint64 lines = bytes.count('\n') + 1;
    if (p.history.size() + p.badcount > lines)
        std::abort();
    for (qint64 i = 0; i < p.history.size(); ++i) {
        if (!planrules::isdraw(p.history.draw(i)) || p.history.number(i) != p.history.draw(i).toInt())
            std::abort();
        if (p.history.label(i).contains(u'\n'))
            std::abort();
    }
    for (const history::badline &line : p.bad)
        if (line.number < 1 || line.number > lines)
            std::abort();
    return 0;
}
