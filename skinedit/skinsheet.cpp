#include "skinedit/skinsheet.h"

#include <cstdio>
#include <utility>

const char kSheetTitle[] = "Skin Properties";

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

int SaveSheetAsSkin(SkinSheet& sheet, const LoadedValues& loaded, FileSystem& files, const std::string& path,
                    std::string* message) {
  SkinFile skin;
  for (int i = 0; i < kSkinValueCount; ++i)
    skin.values[i] = FieldValue(sheet.FieldText(kFieldMap[i]), loaded, i);
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    const SlotImage* image = sheet.PreviewImage(kSlotMap[slot]);
    // A slot dropped for want of memory would be a skin silently missing
    // a picture: nothing is written instead.
    if (image && !skin.slots[slot].Assign(image->data(), image->size())) {
      *message = "Error: Out of memory.";
      return 0;
    }
  }
  // Each slot is written with the number of bytes it holds as its length,
  // whatever its bitmap's own size field says: the length table then
  // describes exactly the bytes that follow, for both readers.
  MemorySkinSink bytes;
  WriteFailure failure = WriteFailure::kWrite;
  const int saved = WriteSkinFile(bytes, skin) && SaveFileAtomically(files, path, bytes.bytes, &failure);
  *message = saved                             ? "Skin file was successfully saved."
             : failure == WriteFailure::kWrite ? "Error: Could not complete write operation."
                                               : "Error: Could not open file.";
  return saved;
}
