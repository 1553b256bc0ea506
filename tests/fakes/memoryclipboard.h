#pragma once

#include <cstddef>
#include <string>

#include "base/clipboard.h"

// A clipboard of one text, which can be made to refuse opening.
class MemoryClipboard final : public Clipboard {
 public:
  int SetText(Handle owner, const char* text, size_t length) override {
    if (locked) return 0;
    owner_ = owner;
    text_.assign(text, length);
    has_ = true;
    return 1;
  }
  int GetText(std::string* text) override {
    if (locked || !has_) return 0;
    *text = text_;
    return 1;
  }
  Handle owner() const { return owner_; }
  bool locked = false;  // another program holds the clipboard open

 private:
  std::string text_;
  Handle owner_ = nullptr;
  bool has_ = false;
};
