// Assembles a skin file from a folder holding a skin.txt and its bitmaps,
// with the project's own writer, for the skins bundled with the organiser:
//
//   skinpack FOLDER OUTPUT
//
// skin.txt has one entry a line ("#" starts a comment):
//   window W H | radius R | titlebar H | text R G B | back R G B
//   tree / close / lists / active / done / calendar  LEFT RIGHT TOP BOTTOM
//   background / check-empty / check-checked / tree-background
//   / close-normal ... calendar-selected  FILE.bmp
// or the single word "plain" for the 2-byte file that chooses the plain
// look. Every value must be given. Each bitmap must be one the editor would
// take (at most 1 MiB, its size field its length) and one the organiser can
// show; check boxes must be 16 x 16 and rectangles must lie in the window.
// The file written is read back with the organiser's reader before it
// counts. Exit code 1 and a message on stderr for anything wrong.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "skin/bmp.h"
#include "skin/skinfile.h"

namespace {

struct Entry {
  int firstValue;  // -1 for a bitmap
  int count;
  int slot;
};

std::map<std::string, Entry> Entries() {
  std::map<std::string, Entry> entries = {
      {"window", {kValueWindowWidth, 2, -1}},
      {"radius", {kValueCornerRadius, 1, -1}},
      {"titlebar", {kValueTitleBarHeight, 1, -1}},
      {"text", {kValueTextColour, 3, -1}},
      {"back", {kValueBackColour, 3, -1}},
      {"tree", {kValueTreeRect, 4, -1}},
      {"background", {-1, 0, kSlotWindowBackground}},
      {"check-empty", {-1, 0, kSlotCheckEmpty}},
      {"check-checked", {-1, 0, kSlotCheckChecked}},
      {"tree-background", {-1, 0, kSlotTreeBackground}},
  };
  const char* const buttons[kSkinButtonCount] = {"close", "lists", "active", "done", "calendar"};
  const char* const pictures[3] = {"normal", "hover", "selected"};
  for (int b = 0; b < kSkinButtonCount; ++b) {
    entries[buttons[b]] = {ButtonRectValue(b), 4, -1};
    for (int p = 0; p < 3; ++p)
      entries[std::string(buttons[b]) + "-" + pictures[p]] = {-1, 0, ButtonSlot(b, p)};
  }
  return entries;
}

int Fail(const std::string& where, const std::string& what) {
  std::fprintf(stderr, "skinpack: %s: %s\n", where.c_str(), what.c_str());
  return 1;
}

bool ReadWhole(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = all.str();
  return true;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// A rectangle stored left, right, top, bottom must lie in the window and
// not be inside out.
bool InWindow(const int32_t* values, int first) {
  const int32_t left = values[first], right = values[first + 1], top = values[first + 2],
                bottom = values[first + 3];
  return left >= 0 && top >= 0 && left < right && top < bottom && right <= values[kValueWindowWidth] &&
         bottom <= values[kValueWindowHeight];
}

int Pack(const std::string& folder, const std::string& output) {
  const std::string manifest = folder + "/skin.txt";
  std::ifstream in(manifest);
  if (!in) return Fail(manifest, "cannot be read");
  const std::map<std::string, Entry> entries = Entries();
  SkinFile skin;
  bool given[kSkinValueCount] = {};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string where = manifest + ":" + std::to_string(number);
    std::istringstream words(line.substr(0, line.find('#')));
    std::string key;
    if (!(words >> key)) continue;
    if (key == "plain") return WriteWhole(output, "\r\n") ? 0 : Fail(output, "cannot be written");
    auto entry = entries.find(key);
    if (entry == entries.end()) return Fail(where, "unknown entry " + key);
    if (entry->second.slot >= 0) {
      std::string name, bytes;
      if (!(words >> name) || !ReadWhole(folder + "/" + name, &bytes))
        return Fail(where, "no bitmap " + name);
      if (CheckSlotFile(bytes.data(), bytes.size()) != SlotFileCheck::kFits)
        return Fail(where, name + " is larger than 1 MiB or its size field is not its length");
      BmpImage image;
      if (!DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image))
        return Fail(where, name + " is no uncompressed bitmap the organiser can show");
      const int slot = entry->second.slot;
      if ((slot == kSlotCheckEmpty || slot == kSlotCheckChecked) && (image.width != 16 || image.height != 16))
        return Fail(where, name + " is not 16 x 16");
      skin.slots[slot].Assign(bytes.data(), bytes.size());
      continue;
    }
    for (int i = 0; i < entry->second.count; ++i) {
      if (!(words >> skin.values[entry->second.firstValue + i])) return Fail(where, "too few numbers");
      given[entry->second.firstValue + i] = true;
    }
  }
  for (int i = 0; i < kSkinValueCount; ++i)
    if (!given[i]) return Fail(manifest, "value " + std::to_string(i) + " is not given");
  for (int first : {int{kValueTreeRect}, ButtonRectValue(0), ButtonRectValue(1), ButtonRectValue(2),
                    ButtonRectValue(3), ButtonRectValue(4)})
    if (!InWindow(skin.values, first))
      return Fail(manifest, "rectangle " + std::to_string(first) + " is not in the window");

  MemorySkinSink sink;
  if (!WriteSkinFile(sink, skin)) return Fail(output, "cannot be assembled");
  SkinFile check;
  MemorySkinSource source(sink.bytes);
  if (ReadSkinForOrganiser(source, &check) != SkinReadResult::kRead)
    return Fail(output, "does not read back");
  return WriteWhole(output, sink.bytes) ? 0 : Fail(output, "cannot be written");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skinpack FOLDER OUTPUT\n");
    return 2;
  }
  return Pack(argv[1], argv[2]);
}
