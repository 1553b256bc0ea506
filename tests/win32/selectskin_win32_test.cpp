// The Select Skin dialog on a real folder of skins: its list, Select, Add,
// Enter, the folder beside the program and a folder that is not there.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "skin/win32/selectskin.h"
#include "tests/win32/skin_fixture.h"
#include "tests/win32/temp_folder.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SelectSkin : SkinnedWindow {
  TempFolder folder;
  std::string skins;  // folder.path + "skins", without the trailing backslash
  HWND dialog = nullptr;

  void SetUp() override {
    SkinnedWindow::SetUp();
    skins = folder.path + "skins";
    CreateDirectoryA(skins.c_str(), nullptr);
    for (const char* name : {"Default", "Plain"})
      ASSERT_TRUE(CopyFileA(BundledSkin(name).c_str(), (skins + "\\" + name).c_str(), TRUE));
    // Neither a hidden file nor a folder is offered.
    WriteText(skins + "\\secret", "hidden");
    SetFileAttributesA((skins + "\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((skins + "\\old").c_str(), nullptr);
    dialog = CreateSelectSkinDialogFor(main, GetModuleHandleA(nullptr), skins.c_str());
    ASSERT_NE(dialog, nullptr);
  }

  void TearDown() override {
    DestroyWindow(dialog);
    SetFileAttributesA((skins + "\\secret").c_str(), FILE_ATTRIBUTE_NORMAL);
    SkinnedWindow::TearDown();
  }

  HWND List() { return GetDlgItem(dialog, kSkinListId); }
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    const int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char name[MAX_PATH] = "";
      SendMessageA(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
      names.push_back(name);
    }
    return names;
  }
  void Choose(const char* name) {
    SendMessageA(List(), LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
  }
  void Press(int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
};

TEST_F(SelectSkin, ListsTheFolderSortedAndSelectingPlainSwitchesTheLookAndKeepsThePath) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), false), 1);
  EXPECT_FALSE(IsWindowVisible(dialog));  // made hidden
  ASSERT_EQ(ShowSelectSkinDialog(dialog), 1);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Default", "Plain"}));
  EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), kSkinSelectId);
  // The list ends above the buttons.
  RECT list, button;
  GetWindowRect(List(), &list);
  GetWindowRect(GetDlgItem(dialog, kSkinSelectId), &button);
  EXPECT_LE(list.bottom, button.top);

  Choose("Plain");
  Press(kSkinSelectId);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsSkinned());
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(std::string(App().skinPath), skins + "\\Plain");
  // The path is what the settings store keeps for the next start.
  SendMessageA(main, WM_CLOSE, 0, 0);
  char stored[2048] = "";
  ASSERT_GT(store.ReadTextSetting("skin", stored, sizeof stored), 0u);
  EXPECT_EQ(std::string(stored), skins + "\\Plain");

  // The list is filled anew each time: a file put there meanwhile shows.
  WriteText(skins + "\\Another", "x");
  ASSERT_EQ(ShowSelectSkinDialog(dialog), 1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Another", "Default", "Plain"}));
  EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), 2) << "the skin in use is not selected";
  Choose("Default");
  Press(kSkinSelectId);
  EXPECT_TRUE(IsSkinned());
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(SelectSkin, EnterSelectsAndNothingSelectedChangesNothing) {
  ASSERT_EQ(ShowSelectSkinDialog(dialog), 1);
  // Nothing chosen: the path names the folder, which is no skin.
  Press(kSkinSelectId);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsSkinned());
  EXPECT_STREQ(App().skinPath, "");

  ASSERT_EQ(ShowSelectSkinDialog(dialog), 1);
  Choose("Default");
  // Escape does nothing; Enter, as the message loop hands it over, selects.
  Press(IDCANCEL);
  EXPECT_TRUE(IsWindowVisible(dialog));
  MSG enter = {List(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &enter));
  EXPECT_TRUE(IsSkinned());
  EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(SelectSkin, AddCopiesAFileInNeverOverAnotherAndANonSkinIsRefusedWhenSelected) {
  ASSERT_EQ(LoadSkin(main, BundledSkin("Default").c_str(), false), 1);
  const std::string source = folder.path + "Notes";
  WriteText(source, "not a skin");
  ASSERT_EQ(AddSkinFile(dialog, source.c_str()), 1);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Default", "Notes", "Plain"}));
  EXPECT_EQ(ReadText(skins + "\\Notes"), "not a skin");

  // A second file of that name is refused; the first stays as it was.
  WriteText(source, "something else");
  EXPECT_EQ(AddSkinFile(dialog, source.c_str()), 0);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Filename already exists or access is denied"});
  EXPECT_EQ(ReadText(skins + "\\Notes"), "not a skin");

  prompts.Clear();
  Choose("Notes");
  Press(kSkinSelectId);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Error: Invalid skin file"});
  EXPECT_TRUE(IsSkinned());
  EXPECT_EQ(std::string(App().skinPath), BundledSkin("Default"));
  EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(SelectSkin, TakesTheKeysWhileActiveCloseHidesItAndAMissingFolderIsSaid) {
  SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(App().activeDialog, dialog);
  SendMessageA(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(App().activeDialog, nullptr);
  ShowSelectSkinDialog(dialog);
  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindow(dialog));

  HWND lost = CreateSelectSkinDialogFor(main, GetModuleHandleA(nullptr), (folder.path + "none").c_str());
  EXPECT_EQ(ShowSelectSkinDialog(lost), 0);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Could not get directory listing for skins"});
  EXPECT_FALSE(IsWindowVisible(lost));
  DestroyWindow(lost);
}

TEST_F(SelectSkin, TheProgramsOwnDialogLooksBesideTheProgram) {
  HWND own = CreateSelectSkinDialog(main, GetModuleHandleA(nullptr));
  EXPECT_EQ(std::string(SkinsFolderOfDialog(own)), BundledSkinsFolder());
  ASSERT_EQ(ShowSelectSkinDialog(own), 1);
  for (const char* name : {"Default", "Plain", "Slate"})
    EXPECT_NE(SendDlgItemMessageA(own, kSkinListId, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(name)),
              LB_ERR)
        << name;
  DestroyWindow(own);
}

}  // namespace
