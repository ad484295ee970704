#pragma once

// The program's start (and each benchmark's) calls this first.
//
// Keeps freed large blocks (window images, off-screen bitmaps of about a
// megabyte) in the heap for the next window instead of giving them back to
// the system at once: every fresh block costs a page fault per 4 KiB when it
// is first drawn on, which dominates building a large map window. Only the
// GNU C library has these knobs; elsewhere this does nothing.

#include <cstdlib>  // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

inline void KeepLargeBlocksForReuse()
{
#if defined(__GLIBC__)
    constexpr int LargeBlock = 16 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, LargeBlock);
    mallopt(M_TRIM_THRESHOLD, 4 * LargeBlock);
#endif
}
