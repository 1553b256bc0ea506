// What every file system must do as a disk does: the in-memory one and the
// POSIX one run these cases natively, the Win32 one under Wine on a real
// folder. The saves of the lists rely on each of them.
//
// Instantiate with a backend type, made afresh for each case:
//   struct MyBackend {
//     static constexpr bool kFoldersNeedParents;  // false: no drives (memory)
//     static constexpr char kSeparator;           // '/' or '\\'
//     FileSystem& files();
//     std::string folder;  // an empty folder of its own, with its separator
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, FileSystemContract, MyBackend);
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/filesystem.h"

template <typename Backend>
class FileSystemContract : public ::testing::Test {
 protected:
  Backend backend;
  FileSystem& files() { return backend.files(); }
  std::string Path(const std::string& name) {
    std::string path = backend.folder + name;
    for (char& c : path)
      if (c == '/' || c == '\\') c = files().Separator();
    return path;
  }
  std::string Read(const std::string& name) {
    std::string contents = "<unread>";
    files().ReadFile(Path(name), &contents);
    return contents;
  }
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, WritesAndReadsBytesUnchanged) {
  FileSystem& files = this->files();
  // Line ends, NUL and Windows-1252 bytes pass untouched both ways: no text
  // mode anywhere.
  const std::string bytes("line\r\nnext\nNUL:\0:\x8B\x9B\xE9\r\n", 21);
  ASSERT_EQ(files.WriteNewFile(this->Path("bytes.xml"), bytes), 1);
  EXPECT_TRUE(files.FileExists(this->Path("bytes.xml")));
  EXPECT_EQ(this->Read("bytes.xml"), bytes);
  // Writing again replaces, not appends; an empty file is a file.
  ASSERT_EQ(files.WriteNewFile(this->Path("bytes.xml"), "shorter"), 1);
  EXPECT_EQ(this->Read("bytes.xml"), "shorter");
  ASSERT_EQ(files.WriteNewFile(this->Path("empty"), ""), 1);
  EXPECT_EQ(this->Read("empty"), "");
  // A big file crosses every write slice.
  std::string big(3 * 1024 * 1024 + 17, 'x');
  for (size_t i = 0; i < big.size(); i += 4093) big[i] = static_cast<char>(i);
  ASSERT_EQ(files.WriteNewFile(this->Path("big"), big), 1);
  EXPECT_TRUE(this->Read("big") == big);
}

TYPED_TEST_P(FileSystemContract, WhatIsNotThereCannotBeReadMovedOrRemoved) {
  FileSystem& files = this->files();
  std::string contents = "unchanged";
  EXPECT_EQ(files.ReadFile(this->Path("none"), &contents), 0);
  EXPECT_EQ(contents, "unchanged");
  EXPECT_FALSE(files.FileExists(this->Path("none")));
  EXPECT_EQ(files.ReplaceFile(this->Path("none"), this->Path("other")), 0);
  EXPECT_FALSE(files.FileExists(this->Path("other")));
  EXPECT_EQ(files.RemoveFile(this->Path("none")), 0);
  // A file is written only into a folder that is there, and a failed one
  // leaves nothing, not even the atomic save's temporary file.
  EXPECT_EQ(files.WriteNewFile(this->Path("nowhere/list.xml"), "data"), 0);
  EXPECT_FALSE(files.FileExists(this->Path("nowhere/list.xml")));
  EXPECT_EQ(SaveFileAtomically(files, this->Path("nowhere/list.xml"), "data"), 0);
  EXPECT_FALSE(files.FileExists(this->Path("nowhere/list.xml.tmp")));
  ASSERT_EQ(files.CreateFolder(this->Path("sub")), 1);
  EXPECT_EQ(files.ReadFile(this->Path("sub"), &contents), 0);  // a folder is no file
  EXPECT_EQ(contents, "unchanged");
}

TYPED_TEST_P(FileSystemContract, ReplaceSwapsInTheNewFileWhole) {
  FileSystem& files = this->files();
  ASSERT_EQ(files.WriteNewFile(this->Path("list.xml"), "old"), 1);
  ASSERT_EQ(files.WriteNewFile(this->Path("list.xml.new"), "new"), 1);
  ASSERT_EQ(files.ReplaceFile(this->Path("list.xml.new"), this->Path("list.xml")), 1);
  EXPECT_EQ(this->Read("list.xml"), "new");
  EXPECT_FALSE(files.FileExists(this->Path("list.xml.new")));
  // Nothing to move: the target stays as it was.
  EXPECT_EQ(files.ReplaceFile(this->Path("list.xml.new"), this->Path("list.xml")), 0);
  EXPECT_EQ(this->Read("list.xml"), "new");
  // A move to a new name.
  EXPECT_EQ(files.ReplaceFile(this->Path("list.xml"), this->Path("moved")), 1);
  EXPECT_EQ(this->Read("moved"), "new");
  EXPECT_FALSE(files.FileExists(this->Path("list.xml")));
  EXPECT_EQ(files.RemoveFile(this->Path("moved")), 1);
  EXPECT_FALSE(files.FileExists(this->Path("moved")));
}

TYPED_TEST_P(FileSystemContract, AFailedAtomicSaveKeepsTheOldFile) {
  FileSystem& files = this->files();
  ASSERT_EQ(SaveFileAtomically(files, this->Path("active.xml"), "first"), 1);
  ASSERT_EQ(SaveFileAtomically(files, this->Path("active.xml"), "second"), 1);
  EXPECT_EQ(this->Read("active.xml"), "second");
  EXPECT_FALSE(files.FileExists(this->Path("active.xml.tmp")));
  // The temporary name is taken by a folder: the write cannot start.
  ASSERT_EQ(files.CreateFolder(this->Path("active.xml.tmp")), 1);
  EXPECT_EQ(SaveFileAtomically(files, this->Path("active.xml"), "third"), 0);
  EXPECT_EQ(this->Read("active.xml"), "second");
  // A folder in the way of the file: the replace cannot happen.
  ASSERT_EQ(files.CreateFolder(this->Path("folder")), 1);
  EXPECT_EQ(SaveFileAtomically(files, this->Path("folder"), "new"), 0);
  EXPECT_FALSE(files.FileExists(this->Path("folder.tmp")));
}

// The saves put a folder's names on the disk with FlushFolder and count a
// failure as a failed save: a folder that is there must flush, one that is
// not must not pass for flushed.
TYPED_TEST_P(FileSystemContract, FoldersExistingOrNot) {
  FileSystem& files = this->files();
  EXPECT_EQ(files.Separator(), TypeParam::kSeparator);
  EXPECT_EQ(files.CreateFolder(this->Path("current")), 1);
  EXPECT_EQ(files.CreateFolder(this->Path("current")), 1);  // already there: no error
  EXPECT_EQ(files.CreateFolder(this->Path("current/")), 1);
  ASSERT_EQ(files.WriteNewFile(this->Path("current/list.xml"), "x"), 1);
  EXPECT_EQ(files.FlushFolder(this->Path("current")), 1);
  EXPECT_EQ(files.FlushFolder(this->Path("current/")), 1);
  EXPECT_EQ(files.FlushFolder(this->Path("none")), 0);
  EXPECT_EQ(files.FlushFolder(this->Path("none/")), 0);
  // A file of that name is no folder.
  ASSERT_EQ(files.WriteNewFile(this->Path("plain"), "x"), 1);
  EXPECT_EQ(files.CreateFolder(this->Path("plain")), 0);
  // Only the last level is made.
  if (TypeParam::kFoldersNeedParents) {
    EXPECT_EQ(files.CreateFolder(this->Path("a/b")), 0);
  }
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, WritesAndReadsBytesUnchanged,
                            WhatIsNotThereCannotBeReadMovedOrRemoved, ReplaceSwapsInTheNewFileWhole,
                            AFailedAtomicSaveKeepsTheOldFile, FoldersExistingOrNot);
