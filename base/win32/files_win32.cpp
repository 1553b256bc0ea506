// The host's files on Windows.
#include <windows.h>

#include "base/filesystem.h"
#include "base/win32/scoped.h"

namespace {

// WriteFile takes a DWORD count; big buffers go in slices.
constexpr DWORD kSlice = 1u << 20;

int WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    DWORD want = size > kSlice ? kSlice : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, want, &written, nullptr) || written == 0) return 0;
    data += written;
    size -= written;
  }
  return 1;
}

class Win32FileSystem final : public FileSystem {
 public:
  int ReadFile(const std::string& path, std::string* contents) override {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0;
    std::string data;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
      data.reserve(static_cast<size_t>(size.QuadPart));
    char chunk[65536];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return 0;
      if (got == 0) break;
      data.append(chunk, got);
    }
    if (contents) contents->swap(data);
    return 1;
  }

  int WriteNewFile(const std::string& path, const std::string& contents,
                   WriteFailure* failure = nullptr) override {
    return Write(path, contents, CREATE_ALWAYS, failure);
  }

  int WriteFileIfNew(const std::string& path, const std::string& contents,
                     WriteFailure* failure = nullptr) override {
    return Write(path, contents, CREATE_NEW, failure);
  }

  int ReplaceFile(const std::string& from, const std::string& to) override {
    // A file is often held open for a moment by a virus scanner, an indexer
    // or a sync client: the move is tried for about a second before it
    // counts as failed.
    for (int attempt = 1;; ++attempt) {
      if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
      const DWORD error = GetLastError();
      if (attempt == 10 ||
          (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED))
        return 0;
      Sleep(100);
    }
  }

  int RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) ? 1 : 0; }

  bool FileExists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  int CreateFolder(const std::string& path) override {
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    // The name may be taken by a file, which is no folder to write into.
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
  }

  // Puts the folder's names (files made, moved, removed) on the disk: the
  // flush of a folder handle, which needs write access and backup
  // semantics. NTFS writes out its log of the folder's changes; FAT32,
  // exFAT and many network file systems refuse a folder's flush or cannot
  // open a folder so, and there the names are as safe as the write-through
  // moves make them: a refusal is no failed save. Only a folder that is not
  // there, or a device that failed, fails.
  int FlushFolder(const std::string& path) override {
    std::string folder = path;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    ScopedHandle handle(CreateFileA(folder.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
          error == ERROR_BAD_NETPATH)
        return 0;
      const DWORD attributes = GetFileAttributesA(folder.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return 0;
    if (FlushFileBuffers(handle.get())) return 1;
    switch (GetLastError()) {
      case ERROR_IO_DEVICE:
      case ERROR_CRC:
      case ERROR_WRITE_FAULT:
      case ERROR_NOT_READY:
      case ERROR_DEV_NOT_EXIST:
      case ERROR_NETNAME_DELETED:
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        return 0;
      default:
        return 1;
    }
  }

  char Separator() const override { return '\\'; }

 private:
  int Write(const std::string& path, const std::string& contents, DWORD disposition, WriteFailure* failure) {
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
      if (failure)
        *failure = disposition == CREATE_NEW && taken ? WriteFailure::kExists : WriteFailure::kCreate;
      return 0;
    }
    int ok = WriteAll(file.get(), contents.data(), contents.size());
    if (ok && !FlushFileBuffers(file.get())) ok = 0;
    // The close is checked too: a failure there may be the write's.
    if (!CloseHandle(file.release())) ok = 0;
    if (!ok) DeleteFileA(path.c_str());
    if (failure) *failure = ok ? WriteFailure::kNone : WriteFailure::kWrite;
    return ok;
  }
};

}  // namespace

FileSystem* HostFileSystem() {
  static Win32FileSystem files;
  return &files;
}
