// Loading 100,000 Lists items into the real tree-view, against the floor: a
// bare TVM_INSERTITEMA loop putting the same items, with the same labels,
// states and item data, into the same kind of tree. Both run in this one
// process, so the ratio does not depend on how fast the machine is.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "base/win32/treeview_forest.h"
#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "bench/win32/timing.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"

namespace {

constexpr int kItems = 100000;
constexpr int kRounds = 5;

// One item of the set as the bare loop inserts it.
struct Flat {
  int parent;  // index in the vector, -1 for the top level
  std::string name;
  unsigned state;
  bool expanded;
};

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

  // The set, made in memory and written as the program writes it; the
  // bare loop gets the same items in tree order.
  std::vector<Flat> flat;
  std::string file;
  {
    MemoryForest lists(true), active(false), done(false);
    App().lists = &lists;
    App().active = &active;
    App().done = &done;
    GenerateTaskSet(lists, active, done, kItems, 0);
    std::unordered_map<Node, int> index;
    ForEachNode(lists, [&](Node n) {
      auto parent = index.find(ParentOf(lists, n));
      unsigned state = StateImage(kUnchecked) | lists.GetState(n, kStateBold);
      flat.push_back(
          Flat{parent == index.end() ? -1 : parent->second, TaskName(lists, n), state, IsExpanded(lists, n)});
      index[n] = static_cast<int>(flat.size() - 1);
    });
    file = FormatListFile(lists);
    for (TaskForest* f : {static_cast<TaskForest*>(&lists), static_cast<TaskForest*>(&active),
                          static_cast<TaskForest*>(&done)})
      ClearTaskTree(*f);
    ClearRegister(App().tasks);
    App().active = App().done = nullptr;
  }

  std::vector<double> loads, bares, memories, walks;
  for (int round = 0; round < kRounds; ++round) {
    // The reader's own share: the same load into the in-memory forest.
    {
      MemoryForest forest(true);
      App().lists = &forest;
      LARGE_INTEGER start = Now();
      ParseListFile(forest, file.data(), file.size());
      LARGE_INTEGER end = Now();
      memories.push_back(Seconds(start, end));
      ClearTaskTree(forest);
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
      loads.push_back(Seconds(start, end));
      std::vector<TaskRecord*> records;
      LARGE_INTEGER walkStart = Now();
      ForEachNode(forest, [&](Node n) { records.push_back(RecordOf(forest, n)); });
      walks.push_back(Seconds(walkStart, Now()));
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
        made[i] = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
      }
      // The same tree as the reader's: expanded where the file says so.
      for (size_t i = 0; i < flat.size(); ++i)
        if (flat[i].expanded) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(made[i]));
      SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
      LARGE_INTEGER end = Now();
      bares.push_back(Seconds(start, end));
      SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      DestroyWindow(tree);
    }
  }

  const Spread ratio = RatioSpread(loads, bares);
  std::printf(
      "Loading %d Lists items into the real tree-view (%zu bytes of list.xml), median of %d rounds:\n",
      kItems, file.size(), kRounds);
  std::printf("  ParseListFile into the control   %7.3f s\n", SpreadOf(loads).median);
  std::printf("  (the same into the memory forest %7.3f s)\n", SpreadOf(memories).median);
  std::printf("  (a walk reading every record    %7.3f s)\n", SpreadOf(walks).median);
  std::printf("  bare TVM_INSERTITEMA loop        %7.3f s\n", SpreadOf(bares).median);
  std::printf("  ratio                            %7.2f x  quartiles %.2f-%.2f  (goal: within 1.2 x)\n",
              ratio.median, ratio.low, ratio.high);
  return 0;
}
