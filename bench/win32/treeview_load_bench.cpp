// Loading 100,000 Lists items into the real tree-view, against the floor: a
// bare TVM_INSERTITEMA loop putting the same items, with the same labels,
// states and item data, into the same kind of tree. Both run in this one
// process, so the ratio does not depend on how fast the machine is.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/clock.h"
#include "app/prompts.h"
#include "data/listfile.h"
#include "data/taskrecord.h"
#include "tree/memoryforest.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treeview_forest.h"

namespace {

constexpr int kItems = 100000;
constexpr int kRounds = 3;

const char* const kVerbs[] = {"Call", "Email", "Buy", "Fix", "Write", "Review", "Plan", "Book"};
const char* const kThings[] = {"the quarterly report", "milk and bread", "the dentist", "invoice #4411",
                               "slides for Monday", "car insurance", "the garden fence", "backup drive"};

// One item of the set as the bare loop inserts it.
struct Flat {
  int parent;  // index in the vector, -1 for the top level
  std::string name;
  unsigned state;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHost(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.lpszClassName = "VelkinBenchHost";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, "VelkinBenchHost", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 250, 250, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND host = MakeHost(instance);

  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
  App().prompts = &prompts;
  App().clock = &clock;

  // The set, made in memory and written as the program writes it.
  std::mt19937 rng(20261207);
  std::vector<Flat> flat;
  std::string file;
  {
    MemoryForest lists(true);
    App().lists = &lists;
    std::vector<Node> path;
    std::vector<int> pathIndex;
    for (int i = 0; i < kItems; ++i) {
      size_t depth = path.empty() ? 0 : rng() % (std::min<size_t>(path.size(), 5) + 1);
      path.resize(depth);
      pathIndex.resize(depth);
      std::string name = std::string(kVerbs[rng() % 8]) + " " + kThings[rng() % 8];
      Node n = InsertTask(lists, path.empty() ? kRootNode : path.back(), kLastNode, name.c_str());
      unsigned state = StateImage(kUnchecked);
      if (depth == 0) {
        ToggleBold(lists, n);
        state |= TVIS_BOLD;
      }
      flat.push_back(Flat{pathIndex.empty() ? -1 : pathIndex.back(), name, state});
      if (depth < 6) {
        path.push_back(n);
        pathIndex.push_back(i);
      }
    }
    file = FormatListFile(lists);
    std::vector<TaskRecord*> records;
    ForEachNode(lists, [&](Node n) { records.push_back(RecordOf(lists, n)); });
    lists.Delete(kRootNode);
    for (TaskRecord* r : records) FreeTaskRecord(r);
    ClearRegister(App().tasks);
  }

  double loadBest = 1e9;
  double bareBest = 1e9;
  double memoryBest = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    // The reader's own share: the same load into the in-memory forest.
    {
      MemoryForest forest(true);
      App().lists = &forest;
      LARGE_INTEGER start = Now();
      ParseListFile(forest, file.data(), file.size());
      LARGE_INTEGER end = Now();
      memoryBest = std::min(memoryBest, Seconds(start, end));
      std::vector<TaskRecord*> records;
      ForEachNode(forest, [&](Node n) { records.push_back(RecordOf(forest, n)); });
      forest.Delete(kRootNode);
      for (TaskRecord* r : records) FreeTaskRecord(r);
      ClearRegister(App().tasks);
      App().lists = nullptr;
    }
    // The program's load: the list-file reader into the real control.
    {
      HWND tree = CreateTaskTree(instance, host, true);
      AttachTreeImages(tree);
      TreeViewForest forest(tree);
      App().lists = &forest;
      LARGE_INTEGER start = Now();
      int ok = ParseListFile(forest, file.data(), file.size());
      LARGE_INTEGER end = Now();
      if (!ok || forest.Count() != static_cast<unsigned>(kItems)) {
        std::printf("load failed: %u items\n", forest.Count());
        return 1;
      }
      loadBest = std::min(loadBest, Seconds(start, end));
      std::vector<TaskRecord*> records;
      ForEachNode(forest, [&](Node n) { records.push_back(RecordOf(forest, n)); });
      forest.Delete(kRootNode);
      for (TaskRecord* r : records) FreeTaskRecord(r);
      ClearRegister(App().tasks);
      App().lists = nullptr;
      DestroyWindow(tree);
    }
    // The floor: the same items, one TVM_INSERTITEMA each.
    {
      HWND tree = CreateTaskTree(instance, host, true);
      AttachTreeImages(tree);
      std::vector<HTREEITEM> made(flat.size());
      std::vector<TaskRecord> records(flat.size());
      LARGE_INTEGER start = Now();
      SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
      for (size_t i = 0; i < flat.size(); ++i) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = flat[i].parent < 0 ? TVI_ROOT : made[static_cast<size_t>(flat[i].parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(flat[i].name.c_str());
        insert.item.state = flat[i].state;
        insert.item.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD;
        insert.item.lParam = reinterpret_cast<LPARAM>(&records[i]);
        made[i] = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
      }
      SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
      LARGE_INTEGER end = Now();
      bareBest = std::min(bareBest, Seconds(start, end));
      SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      DestroyWindow(tree);
    }
  }

  std::printf("Loading %d Lists items into the real tree-view (%zu bytes of list.xml), best of %d:\n", kItems,
              file.size(), kRounds);
  std::printf("  ParseListFile into the control   %7.3f s\n", loadBest);
  std::printf("  (the same into the memory forest %7.3f s)\n", memoryBest);
  std::printf("  bare TVM_INSERTITEMA loop        %7.3f s\n", bareBest);
  std::printf("  ratio                            %7.2f x  (goal: within 1.2 x)\n", loadBest / bareBest);
  return 0;
}
