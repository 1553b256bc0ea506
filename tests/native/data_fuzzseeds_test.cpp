// Every kept input of the list-file fuzzer, and every sample list file,
// through the fuzzer's property: the regression cases of what the fuzzer
// ever found (an input it breaks is kept in tests/data/fuzz/listfile/).
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/filesystem.h"
#include "fixture.h"
#include "tests/conformance/listfile_property.h"

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> paths;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') paths.push_back(folder + entry->d_name);
    closedir(dir);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

using FuzzSeeds = AppFixture;

TEST_F(FuzzSeeds, EveryKeptInputHoldsTheListFileProperty) {
  std::vector<std::string> inputs = FilesIn(VELKIN_TEST_DATA "/fuzz/listfile/");
  ASSERT_GE(inputs.size(), 50u) << "the kept corpus is missing";
  for (const std::string& path : FilesIn(VELKIN_TEST_DATA "/lists/")) inputs.push_back(path);
  for (const std::string& path : inputs) {
    std::string bytes;
    ASSERT_EQ(HostFileSystem()->ReadFile(path, &bytes), 1) << path;
    EXPECT_EQ(ListFileProperty(bytes.data(), bytes.size(), prompts), "") << path;
  }
}

}  // namespace
