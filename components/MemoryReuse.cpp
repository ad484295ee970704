#include "components/MemoryReuse.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepLargeBlocksForReuse()
{
#if defined(__GLIBC__)
    constexpr int LargeBlock = 16 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, LargeBlock);
    mallopt(M_TRIM_THRESHOLD, 4 * LargeBlock);
#endif
}
