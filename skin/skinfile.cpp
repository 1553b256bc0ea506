#include "skin/skinfile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

const char kInvalidSkin[] = "Error: Invalid skin file";
const char kOutOfMemory[] = "Error: Out of memory";
const char kShortBitmap[] = "Error: Could not read entire bitmap.";

// A header field: 4 bytes, or a failed read.
bool ReadField(SkinSource& source, uint32_t* value) {
  uint8_t bytes[4];
  if (source.Read(bytes, sizeof bytes) != sizeof bytes) return false;
  *value = ReadU32(bytes);
  return true;
}

bool ReadExactly(SkinSource& source, void* into, size_t count) {
  return source.Read(into, count) == count;
}

// Fills `image` with the next `length` bytes of the source.
SkinReadResult ReadSlot(SkinSource& source, uint32_t length, SlotImage* image) {
  // A length the file cannot hold is refused before memory is asked for
  // it: a damaged length field would otherwise ask for up to 4 GiB.
  if (length > source.Remaining()) return SkinReadResult::kInvalid;
  if (!image->Allocate(length)) return SkinReadResult::kOutOfMemory;
  if (!ReadExactly(source, image->data(), length)) return SkinReadResult::kInvalid;
  return SkinReadResult::kRead;
}

}  // namespace

uint32_t ReadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool SlotImage::Allocate(size_t size) {
  Clear();
  if (size == 0) return true;
  bytes_.reset(new (std::nothrow) uint8_t[size]);
  if (!bytes_) return false;
  size_ = size;
  return true;
}

bool SlotImage::Assign(const void* bytes, size_t size) {
  if (!Allocate(size)) return false;
  if (size) std::memcpy(bytes_.get(), bytes, size);
  return true;
}

size_t MemorySkinSource::Read(void* into, size_t count) {
  size_t n = std::min(count, size_ - at_);
  if (n) std::memcpy(into, data_ + at_, n);
  at_ += n;
  return n;
}

bool MemorySkinSource::Skip(uint64_t count) {
  if (count > size_ - at_) return false;
  at_ += static_cast<size_t>(count);
  return true;
}

bool MemorySkinSink::Write(const void* data, size_t count) {
  if (bytes.size() + count > failAfter_) {
    bytes.append(static_cast<const char*>(data), failAfter_ - bytes.size());
    return false;
  }
  bytes.append(static_cast<const char*>(data), count);
  return true;
}

SkinReadResult ReadSkinForOrganiser(SkinSource& source, SkinFile* skin) {
  uint32_t magic = 0;
  if (!ReadField(source, &magic) || magic != kSkinMagic) return SkinReadResult::kInvalid;

  uint32_t valueCount = 0;
  if (!ReadField(source, &valueCount) || static_cast<int32_t>(valueCount) < kSkinValueCount)
    return SkinReadResult::kInvalid;
  SkinFile read;
  uint8_t values[4 * kSkinValueCount];
  if (!ReadExactly(source, values, sizeof values)) return SkinReadResult::kInvalid;
  for (int i = 0; i < kSkinValueCount; ++i) read.values[i] = static_cast<int32_t>(ReadU32(values + 4 * i));
  // Values a later format added: read past.
  if (!source.Skip(4ull * (valueCount - kSkinValueCount))) return SkinReadResult::kInvalid;

  uint32_t slotCount = 0;
  if (!ReadField(source, &slotCount) || static_cast<int32_t>(slotCount) < kSkinSlotCount)
    return SkinReadResult::kInvalid;
  // The whole length table must be there before room is made for it.
  if (4ull * slotCount > source.Remaining()) return SkinReadResult::kInvalid;
  std::vector<uint8_t> lengths(4ull * slotCount);
  if (!ReadExactly(source, lengths.data(), lengths.size())) return SkinReadResult::kInvalid;

  for (uint32_t slot = 0; slot < slotCount; ++slot) {
    const uint32_t length = ReadU32(lengths.data() + 4ull * slot);
    if (length == 0) continue;
    if (slot < static_cast<uint32_t>(kSkinSlotCount)) {
      SkinReadResult result = ReadSlot(source, length, &read.slots[slot]);
      if (result != SkinReadResult::kRead) return result;
    } else if (!source.Skip(length)) {
      // A bitmap a later format added: it must be whole, but is not kept.
      return SkinReadResult::kInvalid;
    }
  }
  *skin = std::move(read);
  return SkinReadResult::kRead;
}

const char* SkinReadMessage(SkinReadResult result) {
  switch (result) {
    case SkinReadResult::kInvalid:
      return kInvalidSkin;
    case SkinReadResult::kOutOfMemory:
      return kOutOfMemory;
    case SkinReadResult::kRead:
      break;
  }
  return nullptr;
}

EditorReadResult ReadSkinForEditor(SkinSource& source, SkinFile* skin, std::vector<std::string>* messages) {
  uint8_t header[kSkinHeaderSize];
  if (!ReadExactly(source, header, sizeof header)) return EditorReadResult::kNotLargeEnough;
  if (ReadU32(header) != kSkinMagic) return EditorReadResult::kNotASkin;
  // The counts are not looked at: the layout is the fixed one.
  SkinFile read;
  for (int i = 0; i < kSkinValueCount; ++i)
    read.values[i] = static_cast<int32_t>(ReadU32(header + 8 + 4 * i));
  const uint8_t* lengths = header + 12 + 4 * kSkinValueCount;
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    const int32_t length = static_cast<int32_t>(ReadU32(lengths + 4 * slot));
    if (length <= 0) continue;
    SlotImage& image = read.slots[slot];
    // No more room than the file can fill: the bytes that are there are
    // kept either way, and a damaged length asks for no gigabytes.
    const size_t wanted = static_cast<size_t>(length);
    const size_t room = static_cast<size_t>(std::min<uint64_t>(wanted, source.Remaining()));
    size_t got = 0;
    if (image.Allocate(room)) {
      got = room ? source.Read(image.data(), room) : 0;
      image.Shrink(got);
    }
    if (got != wanted && messages) messages->push_back(kShortBitmap);
  }
  *skin = std::move(read);
  return EditorReadResult::kRead;
}

const char* EditorReadMessage(EditorReadResult result) {
  switch (result) {
    case EditorReadResult::kNotLargeEnough:
      return "Input file not large enough.";
    case EditorReadResult::kNotASkin:
      return "Input file is not a valid skin file.";
    case EditorReadResult::kRead:
      break;
  }
  return nullptr;
}

int WriteSkinFile(SkinSink& sink, const SkinFile& skin) {
  uint8_t header[kSkinHeaderSize] = {};
  PutU32(header, kSkinMagic);
  PutU32(header + 4, kSkinValueCount);
  for (int i = 0; i < kSkinValueCount; ++i) PutU32(header + 8 + 4 * i, static_cast<uint32_t>(skin.values[i]));
  uint8_t* counts = header + 8 + 4 * kSkinValueCount;
  PutU32(counts, kSkinSlotCount);
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    // The bytes held are what is written, whatever the bitmap's own size
    // field says: the length must describe exactly what follows.
    const size_t size = skin.slots[slot].size();
    if (size > UINT32_MAX) return 0;
    PutU32(counts + 4 + 4 * slot, static_cast<uint32_t>(size));
  }
  if (!sink.Write(header, sizeof header)) return 0;
  for (const SlotImage& image : skin.slots)
    if (!image.empty() && !sink.Write(image.data(), image.size())) return 0;
  return 1;
}

int32_t SkinValueFromText(const char* text) {
  if (!text || text[0] < '0' || text[0] > '9') return 0;
  int32_t value = 0;
  // Seven digits at most: no overflow.
  for (int i = 0; i < 7 && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

SlotFileCheck CheckSlotFile(const void* bytes, size_t size) {
  if (size > kMaxSlotFileSize) return SlotFileCheck::kTooLarge;
  if (size < 6 || ReadU32(static_cast<const uint8_t*>(bytes) + 2) != size)
    return SlotFileCheck::kSizeFieldDiffers;
  return SlotFileCheck::kFits;
}
