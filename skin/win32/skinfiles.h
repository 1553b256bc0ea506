// Skin files on disk, as the byte sources and sinks of the skin file
// readers and writer, and the displayable bitmaps made from their slots.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win32/scoped.h"
#include "skin/skinfile.h"

// A file opened for reading. The organiser lets others read it meanwhile
// (FILE_SHARE_READ); the editor shares nothing (0).
class SkinFileSource final : public SkinSource {
 public:
  explicit SkinFileSource(const char* path, DWORD share = FILE_SHARE_READ);
  // Whether the file could be opened (and its size read).
  bool ok() const { return static_cast<bool>(file_); }
  uint64_t size() const { return size_; }
  size_t Read(void* into, size_t count) override;
  bool Skip(uint64_t count) override;
  uint64_t Remaining() override { return size_ - at_; }

 private:
  ScopedHandle file_;
  uint64_t size_ = 0;
  uint64_t at_ = 0;
};

// A file created for writing, replacing one of that name, shared with
// nobody while it is written.
class SkinFileSink final : public SkinSink {
 public:
  explicit SkinFileSink(const char* path);
  bool ok() const { return static_cast<bool>(file_); }
  bool Write(const void* bytes, size_t count) override;

 private:
  ScopedHandle file_;
};

// Decode embedded bitmap: a bitmap compatible with `dc` made from one slot's
// bytes, or none when the slot is empty, does not begin with "BM", or has
// headers that do not fit in it (their size, the colour table or the pixel
// bits reaching beyond the slot).
HBITMAP DecodeSlotBitmap(HDC dc, const SlotImage& slot);
