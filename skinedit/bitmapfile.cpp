#include "skinedit/bitmapfile.h"

#include <utility>

BitmapFileResult ReadBitmapFile(SkinSource& file, SlotImage* image) {
  const uint64_t length = file.Remaining();
  if (length > kMaxSlotFileSize) return BitmapFileResult::kTooLarge;
  SlotImage read;
  if (!read.Allocate(static_cast<size_t>(length))) return BitmapFileResult::kOutOfMemory;
  if (file.Read(read.data(), read.size()) != read.size() ||
      CheckSlotFile(read.data(), read.size()) != SlotFileCheck::kFits)
    return BitmapFileResult::kNotWhole;
  *image = std::move(read);
  return BitmapFileResult::kRead;
}

const char* BitmapFileMessage(BitmapFileResult result) {
  switch (result) {
    case BitmapFileResult::kTooLarge:
      return "Error: Image size cannot exceed 1MB.";
    case BitmapFileResult::kOutOfMemory:
      return "Error: Out of memory.";
    case BitmapFileResult::kNotWhole:
      return "Error: Could not read entire file";
    case BitmapFileResult::kRead:
      break;
  }
  return nullptr;
}
