#include <unistd.h>

#include "base/appstate.h"

int LocateProgramFolder() {
  char path[kPathSize] = {};
  ssize_t length = readlink("/proc/self/exe", path, kPathSize - 1);
  if (length <= 0 || length >= kPathSize - 1) return 0;
  path[length] = '\0';
  SetProgramFolder(path);
  return 1;
}
