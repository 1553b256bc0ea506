#include "data/commitrecord.h"

#include <cstdlib>
#include <vector>

#include "data/listset.h"

const char kCommitRecordName[] = "lists.journal";

namespace {

// The first lines, for the program and for a person who finds the file.
// Older versions wrote the first heading and the new files alone; they
// read this version's record as one cut short.
constexpr char kAdvice[] =
    "Velkin finishes this save of the lists when it next starts: leave this file and the .tmp files "
    "beside it where they are.\r\n";
constexpr char kHeadingOld[] = "Velkin 1.0 lists journal\r\n";
constexpr char kHeading[] = "Velkin 1.0 lists journal 2\r\n";
constexpr char kReplaces[] = "replaces";
constexpr char kNothing[] = "nothing";
constexpr char kUnknown[] = "unknown";

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

void AppendSeal(std::string& out, const FileSeal& seal) {
  out += std::to_string(seal.size);
  out += ' ';
  AppendHex(out, seal.sum);
}

// The words of a line, split at single spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words(1);
  for (char c : line) {
    if (c == ' ')
      words.emplace_back();
    else
      words.back().push_back(c);
  }
  return words;
}

bool ReadSeal(const std::string& size, const std::string& sum, FileSeal* seal) {
  return sum.size() == 16 && ReadNumber(size, 10, &seal->size) && ReadNumber(sum, 16, &seal->sum);
}

// One file's line: "list.xml <size> <sum>", then in this version
// "replaces <size> <sum>" or "replaces nothing".
bool ReadChange(const std::string& line, int file, bool knowsReplaced, FileChange* change) {
  const std::vector<std::string> words = Words(line);
  if (words[0] != kListFileNames[file]) return false;
  if (!knowsReplaced) return words.size() == 3 && ReadSeal(words[1], words[2], &change->next);
  if (words.size() < 5 || words[3] != kReplaces || !ReadSeal(words[1], words[2], &change->next)) return false;
  change->wasThere = words.size() == 6 || words[4] == kUnknown;
  change->unknown = words[4] == kUnknown;
  if (words.size() == 5) {
    change->replaced = FileSeal{0, 0};
    return words[4] == kNothing || words[4] == kUnknown;
  }
  return ReadSeal(words[4], words[5], &change->replaced);
}

}  // namespace

FileSeal SealOf(const std::string& bytes) {
  return FileSeal{bytes.size(), Fnv1a(bytes.data(), bytes.size())};
}

std::string FormatCommitRecord(const CommitRecord& record) {
  std::string out = std::string(kHeading) + kAdvice;
  for (int file = 0; file < kListFileCount; ++file) {
    const FileChange& change = record.file[file];
    out += kListFileNames[file];
    out += ' ';
    AppendSeal(out, change.next);
    out += ' ';
    out += kReplaces;
    out += ' ';
    if (change.unknown)
      out += kUnknown;
    else if (change.wasThere)
      AppendSeal(out, change.replaced);
    else
      out += kNothing;
    out += "\r\n";
  }
  const uint64_t own = Fnv1a(out.data(), out.size());
  out += "end ";
  AppendHex(out, own);
  out += "\r\n";
  return out;
}

int ParseCommitRecord(const std::string& text, CommitRecord* record) {
  const std::string advice(kAdvice);
  bool knowsReplaced = true;
  size_t at = 0;
  if (text.compare(0, sizeof kHeading - 1, kHeading) == 0) {
    at = sizeof kHeading - 1;
  } else if (text.compare(0, sizeof kHeadingOld - 1, kHeadingOld) == 0) {
    at = sizeof kHeadingOld - 1;
    knowsReplaced = false;
  } else {
    return 0;
  }
  if (text.compare(at, advice.size(), advice) != 0) return 0;
  at += advice.size();
  CommitRecord read{};
  read.knowsReplaced = knowsReplaced;
  for (int file = 0; file < kListFileCount; ++file) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos ||
        !ReadChange(text.substr(at, end - at), file, knowsReplaced, &read.file[file]))
      return 0;
    at = end + 2;
  }
  uint64_t own = 0;
  if (text.size() != at + 4 + 16 + 2 || text.compare(at, 4, "end ") != 0 ||
      text.compare(text.size() - 2, 2, "\r\n") != 0 || !ReadNumber(text.substr(at + 4, 16), 16, &own) ||
      own != Fnv1a(text.data(), at))
    return 0;
  *record = read;
  return 1;
}
