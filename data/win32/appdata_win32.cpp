#include <windows.h>

#include <shlobj.h>

#include "data/datafolder.h"

std::string ApplicationDataFolder() {
  char path[MAX_PATH + 1] = {0};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::string();
  path[MAX_PATH] = '\0';
  return std::string(path);
}
