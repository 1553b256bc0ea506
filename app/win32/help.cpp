#include "app/win32/help.h"

#include <windows.h>

#include <string>

#include "base/appstate.h"
#include "base/prompts.h"

namespace {

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace

void OpenHelp() {
  std::string path = std::string(ProgramFolder()) + "Velkin.chm";
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    // Saying so beats a Help item that silently does nothing.
    std::string text = "The help file could not be found:\n" + path;
    ShowWarning(text.c_str());
    return;
  }
  // The control is loaded on first use and stays for the rest of the run.
  static HMODULE control = LoadLibraryA("hhctrl.ocx");
  HtmlHelpFunction htmlHelp =
      control
          ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpA")))
          : nullptr;
  if (!htmlHelp) {
    ShowWarning("Help cannot be shown: the HTML Help control (hhctrl.ocx) is not installed.");
    return;
  }
  htmlHelp(GetDesktopWindow(), path.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}
