// The application state: the one record through which every part of the
// organiser reaches the main window, the views, the dialogs, the options
// and the platform services. Zeroed at start-up, never freed.
#pragma once

#include <cstdint>

#include "base/platform.h"
#include "base/taskrecord.h"

class Clipboard;
class Clock;
class CodePage;
class Prompts;
class TaskForest;
class FileSystem;

// Texts of fixed buffers.
constexpr int kPathSize = 2048;
constexpr int kRegistryTextSize = 1024;
// A task name's longest form: every reading takes at most this many
// characters (of up to 4 bytes each in UTF-8).
constexpr int kMaxNameLength = 259;
constexpr int kNameSize = 4 * kMaxNameLength + 1;  // its bytes and the zero

enum ListFile : int { kListsFile = 0, kActiveFile = 1, kDoneFile = 2, kListFileCount = 3 };

struct AppState {
  // Window-side handles, in the order every part refers to them.
  Handle instance;
  Handle mainWindow;
  Handle tabControl;
  Handle currentView;
  Handle listsTree;
  Handle activeTree;
  Handle doneTree;
  Handle calendar;
  Handle labelEdit;
  Handle propertiesDialog;
  Handle selectSkinDialog;
  Handle settingsDialog;
  Handle aboutDialog;
  Handle activeDialog;
  Handle treeBackground;
  Handle defaultBackground;
  Handle defaultCheckImages;
  char skinPath[kPathSize];
  uint8_t vscroll;
  uint8_t hscroll;
  uint8_t autorun;

  // The three task trees as forests (the same trees as the handles above).
  TaskForest* lists;
  TaskForest* active;
  TaskForest* done;
  // The register of the Lists tree's records.
  TaskRegister tasks;

  // Platform services.
  Prompts* prompts;
  Clock* clock;
  FileSystem* files;
  Clipboard* clipboard;
  CodePage* codePage;  // none: the host's
  // The data folder, with a trailing separator, when the platform has no
  // Application Data folder to find it in (tests, the native build).
  char dataFolderOverride[kPathSize];

  // The set loaded at start-up: its name ("current"), the folder it was
  // looked for in (empty when there was no data folder), the files that
  // were there but not read completely (the start said so), and each file
  // as the program knows it there: read whole, or put there by its own
  // save. A save of the set keeps a copy of any other file it would
  // replace (one that appeared later, or was changed since).
  char loadedSet[kPathSize];
  char loadedFolder[kPathSize];
  uint8_t unreadListFile[kListFileCount];
  uint8_t knownListFile[kListFileCount];
  uint64_t knownListSize[kListFileCount];
  uint64_t knownListSum[kListFileCount];
  // Whether that load missed part of the lists: the trees, and so every
  // save of them elsewhere (a backup), hold only what was read.
  uint8_t listsIncomplete;
};

// The process-wide instance.
AppState& App();
// Zeroes the application state (start-up step 1; tests between cases).
void ResetAppState();

// The folder of the running program file, ending in its separator.
const char* ProgramFolder();
// Sets the program folder from the full path of the program file: the
// path cut just after its last separator.
void SetProgramFolder(const char* programPath);
// Sets the program folder from the running program file's own path
// (GetModuleFileNameExA on Windows). 1 on success.
int LocateProgramFolder();
