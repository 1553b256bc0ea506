#include "skinedit/win32/sheet.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <utility>

#include "base/win32/dialogdata.h"
#include "skin/win32/skinfiles.h"
#include "skinedit/bitmapfile.h"
#include "skinedit/win32/preview.h"

namespace {

// The number edits of the pages: 201 to 210 on "Window", 211 to 214 on the
// others. A field shows at most 7 characters as typed.
constexpr int kFirstField = 201;
constexpr int kLastField = 214;
constexpr int kFieldChars = 7;

const char kCancelQuestion[] = "Are you sure you want to cancel without saving?";

SkinEditor* EditorOf(HWND page) {
  return DialogData<SkinEditor>(page);
}

INT_PTR OnInitDialog(HWND page, const PROPSHEETPAGEA* made) {
  KeepDialogData(page, made->lParam);
  for (int id = kFirstField; id <= kLastField; ++id)
    if (HWND field = GetDlgItem(page, id)) SendMessageA(field, EM_LIMITTEXT, kFieldChars, 0);
  return TRUE;  // the default focus
}

INT_PTR OnCommand(HWND page, int id, int code, HWND control) {
  const SkinEditor* editor = EditorOf(page);
  if (code == STN_DBLCLK && IsPreview(id)) {
    SetPreview(control, SlotImage());
    return TRUE;
  }
  if (code == BN_CLICKED && IsLoadButton(id) && editor) {
    LoadBitmapIntoPreview(*editor, page, PreviewOfButton(id));
    return TRUE;
  }
  return FALSE;
}

bool CancelConfirmed(SkinEditor& editor, HWND sheet) {
  SheetControls controls(sheet);
  if (!SheetChanged(controls, editor.loaded, editor.unchanged)) return true;
  return editor.prompts->Show(sheet, kCancelQuestion, kSheetTitle, kBoxYesNo | kBoxIconQuestion) ==
         kAnswerYes;
}

// Cancel, Escape or the window's close box: closing with edits unsaved is
// asked.
INT_PTR OnQueryCancel(HWND page) {
  SkinEditor* editor = EditorOf(page);
  const bool cancel = !editor || CancelConfirmed(*editor, GetParent(page));
  if (cancel && editor) editor->cancelled = true;
  SetWindowLongPtrA(page, DWLP_MSGRESULT, cancel ? FALSE : TRUE);
  return TRUE;
}

INT_PTR OnNotify(HWND page, const NMHDR* header) {
  return header->code == static_cast<UINT>(PSN_QUERYCANCEL) ? OnQueryCancel(page) : FALSE;
}

// The previews hand back their bytes and bitmaps while they still exist.
INT_PTR OnDestroy(HWND page) {
  for (int id = PreviewOfButton(kFirstLoadButton); id <= PreviewOfButton(kLastLoadButton); id += 2)
    if (HWND preview = GetDlgItem(page, id)) SetPreview(preview, SlotImage());
  return FALSE;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(page, reinterpret_cast<const PROPSHEETPAGEA*>(lParam));
    case WM_COMMAND:
      return OnCommand(page, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
      return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY:
      return OnDestroy(page);
    default:
      return FALSE;
  }
}

// Create page: made with the sheet, not when first shown (PSP_PREMATURE).
HPROPSHEETPAGE CreatePage(int dialog, const char* title, HINSTANCE instance, SkinEditor* editor) {
  PROPSHEETPAGEA page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USETITLE | PSP_PREMATURE;
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEA(dialog);
  page.pszTitle = title;
  page.pfnDlgProc = PageProc;
  page.lParam = reinterpret_cast<LPARAM>(editor);
  return CreatePropertySheetPageA(&page);
}

}  // namespace

HWND CreateSkinSheet(HINSTANCE instance, SkinEditor* editor) {
  HPROPSHEETPAGE pages[kPageCount] = {};
  for (int i = 0; i < kPageCount; ++i) {
    pages[i] = CreatePage(kPages[i].dialog, kPages[i].title, instance, editor);
    if (!pages[i]) {
      editor->prompts->Show(nullptr, "Failed to create property sheet page!", kSheetTitle, kBoxOk);
      while (i-- > 0) DestroyPropertySheetPage(pages[i]);
      return nullptr;
    }
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  // The caption is given whole rather than made by PSH_PROPTITLE, whose
  // wording follows the system's language.
  header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_USEICONID;
  header.hInstance = instance;
  header.pszIcon = "IDI_SKINEDIT";
  header.pszCaption = kSheetTitle;
  header.nPages = kPageCount;
  header.nStartPage = 0;
  header.phpage = pages;
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  if (!sheet) {
    editor->prompts->Show(nullptr, "Failed to create property sheet!", kSheetTitle, kBoxOk);
    return nullptr;
  }
  // Some systems (Wine) make a page only when it is first shown, whatever
  // PSP_PREMATURE asks: each missing page is shown once, so that loading
  // and saving reach every control from the start.
  for (int i = kPageCount - 1; i > 0; --i)
    if (!PropSheet_IndexToHwnd(sheet, i)) PropSheet_SetCurSel(sheet, nullptr, i);
  PropSheet_SetCurSel(sheet, nullptr, 0);
  return sheet;
}

void NoteSheetUnchanged(SkinEditor& editor) {
  SheetControls sheet(editor.sheet);
  if (!SheetAsSkinBytes(sheet, editor.loaded, &editor.unchanged)) editor.unchanged.clear();
}

HWND PageControl(HWND sheet, int page, int control) {
  HWND pageWindow = PropSheet_IndexToHwnd(sheet, page);
  return pageWindow ? GetDlgItem(pageWindow, control) : nullptr;
}

void ShowSheetMessage(const SkinEditor& editor, const char* text) {
  editor.prompts->Show(editor.sheet, text, kSheetTitle, kBoxOk);
}

void LoadBitmapIntoPreview(const SkinEditor& editor, HWND page, int previewId) {
  char path[1024] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  // Owned by the sheet, unlike the design's dialog without owner: it stays
  // in front, and the sheet cannot be closed or asked for a second file
  // beneath it.
  choice.hwndOwner = GetParent(page);
  choice.lpstrFilter = "Bitmap\0*.bmp\0";
  choice.lpstrFile = path;
  choice.nMaxFile = sizeof path;
  choice.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&choice)) return;

  SlotImage image;
  const char* message = nullptr;
  {
    SkinFileSource file(path, FILE_SHARE_READ);
    message = file.ok() ? BitmapFileMessage(ReadBitmapFile(file, &image)) : "Error: Could not open file";
  }
  if (message)
    ShowSheetMessage(editor, message);
  else
    SetPreview(GetDlgItem(page, previewId), std::move(image));
}

std::string SheetControls::FieldText(SheetPlace field) {
  HWND edit = PageControl(sheet_, field.page, field.control);
  const int length = edit ? GetWindowTextLengthA(edit) : 0;
  // The terminator lands on the string's own.
  std::string text(static_cast<size_t>(length), '\0');
  if (length > 0) text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], length + 1)));
  return text;
}

void SheetControls::SetFieldText(SheetPlace field, const std::string& text) {
  if (HWND edit = PageControl(sheet_, field.page, field.control)) SetWindowTextA(edit, text.c_str());
}

const SlotImage* SheetControls::PreviewImage(SheetPlace preview) {
  return ::PreviewImage(PageControl(sheet_, preview.page, preview.control));
}

void SheetControls::SetPreview(SheetPlace preview, SlotImage image) {
  ::SetPreview(PageControl(sheet_, preview.page, preview.control), std::move(image));
}
