#include "skinedit/commandline.h"

#include <cstring>

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string SkinPathFromCommandLine(const char* line) {
  if (!line) return "";
  while (IsBlank(*line)) ++line;
  if (*line == '"') {
    const char* end = std::strchr(line + 1, '"');
    return end ? std::string(line + 1, end) : std::string(line + 1);
  }
  std::string path = line;
  while (!path.empty() && IsBlank(path.back())) path.pop_back();
  return path;
}
