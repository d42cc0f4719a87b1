#include "toolkit/outofmemory.h"

#include <new>

int runwithmemoryguard(FILE *err, const std::function<int()> &body)
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        // Nothing here may allocate: a plain UTF-8 literal, written as it is.
        std::fputs("内存不足\n", err);
        std::fflush(err);
        return 1;
    }
}
