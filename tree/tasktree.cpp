#include "tree/tasktree.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/appstate.h"
#include "base/codepage.h"
#include "base/prompts.h"
#include "base/scale.h"
#include "base/taskrecord.h"
#include "data/datetext.h"

namespace {

// Every state bit a copy takes over: all but focus and partial expansion.
constexpr unsigned kCopiedStateMask = 0xFF7E;

void SetState(TaskForest& tree, Node node, unsigned state, unsigned mask, int* result) {
  ForestItem item{};
  item.mask = kItemState;
  item.node = node;
  item.state = state;
  item.stateMask = mask;
  *result = tree.SetItem(item);
}

// The first node of a post-order walk from `node`: its deepest first child.
Node DeepestFirst(TaskForest& tree, Node node) {
  for (Node child = FirstChild(tree, node); child; child = FirstChild(tree, node)) node = child;
  return node;
}

// The node after `node` in post-order over the whole forest.
Node NextInPostOrder(TaskForest& tree, Node node) {
  if (Node next = NextSibling(tree, node)) return DeepestFirst(tree, next);
  return ParentOf(tree, node);
}

}  // namespace

std::string CleanTaskName(const char* name) {
  std::string clean;
  if (!name) return clean;
  const bool utf8 = ProgramCodePage().ProgramTextIsUtf8();
  const size_t length = strnlen(name, kNameSize - 1);
  for (size_t at = 0; at < length; ++at) {
    const char c = name[at];
    if (c == '<')
      clean += utf8 ? "\xE2\x80\xB9" : "\x8B";  // U+2039, Windows-1252's 0x8B
    else if (c == '>')
      clean += utf8 ? "\xE2\x80\xBA" : "\x9B";  // U+203A
    else
      clean.push_back(c);
  }
  // Bytes that are not UTF-8 cannot come from a control; whatever passes
  // them on reads them as the legacy code page's, so that no list file
  // holds a name that is not UTF-8.
  if (utf8 && !IsUtf8(clean.data(), clean.size())) clean = LegacyBytesToUtf8(clean);
  clean.resize(ProgramTextPrefix(clean.data(), clean.size(), kMaxNameLength));
  return clean;
}

Node InsertTask(TaskForest& tree, Node parent, Node after, const char* name) {
  std::string text = CleanTaskName(name);
  TaskRecord* record = NewTaskRecord();
  if (!record) return nullptr;
  const bool lists = &tree == App().lists;
  if (lists) RegisterTask(App().tasks, record);
  CopyField(record->enterdate, StampNow().c_str());

  ForestItem item{};
  item.mask = kItemText | kItemRecord;
  item.text = &text[0];
  item.record = record;
  tree.SetRedraw(false);
  Node node = tree.Insert(parent, after, item);
  tree.SetRedraw(true);
  if (!node) {
    // Nothing may point at a record no node carries.
    if (lists) UnregisterTask(App().tasks, record);
    FreeTaskRecord(record);
    return nullptr;
  }
  record->treeitem = node;
  return node;
}

int ToggleBold(TaskForest& tree, Node node) {
  ForestItem item{};
  item.mask = kItemState;
  item.node = node;
  if (!tree.GetItem(item)) return 0;
  int result = 0;
  SetState(tree, node, (item.state & kStateBold) ^ kStateBold, kStateBold, &result);
  return result;
}

int GetTaskName(TaskForest& tree, Node node, char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  ForestItem item{};
  item.mask = kItemText;
  item.node = node;
  item.text = buffer;
  item.textMax = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
  int result = tree.GetItem(item);
  buffer[size - 1] = '\0';
  // A label set past the cleaning still reads as a name.
  buffer[ProgramTextPrefix(buffer, std::strlen(buffer), kMaxNameLength)] = '\0';
  return result;
}

std::string TaskName(TaskForest& tree, Node node) {
  char buffer[kNameSize];
  if (!GetTaskName(tree, node, buffer, sizeof buffer)) return std::string();
  return buffer;
}

int TaskNameLength(TaskForest& tree, Node node) {
  if (!node) return 0;
  char buffer[kNameSize + 1];
  if (!GetTaskName(tree, node, buffer, sizeof buffer)) return 0;
  return static_cast<int>(std::strlen(buffer));
}

int SetTaskName(TaskForest& tree, Node node, const char* text) {
  std::string clean = CleanTaskName(text);
  ForestItem item{};
  item.mask = kItemText;
  item.node = node;
  item.text = &clean[0];
  return tree.SetItem(item);
}

bool IsExpanded(TaskForest& tree, Node node) {
  return tree.GetState(node, kStateExpanded) != 0;
}

unsigned CheckStateOf(TaskForest& tree, Node node) {
  return StateImageOf(tree.GetState(node, kStateImageMask));
}

int SetUnchecked(TaskForest& tree, Node node) {
  int result = 0;
  SetState(tree, node, StateImage(kUnchecked), kStateImageMask, &result);
  return result;
}

int ToggleChecked(TaskForest& tree, Node node) {
  unsigned next = CheckStateOf(tree, node) == kUnchecked ? kChecked : kUnchecked;
  int result = 0;
  SetState(tree, node, StateImage(next), kStateImageMask, &result);
  return result;
}

Node CopySubtree(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after) {
  if (!node || node == kRootNode) return nullptr;
  if (&destination == &source) {
    for (Node up = parent; up && up != kRootNode; up = ParentOf(source, up))
      if (up == node) return nullptr;
  }

  // One node's copy: text, images, record and state, inserted under
  // `under`. The caller suspends painting.
  char text[kNameSize];
  auto copyOne = [&](Node from, Node under, Node where) -> Node {
    ForestItem item{};
    item.mask = kItemText | kItemImage | kItemSelectedImage | kItemRecord | kItemState;
    item.node = from;
    item.text = text;
    item.textMax = sizeof text;
    item.stateMask = kCopiedStateMask;
    text[0] = '\0';
    if (!source.GetItem(item)) return nullptr;
    text[sizeof text - 1] = '\0';
    item.node = nullptr;
    // The caret's and the drop target's highlight stay behind: a copy that
    // kept them would look selected without being the caret.
    item.state &= kCopiedStateMask & ~(kStateSelected | kStateDropHilited);
    item.stateMask = kCopiedStateMask;
    return destination.Insert(under, where, item);
  };

  destination.SetRedraw(false);
  Node top = copyOne(node, parent, after);
  if (!top) {
    destination.SetRedraw(true);
    return nullptr;
  }

  // Breadth first with each copy appended to its parent's children: the
  // order of siblings is kept, no recursion is needed for deep trees, and
  // appending costs the control nothing however many siblings there are.
  struct Pending {
    Node from;
    Node copy;
  };
  std::vector<Pending> pending{{node, top}};
  std::vector<Node> toCollapse;
  bool failed = false;
  for (size_t i = 0; i < pending.size() && !failed; ++i) {
    Pending at = pending[i];
    Node child = FirstChild(source, at.from);
    if (!child) continue;
    if (!IsExpanded(source, at.from)) toCollapse.push_back(at.copy);
    for (; child; child = NextSibling(source, child)) {
      Node copy = copyOne(child, at.copy, kLastNode);
      if (!copy) {
        failed = true;
        break;
      }
      pending.push_back({child, copy});
    }
  }
  if (failed) {
    // A partial copy would pass for a whole one and its source be deleted
    // after it: take it back and report the failure.
    destination.Delete(top);
    destination.SetRedraw(true);
    return nullptr;
  }
  for (Node copy : toCollapse) destination.Expand(copy, ExpandAction::kCollapse);
  destination.Select(top, Relation::kCaret);
  destination.SetRedraw(true);
  return top;
}

void Relink(TaskForest& tree, Node node) {
  TaskForest* other = nullptr;
  if (&tree == App().lists)
    other = App().active;
  else if (&tree == App().active)
    other = App().lists;
  ForEachInSubtree(tree, node, [&](Node at) {
    TaskRecord* record = RecordOf(tree, at);
    if (!record) return;
    record->treeitem = at;
    if (!record->link || !other) return;
    if (TaskRecord* partner = RecordOf(*other, record->link)) partner->link = at;
  });
}

Node CopyAndRelink(TaskForest& destination, TaskForest& source, Node node, Node parent, Node after) {
  Node copy = CopySubtree(destination, source, node, parent, after);
  if (copy) Relink(destination, copy);
  return copy;
}

MoveResult MoveSubtree(TaskForest& tree, Node node, Node target, bool into) {
  if (!node || !target) return MoveResult::kNotCopied;
  Node copy;
  if (into) {
    copy = CopyAndRelink(tree, tree, node, target, kFirstNode);
    if (copy) tree.Expand(target, ExpandAction::kExpand);
  } else {
    Node parent = target == kRootNode ? nullptr : ParentOf(tree, target);
    copy = CopyAndRelink(tree, tree, node, parent ? parent : kRootNode, target);
  }
  if (!copy) return MoveResult::kNotCopied;
  if (!tree.Delete(node)) {
    // Deleting either of two nodes that carry the same records would free
    // what the other still uses.
    tree.Delete(copy);
    Relink(tree, node);
    return MoveResult::kNotDeleted;
  }
  return MoveResult::kMoved;
}

void ResolveLinks() {
  TaskForest* lists = App().lists;
  TaskForest* active = App().active;
  if (!lists || !active) return;

  // One walk over Active: every record, and the key holders sorted by key
  // and, within a key, by tree order. A Lists node then takes the first
  // holder of its key not yet taken, exactly as a search from the top of
  // Active for an unpaired holder would find it.
  struct Holder {
    int32_t key;
    uint32_t order;
    Node node;
    TaskRecord* record;
  };
  std::vector<TaskRecord*> activeRecords;
  std::vector<Holder> holders;
  ForEachNode(*active, [&](Node at) {
    TaskRecord* record = RecordOf(*active, at);
    if (!record) return;
    activeRecords.push_back(record);
    if (record->linkkey != 0)
      holders.push_back(Holder{record->linkkey, static_cast<uint32_t>(holders.size()), at, record});
  });
  std::sort(holders.begin(), holders.end(), [](const Holder& a, const Holder& b) {
    return a.key != b.key ? a.key < b.key : a.order < b.order;
  });
  // taken[i]: how many holders of the key group starting at i are paired.
  std::vector<uint32_t> taken(holders.size(), 0);
  // Said once: a lost or cut-off active.xml leaves every activated task
  // without its partner, and one box each would stand before the window.
  bool said = false;

  auto pair = [&](Node at, TaskRecord* record) {
    const int32_t key = record->linkkey;
    auto group = std::lower_bound(holders.begin(), holders.end(), key,
                                  [](const Holder& h, int32_t k) { return h.key < k; });
    size_t first = static_cast<size_t>(group - holders.begin());
    size_t pick = first + (first < taken.size() ? taken[first] : 0);
    if (pick >= holders.size() || holders[pick].key != key) {
      if (!said) ShowWarning("Error found in links with Active list");
      said = true;
      record->link = nullptr;
      record->linkkey = 0;
      return;
    }
    ++taken[first];
    Holder& partner = holders[pick];
    record->link = partner.node;
    record->linkkey = 0;
    partner.record->link = at;
    partner.record->linkkey = 0;
    partner.record->paired = 1;
  };

  // The Lists records that hold a key are all in the register. When no two
  // of them hold the same key, the order in which they are paired cannot
  // change the outcome (each can only take the first free holder of its
  // own key, and every message reads the same), so they are taken from the
  // register without walking the tree, which costs a message per node on
  // the real control.
  std::vector<TaskRecord*> keyed;
  for (RegisterEntry* e = FirstEntry(App().tasks); e; e = NextEntry(e)) {
    TaskRecord* record = EntryRecord(e);
    if (record && record->linkkey != 0) keyed.push_back(record);
  }
  std::vector<int32_t> keys;
  keys.reserve(keyed.size());
  for (TaskRecord* record : keyed) keys.push_back(record->linkkey);
  std::sort(keys.begin(), keys.end());
  const bool distinct = std::adjacent_find(keys.begin(), keys.end()) == keys.end();
  bool registered = distinct;
  for (TaskRecord* record : keyed) registered = registered && record->treeitem;
  if (registered) {
    for (TaskRecord* record : keyed) pair(record->treeitem, record);
  } else {
    // Children before their parents, over every top-level subtree in order.
    Node top = FirstChild(*lists, kRootNode);
    for (Node at = top ? DeepestFirst(*lists, top) : nullptr; at; at = NextInPostOrder(*lists, at)) {
      TaskRecord* record = RecordOf(*lists, at);
      if (record && record->linkkey != 0) pair(at, record);
    }
  }

  for (TaskRecord* record : activeRecords) {
    if (!record->paired) {
      record->link = nullptr;
      record->linkkey = 0;
    }
  }
}

ExpandBox ExpandBoxFor(const Rect& rowRect, int level, bool hasChildren, bool expanded, int checkWidth,
                       int dpi) {
  ExpandBox box{};
  if (!hasChildren || level == 0) return box;
  box.drawn = true;
  // Clear of the check box in the Lists tree.
  box.centerX = rowRect.left - ScaleForDpi(12, dpi) - checkWidth;
  box.centerY = rowRect.top + (rowRect.bottom - rowRect.top) / 2;
  box.plus = !expanded;
  box.half = ScaleForDpi(4, dpi);
  box.bar = ScaleForDpi(2, dpi);
  // Whole pixels only: a line of 1.5 would be drawn as 1 or 2 by chance.
  box.pen = dpi > kBaseDpi ? dpi / kBaseDpi : 1;
  return box;
}
