// The skins on the real main window: the two looks and the switches between
// them, the buttons after real clicks and hovers, the skinned move, damaged
// skins, and the bitmaps of every depth against the system's own decoder.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

#include "app/win32/tabs.h"
#include "skin/win32/skinpaint.h"
#include "tests/native/bmp_builder.h"
#include "tests/win32/skin_fixture.h"
#include "tests/win32/temp_folder.h"

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The pixels of a bitmap the system made, as 0x00RRGGBB rows from the top.
std::vector<Pixel> SystemPixels(HBITMAP bitmap, int width, int height) {
  std::vector<Pixel> pixels(static_cast<size_t>(width) * height);
  BITMAPINFO info = TopDown32(width, height);
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) != height) return {};
  for (Pixel& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// Decodes a slot both ways, ours and the system's, and compares every pixel.
void ExpectSameAsSystem(const std::string& bytes, const std::string& what) {
  BmpImage ours;
  ASSERT_EQ(DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &ours), 1) << what;
  SlotImage slot;
  slot.Assign(bytes.data(), bytes.size());
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  ScopedGdiObject<HBITMAP> system(DecodeSlotBitmap(screen.get(), slot));
  ASSERT_TRUE(system) << what;
  EXPECT_EQ(SystemPixels(system.get(), ours.width, ours.height), ours.pixels) << what;
}

TEST(SkinBitmaps, OurDecoderAgreesWithTheSystemsOnEveryDepthAndRowOrder) {
  struct {
    const char* what;
    uint32_t header;
    int bits;
    uint32_t compression;
    uint32_t masks[3];
  } cases[] = {
      {"core 1-bit", 12, 1, 0, {}},
      {"core 8-bit", 12, 8, 0, {}},
      {"core 24-bit", 12, 24, 0, {}},
      {"4-bit", 40, 4, 0, {}},
      {"8-bit", 40, 8, 0, {}},
      {"16-bit 5-5-5", 40, 16, 0, {}},
      {"16-bit 5-6-5", 40, 16, 3, {0xF800, 0x07E0, 0x1F}},
      {"24-bit", 40, 24, 0, {}},
      {"32-bit", 40, 32, 0, {}},
      {"V5 32-bit fields", 124, 32, 3, {0xFF0000, 0xFF00, 0xFF}},
  };
  for (const auto& c : cases) {
    for (int height : {5, -5}) {
      if (height < 0 && c.header == 12) continue;
      BmpRecipe recipe;
      recipe.headerSize = c.header;
      recipe.width = 7;
      recipe.height = height;
      recipe.bitCount = c.bits;
      recipe.compression = c.compression;
      for (int i = 0; i < 3; ++i) recipe.masks[i] = c.masks[i];
      if (c.bits <= 8)
        for (int i = 0; i < (1 << c.bits); ++i)
          recipe.palette.push_back((i * 0x3B5D1F + 0x0F2040) & 0xFFFFFF);
      const uint32_t mask = c.bits == 32 ? 0xFFFFFF : (1u << (c.bits > 24 ? 24 : c.bits)) - 1;
      const std::string file = BuildBmp(recipe, [mask](int x, int y) {
        return static_cast<uint32_t>(x * 0x9E3779B9u ^ y * 0x7F4A7C15u) & mask;
      });
      ExpectSameAsSystem(file, std::string(c.what) + (height < 0 ? " top-down" : " bottom-up"));
    }
  }
}

TEST(SkinBitmaps, EveryBitmapOfTheBundledSkinsDecodesAlikeBothWays) {
  for (const char* name : {"Default", "Slate"}) {
    SkinFile file = ReadSkinFile(BundledSkin(name));
    for (int slot = 0; slot < kSkinSlotCount; ++slot) {
      ASSERT_FALSE(file.slots[slot].empty()) << name << " slot " << slot;
      ExpectSameAsSystem(file.slots[slot].str(), std::string(name) + " slot " + std::to_string(slot));
    }
  }
}

TEST(SkinBitmaps, ASlotWhoseHeadersReachBeyondItMakesNoBitmap) {
  const std::string good = SolidBmp(4, 4, 0x336699);
  std::string offset = good;
  offset[10] = static_cast<char>(0xF0);  // the pixel bits far beyond the slot
  std::string header = good;
  header[14] = 124;  // a V5 header longer than what follows it
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  for (const std::string& bad :
       {good.substr(0, good.size() - 1), offset, header.substr(0, 100), "XM" + good.substr(2)}) {
    SlotImage slot;
    slot.Assign(bad.data(), bad.size());
    EXPECT_EQ(DecodeSlotBitmap(screen.get(), slot), nullptr);
  }
}

TEST(SkinFiles, ASkinWrittenToDiskReadsBackAndAFolderIsNoFile) {
  TempFolder folder;
  // Written by the editor's writer and read by the organiser's reader under
  // a folder and a name beyond ASCII, then once more under a plain name.
  const std::string unicodeFolder = folder.path + "Sk\xC3\xADny \xE2\x9C\x93";
  ASSERT_TRUE(CreateDirectoryA(unicodeFolder.c_str(), nullptr));
  const std::string unicodePath = unicodeFolder + "\\\xC4\x8C" "aj \xE6\x97\xA5\xE6\x9C\xAC";
  {
    SkinFileSink sink(unicodePath.c_str());
    ASSERT_TRUE(sink.ok());
    ASSERT_EQ(WriteSkinFile(sink, ReadSkinFile(BundledSkin("Slate"))), 1);
  }
  // The names are those characters, not their bytes in another code page.
  const std::wstring wide = std::wstring(folder.path.begin(), folder.path.end()) + L"Sk\u00EDny \u2713\\\u010Caj \u65E5\u672C";
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  const SkinFile skin = ReadSkinFile(unicodePath);
  const std::string path = folder.path + "copy";
  {
    SkinFileSink sink(path.c_str());
    ASSERT_TRUE(sink.ok());
    ASSERT_EQ(WriteSkinFile(sink, skin), 1);
  }
  std::ifstream written(path, std::ios::binary), bundled(BundledSkin("Slate"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
            std::string(std::istreambuf_iterator<char>(bundled), {}));
  EXPECT_FALSE(SkinFileSink(folder.path.c_str()).ok());
  EXPECT_FALSE(SkinFileSource(folder.path.c_str()).ok());
}

TEST_F(SkinnedWindow, EachBundledSkinShapesTheRealWindow) {
  for (const char* name : {"Default", "Slate"}) {
    SCOPED_TRACE(name);
    const std::string path = BundledSkin(name);
    ASSERT_EQ(LoadSkin(main, path.c_str(), false), 1);
    const Skin& skin = CurrentSkin().skin;
    EXPECT_TRUE(IsSkinned());
    EXPECT_STREQ(App().skinPath, path.c_str());
    EXPECT_FALSE(GetWindowLongPtrA(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    const SIZE size = WindowSize();
    EXPECT_EQ(size.cx, skin.width);
    EXPECT_EQ(size.cy, skin.height);

    // The outline: the rectangle of the skin's size with its corners cut.
    ScopedGdiObject<HRGN> outline(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(main, outline.get()), COMPLEXREGION);
    RECT box;
    GetRgnBox(outline.get(), &box);
    EXPECT_LE(box.right, skin.width);
    EXPECT_GE(box.right, skin.width - 1);
    EXPECT_FALSE(PtInRegion(outline.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(outline.get(), skin.width / 2, 0));
    EXPECT_TRUE(PtInRegion(outline.get(), skin.width / 2, skin.height / 2));

    EXPECT_FALSE(IsWindowVisible(Tabs()));
    for (int index = 0; index < kTabCount; ++index) {
      RECT place = PlaceOf(View(index));
      EXPECT_EQ(place.left, skin.treeRect.left) << index;
      EXPECT_EQ(place.top, skin.treeRect.top) << index;
      EXPECT_EQ(place.right, skin.treeRect.right) << index;
      EXPECT_EQ(place.bottom, skin.treeRect.bottom) << index;
    }
    // The skin's check boxes on Lists, 16 x 16, empty, empty, checked.
    auto state =
        reinterpret_cast<HIMAGELIST>(SendMessageA(View(kTabLists), TVM_GETIMAGELIST, TVSIL_STATE, 0));
    EXPECT_EQ(state, skin.checkImages);
    EXPECT_EQ(ImageList_GetImageCount(state), 3);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(state, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(SendMessageA(View(kTabActive), TVM_GETIMAGELIST, TVSIL_STATE, 0), 0);
    // Its colours, and the key colour the painting makes clear.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabDone), TVM_GETTEXTCOLOR, 0, 0)), skin.textColor);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabDone), TVM_GETLINECOLOR, 0, 0)), skin.backColor);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabDone), TVM_GETBKCOLOR, 0, 0)), RGB(250, 50, 250));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabCalendar), MCM_GETCOLOR, MCSC_TITLEBK, 0)),
              skin.backColor);
    EXPECT_EQ(App().treeBackground, skin.treeBackground);
    EXPECT_NE(App().treeBackground, nullptr);
  }
}

TEST_F(SkinnedWindow, TheTwoByteSkinBringsThePlainLookBackWholeAndTheSkinReturns) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), false), 1);
  const std::string plain = BundledSkin("Plain");
  ASSERT_EQ(LoadSkin(main, plain.c_str(), true), 1);
  EXPECT_FALSE(IsSkinned());
  EXPECT_TRUE(IsWindowVisible(main));  // asked to show
  EXPECT_STREQ(App().skinPath, plain.c_str());
  EXPECT_TRUE(GetWindowLongPtrA(main, GWL_STYLE) & WS_CAPTION);
  // No outline kept from the skin: the frame keeps its corners.
  ScopedGdiObject<HRGN> outline(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(main, outline.get()), ERROR);
  EXPECT_TRUE(IsWindowVisible(Tabs()));
  RECT display;
  GetClientRect(main, &display);
  SendMessageA(Tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(PlaceOf(View(kTabLists)).top, display.top);
  EXPECT_EQ(reinterpret_cast<Handle>(SendMessageA(View(kTabLists), TVM_GETIMAGELIST, TVSIL_STATE, 0)),
            App().defaultCheckImages);
  EXPECT_EQ(App().treeBackground, App().defaultBackground);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabActive), TVM_GETLINECOLOR, 0, 0)),
            RGB(128, 128, 128));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(View(kTabCalendar), MCM_GETCOLOR, MCSC_TITLEBK, 0)),
            RGB(80, 140, 200));

  ASSERT_EQ(LoadSkin(main, BundledSkin("Slate").c_str(), false), 1);
  EXPECT_TRUE(IsSkinned());
  EXPECT_EQ(WindowSize().cx, 300);
  EXPECT_FALSE(IsWindowVisible(Tabs()));
}

TEST_F(SkinnedWindow, ASkinThatCannotBeReadKeepsTheCurrentOne) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), false), 1);
  const Skin before = CurrentSkin().skin;
  const std::string path = App().skinPath;
  TempFolder folder;
  WriteFileBytes(folder.path + "notes.txt", "These are not the skins you are looking for.");
  std::string cut;
  {
    std::ifstream in(BundledSkin("Slate"), std::ios::binary);
    cut.assign(std::istreambuf_iterator<char>(in), {});
  }
  WriteFileBytes(folder.path + "cut", cut.substr(0, cut.size() - 1));

  for (const char* name : {"notes.txt", "cut"}) {
    prompts.Clear();
    EXPECT_EQ(LoadSkin(main, (folder.path + name).c_str(), true), 0) << name;
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Error: Invalid skin file"}) << name;
  }
  prompts.Clear();
  EXPECT_EQ(LoadSkin(main, (folder.path + "missing").c_str(), true), 0);
  EXPECT_TRUE(prompts.shown().empty());  // a file that is not there: no message

  EXPECT_TRUE(IsSkinned());
  EXPECT_EQ(CurrentSkin().skin.windowBackground, before.windowBackground);
  EXPECT_EQ(WindowSize().cx, 264);
  EXPECT_EQ(App().skinPath, path);
  EXPECT_FALSE(IsWindowVisible(main));  // a failed load shows nothing

  // An empty path is the plain look, and keeps the stored path.
  EXPECT_EQ(LoadSkin(main, "", false), 0);
  EXPECT_FALSE(IsSkinned());
  EXPECT_EQ(App().skinPath, path);
}

TEST_F(SkinnedWindow, ClicksAndHoversMoveTheButtonsPictures) {
  const std::string path = BundledSkin("Default");
  ASSERT_EQ(LoadSkin(main, path.c_str(), true), 1);
  SkinFile file = ReadSkinFile(path);
  // The colour at a button's centre in each of its pictures.
  auto pictureAt = [&](int button, int picture) {
    BmpImage image;
    const SlotImage& slot = file.slots[ButtonSlot(button, picture)];
    EXPECT_EQ(DecodeBmp(slot.data(), slot.size(), &image), 1);
    const Rect& r = CurrentSkin().skin.buttons[button].rect;
    return image.pixels[((r.bottom - r.top) / 2) * image.width + (r.right - r.left) / 2];
  };
  // What the buttons paint, read back from a canvas of the window's size.
  auto shown = [&](int button) {
    PixelCanvas canvas(264, 352, 0);
    PaintButtons(canvas.dc());
    const Point c = Centre(button);
    return canvas.At(c.x, c.y);
  };
  EXPECT_EQ(shown(kButtonLists), pictureAt(kButtonLists, kPictureSelected));
  EXPECT_EQ(shown(kButtonActive), pictureAt(kButtonActive, kPictureNormal));

  SendMessageA(main, WM_MOUSEMOVE, 0, At(Centre(kButtonActive)));
  EXPECT_EQ(CurrentSkin().hoverButton, kButtonActive);
  EXPECT_EQ(shown(kButtonActive), pictureAt(kButtonActive, kPictureHover));

  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(kButtonDone)));
  SendMessageA(main, WM_LBUTTONUP, 0, At(Centre(kButtonDone)));
  EXPECT_EQ(App().currentView, View(kTabDone));
  EXPECT_EQ(TabSelection(), kTabDone);
  EXPECT_EQ(CurrentSkin().selectedButton, kButtonDone);
  SendMessageA(main, WM_MOUSEMOVE, 0, At(Centre(kButtonDone)));
  EXPECT_EQ(shown(kButtonDone), pictureAt(kButtonDone, kPictureSelected));  // selected over hover
  EXPECT_EQ(shown(kButtonLists), pictureAt(kButtonLists, kPictureNormal));

  // Into the title bar: no button hovers; a tab switch by keys moves the
  // selected button along.
  SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
  EXPECT_EQ(CurrentSkin().hoverButton, -1);
  SelectNextTab();
  EXPECT_EQ(CurrentSkin().selectedButton, kButtonCalendar);
  SendMessageA(main, WM_MOUSEMOVE, 0, At(Centre(kButtonClose)));
  EXPECT_EQ(CurrentSkin().hoverButton, kButtonClose);
  SendMessageA(main, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(CurrentSkin().hoverButton, -1);

  // The window itself, painted: the selected Calendar button shows on it.
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ScopedDC window = ScopedDC::ForWindow(main);
  const Point calendar = Centre(kButtonCalendar);
  const Pixel selected = pictureAt(kButtonCalendar, kPictureSelected);
  EXPECT_EQ(GetPixel(window.get(), calendar.x, calendar.y),
            RGB(selected >> 16, selected >> 8 & 0xFF, selected & 0xFF));

  // The close button hides (and saves); the program goes on.
  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(kButtonClose)));
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(IsWindow(main));
  EXPECT_TRUE(files.FileExists("C:\\data\\current\\list.xml"));
}

TEST_F(SkinnedWindow, TheTitleBarDragsTheWindowWhichSnapsOnePixelBeyondTheWorkArea) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), true), 1);
  SetWindowPos(main, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  EXPECT_EQ(GetCapture(), main);
  SetCursorPos(340, 190);
  SendMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 10));
  RECT placed;
  GetWindowRect(main, &placed);
  EXPECT_EQ(placed.left, 240);
  EXPECT_EQ(placed.top, 180);

  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetCursorPos(340, work.bottom - 352 + 10 + 5);  // 5 pixels short of the bottom edge
  SendMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 10));
  GetWindowRect(main, &placed);
  EXPECT_EQ(placed.bottom, work.bottom + 1);
  SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
  EXPECT_NE(GetCapture(), main);
  SetCursorPos(500, 300);
  SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
  RECT after;
  GetWindowRect(main, &after);
  EXPECT_EQ(after.top, placed.top);  // the move is over

  // A release that never came (another window took the mouse): the next
  // move without the button ends the move instead of dragging on.
  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
  EXPECT_NE(GetCapture(), main);
  GetWindowRect(main, &after);
  EXPECT_EQ(after.top, placed.top);
}

TEST_F(SkinnedWindow, ASkinWithRectanglesOutsideTheWindowAndNoSizesPaintsWhatFits) {
  // Every rectangle out of place, the window of no size, a negative corner,
  // and pictures smaller than their buttons.
  SkinFile skin;
  const int32_t values[kSkinValueCount] = {
      0,       -40,     -7,      INT_MAX, 300, 20,  30, 1,  2,
      3,       50,      10,      60,      -20, -50, 8,  -5, 8,  // tree inside out; close off the corner
      INT_MIN, INT_MAX, INT_MIN, INT_MAX,                       // Lists: everywhere
      100,     200,     100,     200,                           // Active: beyond the window
      5,       5,       5,       5,                             // Done: a point
      10,      30,      10,      30};
  std::copy(values, values + kSkinValueCount, skin.values);
  const std::string small = SolidBmp(3, 2, 0x20A040);
  for (int slot = 0; slot < kSkinSlotCount; ++slot) skin.slots[slot].Assign(small.data(), small.size());
  MemorySkinSink sink;
  ASSERT_EQ(WriteSkinFile(sink, skin), 1);
  TempFolder folder;
  WriteFileBytes(folder.path + "odd", sink.bytes);

  ASSERT_EQ(LoadSkin(main, (folder.path + "odd").c_str(), true), 1);
  EXPECT_EQ(WindowSize().cx, kMinSkinWindowSide);
  EXPECT_EQ(WindowSize().cy, kMinSkinWindowSide);
  // Painting, hovering and pressing everywhere does no harm.
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (int x : {-5, 0, 5, 31, 60})
    for (int y : {-5, 0, 5, 31, 60}) SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  // Only the Calendar button lies in the window: its 3 x 2 picture at
  // (10, 10), the rest of its rectangle left as it was.
  PixelCanvas canvas(40, 40, 0x123456);
  PaintButtons(canvas.dc());
  EXPECT_EQ(canvas.At(11, 11), 0x20A040u);
  EXPECT_EQ(canvas.At(14, 14), 0x123456u);
  EXPECT_EQ(canvas.At(6, 6), 0x123456u);
  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(App().currentView, View(kTabCalendar));
  EXPECT_TRUE(prompts.shown().empty());
}

}  // namespace
