#include "fakes/memoryforest.h"

#include <cstring>
#include <vector>

struct MemoryForest::Item {
  Item* parent = nullptr;
  Item* first = nullptr;
  Item* last = nullptr;
  Item* prev = nullptr;
  Item* next = nullptr;
  std::string text;
  unsigned state = 0;
  int image = 0;
  int selectedImage = 0;
  // The children flag as the control keeps it: set by the first child,
  // cleared when the last one goes, and writable.
  int children = 0;
  TaskRecord* record = nullptr;
  Node handle = nullptr;
};

MemoryForest::MemoryForest(bool checkBoxes) : checkBoxes_(checkBoxes), root_(new Item) {
  // The invisible root is always open, so top-level nodes are always shown.
  root_->state = kStateExpanded;
}

MemoryForest::~MemoryForest() {
  while (root_->first) {
    Item* top = root_->first;
    Unlink(top);
    FreeSubtree(top);
  }
  delete root_;
}

Node MemoryForest::NodeOf(const Item* item) {
  return item ? item->handle : nullptr;
}

// A handle is a slot number and the slot's generation: checked with one
// array look-up, and a handle kept past its node's deletion never names
// the node that later takes the slot.
MemoryForest::Item* MemoryForest::Valid(Node node) const {
  const uint64_t value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(node));
  const uint64_t slot = (value & 0xFFFFFFFFu) - 1;
  if (!node || slot >= slots_.size()) return nullptr;
  const Slot& s = slots_[slot];
  return s.item && s.generation == (value >> 32) ? s.item : nullptr;
}

void MemoryForest::Adopt(Item* item) {
  uint32_t slot;
  if (!freeSlots_.empty()) {
    slot = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    slot = static_cast<uint32_t>(slots_.size());
    slots_.push_back(Slot{nullptr, 0});
  }
  Slot& s = slots_[slot];
  // Generations stay below 2^31 so that no handle looks like the special
  // (negative) nodes.
  s.generation = s.generation >= 0x7FFFFFFFu ? 1 : s.generation + 1;
  s.item = item;
  item->handle = reinterpret_cast<Node>(
      static_cast<uintptr_t>((static_cast<uint64_t>(s.generation) << 32) | (slot + 1u)));
  ++liveCount_;
}

void MemoryForest::Release(Item* item) {
  const uint64_t value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(item->handle));
  const uint32_t slot = static_cast<uint32_t>((value & 0xFFFFFFFFu) - 1);
  slots_[slot].item = nullptr;
  freeSlots_.push_back(slot);
  --liveCount_;
}

bool MemoryForest::IsVisible(const Item* item) const {
  for (const Item* up = item->parent; up && up != root_; up = up->parent)
    if (!(up->state & kStateExpanded)) return false;
  return true;
}

MemoryForest::Item* MemoryForest::NextVisible(const Item* item) const {
  if ((item->state & kStateExpanded) && item->first) return item->first;
  for (const Item* at = item; at && at != root_; at = at->parent)
    if (at->next) return at->next;
  return nullptr;
}

MemoryForest::Item* MemoryForest::LastVisibleUnder(Item* item) const {
  while (item->last && (item->state & kStateExpanded)) item = item->last;
  return item == root_ ? nullptr : item;
}

MemoryForest::Item* MemoryForest::PreviousVisible(const Item* item) const {
  if (item->prev) return LastVisibleUnder(item->prev);
  return item->parent != root_ ? item->parent : nullptr;
}

int MemoryForest::Level(const Item* item) const {
  int level = 0;
  for (const Item* up = item->parent; up && up != root_; up = up->parent) ++level;
  return level;
}

bool MemoryForest::IsAncestor(const Item* ancestor, const Item* item) {
  for (const Item* up = item->parent; up; up = up->parent)
    if (up == ancestor) return true;
  return false;
}

void MemoryForest::Unlink(Item* item) {
  Item* parent = item->parent;
  if (item->prev)
    item->prev->next = item->next;
  else
    parent->first = item->next;
  if (item->next)
    item->next->prev = item->prev;
  else
    parent->last = item->prev;
  item->prev = item->next = item->parent = nullptr;
  if (!parent->first && parent != root_) parent->children = 0;
}

// Frees an unlinked subtree without recursion: a deep chain of tasks must
// not exhaust the stack.
void MemoryForest::FreeSubtree(Item* item) {
  std::vector<Item*> pending{item};
  while (!pending.empty()) {
    Item* at = pending.back();
    pending.pop_back();
    for (Item* child = at->first; child; child = child->next) pending.push_back(child);
    Release(at);
    if (caret_ == at) caret_ = nullptr;
    if (drop_ == at) drop_ = nullptr;
    if (firstVisible_ == at) firstVisible_ = nullptr;
    if (editItem_ == at) {
      // The control ends an edit whose node goes away, without asking.
      editItem_ = nullptr;
      editText_.clear();
    }
    delete at;
  }
}

Node MemoryForest::Insert(Node parent, Node after, const ForestItem& item) {
  Item* parentItem = root_;
  if (parent && parent != kRootNode) {
    parentItem = Valid(parent);
    if (!parentItem) return nullptr;
  }
  Item* afterItem = nullptr;
  if (after != kFirstNode && after != kLastNode) {
    afterItem = Valid(after);
    if (!afterItem) return nullptr;
    // A sibling of another parent: the control appends at the end.
    if (afterItem->parent != parentItem) afterItem = parentItem->last;
  }

  Item* made = new Item;
  if ((item.mask & kItemText) && item.text) made->text = item.text;
  if (item.mask & kItemImage) made->image = item.image;
  if (item.mask & kItemSelectedImage) made->selectedImage = item.selectedImage;
  if (item.mask & kItemRecord) made->record = item.record;
  if (item.mask & kItemChildren) made->children = item.children;
  if (item.mask & kItemState) made->state = item.state & item.stateMask;
  // A tree with check boxes shows a box on every new node: an empty one
  // unless the insert names another image (an explicit 0 still gets one).
  if (checkBoxes_ && !(made->state & kStateImageMask)) made->state |= StateImage(kUnchecked);

  made->parent = parentItem;
  if (after == kFirstNode) {
    made->next = parentItem->first;
  } else if (after == kLastNode || !afterItem) {
    made->prev = parentItem->last;
  } else {
    made->prev = afterItem;
    made->next = afterItem->next;
  }
  if (made->prev)
    made->prev->next = made;
  else
    parentItem->first = made;
  if (made->next)
    made->next->prev = made;
  else
    parentItem->last = made;
  if (parentItem != root_) parentItem->children = 1;

  Adopt(made);
  if (!firstVisible_) firstVisible_ = root_->first;
  return NodeOf(made);
}

int MemoryForest::Delete(Node node) {
  // A failed lookup must never empty the tree: only kRootNode does that.
  if (!node) return 0;
  if (node == kRootNode) {
    while (root_->first) {
      Item* top = root_->first;
      Unlink(top);
      FreeSubtree(top);
    }
    caret_ = drop_ = firstVisible_ = nullptr;
    NoteRemoval();
    return 1;
  }
  Item* item = Valid(node);
  if (!item) return 0;

  // The caret leaves a deleted subtree for the next sibling, else the
  // parent, else the previous sibling.
  Item* newCaret = nullptr;
  if (caret_ && (caret_ == item || IsAncestor(item, caret_))) {
    if (item->next)
      newCaret = item->next;
    else if (item->parent != root_)
      newCaret = item->parent;
    else
      newCaret = item->prev;
  }
  Item* newFirst = firstVisible_;
  if (firstVisible_ && (firstVisible_ == item || IsAncestor(item, firstVisible_))) {
    if (item->next)
      newFirst = item->next;
    else if (item->prev)
      newFirst = item->prev;
    else if (item->parent != root_)
      newFirst = item->parent;
    else
      newFirst = nullptr;
  }

  Unlink(item);
  FreeSubtree(item);
  NoteRemoval();

  firstVisible_ = newFirst;
  KeepViewValid();
  if (firstVisible_) SetFirstVisible(firstVisible_);
  // The new caret is scrolled to from the view as it now stands.
  if (newCaret) Select(NodeOf(newCaret), Relation::kCaret);
  return 1;
}

int MemoryForest::GetItem(ForestItem& out) {
  Item* item = Valid(out.node);
  if (!item) return 0;
  if ((out.mask & kItemText) && out.text && out.textMax > 0) {
    size_t n = item->text.size();
    if (n > static_cast<size_t>(out.textMax - 1)) n = static_cast<size_t>(out.textMax - 1);
    std::memcpy(out.text, item->text.data(), n);
    out.text[n] = '\0';
  }
  if (out.mask & kItemImage) out.image = item->image;
  if (out.mask & kItemSelectedImage) out.selectedImage = item->selectedImage;
  if (out.mask & kItemRecord) out.record = item->record;
  // The control answers every state bit, whatever the mask asks for.
  if (out.mask & kItemState) out.state = item->state;
  if (out.mask & kItemChildren) out.children = item->children;
  return 1;
}

int MemoryForest::SetItem(const ForestItem& in) {
  Item* item = Valid(in.node);
  if (!item) return 0;
  if (in.mask & kItemText) item->text = in.text ? in.text : "";
  if (in.mask & kItemImage) item->image = in.image;
  if (in.mask & kItemSelectedImage) item->selectedImage = in.selectedImage;
  if (in.mask & kItemRecord) item->record = in.record;
  if (in.mask & kItemChildren) item->children = in.children;
  if (in.mask & kItemState) {
    item->state = (item->state & ~in.stateMask) | (in.state & in.stateMask);
    // Closing a node by its state bit may hide the top row.
    if (in.stateMask & kStateExpanded) KeepViewValid();
  }
  return 1;
}

unsigned MemoryForest::GetState(Node node, unsigned mask) {
  Item* item = Valid(node);
  return item ? item->state & mask : 0;
}

Node MemoryForest::GetNext(Node node, Relation relation) {
  switch (relation) {
    case Relation::kRoot:
      return NodeOf(root_->first);
    case Relation::kCaret:
      return NodeOf(caret_);
    case Relation::kFirstVisible:
      return NodeOf(firstVisible_);
    case Relation::kDropHilite:
      return NodeOf(drop_);
    case Relation::kLastVisible:
      return NodeOf(LastVisibleUnder(root_));
    case Relation::kChild:
      if (!node || node == kRootNode) return NodeOf(root_->first);
      break;
    default:
      break;
  }
  if (node == kRootNode) {
    // The invisible root is always open: its next row is the first node.
    return relation == Relation::kNextVisible ? NodeOf(root_->first) : nullptr;
  }
  Item* item = Valid(node);
  if (!item) return nullptr;
  switch (relation) {
    case Relation::kNext:
      return NodeOf(item->next);
    case Relation::kPrevious:
      return NodeOf(item->prev);
    case Relation::kParent:
      return item->parent != root_ ? NodeOf(item->parent) : nullptr;
    case Relation::kChild:
      return NodeOf(item->first);
    case Relation::kNextVisible:
      return NodeOf(NextVisible(item));
    case Relation::kPreviousVisible:
      return NodeOf(PreviousVisible(item));
    default:
      return nullptr;
  }
}

int MemoryForest::Select(Node node, Relation how) {
  Item* item = nullptr;
  if (node) {
    item = Valid(node);
    if (!item) return 0;
  }
  switch (how) {
    case Relation::kCaret:
      if (caret_ != item) {
        if (caret_) caret_->state &= ~kStateSelected;
        caret_ = item;
        if (item) item->state |= kStateSelected;
      }
      // As the control: the new caret is opened up and scrolled into view.
      if (item) EnsureVisible(node);
      return 1;
    case Relation::kDropHilite:
      if (drop_) drop_->state &= ~kStateDropHilited;
      drop_ = item;
      if (item) item->state |= kStateDropHilited;
      return 1;
    case Relation::kFirstVisible:
      if (!item) return 0;
      MakeVisible(item);
      SetFirstVisible(item);
      return 1;
    default:
      return 0;
  }
}

bool MemoryForest::ExpandItem(Item* item) {
  if (!item->children || !item->first) return false;
  item->state |= kStateExpanded | kStateExpandedOnce;
  return true;
}

bool MemoryForest::CollapseItem(Item* item) {
  if (!item->children || !item->first) return false;
  bool was = (item->state & kStateExpanded) != 0;
  item->state &= ~kStateExpanded;
  // A caret hidden by the collapse moves up to the collapsed node.
  if (caret_ && IsAncestor(item, caret_)) {
    caret_->state &= ~kStateSelected;
    caret_ = item;
    item->state |= kStateSelected;
  }
  if (firstVisible_ && IsAncestor(item, firstVisible_)) firstVisible_ = item;
  KeepViewValid();
  if (firstVisible_) SetFirstVisible(firstVisible_);
  return was;
}

int MemoryForest::Expand(Node node, ExpandAction action) {
  Item* item = Valid(node);
  if (!item) return 0;
  switch (action) {
    case ExpandAction::kExpand:
      return ExpandItem(item) ? 1 : 0;
    case ExpandAction::kCollapse:
      return CollapseItem(item) ? 1 : 0;
    case ExpandAction::kToggle:
      if (item->state & kStateExpanded) return CollapseItem(item) ? 1 : 0;
      return ExpandItem(item) ? 1 : 0;
  }
  return 0;
}

int MemoryForest::RowsInView() const {
  return height_ / kRowHeight;
}

bool MemoryForest::RowOf(const Item* item, int* row) const {
  if (!firstVisible_ || !IsVisible(item)) return false;
  // Walk both ways from the top row at once: the cost is the distance.
  const Item* down = firstVisible_;
  const Item* up = firstVisible_;
  for (int steps = 0; down || up; ++steps) {
    if (down == item) {
      *row = steps;
      return true;
    }
    if (up == item) {
      *row = -steps;
      return true;
    }
    if (down) down = NextVisible(down);
    if (up) up = PreviousVisible(up);
  }
  return false;
}

void MemoryForest::SetFirstVisible(Item* item) {
  // No empty gap below the last row while there are rows above the view.
  int rows = RowsInView();
  int below = 1;
  for (Item* at = NextVisible(item); at && below < rows; at = NextVisible(at)) ++below;
  for (int gap = rows - below; gap > 0; --gap) {
    Item* up = PreviousVisible(item);
    if (!up) break;
    item = up;
  }
  firstVisible_ = item;
}

void MemoryForest::KeepViewValid() {
  if (!firstVisible_) {
    firstVisible_ = root_->first;
    return;
  }
  // The top row must be a shown node: the highest closed ancestor of a
  // hidden one takes its place.
  Item* shown = firstVisible_;
  for (Item* up = firstVisible_->parent; up && up != root_; up = up->parent)
    if (!(up->state & kStateExpanded)) shown = up;
  firstVisible_ = shown;
}

void MemoryForest::MakeVisible(Item* item) {
  for (Item* up = item->parent; up && up != root_; up = up->parent)
    if (!(up->state & kStateExpanded)) ExpandItem(up);
  KeepViewValid();
}

int MemoryForest::EnsureVisible(Node node) {
  Item* item = Valid(node);
  if (!item) return 0;
  MakeVisible(item);
  int row = 0;
  if (!RowOf(item, &row)) return 0;
  Item* newFirst = nullptr;
  int rows = RowsInView();
  if (row < 0) {
    newFirst = item;
  } else if (row >= rows && row > 0) {
    // Scroll just far enough that the node is the bottom row.
    newFirst = firstVisible_;
    for (int i = 0; i < row - rows + 1 && newFirst; ++i) newFirst = NextVisible(newFirst);
  }
  if (newFirst && newFirst != firstVisible_) {
    SetFirstVisible(newFirst);
    return 1;
  }
  return 0;
}

Handle MemoryForest::EditLabel(Node node) {
  Item* item = Valid(node);
  if (!item) return nullptr;
  if (editItem_) EndEditLabelNow(true);
  if (listener_ && listener_->OnBeginLabelEdit(node)) return nullptr;
  if (!Valid(node)) return nullptr;
  editItem_ = item;
  editText_ = item->text;
  ++editCount_;
  return GetEditControl();
}

int MemoryForest::EndEditLabelNow(bool cancel) {
  if (!editItem_) return 0;
  Item* item = editItem_;
  const Node node = item->handle;
  std::string text = editText_;
  // The edit is over before the listener hears of it, so that it may
  // start another or delete the node.
  editItem_ = nullptr;
  editText_.clear();
  bool take = listener_ && listener_->OnEndLabelEdit(node, cancel ? nullptr : text.c_str());
  // The listener may have deleted the node.
  if (!cancel && take && Valid(node) == item) item->text = text;
  return 1;
}

Handle MemoryForest::GetEditControl() {
  return editItem_ ? static_cast<Handle>(&editText_) : nullptr;
}

int MemoryForest::GetEditText(char* buffer, int size) {
  if (!editItem_ || !buffer || size <= 0) return 0;
  size_t n = editText_.size();
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  std::memcpy(buffer, editText_.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

int MemoryForest::SetEditText(const char* text) {
  if (!editItem_) return 0;
  editText_ = text ? text : "";
  return 1;
}

int MemoryForest::GetItemRect(Node node, bool textOnly, Rect* rect) {
  Item* item = Valid(node);
  if (!item || !rect) return 0;
  int row = 0;
  if (!RowOf(item, &row)) return 0;
  rect->top = row * kRowHeight;
  rect->bottom = rect->top + kRowHeight;
  if (!textOnly) {
    rect->left = 0;
    rect->right = width_;
    return 1;
  }
  int left = Level(item) * kIndent;
  if ((checkBoxes_ || stateImages_) && StateImageOf(item->state)) left += kStateIconWidth;
  if (normalImages_) left += kImageWidth + kImageGap;
  rect->left = left;
  rect->right = left + static_cast<int>(item->text.size()) * kCharWidth + kLabelPadding;
  return 1;
}

Node MemoryForest::HitTest(Point point, unsigned* flags) {
  unsigned where = 0;
  if (point.x < 0)
    where |= kHitToLeft;
  else if (point.x >= width_)
    where |= kHitToRight;
  if (point.y < 0)
    where |= kHitAbove;
  else if (point.y >= height_)
    where |= kHitBelow;
  if (where) {
    if (flags) *flags = where;
    return nullptr;
  }
  Item* item = firstVisible_;
  for (int row = point.y / kRowHeight; item && row > 0; --row) item = NextVisible(item);
  if (!item) {
    if (flags) *flags = kHitNowhere;
    return nullptr;
  }
  int stateLeft = Level(item) * kIndent;
  int imageLeft = stateLeft;
  if ((checkBoxes_ || stateImages_) && StateImageOf(item->state)) imageLeft += kStateIconWidth;
  int textLeft = imageLeft + (normalImages_ ? kImageWidth + kImageGap : 0);
  int textRight = textLeft + static_cast<int>(item->text.size()) * kCharWidth + kLabelPadding;
  if (point.x >= textRight)
    where = kHitOnRight;
  else if (point.x >= textLeft)
    where = kHitOnLabel;
  else if (point.x >= imageLeft)
    where = kHitOnIcon;
  else if (point.x >= stateLeft)
    where = kHitOnStateIcon;
  else
    where = kHitOnIndent;
  if (flags) *flags = where;
  return NodeOf(item);
}

Rect MemoryForest::ClientRect() {
  return Rect{0, 0, width_, height_};
}

void MemoryForest::SetClientSize(int width, int height) {
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
}

Handle MemoryForest::CreateDragImage(Node node) {
  // The control also wants a normal image list; every task tree has one,
  // so a forest without a window does not insist on it.
  if (!Valid(node)) return nullptr;
  Handle image = reinterpret_cast<Handle>(nextDragImage_);
  nextDragImage_ += 0x10;
  dragImages_.insert(image);
  return image;
}

void MemoryForest::DestroyDragImage(Handle image) {
  dragImages_.erase(image);
}

Color MemoryForest::SetBackgroundColor(Color color) {
  Color previous = background_;
  background_ = color;
  return previous;
}

Handle MemoryForest::SetImageList(ImageListKind kind, Handle list) {
  Handle& slot = kind == ImageListKind::kState ? stateImages_ : normalImages_;
  Handle previous = slot;
  slot = list;
  return previous;
}

Handle MemoryForest::GetImageList(ImageListKind kind) {
  return kind == ImageListKind::kState ? stateImages_ : normalImages_;
}

void MemoryForest::SetRedraw(bool on) {
  redraw_ = on;
  if (on)
    ++redrawOn_;
  else
    ++redrawOff_;
}
