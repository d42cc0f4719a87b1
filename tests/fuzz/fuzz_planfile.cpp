// Any bytes as a plan table file, loaded as the planner window loads it: the
// load never crashes, lays out only a count that fits, and gives the window
// rows and a table that agree with that count.
#include "planner/plancalc.h"
#include "planner/planfile.h"
#include "toolkit/textfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Ttextreader reader(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const planfile::loadedplan plan = planfile::loadplan(reader);
    if (plan.boxes.size() != planfile::boxcount)
        std::abort();
    if (plan.layout && (*plan.layout < 0 || *plan.layout > plancalc::maxdays))
        std::abort();
    // A table and rows only with a layout they fit into; none when the load fails.
    if (plan.table && (!plan.layout || qsizetype(plan.table->size()) != *plan.layout || plan.failure))
        std::abort();
    if (!plan.cells.empty() && (!plan.table || plan.cells.rows() > *plan.layout))
        std::abort();
    for (qsizetype r = 0; r < plan.cells.rows(); ++r)
        if (plan.cells.rowsize(r) > planfile::columns || plan.cells.rowsize(r) == 0)
            std::abort();
    if (!plan.failure && !plan.layout)
        std::abort();
    return 0;
}
