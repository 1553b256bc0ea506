#include "tree/pastetext.h"

#include <cstring>

#include "base/appstate.h"
#include "base/clipboard.h"
#include "base/prompts.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

struct RawLine {
  size_t tabs;
  size_t spaces;  // after the tabs
  bool marker;
  std::string name;
};

// "- [ ] ", "- [x] ", "- ", "* " at the start of `body`: the length taken.
size_t MarkerLength(const std::string& body) {
  if (body.size() < 2 || (body[0] != '-' && body[0] != '*') || body[1] != ' ') return 0;
  if (body.size() >= 6 && body[2] == '[' && (body[3] == ' ' || body[3] == 'x' || body[3] == 'X') &&
      body[4] == ']' && body[5] == ' ')
    return 6;
  return 2;
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

std::vector<RawLine> SplitLines(const char* text) {
  std::vector<RawLine> lines;
  const char* at = text;
  while (*at) {
    const size_t length = std::strcspn(at, "\r\n");
    std::string line(at, length);
    at += length;
    if (*at == '\r' && at[1] == '\n')
      at += 2;
    else if (*at)
      ++at;
    if (IsBlank(line)) continue;
    RawLine raw{};
    raw.tabs = line.find_first_not_of('\t');
    raw.spaces = line.find_first_not_of(' ', raw.tabs) - raw.tabs;
    raw.name = line.substr(raw.tabs);
    lines.push_back(raw);
  }
  return lines;
}

}  // namespace

std::vector<TaskLine> ParseTaskLines(const char* text) {
  std::vector<TaskLine> tasks;
  if (!text) return tasks;
  std::vector<RawLine> lines = SplitLines(text);
  // A Markdown list only when every line is an item: a task of Copy Text
  // whose name happens to begin with "- " keeps its name.
  bool markdown = !lines.empty();
  size_t unit = 0;  // the spaces of one level: the smallest indent met
  for (RawLine& line : lines) {
    const std::string body = line.name.substr(line.spaces);
    if (!MarkerLength(body)) {
      markdown = false;
      break;
    }
    if (line.spaces && (!unit || line.spaces < unit)) unit = line.spaces;
  }
  if (unit > 4) unit = 4;
  int least = -1;
  for (const RawLine& line : lines) {
    int depth = static_cast<int>(line.tabs);
    std::string name = line.name;
    if (markdown) {
      if (unit) depth += static_cast<int>(line.spaces / unit);
      name = name.substr(line.spaces);
      name = name.substr(MarkerLength(name));
    }
    if (least < 0 || depth < least) least = depth;
    tasks.push_back(TaskLine{depth, CleanTaskName(name.c_str())});
  }
  // Text copied from deep in a tree starts at its own least indent; a jump
  // of several levels is one level deeper.
  int previous = -1;
  for (TaskLine& task : tasks) {
    task.depth -= least;
    if (task.depth > previous + 1) task.depth = previous + 1;
    previous = task.depth;
  }
  return tasks;
}

int PasteTaskLines(TaskForest& tree, Node target, bool into, const std::vector<TaskLine>& lines) {
  Node parent = kRootNode;
  Node after = kLastNode;
  if (target && into) {
    parent = target;
    after = kFirstNode;
  } else if (target) {
    Node up = ParentOf(tree, target);
    parent = up ? up : kRootNode;
    after = target;
  }
  // The last node made at each depth: a line goes under the one of the
  // depth above it.
  std::vector<Node> made;
  Node first = nullptr;
  int count = 0;
  tree.SetRedraw(false);
  for (const TaskLine& line : lines) {
    const size_t depth = static_cast<size_t>(line.depth);
    Node under = depth == 0 ? parent : made[depth - 1];
    Node place = depth == 0 ? after : kLastNode;
    Node node = InsertTask(tree, under, place, line.name.c_str());
    if (!node) {
      ShowWarning("InsertItem failed");
      break;
    }
    if (depth == 0) after = node;
    if (!ParentOf(tree, node)) ToggleBold(tree, node);
    made.resize(depth);
    made.push_back(node);
    if (!first) first = node;
    ++count;
  }
  if (target && into && count) tree.Expand(target, ExpandAction::kExpand);
  tree.SetRedraw(true);
  if (first) {
    tree.EnsureVisible(first);
    tree.Select(first, Relation::kCaret);
  }
  return count;
}

int PasteClipboardText(TaskForest& tree, Node target, bool into) {
  if (KindOf(tree) != TreeKind::kLists || !App().clipboard) return 0;
  std::string text;
  if (!App().clipboard->GetText(&text)) return 0;
  std::vector<TaskLine> lines = ParseTaskLines(text.c_str());
  return PasteTaskLines(tree, target, into, lines) > 0 ? 1 : 0;
}

bool CanPasteClipboardText(TaskForest& tree) {
  if (KindOf(tree) != TreeKind::kLists || !App().clipboard) return false;
  std::string text;
  return App().clipboard->GetText(&text) && text.find_first_not_of(" \t\r\n") != std::string::npos;
}
