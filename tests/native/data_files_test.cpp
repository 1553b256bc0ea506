#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/filesystem.h"
#include "data/datafolder.h"
#include "data/listset.h"
#include "data_helpers.h"
#include "fixture.h"
#include "fakes/memoryfiles.h"

namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
struct HostFiles : ::testing::Test {
  std::string dir;
  FileSystem& host = *HostFileSystem();

  void SetUp() override {
    char pattern[] = "/tmp/velkin-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  std::string Path(const std::string& name) { return dir + "/" + name; }
  std::string Read(const std::string& name) {
    std::string contents;
    EXPECT_EQ(host.ReadFile(Path(name), &contents), 1) << name;
    return contents;
  }
};
using FileSystemErrors = HostFiles;

TEST_F(HostFiles, WriteReadReplaceRemove) {
  EXPECT_EQ(host.Separator(), '/');
  std::string binary("a\0b\r\n\xff", 6);
  ASSERT_EQ(host.WriteNewFile(Path("one"), binary), 1);
  EXPECT_EQ(Read("one"), binary);
  ASSERT_EQ(host.WriteNewFile(Path("one"), "shorter"), 1);
  EXPECT_EQ(Read("one"), "shorter");
  ASSERT_EQ(host.WriteNewFile(Path("empty"), ""), 1);
  EXPECT_EQ(Read("empty"), "");

  ASSERT_EQ(host.WriteNewFile(Path("two"), "second"), 1);
  EXPECT_EQ(host.ReplaceFile(Path("two"), Path("one")), 1);
  EXPECT_EQ(Read("one"), "second");
  EXPECT_FALSE(host.FileExists(Path("two")));

  EXPECT_EQ(host.RemoveFile(Path("one")), 1);
  EXPECT_FALSE(host.FileExists(Path("one")));
  EXPECT_EQ(host.RemoveFile(Path("one")), 0);
}

TEST_F(HostFiles, BigFileReadWhole) {
  std::string big(3 * 1024 * 1024 + 17, 'x');
  for (size_t i = 0; i < big.size(); i += 4093) big[i] = static_cast<char>(i);
  ASSERT_EQ(host.WriteNewFile(Path("big"), big), 1);
  EXPECT_EQ(Read("big"), big);
}

TEST_F(HostFiles, FoldersMayExistAlready) {
  EXPECT_EQ(host.CreateFolder(Path("sub")), 1);
  EXPECT_EQ(host.CreateFolder(Path("sub")), 1);
  EXPECT_EQ(host.CreateFolder(Path("sub/")), 1);
  ASSERT_EQ(host.WriteNewFile(Path("sub/file"), "x"), 1);
  EXPECT_TRUE(host.FileExists(Path("sub/file")));
  EXPECT_EQ(host.FlushFolder(Path("sub")), 1);
  EXPECT_EQ(host.FlushFolder(Path("sub/")), 1);
  EXPECT_EQ(host.FlushFolder(Path("none")), 0);
}

TEST_F(HostFiles, AtomicSaveLeavesNoTemporaryFile) {
  ASSERT_EQ(SaveFileAtomically(host, Path("list.xml"), "first"), 1);
  ASSERT_EQ(SaveFileAtomically(host, Path("list.xml"), "second"), 1);
  EXPECT_EQ(Read("list.xml"), "second");
  EXPECT_FALSE(host.FileExists(Path("list.xml.tmp")));
}

TEST_F(FileSystemErrors, MissingFilesAndFolders) {
  std::string contents = "unchanged";
  EXPECT_EQ(host.ReadFile(Path("none"), &contents), 0);
  EXPECT_EQ(contents, "unchanged");
  EXPECT_EQ(host.ReadFile(dir, &contents), 0);  // a folder is no file
  EXPECT_EQ(host.WriteNewFile(Path("none/file"), "x"), 0);
  EXPECT_FALSE(host.FileExists(Path("none/file")));
  EXPECT_EQ(host.CreateFolder(Path("none/deeper")), 0);
  EXPECT_EQ(host.ReplaceFile(Path("none"), Path("other")), 0);
  ASSERT_EQ(host.WriteNewFile(Path("file"), "x"), 1);
  EXPECT_EQ(host.CreateFolder(Path("file")), 0);  // taken by a file
}

TEST_F(FileSystemErrors, FailedAtomicSaveKeepsTheOldFile) {
  ASSERT_EQ(SaveFileAtomically(host, Path("list.xml"), "old"), 1);
  // The temporary name is taken by a folder: the write cannot start.
  ASSERT_EQ(host.CreateFolder(Path("list.xml.tmp")), 1);
  EXPECT_EQ(SaveFileAtomically(host, Path("list.xml"), "new"), 0);
  EXPECT_EQ(Read("list.xml"), "old");
  // The replace cannot happen: a folder is in the way of the file.
  ASSERT_EQ(rmdir(Path("list.xml.tmp").c_str()), 0);
  ASSERT_EQ(host.CreateFolder(Path("folder")), 1);
  ASSERT_EQ(host.WriteNewFile(Path("folder/inside"), "x"), 1);
  EXPECT_EQ(SaveFileAtomically(host, Path("folder"), "new"), 0);
  EXPECT_FALSE(host.FileExists(Path("folder.tmp")));
}

// The whole set on a real disk, under the XDG data home.
struct HostListSet : AppFixture {
  std::string dir;
  void SetUp() override {
    AppFixture::SetUp();
    char pattern[] = "/tmp/velkin-lists-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    App().files = HostFileSystem();
    CopyField(App().dataFolderOverride, (dir + "/").c_str());
  }
  void TearDown() override {
    std::string command = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    AppFixture::TearDown();
  }
};

TEST_F(HostListSet, SaveBackupAndLoad) {
  InsertTask(lists, kRootNode, kLastNode, "Buy milk");
  InsertTask(done, kRootNode, kLastNode, "Completed");
  ASSERT_EQ(SaveLists("current"), 1);
  ASSERT_EQ(BackupLists(), 1);
  struct stat info {};
  EXPECT_EQ(stat((dir + "/3-7-2008/done.xml").c_str(), &info), 0);
  FreeForestRecords(lists);
  FreeForestRecords(done);
  ASSERT_EQ(LoadLists("current"), 1);
  EXPECT_EQ(Shape(lists), "Buy milk");
  EXPECT_EQ(Shape(done), "Completed");
  EXPECT_NE(stat((dir + "/current/list.xml.tmp").c_str(), &info), 0);
}

TEST_F(HostListSet, DataFolderUnderXdgDataHome) {
  App().dataFolderOverride[0] = '\0';
  const char* old = getenv("XDG_DATA_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  EXPECT_EQ(DataFolder(), dir + "/Velkin 1.0/");
  EXPECT_EQ(ListFolder("current"), dir + "/Velkin 1.0/current/");
  struct stat info {};
  EXPECT_EQ(stat((dir + "/Velkin 1.0/current").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

TEST(MemoryFiles, WritesNeedACreatedFolder) {
  MemoryFileSystem files;
  EXPECT_EQ(files.WriteNewFile("C:\\a\\file", "x"), 0);
  EXPECT_FALSE(files.FileExists("C:\\a\\file"));
  ASSERT_EQ(files.CreateFolder("C:\\a\\"), 1);
  EXPECT_EQ(files.WriteNewFile("C:\\a\\file", "x"), 1);
  EXPECT_EQ(files.WriteNewFile("bare", "y"), 1);

  files.FailWritesTo("file", 3);
  EXPECT_EQ(files.WriteNewFile("C:\\a\\file", "abc"), 1);   // fits
  EXPECT_EQ(files.WriteNewFile("C:\\a\\file", "abcd"), 0);  // does not, and is gone
  EXPECT_FALSE(files.FileExists("C:\\a\\file"));

  files.Clear();
  EXPECT_TRUE(files.folders.empty());
  files.FailFolders(true);
  EXPECT_EQ(files.CreateFolder("C:\\b"), 0);
  EXPECT_TRUE(files.folders.empty());
}

TEST(MemoryFiles, Replace) {
  MemoryFileSystem files;
  files.files["a"] = "A";
  files.files["b"] = "B";
  EXPECT_EQ(files.ReplaceFile("a", "b"), 1);
  EXPECT_EQ(files.files["b"], "A");
  EXPECT_FALSE(files.FileExists("a"));
  EXPECT_EQ(files.ReplaceFile("b", "c"), 1);
  EXPECT_EQ(files.files.count("b"), 0u);
  files.FailReplaces(true);
  files.files["d"] = "D";
  EXPECT_EQ(files.ReplaceFile("d", "c"), 0);
  EXPECT_EQ(files.files["c"], "A");
}

}  // namespace
