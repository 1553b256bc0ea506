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

// The host's clipboard (Win32 only).
Clipboard* HostClipboard();
