#include "skin/win32/skinfiles.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/bmp.h"

SkinFileSource::SkinFileSource(const char* path, DWORD share) {
  if (!path) return;
  file_.reset(CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (file_ && GetFileSizeEx(file_.get(), &size))
    size_ = static_cast<uint64_t>(size.QuadPart);
  else
    file_.reset();
}

size_t SkinFileSource::Read(void* into, size_t count) {
  size_t done = 0;
  while (file_ && done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file_.get(), static_cast<char*>(into) + done, chunk, &got, nullptr) || got == 0) break;
    done += got;
  }
  at_ += done;
  return done;
}

bool SkinFileSource::Skip(uint64_t count) {
  if (!file_ || count > Remaining()) return false;
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(count);
  if (!SetFilePointerEx(file_.get(), distance, nullptr, FILE_CURRENT)) return false;
  at_ += count;
  return true;
}

SkinFileSink::SkinFileSink(const char* path) {
  if (path)
    file_.reset(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SkinFileSink::Write(const void* bytes, size_t count) {
  size_t done = 0;
  while (file_ && done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(file_.get(), static_cast<const char*>(bytes) + done, chunk, &wrote, nullptr) ||
        wrote != chunk)
      return false;
    done += wrote;
  }
  return file_ && done == count;
}

HBITMAP DecodeSlotBitmap(HDC dc, const SlotImage& slot) {
  BmpLayout layout;
  if (!ParseBmp(slot.data(), slot.size(), &layout)) return nullptr;
  // The bitmap information, copied out to where its fields are aligned;
  // every byte of it was found inside the slot.
  std::vector<uint32_t> info((layout.infoSize + 3) / 4, 0);
  std::memcpy(info.data(), slot.data() + layout.infoOffset, layout.infoSize);
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
  return CreateDIBitmap(dc, header, CBM_INIT, slot.data() + layout.bitsOffset,
                        reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}
