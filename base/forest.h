// The task forest: one tree of task nodes, as the organiser needs it from
// the platform. On Windows it is a "SysTreeView32" control and every
// operation is the tree-view message named beside it; MemoryForest is a
// complete forest without a window. Both pass the same conformance suite.
//
// Results follow the control: nodes (none for failure) or 1/0.
#pragma once

#include <cstdint>

#include "base/platform.h"

struct TaskRecord;

// Special nodes, with the values of TVI_ROOT, TVI_FIRST and TVI_LAST.
inline Node const kRootNode = reinterpret_cast<Node>(-static_cast<intptr_t>(0x10000));
inline Node const kFirstNode = reinterpret_cast<Node>(-static_cast<intptr_t>(0x0FFFF));
inline Node const kLastNode = reinterpret_cast<Node>(-static_cast<intptr_t>(0x0FFFE));

// Node state bits, with their TVIS_ values.
enum : unsigned {
  kStateFocused = 0x0001,
  kStateSelected = 0x0002,
  kStateCut = 0x0004,
  kStateDropHilited = 0x0008,
  kStateBold = 0x0010,
  kStateExpanded = 0x0020,
  kStateExpandedOnce = 0x0040,
  kStateExpandPartial = 0x0080,
  kStateImageMask = 0xF000,  // the check state, as a state-image index
};
constexpr unsigned StateImage(unsigned index) {
  return index << 12;
}
constexpr unsigned StateImageOf(unsigned state) {
  return (state & kStateImageMask) >> 12;
}

// Check states (state-image index).
enum : unsigned { kCheckNone = 0, kUnchecked = 1, kChecked = 2 };

// Which parts of a ForestItem are read or written (TVIF_ values).
enum : unsigned {
  kItemText = 0x0001,
  kItemImage = 0x0002,
  kItemRecord = 0x0004,  // the item data (lParam): the task record
  kItemState = 0x0008,
  kItemSelectedImage = 0x0020,
  kItemChildren = 0x0040,
};

struct ForestItem {
  unsigned mask;
  Node node;
  unsigned state;
  unsigned stateMask;
  char* text;   // in: the label; out: a buffer of textMax bytes
  int textMax;  // out only: the buffer size
  int image;
  int selectedImage;
  int children;  // out only: 1 when the node has children
  TaskRecord* record;
};

// TVGN_ codes.
enum class Relation : unsigned {
  kRoot = 0x0,  // the first top-level node
  kNext = 0x1,
  kPrevious = 0x2,
  kParent = 0x3,
  kChild = 0x4,  // of kRootNode: the first top-level node
  kFirstVisible = 0x5,
  kNextVisible = 0x6,
  kPreviousVisible = 0x7,
  kDropHilite = 0x8,
  kCaret = 0x9,
  kLastVisible = 0xA,
};

// TVE_ codes.
enum class ExpandAction : unsigned { kCollapse = 0x1, kExpand = 0x2, kToggle = 0x3 };

// TVHT_ flags of a hit test.
enum : unsigned {
  kHitNowhere = 0x0001,
  kHitOnIcon = 0x0002,
  kHitOnLabel = 0x0004,
  kHitOnIndent = 0x0008,
  kHitOnButton = 0x0010,
  kHitOnRight = 0x0020,
  kHitOnStateIcon = 0x0040,
  kHitAbove = 0x0100,
  kHitBelow = 0x0200,
  kHitToRight = 0x0400,
  kHitToLeft = 0x0800,
};
constexpr unsigned kHitOnItem = kHitOnIcon | kHitOnLabel | kHitOnStateIcon;

// TVSIL_ codes.
enum class ImageListKind : int { kNormal = 0, kState = 2 };

// Told by a forest about the user's label editing, as the control tells its
// parent with TVN_BEGINLABELEDIT and TVN_ENDLABELEDIT.
class ForestListener {
 public:
  virtual ~ForestListener() = default;
  // Answer true to refuse the edit.
  virtual bool OnBeginLabelEdit(Node node) = 0;
  // text is none when the edit was cancelled; answer true to take the text
  // as the new label.
  virtual bool OnEndLabelEdit(Node node, const char* text) = 0;
};

class TaskForest {
 public:
  virtual ~TaskForest() = default;

  // The tree window (HWND) on Windows; none for a forest without a window.
  virtual Handle Window() const = 0;
  // TVS_CHECKBOXES: only the Lists tree has them.
  virtual bool HasCheckBoxes() const = 0;

  // TVM_INSERTITEM. parent kRootNode for the top level; after kFirstNode,
  // kLastNode or a child of parent. Reads text, record, state under
  // stateMask, image and selected image as the mask says. None on failure.
  virtual Node Insert(Node parent, Node after, const ForestItem& item) = 0;
  // TVM_DELETEITEM: the node with its subtree; kRootNode empties the forest,
  // none is refused (the control would empty itself). Records are not
  // released.
  virtual int Delete(Node node) = 0;
  // TVM_GETITEM / TVM_SETITEM on item.node.
  virtual int GetItem(ForestItem& item) = 0;
  virtual int SetItem(const ForestItem& item) = 0;
  // TVM_GETITEMSTATE.
  virtual unsigned GetState(Node node, unsigned mask) = 0;
  // TVM_GETNEXTITEM.
  virtual Node GetNext(Node node, Relation relation) = 0;
  // TVM_SELECTITEM with TVGN_CARET or TVGN_DROPHILITE (none clears). Making
  // a node the caret expands its collapsed ancestors.
  virtual int Select(Node node, Relation how) = 0;
  // TVM_EXPAND. Answers 0 when nothing could change (no children).
  virtual int Expand(Node node, ExpandAction action) = 0;
  // TVM_ENSUREVISIBLE: expands the ancestors and scrolls the node in.
  virtual int EnsureVisible(Node node) = 0;

  // TVM_EDITLABEL, TVM_ENDEDITLABELNOW, TVM_GETEDITCONTROL. The edit
  // control is a handle; its text is read and written through the forest.
  virtual Handle EditLabel(Node node) = 0;
  virtual int EndEditLabelNow(bool cancel) = 0;
  virtual Handle GetEditControl() = 0;
  virtual int GetEditText(char* buffer, int size) = 0;
  virtual int SetEditText(const char* text) = 0;
  virtual void SetListener(ForestListener* listener) = 0;

  // TVM_HITTEST, TVM_GETITEMRECT (whole row, or the text only).
  virtual Node HitTest(Point point, unsigned* flags) = 0;
  virtual int GetItemRect(Node node, bool textOnly, Rect* rect) = 0;
  // The client rectangle of the tree window.
  virtual Rect ClientRect() = 0;
  // TVM_GETCOUNT.
  virtual unsigned Count() = 0;
  // TVM_CREATEDRAGIMAGE: an image list, or none.
  virtual Handle CreateDragImage(Node node) = 0;
  // Releases an image list made by CreateDragImage.
  virtual void DestroyDragImage(Handle image) = 0;

  // TVM_SETBKCOLOR (answers the previous colour), TVM_GETBKCOLOR,
  // TVM_GETLINECOLOR, TVM_GETTEXTCOLOR, TVM_SETIMAGELIST (answers the
  // previous list), TVM_GETIMAGELIST. kDefaultColor means the system's.
  virtual Color SetBackgroundColor(Color color) = 0;
  virtual Color GetBackgroundColor() = 0;
  virtual Color GetLineColor() = 0;
  virtual Color GetTextColor() = 0;
  virtual Handle SetImageList(ImageListKind kind, Handle list) = 0;
  virtual Handle GetImageList(ImageListKind kind) = 0;

  // WM_SETREDRAW.
  virtual void SetRedraw(bool on) = 0;

  // Moves on each time nodes leave the forest. A node held while the user
  // could act (a question is open, messages are dispatched) is known to be
  // still there when this has not moved; otherwise see ContainsNode.
  unsigned long Removals() const { return removals_; }

 protected:
  // Every adapter calls this after a successful Delete.
  void NoteRemoval() { ++removals_; }

 private:
  unsigned long removals_ = 0;
};

// A small set of conveniences over the interface; every forest gets them.
Node ParentOf(TaskForest& forest, Node node);
Node FirstChild(TaskForest& forest, Node node);  // kRootNode: the first top-level node
Node NextSibling(TaskForest& forest, Node node);
Node PreviousSibling(TaskForest& forest, Node node);
Node SelectedNode(TaskForest& forest);
// 0 for a top-level node.
int LevelOf(TaskForest& forest, Node node);
// Whether node is root or one of root's descendants.
bool IsInSubtree(TaskForest& forest, Node node, Node root);
// The next node in tree order (a node before its children, siblings in
// order), within the subtree of `stop` when stop is not none.
Node NextInTreeOrder(TaskForest& forest, Node node, Node stop);

// True when the node is one of the forest's, found by comparing handles
// only (a stale handle is never looked into). O(n).
bool ContainsNode(TaskForest& forest, Node node);

// Pre-order over the node's subtree: the node, then each child's subtree.
template <typename Action>
void ForEachInSubtree(TaskForest& tree, Node node, Action&& action) {
  if (!node) return;
  Node at = node;
  do {
    action(at);
    at = NextInTreeOrder(tree, at, node);
  } while (at);
}
// Pre-order over every top-level subtree.
template <typename Action>
void ForEachNode(TaskForest& tree, Action&& action) {
  for (Node top = FirstChild(tree, kRootNode); top; top = NextSibling(tree, top))
    ForEachInSubtree(tree, top, action);
}
