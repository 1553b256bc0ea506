#include "base/filesystem.h"

#include <utility>

#include "base/appstate.h"

int SaveFileAtomically(FileSystem& files, const std::string& path, const std::string& contents,
                       WriteFailure* failure) {
  // The previous file is only ever replaced by a complete new one: a full
  // disk or a failed write cannot leave the user with half a list.
  const std::string temp = path + ".tmp";
  WriteFailure why = WriteFailure::kNone;
  if (!files.WriteNewFile(temp, contents, &why)) {
    files.RemoveFile(temp);
  } else if (!files.ReplaceFile(temp, path)) {
    files.RemoveFile(temp);
    why = WriteFailure::kReplace;
  }
  if (failure) *failure = why;
  return why == WriteFailure::kNone ? 1 : 0;
}

FileSystem& AppFiles() {
  return App().files ? *App().files : *HostFileSystem();
}

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The folder a path lies in, without its separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
  size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  return path;
}

}  // namespace

// Paths are keys exactly as given; only a folder's trailing separators are
// dropped, so "C:\a\" and "C:\a" name one folder. A file can be written
// only into a folder that was created (as on a disk, where the open would
// fail); folders themselves need no parents, there being no drives here.
int MemoryFileSystem::ReadFile(const std::string& path, std::string* contents) {
  auto found = files.find(path);
  if (found == files.end()) return 0;
  if (contents) *contents = found->second;
  return 1;
}

int MemoryFileSystem::WriteNewFile(const std::string& path, const std::string& contents,
                                   WriteFailure* failure) {
  WriteFailure why = WriteFailure::kNone;
  std::string folder = FolderOf(path);
  if (!folder.empty() && !folders.count(WithoutTrailingSeparators(folder))) {
    why = WriteFailure::kCreate;
  } else if (!failWrite_.empty() && path.find(failWrite_) != std::string::npos &&
             contents.size() > failAfter_) {
    // The disk filled up after failAfter_ bytes: the half-written file is
    // removed, as the real adapters do. A shorter file still fits.
    files.erase(path);
    why = WriteFailure::kWrite;
  } else {
    files[path] = contents;
  }
  if (failure) *failure = why;
  return why == WriteFailure::kNone ? 1 : 0;
}

int MemoryFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  if (failReplace_) return 0;
  auto found = files.find(from);
  if (found == files.end()) return 0;
  std::string contents = std::move(found->second);
  files.erase(found);
  files[to] = std::move(contents);
  return 1;
}

int MemoryFileSystem::RenameFile(const std::string& from, const std::string& to) {
  auto found = files.find(from);
  if (found == files.end() || files.count(to) || folders.count(WithoutTrailingSeparators(to))) return 0;
  std::string contents = std::move(found->second);
  files.erase(found);
  files[to] = std::move(contents);
  return 1;
}

int MemoryFileSystem::RemoveFile(const std::string& path) {
  return files.erase(path) ? 1 : 0;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  return files.count(path) != 0;
}

int MemoryFileSystem::CreateFolder(const std::string& path) {
  if (failFolders_) return 0;
  folders[WithoutTrailingSeparators(path)] = true;
  return 1;
}
