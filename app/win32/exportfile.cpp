#include "app/win32/exportfile.h"

#include <commdlg.h>

#include <string>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "tree/export.h"

namespace {

bool HasExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  return dot != std::string::npos && path.find_first_of("\\/", dot) == std::string::npos;
}

}  // namespace

bool ExportTasks(HWND owner) {
  char path[kPathSize] = "Velkin tasks";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = "Markdown (*.md)\0*.md\0CSV (*.csv)\0*.csv\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = "Export";
  dialog.lpstrDefExt = "md";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&dialog)) return false;
  std::string file = path;
  // With CSV chosen, a name typed without an extension (or given the
  // default ".md" by the dialog) becomes a .csv file.
  const bool endsMd = file.size() >= 3 && lstrcmpiA(file.c_str() + file.size() - 3, ".md") == 0;
  if (dialog.nFilterIndex == 2 && (endsMd || !HasExtension(file)))
    file = (endsMd ? file.substr(0, file.size() - 3) : file) + ".csv";
  if (!SaveFileAtomically(AppFiles(), file, ExportFor(file.c_str()))) {
    ShowWarning(("Error: Could not export the tasks to\n" + file).c_str());
    return false;
  }
  return true;
}
