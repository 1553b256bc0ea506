// Clipboard text: one line per node, tab-indented by depth.
#include <cstdlib>
#include <cstring>

#include "base/appstate.h"
#include "base/boundedtext.h"
#include "base/clipboard.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

// Pre-order over the subtree of `start` (the whole tree for none), with
// each node's depth below the start; the whole tree's top level is depth 0.
// Walked without recursion: a list file may nest deeper than the stack.
template <typename Visit>
void WalkWithDepth(TaskForest& tree, Node start, int depth, Visit&& visit) {
  Node stop = start;
  Node at = start;
  if (!start) {
    at = FirstChild(tree, kRootNode);
    depth = 0;
  }
  while (at) {
    visit(at, depth);
    if (Node child = FirstChild(tree, at)) {
      at = child;
      ++depth;
      continue;
    }
    for (;;) {
      if (stop && at == stop) return;
      if (Node next = NextSibling(tree, at)) {
        at = next;
        break;
      }
      at = ParentOf(tree, at);
      --depth;
      if (!at) return;
    }
  }
}

}  // namespace

size_t TreeTextLength(TaskForest& tree, Node start, int depth) {
  size_t length = 0;
  WalkWithDepth(tree, start, depth, [&](Node node, int level) {
    length +=
        static_cast<size_t>(TaskNameLength(tree, node)) + static_cast<size_t>(level > 0 ? level : 0) + 2;
  });
  return length;
}

size_t WriteTreeText(TaskForest& tree, Node start, int depth, char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t written = 0;
  buffer[0] = '\0';
  bool full = false;
  WalkWithDepth(tree, start, depth, [&](Node node, int level) {
    if (full) return;
    char name[kNameSize];
    if (!GetTaskName(tree, node, name, sizeof name)) name[0] = '\0';
    const size_t nameLength = std::strlen(name);
    const size_t tabs = static_cast<size_t>(level > 0 ? level : 0);
    const size_t line = tabs + nameLength + 2;
    // Whole lines only: a cut text would look complete on the clipboard.
    if (written + line > size - 1) {
      full = true;
      return;
    }
    std::memset(buffer + written, '\t', tabs);
    written += tabs;
    std::memcpy(buffer + written, name, nameLength);
    written += nameLength;
    buffer[written++] = '\r';
    buffer[written++] = '\n';
    buffer[written] = '\0';
  });
  return written;
}

size_t WriteTreeText(TaskForest& tree, Node start, int depth, char* buffer) {
  if (!buffer) return 0;
  return WriteTreeText(tree, start, depth, buffer, TreeTextLength(tree, start, depth) + 1);
}

namespace {

int CopyTreeText(TaskForest& tree, Node start) {
  Clipboard* clipboard = App().clipboard;
  if (!clipboard) return 0;
  const size_t size = TreeTextLength(tree, start, 0) + 1;
  char* text = static_cast<char*>(std::malloc(size));
  if (!text) return 0;
  size_t length = WriteTreeText(tree, start, 0, text, size);
  int result = clipboard->SetText(tree.Window(), text, length);
  std::free(text);
  return result;
}

}  // namespace

int CopyText(TaskForest& tree, Node node) {
  if (!node) return 0;
  return CopyTreeText(tree, node);
}

int CopyAllText(TaskForest& tree) {
  return CopyTreeText(tree, nullptr);
}

const char kActivationAlertPrefix[] = "Velkin Task Activation: ";

int BuildActivationAlert(TaskForest& lists, Node node, ActivationAlert* alert) {
  if (!node || !alert) return 0;
  char name[kNameSize];
  if (!GetTaskName(lists, node, name, sizeof name)) name[0] = '\0';
  BuildActivationAlertFor(name, alert);
  return 1;
}

void BuildActivationAlertFor(const char* name, ActivationAlert* alert) {
  char subject[292];
  CopyField(subject, kActivationAlertPrefix);
  AppendBounded(subject, name, sizeof subject);
  alert->subject = subject;
  alert->body.clear();
  if (TaskForest* active = App().active) {
    alert->body.resize(TreeTextLength(*active, nullptr, 0) + 1);
    alert->body.resize(WriteTreeText(*active, nullptr, 0, &alert->body[0], alert->body.size()));
  }
}

void BuildCatchUpAlert(const std::vector<std::string>& names, ActivationAlert* alert) {
  const std::string count = std::to_string(names.size()) + " tasks became active";
  std::string list = count + ":\r\n";
  for (const std::string& name : names) list += "\t" + name + "\r\n";
  BuildActivationAlertFor(count.c_str(), alert);
  alert->body = list + "\r\n" + alert->body;
}
