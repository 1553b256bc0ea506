// The task forest on a real tree-view control: every operation is the
// message of the forest interface sent to one "SysTreeView32" window.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "base/forest.h"

class TreeViewForest final : public TaskForest {
 public:
  // Binds the forest to the tree window, so that the parent's WM_NOTIFY can
  // find it (ForwardTreeNotify). When destroyWindow is given the forest
  // owns the window and calls it on destruction.
  explicit TreeViewForest(HWND tree, void (*destroyWindow)(HWND) = nullptr);
  ~TreeViewForest() override;
  TreeViewForest(const TreeViewForest&) = delete;
  TreeViewForest& operator=(const TreeViewForest&) = delete;

  // The forest bound to a tree window, or none.
  static TreeViewForest* FromWindow(HWND tree);

  Handle Window() const override { return tree_; }
  bool HasCheckBoxes() const override;

  Node Insert(Node parent, Node after, const ForestItem& item) override;
  int Delete(Node node) override;
  int GetItem(ForestItem& item) override;
  int SetItem(const ForestItem& item) override;
  unsigned GetState(Node node, unsigned mask) override;
  Node GetNext(Node node, Relation relation) override;
  int Select(Node node, Relation how) override;
  int Expand(Node node, ExpandAction action) override;
  int EnsureVisible(Node node) override;

  Handle EditLabel(Node node) override;
  int EndEditLabelNow(bool cancel) override;
  Handle GetEditControl() override;
  int GetEditText(char* buffer, int size) override;
  int SetEditText(const char* text) override;
  void SetListener(ForestListener* listener) override { listener_ = listener; }

  // The label-edit notifications of this tree, as the parent receives them.
  LRESULT OnNotify(const NMHDR* header);

  Node HitTest(Point point, unsigned* flags) override;
  int GetItemRect(Node node, bool textOnly, Rect* rect) override;
  Rect ClientRect() override;
  unsigned Count() override;
  Handle CreateDragImage(Node node) override;
  void DestroyDragImage(Handle image) override;

  Color SetBackgroundColor(Color color) override;
  Color GetBackgroundColor() override;
  Color GetLineColor() override;
  Color GetTextColor() override;
  Handle SetImageList(ImageListKind kind, Handle list) override;
  Handle GetImageList(ImageListKind kind) override;

  void SetRedraw(bool on) override;

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageA(tree_, message, wParam, lParam);
  }

  HWND tree_;
  void (*destroyWindow_)(HWND);
  ForestListener* listener_ = nullptr;
  // The edit whose end the listener has been told of, and its answer: the
  // control may report one ending twice (hiding the focused edit makes it
  // end again), and the listener hears of each edit once.
  HWND endedEdit_ = nullptr;
  bool endedAnswer_ = false;
};

// For the parent's WM_NOTIFY: hands the label-edit notifications of a tree
// with a bound forest to its listener and answers for it, as the control
// expects. Other notifications answer 0.
LRESULT ForwardTreeNotify(const NMHDR* header);
