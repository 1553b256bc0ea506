// A task forest whose failures a test chooses, over a MemoryForest.
#pragma once

#include "fakes/memoryforest.h"

// A forest that stops inserting after a number of nodes, to see a copy fail
// half-way, and that can refuse to delete one node.
class FailingForest final : public TaskForest {
 public:
  explicit FailingForest(int insertsLeft = 1 << 30) : left_(insertsLeft) {}
  MemoryForest inner{false};
  Node refusedDelete = nullptr;
  Handle Window() const override { return nullptr; }
  bool HasCheckBoxes() const override { return false; }
  Node Insert(Node parent, Node after, const ForestItem& item) override {
    if (left_-- <= 0) return nullptr;
    return inner.Insert(parent, after, item);
  }
  int Delete(Node node) override { return node && node == refusedDelete ? 0 : inner.Delete(node); }
  int GetItem(ForestItem& item) override { return inner.GetItem(item); }
  int SetItem(const ForestItem& item) override { return inner.SetItem(item); }
  unsigned GetState(Node node, unsigned mask) override { return inner.GetState(node, mask); }
  Node GetNext(Node node, Relation relation) override { return inner.GetNext(node, relation); }
  int Select(Node node, Relation how) override { return inner.Select(node, how); }
  int Expand(Node node, ExpandAction action) override { return inner.Expand(node, action); }
  int EnsureVisible(Node node) override { return inner.EnsureVisible(node); }
  Handle EditLabel(Node node) override { return inner.EditLabel(node); }
  int EndEditLabelNow(bool cancel) override { return inner.EndEditLabelNow(cancel); }
  Handle GetEditControl() override { return inner.GetEditControl(); }
  int GetEditText(char* buffer, int size) override { return inner.GetEditText(buffer, size); }
  int SetEditText(const char* text) override { return inner.SetEditText(text); }
  void SetListener(ForestListener* listener) override { inner.SetListener(listener); }
  Node HitTest(Point point, unsigned* flags) override { return inner.HitTest(point, flags); }
  int GetItemRect(Node node, bool textOnly, Rect* rect) override {
    return inner.GetItemRect(node, textOnly, rect);
  }
  Rect ClientRect() override { return inner.ClientRect(); }
  unsigned Count() override { return inner.Count(); }
  Handle CreateDragImage(Node node) override { return inner.CreateDragImage(node); }
  void DestroyDragImage(Handle image) override { inner.DestroyDragImage(image); }
  Color SetBackgroundColor(Color color) override { return inner.SetBackgroundColor(color); }
  Color GetBackgroundColor() override { return inner.GetBackgroundColor(); }
  Color GetLineColor() override { return inner.GetLineColor(); }
  Color GetTextColor() override { return inner.GetTextColor(); }
  Handle SetImageList(ImageListKind kind, Handle list) override { return inner.SetImageList(kind, list); }
  Handle GetImageList(ImageListKind kind) override { return inner.GetImageList(kind); }
  void SetRedraw(bool on) override { inner.SetRedraw(on); }

 private:
  int left_;
};
