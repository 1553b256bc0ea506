// Files, as the list files and backups need them. The Win32 adapter uses
// CreateFileA and MoveFileExA, the native one POSIX calls; MemoryFileSystem
// keeps everything in memory and can be told to fail.
#pragma once

#include <map>
#include <string>

// Where writing a file went wrong, for callers that say which.
enum class WriteFailure {
  kNone,
  kCreate,   // the file could not be created
  kWrite,    // a write, the flush or the close failed
  kReplace,  // the new file could not take the old one's place
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Reads the whole file. 0 when it cannot be opened or read.
  virtual int ReadFile(const std::string& path, std::string* contents) = 0;
  // Writes a new file (replacing one of that name), checking every write
  // and the close; a failure leaves no file of that name behind and, given
  // `failure`, says whether the create or a write failed.
  virtual int WriteNewFile(const std::string& path, const std::string& contents,
                           WriteFailure* failure = nullptr) = 0;
  // Moves `from` over `to` atomically, replacing `to`, and flushes the move
  // to the disk (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
  virtual int ReplaceFile(const std::string& from, const std::string& to) = 0;
  // Renames `from` to `to` only when `to` does not exist.
  virtual int RenameFile(const std::string& from, const std::string& to) = 0;
  virtual int RemoveFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Creates the folder; an existing one is no error.
  virtual int CreateFolder(const std::string& path) = 0;
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

// Files in memory, with failures to order. Paths are kept as given; as on
// a disk, a file can only be written into a folder made by CreateFolder
// (folders themselves need no parent: there are no drives here).
class MemoryFileSystem final : public FileSystem {
 public:
  int ReadFile(const std::string& path, std::string* contents) override;
  int WriteNewFile(const std::string& path, const std::string& contents,
                   WriteFailure* failure = nullptr) override;
  int ReplaceFile(const std::string& from, const std::string& to) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  int RemoveFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  int CreateFolder(const std::string& path) override;
  char Separator() const override { return '\\'; }

  // Failures to order: the write of any file whose path contains the text
  // stops after `bytes` bytes and fails; a replace fails.
  void FailWritesTo(const std::string& pathPart, size_t bytes) {
    failWrite_ = pathPart;
    failAfter_ = bytes;
  }
  void FailReplaces(bool fail) { failReplace_ = fail; }
  void FailFolders(bool fail) { failFolders_ = fail; }
  void Clear() { *this = MemoryFileSystem(); }

  std::map<std::string, std::string> files;
  std::map<std::string, bool> folders;

 private:
  std::string failWrite_;
  size_t failAfter_ = 0;
  bool failReplace_ = false;
  bool failFolders_ = false;
};
