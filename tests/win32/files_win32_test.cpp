// The Win32 files and the Application Data folder, on Wine's file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "data/datafolder.h"
#include "tests/win32/temp_folder.h"
#include "fakes/scriptedprompts.h"

namespace {

std::string Read(FileSystem& files, const std::string& path) {
  std::string contents = "<unread>";
  files.ReadFile(path, &contents);
  return contents;
}

class Win32Files : public ::testing::Test {
 protected:
  FileSystem& files = *HostFileSystem();
  TempFolder temp;
};

TEST_F(Win32Files, WritesAndReadsBytesUnchanged) {
  // Line ends, NUL and Windows-1252 bytes pass untouched both ways: no text
  // mode anywhere.
  std::string bytes("line\r\nnext\nNUL:\0:\x8B\x9B\xE9\r\n", 21);
  std::string path = temp.path + "bytes.xml";
  ASSERT_EQ(1, files.WriteNewFile(path, bytes));
  EXPECT_TRUE(files.FileExists(path));
  std::string back;
  ASSERT_EQ(1, files.ReadFile(path, &back));
  EXPECT_EQ(bytes, back);

  // A big file crosses the write slices.
  std::string big(3 * 1024 * 1024 + 7, 'x');
  big[big.size() - 1] = 'y';
  ASSERT_EQ(1, files.WriteNewFile(path, big));
  EXPECT_EQ(big, Read(files, path));

  // Writing again replaces, not appends; an empty file is a file.
  ASSERT_EQ(1, files.WriteNewFile(path, ""));
  EXPECT_EQ("", Read(files, path));
  EXPECT_EQ(0, files.ReadFile(temp.path + "missing.xml", &back));
}

TEST_F(Win32Files, WriteIntoMissingFolderFailsAndLeavesNothing) {
  std::string path = temp.path + "nowhere\\list.xml";
  EXPECT_EQ(0, files.WriteNewFile(path, "data"));
  EXPECT_FALSE(files.FileExists(path));
  EXPECT_EQ(0, SaveFileAtomically(files, path, "data"));
  EXPECT_FALSE(files.FileExists(path + ".tmp"));
}

TEST_F(Win32Files, ReplaceSwapsInTheNewFileWhole) {
  std::string path = temp.path + "list.xml";
  std::string next = temp.path + "list.xml.new";
  ASSERT_EQ(1, files.WriteNewFile(path, "old"));
  ASSERT_EQ(1, files.WriteNewFile(next, "new"));
  ASSERT_EQ(1, files.ReplaceFile(next, path));
  EXPECT_EQ("new", Read(files, path));
  EXPECT_FALSE(files.FileExists(next));
  // Nothing to move: the target stays as it was.
  EXPECT_EQ(0, files.ReplaceFile(next, path));
  EXPECT_EQ("new", Read(files, path));
}

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

TEST_F(Win32Files, FailedAtomicSaveKeepsTheOldFile) {
  std::string path = temp.path + "active.xml";
  ASSERT_EQ(1, SaveFileAtomically(files, path, "first"));
  ASSERT_EQ(1, SaveFileAtomically(files, path, "second"));
  EXPECT_EQ("second", Read(files, path));
  EXPECT_FALSE(files.FileExists(path + ".tmp"));

  // The temporary name is taken by a folder: the write fails and the
  // saved file is untouched.
  ASSERT_EQ(1, files.CreateFolder(path + ".tmp"));
  EXPECT_EQ(0, SaveFileAtomically(files, path, "third"));
  EXPECT_EQ("second", Read(files, path));
}

TEST_F(Win32Files, RemoveOnlyWhatIsThere) {
  std::string c = temp.path + "c.xml";
  ASSERT_EQ(1, files.WriteNewFile(c, "C"));
  EXPECT_EQ(1, files.RemoveFile(c));
  EXPECT_EQ(0, files.RemoveFile(c));
}

TEST_F(Win32Files, FoldersExistingOrNot) {
  std::string folder = temp.path + "current";
  EXPECT_EQ(1, files.CreateFolder(folder));
  EXPECT_EQ(1, files.CreateFolder(folder));  // already there: no error
  EXPECT_EQ(1, files.CreateFolder(folder + "\\"));
  EXPECT_TRUE(files.FileExists(folder));
  // A file of that name is not a folder.
  ASSERT_EQ(1, files.WriteNewFile(temp.path + "plain", "x"));
  EXPECT_EQ(0, files.CreateFolder(temp.path + "plain"));
  // Only the last level is made.
  EXPECT_EQ(0, files.CreateFolder(temp.path + "a\\b"));
  EXPECT_EQ('\\', files.Separator());
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
