#include "core/MemoryReuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace orr {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Setting either bound also stops the library from moving them itself.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

}  // namespace orr
