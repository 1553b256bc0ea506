// A task forest held in memory, behaving as the tree-view control does for
// everything the organiser asks of it: the same navigation, caret, expand
// and label-edit rules, and a simple fixed row layout for hit tests and
// rectangles. Tests, benchmarks and the native build use it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/forest.h"

class MemoryForest final : public TaskForest {
 public:
  // Layout of a row: fixed height, indent per level, a state-icon column
  // when the tree has check boxes, a one-pixel normal-image column (the
  // program's normal images are 1 x 1) and the label, kCharWidth pixels a
  // character.
  static constexpr int kRowHeight = 16;
  static constexpr int kIndent = 19;
  static constexpr int kStateIconWidth = 16;
  static constexpr int kImageWidth = 1;
  static constexpr int kImageGap = 3;
  static constexpr int kCharWidth = 6;
  static constexpr int kLabelPadding = 4;
  // What TVM_GETBKCOLOR and TVM_GETTEXTCOLOR answer while the system's
  // colours are in use (the line colour answers kDefaultColor instead).
  static constexpr Color kNoColor = 0xFFFFFFFF;

  explicit MemoryForest(bool checkBoxes);
  ~MemoryForest() override;
  MemoryForest(const MemoryForest&) = delete;
  MemoryForest& operator=(const MemoryForest&) = delete;

  Handle Window() const override { return nullptr; }
  bool HasCheckBoxes() const override { return checkBoxes_; }

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

  Node HitTest(Point point, unsigned* flags) override;
  int GetItemRect(Node node, bool textOnly, Rect* rect) override;
  Rect ClientRect() override;
  unsigned Count() override { return static_cast<unsigned>(liveCount_); }
  Handle CreateDragImage(Node node) override;
  void DestroyDragImage(Handle image) override;

  Color SetBackgroundColor(Color color) override;
  Color GetBackgroundColor() override { return background_; }
  Color GetLineColor() override { return lineColor_; }
  Color GetTextColor() override { return textColor_; }
  Handle SetImageList(ImageListKind kind, Handle list) override;
  Handle GetImageList(ImageListKind kind) override;

  void SetRedraw(bool on) override;

  // Beyond the control's messages: the window size, the colours a skin
  // sets, and how often painting was switched (for tests).
  void SetClientSize(int width, int height);
  void SetTextColor(Color color) { textColor_ = color; }
  void SetLineColor(Color color) { lineColor_ = color; }
  int RedrawOffCount() const { return redrawOff_; }
  int RedrawOnCount() const { return redrawOn_; }
  bool RedrawSuspended() const { return !redraw_; }
  int DragImagesAlive() const { return static_cast<int>(dragImages_.size()); }

 private:
  struct Item;

  Item* Valid(Node node) const;
  static Node NodeOf(const Item* item);
  void Adopt(Item* item);
  void Release(Item* item);
  bool IsVisible(const Item* item) const;
  Item* NextVisible(const Item* item) const;
  Item* PreviousVisible(const Item* item) const;
  Item* LastVisibleUnder(Item* item) const;
  int Level(const Item* item) const;
  static bool IsAncestor(const Item* ancestor, const Item* item);
  void Unlink(Item* item);
  void FreeSubtree(Item* item);
  bool ExpandItem(Item* item);
  bool CollapseItem(Item* item);
  void MakeVisible(Item* item);
  int RowsInView() const;
  // The row of a visible item counted from the first visible one (negative
  // above it); false when the item is not shown.
  bool RowOf(const Item* item, int* row) const;
  void SetFirstVisible(Item* item);
  void KeepViewValid();

  bool checkBoxes_;
  Item* root_;
  struct Slot {
    Item* item;
    uint64_t generation;
  };
  std::vector<Slot> slots_;
  std::vector<uint32_t> freeSlots_;
  size_t liveCount_ = 0;
  Item* caret_ = nullptr;
  Item* drop_ = nullptr;
  Item* firstVisible_ = nullptr;
  Item* editItem_ = nullptr;
  std::string editText_;
  int editCount_ = 0;
  ForestListener* listener_ = nullptr;
  int width_ = 200;
  int height_ = 320;
  Color background_ = kNoColor;
  Color textColor_ = kNoColor;
  Color lineColor_ = kDefaultColor;
  Handle normalImages_ = nullptr;
  Handle stateImages_ = nullptr;
  std::unordered_set<Handle> dragImages_;
  uintptr_t nextDragImage_ = 0x1000;
  bool redraw_ = true;
  int redrawOff_ = 0;
  int redrawOn_ = 0;
};
