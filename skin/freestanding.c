// The two memory routines the compiler may call on its own; the library has no C runtime.
#include <stddef.h>

#define NO_LIBCALLS __attribute__((optimize("no-tree-loop-distribute-patterns")))

NO_LIBCALLS void* memset(void* target, int value, size_t size) {
  unsigned char* p = target;
  while (size--) *p++ = (unsigned char)value;
  return target;
}

NO_LIBCALLS void* memcpy(void* target, const void* source, size_t size) {
  unsigned char* to = target;
  const unsigned char* from = source;
  while (size--) *to++ = *from++;
  return target;
}
