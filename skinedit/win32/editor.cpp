#include "skinedit/win32/editor.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "base/filesystem.h"
#include "skin/win32/skinfiles.h"
#include "skinedit/commandline.h"

namespace {

// The page that was current before OK: the sheet's tab still marks it.
// Selecting it again makes it current again, and the sheet live.
bool ReopenSheet(HWND sheet) {
  const int page = TabCtrl_GetCurSel(PropSheet_GetTabControl(sheet));
  PropSheet_SetCurSel(sheet, nullptr, page < 0 ? 0 : page);
  return PropSheet_GetCurrentPageHwnd(sheet) != nullptr;
}

}  // namespace

void LoadSkinFile(SkinEditor& editor, const char* path) {
  SheetControls sheet(editor.sheet);
  std::vector<std::string> messages;
  {
    // Read sharing nothing, and closed before any message is shown.
    SkinFileSource file(path, 0);
    messages = LoadSkinIntoSheet(file.ok() ? &file : nullptr, sheet, &editor.loaded);
  }
  NoteSheetUnchanged(editor);
  for (const std::string& message : messages) ShowSheetMessage(editor, message.c_str());
}

int SaveSkinAs(SkinEditor& editor) {
  char path[1024] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = editor.sheet;
  choice.lpstrFile = path;
  choice.nMaxFile = sizeof path;
  choice.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&choice)) return 0;
  SheetControls sheet(editor.sheet);
  std::string message;
  const int saved = SaveSheetAsSkin(sheet, editor.loaded, *HostFileSystem(), path, &message);
  ShowSheetMessage(editor, message.c_str());
  return saved;
}

int RunSkinEditor(HINSTANCE instance, const char* commandLine) {
  InitCommonControls();
  SkinEditor editor;
  editor.prompts = HostPrompts();
  editor.sheet = CreateSkinSheet(instance, &editor);
  if (!editor.sheet) return 1;
  NoteSheetUnchanged(editor);
  const std::string path = SkinPathFromCommandLine(commandLine);
  if (!path.empty()) LoadSkinFile(editor, path.c_str());

  // Unicode, as the organiser's loop: typed characters reach the edits whole.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!PropSheet_IsDialogMessage(editor.sheet, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // The sheet has no current page once OK or a confirmed Cancel closed it.
    if (PropSheet_GetCurrentPageHwnd(editor.sheet)) continue;
    if (!editor.cancelled && !SaveSkinAs(editor) && ReopenSheet(editor.sheet)) continue;
    break;
  }
  DestroyWindow(editor.sheet);
  return 0;
}
