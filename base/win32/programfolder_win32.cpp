#include <windows.h>

#include <psapi.h>

#include "base/appstate.h"

int LocateProgramFolder() {
  char path[kPathSize] = {};
  // At most 2047 characters: a longer path comes back cut and is refused.
  DWORD length = GetModuleFileNameExA(GetCurrentProcess(), nullptr, path, kPathSize - 1);
  if (length == 0 || length >= kPathSize - 1) return 0;
  SetProgramFolder(path);
  return 1;
}
