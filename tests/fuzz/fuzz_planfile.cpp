// Any bytes as a plan table file: the loader's reading steps must never crash,
// only fail with the program's error.
#include "planner/plancalc.h"
#include "planner/planfile.h"
#include "toolkit/apperror.h"
#include "toolkit/textfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Ttextreader reader(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QStringList boxes = planfile::readboxes(reader);
    try {
        const qint64 days = plancalc::readinteger(boxes[planfile::boxcount - 1]);
        plancalc::checkdays(days);
        // Large tables are fine but slow to fuzz; their reading is the same.
        if (days <= 10000)
            planfile::readrows(reader, days);
    } catch (const AppError &) {
    }
    return 0;
}
