#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/filesystem.h"
#include "conformance/files_conformance.h"
#include "data/datafolder.h"
#include "data/listset.h"
#include "data_helpers.h"
#include "fakes/memoryfiles.h"
#include "fixture.h"

namespace {

// The host's files in a fresh folder under the system's temporary folder,
// removed afterwards.
struct PosixBackend {
  static constexpr bool kFoldersNeedParents = true;
  static constexpr char kSeparator = '/';
  std::string folder;
  PosixBackend() {
    char pattern[] = "/tmp/velkin-files-XXXXXX";
    if (mkdtemp(pattern)) folder = std::string(pattern) + "/";
  }
  ~PosixBackend() {
    if (!folder.empty()) {
      EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
    }
  }
  FileSystem& files() { return *HostFileSystem(); }
};

struct MemoryBackend {
  static constexpr bool kFoldersNeedParents = false;
  static constexpr char kSeparator = '\\';
  std::string folder = "C:\\Velkin files\\";
  MemoryFileSystem memory;
  MemoryBackend() { memory.CreateFolder(folder); }
  FileSystem& files() { return memory; }
};

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

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, FileSystemContract, PosixBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryBackend);
