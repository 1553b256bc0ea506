#include "app/win32/instance.h"

#include <windows.h>

#include "base/prompts.h"

namespace {

HANDLE g_instanceMutex = nullptr;

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
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kAppTitle);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex) CloseHandle(mutex);
    ShowRunningInstance();
    return false;
  }
  g_instanceMutex = mutex;
  return true;
}

void ReleaseInstanceMutex() {
  if (!g_instanceMutex) return;
  ReleaseMutex(g_instanceMutex);
  CloseHandle(g_instanceMutex);
  g_instanceMutex = nullptr;
}
