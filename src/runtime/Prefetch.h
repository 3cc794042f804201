#pragma once
// Asking the processor early for memory that a loop will reach by a jump it cannot foresee (the next
// row of a picture, the next column's tile): it follows a run of memory by itself, but not a jump.

#include <cstddef>

inline void prefetchForRead(const void* first, std::size_t bytes) {
#if defined(__GNUC__)
    for (std::size_t at = 0; at < bytes; at += 64) {
        __builtin_prefetch(static_cast<const char*>(first) + at, 0, 3);
    }
#else
    (void)first, (void)bytes;
#endif
}

inline void prefetchForWrite(void* first, std::size_t bytes) {
#if defined(__GNUC__)
    for (std::size_t at = 0; at < bytes; at += 64) {
        __builtin_prefetch(static_cast<char*>(first) + at, 1, 3);
    }
#else
    (void)first, (void)bytes;
#endif
}
