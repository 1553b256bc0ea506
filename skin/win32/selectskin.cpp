#include "skin/win32/selectskin.h"

#include <commdlg.h>
#include <psapi.h>

#include <string>

#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/prompts.h"
#include "base/win32/activedialog.h"
#include "base/win32/dialogdata.h"
#include "base/win32/scoped.h"
#include "skin/skinlayout.h"
#include "skin/win32/skinlook.h"

namespace {

// What the dialog keeps: the window it applies skins to and its folder.
// Lives as long as the dialog.
struct SelectSkinData {
  HWND main;
  char skinsFolder[kPathSize];
};

SelectSkinData* DataOf(HWND dialog) {
  return DialogData<SelectSkinData>(dialog);
}

// A file in the skins folder; empty when the path would not fit the
// program's path buffers (a cut path would name another file).
std::string InSkinsFolder(HWND dialog, const std::string& name) {
  SelectSkinData* data = DataOf(dialog);
  if (!data) return "";
  std::string path = std::string(data->skinsFolder) + "\\" + name;
  return path.size() < kPathSize ? path : "";
}

// The name of the selected list entry; "" when none is.
std::string SelectedName(HWND dialog) {
  HWND list = GetDlgItem(dialog, kSkinListId);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return "";
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR || length >= kPathSize) return "";
  std::string name(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&name[0]));
  name.resize(static_cast<size_t>(length));
  return name;
}

// Fills the list with the folder's plain and read-only files: no folders,
// no hidden or system files; the list sorts them. The folder is read here
// rather than by DlgDirList, which would make it the program's current
// folder (and keep the user from removing it while the program runs).
bool ListSkinFiles(const char* folder, HWND list) {
  const std::string pattern = std::string(folder) + "\\*";
  WIN32_FIND_DATAA found;
  ScopedFind search(FindFirstFileA(pattern.c_str(), &found));
  if (!search) return false;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  bool listed = true;
  do {
    if (found.dwFileAttributes & skipped) continue;
    if (SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName)) < 0) listed = false;
  } while (listed && FindNextFileA(search.get(), &found));
  return listed;
}

// Selects the skin in force when it is one of the folder's (the list's
// search ignores case, as the file system does).
void SelectSkinInUse(const char* folder, HWND list) {
  const std::string inUse = App().skinPath;
  const std::string prefix = std::string(folder) + "\\";
  if (inUse.size() <= prefix.size() ||
      CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, inUse.c_str(), static_cast<int>(prefix.size()),
                     prefix.c_str(), static_cast<int>(prefix.size())) != CSTR_EQUAL)
    return;
  const std::string name = inUse.substr(prefix.size());
  if (name.find('\\') != std::string::npos) return;
  const LRESULT index =
      SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
  if (index != LB_ERR) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ChooseFileToAdd(HWND dialog) {
  char file[kPathSize] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = dialog;
  choice.lpstrFile = file;
  choice.nMaxFile = sizeof file;
  // Skins are files of any name, most without an extension.
  choice.lpstrFilter = "All files (*.*)\0*.*\0";
  choice.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&choice)) AddSkinFile(dialog, file);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM data) {
  KeepDialogData(dialog, data);
  return TRUE;  // the default focus
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  if (code != BN_CLICKED) return FALSE;  // a double click in the list does nothing
  switch (id) {
    case kSkinSelectId:
      SelectChosenSkin(dialog);
      return TRUE;
    case kSkinAddId:
      ChooseFileToAdd(dialog);
      return TRUE;
    case IDCANCEL:
      return TRUE;  // Escape does nothing
    default:
      return FALSE;
  }
}

INT_PTR OnDestroy(HWND dialog) {
  DeleteDialogData<SelectSkinData>(dialog);
  return FALSE;
}

INT_PTR CALLBACK SelectSkinProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_ACTIVATE:
      NoteActiveDialog(dialog, wParam);
      return FALSE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
      return HideOnClose(dialog, wParam);
    case WM_NCDESTROY:
      return OnDestroy(dialog);
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateSelectSkinDialogFor(HWND main, HINSTANCE instance, const char* skinsFolder) {
  auto* data = new SelectSkinData{main, ""};
  CopyField(data->skinsFolder, skinsFolder);
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kSelectSkinDialogId), main, SelectSkinProc,
                                   reinterpret_cast<LPARAM>(data));
  if (!dialog) delete data;
  return dialog;
}

HWND CreateSelectSkinDialog(HWND main, HINSTANCE instance) {
  char program[2000] = "";
  GetModuleFileNameExA(GetCurrentProcess(), nullptr, program, sizeof program);
  char folder[kPathSize];
  SkinsFolderOf(program, folder, sizeof folder);
  return CreateSelectSkinDialogFor(main, instance, folder);
}

const char* SkinsFolderOfDialog(HWND dialog) {
  SelectSkinData* data = dialog ? DataOf(dialog) : nullptr;
  return data ? data->skinsFolder : "";
}

int ShowSelectSkinDialog(HWND dialog) {
  SelectSkinData* data = dialog ? DataOf(dialog) : nullptr;
  HWND list = dialog ? GetDlgItem(dialog, kSkinListId) : nullptr;
  if (!data || !list || !ListSkinFiles(data->skinsFolder, list)) {
    ShowWarning("Could not get directory listing for skins");
    return 0;
  }
  SelectSkinInUse(data->skinsFolder, list);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  return 1;
}

void SelectChosenSkin(HWND dialog) {
  SelectSkinData* data = DataOf(dialog);
  // With nothing selected the path is the folder itself, which no skin
  // can be read from: nothing changes.
  const std::string path = InSkinsFolder(dialog, SelectedName(dialog));
  if (data && !path.empty()) LoadSkin(data->main, path.c_str(), true);
  ShowWindow(dialog, SW_HIDE);
}

int AddSkinFile(HWND dialog, const char* path) {
  if (!path || !*path) return 0;
  const std::string source = path;
  const std::string target = InSkinsFolder(dialog, source.substr(source.find_last_of('\\') + 1));
  if (target.empty() || !CopyFileA(source.c_str(), target.c_str(), TRUE)) {
    ShowWarning("Filename already exists or access is denied");
    return 0;
  }
  return ShowSelectSkinDialog(dialog);
}
