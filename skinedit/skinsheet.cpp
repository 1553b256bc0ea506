#include "skinedit/skinsheet.h"

#include <cstdio>
#include <utility>

const char kSheetTitle[] = "Skin Properties";

namespace {

// The longest path the ANSI file calls take (MAX_PATH less its zero).
constexpr size_t kLongestPath = 259;
constexpr unsigned kTemporaryNames = 36;

// The n-th temporary name tried beside `path`: "~<n>.tmp" in its folder,
// n a digit or letter; where that would reach past the path limit, "~<n>"
// or "<n>", no longer than the file's own name, so that it fits wherever
// the file does.
std::string TemporaryNameBeside(const std::string& path, unsigned n) {
  const size_t nameAt = path.find_last_of("\\/") + 1;  // 0 for a bare name
  const size_t room = path.size() - nameAt;
  const std::string tag(1, "0123456789abcdefghijklmnopqrstuvwxyz"[n % kTemporaryNames]);
  std::string name = "~" + tag + ".tmp";
  if (nameAt + name.size() > kLongestPath && name.size() > room) name = room >= 2 ? "~" + tag : tag;
  return path.substr(0, nameAt) + name;
}

// Writes `contents` under a new temporary name beside `path` (never over a
// file that is there, the user's "Mine.tmp" included), then moves it over
// `path`. 1 when saved; otherwise `failure` says which step failed and
// nothing of ours is left behind.
int SaveThroughNewName(FileSystem& files, const std::string& path, const std::string& contents,
                       WriteFailure* failure) {
  *failure = WriteFailure::kCreate;
  for (unsigned n = 0; n < kTemporaryNames; ++n) {
    const std::string temp = TemporaryNameBeside(path, n);
    if (!files.WriteFileIfNew(temp, contents, failure)) {
      if (*failure == WriteFailure::kExists) continue;
      return 0;  // the adapter removed what it had written
    }
    if (files.ReplaceFile(temp, path)) return 1;
    files.RemoveFile(temp);
    *failure = WriteFailure::kReplace;
    return 0;
  }
  *failure = WriteFailure::kCreate;
  return 0;
}

}  // namespace

std::string ValueText(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  return text;
}

int32_t FieldValue(const std::string& text, const LoadedValues& loaded, int index) {
  if (loaded.loaded[index] && text == ValueText(loaded.values[index])) return loaded.values[index];
  return SkinValueFromText(text.c_str());
}

std::vector<std::string> LoadSkinIntoSheet(SkinSource* file, SkinSheet& sheet, LoadedValues* loaded) {
  if (!file) return {"Input file could not be opened."};
  SkinFile skin;
  std::vector<std::string> messages;
  const EditorReadResult result = ReadSkinForEditor(*file, &skin, &messages);
  if (result != EditorReadResult::kRead) return {EditorReadMessage(result)};
  for (int i = 0; i < kSkinValueCount; ++i) {
    sheet.SetFieldText(kFieldMap[i], ValueText(skin.values[i]));
    loaded->loaded[i] = true;
    loaded->values[i] = skin.values[i];
  }
  for (int slot = 0; slot < kSkinSlotCount; ++slot)
    sheet.SetPreview(kSlotMap[slot], std::move(skin.slots[slot]));
  return messages;
}

int SheetAsSkinBytes(SkinSheet& sheet, const LoadedValues& loaded, std::string* bytes) {
  SkinFile skin;
  for (int i = 0; i < kSkinValueCount; ++i)
    skin.values[i] = FieldValue(sheet.FieldText(kFieldMap[i]), loaded, i);
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    const SlotImage* image = sheet.PreviewImage(kSlotMap[slot]);
    // A slot dropped for want of memory would be a skin silently missing
    // a picture: nothing is written instead.
    if (image && !skin.slots[slot].Assign(image->data(), image->size())) return 0;
  }
  // Each slot is written with the number of bytes it holds as its length,
  // whatever its bitmap's own size field says: the length table then
  // describes exactly the bytes that follow, for both readers.
  MemorySkinSink sink;
  if (!WriteSkinFile(sink, skin)) return 0;
  bytes->swap(sink.bytes);
  return 1;
}

bool SheetChanged(SkinSheet& sheet, const LoadedValues& loaded, const std::string& unchanged) {
  std::string now;
  return !SheetAsSkinBytes(sheet, loaded, &now) || now != unchanged;
}

int SaveSheetAsSkin(SkinSheet& sheet, const LoadedValues& loaded, FileSystem& files, const std::string& path,
                    std::string* message) {
  std::string bytes;
  if (!SheetAsSkinBytes(sheet, loaded, &bytes)) {
    *message = "Error: Out of memory.";
    return 0;
  }
  WriteFailure failure = WriteFailure::kWrite;
  const int saved = SaveThroughNewName(files, path, bytes, &failure);
  *message = saved                             ? "Skin file was successfully saved."
             : failure == WriteFailure::kWrite ? "Error: Could not complete write operation."
                                               : "Error: Could not open file.";
  return saved;
}
