// The skin editor's sheet on the real controls: its pages made with it, a
// skin loaded into them and saved back, the previews freeing what they
// showed. The program around it is driven from outside by the black-box
// scenario "skinedit".
#include <windows.h>

#include <prsht.h>

#include <gtest/gtest.h>

#include <string>

#include "base/filesystem.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"
#include "fakes/memoryfiles.h"
#include "fakes/scriptedprompts.h"
#include "skinedit/win32/editor.h"
#include "skinedit/win32/preview.h"
#include "tests/native/bmp_builder.h"
#include "tests/win32/temp_folder.h"

namespace {

class SkinEditorSheet : public ::testing::Test {
 protected:
  SkinEditorSheet() {
    editor.prompts = &prompts;
    editor.sheet = CreateSkinSheet(GetModuleHandleA(nullptr), &editor);
  }
  ~SkinEditorSheet() override {
    if (editor.sheet) DestroyWindow(editor.sheet);
  }
  std::string Text(int page, int id) { return SheetControls(editor.sheet).FieldText({page, id}); }

  ScriptedPrompts prompts;
  SkinEditor editor;
  TempFolder temp;
};

TEST_F(SkinEditorSheet, ShowsAndSavesBackValuesItsFieldsCannotCarryUntilTheyAreEdited) {
  ASSERT_NE(editor.sheet, nullptr);
  SkinFile skin;
  for (int i = 0; i < kSkinValueCount; ++i) skin.values[i] = i;
  skin.values[kValueWindowWidth] = 123456789;
  skin.values[kValueWindowHeight] = -5;
  const std::string picture = SolidBmp(8, 4, 0x336699);
  skin.slots[ButtonSlot(kButtonCalendar, kPictureSelected)].Assign(picture.data(), picture.size());
  MemorySkinSink bytes;
  ASSERT_EQ(WriteSkinFile(bytes, skin), 1);
  ASSERT_EQ(HostFileSystem()->WriteNewFile(temp.path + "Odd", bytes.bytes), 1);

  LoadSkinFile(editor, (temp.path + "Odd").c_str());
  EXPECT_TRUE(prompts.Texts().empty());
  EXPECT_EQ(Text(0, 201), "123456789");  // whole, beyond what can be typed
  EXPECT_EQ(Text(0, 202), "-5");
  EXPECT_EQ(Text(6, 214), "33");  // the last page, made with the sheet
  EXPECT_EQ(SendMessageA(PageControl(editor.sheet, 0, 203), EM_GETLIMITTEXT, 0, 0), 7);
  HWND preview = PageControl(editor.sheet, 6, 263);
  EXPECT_NE(SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  SetWindowTextA(PageControl(editor.sheet, 0, 203), "12ab");
  MemoryFileSystem files;
  std::string message;
  SheetControls sheet(editor.sheet);
  ASSERT_EQ(SaveSheetAsSkin(sheet, editor.loaded, files, "Saved", &message), 1);
  SkinFile back;
  MemorySkinSource source(files.files["Saved"]);
  ASSERT_EQ(ReadSkinForOrganiser(source, &back), SkinReadResult::kRead);
  EXPECT_EQ(back.values[kValueWindowWidth], 123456789);
  EXPECT_EQ(back.values[kValueWindowHeight], -5);
  EXPECT_EQ(back.values[kValueCornerRadius], 12);
  EXPECT_EQ(back.slots[ButtonSlot(kButtonCalendar, kPictureSelected)].str(), picture);
}

TEST_F(SkinEditorSheet, APreviewFreesWhatItShowedWhenReplacedOrDoubleClicked) {
  ASSERT_NE(editor.sheet, nullptr);
  HWND preview = PageControl(editor.sheet, 1, 257);
  const std::string first = SolidBmp(5, 5, 0xFF0000);
  SlotImage image;
  image.Assign(first.data(), first.size());
  SetPreview(preview, std::move(image));
  auto shown = reinterpret_cast<HGDIOBJ>(SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_EQ(GetObjectType(shown), static_cast<DWORD>(OBJ_BITMAP));

  const std::string second = SolidBmp(6, 6, 0x00FF00);
  image.Assign(second.data(), second.size());
  SetPreview(preview, std::move(image));
  EXPECT_EQ(GetObjectType(shown), 0u) << "the replaced bitmap was not freed";
  ASSERT_NE(PreviewImage(preview), nullptr);
  EXPECT_EQ(PreviewImage(preview)->str(), second);

  // The control reports the double-click (SS_NOTIFY), and the page empties it.
  shown = reinterpret_cast<HGDIOBJ>(SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0));
  SendMessageA(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(PreviewImage(preview), nullptr);
  EXPECT_EQ(SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_EQ(GetObjectType(shown), 0u) << "the cleared bitmap was not freed";
}

// On the disk: a skin whose path is as long as a path can be, in a folder
// whose temporary name of choice is taken, is saved without touching it.
TEST_F(SkinEditorSheet, SavesAtThePathLimitWithoutTouchingTheFilesBesideIt) {
  ASSERT_NE(editor.sheet, nullptr);
  ASSERT_LT(temp.path.size(), 200u);
  const std::string deep = temp.path + std::string(255 - temp.path.size(), 'd') + "\\";
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  struct {
    std::string path;
    std::string neighbour;
  } cases[] = {
      {temp.path + std::string(259 - temp.path.size(), 's'), temp.path + "~0.tmp"},
      {deep + "ab", deep + "~0"},
      {temp.path + "Mine", temp.path + "Mine.tmp"},
  };
  SheetControls sheet(editor.sheet);
  SetWindowTextA(PageControl(editor.sheet, 0, 201), "264");
  for (const auto& c : cases) {
    ASSERT_LE(c.path.size(), 259u);
    ASSERT_EQ(HostFileSystem()->WriteNewFile(c.neighbour, "the user's"), 1);
    std::string message;
    EXPECT_EQ(SaveSheetAsSkin(sheet, editor.loaded, *HostFileSystem(), c.path, &message), 1) << c.path;
    EXPECT_EQ(message, "Skin file was successfully saved.") << c.path;
    std::string saved, kept;
    ASSERT_EQ(HostFileSystem()->ReadFile(c.path, &saved), 1) << c.path;
    SkinFile back;
    MemorySkinSource source(saved);
    ASSERT_EQ(ReadSkinForOrganiser(source, &back), SkinReadResult::kRead);
    EXPECT_EQ(back.values[kValueWindowWidth], 264);
    ASSERT_EQ(HostFileSystem()->ReadFile(c.neighbour, &kept), 1);
    EXPECT_EQ(kept, "the user's") << c.neighbour;
  }
}

// Every label shows its whole text on one line in the font it gets.
TEST_F(SkinEditorSheet, EveryLabelFitsItsText) {
  ASSERT_NE(editor.sheet, nullptr);
  ScopedDC screen = ScopedDC::ForWindow(nullptr);
  for (int page = 0; page < kPageCount; ++page)
    for (int id = 102; id <= 106; ++id) {
      HWND label = PageControl(editor.sheet, page, id);
      char kind[16] = "";
      if (!label || !GetClassNameA(label, kind, sizeof kind) || lstrcmpiA(kind, "Static") != 0) continue;
      char text[64] = "";
      const int length = GetWindowTextA(label, text, sizeof text);
      ScopedSelect font(screen.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
      SIZE extent = {};
      GetTextExtentPoint32A(screen.get(), text, length, &extent);
      RECT room;
      GetClientRect(label, &room);
      EXPECT_LE(extent.cx, room.right) << "\"" << text << "\" on page " << page;
    }
}

// Cancel asks before it throws edits away, and only then.
TEST_F(SkinEditorSheet, CancelAsksOnlyWhenSomethingChanged) {
  ASSERT_NE(editor.sheet, nullptr);
  SkinFile skin;
  skin.values[kValueWindowWidth] = 264;
  MemorySkinSink bytes;
  ASSERT_EQ(WriteSkinFile(bytes, skin), 1);
  ASSERT_EQ(HostFileSystem()->WriteNewFile(temp.path + "Skin", bytes.bytes), 1);
  const struct {
    const char* width;  // typed into the first field; none: left alone
    bool asked;
  } cases[] = {{nullptr, false}, {"300", true}, {"264", false}};
  for (const auto& c : cases) {
    LoadSkinFile(editor, (temp.path + "Skin").c_str());
    if (c.width) SetWindowTextA(PageControl(editor.sheet, 0, 201), c.width);
    prompts.Clear();
    prompts.Answer(kAnswerNo);
    HWND page = PropSheet_GetCurrentPageHwnd(editor.sheet);
    NMHDR query = {editor.sheet, 0, static_cast<UINT>(PSN_QUERYCANCEL)};
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&query));
    EXPECT_EQ(prompts.shown().size(), c.asked ? 1u : 0u) << (c.width ? c.width : "unchanged");
    EXPECT_EQ(editor.cancelled, !c.asked);
    editor.cancelled = false;
  }
}

}  // namespace
