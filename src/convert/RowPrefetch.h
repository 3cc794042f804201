#pragma once
// Asking early for the part of a row that a strip will visit: the processor follows a run of
// memory by itself, but not the jump from one row's part to the next row's.

#include <QtGlobal>

// Rows ahead of the one being visited whose parts are asked for.
inline constexpr int PrefetchRowsAhead = 2;

inline void prefetchRowPart(const uchar* source, uchar* target, qsizetype bytes) {
#if defined(__GNUC__)
    for (qsizetype offset = 0; offset < bytes; offset += 64) {
        __builtin_prefetch(source + offset, 0, 3);
        __builtin_prefetch(target + offset, 1, 3);
    }
#else
    Q_UNUSED(source);
    Q_UNUSED(target);
    Q_UNUSED(bytes);
#endif
}
