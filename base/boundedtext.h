// Copies into fixed buffers: never more than the buffer holds, always
// terminated.
#pragma once

#include <cstddef>

// At most size - 1 bytes, always terminated, never part of a character of
// UTF-8; a missing source or destination copies nothing.
void CopyBounded(char* dest, const char* src, size_t size);
template <size_t N>
void CopyField(char (&dest)[N], const char* src) {
  CopyBounded(dest, src, N);
}
// A bounded copy behind the text already in `dest` (terminated text of
// fewer than `size` characters): the whole stays within size - 1.
void AppendBounded(char* dest, const char* src, size_t size);
