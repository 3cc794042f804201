#pragma once
// Asking early for the part of a row that a strip will visit: the processor follows a run of
// memory by itself, but not the jump from one row's part to the next row's.

#include "runtime/Prefetch.h"

#include <QtGlobal>

// Rows ahead of the one being visited whose parts are asked for.
inline constexpr int PrefetchRowsAhead = 2;

inline void prefetchRowPart(const uchar* source, uchar* target, qsizetype bytes) {
    prefetchForRead(source, static_cast<std::size_t>(bytes));
    prefetchForWrite(target, static_cast<std::size_t>(bytes));
}
