#include "tree/export.h"

#include <cstring>
#include <vector>

#include "base/appstate.h"
#include "base/taskrecord.h"
#include "data/treerecords.h"
#include "tree/tasktree.h"

namespace {

const char* const kTabNames[] = {"Lists", "Active", "Done"};

// Pre-order over every task of one tab, with its depth and its ancestors'
// names, without recursion.
template <typename Visit>
void WalkTab(TaskForest& tree, Visit&& visit) {
  std::vector<std::string> chain;
  Node at = FirstChild(tree, kRootNode);
  while (at) {
    std::string name = TaskName(tree, at);
    visit(at, chain, name);
    if (Node child = FirstChild(tree, at)) {
      chain.push_back(name);
      at = child;
      continue;
    }
    for (;;) {
      if (Node next = NextSibling(tree, at)) {
        at = next;
        break;
      }
      at = ParentOf(tree, at);
      if (!at) break;
      chain.pop_back();
    }
  }
}

template <typename Visit>
void ForEachTab(Visit&& visit) {
  const AppState& app = App();
  TaskForest* const trees[] = {app.lists, app.active, app.done};
  for (int tab = 0; tab < 3; ++tab) visit(tab, trees[tab]);
}

const char* StateOf(int tab, TaskForest& tree, Node node) {
  if (tab == 2) return "done";
  if (tab == 1) return "active";
  return CheckStateOf(tree, node) == kChecked ? "active" : "open";
}

// RFC 4180: a field holding a comma, a double quote or a line break is
// quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string ExportMarkdown() {
  std::string text;
  ForEachTab([&](int tab, TaskForest* tree) {
    if (!text.empty()) text += "\r\n";
    text += std::string("# ") + kTabNames[tab] + "\r\n\r\n";
    if (!tree) return;
    WalkTab(*tree, [&](Node node, const std::vector<std::string>& chain, const std::string& name) {
      text.append(2 * chain.size(), ' ');
      text += tab == 2 ? "- [x] " : "- [ ] ";
      text += name;
      TaskRecord* record = RecordOf(*tree, node);
      if (record && record->duedateset && record->duedate[0])
        text += std::string(" (due ") + record->duedate + ")";
      text += "\r\n";
    });
  });
  return text;
}

std::string ExportCsv() {
  std::string text = "tab,path,name,state,entered,activated,completed,due\r\n";
  ForEachTab([&](int tab, TaskForest* tree) {
    if (!tree) return;
    WalkTab(*tree, [&](Node node, const std::vector<std::string>& chain, const std::string& name) {
      std::string path;
      for (const std::string& up : chain) path += (path.empty() ? "" : " > ") + up;
      TaskRecord* record = RecordOf(*tree, node);
      const char* none = "";
      text += std::string(kTabNames[tab]) + "," + CsvField(path) + "," + CsvField(name) + "," +
              StateOf(tab, *tree, node) + "," + CsvField(record ? record->enterdate : none) + "," +
              CsvField(record ? record->activedate : none) + "," +
              CsvField(record ? record->completedate : none) + "," +
              CsvField(record && record->duedateset ? record->duedate : none) + "\r\n";
    });
  });
  return text;
}

std::string ExportFor(const char* path) {
  const size_t length = path ? std::strlen(path) : 0;
  if (length >= 4) {
    const char* end = path + length - 4;
    if (end[0] == '.' && (end[1] | 0x20) == 'c' && (end[2] | 0x20) == 's' && (end[3] | 0x20) == 'v')
      return ExportCsv();
  }
  return ExportMarkdown();
}
