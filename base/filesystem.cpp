#include "base/filesystem.h"

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
