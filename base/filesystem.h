// Files, as the list files and backups need them. The Win32 adapter uses
// CreateFileA and MoveFileExA, the native one POSIX calls; the tests' own
// MemoryFileSystem (tests/fakes/memoryfiles.h) keeps everything in memory.
#pragma once

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
