// Start-up of velkin.exe to a visible window with a set of 10,000 tasks,
// against the floor of the same measurement for a bare program that only
// makes and shows a window. Run it in a Wine prefix (or a Windows account)
// of its own: it writes the set into the data folder's "current" folder,
// and refuses to when that folder holds lists it did not write itself.
//
//   startup_bench velkin.exe [tasks]
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "bench/win32/timing.h"
#include "data/listwriter.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tree/tasktree.h"

namespace {

constexpr int kRounds = 9;
const char kMarker[] = "written-by-startup-bench";
const char kBareClass[] = "VelkinBareWindow";

bool WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return CloseHandle(file) && ok && written == bytes.size();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes `tasks` Lists items (10% activated) as the set in "current".
bool WriteSet(const std::string& current, int tasks) {
  if (Exists(current + "list.xml") && !Exists(current + kMarker)) {
    std::printf("%s holds lists this benchmark did not write; run it in a prefix of its own.\n",
                current.c_str());
    return false;
  }
  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
  MemoryForest lists(true), active(false), done(false);
  App().prompts = &prompts;
  App().clock = &clock;
  App().lists = &lists;
  App().active = &active;
  App().done = &done;
  GenerateTaskSet(lists, active, done, tasks, 10);
  bool ok = WriteWhole(current + kMarker, "") && WriteWhole(current + "list.xml", FormatListFile(lists)) &&
            WriteWhole(current + "active.xml", FormatListFile(active)) &&
            WriteWhole(current + "done.xml", FormatListFile(done));
  for (TaskForest* f :
       {static_cast<TaskForest*>(&lists), static_cast<TaskForest*>(&active), static_cast<TaskForest*>(&done)})
    ClearTaskTree(*f);
  ClearRegister(App().tasks);
  ResetAppState();
  return ok;
}

// Starts the program shown, as a shell does, and answers the seconds until
// a visible top-level window of the class appears; then ends the program.
double TimeToWindow(const std::string& commandLine, const char* windowClass) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  LARGE_INTEGER start = Now();
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  double seconds = -1;
  for (int i = 0; i < 30000; ++i) {
    HWND window = FindWindowA(windowClass, nullptr);
    if (window && IsWindowVisible(window)) {
      seconds = Seconds(start, Now());
      // WM_DESTROY ends the organiser without saving (as "Manage Backups"
      // does), and the bare window too.
      PostMessageA(window, WM_DESTROY, 0, 0);
      break;
    }
    Sleep(1);
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return seconds;
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The floor: a program that makes its window and shows it, nothing else.
int RunBareWindow() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BareProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kBareClass;
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kBareClass, kBareClass, WS_OVERLAPPEDWINDOW, 100, 100, 250,
                                250, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--bare-window") return RunBareWindow();
  if (argc < 2) {
    std::printf("usage: startup_bench velkin.exe [tasks]\n");
    return 2;
  }
  const int tasks = argc >= 3 ? std::atoi(argv[2]) : 10000;
  char appData[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return 1;
  std::string folder = std::string(appData) + "\\Velkin 1.0\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string current = folder + "current\\";
  CreateDirectoryA(current.c_str(), nullptr);
  if (!WriteSet(current, tasks)) return 1;

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<double> organiser, bare;
  for (int round = 0; round < kRounds; ++round) {
    double o = TimeToWindow("\"" + std::string(argv[1]) + "\"", "Velkin 1.0");
    double b = TimeToWindow("\"" + std::string(self) + "\" --bare-window", kBareClass);
    if (o < 0 || b < 0) {
      std::printf("a program did not show its window\n");
      return 1;
    }
    organiser.push_back(o);
    bare.push_back(b);
  }
  const Spread ratio = RatioSpread(organiser, bare);
  const Spread own = SpreadOf(organiser);
  std::printf("Start-up to a visible window, median of %d interleaved rounds (quartiles):\n", kRounds);
  std::printf("  velkin.exe with %d tasks          %7.3f s  (%.3f-%.3f; goal: under 0.5 s)\n", tasks,
              own.median, own.low, own.high);
  std::printf("  a bare program showing a window   %7.3f s\n", SpreadOf(bare).median);
  std::printf("  ratio                             %7.2f x  (%.2f-%.2f)\n", ratio.median, ratio.low,
              ratio.high);
  return 0;
}
