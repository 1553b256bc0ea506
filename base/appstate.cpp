#include "base/appstate.h"

#include <cstring>

namespace {
AppState gApp;
char gProgramFolder[kPathSize];
}  // namespace

AppState& App() {
  return gApp;
}

void ResetAppState() {
  gApp = AppState{};
}

const char* ProgramFolder() {
  return gProgramFolder;
}

void SetProgramFolder(const char* programPath) {
  gProgramFolder[0] = '\0';
  if (!programPath) return;
  size_t length = std::strlen(programPath);
  if (length > kPathSize - 1) length = kPathSize - 1;
  // Keep everything up to and including the last separator, so that a file
  // name can follow directly.
  size_t cut = 0;
  for (size_t i = 0; i < length; ++i)
    if (programPath[i] == '\\' || programPath[i] == '/') cut = i + 1;
  std::memcpy(gProgramFolder, programPath, cut);
  gProgramFolder[cut] = '\0';
}
