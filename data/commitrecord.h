// The commit record of a save of the list set, "lists.journal": written
// once the three new files are complete beside the old ones and before the
// first of them replaces its predecessor; removed when all three are in
// place. It names each new file's size and checksum, so that start-up can
// tell a file already in place from one still to be moved, and ends with a
// checksum of its own, so that a record cut short reads as none. No list
// reader takes it for a list file: it has no "<" at all.
#pragma once

#include <cstdint>
#include <string>

#include "base/appstate.h"

extern const char kCommitRecordName[];  // "lists.journal"

// A file's bytes, identified: the size and a 64-bit FNV-1a checksum.
struct FileSeal {
  uint64_t size;
  uint64_t sum;
  bool operator==(const FileSeal& other) const { return size == other.size && sum == other.sum; }
};
FileSeal SealOf(const std::string& bytes);

std::string FormatCommitRecord(const FileSeal (&seals)[kListFileCount]);
// 1 when the text is a whole record; the seals are then filled in.
int ParseCommitRecord(const std::string& text, FileSeal (&seals)[kListFileCount]);
