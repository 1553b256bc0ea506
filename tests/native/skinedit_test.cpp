#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/filesystem.h"
#include "fakes/memoryfiles.h"
#include "skin/compose.h"
#include "skin/skinfile.h"
#include "skinedit/bitmapfile.h"
#include "skinedit/commandline.h"
#include "skinedit/sheetmap.h"
#include "skinedit/skinsheet.h"
#include "tests/native/bmp_builder.h"

namespace {

// The pages' controls in memory.
class MemorySheet final : public SkinSheet {
 public:
  std::string FieldText(SheetPlace field) override { return texts[Key(field)]; }
  void SetFieldText(SheetPlace field, const std::string& text) override { texts[Key(field)] = text; }
  const SlotImage* PreviewImage(SheetPlace preview) override {
    auto found = previews.find(Key(preview));
    return found == previews.end() || found->second.empty() ? nullptr : &found->second;
  }
  void SetPreview(SheetPlace preview, SlotImage image) override { previews[Key(preview)] = std::move(image); }

  static std::pair<int, int> Key(SheetPlace place) { return {place.page, place.control}; }
  std::map<std::pair<int, int>, std::string> texts;
  std::map<std::pair<int, int>, SlotImage> previews;
};

SlotImage Image(const std::string& bytes) {
  SlotImage image;
  image.Assign(bytes.data(), bytes.size());
  return image;
}

// A skin whose values all differ and whose slots hold distinct pictures,
// some empty.
SkinFile SampleSkin() {
  SkinFile skin;
  for (int i = 0; i < kSkinValueCount; ++i) skin.values[i] = 1000 + i;
  for (int slot = 0; slot < kSkinSlotCount; ++slot)
    if (slot % 4 != 1) skin.slots[slot] = Image(SolidBmp(slot + 1, 2, 0x102030u * slot));
  return skin;
}

std::string Bytes(const SkinFile& skin) {
  MemorySkinSink sink;
  EXPECT_EQ(WriteSkinFile(sink, skin), 1);
  return sink.bytes;
}

SkinFile ReadByOrganiser(const std::string& bytes) {
  SkinFile skin;
  MemorySkinSource source(bytes);
  EXPECT_EQ(ReadSkinForOrganiser(source, &skin), SkinReadResult::kRead);
  return skin;
}

std::vector<std::string> Load(const std::string& bytes, MemorySheet& sheet, LoadedValues* loaded) {
  MemorySkinSource source(bytes);
  return LoadSkinIntoSheet(&source, sheet, loaded);
}

// ---- The field and slot maps, against the pages as the design lays them out.

TEST(SkinEditorMaps, EveryValueAndSlotHasItsPlaceOnThePages) {
  const char* titles[] = {"Window", "Tree", "Close", "Lists", "Active", "Done", "Calendar"};
  const int dialogs[] = {401, 403, 402, 402, 402, 402, 402};
  for (int page = 0; page < kPageCount; ++page) {
    EXPECT_STREQ(kPages[page].title, titles[page]);
    EXPECT_EQ(kPages[page].dialog, dialogs[page]);
  }
  // Window: ids 201 to 210 for values 0 to 9; the tree and the five
  // buttons (page k) hold left, right, top, bottom in 211 to 214.
  for (int i = 0; i < 10; ++i) EXPECT_EQ(MemorySheet::Key(kFieldMap[i]), std::make_pair(0, 201 + i)) << i;
  for (int page = 1; page < kPageCount; ++page)
    for (int edge = 0; edge < 4; ++edge) {
      const int value = page == 1 ? kValueTreeRect + edge : ButtonRectValue(page - 2) + edge;
      EXPECT_EQ(MemorySheet::Key(kFieldMap[value]), std::make_pair(page, 211 + edge)) << value;
    }
  EXPECT_EQ(MemorySheet::Key(kSlotMap[kSlotWindowBackground]), std::make_pair(0, 251));
  EXPECT_EQ(MemorySheet::Key(kSlotMap[kSlotCheckEmpty]), std::make_pair(1, 253));
  EXPECT_EQ(MemorySheet::Key(kSlotMap[kSlotCheckChecked]), std::make_pair(1, 255));
  EXPECT_EQ(MemorySheet::Key(kSlotMap[kSlotTreeBackground]), std::make_pair(1, 257));
  for (int button = 0; button < kSkinButtonCount; ++button)
    for (int picture = 0; picture < 3; ++picture)
      EXPECT_EQ(MemorySheet::Key(kSlotMap[ButtonSlot(button, picture)]),
                std::make_pair(button + 2, 259 + 2 * picture));
  // Each preview is loaded by the button one below it, and by no other.
  for (const SheetPlace& preview : kSlotMap) {
    EXPECT_TRUE(IsPreview(preview.control));
    EXPECT_TRUE(IsLoadButton(preview.control - 1));
    EXPECT_EQ(PreviewOfButton(preview.control - 1), preview.control);
  }
  for (int id : {201, 214, 249, 251, 264}) EXPECT_FALSE(IsLoadButton(id)) << id;
}

// ---- Load skin into sheet.

TEST(SkinEditorLoad, PutsEveryValueAndSlotInItsPlaceAndEmptiesEmptySlots) {
  MemorySheet sheet;
  // A preview filled earlier, whose slot the file leaves empty.
  sheet.SetPreview(kSlotMap[1], Image(SolidBmp(1, 1, 0)));
  const SkinFile skin = SampleSkin();
  LoadedValues loaded;
  EXPECT_TRUE(Load(Bytes(skin), sheet, &loaded).empty());
  for (int i = 0; i < kSkinValueCount; ++i)
    EXPECT_EQ(sheet.FieldText(kFieldMap[i]), std::to_string(1000 + i));
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    const SlotImage* shown = sheet.PreviewImage(kSlotMap[slot]);
    EXPECT_EQ(shown ? shown->str() : "", skin.slots[slot].str()) << slot;
  }
}

TEST(SkinEditorLoad, SaysWhyAFileIsRefusedOrReadOnlyInPart) {
  const std::string whole = Bytes(SampleSkin());
  const std::string shortHeader = whole.substr(0, kSkinHeaderSize - 1);
  const std::string cut = whole.substr(0, whole.size() - 10);
  std::string wrongMagic = whole;
  wrongMagic[0] = 'X';
  struct {
    const char* name;
    const std::string* bytes;  // none: the file could not be opened
    std::string message;
    bool filled;
  } cases[] = {
      {"not opened", nullptr, "Input file could not be opened.", false},
      {"short header", &shortHeader, "Input file not large enough.", false},
      {"wrong magic", &wrongMagic, "Input file is not a valid skin file.", false},
      // Cut in the last bitmap: all else is filled, the slot keeps what is there.
      {"cut bitmap", &cut, "Error: Could not read entire bitmap.", true},
  };
  for (const auto& c : cases) {
    MemorySheet sheet;
    LoadedValues loaded;
    MemorySkinSource source(c.bytes ? *c.bytes : whole);
    EXPECT_EQ(LoadSkinIntoSheet(c.bytes ? &source : nullptr, sheet, &loaded),
              std::vector<std::string>{c.message})
        << c.name;
    EXPECT_EQ(sheet.FieldText(kFieldMap[33]), c.filled ? "1033" : "") << c.name;
    EXPECT_EQ(loaded.loaded[33], c.filled) << c.name;
    const SlotImage* last = sheet.PreviewImage(kSlotMap[18]);
    EXPECT_EQ(last ? last->size() : 0, c.filled ? SampleSkin().slots[18].size() - 10 : 0) << c.name;
  }
}

// ---- The values the fields stand for.

TEST(SkinEditorFields, AFieldLeftAloneKeepsItsLoadedValueAnEditedOneIsParsed) {
  LoadedValues loaded;
  loaded.loaded[0] = true;
  loaded.values[0] = -5;
  loaded.loaded[1] = true;
  loaded.values[1] = 123456789;  // more than 7 characters can show
  loaded.loaded[2] = true;
  loaded.values[2] = 42;
  struct {
    int field;
    const char* text;
    int32_t value;
  } cases[] = {
      {0, "-5", -5},                // loaded, untouched
      {1, "123456789", 123456789},  // loaded, untouched, shown whole
      {1, "12345678", 1234567},     // edited: its first 7 characters
      {0, "-6", 0},                 // edited: no digit first
      {2, "42", 42},
      {2, "4", 4},
      {3, "12ab", 12},
      {3, "-5", 0},
      {3, "", 0},
      {3, "9999999", 9999999},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FieldValue(c.text, loaded, c.field), c.value) << c.field << " " << c.text;
  EXPECT_EQ(ValueText(-2147483647 - 1), "-2147483648");
}

// ---- Save sheet as skin.

class SkinEditorSave : public ::testing::Test {
 protected:
  SkinEditorSave() { files.CreateFolder("C:\\skins"); }
  int Save(std::string* message, const std::string& path = "C:\\skins\\Mine") {
    return SaveSheetAsSkin(sheet, loaded, files, path, message);
  }
  MemoryFileSystem files;
  MemorySheet sheet;
  LoadedValues loaded;
};

TEST_F(SkinEditorSave, TheOrganiserReadsBackWhatWasLoadedAndEdited) {
  SkinFile skin = SampleSkin();
  skin.values[kValueTextColour] = -1;  // another writer's values, kept
  skin.values[kValueBackColour] = 2000000000;
  ASSERT_TRUE(Load(Bytes(skin), sheet, &loaded).empty());
  sheet.SetFieldText(kFieldMap[kValueWindowWidth], "300");
  sheet.SetFieldText(kFieldMap[kValueCornerRadius], "12ab");
  sheet.SetPreview(kSlotMap[kSlotWindowBackground], SlotImage());  // a double-click
  skin.values[kValueWindowWidth] = 300;
  skin.values[kValueCornerRadius] = 12;
  skin.slots[kSlotWindowBackground].Clear();

  std::string message;
  ASSERT_EQ(Save(&message), 1);
  EXPECT_EQ(message, "Skin file was successfully saved.");
  EXPECT_EQ(files.files["C:\\skins\\Mine"], Bytes(skin));
  const SkinFile back = ReadByOrganiser(files.files["C:\\skins\\Mine"]);
  for (int i = 0; i < kSkinValueCount; ++i) EXPECT_EQ(back.values[i], skin.values[i]) << i;
  for (int slot = 0; slot < kSkinSlotCount; ++slot) EXPECT_EQ(back.slots[slot].str(), skin.slots[slot].str());
}

TEST_F(SkinEditorSave, AnEmptySheetIsAHeaderOfZeros) {
  std::string expected(kSkinHeaderSize, '\0');
  expected[0] = 'S';
  expected[1] = 'B';
  expected[4] = kSkinValueCount;
  expected[8 + 4 * kSkinValueCount] = kSkinSlotCount;
  std::string message;
  ASSERT_EQ(Save(&message), 1);
  EXPECT_EQ(files.files["C:\\skins\\Mine"], expected);
}

TEST_F(SkinEditorSave, ASlotWhoseSizeFieldDisagreesIsWrittenWithTheBytesItHolds) {
  // Another writer's slot: its size field says 4000, the table 60.
  std::string odd = SolidBmp(4, 4, 0x445566);
  PutU32(reinterpret_cast<uint8_t*>(&odd[2]), 4000);
  SkinFile skin;
  skin.slots[kSlotTreeBackground] = Image(odd);
  ASSERT_TRUE(Load(Bytes(skin), sheet, &loaded).empty());
  std::string message;
  ASSERT_EQ(Save(&message), 1);
  EXPECT_EQ(ReadByOrganiser(files.files["C:\\skins\\Mine"]).slots[kSlotTreeBackground].str(), odd);
}

TEST_F(SkinEditorSave, NeverWritesOverAFileBesideTheSkin) {
  // The user's own "Mine.tmp", and names an earlier stopped save left.
  const std::vector<std::vector<std::string>> neighbours = {
      {"C:\\skins\\Mine.tmp"},
      {"C:\\skins\\Mine.tmp", "C:\\skins\\~0.tmp", "C:\\skins\\~1.tmp"},
  };
  for (const auto& names : neighbours) {
    files.Clear();
    files.CreateFolder("C:\\skins");
    for (const std::string& name : names) files.files[name] = "the user's " + name;
    std::string message;
    ASSERT_EQ(Save(&message), 1) << names.size();
    EXPECT_EQ(files.files.size(), names.size() + 1) << "a temporary file left beside the skin";
    for (const std::string& name : names) EXPECT_EQ(files.files[name], "the user's " + name);
    EXPECT_EQ(ReadByOrganiser(files.files["C:\\skins\\Mine"]).values[0], 0);
  }
}

// ---- Failed saves: the old skin stays whole, and the message says why.

TEST_F(SkinEditorSave, AFailedSaveLeavesTheOldSkinWholeAndSaysWhy) {
  const std::string old = Bytes(SampleSkin());
  ASSERT_TRUE(Load(old, sheet, &loaded).empty());
  sheet.SetFieldText(kFieldMap[0], "1");
  struct {
    const char* name;
    void (*fail)(MemoryFileSystem&);
    const char* path;
    const char* message;
  } cases[] = {
      {"disk full", [](MemoryFileSystem& f) { f.FailWritesTo("C:\\skins\\", 300); }, "C:\\skins\\Mine",
       "Error: Could not complete write operation."},
      {"cannot replace", [](MemoryFileSystem& f) { f.FailReplaces(true); }, "C:\\skins\\Mine",
       "Error: Could not open file."},
      {"no such folder", [](MemoryFileSystem&) {}, "C:\\nowhere\\Mine", "Error: Could not open file."},
  };
  for (const auto& c : cases) {
    files.Clear();
    files.CreateFolder("C:\\skins");
    files.files["C:\\skins\\Mine"] = old;
    c.fail(files);
    std::string message;
    EXPECT_EQ(Save(&message, c.path), 0) << c.name;
    EXPECT_EQ(message, c.message) << c.name;
    EXPECT_EQ(files.files.size(), 1u) << c.name << ": a file left beside the skin";
    EXPECT_EQ(files.files["C:\\skins\\Mine"], old) << c.name;
  }
}

// ---- Load bitmap into preview: the checks on the file.

// A source that says how much it was asked for.
class CountingSource final : public SkinSource {
 public:
  explicit CountingSource(const std::string& bytes, size_t deliver = SIZE_MAX)
      : memory_(bytes), deliver_(deliver) {}
  size_t Read(void* into, size_t count) override {
    asked += count;
    return memory_.Read(into, std::min(count, deliver_));
  }
  bool Skip(uint64_t count) override { return memory_.Skip(count); }
  uint64_t Remaining() override { return memory_.Remaining(); }
  size_t asked = 0;

 private:
  MemorySkinSource memory_;
  size_t deliver_;
};

std::string BitmapFileOf(size_t size) {
  std::string file(size, '\0');
  file[0] = 'B';
  file[1] = 'M';
  PutU32(reinterpret_cast<uint8_t*>(&file[2]), static_cast<uint32_t>(size));
  return file;
}

TEST(SkinEditorBitmapFile, TakesWholeFilesOfUpTo1MiBAndRefusesTheRestUnchanged) {
  const std::string picture = SolidBmp(3, 3, 0x0000FF);
  std::string noLetters = picture;
  noLetters[0] = 'X';
  const std::string truncated = picture.substr(0, picture.size() - 1);  // its size field is larger
  struct {
    const char* name;
    std::string file;
    size_t deliver;
    BitmapFileResult result;
  } cases[] = {
      {"a picture", picture, SIZE_MAX, BitmapFileResult::kRead},
      {"without BM", noLetters, SIZE_MAX, BitmapFileResult::kRead},
      {"1,048,576 bytes", BitmapFileOf(1048576), SIZE_MAX, BitmapFileResult::kRead},
      {"1,048,577 bytes", BitmapFileOf(1048577), SIZE_MAX, BitmapFileResult::kTooLarge},
      {"truncated", truncated, SIZE_MAX, BitmapFileResult::kNotWhole},
      {"read short", picture, 10, BitmapFileResult::kNotWhole},
      {"empty", "", SIZE_MAX, BitmapFileResult::kNotWhole},
  };
  for (const auto& c : cases) {
    CountingSource source(c.file, c.deliver);
    SlotImage image = Image("kept");
    EXPECT_EQ(ReadBitmapFile(source, &image), c.result) << c.name;
    EXPECT_EQ(image.str(), c.result == BitmapFileResult::kRead ? c.file : "kept") << c.name;
    if (c.result == BitmapFileResult::kTooLarge) {
      EXPECT_EQ(source.asked, 0u) << "read before refusing";
    }
  }
  EXPECT_STREQ(BitmapFileMessage(BitmapFileResult::kTooLarge), "Error: Image size cannot exceed 1MB.");
  EXPECT_STREQ(BitmapFileMessage(BitmapFileResult::kNotWhole), "Error: Could not read entire file");
  EXPECT_STREQ(BitmapFileMessage(BitmapFileResult::kOutOfMemory), "Error: Out of memory.");
  EXPECT_EQ(BitmapFileMessage(BitmapFileResult::kRead), nullptr);
}

// ---- The command line.

TEST(SkinEditorBitmapFile, APreviewShowsTheWholePictureShrunkToFitAndACheckBoxsKeyColourClear) {
  auto picture = [](int width, int height, std::vector<Pixel> pixels = {}) {
    BmpImage image;
    image.width = width;
    image.height = height;
    image.pixels =
        pixels.empty() ? std::vector<Pixel>(static_cast<size_t>(width * height), 0x808080) : pixels;
    return image;
  };
  const struct {
    int width, height, boxWidth, boxHeight, fittedWidth, fittedHeight;
  } sizes[] = {
      {264, 352, 172, 65, 48, 65},  // the Default skin's background in the Window page's box
      {100, 10, 50, 50, 50, 5},    {16, 16, 90, 21, 16, 16},  // never enlarged
      {3000, 1, 40, 40, 40, 1},    {1, 3000, 40, 40, 1, 40},  // at least a pixel a side
  };
  for (const auto& c : sizes) {
    const BmpImage fitted = FitPreviewPicture(picture(c.width, c.height), c.boxWidth, c.boxHeight, false, 0);
    EXPECT_EQ(fitted.width, c.fittedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(fitted.height, c.fittedHeight) << c.width << "x" << c.height;
    EXPECT_EQ(fitted.pixels.size(), static_cast<size_t>(c.fittedWidth * c.fittedHeight));
  }
  // Each pixel the average of those it covers; the key colour clear only when asked.
  const BmpImage halved = FitPreviewPicture(
      picture(4, 2, {0xFF0000, 0x000000, 0x102030, 0x102030, 0x00FF00, 0x0000FF, 0x102030, 0x102030}), 2, 1,
      false, 0);
  EXPECT_EQ(halved.pixels, (std::vector<Pixel>{0x404040, 0x102030}));
  const BmpImage box = picture(2, 1, {kKeyPixel, 0xFFFFFF});
  EXPECT_EQ(FitPreviewPicture(box, 4, 1, true, 0xD4D0C8).pixels,
            (std::vector<Pixel>{0xD4D0C8, 0xD4D0C8, 0xFFFFFF, 0xD4D0C8}));
  EXPECT_EQ(FitPreviewPicture(box, 10, 10, false, 0xD4D0C8).pixels,
            (std::vector<Pixel>{kKeyPixel, 0xFFFFFF}));
  EXPECT_TRUE(PreviewShowsCheckBox(253) && PreviewShowsCheckBox(255));
  EXPECT_FALSE(PreviewShowsCheckBox(251) || PreviewShowsCheckBox(257) || PreviewShowsCheckBox(259));
}

TEST(SkinEditorCommandLine, NamesThePathInQuotesOrTheWholeLine) {
  struct {
    const char* line;
    const char* path;
  } cases[] = {
      {"\"C:\\My skins\\Blue\"", "C:\\My skins\\Blue"},
      {"  \"C:\\skins\\Blue\"  ", "C:\\skins\\Blue"},
      {"\"C:\\skins\\Blue\" extra", "C:\\skins\\Blue"},
      {"C:\\skins\\Blue", "C:\\skins\\Blue"},  // unquoted, as a dropped file without blanks comes
      {"C:\\skins\\Blue \t", "C:\\skins\\Blue"},
      {"\"C:\\unclosed", "C:\\unclosed"},
      {"", ""},
      {"   ", ""},
      {"\"\"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinPathFromCommandLine(c.line), c.path) << c.line;
  EXPECT_EQ(SkinPathFromCommandLine(nullptr), "");
}

}  // namespace
