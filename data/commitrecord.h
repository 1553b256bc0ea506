// The commit record of a save of the list set, "lists.journal": written
// once the three new files are complete beside the old ones and before the
// first of them replaces its predecessor; removed when all three are in
// place. It names each new file's size and checksum, so that start-up can
// tell a file already in place from one still to be moved, and the size
// and checksum of the file each replaces, so that a new file never goes
// over one put there since (a backup restored by hand, another instance's
// save). It ends with a checksum of its own, so that a record cut short
// reads as none. No list reader takes it for a list file: it has no "<".
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

// What one save does to one list file: `next` replaces what `replaced`
// seals (or, when `wasThere` is false, takes a place no file held; when
// `unknown` is true, a file that could not be read, which it replaces
// whatever it holds).
struct FileChange {
  FileSeal next;
  FileSeal replaced;
  bool wasThere;
  bool unknown;
};

struct CommitRecord {
  FileChange file[kListFileCount];
  // False for the record of an older version, which named the new files
  // alone: what they replace is not known.
  bool knowsReplaced;
};

std::string FormatCommitRecord(const CommitRecord& record);
// 1 when the text is a whole record, of this version or an older one;
// the record is then filled in.
int ParseCommitRecord(const std::string& text, CommitRecord* record);
