#include <windows.h>

#include <cstring>

#include "base/clipboard.h"

namespace {

// Global memory that is freed unless it was handed to the clipboard.
class ScopedGlobal {
 public:
  explicit ScopedGlobal(HGLOBAL memory) : memory_(memory) {}
  ~ScopedGlobal() {
    if (memory_) GlobalFree(memory_);
  }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;
  HGLOBAL get() const { return memory_; }
  void release() { memory_ = nullptr; }

 private:
  HGLOBAL memory_;
};

// The clipboard open for one scope.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

class Win32Clipboard final : public Clipboard {
 public:
  int SetText(Handle owner, const char* text, size_t length) override {
    if (!text) return 0;
    ScopedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, length + 1));
    if (!memory.get()) return 0;
    char* bytes = static_cast<char*>(GlobalLock(memory.get()));
    if (!bytes) return 0;
    std::memcpy(bytes, text, length);
    bytes[length] = '\0';
    GlobalUnlock(memory.get());

    OpenedClipboard clipboard(static_cast<HWND>(owner));
    if (!clipboard.open()) return 0;
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, memory.get())) return 0;
    memory.release();  // the clipboard owns it now
    return 1;
  }

  int GetText(std::string* text) override {
    if (!text) return 0;
    OpenedClipboard clipboard(nullptr);
    if (!clipboard.open()) return 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return 0;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return 0;
    // The memory may end without its terminator: read no further than it.
    size_t size = GlobalSize(data);
    text->assign(bytes, strnlen(bytes, size));
    GlobalUnlock(data);
    return 1;
  }
};

}  // namespace

Clipboard* HostClipboard() {
  static Win32Clipboard clipboard;
  return &clipboard;
}
