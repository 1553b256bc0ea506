// Load skin into sheet and Save sheet as skin: the skin file's values and
// slots walked onto the pages' controls and back through the field and slot
// maps. The controls are reached through SkinSheet, which the Win32 sheet
// implements with its edits and previews (and the tests with memory).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/filesystem.h"
#include "skin/skinfile.h"
#include "skinedit/sheetmap.h"

// The title of the sheet and of every message box the editor shows.
extern const char kSheetTitle[];  // "Skin Properties"

// The sheet's value fields and bitmap previews, by page index and control id.
class SkinSheet {
 public:
  virtual ~SkinSheet() = default;
  // The whole text of a value field.
  virtual std::string FieldText(SheetPlace field) = 0;
  virtual void SetFieldText(SheetPlace field, const std::string& text) = 0;
  // The bytes a preview holds; none when it is empty.
  virtual const SlotImage* PreviewImage(SheetPlace preview) = 0;
  // Set preview: the preview keeps and shows `image` (empty: nothing),
  // freeing the bytes and the picture it held before.
  virtual void SetPreview(SheetPlace preview, SlotImage image) = 0;
};

// What loading put into the value fields. A field whose text is still the
// text it was loaded with stands for the value loaded, even one that the
// field's 7 characters cannot carry (another writer's negative value or one
// of more digits): a skin opened and saved again loses nothing the user
// did not touch.
struct LoadedValues {
  bool loaded[kSkinValueCount] = {};
  int32_t values[kSkinValueCount] = {};
};

// The decimal text a field shows for a value.
std::string ValueText(int32_t value);

// The value field `index` stands for with `text` in it: the loaded value
// while the text is the one loaded, otherwise the number its first 7
// characters start with (0 when they do not start with a digit).
int32_t FieldValue(const std::string& text, const LoadedValues& loaded, int index);

// Load skin into sheet: reads the file as the editor does from `file`
// (none: it could not be opened) and, unless its header was refused, puts
// every value into its field and every slot into its preview (an empty slot
// empties the preview). Answers the messages to show, in order.
std::vector<std::string> LoadSkinIntoSheet(SkinSource* file, SkinSheet& sheet, LoadedValues* loaded);

// The skin file the sheet stands for: the fields' values and the previews'
// bytes, as a save would write them. 0 when there is no memory for it.
int SheetAsSkinBytes(SkinSheet& sheet, const LoadedValues& loaded, std::string* bytes);
// Whether the sheet stands for another skin file than `unchanged` (its
// SheetAsSkinBytes when it was filled); also when that cannot be told.
bool SheetChanged(SkinSheet& sheet, const LoadedValues& loaded, const std::string& unchanged);

// Save sheet as skin: the fields' values and the previews' bytes written to
// `path` through a file beside it that replaces it only when whole, so that
// a failed save leaves the old skin as it was. That file gets a name no file
// has yet, and one that fits wherever `path` does. 1 when saved; `message` is
// the outcome to show: "Skin file was successfully saved.", "Error: Could
// not open file." (the file could not be made or could not replace the old
// one), "Error: Could not complete write operation." or "Error: Out of
// memory.".
int SaveSheetAsSkin(SkinSheet& sheet, const LoadedValues& loaded, FileSystem& files, const std::string& path,
                    std::string* message);
