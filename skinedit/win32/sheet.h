// The "Skin Properties" sheet: a modeless property sheet of seven pages
// made from dialogs 401 to 403, with one page procedure for all of them.
// The pages' number edits hold the skin's values, their bitmap previews
// its slots; a load button fills the preview beside it, a double-click
// empties a preview.
#pragma once

#include <windows.h>

#include <string>

#include "base/prompts.h"
#include "skinedit/skinsheet.h"

// What the program and the pages share; outlives the sheet.
struct SkinEditor {
  HWND sheet = nullptr;
  // Set when the user confirmed cancelling: the sheet closes unsaved.
  bool cancelled = false;
  LoadedValues loaded;
  // The skin file the sheet stood for when it was filled: Cancel asks
  // before it throws edits away, and only then.
  std::string unchanged;
  Prompts* prompts = nullptr;
};

// Notes what the sheet stands for now as its unchanged state.
void NoteSheetUnchanged(SkinEditor& editor);

// Create sheet: the seven pages, all made with the sheet (so that loading
// and saving reach every control from the start), and the sheet itself,
// shown on "Window". "Failed to create property sheet page!" or "Failed to
// create property sheet!" and none when it cannot be made.
HWND CreateSkinSheet(HINSTANCE instance, SkinEditor* editor);

// Page control: the control of that id on the page of that index.
HWND PageControl(HWND sheet, int page, int control);

// A message box of the editor: titled "Skin Properties", owned by the
// sheet, with OK.
void ShowSheetMessage(const SkinEditor& editor, const char* text);

// Load bitmap into preview: the user picks a .bmp file, which the preview
// `previewId` of `page` takes if it passes the checks; otherwise a message
// says why and the preview stays as it was.
void LoadBitmapIntoPreview(const SkinEditor& editor, HWND page, int previewId);

// The sheet's edits and previews, for loading and saving.
class SheetControls final : public SkinSheet {
 public:
  explicit SheetControls(HWND sheet) : sheet_(sheet) {}
  std::string FieldText(SheetPlace field) override;
  void SetFieldText(SheetPlace field, const std::string& text) override;
  const SlotImage* PreviewImage(SheetPlace preview) override;
  void SetPreview(SheetPlace preview, SlotImage image) override;

 private:
  HWND sheet_;
};
