// Painting the skinned window in the Default skin, against the floor of one
// plain BitBlt of a picture of the same size, painted onto a window of that
// size the same way (invalidated, WM_PAINT, BeginPaint, BitBlt, EndPaint).
// Timed in turns in this one process, so that the ratios do not depend on
// how fast or busy the machine is:
//
//   the skin's own painting: the frame (background bitmap and the five
//   buttons) painted on the window, and the transparent compose rule on a
//   full window: a control the window's size, rendered off-screen, its key
//   colour replaced by the tiled tree background, copied out;
//   the full repaint of the skinned window with the Lists tree full of
//   tasks, and, inside it, the tree control's own drawing of its items,
//   which either look pays alike;
//   a change of look as Select Skin makes it: another skin (Slate, larger)
//   loaded, applied, shown and painted, then the Default skin again, each
//   against that full repaint.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/calendar_win32.h"
#include "app/win32/mainwindow.h"
#include "app/win32/tabs.h"
#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/win32/scoped.h"
#include "base/win32/treeview_forest.h"
#include "bench/interleaved.h"
#include "bench/win32/timing.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinlook.h"
#include "skin/win32/transparent.h"
#include "tree/tasktree.h"
#include "tree/win32/tasktree_win32.h"
#include "tree/win32/treewindow.h"
#include "fakes/manualclock.h"
#include "fakes/scriptedprompts.h"

namespace {

constexpr int kRounds = 300;
constexpr int kChangeRounds = 15;

// The floor's picture, which its window's WM_PAINT copies in one BitBlt.
HDC g_floorPicture = nullptr;
Size g_size = {0, 0};

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      BitBlt(dc, 0, 0, g_size.width, g_size.height, g_floorPicture, 0, 0, SRCCOPY);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// A control that draws nothing of its own: everything it shows is the key
// colour, all of it replaced by the tiled background.
LRESULT CALLBACK BlankProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PRINTCLIENT || message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(HINSTANCE instance, const char* name, WNDPROC procedure, DWORD style, int x, Size size) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
  return CreateWindowExA(WS_EX_TOOLWINDOW, name, name, style, x, 100, size.width, size.height, nullptr,
                         nullptr, instance, nullptr);
}

TaskForest* MakeTree(HINSTANCE instance, HWND main, bool checkBoxes, Handle* window) {
  HWND tree = CreateTaskTree(instance, main, checkBoxes, TreeWindowProc);
  AttachTreeImages(tree);
  *window = tree;
  return new TreeViewForest(tree);
}

// Lets every pending message run, paints included.
void Settle() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  GdiFlush();
}

// Times one run of `work`, in seconds.
template <typename Work>
double Time(Work work) {
  LARGE_INTEGER start = Now();
  work();
  GdiFlush();
  return Seconds(start, Now());
}

void Print(const char* what, const std::vector<double>& times) {
  const Spread s = SpreadOf(times);
  std::printf("%-62s median %6.3f ms (quartiles %.3f-%.3f)\n", what, s.median * 1e3, s.low * 1e3,
              s.high * 1e3);
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
  AppState& app = App();
  app.prompts = &prompts;
  app.clock = &clock;
  app.instance = instance;
  LocateProgramFolder();

  // The organiser's window, as start-up makes it.
  HWND main =
      MakeWindow(instance, "VelkinBenchMain", MainWindowProc, WS_OVERLAPPEDWINDOW, 100, Size{250, 250});
  app.mainWindow = main;
  app.tabControl = CreateTabControl(instance, main);
  app.lists = MakeTree(instance, main, true, &app.listsTree);
  app.active = MakeTree(instance, main, false, &app.activeTree);
  app.done = MakeTree(instance, main, false, &app.doneTree);
  CreateCalendar(instance, main);
  app.currentView = app.listsTree;
  app.defaultBackground = LoadImageA(instance, "IDI_BACKGROUND", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  app.treeBackground = app.defaultBackground;
  // More tasks than the tree shows, in folders, some checked.
  for (int folder = 0; folder < 6; ++folder) {
    Node top = InsertTask(*app.lists, kRootNode, kLastNode, ("Folder " + std::to_string(folder + 1)).c_str());
    ToggleBold(*app.lists, top);
    for (int task = 0; task < 8; ++task) {
      Node node = InsertTask(*app.lists, top, kLastNode,
                             ("A task to do, number " + std::to_string(task + 1)).c_str());
      if (task % 3 == 0) ToggleChecked(*app.lists, node);
    }
    app.lists->Expand(top, ExpandAction::kExpand);
  }
  const std::string skin = std::string(ProgramFolder()) + "skins\\Default";
  if (!LoadSkin(main, skin.c_str(), true)) {
    std::fprintf(stderr, "skinpaint_bench: cannot load %s\n", skin.c_str());
    return 1;
  }
  SelectTab(kTabLists);
  Settle();

  g_size = SkinWindowSize(CurrentSkin().skin);
  ScopedDC screen = ScopedDC::ForWindow(main);
  ScopedDC picture = ScopedDC::Compatible(screen.get());
  ScopedGdiObject<HBITMAP> pixels(CreateCompatibleBitmap(screen.get(), g_size.width, g_size.height));
  ScopedSelect selected(picture.get(), pixels.get());
  BitBlt(picture.get(), 0, 0, g_size.width, g_size.height, screen.get(), 0, 0, SRCCOPY);
  g_floorPicture = picture.get();
  HWND floor = MakeWindow(instance, "VelkinBenchFloor", FloorProc, WS_POPUP | WS_VISIBLE, 500, g_size);
  HWND blank = MakeWindow(instance, "VelkinBenchBlank", BlankProc, WS_POPUP, 900, g_size);
  ScopedDC composed = ScopedDC::Compatible(screen.get());
  ScopedGdiObject<HBITMAP> composedPixels(CreateCompatibleBitmap(screen.get(), g_size.width, g_size.height));
  ScopedSelect composedSelected(composed.get(), composedPixels.get());
  HWND tree = static_cast<HWND>(app.listsTree);
  ScopedDC treeDrawn = ScopedDC::Compatible(screen.get());
  ScopedGdiObject<HBITMAP> treePixels(CreateCompatibleBitmap(screen.get(), g_size.width, g_size.height));
  ScopedSelect treeSelected(treeDrawn.get(), treePixels.get());
  Settle();

  // Two runs, each in turns with its own floor: the compose over the full
  // window and the tree's paints keep pictures of different sizes, which
  // would otherwise be made anew at every turn.
  auto floorPaint = [&] { RedrawWindow(floor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
  auto skinPaint = [&] {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    // Only the view in front paints; for this one paint, the blank is.
    app.currentView = blank;
    PaintControlTransparently(blank, static_cast<HBITMAP>(app.treeBackground), BlankProc, composed.get());
    app.currentView = app.listsTree;
  };
  auto fullPaint = [&] {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  auto treeDrawing = [&] {
    CallWindowProcA(PreviousTreeProc(), tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(treeDrawn.get()),
                    PRF_CLIENT);
  };
  std::vector<double> floorTimes, skinTimes, floorTimes2, fullTimes, treeTimes;
  for (int round = 0; round < kRounds; ++round) {
    floorTimes.push_back(Time(floorPaint));
    Settle();
    skinTimes.push_back(Time(skinPaint));
    Settle();
  }
  for (int round = 0; round < kRounds; ++round) {
    floorTimes2.push_back(Time(floorPaint));
    Settle();
    fullTimes.push_back(Time(fullPaint));
    Settle();
    treeTimes.push_back(Time(treeDrawing));
    Settle();
  }
  // A change of look, timed until the window is shown and painted.
  const std::string other = std::string(ProgramFolder()) + "skins\\Slate";
  int loaded = 1;
  auto change = [&](const std::string& path) {
    loaded &= LoadSkin(main, path.c_str(), true);
    Settle();
    UpdateWindow(main);
  };
  // In turns whose order rotates; a change there and its change back stay
  // together, so that every round starts in the Default skin.
  std::vector<double> toOtherTimes, backTimes;
  const auto changes = RunInterleaved(kChangeRounds, {[&] {
                                                        const double t = Time(fullPaint);
                                                        Settle();
                                                        return t;
                                                      },
                                                      [&] {
                                                        toOtherTimes.push_back(Time([&] { change(other); }));
                                                        backTimes.push_back(Time([&] { change(skin); }));
                                                        return toOtherTimes.back() + backTimes.back();
                                                      }});
  const std::vector<double>& repaintTimes = changes[0];
  if (!loaded) {
    std::fprintf(stderr, "skinpaint_bench: cannot change to %s and back\n", other.c_str());
    return 1;
  }
  if (!prompts.shown().empty()) {
    std::fprintf(stderr, "skinpaint_bench: the painting said \"%s\"\n", prompts.shown()[0].text.c_str());
    return 1;
  }

  std::printf("Skinned painting, Default skin, %d x %d, %d rounds in turns:\n", g_size.width, g_size.height,
              kRounds);
  Print("one BitBlt of the window's size, painted on a window (floor)", floorTimes);
  Print("the skin's own: frame, buttons, compose over a full window", skinTimes);
  const Spread own = RatioSpread(skinTimes, floorTimes);
  std::printf("the skin's own painting: %.2f x the BitBlt, quartiles %.2f-%.2f (goal under 3 x): %s\n",
              own.median, own.low, own.high, own.median < 3.0 ? "goal met" : "GOAL NOT MET");
  Print("one BitBlt of the window's size, painted on a window (floor)", floorTimes2);
  Print("full skinned repaint with the Lists tree (48 tasks)", fullTimes);
  Print("  of it, the tree control drawing its items (either look)", treeTimes);
  const Spread full = RatioSpread(fullTimes, floorTimes2);
  std::printf("the full repaint: %.2f x the BitBlt, quartiles %.2f-%.2f\n", full.median, full.low, full.high);

  std::printf("Changes of look, %d rounds in turns with the full repaint:\n", kChangeRounds);
  Print("full skinned repaint with the Lists tree (reference)", repaintTimes);
  Print("Default to Slate: read, built, applied, shown, painted", toOtherTimes);
  Print("Slate back to Default", backTimes);
  const Spread there = RatioSpread(toOtherTimes, repaintTimes);
  const Spread back = RatioSpread(backTimes, repaintTimes);
  std::printf("a change of look: %.1f x the full repaint, quartiles %.1f-%.1f; back: %.1f x, %.1f-%.1f\n",
              there.median, there.low, there.high, back.median, back.low, back.high);
  const double slowest = std::max(SpreadOf(toOtherTimes).median, SpreadOf(backTimes).median);
  std::printf("the slower change: %.0f ms (goal under 250 ms): %s\n", slowest * 1e3,
              slowest < 0.25 ? "goal met" : "GOAL NOT MET");
  return 0;
}
