#include "data/listwriter.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/appstate.h"
#include "base/codepage.h"
#include "base/taskrecord.h"

namespace {

// UTF-8; an earlier Windows, whose program texts are in the legacy code
// page, writes them as earlier versions did.
constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "\r\n"
    "<list version=\"1.0\">\r\n";
constexpr char kLegacyHeader[] =
    "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n"
    "\r\n"
    "<list version=\"1.0\">\r\n";
constexpr char kFooter[] = "</list>\r\n";

enum class LinkKeys { kNone, kOwnPosition, kPartnerPosition };

void AppendInt(std::string& out, long value) {
  char digits[24];
  int n = 0;
  bool negative = value < 0;
  unsigned long magnitude =
      negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (negative) out.push_back('-');
  while (n) out.push_back(digits[--n]);
}

// One element on one line: tabs, tag, content, closing tag.
void AppendElement(std::string& out, size_t tabs, const char* tag, size_t tagLength, const char* content,
                   size_t contentLength) {
  out.append(tabs, '\t');
  out.push_back('<');
  out.append(tag, tagLength);
  out.push_back('>');
  out.append(content, contentLength);
  out.append("</", 2);
  out.append(tag, tagLength);
  out.append(">\r\n", 3);
}

template <size_t N, size_t M>
void AppendField(std::string& out, size_t tabs, const char (&tag)[N], const char (&field)[M]) {
  if (!field[0]) return;
  AppendElement(out, tabs, tag, N - 1, field, strnlen(field, M - 1));
}

template <size_t N>
void AppendNumberElement(std::string& out, size_t tabs, const char (&tag)[N], long value) {
  // Small and frequent: formatted straight into the output.
  out.append(tabs, '\t');
  out.push_back('<');
  out.append(tag, N - 1);
  out.push_back('>');
  AppendInt(out, value);
  out.append("</", 2);
  out.append(tag, N - 1);
  out.append(">\r\n", 3);
}

unsigned StateWord(unsigned nodeState, const TaskRecord& record) {
  unsigned word = 0;
  if (nodeState & kStateBold) word |= 0x01;
  if (nodeState & kStateExpanded) word |= 0x02;
  // Active and Done nodes often have no check image at all (index 0); that
  // counts as "not unchecked" too.
  if (StateImageOf(nodeState) != kUnchecked) word |= 0x04;
  if (record.duedateset) word |= 0x08;
  if (record.autoactivate) word |= 0x10;
  if (record.autotimeset) word |= 0x20;
  if (record.notify) word |= 0x40;
  if (record.email) word |= 0x80;
  return word;
}

// The Active tree's nodes numbered in tree order from 1: the link keys.
// The same numbering serves list.xml and active.xml, so that the files of
// one save agree whichever of them is written.
class ActivePositions {
 public:
  int32_t Of(Node node) {
    if (!node || !App().active) return 0;
    if (!built_) Build();
    auto found = positions_.find(node);
    return found == positions_.end() ? 0 : found->second;
  }

 private:
  void Build() {
    built_ = true;
    TaskForest& active = *App().active;
    positions_.reserve(active.Count());
    int32_t position = 0;
    ForEachNode(active, [&](Node node) { positions_.emplace(node, ++position); });
  }

  bool built_ = false;
  std::unordered_map<Node, int32_t> positions_;
};

int SubtreeSize(TaskForest& tree, Node node) {
  int count = 0;
  ForEachInSubtree(tree, node, [&](Node) { ++count; });
  return count;
}

}  // namespace

std::string FormatListFile(TaskForest& tree) {
  AppState& app = App();
  LinkKeys keys = LinkKeys::kNone;
  if (&tree == app.active)
    keys = LinkKeys::kOwnPosition;
  else if (&tree == app.lists)
    keys = LinkKeys::kPartnerPosition;

  std::string out;
  out.reserve(sizeof kHeader + sizeof kFooter + static_cast<size_t>(tree.Count()) * 192);
  if (ProgramCodePage().ProgramTextIsUtf8())
    out.append(kHeader, sizeof kHeader - 1);
  else
    out.append(kLegacyHeader, sizeof kLegacyHeader - 1);

  ActivePositions partners;
  int32_t position = 0;    // of the node at hand in tree order, for Active
  std::vector<Node> open;  // the ancestors whose </item> is still to come
  char label[kNameSize];
  Node node = tree.GetNext(kRootNode, Relation::kChild);
  for (;;) {
    if (!node) {
      if (open.empty()) break;
      Node parent = open.back();
      open.pop_back();
      out.append(open.size(), '\t');
      out.append("</item>\r\n", 9);
      node = tree.GetNext(parent, Relation::kNext);
      continue;
    }
    ++position;
    ForestItem item{};
    item.mask = kItemText | kItemRecord | kItemState;
    item.node = node;
    item.stateMask = kStateBold | kStateExpanded | kStateImageMask;
    item.text = label;
    item.textMax = kNameSize;
    label[0] = '\0';
    if (!tree.GetItem(item) || !item.record) {
      // Left out with its children; they still take their places in the
      // numbering, which the other file counts the same way.
      position += SubtreeSize(tree, node) - 1;
      node = tree.GetNext(node, Relation::kNext);
      continue;
    }
    const TaskRecord& record = *item.record;
    const size_t depth = open.size();
    // A node keeps its expanded state when its last child goes, but a file
    // cannot carry it (only an item with children is expanded on reading):
    // written, the next start would write the file otherwise.
    Node child = tree.GetNext(node, Relation::kChild);
    if (!child) item.state &= ~kStateExpanded;
    out.append(depth, '\t');
    out.append("<item>\r\n", 8);
    AppendElement(out, depth + 1, "name", 4, label, strnlen(label, kNameSize - 1));
    if (keys == LinkKeys::kOwnPosition)
      AppendNumberElement(out, depth + 1, "link", position);
    else if (keys == LinkKeys::kPartnerPosition)
      AppendNumberElement(out, depth + 1, "link", partners.Of(record.link));
    AppendNumberElement(out, depth + 1, "state", StateWord(item.state & item.stateMask, record));
    AppendField(out, depth + 1, "enterdate", record.enterdate);
    AppendField(out, depth + 1, "activedate", record.activedate);
    AppendField(out, depth + 1, "completedate", record.completedate);
    AppendField(out, depth + 1, "duedate", record.duedate);
    AppendField(out, depth + 1, "autodate", record.autodate);
    AppendField(out, depth + 1, "autotime", record.autotime);

    if (child) {
      open.push_back(node);
      node = child;
      continue;
    }
    out.append(depth, '\t');
    out.append("</item>\r\n", 9);
    node = tree.GetNext(node, Relation::kNext);
  }
  out.append(kFooter, sizeof kFooter - 1);
  return out;
}
