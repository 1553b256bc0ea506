#include "fakes/memoryfiles.h"

#include <algorithm>
#include <utility>

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

const char* FileOpName(FileOp op) {
  switch (op) {
    case FileOp::kCreate:
      return "create";
    case FileOp::kWrite:
      return "write";
    case FileOp::kFlush:
      return "flush";
    case FileOp::kClose:
      return "close";
    case FileOp::kRename:
      return "rename";
    case FileOp::kDelete:
      return "delete";
  }
  return "?";
}

// Paths are keys exactly as given; only a folder's trailing separators are
// dropped, so "C:\a\" and "C:\a" name one folder. A file can be written
// only into a folder that was created (as on a disk, where the open would
// fail); folders themselves need no parents, there being no drives here.
void MemoryFileSystem::FailOperation(FileOp op, int n) {
  failOp_ = op;
  failAt_ = n;
  failureHappened_ = false;
  for (int& count : done_) count = 0;
}

void MemoryFileSystem::StopAfter(int n) {
  stopAfter_ = n;
  failureHappened_ = false;
  for (int& count : done_) count = 0;
}

int MemoryFileSystem::Operations() const {
  int total = 0;
  for (int count : done_) total += count;
  return total;
}

bool MemoryFileSystem::Step(FileOp op) {
  if (stopAfter_ >= 0 && Operations() >= stopAfter_) {
    failureHappened_ = true;
    return false;
  }
  int count = ++done_[static_cast<int>(op)];
  if (failAt_ > 0 && op == failOp_ && count == failAt_) {
    failureHappened_ = true;
    return false;
  }
  return true;
}

std::optional<std::string> MemoryFileSystem::OnDisk(const std::string& path) const {
  auto noted = disk_.find(path);
  if (noted != disk_.end()) return noted->second;
  auto found = files.find(path);
  if (found != files.end()) return found->second;
  return std::nullopt;
}

void MemoryFileSystem::Remember(const std::string& path) {
  if (!disk_.count(path)) disk_[path] = OnDisk(path);
}

namespace {

// Drops the note of a path whose disk state has caught up with it.
void Forget(std::map<std::string, std::optional<std::string>>& disk,
            const std::map<std::string, std::string>& files, const std::string& path) {
  auto noted = disk.find(path);
  if (noted == disk.end()) return;
  auto found = files.find(path);
  if (found == files.end() ? !noted->second : (noted->second && *noted->second == found->second))
    disk.erase(noted);
}

}  // namespace

int MemoryFileSystem::ReadFile(const std::string& path, std::string* contents) {
  auto found = files.find(path);
  if (found == files.end() || path == denied_) return 0;
  if (contents) *contents = found->second;
  return 1;
}

int MemoryFileSystem::WriteNewFile(const std::string& path, const std::string& contents,
                                   WriteFailure* failure) {
  if (failure) *failure = WriteFailure::kCreate;
  if (!Step(FileOp::kCreate) || path == held_) return 0;
  std::string folder = FolderOf(path);
  if (!folder.empty() && !folders.count(WithoutTrailingSeparators(folder))) return 0;
  if (folders.count(WithoutTrailingSeparators(path))) return 0;  // a folder is in the way
  Remember(path);
  std::string& file = files[path];
  file.clear();
  unflushed_.insert(path);
  // The disk fills up after failAfter_ bytes of a file whose path holds
  // failWrite_: what fits is written, then the write fails.
  const size_t room =
      !failWrite_.empty() && path.find(failWrite_) != std::string::npos ? failAfter_ : std::string::npos;
  bool ok = true;
  for (size_t at = 0; ok && at < contents.size();) {
    size_t slice = std::min(kWriteSlice, contents.size() - at);
    if (!Step(FileOp::kWrite)) {
      ok = false;
    } else if (at + slice > room) {
      file.append(contents, at, room - at);
      ok = false;
    } else {
      file.append(contents, at, slice);
      at += slice;
    }
  }
  if (ok && !Step(FileOp::kFlush)) ok = false;
  if (ok) {
    // The bytes are on the disk; a new name only with its folder's flush.
    unflushed_.erase(path);
    auto noted = disk_.find(path);
    if (noted != disk_.end() && noted->second) disk_.erase(noted);
  }
  if (!Step(FileOp::kClose)) ok = false;
  // As the host adapters do: a file that failed is removed again.
  if (!ok && Step(FileOp::kDelete)) {
    files.erase(path);
    unflushed_.erase(path);
    Forget(disk_, files, path);
  }
  if (failure) *failure = ok ? WriteFailure::kNone : WriteFailure::kWrite;
  return ok ? 1 : 0;
}

// A move is on the disk at once (write-through); the bytes moved are those
// of `from` when they were flushed, else what the disk held of it.
int MemoryFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  if (!Step(FileOp::kRename) || failReplace_ || from == held_ || to == held_) return 0;
  auto found = files.find(from);
  if (found == files.end() || folders.count(WithoutTrailingSeparators(to))) return 0;
  const bool unflushed = unflushed_.erase(from) != 0;
  std::string moved = unflushed ? OnDisk(from).value_or(std::string()) : found->second;
  std::string contents = std::move(found->second);
  files.erase(found);
  files[to] = std::move(contents);
  if (unflushed)
    unflushed_.insert(to);
  else
    unflushed_.erase(to);
  disk_[to] = std::move(moved);
  disk_[from] = std::nullopt;
  Forget(disk_, files, to);
  Forget(disk_, files, from);
  return 1;
}

int MemoryFileSystem::RemoveFile(const std::string& path) {
  if (!Step(FileOp::kDelete) || !files.count(path) || path == held_) return 0;
  Remember(path);
  files.erase(path);
  unflushed_.erase(path);
  Forget(disk_, files, path);
  return 1;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  return files.count(path) != 0;
}

int MemoryFileSystem::CreateFolder(const std::string& path) {
  if (failFolders_ || files.count(WithoutTrailingSeparators(path))) return 0;
  folders[WithoutTrailingSeparators(path)] = true;
  return 1;
}

// The names in the folder reach the disk: removed ones are gone for good,
// new ones are there, holding their bytes when those were flushed.
int MemoryFileSystem::FlushFolder(const std::string& path) {
  if (!Step(FileOp::kFlush)) return 0;
  const std::string folder = WithoutTrailingSeparators(path);
  if (!folders.count(folder)) return 0;
  for (auto at = disk_.begin(); at != disk_.end();) {
    if (WithoutTrailingSeparators(FolderOf(at->first)) != folder) {
      ++at;
      continue;
    }
    auto found = files.find(at->first);
    if (found == files.end()) {
      at = disk_.erase(at);
      continue;
    }
    if (!unflushed_.count(at->first))
      at->second = found->second;
    else if (!at->second)
      at->second = std::string();
    if (*at->second == found->second) {
      at = disk_.erase(at);
      continue;
    }
    ++at;
  }
  return 1;
}

void MemoryFileSystem::LosePower() {
  for (auto& noted : disk_) {
    if (noted.second)
      files[noted.first] = *noted.second;
    else
      files.erase(noted.first);
  }
  disk_.clear();
  unflushed_.clear();
  failAt_ = 0;
  stopAfter_ = -1;
}
