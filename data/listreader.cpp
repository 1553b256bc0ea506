#include "data/listreader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/codepage.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/datetext.h"
#include "data/treerecords.h"

namespace {

enum Tag : int {
  kTagEnd = 0,
  kTagList = 1,
  kTagListEnd = 2,
  kTagItem = 3,
  kTagItemEnd = 4,
  kTagName = 5,
  kTagNameEnd = 6,
  kTagState = 7,
  kTagStateEnd = 8,
  kTagPriority = 9,
  kTagPriorityEnd = 10,
  kTagEnterDate = 11,
  kTagEnterDateEnd = 12,
  kTagActiveDate = 13,
  kTagActiveDateEnd = 14,
  kTagCompleteDate = 15,
  kTagCompleteDateEnd = 16,
  kTagDueDate = 17,
  kTagDueDateEnd = 18,
  kTagAutoDate = 19,
  kTagAutoDateEnd = 20,
  kTagAutoTime = 21,
  kTagAutoTimeEnd = 22,
  kTagAlarm = 23,
  kTagAlarmEnd = 24,
  kTagLink = 25,
  kTagLinkEnd = 26,
};

constexpr int kMaxTagLength = 31;
constexpr size_t kMaxTextLength = 260;
constexpr int kFirstLineLength = 127;

bool Is(const char* text, size_t length, const char* word) {
  return std::memcmp(text, word, length) == 0;
}

// The tag table, looked up by length first; "EOF" is not in it and so
// reads as the end, as it always has.
int LookUpTag(const char* text, size_t length) {
  if (length == 0) return kTagEnd;
  const bool closing = text[0] == '/';
  const char* word = closing ? text + 1 : text;
  const size_t size = closing ? length - 1 : length;
  int tag = kTagEnd;
  switch (size) {
    case 4:
      if (Is(word, 4, "item"))
        tag = kTagItem;
      else if (Is(word, 4, "name"))
        tag = kTagName;
      else if (Is(word, 4, "link"))
        tag = kTagLink;
      else if (Is(word, 4, "list") && closing)
        return kTagListEnd;
      break;
    case 5:
      if (Is(word, 5, "state"))
        tag = kTagState;
      else if (Is(word, 5, "alarm"))
        tag = kTagAlarm;
      break;
    case 7:
      if (Is(word, 7, "duedate")) tag = kTagDueDate;
      break;
    case 8:
      if (Is(word, 8, "priority"))
        tag = kTagPriority;
      else if (Is(word, 8, "autodate"))
        tag = kTagAutoDate;
      else if (Is(word, 8, "autotime"))
        tag = kTagAutoTime;
      break;
    case 9:
      if (Is(word, 9, "enterdate")) tag = kTagEnterDate;
      break;
    case 10:
      if (Is(word, 10, "activedate")) tag = kTagActiveDate;
      break;
    case 12:
      if (Is(word, 12, "completedate")) tag = kTagCompleteDate;
      break;
    case 18:
      if (!closing && Is(word, 18, "list version=\"1.0\"")) return kTagList;
      break;
    default:
      break;
  }
  if (tag == kTagEnd) return kTagEnd;
  // Every opening tag in the table is directly followed by its closing one.
  return closing ? tag + 1 : tag;
}

struct TagCharacters {
  bool allowed[256];
  constexpr TagCharacters() : allowed() {
    for (int c = 'a'; c <= 'z'; ++c) allowed[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) allowed[c] = true;
    for (int c = '0'; c <= '9'; ++c) allowed[c] = true;
    allowed[static_cast<unsigned char>('_')] = true;
    allowed[static_cast<unsigned char>('/')] = true;
    allowed[static_cast<unsigned char>('"')] = true;
    allowed[static_cast<unsigned char>('.')] = true;
    allowed[static_cast<unsigned char>('=')] = true;
    allowed[static_cast<unsigned char>(' ')] = true;
  }
};
constexpr TagCharacters kTagCharacters;

struct Text {
  const char* data;
  size_t length;
};

// One open item while its elements and children are read. The node is
// inserted as late as possible (when its first child comes, or when it
// ends), so that its label and state usually go in with the insertion:
// one message per item on the real control instead of two.
struct OpenItem {
  Node parent;
  Node node;  // none until inserted
  TaskRecord* record;
  long stateWord;
  bool stateSet;
  bool nameSet;
  bool changedSinceInsert;  // a name or state read after the children
  Text name;
};

class TreeReader {
 public:
  TreeReader(TaskForest& tree, const char* bytes, size_t size)
      : tree_(tree),
        at_(bytes),
        end_(bytes + size),
        isLists_(&tree == App().lists),
        utf8_(ProgramCodePage().ProgramTextIsUtf8()) {}

  int Read() {
    SkipFirstLine();
    if (ReadTag() != kTagList) return 0;
    for (;;) {
      int tag = ReadTag();
      if (tag == kTagListEnd) return 1;
      if (tag == kTagEnd) return 0;
      if (tag == kTagItem) ReadItems(kRootNode);
    }
  }

 private:
  void SkipFirstLine() {
    for (int i = 0; i < kFirstLineLength && at_ < end_; ++i)
      if (*at_++ == '\n') break;
  }

  int ReadTag() {
    const char* open = at_ < end_
                           ? static_cast<const char*>(std::memchr(at_, '<', static_cast<size_t>(end_ - at_)))
                           : nullptr;
    if (!open) {
      at_ = end_;
      return kTagEnd;
    }
    at_ = open + 1;
    const char* start = at_;
    for (int count = 0;; ++count) {
      if (at_ == end_) {
        ShowWarning("Bad character in XML tag");
        return kTagEnd;
      }
      const unsigned char c = static_cast<unsigned char>(*at_++);
      if (c == '>') return LookUpTag(start, static_cast<size_t>(at_ - 1 - start));
      if (c == '\0') return kTagEnd;
      if (count == kMaxTagLength) return kTagEnd;  // a 32nd character that is not ">"
      if (!kTagCharacters.allowed[c]) {
        ShowWarning("Bad character in XML tag");
        return kTagEnd;
      }
    }
  }

  Text ReadText(size_t most = kMaxTextLength) {
    const char* start = at_;
    const size_t available = static_cast<size_t>(end_ - at_);
    const char* stop = start + std::min(available, most);
    // A text cut at its room ends before the character it would split.
    if (utf8_ && available > most) stop = start + Utf8CutBefore(start, most);
    const char* c = start;
    while (c < stop && *c != '<' && *c != '\0') ++c;
    at_ = c;  // the "<" stays for the next tag; a NUL is passed over by it
    return Text{start, static_cast<size_t>(c - start)};
  }

  template <size_t N>
  void Store(char (&field)[N], Text text) {
    size_t length = std::min(text.length, N - 1);
    if (utf8_ && length < text.length) length = Utf8CutBefore(text.data, length);
    std::memcpy(field, text.data, length);
    field[length] = '\0';
  }

  static long NumberOf(Text text) {
    char buffer[kMaxTextLength + 1];
    std::memcpy(buffer, text.data, text.length);
    buffer[text.length] = '\0';
    return LeadingNumber(buffer);
  }

  // Reads a field element's text and its closing tag; answers the tag that
  // followed, which the later steps look at.
  template <size_t N>
  int ReadField(char (&field)[N], int closing, const char* missing) {
    Store(field, ReadText());
    int tag = ReadTag();
    if (tag != closing) ShowWarning(missing);
    return tag;
  }

  bool OpenItemUnder(Node parent) {
    TaskRecord* record = NewTaskRecord();
    if (!record) return Abandon();
    if (isLists_) RegisterTask(App().tasks, record);
    open_.push_back(OpenItem{parent, nullptr, record, 0, false, false, false, Text{nullptr, 0}});
    return true;
  }

  // Nothing more can be inserted: read on as if the file ended here.
  bool Abandon() {
    at_ = end_;
    return false;
  }

  // Fills the label and state of `change` from what the item has read.
  static void Describe(const OpenItem& item, ForestItem& change, char (&label)[kNameSize]) {
    change.mask = kItemText;
    size_t length = item.nameSet ? ProgramTextPrefix(item.name.data, item.name.length, kMaxNameLength) : 0;
    if (length) std::memcpy(label, item.name.data, length);
    label[length] = '\0';
    change.text = label;
    if (item.stateSet) {
      change.mask |= kItemState;
      // The expanded bit needs no clearing: an item is expanded only once
      // it has ended.
      change.stateMask = kStateImageMask | kStateBold;
      change.state = StateImage(item.stateWord & 0x04 ? kChecked : kUnchecked) |
                     (item.stateWord & 0x01 ? static_cast<unsigned>(kStateBold) : 0u);
    }
  }

  // Inserts the item, if it is not in the tree yet, as the last child of
  // its parent. False when the forest refuses.
  bool Insert(OpenItem& item) {
    if (item.node) return true;
    ForestItem insert{};
    char label[kNameSize];
    Describe(item, insert, label);
    insert.mask |= kItemRecord;
    insert.record = item.record;
    item.node = tree_.Insert(item.parent, kLastNode, insert);
    if (!item.node) return false;
    item.record->treeitem = item.node;
    return true;
  }

  // The innermost item ends. An item the forest refused is dropped with
  // its record, and reading stops.
  void CloseItem() {
    OpenItem& item = open_.back();
    if (!item.node) {
      if (!Insert(item)) {
        FreeTaskRecord(item.record);
        open_.pop_back();
        Abandon();
        return;
      }
    } else if (item.changedSinceInsert) {
      ForestItem change{};
      char label[kNameSize];
      Describe(item, change, label);
      if (!item.nameSet) change.mask &= ~kItemText;
      change.node = item.node;
      tree_.SetItem(change);
    }
    // Expanded only now that the children are in.
    if (item.stateWord & 0x02) tree_.Expand(item.node, ExpandAction::kExpand);
    open_.pop_back();
  }

  // Reads an item (its opening tag just read) with everything nested in
  // it. Kept iterative so that deep nesting cannot exhaust the stack.
  void ReadItems(Node parent) {
    if (!OpenItemUnder(parent)) return;
    while (!open_.empty()) {
      int tag = ReadTag();
      if (tag == kTagEnd || tag == kTagItemEnd) {
        CloseItem();
        continue;
      }
      if (tag == kTagItem) {
        OpenItem& parentItem = open_.back();
        if (!Insert(parentItem)) {
          // The parent cannot go in: it and everything open end here.
          FreeTaskRecord(parentItem.record);
          open_.pop_back();
          Abandon();
          continue;
        }
        OpenItemUnder(parentItem.node);
        continue;
      }
      if (tag == kTagNameEnd) continue;
      RunSteps(open_.back(), tag);
      // Whatever tag the steps left over is dropped here.
    }
  }

  // The element steps in their fixed order; each looks at the tag the one
  // before it left, so a misplaced element is taken only when it comes
  // later in this order.
  void RunSteps(OpenItem& item, int tag) {
    TaskRecord& record = *item.record;
    if (tag == kTagEnterDate)
      tag = ReadField(record.enterdate, kTagEnterDateEnd, "Missing XML tag: </enterdate>");
    if (tag == kTagActiveDate)
      tag = ReadField(record.activedate, kTagActiveDateEnd, "Missing XML tag: </activedate>");
    if (tag == kTagCompleteDate)
      tag = ReadField(record.completedate, kTagCompleteDateEnd, "Missing XML tag: </completedate>");
    if (tag == kTagDueDate) tag = ReadField(record.duedate, kTagDueDateEnd, "Missing XML tag: </duedate>");
    if (tag == kTagAutoDate)
      tag = ReadField(record.autodate, kTagAutoDateEnd, "Missing XML tag: </autodate>");
    if (tag == kTagAutoTime)
      tag = ReadField(record.autotime, kTagAutoTimeEnd, "Missing XML tag: </autotime>");
    if (tag == kTagState) {
      long word = NumberOf(ReadText());
      item.stateWord = word;
      item.stateSet = true;
      item.changedSinceInsert = item.changedSinceInsert || item.node != nullptr;
      // The flags keep their bit values: they are only tested for zero.
      record.duedateset = static_cast<uint8_t>(word & 0x08);
      record.autoactivate = static_cast<uint8_t>(word & 0x10);
      record.autotimeset = static_cast<uint8_t>(word & 0x20);
      record.notify = static_cast<uint8_t>(word & 0x40);
      record.email = static_cast<uint8_t>(word & 0x80);
      tag = ReadTag();
      if (tag != kTagStateEnd) ShowWarning("Missing XML tag: </state>");
    }
    if (tag == kTagName) {
      item.name = ReadText(kNameSize - 1);
      item.nameSet = true;
      item.changedSinceInsert = item.changedSinceInsert || item.node != nullptr;
      tag = ReadTag();
      if (tag != kTagNameEnd) ShowWarning("Missing XML tag: </name>");
    }
    if (tag == kTagLink) {
      // A key, not a node: ResolveLinks turns it into the partner.
      record.linkkey = static_cast<int32_t>(NumberOf(ReadText()));
      tag = ReadTag();
      if (tag != kTagLinkEnd) ShowWarning("Missing XML tag: </link>");
    }
  }

  TaskForest& tree_;
  const char* at_;
  const char* const end_;
  const bool isLists_;
  const bool utf8_;  // the program's texts are UTF-8
  std::vector<OpenItem> open_;
};

// True when the file's first line declares an encoding other than UTF-8
// (earlier versions declare "Windows-1252").
bool DeclaresOtherEncoding(const char* bytes, size_t size) {
  const char* end = bytes + std::min(size, static_cast<size_t>(kFirstLineLength));
  const char* newline = static_cast<const char*>(std::memchr(bytes, '\n', static_cast<size_t>(end - bytes)));
  const std::string line(bytes, newline ? newline : end);
  const char kAttribute[] = "encoding=\"";
  const size_t at = line.find(kAttribute);
  if (at == std::string::npos) return false;
  const size_t start = at + sizeof kAttribute - 1;
  const size_t stop = line.find('"', start);
  std::string name = line.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name != "utf-8";
}

// The file's bytes in the program's code page, when they must be converted
// to get there: a file in UTF-8 is read as such; one declaring another
// encoding, or whose bytes are not UTF-8, is in the legacy code page.
bool ListFileText(const char* bytes, size_t size, std::string* converted) {
  const bool fileIsUtf8 = !DeclaresOtherEncoding(bytes, size) && IsUtf8(bytes, size);
  CodePage& codePage = ProgramCodePage();
  if (fileIsUtf8 == codePage.ProgramTextIsUtf8()) return false;
  // Nothing to convert in a file of ASCII alone: the common case.
  if (std::none_of(bytes, bytes + size, [](char c) { return (c & 0x80) != 0; })) return false;
  const std::string text(bytes, size);
  *converted = fileIsUtf8 ? codePage.Utf8ToLegacy(text) : codePage.LegacyToUtf8(text);
  return true;
}

}  // namespace

int ParseListFile(TaskForest& tree, const char* bytes, size_t size) {
  ClearTaskTree(tree);
  if (!bytes) size = 0;
  std::string converted;
  if (bytes && ListFileText(bytes, size, &converted)) {
    bytes = converted.data();
    size = converted.size();
  }
  tree.SetRedraw(false);
  TreeReader reader(tree, bytes ? bytes : "", size);
  int ok = reader.Read();
  tree.SetRedraw(true);
  return ok;
}
