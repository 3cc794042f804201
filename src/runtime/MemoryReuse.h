#pragma once
// How the program's memory allocator treats freed memory: kept for the next allocation rather than
// handed back to the system, so that work repeated on large pictures reuses warm pages.

// Called once at start, before any other thread runs. Allocations of up to 32 MiB come from memory
// the process keeps, and up to 64 MiB of freed memory is kept: an export's buffers and sums (some
// megabytes) are then the pages of the previous export instead of fresh ones, which cost a page
// fault each. Pictures, which are larger, still come from and go back to the system.
void keepFreedMemoryForReuse();
