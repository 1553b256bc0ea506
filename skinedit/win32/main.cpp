// skinedit.exe: the skin editor.
#include <windows.h>

#include "skinedit/win32/editor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return RunSkinEditor(instance, commandLine);
}
