// The application state, the program folder and the boxes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "base/appstate.h"
#include "base/prompts.h"
#include "fakes/scriptedprompts.h"

namespace {

TEST(AppState, ResetZeroesEverything) {
  static int marker;
  App().mainWindow = &marker;
  App().vscroll = 1;
  App().autorun = 1;
  App().skinPath[0] = 'x';
  App().tasks.count = 3;
  ResetAppState();
  EXPECT_EQ(App().mainWindow, nullptr);
  EXPECT_EQ(App().vscroll, 0);
  EXPECT_EQ(App().hscroll, 0);
  EXPECT_EQ(App().autorun, 0);
  EXPECT_STREQ(App().skinPath, "");
  EXPECT_EQ(App().tasks.count, 0u);
  EXPECT_EQ(App().prompts, nullptr);
  EXPECT_EQ(&App(), &App());
}

TEST(AppState, ProgramFolderEndsAtTheLastSeparator) {
  SetProgramFolder("C:\\Tools\\velkin.exe");
  EXPECT_STREQ(ProgramFolder(), "C:\\Tools\\");
  EXPECT_EQ(std::string(ProgramFolder()) + "skins", "C:\\Tools\\skins");
  SetProgramFolder("/opt/velkin/bin/velkin");
  EXPECT_STREQ(ProgramFolder(), "/opt/velkin/bin/");
  SetProgramFolder("velkin.exe");
  EXPECT_STREQ(ProgramFolder(), "");
  SetProgramFolder(nullptr);
  EXPECT_STREQ(ProgramFolder(), "");
  // A path beyond the buffer keeps its first 2047 characters only.
  std::string longPath = "C:\\" + std::string(3000, 'a') + "\\x.exe";
  SetProgramFolder(longPath.c_str());
  EXPECT_STREQ(ProgramFolder(), "C:\\");
}

TEST(Prompts, WarningsAndQuestionsGoThroughTheScript) {
  ResetAppState();
  ScriptedPrompts prompts;
  App().prompts = &prompts;
  EXPECT_EQ(ShowWarning(nullptr), kAnswerOk);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, "NULL");
  EXPECT_EQ(prompts.shown()[0].title, "Velkin 1.0");
  EXPECT_EQ(prompts.shown()[0].style, unsigned{kBoxIconWarning | kBoxOk});

  EXPECT_FALSE(AskYesNo("Delete?")) << "unanswered questions default to No";
  EXPECT_EQ(prompts.shown()[1].style, unsigned{kBoxIconQuestion | kBoxYesNo});
  prompts.Answer(kAnswerYes);
  prompts.Answer(kAnswerCancel);
  EXPECT_TRUE(AskYesNo("Delete?"));
  EXPECT_EQ(AskYesNoCancel("Save?"), kAnswerCancel);
  EXPECT_EQ(prompts.shown()[3].style, unsigned{kBoxIconQuestion | kBoxYesNoCancel});
  EXPECT_EQ(AskYesNoCancel("Save?"), kAnswerNo);
  EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"NULL", "Delete?", "Delete?", "Save?", "Save?"}));

  // A cleared script starts again from its first new answer.
  prompts.Clear();
  prompts.Answer(kAnswerYes);
  EXPECT_TRUE(AskYesNo("Again?"));
  EXPECT_EQ(prompts.shown().size(), 1u);
  ResetAppState();
}

TEST(Prompts, WithoutPromptsNothingIsShownAndQuestionsAnswerNo) {
  ResetAppState();
  EXPECT_EQ(ShowWarning("lost"), 0);
  EXPECT_FALSE(AskYesNo("sure?"));
  EXPECT_EQ(AskYesNoCancel("sure?"), kAnswerNo);
}

}  // namespace

TEST(ProgramFolderNative, IsTheFolderOfTheRunningTestProgram) {
  ASSERT_EQ(LocateProgramFolder(), 1);
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(access((folder + "velkin_tests").c_str(), X_OK), 0) << folder;
}
