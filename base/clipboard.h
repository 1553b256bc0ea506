// The clipboard, as the organiser uses it: plain text only.
#pragma once

#include <cstddef>
#include <string>

#include "base/platform.h"

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with the text (the program's code
  // page; as Unicode text on Win32), the owner being the given window. 1
  // when the text got there.
  virtual int SetText(Handle owner, const char* text, size_t length) = 0;
  // The clipboard's text in the program's code page; 0 when there is none.
  virtual int GetText(std::string* text) = 0;
};

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

// The host's clipboard (Win32 only).
Clipboard* HostClipboard();
