#include "tree/quickadd.h"

#include <cstring>
#include <string>

#include "base/appstate.h"
#include "base/prompts.h"
#include "tree/tasktree.h"

const char kInboxName[] = "Inbox";

namespace {

bool IsInboxName(const std::string& name) {
  if (name.size() != std::strlen(kInboxName)) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if ((name[i] | 0x20) != (kInboxName[i] | 0x20)) return false;
  return true;
}

}  // namespace

Node InboxNode() {
  TaskForest* lists = App().lists;
  if (!lists) return nullptr;
  for (Node at = FirstChild(*lists, kRootNode); at; at = NextSibling(*lists, at))
    if (IsInboxName(TaskName(*lists, at))) return at;
  Node inbox = InsertTask(*lists, kRootNode, kLastNode, kInboxName);
  if (inbox) ToggleBold(*lists, inbox);
  return inbox;
}

int AddToInbox(const char* text) {
  TaskForest* lists = App().lists;
  if (!lists || !text) return 0;
  int count = 0;
  Node inbox = nullptr;
  const char* at = text;
  while (*at) {
    const size_t length = std::strcspn(at, "\r\n");
    std::string line(at, length);
    at += length;
    while (*at == '\r' || *at == '\n') ++at;
    const size_t begin = line.find_first_not_of(" \t");
    if (begin == std::string::npos) continue;
    line = line.substr(begin, line.find_last_not_of(" \t") - begin + 1);
    // The Inbox is made for the first task only: a blank box makes none.
    if (!inbox && !(inbox = InboxNode())) {
      ShowWarning("InsertItem failed");
      break;
    }
    if (!InsertTask(*lists, inbox, kLastNode, line.c_str())) {
      ShowWarning("InsertItem failed");
      break;
    }
    ++count;
  }
  if (inbox && count) lists->Expand(inbox, ExpandAction::kExpand);
  return count;
}
