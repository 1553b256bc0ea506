// A fresh folder under the temporary folder, removed with what it holds.
#pragma once

#include <windows.h>

#include <string>

struct TempFolder {
  std::string path;  // with its trailing separator

  TempFolder() {
    char base[MAX_PATH + 1] = {0};
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    path = std::string(base) + "velkin-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial) + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
  }
  ~TempFolder() { RemoveAll(path); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  static void RemoveAll(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveAll(folder + name + "\\");
        else
          DeleteFileA((folder + name).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }
};
