// Arbitrary bytes as a skin file. The organiser's reader either refuses
// them or reads a skin that the writer writes out again and both readers
// read back the same; the editor's reader takes anything. The skin's
// numbers then go through the arithmetic of the skinned look, and each slot
// through the bitmap decoder.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "skin/bmp.h"
#include "skin/skin.h"
#include "skin/skinfile.h"
#include "skin/skinlayout.h"

namespace {

bool SameSkin(const SkinFile& a, const SkinFile& b) {
  if (std::memcmp(a.values, b.values, sizeof a.values) != 0) return false;
  for (int i = 0; i < kSkinSlotCount; ++i)
    if (a.slots[i].str() != b.slots[i].str()) return false;
  return true;
}

void Exercise(const SkinFile& file) {
  Skin skin = {};
  SetSkinGeometry(file.values, &skin);
  const Size window = SkinWindowSize(skin);
  if (window.width < kMinSkinWindowSide || window.width > kMaxSkinWindowSide) abort();
  const Place trees = SkinTreePlace(skin);
  if (trees.width < 0 || trees.height < 0) abort();
  for (int b = 0; b < kSkinButtonCount; ++b) {
    const Rect r = skin.buttons[b].rect;
    const Rect visible = VisibleCopy(r, window, Size{r.right, r.bottom});
    if (!IsEmptyRect(visible) && (visible.left < 0 || visible.top < 0 || visible.right > window.width ||
                                  visible.bottom > window.height))
      abort();
    SkinPressAt(skin, Point{r.left, r.top});
  }
  for (const SlotImage& slot : file.slots) {
    BmpImage image;
    if (DecodeBmp(slot.data(), slot.size(), &image) &&
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
      abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemorySkinSource editorSource(data, size);
  SkinFile edited;
  ReadSkinForEditor(editorSource, &edited, nullptr);

  MemorySkinSource source(data, size);
  SkinFile skin;
  if (ReadSkinForOrganiser(source, &skin) != SkinReadResult::kRead) return 0;
  Exercise(skin);
  MemorySkinSink sink;
  if (!WriteSkinFile(sink, skin)) abort();
  SkinFile again;
  MemorySkinSource written(sink.bytes);
  if (ReadSkinForOrganiser(written, &again) != SkinReadResult::kRead || !SameSkin(skin, again)) abort();
  MemorySkinSource writtenForEditor(sink.bytes);
  std::vector<std::string> messages;
  if (ReadSkinForEditor(writtenForEditor, &again, &messages) != EditorReadResult::kRead || !messages.empty())
    abort();
  // The editor drops slots whose length reads as negative; none can be
  // here, each being shorter than the file.
  if (!SameSkin(skin, again)) abort();
  return 0;
}
