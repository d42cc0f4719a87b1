// What the memory benchmarks measure: the bytes in use on the heap.
#pragma once

#include <QtGlobal>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// Bytes in use on the heap; 0 where the C library cannot tell.
inline qint64 heapinuse()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#else
    return 0;
#endif
}
