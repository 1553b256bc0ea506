#include "app/win32/instance.h"

#include <windows.h>

#include "app/win32/mainstate.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"

namespace {

// A second start shows the running instance. That instance may still be
// between its mutex and its window: look again for about two seconds
// before giving up.
void ShowRunningInstance() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (HWND running = FindWindowA(kAppTitle, nullptr)) {
      ShowWindow(running, SW_SHOW);
      SetForegroundWindow(running);
      return;
    }
    Sleep(200);
  }
}

}  // namespace

bool ClaimInstance() {
  ScopedHandle mutex(CreateMutexA(nullptr, TRUE, kAppTitle));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // Opened, not owned: only closed.
    mutex.reset();
    ShowRunningInstance();
    return false;
  }
  MainState().instanceMutex.reset(mutex.release());
  return true;
}

void ReleaseInstanceMutex() {
  MainState().instanceMutex.reset();
}
