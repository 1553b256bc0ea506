// The host's files on a POSIX system.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/filesystem.h"

namespace {

int CloseChecked(int fd) {
  // close() must not be retried after EINTR on Linux: the descriptor is gone.
  return close(fd) == 0 || errno == EINTR;
}

int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return 0;
    }
    if (written == 0) return 0;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return 1;
}

// Puts a folder's entries on the disk. Some file systems cannot sync a
// folder (EINVAL): there the entries are as safe as they get.
int SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  int ok = fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
  close(fd);
  return ok;
}

// Makes a finished rename durable: the directory entry is on the disk too.
void SyncFolderOf(const std::string& path) {
  size_t at = path.find_last_of('/');
  SyncFolder(at == std::string::npos ? "." : (at == 0 ? "/" : path.substr(0, at)));
}

class PosixFileSystem final : public FileSystem {
 public:
  int ReadFile(const std::string& path, std::string* contents) override {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::string data;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
      ssize_t got = read(fd, chunk, sizeof chunk);
      if (got < 0) {
        if (errno == EINTR) continue;
        close(fd);
        return 0;
      }
      if (got == 0) break;
      data.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    if (contents) contents->swap(data);
    return 1;
  }

  int WriteNewFile(const std::string& path, const std::string& contents,
                   WriteFailure* failure = nullptr) override {
    return Write(path, contents, O_TRUNC, failure);
  }

  int WriteFileIfNew(const std::string& path, const std::string& contents,
                     WriteFailure* failure = nullptr) override {
    return Write(path, contents, O_EXCL, failure);
  }

  int ReplaceFile(const std::string& from, const std::string& to) override {
    if (rename(from.c_str(), to.c_str()) != 0) return 0;
    SyncFolderOf(to);
    return 1;
  }

  int RemoveFile(const std::string& path) override { return unlink(path.c_str()) == 0; }

  bool FileExists(const std::string& path) override {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
  }

  int CreateFolder(const std::string& path) override {
    if (mkdir(path.c_str(), 0777) == 0) return 1;
    if (errno != EEXIST) return 0;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  int FlushFolder(const std::string& path) override { return SyncFolder(path.empty() ? "." : path); }

  char Separator() const override { return '/'; }

 private:
  int Write(const std::string& path, const std::string& contents, int disposition, WriteFailure* failure) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | disposition | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (failure)
        *failure = disposition == O_EXCL && errno == EEXIST ? WriteFailure::kExists : WriteFailure::kCreate;
      return 0;
    }
    int ok = WriteAll(fd, contents.data(), contents.size());
    if (ok && fsync(fd) != 0) ok = 0;
    if (!CloseChecked(fd)) ok = 0;
    if (!ok) unlink(path.c_str());
    if (failure) *failure = ok ? WriteFailure::kNone : WriteFailure::kWrite;
    return ok;
  }
};

}  // namespace

FileSystem* HostFileSystem() {
  static PosixFileSystem files;
  return &files;
}
