#include "base/boundedtext.h"

#include <cstring>

void CopyBounded(char* dest, const char* src, size_t size) {
  if (!dest || !src || size == 0) return;
  size_t length = strnlen(src, size - 1);
  std::memmove(dest, src, length);
  dest[length] = '\0';
}

void AppendBounded(char* dest, const char* src, size_t size) {
  if (!dest || !src || size == 0) return;
  size_t used = strnlen(dest, size);
  if (used + 1 >= size) return;
  CopyBounded(dest + used, src, size - used);
}
