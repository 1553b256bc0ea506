#include "base/boundedtext.h"

#include <cstring>

#include "base/codepage.h"

void CopyBounded(char* dest, const char* src, size_t size) {
  if (!dest || !src || size == 0) return;
  size_t length = strnlen(src, size - 1);
  // A cut text ends before the character it would split.
  if (src[length] && ProgramCodePage().ProgramTextIsUtf8()) length = Utf8CutBefore(src, length);
  std::memmove(dest, src, length);
  dest[length] = '\0';
}

void AppendBounded(char* dest, const char* src, size_t size) {
  if (!dest || !src || size == 0) return;
  size_t used = strnlen(dest, size);
  if (used + 1 >= size) return;
  CopyBounded(dest + used, src, size - used);
}
