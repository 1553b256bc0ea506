// Files in memory that can be told to fail, to stop as a killed process
// would, or to lose what a power cut loses.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/filesystem.h"

// The operations of a MemoryFileSystem that can be failed one by one.
enum class FileOp { kCreate, kWrite, kFlush, kClose, kRename, kDelete };
constexpr int kFileOpKinds = 6;
const char* FileOpName(FileOp op);

// Files in memory, with failures to order. Paths are kept as given; as on
// a disk, a file can only be written into a folder made by CreateFolder
// (folders themselves need no parent: there are no drives here).
//
// It goes through the same steps as the host adapters: a new file is
// created, written in slices of kWriteSlice bytes, flushed and closed, and
// removed again when any step failed. What is on "the disk" is tracked
// too: written bytes are safe once their file was flushed, a move or
// rename at once (write-through), a new name or a removal once its folder
// was flushed.
class MemoryFileSystem final : public FileSystem {
 public:
  static constexpr size_t kWriteSlice = 4096;

  int ReadFile(const std::string& path, std::string* contents) override;
  int WriteNewFile(const std::string& path, const std::string& contents,
                   WriteFailure* failure = nullptr) override;
  int ReplaceFile(const std::string& from, const std::string& to) override;
  int RemoveFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  int CreateFolder(const std::string& path) override;
  int FlushFolder(const std::string& path) override;
  char Separator() const override { return '\\'; }

  // Failures to order: the write of any file whose path contains the text
  // stops after `bytes` bytes and fails; a replace fails.
  void FailWritesTo(const std::string& pathPart, size_t bytes) {
    failWrite_ = pathPart;
    failAfter_ = bytes;
  }
  void FailReplaces(bool fail) { failReplace_ = fail; }
  void FailFolders(bool fail) { failFolders_ = fail; }
  // The n-th operation of the kind from now on (counting from 1) fails and
  // does nothing; the others go on as usual. n 0 fails none.
  void FailOperation(FileOp op, int n);
  // After n more operations of any kind the process is gone: every later
  // operation fails and does nothing. n < 0: no end.
  void StopAfter(int n);
  // Another program holds the file open (an editor, a virus scanner): it
  // can be read, but not written, replaced, renamed or removed.
  void HoldOpen(const std::string& path) { held_ = path; }
  void Release() {
    held_.clear();
    denied_.clear();
  }
  // Another program holds the file open without sharing it, or it may not
  // be read: it is there, but cannot be read either.
  void DenyReading(const std::string& path) {
    HoldOpen(path);
    denied_ = path;
  }
  // Whether the failure or the stop ordered above has happened.
  bool FailureHappened() const { return failureHappened_; }
  // Operations done since the last FailOperation or StopAfter.
  int Operations(FileOp op) const { return done_[static_cast<int>(op)]; }
  int Operations() const;
  // The power goes: everything not yet on the disk is lost (files written
  // but not flushed, removals whose folder was not flushed), and the
  // failures ordered are forgotten.
  void LosePower();
  void Clear() { *this = MemoryFileSystem(); }

  std::map<std::string, std::string> files;
  std::map<std::string, bool> folders;

 private:
  // Counts one operation; false when it must fail.
  bool Step(FileOp op);
  // Notes what the disk holds for the path before its first change that
  // is not yet on the disk.
  void Remember(const std::string& path);
  // The file as the disk holds it; none when it is not there.
  std::optional<std::string> OnDisk(const std::string& path) const;

  std::string failWrite_;
  size_t failAfter_ = 0;
  std::string held_;
  std::string denied_;
  bool failReplace_ = false;
  bool failFolders_ = false;
  FileOp failOp_ = FileOp::kCreate;
  int failAt_ = 0;
  int stopAfter_ = -1;
  bool failureHappened_ = false;
  int done_[kFileOpKinds] = {};
  // Paths whose disk state differs from `files`: what the disk holds.
  std::map<std::string, std::optional<std::string>> disk_;
  // Files whose bytes are not yet on the disk.
  std::set<std::string> unflushed_;
};
