#include "data/commitrecord.h"

#include <cstdlib>

#include "data/listset.h"

const char kCommitRecordName[] = "lists.journal";

namespace {

// The first lines, for the program and for a person who finds the file.
constexpr char kHeading[] =
    "Velkin 1.0 lists journal\r\n"
    "Velkin finishes this save of the lists when it next starts: leave this file and the .tmp files "
    "beside it where they are.\r\n";

uint64_t Fnv1a(const char* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 1099511628211ull;
  }
  return hash;
}

void AppendHex(std::string& out, uint64_t value) {
  static const char kDigits[] = "0123456789abcdef";
  for (int shift = 60; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

// Reads a number of the given base that takes the whole text.
bool ReadNumber(const std::string& text, int base, uint64_t* value) {
  if (text.empty() || text.size() > 20 || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  char* end = nullptr;
  *value = std::strtoull(text.c_str(), &end, base);
  return end == text.c_str() + text.size();
}

}  // namespace

FileSeal SealOf(const std::string& bytes) {
  return FileSeal{bytes.size(), Fnv1a(bytes.data(), bytes.size())};
}

std::string FormatCommitRecord(const FileSeal (&seals)[kListFileCount]) {
  std::string out = kHeading;
  for (int file = 0; file < kListFileCount; ++file) {
    out += kListFileNames[file];
    out += ' ';
    out += std::to_string(seals[file].size);
    out += ' ';
    AppendHex(out, seals[file].sum);
    out += "\r\n";
  }
  const uint64_t own = Fnv1a(out.data(), out.size());
  out += "end ";
  AppendHex(out, own);
  out += "\r\n";
  return out;
}

int ParseCommitRecord(const std::string& text, FileSeal (&seals)[kListFileCount]) {
  if (text.compare(0, sizeof kHeading - 1, kHeading) != 0) return 0;
  size_t at = sizeof kHeading - 1;
  FileSeal read[kListFileCount];
  for (int file = 0; file < kListFileCount; ++file) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return 0;
    const std::string line = text.substr(at, end - at);
    const std::string name = std::string(kListFileNames[file]) + ' ';
    size_t gap = line.find(' ', name.size());
    if (line.compare(0, name.size(), name) != 0 || gap == std::string::npos || line.size() - gap - 1 != 16 ||
        !ReadNumber(line.substr(name.size(), gap - name.size()), 10, &read[file].size) ||
        !ReadNumber(line.substr(gap + 1), 16, &read[file].sum))
      return 0;
    at = end + 2;
  }
  uint64_t own = 0;
  if (text.size() != at + 4 + 16 + 2 || text.compare(at, 4, "end ") != 0 ||
      text.compare(text.size() - 2, 2, "\r\n") != 0 || !ReadNumber(text.substr(at + 4, 16), 16, &own) ||
      own != Fnv1a(text.data(), at))
    return 0;
  for (int file = 0; file < kListFileCount; ++file) seals[file] = read[file];
  return 1;
}
