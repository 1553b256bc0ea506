#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "base/filesystem.h"
#include "data/datafolder.h"
#include "data/listset.h"
#include "fixture.h"

namespace {

using Texts = std::vector<std::string>;

// Sets or clears an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

using DataFolders = AppFixture;
using DataFolderErrors = AppFixture;

TEST_F(DataFolders, OverrideIsUsedAndCreated) {
  CopyField(App().dataFolderOverride, "D:\\Velkin");
  EXPECT_EQ(DataFolder(), "D:\\Velkin\\");
  EXPECT_TRUE(files.folders.count("D:\\Velkin"));
  EXPECT_EQ(ListFolder("current"), "D:\\Velkin\\current\\");
  EXPECT_TRUE(files.folders.count("D:\\Velkin\\current"));
  EXPECT_EQ(ListFolder(nullptr), "");
}

TEST_F(DataFolders, UnderTheApplicationDataFolder) {
  ScopedEnv xdg("XDG_DATA_HOME", "/home/u/.data");
  EXPECT_EQ(ApplicationDataFolder(), "/home/u/.data");
  EXPECT_EQ(DataFolder(), "/home/u/.data\\Velkin 1.0\\");
  EXPECT_TRUE(files.folders.count("/home/u/.data\\Velkin 1.0"));
  EXPECT_TRUE(prompts.shown().empty());

  ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
  ScopedEnv home("HOME", "/home/u");
  EXPECT_EQ(ApplicationDataFolder(), "/home/u/.local/share");
}

TEST_F(DataFolderErrors, NoApplicationDataFolder) {
  ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  ScopedEnv home("HOME", nullptr);
  EXPECT_EQ(ApplicationDataFolder(), "");
  EXPECT_EQ(DataFolder(), "");
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, "Error: Application Data folder not found!");
  EXPECT_EQ(prompts.shown()[0].title, "Velkin 1.0");
  EXPECT_EQ(prompts.shown()[0].style, unsigned(kBoxIconWarning | kBoxOk));

  prompts.Clear();
  EXPECT_EQ(ListFolder("current"), "");
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_EQ(BackupLists(), 0);
  EXPECT_EQ(prompts.Texts(),
            (Texts{"Error: Application Data folder not found!", "Error: Application Data folder not found!",
                   "Error: Application Data folder not found!", "Error: Application Data folder not found!",
                   "Backup failed!"}));
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(files.folders.empty());
}

}  // namespace
