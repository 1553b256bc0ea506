#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/appstate.h"

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithItsBackslash) {
  ASSERT_EQ(LocateProgramFolder(), 1);
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  // The test program itself lies in that folder.
  std::string self = folder + "velkin_win32_tests.exe";
  EXPECT_NE(GetFileAttributesA(self.c_str()), INVALID_FILE_ATTRIBUTES) << self;
}
