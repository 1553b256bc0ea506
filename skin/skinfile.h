// The skin file: a 224-byte header (magic, value count, the skin's values,
// bitmap count, the bitmaps' lengths) followed by the bitmaps, each the whole
// of a .bmp file. All integers are 32-bit little-endian.
//
// Three ways through it: the organiser's reader (strict: it checks the
// counts, honours larger ones, refuses a short file), the editor's reader
// (lenient: it reads the fixed layout and keeps what it can) and the
// editor's writer. They work on byte sources and sinks, so a file, a buffer
// and a fuzzer's input read alike. No messages are shown here: each reader
// answers a result, whose text the caller shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr uint32_t kSkinMagic = 0x4253;  // "SB\0\0"
constexpr int kSkinValueCount = 34;
constexpr int kSkinSlotCount = 19;
constexpr size_t kSkinHeaderSize = 4 + 4 + 4 * kSkinValueCount + 4 + 4 * kSkinSlotCount;  // 224
// A file of exactly this length is no skin: it chooses the plain look.
constexpr uint64_t kPlainLookFileSize = 2;
// The editor takes bitmap files of at most this many bytes.
constexpr size_t kMaxSlotFileSize = 1 << 20;

// Indices of the skin values. Rectangles are stored left, right, top,
// bottom, in window coordinates.
enum SkinValueIndex : int {
  kValueWindowWidth = 0,
  kValueWindowHeight = 1,
  kValueCornerRadius = 2,
  kValueTitleBarHeight = 3,
  kValueTextColour = 4,    // red, green, blue
  kValueBackColour = 7,    // red, green, blue
  kValueTreeRect = 10,     // left, right, top, bottom
  kValueButtonRects = 14,  // five groups of left, right, top, bottom
};

// The skin's buttons: close, then the four tabs' buttons (tab n is button
// n + 1); each has a normal, a hover and a selected picture.
enum SkinButtonIndex : int {
  kButtonClose = 0,
  kButtonLists = 1,
  kButtonActive = 2,
  kButtonDone = 3,
  kButtonCalendar = 4,
  kSkinButtonCount = 5,
};
enum SkinButtonPicture : int { kPictureNormal = 0, kPictureHover = 1, kPictureSelected = 2 };

// The bitmap slots.
enum SkinSlotIndex : int {
  kSlotWindowBackground = 0,
  kSlotCheckEmpty = 1,
  kSlotCheckChecked = 2,
  kSlotTreeBackground = 3,
  kSlotButtons = 4,  // three a button, in button order
};
constexpr int ButtonRectValue(int button) {
  return kValueButtonRects + 4 * button;
}
constexpr int ButtonSlot(int button, int picture) {
  return kSlotButtons + 3 * button + picture;
}

// One slot's bytes: the whole of a .bmp file, or nothing. Its memory is
// asked for without throwing, so a failure can be reported as such.
class SlotImage {
 public:
  SlotImage() = default;
  SlotImage(const SlotImage& other) { Assign(other.data(), other.size()); }
  SlotImage& operator=(const SlotImage& other) {
    if (this != &other) Assign(other.data(), other.size());
    return *this;
  }
  SlotImage(SlotImage&&) noexcept = default;
  SlotImage& operator=(SlotImage&&) noexcept = default;

  // Room for `size` bytes, their contents undefined. false when there is no
  // memory; the image is then empty.
  bool Allocate(size_t size);
  // Copies `size` bytes; false when there is no memory.
  bool Assign(const void* bytes, size_t size);
  // Keeps only the first `size` bytes (no more than it holds).
  void Shrink(size_t size) {
    if (size < size_) size_ = size;
  }
  void Clear() {
    bytes_.reset();
    size_ = 0;
  }
  const uint8_t* data() const { return bytes_.get(); }
  uint8_t* data() { return bytes_.get(); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string str() const { return size_ ? std::string(reinterpret_cast<const char*>(data()), size_) : ""; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
};

// What a skin file holds: its first 34 values and its first 19 slots.
struct SkinFile {
  int32_t values[kSkinValueCount] = {};
  SlotImage slots[kSkinSlotCount];
};

// Bytes to read: a file opened for reading, or memory.
class SkinSource {
 public:
  virtual ~SkinSource() = default;
  // Reads up to `count` bytes; the number read, short at the end or on an
  // error.
  virtual size_t Read(void* into, size_t count) = 0;
  // Moves `count` bytes on; false when they are not there.
  virtual bool Skip(uint64_t count) = 0;
  // The bytes from here to the end.
  virtual uint64_t Remaining() = 0;
};

class MemorySkinSource final : public SkinSource {
 public:
  MemorySkinSource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit MemorySkinSource(const std::string& bytes) : MemorySkinSource(bytes.data(), bytes.size()) {}
  // The source only points at the bytes: they must outlive it.
  explicit MemorySkinSource(std::string&&) = delete;
  size_t Read(void* into, size_t count) override;
  bool Skip(uint64_t count) override;
  uint64_t Remaining() override { return size_ - at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Where written bytes go: a file created for writing, or memory.
class SkinSink {
 public:
  virtual ~SkinSink() = default;
  // false when the bytes could not all be written.
  virtual bool Write(const void* bytes, size_t count) = 0;
};

class MemorySkinSink final : public SkinSink {
 public:
  bool Write(const void* bytes, size_t count) override;
  // Writes fail from this many bytes on (none: no limit).
  void FailAfter(size_t bytes) { failAfter_ = bytes; }
  std::string bytes;

 private:
  size_t failAfter_ = SIZE_MAX;
};

// ---- The organiser's reader.

enum class SkinReadResult { kRead, kInvalid, kOutOfMemory };

// Reads a skin as the organiser does: the magic; a value count of at least
// 34 and that many values; a bitmap count of at least 19 and that many
// lengths; then each bitmap (a length of 0 is an empty slot). Values and
// slots after the first 34 and 19 are read past and dropped, and bytes after
// the last bitmap are ignored. A header field or a bitmap cut short makes
// the file invalid; so does a length larger than what is left of the file,
// found before any memory is asked for it. `skin` is filled only when the
// whole file was read.
SkinReadResult ReadSkinForOrganiser(SkinSource& source, SkinFile* skin);
// "Error: Invalid skin file", "Error: Out of memory", or none for kRead.
const char* SkinReadMessage(SkinReadResult result);

// ---- The editor's reader and writer.

enum class EditorReadResult { kRead, kNotLargeEnough, kNotASkin };

// Reads a skin as the editor does: the 224-byte header at once, whatever
// its counts say, the 34 values and the 19 lengths. A length of 0 or below
// leaves its slot empty. A slot cut short keeps the bytes that were there
// and adds "Error: Could not read entire bitmap." to `messages` (once a
// slot); reading goes on with the next. Nothing is filled when the header
// is short or its magic wrong.
EditorReadResult ReadSkinForEditor(SkinSource& source, SkinFile* skin, std::vector<std::string>* messages);
// "Input file not large enough.", "Input file is not a valid skin file.",
// or none for kRead.
const char* EditorReadMessage(EditorReadResult result);

// Writes the 224-byte header with the counts 34 and 19, then each slot's
// bytes in slot order (an empty slot writes nothing). A slot's length is the
// number of bytes it holds. Stops at the first write that fails (what was
// written stays). 1 when everything was written.
int WriteSkinFile(SkinSink& sink, const SkinFile& skin);

// The editor's reading of a value field: at most its first 7 characters; a
// text that does not start with a digit is 0, otherwise the decimal number
// at its start ("12ab" is 12, "-5" and "" are 0).
int32_t SkinValueFromText(const char* text);

// Whether a .bmp file's bytes may go into a slot, as the editor checks a
// file it loads: at most kMaxSlotFileSize bytes, and its own size field (the
// 32-bit value at offset 2) equal to its length.
enum class SlotFileCheck { kFits, kTooLarge, kSizeFieldDiffers };
SlotFileCheck CheckSlotFile(const void* bytes, size_t size);

// Little-endian fields.
uint32_t ReadU32(const uint8_t* at);
void PutU32(uint8_t* at, uint32_t value);
