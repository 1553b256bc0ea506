// Drives the running organiser from outside, as a user would, for the
// black-box tests: finds its window and its message boxes, reads them,
// answers them, sends it commands and waits for what should follow.
//
//   driver <command> [arguments...]      exit 0 = done/true, 1 = not, 2 = usage
//
// Commands (timeouts in milliseconds):
//   wait-window T         the "Velkin 1.0" main window exists; prints its state
//   wait-visible T        ... and is visible
//   hidden                the window exists and is hidden
//   foreground            the window is the foreground window
//   wait-gone T           no main window any more
//   command ID            posts the menu command WM_COMMAND ID to the window
//   message MSG W L       posts a message to the window
//   wait-box TEXT T       a message box whose text holds TEXT; prints its text
//   boxes                 prints every message box of the organiser, one a line
//   answer BUTTON         presses ok, yes or no on the first message box
//   wait-dialog TITLE T   a visible dialog of that title; prints its controls' texts
//   dialog-ok TITLE       presses OK on the dialog of that title
//   dialog-hidden TITLE   the dialog of that title exists and is hidden
//   dialog-press TITLE ID presses the button ID of the dialog of that title
//   dialog-set TITLE ID TEXT
//                         sets the text of control ID of the dialog of that title
//   dialog-check TITLE ID 0|1
//                         unticks or ticks the check box ID there
//   dialog-enabled TITLE ID
//                         control ID of that dialog is enabled
//   add-root FILE         adds the DER certificate FILE to the trusted roots
//                         of the prefix, then finds it in the "ROOT" store as
//                         the organiser opens it
//   tray-menu KEY...      right-clicks the tray icon, waits for the menu, prints
//                         its items when they can be read, then types the keys
//                         (down, up, enter, escape) into it and waits for it
//                         to close
//   focus                 prints the class of the organiser's focused window
//   key NAME...           presses keys (enter, space, tab, escape, delete,
//                         shift, up, down) in the organiser's focused window
//   type TEXT             sets the text of the focused window (a label edit)
//   type-unicode TEXT     types TEXT as Unicode key input into the focus
//   drag FROM TO PART     drags the row named FROM in the focused tree with
//                         the mouse (SendInput) and releases it on the
//                         middle, upper or lower quarter (PART) of the row
//                         named TO
//   tab INDEX             clicks tab INDEX of the tab control
//   current-tab           prints the tab control's selection
//   tray-tip              prints the tip of the tray icon (from the shell's tray)
//   balloon TEXT T        a balloon of the shell's tray whose text holds TEXT;
//                         prints "visible|title|text" (Wine's tray shows
//                         balloons in a virtual desktop)
//   workarea              prints the work area (left top right bottom) and
//                         the screen's height
//   appdata [local|programs]
//                         prints the Application Data folder (roaming, local,
//                         or the Start menu's programs folder)
//   help-window T         a visible HTML Help window of the organiser; prints
//                         its title and the first level of its contents,
//                         "title|entry|entry..."
//   look                  prints "skinned" (a pop-up without caption) or "plain"
//   click TITLE ID        presses the button ID of a visible dialog of that
//                         title, of any program (an installer's Next)
//   version FILE          prints the file and product version of FILE's
//                         version information
//   forget-settings       deletes the product key HKCU\Software\Velkin 1.0
//   set-text NAME TEXT    sets a text value of the product key
//   set-password USER PW  sets "Password" to PW scrambled with USER, as the
//                         Settings dialog stores it
//   set-skin PATH         stores PATH as the skin of the next start
//   skin-click FILE N     clicks the centre of button N (0 close, 1 Lists, ...
//                         4 Calendar) of the skin FILE on the skinned window
//   skin-list             prints the entries of the Select Skin dialog's list
//   skin-choose NAME      chooses the entry NAME there and presses "Select"
//   open-file PATH        types PATH into the open-file dialog and presses OK
//   save-file PATH        the same in the save-file dialog ("Save As"), of any
//                         program
//   skin-values FILE      reads FILE with the organiser's reader; prints its 34
//                         values on one line, then one line a slot: its
//                         length and a checksum of its bytes
//   rect TITLE            prints the screen rectangle (left top right bottom)
//                         of a visible window of that title, of any program
//   sheet TITLE T         a visible property sheet of that title, of any
//                         program; prints its pages' titles, "a|b|..."
//   sheet-read TITLE PAGE:ID...
//                         prints, one a line, the text of each control ID on
//                         page PAGE (0 the first) of the sheet; a picture
//                         control prints "[picture]" or "[none]"
//   sheet-type TITLE PAGE:ID TEXT
//                         sets the text of that control (an edit)
//   sheet-double-click TITLE PAGE:ID
//                         shows page PAGE and double-clicks the middle of the
//                         control with the mouse (SendInput)
//   sleep T               waits T (holds a virtual desktop open)
//   selected              prints the name of the caret item of the tree that
//                         has the focus
//   post-key NAME         posts a key (down and up) to the organiser's
//                         focused window: for keys whose command opens a
//                         modal box, which would hold a sent key
//   kill                  ends the organiser's process at once
//   close-and-time FILE   closes the window (WM_CLOSE, which saves) and prints
//                         when FILE appeared and when the window was hidden
//                         (microseconds after the close; -1: never)
//   close-and-kill US [FILE]
//                         closes the window and kills the organiser US
//                         microseconds later, counted from when FILE appeared
//                         if given; prints whether the window was hidden
//                         (the save over) when the kill came
//   run SHOW T PROGRAM [ARGS...]
//                         starts PROGRAM with show command SHOW (as a shell
//                         passes it), waits up to T for it to end and exits
//                         with its exit code (3 when it did not end in time)
//
// With VELKIN_DESKTOP set, the driver works on that desktop (a Wine virtual
// desktop, whose tray shows icons and balloons) and starts programs there.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "alerts/scrambler.h"
#include "skin/skinfile.h"
#include "skin/win32/skinfiles.h"

namespace {

const char kName[] = "Velkin 1.0";
const char kProductKey[] = "Software\\Velkin 1.0";

HWND MainWindow() {
  return FindWindowA(kName, kName);
}

// Polls `test` every 50 ms until it holds or `timeout` ms have passed.
template <typename Test>
bool WaitFor(int timeout, Test test) {
  DWORD start = GetTickCount();
  for (;;) {
    if (test()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeout) return false;
    Sleep(50);
  }
}

std::string TextOf(HWND window) {
  char text[4096] = "";
  // WM_GETTEXT is carried across processes; GetWindowText of a control in
  // another process would not ask it.
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

std::string ClassOf(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Box {
  HWND window;
  std::string text;
};

// A message box of either program: a "#32770" titled "Velkin 1.0" or "Skin
// Properties" with a static text (id 0xFFFF), which the editor's sheet of
// that title lacks; its text is the message.
BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
  if (ClassOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
  const std::string title = TextOf(window);
  if (title != kName && title != "Skin Properties") return TRUE;
  HWND message = GetDlgItem(window, 0xFFFF);
  if (!message) return TRUE;
  auto* boxes = reinterpret_cast<std::vector<Box>*>(data);
  boxes->push_back(Box{window, TextOf(message)});
  return TRUE;
}

// The certificate in the machine's "ROOT" store, as Windows keeps a root
// a user trusts; then looked for where the organiser looks.
int AddRoot(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return 1;
  std::vector<unsigned char> der(65536);
  der.resize(std::fread(der.data(), 1, der.size(), file));
  std::fclose(file);
  HCERTSTORE machine = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT");
  const BOOL added = machine && CertAddEncodedCertificateToStore(machine, X509_ASN_ENCODING, der.data(),
                                                                   static_cast<DWORD>(der.size()),
                                                                   CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  if (machine) CertCloseStore(machine, 0);
  if (!added) return 2;
  HCERTSTORE roots = CertOpenSystemStoreA(0, "ROOT");
  bool found = false;
  for (PCCERT_CONTEXT cert = roots ? CertEnumCertificatesInStore(roots, nullptr) : nullptr; cert && !found;
       cert = CertEnumCertificatesInStore(roots, cert)) {
    found = cert->cbCertEncoded == der.size() && std::memcmp(cert->pbCertEncoded, der.data(), der.size()) == 0;
    if (found) CertFreeCertificateContext(cert);
  }
  if (roots) CertCloseStore(roots, 0);
  return found ? 0 : 3;
}

std::vector<Box> Boxes() {
  std::vector<Box> boxes;
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

// Text with the line breaks shown, so that one box is one output line.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      line += "\\n";
    else
      line.push_back(c);
  }
  return line;
}

void PrintState(HWND main) {
  RECT r;
  GetWindowRect(main, &r);
  std::printf("window %s %ld %ld %ld %ld\n", IsWindowVisible(main) ? "visible" : "hidden", r.left, r.top,
              r.right, r.bottom);
}

// Memory in another process, for messages whose answer is written through
// a pointer. Freed on the way out.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* address() const { return address_; }
  bool Write(const void* data, size_t size) {
    SIZE_T done = 0;
    return address_ && size <= size_ && WriteProcessMemory(process_, address_, data, size, &done) &&
           done == size;
  }
  bool Read(void* data, size_t size) {
    SIZE_T done = 0;
    return address_ && size <= size_ && ReadProcessMemory(process_, address_, data, size, &done) &&
           done == size;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

HWND TabControl(HWND main) {
  return FindWindowExA(main, nullptr, WC_TABCONTROLA, nullptr);
}

int ClickTab(int index) {
  HWND main = MainWindow();
  HWND tabs = main ? TabControl(main) : nullptr;
  if (!tabs) return 1;
  DWORD process = 0;
  GetWindowThreadProcessId(tabs, &process);
  RemoteBuffer remote(process, sizeof(RECT));
  RECT rect = {};
  if (!remote.address() ||
      !SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.address())) ||
      !remote.Read(&rect, sizeof rect))
    return 1;
  LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  // The control selects on the press and tells its parent (TCN_SELCHANGE).
  SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(tabs, WM_LBUTTONUP, 0, at);
  return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)) == index ? 0 : 1;
}

// Balloons are tooltips of the shell's tray. Their title and text are read
// with TTM_GETTITLE and TTM_ENUMTOOLSA into the shell's own memory; the
// balloon may already have timed out, so hidden ones count too.
struct Balloon {
  HWND window;
  bool visible;
  std::string title;
  std::string text;
};

BOOL CALLBACK CollectBalloon(HWND window, LPARAM data) {
  if (ClassOf(window) != TOOLTIPS_CLASSA) return TRUE;
  if (SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0) < 1) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const size_t textSize = 1024;
  struct Layout {
    TTTOOLINFOA tool;
    TTGETTITLE title;
    char text[textSize];
    WCHAR titleText[128];
  };
  RemoteBuffer remote(process, sizeof(Layout));
  if (!remote.address()) return TRUE;
  auto* there = static_cast<Layout*>(remote.address());
  Layout here = {};
  here.tool.cbSize = sizeof here.tool;
  here.tool.lpszText = there->text;
  here.title.dwSize = sizeof here.title;
  here.title.cch = 128;
  here.title.pszTitle = there->titleText;
  if (!remote.Write(&here, sizeof here)) return TRUE;
  if (!SendMessageA(window, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&there->tool))) return TRUE;
  SendMessageA(window, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&there->title));
  if (!remote.Read(&here, sizeof here)) return TRUE;
  here.text[textSize - 1] = '\0';
  here.titleText[127] = 0;
  char title[256] = "";
  WideCharToMultiByte(CP_ACP, 0, here.titleText, -1, title, sizeof title, nullptr, nullptr);
  auto* balloons = reinterpret_cast<std::vector<Balloon>*>(data);
  balloons->push_back(Balloon{window, IsWindowVisible(window) != FALSE, title, here.text});
  return TRUE;
}

std::vector<Balloon> Balloons() {
  std::vector<Balloon> balloons;
  EnumWindows(CollectBalloon, reinterpret_cast<LPARAM>(&balloons));
  return balloons;
}

// A dialog of the organiser's process by its title, visible or not.
HWND FindDialog(const char* title) {
  HWND main = MainWindow();
  DWORD organiser = 0;
  if (main) GetWindowThreadProcessId(main, &organiser);
  for (HWND at = FindWindowExA(nullptr, nullptr, "#32770", title); at;
       at = FindWindowExA(nullptr, at, "#32770", title)) {
    DWORD process = 0;
    GetWindowThreadProcessId(at, &process);
    if (process == organiser) return at;
  }
  return nullptr;
}

BOOL CALLBACK AppendControlText(HWND control, LPARAM data) {
  auto* texts = reinterpret_cast<std::string*>(data);
  if (ClassOf(control) == "Static" && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    *texts += SendMessageA(control, STM_GETICON, 0, 0) ? "|[icon]" : "|[no icon]";
    return TRUE;
  }
  std::string text = TextOf(control);
  if (!text.empty()) *texts += "|" + text;
  return TRUE;
}

// A visible top-level window of the class in the organiser's process.
HWND OrganiserWindowOfClass(const char* windowClass) {
  HWND main = MainWindow();
  DWORD organiser = 0;
  if (main) GetWindowThreadProcessId(main, &organiser);
  for (HWND at = FindWindowExA(nullptr, nullptr, windowClass, nullptr); at;
       at = FindWindowExA(nullptr, at, windowClass, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(at, &process);
    if (process == organiser && IsWindowVisible(at)) return at;
  }
  return nullptr;
}

// The visible pop-up menu window ("#32768") of the organiser's process.
HWND OpenMenuWindow() {
  return OrganiserWindowOfClass("#32768");
}

int TrayMenu(int argc, char** argv) {
  HWND main = MainWindow();
  if (!main) return 1;
  PostMessageA(main, 0x6FE5, 0, WM_RBUTTONUP);
  HWND menuWindow = nullptr;
  if (!WaitFor(5000, [&] { return (menuWindow = OpenMenuWindow()) != nullptr; })) return 1;
  // Menus belong to their process; where the system shares them the items
  // can be read from here.
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  int count = menu ? GetMenuItemCount(menu) : -1;
  for (int index = 0; index < count; ++index) {
    char text[128] = "";
    GetMenuStringA(menu, index, text, sizeof text, MF_BYPOSITION);
    std::printf("%u %s\n", GetMenuItemID(menu, index), *text ? text : "-");
  }
  for (int index = 2; index < argc; ++index) {
    const std::string key = argv[index];
    WPARAM code = key == "down" ? VK_DOWN : key == "up" ? VK_UP : key == "enter" ? VK_RETURN : VK_ESCAPE;
    // The menu's loop takes every keyboard message of its thread.
    PostMessageA(menuWindow, WM_KEYDOWN, code, 1);
    PostMessageA(menuWindow, WM_KEYUP, code, 0xC0000001);
    Sleep(100);
  }
  return WaitFor(5000, [] { return OpenMenuWindow() == nullptr; }) ? 0 : 1;
}

// The organiser's HTML Help window: the help control makes it in the
// organiser's own process.
HWND HelpWindow() {
  return OrganiserWindowOfClass("HH Parent");
}

BOOL CALLBACK FindTree(HWND window, LPARAM data) {
  if (ClassOf(window) != WC_TREEVIEWA) return TRUE;
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

// The texts of a tree's first level; the tree is in another process.
std::string TopLevelTexts(HWND tree) {
  DWORD process = 0;
  GetWindowThreadProcessId(tree, &process);
  struct Layout {
    TVITEMA item;
    char text[260];
  };
  RemoteBuffer remote(process, sizeof(Layout));
  if (!remote.address()) return std::string();
  auto* there = static_cast<Layout*>(remote.address());
  std::string texts;
  for (auto node = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); node;
       node = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)))) {
    Layout here = {};
    here.item.mask = TVIF_TEXT;
    here.item.hItem = node;
    here.item.pszText = there->text;
    here.item.cchTextMax = sizeof here.text;
    if (!remote.Write(&here, sizeof here) ||
        !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&there->item)) ||
        !remote.Read(&here, sizeof here))
      break;
    here.text[sizeof here.text - 1] = '\0';
    texts += "|" + std::string(here.text);
  }
  return texts;
}

// "FileVersion ProductVersion" of a program's version information.
int PrintVersion(const char* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  std::vector<char> info(size);
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!size || !GetFileVersionInfoA(file, 0, size, info.data()) ||
      !VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                      &length) ||
      length < sizeof *translation)
    return 1;
  std::string line;
  for (const char* name : {"FileVersion", "ProductVersion"}) {
    char path[128];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                  translation->codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &length) || !value) return 1;
    line += (line.empty() ? "" : " ") + std::string(value);
  }
  std::printf("%s\n", line.c_str());
  return 0;
}

int Usage();

int ClickSkinButton(const char* file, int button) {
  HWND main = MainWindow();
  SkinFileSource source(file);
  SkinFile skin;
  if (!main || !source.ok() || ReadSkinForOrganiser(source, &skin) != SkinReadResult::kRead) return 1;
  if (button < 0 || button >= kSkinButtonCount) return Usage();
  const int32_t* r = skin.values + ButtonRectValue(button);  // left, right, top, bottom
  const LPARAM at = MAKELPARAM((r[0] + r[1]) / 2, (r[2] + r[3]) / 2);
  PostMessageA(main, WM_MOUSEMOVE, 0, at);
  PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(main, WM_LBUTTONUP, 0, at);
  return 0;
}

// The Select Skin dialog's list of skins.
HWND SkinList() {
  HWND dialog = FindDialog("Select Skin");
  return dialog ? GetDlgItem(dialog, 255) : nullptr;
}

// List box messages lie below WM_USER: the system carries their texts
// across processes, so local buffers serve. In their wide form: Wine
// carries the narrow one's text as wide characters.
int PrintSkinList() {
  HWND list = SkinList();
  if (!list) return 1;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t wide[MAX_PATH] = L"";
    char name[MAX_PATH] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= MAX_PATH ||
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide)) == LB_ERR)
      return 1;
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
    std::printf("%s\n", name);
  }
  return 0;
}

// The entry the list has selected, or nothing.
int PrintSelectedSkin() {
  HWND list = SkinList();
  if (!list) return 1;
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  wchar_t wide[MAX_PATH] = L"";
  char name[MAX_PATH] = "";
  if (index != LB_ERR && SendMessageW(list, LB_GETTEXTLEN, index, 0) < MAX_PATH &&
      SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide)) != LB_ERR)
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
  std::printf("%s\n", name);
  return 0;
}

int ChooseSkin(const char* name) {
  HWND list = SkinList();
  wchar_t wide[MAX_PATH] = L"";
  if (!list || !MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) ||
      SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide)) == LB_ERR)
    return 1;
  // Posted: the choice may open a message box, which would hold a send.
  return PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(256, BN_CLICKED), 0) ? 0 : 1;
}

// A visible dialog of that title, of any program.
HWND VisibleDialog(const char* title) {
  for (HWND at = FindWindowExA(nullptr, nullptr, "#32770", title); at;
       at = FindWindowExA(nullptr, at, "#32770", title))
    if (IsWindowVisible(at)) return at;
  return nullptr;
}

// The file name box of the open-file or save-file dialog: a combo box (id
// 0x47C) in the explorer style, else an edit (id 0x480).
int ChooseFile(const char* title, const char* path) {
  HWND dialog = nullptr;
  if (!WaitFor(10000, [&] { return (dialog = VisibleDialog(title)) != nullptr; })) return 1;
  HWND name = GetDlgItem(dialog, 0x47C);
  if (!name) name = GetDlgItem(dialog, 0x480);
  if (!name || !SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path))) return 1;
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

// The window that has the keyboard focus in the organiser's thread. Asked
// for a few times: under Wine the thread's focus can read as none for a
// moment while the window is activated again (seen once in a hundred
// restarts).
HWND FocusedWindow() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (attempt) Sleep(100);
    HWND main = MainWindow();
    if (!main) continue;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus)
      return info.hwndFocus;
  }
  std::fprintf(stderr, "the organiser has no focus window\n");
  return nullptr;
}

WPARAM KeyCode(const std::string& key) {
  return key == "enter"    ? VK_RETURN
         : key == "space"  ? VK_SPACE
         : key == "tab"    ? VK_TAB
         : key == "escape" ? VK_ESCAPE
         : key == "delete" ? VK_DELETE
         : key == "shift"  ? VK_SHIFT
         : key == "up"     ? VK_UP
         : key == "down"   ? VK_DOWN
                           : 0;
}

int PressKeys(int argc, char** argv) {
  for (int index = 2; index < argc; ++index) {
    WPARAM code = KeyCode(argv[index]);
    if (!code) return Usage();
    HWND focus = FocusedWindow();
    if (!focus) return 1;
    // Sent, so that the next key finds the focus the last one left.
    SendMessageA(focus, WM_KEYDOWN, code, 1);
    if (code == VK_RETURN || code == VK_ESCAPE || code == VK_TAB || code == VK_SPACE) {
      char character = code == VK_RETURN ? '\r' : code == VK_ESCAPE ? 27 : code == VK_TAB ? '\t' : ' ';
      if (IsWindow(focus)) SendMessageA(focus, WM_CHAR, character, 1);
    }
    if (IsWindow(focus)) SendMessageA(focus, WM_KEYUP, code, 0xC0000001);
  }
  return 0;
}

// The label rectangle of the first visible row of that name in a tree of
// the organiser.
bool FindRow(HWND tree, const std::string& name, RECT* rect) {
  DWORD process = 0;
  GetWindowThreadProcessId(tree, &process);
  struct Layout {
    TVITEMA item;
    RECT rect;
    char text[260];
  };
  RemoteBuffer remote(process, sizeof(Layout));
  auto* there = static_cast<Layout*>(remote.address());
  for (HTREEITEM item = TreeView_GetFirstVisible(tree); item && there;
       item = TreeView_GetNextVisible(tree, item)) {
    Layout here = {};
    here.item.mask = TVIF_TEXT;
    here.item.hItem = item;
    here.item.pszText = there->text;
    here.item.cchTextMax = sizeof here.text;
    // The rectangle is asked for with the item in its first bytes.
    std::memcpy(&here.rect, &item, sizeof item);
    if (!remote.Write(&here, sizeof here) ||
        !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&there->item)) ||
        !SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&there->rect)) ||
        !remote.Read(&here, sizeof here))
      return false;
    here.text[sizeof here.text - 1] = '\0';
    if (name == here.text) {
      *rect = here.rect;
      return true;
    }
  }
  return false;
}

// Moves the pointer to a point of the window, pressing or releasing there.
void MouseAt(HWND window, POINT point, DWORD button, int pause = 100) {
  ClientToScreen(window, &point);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = (point.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = (point.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button;
  SendInput(1, &input, sizeof input);
  Sleep(pause);
}

int DragRow(const std::string& from, const std::string& to, const std::string& part) {
  HWND tree = FocusedWindow();
  RECT source, target;
  if (!tree || ClassOf(tree) != WC_TREEVIEWA || !FindRow(tree, from, &source) || !FindRow(tree, to, &target))
    return 1;
  const int height = target.bottom - target.top;
  const POINT start = {source.left + 4, (source.top + source.bottom) / 2};
  const POINT end = {target.left + 4, part == "upper"   ? target.top + height / 8
                                      : part == "lower" ? target.bottom - 1 - height / 8
                                                        : target.top + height / 2};
  MouseAt(tree, start, 0);
  MouseAt(tree, start, MOUSEEVENTF_LEFTDOWN);
  MouseAt(tree, {start.x + 3 * GetSystemMetrics(SM_CXDRAG) + 6, start.y}, 0);  // past the drag threshold
  MouseAt(tree, end, 0);
  MouseAt(tree, end, MOUSEEVENTF_LEFTUP);
  // The drop is over once the organiser has let the mouse capture go.
  const DWORD thread = GetWindowThreadProcessId(tree, nullptr);
  return WaitFor(5000,
                 [&] {
                   GUITHREADINFO info = {};
                   info.cbSize = sizeof info;
                   return GetGUIThreadInfo(thread, &info) && !info.hwndCapture;
                 })
             ? 0
             : 1;
}

int PrintSelected() {
  HWND tree = FocusedWindow();
  if (!tree || ClassOf(tree) != WC_TREEVIEWA) return 1;
  HTREEITEM caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!caret) return 1;
  DWORD process = 0;
  GetWindowThreadProcessId(tree, &process);
  struct Layout {
    TVITEMA item;
    char text[260];
  };
  RemoteBuffer remote(process, sizeof(Layout));
  auto* there = static_cast<Layout*>(remote.address());
  Layout here = {};
  here.item.mask = TVIF_TEXT;
  here.item.hItem = caret;
  here.item.pszText = there ? there->text : nullptr;
  here.item.cchTextMax = sizeof here.text;
  if (!remote.Write(&here, sizeof here) ||
      !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&there->item)) ||
      !remote.Read(&here, sizeof here))
    return 1;
  here.text[sizeof here.text - 1] = '\0';
  std::printf("%s\n", here.text);
  return 0;
}

// Types argument `index` of the command line as Unicode key input
// (KEYEVENTF_UNICODE), as an input method does: a key down and up for each
// UTF-16 unit. Read as Unicode, so that no code page of the driver's own
// stands between the shell and the program.
int TypeUnicode(int index) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return 1;
  std::vector<INPUT> inputs;
  for (const wchar_t* at = index < count ? args[index] : L""; *at; ++at) {
    for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = *at;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  LocalFree(args);
  const UINT sent = inputs.empty() ? 0 : SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return !inputs.empty() && sent == inputs.size() ? 0 : 1;
}

int PostKey(const std::string& key) {
  WPARAM code = KeyCode(key);
  HWND focus = FocusedWindow();
  if (!code || !focus) return 1;
  return PostMessageA(focus, WM_KEYDOWN, code, 1) && PostMessageA(focus, WM_KEYUP, code, 0xC0000001) ? 0 : 1;
}

// The organiser's process, to be ended; none when it is not running.
HANDLE OrganiserProcess() {
  HWND main = MainWindow();
  DWORD id = 0;
  if (main) GetWindowThreadProcessId(main, &id);
  return id ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id) : nullptr;
}

// Microseconds since the first call.
long long Microseconds() {
  static LARGE_INTEGER frequency, start;
  LARGE_INTEGER now;
  if (!frequency.QuadPart) {
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
  }
  QueryPerformanceCounter(&now);
  return (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
}

bool Exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int CloseAndTime(const char* file) {
  HWND main = MainWindow();
  if (!main) return 1;
  long long appeared = -1, hidden = -1;
  const long long start = Microseconds();
  PostMessageA(main, WM_CLOSE, 0, 0);
  while (hidden < 0 && Microseconds() - start < 60000000) {
    if (appeared < 0 && Exists(file)) appeared = Microseconds() - start;
    if (!IsWindowVisible(main)) hidden = Microseconds() - start;
  }
  std::printf("appeared %lld hidden %lld\n", appeared, hidden);
  return hidden < 0 ? 1 : 0;
}

int CloseAndKill(long long delay, const char* file) {
  HWND main = MainWindow();
  HANDLE process = OrganiserProcess();
  if (!main || !process) return 1;
  PostMessageA(main, WM_CLOSE, 0, 0);
  long long from = Microseconds();
  if (file) {
    while (!Exists(file) && IsWindowVisible(main) && Microseconds() - from < 60000000) {
    }
    from = Microseconds();
  }
  while (Microseconds() - from < delay) {
  }
  const bool over = !IsWindowVisible(main);
  TerminateProcess(process, 9);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
  std::printf("killed %s the save was over\n", over ? "after" : "before");
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: driver <command> [arguments...] (see the source)\n");
  return 2;
}

int PrintSkinValues(const char* file) {
  SkinFileSource source(file);
  SkinFile skin;
  if (!source.ok() || ReadSkinForOrganiser(source, &skin) != SkinReadResult::kRead) return 1;
  std::string values;
  for (int32_t value : skin.values) values += (values.empty() ? "" : " ") + std::to_string(value);
  std::printf("%s\n", values.c_str());
  for (const SlotImage& slot : skin.slots) {
    uint32_t sum = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < slot.size(); ++i) sum = (sum ^ slot.data()[i]) * 16777619u;
    std::printf("%zu:%08x\n", slot.size(), slot.empty() ? 0u : sum);
  }
  return 0;
}

// A property sheet of any program: a visible dialog of that title holding
// a tab control.
HWND FindPropertySheet(const char* title) {
  for (HWND at = FindWindowExA(nullptr, nullptr, "#32770", title); at;
       at = FindWindowExA(nullptr, at, "#32770", title))
    if (IsWindowVisible(at) && FindWindowExA(at, nullptr, WC_TABCONTROLA, nullptr)) return at;
  return nullptr;
}

// The pages' titles, from the sheet's tab control in the other process.
std::string PageTitles(HWND sheet) {
  HWND tabs = FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr);
  DWORD process = 0;
  GetWindowThreadProcessId(tabs, &process);
  struct Layout {
    TCITEMA item;
    char text[128];
  };
  RemoteBuffer remote(process, sizeof(Layout));
  auto* there = static_cast<Layout*>(remote.address());
  std::string titles;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count && there; ++i) {
    Layout here = {};
    here.item.mask = TCIF_TEXT;
    here.item.pszText = there->text;
    here.item.cchTextMax = sizeof here.text;
    if (!remote.Write(&here, sizeof here) ||
        !SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&there->item)) ||
        !remote.Read(&here, sizeof here))
      break;
    here.text[sizeof here.text - 1] = '\0';
    titles += (i ? "|" : "") + std::string(here.text);
  }
  return titles;
}

// The control PAGE:ID of a sheet (PSM_INDEXTOHWND answers across processes).
HWND SheetControl(HWND sheet, const char* place) {
  int page = -1;
  int id = -1;
  if (!sheet || std::sscanf(place, "%d:%d", &page, &id) != 2) return nullptr;
  auto pageWindow = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_INDEXTOHWND, page, 0));
  return pageWindow ? GetDlgItem(pageWindow, id) : nullptr;
}

int ReadSheet(int argc, char** argv) {
  HWND sheet = FindPropertySheet(argv[2]);
  for (int i = 3; i < argc; ++i) {
    HWND control = SheetControl(sheet, argv[i]);
    if (!control) return 1;
    if (ClassOf(control) == "Static" && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
      std::printf("%s\n", SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0) ? "[picture]" : "[none]");
    else
      std::printf("%s\n", OneLine(TextOf(control)).c_str());
  }
  return 0;
}

int DoubleClickSheetControl(const char* title, const char* place) {
  HWND sheet = FindPropertySheet(title);
  HWND control = SheetControl(sheet, place);
  if (!control) return 1;
  SendMessageA(sheet, PSM_SETCURSEL, std::atoi(place), 0);
  SetForegroundWindow(sheet);
  Sleep(300);
  RECT rect;
  GetClientRect(control, &rect);
  const POINT middle = {rect.right / 2, rect.bottom / 2};
  MouseAt(control, middle, 0);
  for (int click = 0; click < 2; ++click) {
    MouseAt(control, middle, MOUSEEVENTF_LEFTDOWN, 20);
    MouseAt(control, middle, MOUSEEVENTF_LEFTUP, 20);
  }
  Sleep(300);
  return 0;
}

int Arg(int argc, char** argv, int index, int fallback) {
  return index < argc ? std::atoi(argv[index]) : fallback;
}

// The command line of a program and its arguments, each quoted.
std::string CommandLine(int argc, char** argv, int first) {
  std::string line;
  for (int i = first; i < argc; ++i) {
    if (!line.empty()) line.push_back(' ');
    line += i == first ? "\"" + std::string(argv[i]) + "\"" : std::string(argv[i]);
  }
  return line;
}

int Run(int show, int timeout, const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  const char* desktop = std::getenv("VELKIN_DESKTOP");
  if (desktop && *desktop) startup.lpDesktop = const_cast<char*>(desktop);
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "driver: cannot start %s\n", commandLine.c_str());
    return 4;
  }
  CloseHandle(process.hThread);
  DWORD code = 3;
  if (WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const char* desktop = std::getenv("VELKIN_DESKTOP");
  if (desktop && *desktop) {
    // The desktop's process may still be making it.
    HDESK handle = nullptr;
    WaitFor(15000, [&] { return (handle = OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL)) != nullptr; });
    if (!handle || !SetThreadDesktop(handle)) {
      std::fprintf(stderr, "driver: cannot use the desktop %s\n", desktop);
      return 4;
    }
  }
  if (command == "sleep" && argc >= 3) {
    // Keeps a virtual desktop alive for the programs started on it.
    Sleep(std::atoi(argv[2]));
    return 0;
  }
  if (command == "run" && argc >= 5)
    return Run(std::atoi(argv[2]), std::atoi(argv[3]), CommandLine(argc, argv, 4));

  if (command == "wait-window" || command == "wait-visible") {
    const bool visible = command == "wait-visible";
    bool found = WaitFor(Arg(argc, argv, 2, 10000), [&] {
      HWND main = MainWindow();
      return main && (!visible || IsWindowVisible(main));
    });
    if (!found) return 1;
    PrintState(MainWindow());
    return 0;
  }
  if (command == "hidden") {
    HWND main = MainWindow();
    return main && !IsWindowVisible(main) ? 0 : 1;
  }
  if (command == "foreground") {
    HWND main = MainWindow();
    return main && GetForegroundWindow() == main ? 0 : 1;
  }
  if (command == "wait-gone") return WaitFor(Arg(argc, argv, 2, 10000), [] { return !MainWindow(); }) ? 0 : 1;
  if (command == "command" && argc >= 3) {
    HWND main = MainWindow();
    // Posted: a command may open a modal box, which would hold a send.
    return main && PostMessageA(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0) ? 0 : 1;
  }
  if (command == "message" && argc >= 5) {
    HWND main = MainWindow();
    return main && PostMessageA(main, std::strtoul(argv[2], nullptr, 0), std::strtoul(argv[3], nullptr, 0),
                                std::strtol(argv[4], nullptr, 0))
               ? 0
               : 1;
  }
  if (command == "wait-box" && argc >= 3) {
    const std::string wanted = argv[2];
    std::string found;
    bool ok = WaitFor(Arg(argc, argv, 3, 10000), [&] {
      for (const Box& box : Boxes())
        if (box.text.find(wanted) != std::string::npos) {
          found = box.text;
          return true;
        }
      return false;
    });
    if (ok) std::printf("%s\n", OneLine(found).c_str());
    return ok ? 0 : 1;
  }
  if (command == "boxes") {
    for (const Box& box : Boxes()) std::printf("%s\n", OneLine(box.text).c_str());
    return 0;
  }
  if (command == "answer" && argc >= 3) {
    const std::string button = argv[2];
    const int id = button == "yes" ? IDYES : button == "no" ? IDNO : IDOK;
    std::vector<Box> boxes = Boxes();
    if (boxes.empty()) return 1;
    HWND control = GetDlgItem(boxes.front().window, id);
    if (!control) return 1;
    PostMessageA(boxes.front().window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == "wait-dialog" && argc >= 3) {
    HWND dialog = nullptr;
    if (!WaitFor(Arg(argc, argv, 3, 10000), [&] {
          dialog = FindDialog(argv[2]);
          return dialog && IsWindowVisible(dialog);
        }))
      return 1;
    std::string texts = TextOf(dialog);
    EnumChildWindows(dialog, AppendControlText, reinterpret_cast<LPARAM>(&texts));
    std::printf("%s\n", OneLine(texts).c_str());
    return 0;
  }
  if (command == "dialog-ok" && argc >= 3) {
    HWND dialog = FindDialog(argv[2]);
    HWND ok = dialog ? GetDlgItem(dialog, IDOK) : nullptr;
    return ok && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok))
               ? 0
               : 1;
  }
  if (command == "dialog-press" && argc >= 4) {
    HWND dialog = FindDialog(argv[2]);
    const int id = std::atoi(argv[3]);
    return dialog && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) ? 0 : 1;
  }
  if ((command == "dialog-set" || command == "dialog-check") && argc >= 5) {
    HWND dialog = FindDialog(argv[2]);
    HWND control = dialog ? GetDlgItem(dialog, std::atoi(argv[3])) : nullptr;
    if (!control) return 1;
    if (command == "dialog-check")
      return SendMessageA(control, BM_SETCHECK, std::atoi(argv[4]) ? BST_CHECKED : BST_UNCHECKED, 0), 0;
    return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
  }
  if (command == "dialog-enabled" && argc >= 4) {
    HWND dialog = FindDialog(argv[2]);
    HWND control = dialog ? GetDlgItem(dialog, std::atoi(argv[3])) : nullptr;
    return control && IsWindowEnabled(control) ? 0 : 1;
  }
  if (command == "add-root" && argc >= 3) return AddRoot(argv[2]);
  if (command == "dialog-hidden" && argc >= 3) {
    HWND dialog = FindDialog(argv[2]);
    return dialog && !IsWindowVisible(dialog) ? 0 : 1;
  }
  if (command == "tray-menu") return TrayMenu(argc, argv);
  if (command == "focus") {
    HWND focus = FocusedWindow();
    if (!focus) return 1;
    std::printf("%s\n", ClassOf(focus).c_str());
    return 0;
  }
  if (command == "key" && argc >= 3) return PressKeys(argc, argv);
  if (command == "post-key" && argc >= 3) return PostKey(argv[2]);
  if (command == "selected") return PrintSelected();
  if (command == "kill") {
    HANDLE process = OrganiserProcess();
    if (!process) return 1;
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return 0;
  }
  if (command == "close-and-time" && argc >= 3) return CloseAndTime(argv[2]);
  if (command == "close-and-kill" && argc >= 3)
    return CloseAndKill(std::atoll(argv[2]), argc >= 4 ? argv[3] : nullptr);
  if (command == "type" && argc >= 3) {
    HWND focus = FocusedWindow();
    return focus && SendMessageA(focus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2])) ? 0 : 1;
  }
  if (command == "type-unicode" && argc >= 3) return TypeUnicode(2);
  if (command == "drag" && argc >= 4) return DragRow(argv[2], argv[3], argc >= 5 ? argv[4] : "middle");
  if (command == "tab" && argc >= 3) return ClickTab(std::atoi(argv[2]));
  if (command == "sizes") {
    // The focused tree's row height and the main window's width and height.
    HWND tree = FocusedWindow();
    HWND main = MainWindow();
    RECT window;
    if (!tree || ClassOf(tree) != WC_TREEVIEWA || !main || !GetWindowRect(main, &window)) return 1;
    std::printf("%d %ld %ld\n", static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0)),
                window.right - window.left, window.bottom - window.top);
    return 0;
  }
  if (command == "current-tab") {
    HWND main = MainWindow();
    HWND tabs = main ? TabControl(main) : nullptr;
    if (!tabs) return 1;
    std::printf("%d\n", static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)));
    return 0;
  }
  if (command == "balloon" && argc >= 3) {
    const std::string wanted = argv[2];
    Balloon shown = {};
    bool ok = WaitFor(Arg(argc, argv, 3, 10000), [&] {
      for (const Balloon& balloon : Balloons())
        if (balloon.text.find(wanted) != std::string::npos) {
          shown = balloon;
          return true;
        }
      return false;
    });
    if (ok)
      std::printf("%s|%s|%s\n", shown.visible ? "visible" : "hidden", OneLine(shown.title).c_str(),
                  OneLine(shown.text).c_str());
    return ok ? 0 : 1;
  }
  if (command == "workarea") {
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return 1;
    std::printf("%ld %ld %ld %ld %d\n", area.left, area.top, area.right, area.bottom,
                GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (command == "appdata") {
    const std::string which = argc >= 3 ? argv[2] : "";
    const int id = which == "local"      ? CSIDL_LOCAL_APPDATA
                   : which == "programs" ? CSIDL_PROGRAMS
                                         : CSIDL_APPDATA;
    char folder[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, 0, folder))) return 1;
    std::printf("%s\n", folder);
    return 0;
  }
  if (command == "help-window") {
    HWND help = nullptr;
    if (!WaitFor(Arg(argc, argv, 2, 10000), [&] { return (help = HelpWindow()) != nullptr; })) return 1;
    HWND contents = nullptr;
    // The contents fill in once the window has read the help file.
    WaitFor(5000, [&] {
      contents = nullptr;
      EnumChildWindows(help, FindTree, reinterpret_cast<LPARAM>(&contents));
      return contents && SendMessageA(contents, TVM_GETCOUNT, 0, 0) > 0;
    });
    std::printf("%s%s\n", TextOf(help).c_str(), contents ? TopLevelTexts(contents).c_str() : "");
    return 0;
  }
  if (command == "set-skin" && argc >= 3) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velkin 1.0", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      return 1;
    LONG set = RegSetValueExA(key, "skin", 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[2]),
                              static_cast<DWORD>(std::strlen(argv[2]) + 1));
    RegCloseKey(key);
    return set == ERROR_SUCCESS ? 0 : 1;
  }
  if (command == "look") {
    HWND main = MainWindow();
    if (!main) return 1;
    std::printf("%s\n", GetWindowLongA(main, GWL_STYLE) & WS_CAPTION ? "plain" : "skinned");
    return 0;
  }
  if (command == "version" && argc >= 3) return PrintVersion(argv[2]);
  if (command == "click" && argc >= 4) {
    const int id = std::atoi(argv[3]);
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", nullptr); dialog;
         dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
      // An installer may end its title with a space on some pages.
      std::string title = TextOf(dialog);
      title.erase(title.find_last_not_of(' ') + 1);
      HWND button = GetDlgItem(dialog, id);
      if (title == argv[2] && IsWindowVisible(dialog) && button && IsWindowEnabled(button))
        return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button))
                   ? 0
                   : 1;
    }
    return 1;
  }
  if (command == "skin-click" && argc >= 4) return ClickSkinButton(argv[2], std::atoi(argv[3]));
  if (command == "skin-list") return PrintSkinList();
  if (command == "skin-selected") return PrintSelectedSkin();
  if (command == "skin-choose" && argc >= 3) return ChooseSkin(argv[2]);
  if (command == "open-file" && argc >= 3) return ChooseFile("Open", argv[2]);
  if (command == "save-file" && argc >= 3) return ChooseFile("Save As", argv[2]);
  if (command == "skin-values" && argc >= 3) return PrintSkinValues(argv[2]);
  if (command == "sheet" && argc >= 3) {
    HWND sheet = nullptr;
    if (!WaitFor(Arg(argc, argv, 3, 10000), [&] { return (sheet = FindPropertySheet(argv[2])) != nullptr; }))
      return 1;
    std::printf("%s\n", PageTitles(sheet).c_str());
    return 0;
  }
  if (command == "sheet-page" && argc >= 4) {
    HWND sheet = FindPropertySheet(argv[2]);
    return sheet && SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[3])), 0) ? 0 : 1;
  }
  if (command == "rect" && argc >= 3) {
    HWND window = FindWindowA(nullptr, argv[2]);
    RECT r;
    if (!window || !IsWindowVisible(window) || !GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == "sheet-read" && argc >= 4) return ReadSheet(argc, argv);
  if (command == "sheet-type" && argc >= 5) {
    HWND control = SheetControl(FindPropertySheet(argv[2]), argv[3]);
    return control && SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
  }
  if (command == "sheet-double-click" && argc >= 4) return DoubleClickSheetControl(argv[2], argv[3]);
  if (command == "forget-settings") {
    LONG result = RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? 0 : 1;
  }
  if ((command == "set-text" || command == "set-password") && argc >= 4) {
    std::string value = argv[3];
    value.push_back('\0');
    DWORD type = REG_SZ;
    const char* name = argv[2];
    if (command == "set-password") {
      if (!ScramblePassword(&value[0], value.size(), argv[2])) return 1;
      type = REG_BINARY;
      name = "Password";
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return 1;
    LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(value.data()),
                                 static_cast<DWORD>(value.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
  }
  return Usage();
}
