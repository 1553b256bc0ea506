#include "base/win32/treeview_forest.h"

#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

// The forest's codes are the control's, passed through unchanged.
static_assert(kStateFocused == 0x0001 && kStateSelected == TVIS_SELECTED && kStateCut == TVIS_CUT &&
              kStateDropHilited == TVIS_DROPHILITED && kStateBold == TVIS_BOLD &&
              kStateExpanded == TVIS_EXPANDED && kStateExpandedOnce == TVIS_EXPANDEDONCE &&
              kStateExpandPartial == TVIS_EXPANDPARTIAL && kStateImageMask == TVIS_STATEIMAGEMASK);
static_assert(kItemText == TVIF_TEXT && kItemImage == TVIF_IMAGE && kItemRecord == TVIF_PARAM &&
              kItemState == TVIF_STATE && kItemSelectedImage == TVIF_SELECTEDIMAGE &&
              kItemChildren == TVIF_CHILDREN);
static_assert(static_cast<unsigned>(Relation::kRoot) == TVGN_ROOT &&
              static_cast<unsigned>(Relation::kNext) == TVGN_NEXT &&
              static_cast<unsigned>(Relation::kPrevious) == TVGN_PREVIOUS &&
              static_cast<unsigned>(Relation::kParent) == TVGN_PARENT &&
              static_cast<unsigned>(Relation::kChild) == TVGN_CHILD &&
              static_cast<unsigned>(Relation::kFirstVisible) == TVGN_FIRSTVISIBLE &&
              static_cast<unsigned>(Relation::kNextVisible) == TVGN_NEXTVISIBLE &&
              static_cast<unsigned>(Relation::kPreviousVisible) == TVGN_PREVIOUSVISIBLE &&
              static_cast<unsigned>(Relation::kDropHilite) == TVGN_DROPHILITE &&
              static_cast<unsigned>(Relation::kCaret) == TVGN_CARET &&
              static_cast<unsigned>(Relation::kLastVisible) == TVGN_LASTVISIBLE);
static_assert(static_cast<unsigned>(ExpandAction::kCollapse) == TVE_COLLAPSE &&
              static_cast<unsigned>(ExpandAction::kExpand) == TVE_EXPAND &&
              static_cast<unsigned>(ExpandAction::kToggle) == TVE_TOGGLE);
static_assert(kHitNowhere == TVHT_NOWHERE && kHitOnIcon == TVHT_ONITEMICON &&
              kHitOnLabel == TVHT_ONITEMLABEL && kHitOnIndent == TVHT_ONITEMINDENT &&
              kHitOnButton == TVHT_ONITEMBUTTON && kHitOnRight == TVHT_ONITEMRIGHT &&
              kHitOnStateIcon == TVHT_ONITEMSTATEICON && kHitAbove == TVHT_ABOVE && kHitBelow == TVHT_BELOW &&
              kHitToRight == TVHT_TORIGHT && kHitToLeft == TVHT_TOLEFT);
static_assert(static_cast<int>(ImageListKind::kNormal) == TVSIL_NORMAL &&
              static_cast<int>(ImageListKind::kState) == TVSIL_STATE);
static_assert(kDefaultColor == CLR_DEFAULT);

namespace {

// The window property that ties a tree window to its forest.

HTREEITEM ItemOf(Node node) {
  return reinterpret_cast<HTREEITEM>(node);
}
Node NodeOf(HTREEITEM item) {
  return reinterpret_cast<Node>(item);
}

// The forest's item mask bits are the control's TVIF_ values.
constexpr unsigned kPassedMask =
    kItemText | kItemImage | kItemRecord | kItemState | kItemSelectedImage | kItemChildren;

void CopyTerminated(char* dest, int size, const char* src) {
  if (!dest || size <= 0) return;
  if (!src) src = "";
  size_t n = std::strlen(src);
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  std::memcpy(dest, src, n);
  dest[n] = '\0';
}

// The tree-view reverts to the system colour for -1; the forest speaks
// kDefaultColor for that, as TVM_GETLINECOLOR does.
COLORREF ToControlColor(Color color) {
  return color == kDefaultColor ? static_cast<COLORREF>(-1) : static_cast<COLORREF>(color);
}

// The control's form of an item to write; a missing text is the empty one.
void ToControlItem(const ForestItem& item, TVITEMA* tv, char (&empty)[1]) {
  tv->mask = item.mask & kPassedMask;
  tv->state = item.state;
  tv->stateMask = item.stateMask;
  tv->pszText = item.text ? item.text : empty;
  tv->iImage = item.image;
  tv->iSelectedImage = item.selectedImage;
  tv->cChildren = item.children;
  tv->lParam = reinterpret_cast<LPARAM>(item.record);
}

}  // namespace

// The forests bound to tree windows. A window property would do, but
// every message of a tree asks for its forest, and under Wine each property
// read is a round trip to the server: a few entries scanned in the
// process are far cheaper. Used on the user-interface thread only.
static std::vector<std::pair<HWND, TreeViewForest*>>& BoundForests() {
  static std::vector<std::pair<HWND, TreeViewForest*>> bound;
  return bound;
}

TreeViewForest::TreeViewForest(HWND tree, void (*destroyWindow)(HWND))
    : tree_(tree), destroyWindow_(destroyWindow) {
  if (!tree_) return;
  for (auto& entry : BoundForests())
    if (entry.first == tree_) {
      entry.second = this;
      return;
    }
  BoundForests().emplace_back(tree_, this);
}

TreeViewForest::~TreeViewForest() {
  auto& bound = BoundForests();
  for (size_t i = 0; i < bound.size(); ++i)
    if (bound[i].second == this) {
      bound.erase(bound.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  if (destroyWindow_ && tree_ && IsWindow(tree_)) destroyWindow_(tree_);
}

TreeViewForest* TreeViewForest::FromWindow(HWND tree) {
  if (!tree) return nullptr;
  for (const auto& entry : BoundForests())
    if (entry.first == tree) return entry.second;
  return nullptr;
}

bool TreeViewForest::HasCheckBoxes() const {
  return (GetWindowLongPtrA(tree_, GWL_STYLE) & TVS_CHECKBOXES) != 0;
}

Node TreeViewForest::Insert(Node parent, Node after, const ForestItem& item) {
  TVINSERTSTRUCTA insert;
  std::memset(&insert, 0, sizeof insert);
  insert.hParent = parent ? ItemOf(parent) : TVI_ROOT;
  insert.hInsertAfter = ItemOf(after);
  char empty[1] = {'\0'};
  ToControlItem(item, &insert.item, empty);
  return NodeOf(reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
}

int TreeViewForest::Delete(Node node) {
  // The control empties itself for a null item; a failed lookup passed in
  // by mistake must not wipe the tree, so only kRootNode does that.
  if (!node) return 0;
  if (!Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(ItemOf(node)))) return 0;
  NoteRemoval();
  return 1;
}

int TreeViewForest::GetItem(ForestItem& item) {
  if (!item.node || item.node == kRootNode) return 0;
  TVITEMA tv;
  std::memset(&tv, 0, sizeof tv);
  tv.mask = item.mask & kPassedMask;
  tv.hItem = ItemOf(item.node);
  tv.stateMask = item.stateMask;
  // The label goes only into the caller's buffer, never past it; without
  // a buffer it is not read at all.
  if (!item.text || item.textMax <= 0) tv.mask &= ~TVIF_TEXT;
  if (tv.mask & TVIF_TEXT) {
    item.text[0] = '\0';
    tv.pszText = item.text;
    tv.cchTextMax = item.textMax;
  }
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
  if (tv.mask & TVIF_TEXT) {
    // The control may answer with a pointer to its own copy.
    if (tv.pszText && tv.pszText != item.text && tv.pszText != LPSTR_TEXTCALLBACKA)
      CopyTerminated(item.text, item.textMax, tv.pszText);
    item.text[item.textMax - 1] = '\0';
  }
  // The control answers every state bit, whatever the mask says.
  if (tv.mask & TVIF_STATE) item.state = tv.state;
  if (tv.mask & TVIF_IMAGE) item.image = tv.iImage;
  if (tv.mask & TVIF_SELECTEDIMAGE) item.selectedImage = tv.iSelectedImage;
  if (tv.mask & TVIF_PARAM) item.record = reinterpret_cast<TaskRecord*>(tv.lParam);
  if (tv.mask & TVIF_CHILDREN) item.children = tv.cChildren;
  return 1;
}

int TreeViewForest::SetItem(const ForestItem& item) {
  if (!item.node || item.node == kRootNode) return 0;
  TVITEMA tv;
  std::memset(&tv, 0, sizeof tv);
  char empty[1] = {'\0'};
  ToControlItem(item, &tv, empty);
  tv.hItem = ItemOf(item.node);
  return Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) ? 1 : 0;
}

unsigned TreeViewForest::GetState(Node node, unsigned mask) {
  if (!node || node == kRootNode) return 0;
  return static_cast<unsigned>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(ItemOf(node)), mask));
}

Node TreeViewForest::GetNext(Node node, Relation relation) {
  // The control knows the first child of the invisible root only as the
  // child of no item.
  HTREEITEM from = node == kRootNode && relation == Relation::kChild ? nullptr : ItemOf(node);
  return NodeOf(reinterpret_cast<HTREEITEM>(
      Send(TVM_GETNEXTITEM, static_cast<WPARAM>(relation), reinterpret_cast<LPARAM>(from))));
}

int TreeViewForest::Select(Node node, Relation how) {
  return Send(TVM_SELECTITEM, static_cast<WPARAM>(how), reinterpret_cast<LPARAM>(ItemOf(node))) ? 1 : 0;
}

int TreeViewForest::Expand(Node node, ExpandAction action) {
  if (!node || node == kRootNode) return 0;
  return Send(TVM_EXPAND, static_cast<WPARAM>(action), reinterpret_cast<LPARAM>(ItemOf(node))) ? 1 : 0;
}

int TreeViewForest::EnsureVisible(Node node) {
  if (!node || node == kRootNode) return 0;
  return Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(ItemOf(node))) ? 1 : 0;
}

Handle TreeViewForest::EditLabel(Node node) {
  if (!node || node == kRootNode) return nullptr;
  return reinterpret_cast<Handle>(Send(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(ItemOf(node))));
}

int TreeViewForest::EndEditLabelNow(bool cancel) {
  return Send(TVM_ENDEDITLABELNOW, cancel ? TRUE : FALSE, 0) ? 1 : 0;
}

Handle TreeViewForest::GetEditControl() {
  return reinterpret_cast<Handle>(Send(TVM_GETEDITCONTROL, 0, 0));
}

int TreeViewForest::GetEditText(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  HWND edit = static_cast<HWND>(GetEditControl());
  if (!edit) return 0;
  int length = GetWindowTextA(edit, buffer, size);
  buffer[size - 1] = '\0';
  return length < 0 ? 0 : (length > size - 1 ? size - 1 : length);
}

int TreeViewForest::SetEditText(const char* text) {
  HWND edit = static_cast<HWND>(GetEditControl());
  if (!edit) return 0;
  return SetWindowTextA(edit, text ? text : "") ? 1 : 0;
}

Node TreeViewForest::HitTest(Point point, unsigned* flags) {
  TVHITTESTINFO hit;
  std::memset(&hit, 0, sizeof hit);
  hit.pt.x = point.x;
  hit.pt.y = point.y;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (flags) *flags = hit.flags;
  return NodeOf(item);
}

int TreeViewForest::GetItemRect(Node node, bool textOnly, Rect* rect) {
  if (!rect || !node || node == kRootNode) return 0;
  // The message takes the item in the rectangle's first bytes.
  RECT rc;
  HTREEITEM item = ItemOf(node);
  std::memcpy(&rc, &item, sizeof item);
  if (!Send(TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rc))) return 0;
  *rect = Rect{rc.left, rc.top, rc.right, rc.bottom};
  return 1;
}

Rect TreeViewForest::ClientRect() {
  RECT rc = {0, 0, 0, 0};
  GetClientRect(tree_, &rc);
  return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

unsigned TreeViewForest::Count() {
  return static_cast<unsigned>(Send(TVM_GETCOUNT, 0, 0));
}

Handle TreeViewForest::CreateDragImage(Node node) {
  if (!node || node == kRootNode) return nullptr;
  return reinterpret_cast<Handle>(Send(TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(ItemOf(node))));
}

void TreeViewForest::DestroyDragImage(Handle image) {
  if (image) ImageList_Destroy(static_cast<HIMAGELIST>(image));
}

Color TreeViewForest::SetBackgroundColor(Color color) {
  return static_cast<Color>(Send(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ToControlColor(color))));
}

Color TreeViewForest::GetBackgroundColor() {
  return static_cast<Color>(Send(TVM_GETBKCOLOR, 0, 0));
}
Color TreeViewForest::GetLineColor() {
  return static_cast<Color>(Send(TVM_GETLINECOLOR, 0, 0));
}
Color TreeViewForest::GetTextColor() {
  return static_cast<Color>(Send(TVM_GETTEXTCOLOR, 0, 0));
}

Handle TreeViewForest::SetImageList(ImageListKind kind, Handle list) {
  return reinterpret_cast<Handle>(
      Send(TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list)));
}

Handle TreeViewForest::GetImageList(ImageListKind kind) {
  return reinterpret_cast<Handle>(Send(TVM_GETIMAGELIST, static_cast<WPARAM>(kind), 0));
}

void TreeViewForest::SetRedraw(bool on) {
  Send(WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

namespace {

// A label from a Unicode notification, in the program's single-byte text.
struct NarrowText {
  char text[1024];
  const char* From(const WCHAR* wide) {
    if (!wide) return nullptr;
    text[0] = '\0';
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr))
      text[sizeof text - 1] = '\0';
    return text;
  }
};

}  // namespace

LRESULT TreeViewForest::OnNotify(const NMHDR* header) {
  if (!header || !listener_) return 0;
  // The control asks in the parent's character set; both are answered.
  const bool wide = header->code == TVN_BEGINLABELEDITW || header->code == TVN_ENDLABELEDITW;
  switch (header->code) {
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
      HTREEITEM item = wide ? reinterpret_cast<const NMTVDISPINFOW*>(header)->item.hItem
                            : reinterpret_cast<const NMTVDISPINFOA*>(header)->item.hItem;
      endedEdit_ = nullptr;
      return listener_->OnBeginLabelEdit(NodeOf(item)) ? TRUE : FALSE;
    }
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
      HWND edit = static_cast<HWND>(GetEditControl());
      if (edit && edit == endedEdit_) return endedAnswer_ ? TRUE : FALSE;
      // Anything the listener does that ends this edit again (deleting the
      // node) is answered "keep the old label" without asking twice.
      endedEdit_ = edit;
      endedAnswer_ = false;
      NarrowText narrow;
      HTREEITEM item;
      const char* text;
      if (wide) {
        auto* info = reinterpret_cast<const NMTVDISPINFOW*>(header);
        item = info->item.hItem;
        text = narrow.From(info->item.pszText);
      } else {
        auto* info = reinterpret_cast<const NMTVDISPINFOA*>(header);
        item = info->item.hItem;
        text = info->item.pszText;
      }
      bool take = listener_->OnEndLabelEdit(NodeOf(item), text);
      // A repeat of a cancelled edit carries the edit's text; it must not
      // set the label the cancel kept.
      endedAnswer_ = take && text;
      return take ? TRUE : FALSE;
    }
    default:
      return 0;
  }
}

LRESULT ForwardTreeNotify(const NMHDR* header) {
  if (!header) return 0;
  TreeViewForest* forest = TreeViewForest::FromWindow(header->hwndFrom);
  return forest ? forest->OnNotify(header) : 0;
}
