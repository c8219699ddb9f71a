/* Preloaded into 32-bit Wine run by qemu-i386 (scripts/windows-x86-test.sh). At each start
 * Wine reserves the address space above 2 GB with MAP_FIXED_NOREPLACE hints; qemu 7.2 ignores
 * the flag, so Wine splits the area into 64 KB pieces, each a slow emulated mmap, and a start
 * takes minutes. Refused at once, the area stays unreserved, which a program that is not
 * large-address-aware never uses.
 *
 *   gcc -m32 -O2 -shared -fPIC fastreserve.c -o fastreserve32.so -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdint.h>
#include <sys/mman.h>
#include <sys/types.h>

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

static int above_2gb_reservation(void* addr, size_t len, int flags) {
  return (flags & MAP_FIXED_NOREPLACE) && (uint64_t)(uintptr_t)addr + len > 0x80000000ull;
}

void* mmap64(void* addr, size_t len, int prot, int flags, int fd, off64_t off) {
  static void* (*real)(void*, size_t, int, int, int, off64_t);
  if (above_2gb_reservation(addr, len, flags)) {
    errno = ENOMEM;
    return MAP_FAILED;
  }
  if (!real) real = dlsym(RTLD_NEXT, "mmap64");
  return real(addr, len, prot, flags, fd, off);
}

void* mmap(void* addr, size_t len, int prot, int flags, int fd, off_t off) {
  static void* (*real)(void*, size_t, int, int, int, off_t);
  if (above_2gb_reservation(addr, len, flags)) {
    errno = ENOMEM;
    return MAP_FAILED;
  }
  if (!real) real = dlsym(RTLD_NEXT, "mmap");
  return real(addr, len, prot, flags, fd, off);
}
