// The Win32 files and the Application Data folder, on Wine's file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "data/datafolder.h"
#include "fakes/scriptedprompts.h"
#include "tests/conformance/files_conformance.h"
#include "tests/win32/temp_folder.h"

namespace {

std::string Read(FileSystem& files, const std::string& path) {
  std::string contents = "<unread>";
  files.ReadFile(path, &contents);
  return contents;
}

// The Win32 files in a fresh folder under the temporary folder.
struct Win32Backend {
  static constexpr bool kFoldersNeedParents = true;
  static constexpr char kSeparator = '\\';
  TempFolder temp;
  std::string folder = temp.path;
  FileSystem& files() { return *HostFileSystem(); }
};

class Win32Files : public ::testing::Test {
 protected:
  FileSystem& files = *HostFileSystem();
  TempFolder temp;
};

// A file held open for a moment (a virus scanner looking at it) is
// replaced once it is let go; one held for good is not.
TEST_F(Win32Files, ReplaceWaitsForAFileHeldOpenForAMoment) {
  std::string path = temp.path + "list.xml";
  std::string next = temp.path + "list.xml.tmp";
  ASSERT_EQ(1, files.WriteNewFile(path, "old"));
  ASSERT_EQ(1, files.WriteNewFile(next, "new"));
  HANDLE held =
      CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(0, files.ReplaceFile(next, path));
  EXPECT_EQ("new", Read(files, next));
  HANDLE letGo = CreateThread(
      nullptr, 0,
      [](void* file) -> DWORD {
        Sleep(300);
        CloseHandle(static_cast<HANDLE>(file));
        return 0;
      },
      held, 0, nullptr);
  ASSERT_NE(nullptr, letGo);
  EXPECT_EQ(1, files.ReplaceFile(next, path));
  WaitForSingleObject(letGo, INFINITE);
  CloseHandle(letGo);
  EXPECT_EQ("new", Read(files, path));
}

TEST(Win32AppData, DataFolderIsMadeUnderApplicationData) {
  ResetAppState();
  ScriptedPrompts prompts;
  App().prompts = &prompts;
  App().files = HostFileSystem();
  const std::string expected = ApplicationDataFolder() + "\\Velkin 1.0\\";
  const bool existed = GetFileAttributesA(expected.c_str()) != INVALID_FILE_ATTRIBUTES;
  EXPECT_EQ(expected, DataFolder());
  std::string current = ListFolder("velkin-test-folder");
  EXPECT_EQ(expected + "velkin-test-folder\\", current);
  DWORD attributes = GetFileAttributesA(current.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(prompts.shown().empty());
  RemoveDirectoryA(current.c_str());
  if (!existed) RemoveDirectoryA(expected.c_str());
  ResetAppState();
}

TEST(Win32AppData, FolderExistsUnderWine) {
  std::string folder = ApplicationDataFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE('\\', folder.back());
  DWORD attributes = GetFileAttributesA(folder.c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Backend);
