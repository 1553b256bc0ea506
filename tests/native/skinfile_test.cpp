#include "skin/skinfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/native/bmp_builder.h"

namespace {

// A skin file's bytes with any counts: the values, then the lengths of the
// slots (or `lengths` where given), then the slots' bytes.
std::string SkinBytes(const std::vector<int32_t>& values, const std::vector<std::string>& slots,
                      std::vector<uint32_t> lengths = {}) {
  std::string out;
  AppendU32(out, kSkinMagic);
  AppendU32(out, static_cast<uint32_t>(values.size()));
  for (int32_t v : values) AppendU32(out, static_cast<uint32_t>(v));
  AppendU32(out, static_cast<uint32_t>(slots.size()));
  for (size_t i = 0; i < slots.size(); ++i)
    AppendU32(out, i < lengths.size() ? lengths[i] : static_cast<uint32_t>(slots[i].size()));
  for (const std::string& s : slots) out += s;
  return out;
}

std::vector<int32_t> Values(int count = kSkinValueCount) {
  std::vector<int32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(i * 7 - 20);
  return values;
}

std::vector<std::string> Slots(int count = kSkinSlotCount) {
  std::vector<std::string> slots(count);
  slots[kSlotWindowBackground] = SolidBmp(3, 2, 0x123456);
  slots[kSlotTreeBackground] = "not a bitmap";
  slots[ButtonSlot(kButtonDone, kPictureHover)] = SolidBmp(1, 1, 0xABCDEF);
  return slots;
}

SkinReadResult Organiser(const std::string& bytes, SkinFile* skin) {
  MemorySkinSource source(bytes);
  return ReadSkinForOrganiser(source, skin);
}

void ExpectSkin(const SkinFile& skin, const std::vector<int32_t>& values,
                const std::vector<std::string>& slots) {
  for (int i = 0; i < kSkinValueCount; ++i) EXPECT_EQ(skin.values[i], values[i]) << "value " << i;
  for (int i = 0; i < kSkinSlotCount; ++i) EXPECT_EQ(skin.slots[i].str(), slots[i]) << "slot " << i;
}

TEST(SkinFileOrganiser, ReadsValuesAndSlotsAndAnEmptySkinOf224Bytes) {
  SkinFile skin;
  ASSERT_EQ(Organiser(SkinBytes(Values(), Slots()), &skin), SkinReadResult::kRead);
  ExpectSkin(skin, Values(), Slots());

  const std::string empty = SkinBytes(std::vector<int32_t>(kSkinValueCount), std::vector<std::string>(19));
  ASSERT_EQ(empty.size(), 224u);
  ASSERT_EQ(Organiser(empty, &skin), SkinReadResult::kRead);
  for (const SlotImage& slot : skin.slots) EXPECT_TRUE(slot.empty());
}

TEST(SkinFileOrganiser, LargerCountsAreReadPastAndGiveTheSameSkin) {
  std::vector<std::string> slots = Slots(20);
  slots[19] = "a bitmap of a later format";
  SkinFile skin;
  ASSERT_EQ(Organiser(SkinBytes(Values(40), slots) + "trailing bytes", &skin), SkinReadResult::kRead);
  ExpectSkin(skin, Values(), Slots());
}

TEST(SkinFileOrganiser, RefusesSmallCountsWrongMagicAndEveryShortFile) {
  SkinFile skin;
  skin.values[0] = 99;
  EXPECT_EQ(Organiser(SkinBytes(Values(33), Slots()), &skin), SkinReadResult::kInvalid);
  EXPECT_EQ(Organiser(SkinBytes(Values(), Slots(18)), &skin), SkinReadResult::kInvalid);
  std::string negative = SkinBytes(Values(), Slots());
  PutU32(reinterpret_cast<uint8_t*>(&negative[4]), 0x80000000u);
  EXPECT_EQ(Organiser(negative, &skin), SkinReadResult::kInvalid);
  std::string magic = SkinBytes(Values(), Slots());
  magic[0] = 'X';
  EXPECT_EQ(Organiser(magic, &skin), SkinReadResult::kInvalid);

  // Cut anywhere, in the header, in a bitmap, in a later format's bitmap.
  std::vector<std::string> slots = Slots(20);
  slots[19] = "0123456789";
  const std::string whole = SkinBytes(Values(), slots);
  for (size_t cut = 0; cut < whole.size(); ++cut)
    ASSERT_EQ(Organiser(whole.substr(0, cut), &skin), SkinReadResult::kInvalid) << cut;
  EXPECT_EQ(skin.values[0], 99) << "a refused file changed the skin";
  EXPECT_STREQ(SkinReadMessage(SkinReadResult::kInvalid), "Error: Invalid skin file");
  EXPECT_STREQ(SkinReadMessage(SkinReadResult::kOutOfMemory), "Error: Out of memory");
}

// Counts the bytes the reader asks the file for. Every slot is read into
// room made for it just before, so a reader that trusted a length would ask
// for more bytes than the file has (a 4 GiB allocation succeeds on a 64-bit
// host, so the result alone would not tell).
class CountingSource final : public SkinSource {
 public:
  explicit CountingSource(const std::string& bytes) : inner_(bytes) {}
  size_t Read(void* into, size_t count) override {
    asked += count;
    return inner_.Read(into, count);
  }
  bool Skip(uint64_t count) override { return inner_.Skip(count); }
  uint64_t Remaining() override { return inner_.Remaining(); }
  uint64_t asked = 0;

 private:
  MemorySkinSource inner_;
};

TEST(SkinFileOrganiser, AHugeLengthIsRefusedBeforeAnyMemoryIsAskedFor) {
  std::vector<uint32_t> first(19, 0);
  first[0] = 0xFFFFFFFFu;
  std::vector<uint32_t> later(20, 0);
  later[19] = 0xFFFFFFF0u;  // in a slot that is read past
  std::string table = SkinBytes(Values(), Slots());
  PutU32(reinterpret_cast<uint8_t*>(&table[144]), 0x7FFFFFFFu);  // a length table of 8 GiB
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"a slot of 4 GiB", SkinBytes(Values(), Slots(), first)},
      {"a later format's slot of 4 GiB", SkinBytes(Values(), Slots(20), later)},
      {"a length table of 8 GiB", table},
  };
  for (const auto& c : cases) {
    CountingSource source(c.bytes);
    SkinFile skin;
    EXPECT_EQ(ReadSkinForOrganiser(source, &skin), SkinReadResult::kInvalid) << c.name;
    EXPECT_LE(source.asked, c.bytes.size()) << c.name;
  }
}

TEST(SkinFileEditor, ReadsTheFixedLayoutWhateverTheCountsSay) {
  std::string bytes = SkinBytes(Values(), Slots());
  PutU32(reinterpret_cast<uint8_t*>(&bytes[4]), 33);
  PutU32(reinterpret_cast<uint8_t*>(&bytes[144]), 0);
  MemorySkinSource source(bytes);
  SkinFile skin;
  std::vector<std::string> messages;
  ASSERT_EQ(ReadSkinForEditor(source, &skin, &messages), EditorReadResult::kRead);
  ExpectSkin(skin, Values(), Slots());
  EXPECT_TRUE(messages.empty());
}

TEST(SkinFileEditor, RefusesAShortHeaderOrWrongMagicAndLeavesNegativeLengthsEmpty) {
  SkinFile skin;
  std::vector<std::string> messages;
  const std::string whole = SkinBytes(Values(), Slots());
  MemorySkinSource shortHeader(whole.data(), 223);
  EXPECT_EQ(ReadSkinForEditor(shortHeader, &skin, &messages), EditorReadResult::kNotLargeEnough);
  std::string magic = whole;
  magic[1] = 0;
  MemorySkinSource wrong(magic);
  EXPECT_EQ(ReadSkinForEditor(wrong, &skin, &messages), EditorReadResult::kNotASkin);
  EXPECT_STREQ(EditorReadMessage(EditorReadResult::kNotLargeEnough), "Input file not large enough.");
  EXPECT_STREQ(EditorReadMessage(EditorReadResult::kNotASkin), "Input file is not a valid skin file.");

  std::vector<uint32_t> lengths(19, 0);
  lengths[5] = static_cast<uint32_t>(-4);
  const std::string bytes = SkinBytes(Values(), std::vector<std::string>(19), lengths) + "abcd";
  MemorySkinSource negative(bytes);
  ASSERT_EQ(ReadSkinForEditor(negative, &skin, &messages), EditorReadResult::kRead);
  EXPECT_TRUE(skin.slots[5].empty());
  EXPECT_TRUE(messages.empty());
}

TEST(SkinFileEditor, AFileCutInABitmapKeepsWhatIsThereAndSaysSoOnceForEachShortSlot) {
  // Cut 4 bytes into the Done button's hover picture: it keeps those 4
  // bytes, and is the one slot found short.
  const std::vector<std::string> slots = Slots();
  const std::string whole = SkinBytes(Values(), slots);
  const size_t cut = whole.size() - slots[ButtonSlot(kButtonDone, kPictureHover)].size() + 4;
  MemorySkinSource source(whole.data(), cut);
  SkinFile skin;
  std::vector<std::string> messages;
  ASSERT_EQ(ReadSkinForEditor(source, &skin, &messages), EditorReadResult::kRead);
  EXPECT_EQ(skin.slots[ButtonSlot(kButtonDone, kPictureHover)].str(),
            slots[ButtonSlot(kButtonDone, kPictureHover)].substr(0, 4));
  EXPECT_EQ(skin.slots[kSlotWindowBackground].str(), slots[kSlotWindowBackground]);
  EXPECT_EQ(messages, std::vector<std::string>{"Error: Could not read entire bitmap."});

  // Cut inside the first: it and the two after it, all short.
  MemorySkinSource early(whole.data(), 224 + 10);
  messages.clear();
  ASSERT_EQ(ReadSkinForEditor(early, &skin, &messages), EditorReadResult::kRead);
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(skin.slots[kSlotWindowBackground].size(), 10u);
  EXPECT_TRUE(skin.slots[kSlotTreeBackground].empty());
  // The organiser refuses the same file.
  EXPECT_EQ(Organiser(whole.substr(0, cut), &skin), SkinReadResult::kInvalid);
}

TEST(SkinFileWriter, WritesWhatBothReadersReadBack) {
  SkinFile skin;
  std::vector<int32_t> values = Values();
  values[kValueTextColour] = 300;
  values[kValueWindowWidth] = -1;
  std::copy(values.begin(), values.end(), skin.values);
  std::vector<std::string> slots = Slots();
  for (int i = 0; i < kSkinSlotCount; ++i) skin.slots[i].Assign(slots[i].data(), slots[i].size());

  MemorySkinSink sink;
  ASSERT_EQ(WriteSkinFile(sink, skin), 1);
  EXPECT_EQ(sink.bytes, SkinBytes(values, slots));

  SkinFile organiser;
  ASSERT_EQ(Organiser(sink.bytes, &organiser), SkinReadResult::kRead);
  ExpectSkin(organiser, values, slots);
  SkinFile editor;
  MemorySkinSource source(sink.bytes);
  ASSERT_EQ(ReadSkinForEditor(source, &editor, nullptr), EditorReadResult::kRead);
  ExpectSkin(editor, values, slots);

  // An empty skin is its header alone.
  MemorySkinSink empty;
  ASSERT_EQ(WriteSkinFile(empty, SkinFile{}), 1);
  EXPECT_EQ(empty.bytes.size(), kSkinHeaderSize);
}

TEST(SkinFileWriter, StopsAtTheFirstFailedWriteLeavingWhatWasWritten) {
  SkinFile skin;
  const std::string picture = SolidBmp(2, 2, 0x010203);
  skin.slots[0].Assign(picture.data(), picture.size());
  skin.slots[1].Assign(picture.data(), picture.size());
  for (size_t failAt : {size_t{0}, size_t{100}, kSkinHeaderSize + 5}) {
    MemorySkinSink sink;
    sink.FailAfter(failAt);
    EXPECT_EQ(WriteSkinFile(sink, skin), 0) << failAt;
    EXPECT_EQ(sink.bytes.size(), failAt);
  }
}

TEST(SkinFileEditor, ValueFieldsReadTheDigitsAtTheirStart) {
  struct {
    const char* text;
    int32_t value;
  } cases[] = {{"", 0},
               {"12ab", 12},
               {"-5", 0},
               {"abc", 0},
               {"0042", 42},
               {"9999999", 9999999},
               {"123456789", 1234567},
               {" 7", 0}};
  for (const auto& c : cases) EXPECT_EQ(SkinValueFromText(c.text), c.value) << c.text;
  EXPECT_EQ(SkinValueFromText(nullptr), 0);
}

TEST(SkinFileEditor, SlotFilesUpTo1MiBWhoseSizeFieldIsTheirLength) {
  std::string file(kMaxSlotFileSize, '\0');
  file[0] = 'B';
  file[1] = 'M';
  PutU32(reinterpret_cast<uint8_t*>(&file[2]), static_cast<uint32_t>(file.size()));
  EXPECT_EQ(CheckSlotFile(file.data(), file.size()), SlotFileCheck::kFits);
  file.push_back('\0');
  PutU32(reinterpret_cast<uint8_t*>(&file[2]), static_cast<uint32_t>(file.size()));
  EXPECT_EQ(CheckSlotFile(file.data(), file.size()), SlotFileCheck::kTooLarge);
  const std::string truncated = SolidBmp(4, 4, 0).substr(0, 60);
  EXPECT_EQ(CheckSlotFile(truncated.data(), truncated.size()), SlotFileCheck::kSizeFieldDiffers);
  EXPECT_EQ(CheckSlotFile("BM", 2), SlotFileCheck::kSizeFieldDiffers);
}

}  // namespace
