#include "common/MemoryPolicy.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#ifdef __GLIBC__
#include <malloc.h>
#endif

void ReturnLargeBlocksToTheSystem() {
#ifdef __GLIBC__
  // Fixed, which also stops glibc from raising it after each large block freed.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
  // On Windows nothing to set: its heap already takes large blocks straight from the system
  // and gives them back when they are freed.
}
