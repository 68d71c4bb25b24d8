#include "platform/memory.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void giveLargeBlocksBack() {
#if defined(__GLIBC__)
    // A size set once is kept: glibc no longer raises it.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace platform
