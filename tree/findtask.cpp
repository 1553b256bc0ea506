#include "tree/findtask.h"

#include <cstring>

#include "base/appstate.h"
#include "base/codepage.h"
#include "base/taskrecord.h"
#include "data/treerecords.h"
#include "tree/tasktree.h"

namespace {

const char* const kTabNames[] = {"Lists", "Active", "Done"};

TaskForest* TreeOfTab(int tab) {
  const AppState& app = App();
  TaskForest* const trees[] = {app.lists, app.active, app.done};
  return tab >= 0 && tab < 3 ? trees[tab] : nullptr;
}

void AddTree(TaskIndex* index, int tab) {
  if (tab < 0 || tab >= 3) return;
  TaskForest* tree = TreeOfTab(tab);
  index->removals[tab] = tree ? tree->Removals() : 0;
  index->counts[tab] = tree ? tree->Count() : 0;
  if (!tree) return;
  // Pre-order without recursion, keeping the chain of ancestors' entries.
  std::vector<int> chain;
  Node at = FirstChild(*tree, kRootNode);
  char name[kNameSize];
  while (at) {
    // Name and record in one request: under Wine each is a round trip.
    ForestItem item{};
    item.mask = kItemText | kItemRecord;
    item.node = at;
    item.text = name;
    item.textMax = sizeof name;
    name[0] = '\0';
    if (!tree->GetItem(item)) item.record = nullptr;
    name[sizeof name - 1] = '\0';
    const size_t length = std::strlen(name);
    index->entries.push_back(TaskIndex::Entry{at, chain.empty() ? -1 : chain.back(), tab, index->names.size(),
                                              length, item.record ? item.record->serial : 0});
    index->names.append(name, length);
    if (Node child = FirstChild(*tree, at)) {
      chain.push_back(static_cast<int>(index->entries.size() - 1));
      at = child;
      continue;
    }
    for (;;) {
      if (Node next = NextSibling(*tree, at)) {
        at = next;
        break;
      }
      at = ParentOf(*tree, at);
      if (!at) break;
      chain.pop_back();
    }
  }
}

// The small letter of a character of two bytes in UTF-8 (Latin, Greek,
// Cyrillic), which is two bytes long too; the character itself otherwise.
unsigned FoldCodePoint(unsigned c) {
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c == 0x178) return 0xFF;
  // Latin Extended-A: capitals and small letters in pairs.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  return c;
}

}  // namespace

void FoldText(std::string* text) {
  std::string& t = *text;
  if (!ProgramCodePage().ProgramTextIsUtf8()) {
    for (char& c : t) c = FoldCase(c);
    return;
  }
  for (size_t i = 0; i < t.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(t[i]);
    if (lead < 0x80) {
      if (lead >= 'A' && lead <= 'Z') t[i] = static_cast<char>(lead + 32);
      continue;
    }
    if ((lead & 0xE0) != 0xC0 || i + 1 >= t.size() || (t[i + 1] & 0xC0) != 0x80) continue;
    const unsigned c = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(t[i + 1]) & 0x3Fu);
    const unsigned folded = FoldCodePoint(c);
    t[i] = static_cast<char>(0xC0 | (folded >> 6));
    t[i + 1] = static_cast<char>(0x80 | (folded & 0x3F));
    ++i;
  }
}

char FoldCase(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  // Windows-1252: À..Þ but ×, and Š, Œ, Ž, Ÿ.
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 16);
  if (u == 0x9F) return static_cast<char>(0xFF);
  return c;
}

void BuildTaskIndex(TaskIndex* index) {
  index->entries.clear();
  index->names.clear();
  for (int tab = 0; tab < 3; ++tab) AddTree(index, tab);
  index->folded = index->names;
  FoldText(&index->folded);
}

bool TaskIndexIsCurrent(const TaskIndex& index) {
  for (int tab = 0; tab < 3; ++tab) {
    TaskForest* tree = TreeOfTab(tab);
    if (tree && (tree->Removals() != index.removals[tab] || tree->Count() != index.counts[tab])) return false;
  }
  return true;
}

size_t FilterTasks(const TaskIndex& index, const char* query, size_t limit, std::vector<size_t>* matches) {
  matches->clear();
  std::string needle = query ? query : "";
  if (needle.empty()) return 0;
  FoldText(&needle);
  const char* base = index.folded.data();
  const char first = needle[0];
  const size_t rest = needle.size() - 1;
  size_t found = 0;
  for (size_t i = 0; i < index.entries.size(); ++i) {
    const TaskIndex::Entry& entry = index.entries[i];
    if (entry.length < needle.size()) continue;
    const char* at = base + entry.offset;
    const char* last = at + entry.length - needle.size();
    bool hit = false;
    while (at <= last) {
      at = static_cast<const char*>(std::memchr(at, first, static_cast<size_t>(last - at) + 1));
      if (!at) break;
      if (std::memcmp(at + 1, needle.data() + 1, rest) == 0) {
        hit = true;
        break;
      }
      ++at;
    }
    if (!hit) continue;
    if (found++ < limit) matches->push_back(i);
  }
  return found;
}

std::string FoundTaskLabel(const TaskIndex& index, size_t entry) {
  if (entry >= index.entries.size()) return std::string();
  std::vector<int> path;
  for (int at = static_cast<int>(entry); at >= 0; at = index.entries[static_cast<size_t>(at)].parent)
    path.push_back(at);
  std::string label = kTabNames[index.entries[entry].tab];
  label += ": ";
  for (size_t k = path.size(); k-- > 0;) {
    const TaskIndex::Entry& e = index.entries[static_cast<size_t>(path[k])];
    label.append(index.names, e.offset, e.length);
    if (k) label += " > ";
  }
  return label;
}

FoundTask LocateFoundTask(const TaskIndex& index, size_t entry) {
  if (entry >= index.entries.size()) return FoundTask{-1, nullptr};
  const TaskIndex::Entry& e = index.entries[entry];
  TaskForest* tree = TreeOfTab(e.tab);
  if (!tree) return FoundTask{-1, nullptr};
  // A node held while the user could act is looked into only when nothing
  // left its tree since, or when the tree still holds it.
  if (tree->Removals() != index.removals[e.tab]) {
    if (!ContainsNode(*tree, e.node)) return FoundTask{-1, nullptr};
    // A node made since may have the old one's handle, but not its record.
    TaskRecord* record = RecordOf(*tree, e.node);
    if ((record ? record->serial : 0) != e.serial) return FoundTask{-1, nullptr};
  }
  return FoundTask{e.tab, e.node};
}
