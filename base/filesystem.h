// Files, as the list files and backups need them. The Win32 adapter uses
// CreateFileA and MoveFileExA, the native one POSIX calls; MemoryFileSystem
// keeps everything in memory and can be told to fail, to stop as a killed
// process would, or to lose what a power cut loses.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

// Where writing a file went wrong, for callers that say which.
enum class WriteFailure {
  kNone,
  kCreate,   // the file could not be created
  kWrite,    // a write, the flush or the close failed
  kReplace,  // the new file could not take the old one's place
  kExists,   // a file of the name that must be new was there (left untouched)
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Reads the whole file. 0 when it cannot be opened or read.
  virtual int ReadFile(const std::string& path, std::string* contents) = 0;
  // Writes a new file (replacing one of that name), checking every write,
  // flushing its bytes to the disk and checking the close; a failure
  // removes the file again (unless the removal fails too) and, given
  // `failure`, says whether the create or a write failed. A new name
  // reaches the disk with the next FlushFolder of its folder.
  virtual int WriteNewFile(const std::string& path, const std::string& contents,
                           WriteFailure* failure = nullptr) = 0;
  // As WriteNewFile, but only under a name no file has yet (CREATE_NEW,
  // O_EXCL): a file of that name is never touched, and the create fails
  // with kExists. Files that only this process changes (memory) can check
  // first; the hosts' adapters make the check and the create one step.
  virtual int WriteFileIfNew(const std::string& path, const std::string& contents,
                             WriteFailure* failure = nullptr) {
    if (FileExists(path)) {
      if (failure) *failure = WriteFailure::kExists;
      return 0;
    }
    return WriteNewFile(path, contents, failure);
  }
  // Moves `from` over `to` atomically, replacing `to`, and flushes the move
  // to the disk (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
  virtual int ReplaceFile(const std::string& from, const std::string& to) = 0;
  // Removes the name; the removal reaches the disk with the next
  // FlushFolder of its folder.
  virtual int RemoveFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Creates the folder; an existing one is no error.
  virtual int CreateFolder(const std::string& path) = 0;
  // Puts the folder's own changes (names made and removed) on the disk.
  virtual int FlushFolder(const std::string& path) = 0;
  // The separator that ends a folder path: "\\" on Windows, "/" elsewhere.
  virtual char Separator() const = 0;
};

// Writes `contents` to a temporary file beside `path`, then replaces `path`
// with it. A failure anywhere leaves the previous file whole; `failure`, if
// given, says where it happened.
int SaveFileAtomically(FileSystem& files, const std::string& path, const std::string& contents,
                       WriteFailure* failure = nullptr);

// The host's files (POSIX natively, Win32 on Windows).
FileSystem* HostFileSystem();
// The files of the application state, or the host's when it has none.
FileSystem& AppFiles();

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
  void Release() { held_.clear(); }
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
