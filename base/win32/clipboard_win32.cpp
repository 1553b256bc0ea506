#include <windows.h>

#include <cstring>
#include <cwchar>

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

// Unicode text on the clipboard, so that a name in any script reaches other
// programs whole; the program's texts are in the process's code page.
class Win32Clipboard final : public Clipboard {
 public:
  int SetText(Handle owner, const char* text, size_t length) override {
    if (!text) return 0;
    const int count = length ? MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0) : 0;
    if (length && count <= 0) return 0;
    ScopedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(count) + 1) * sizeof(wchar_t)));
    if (!memory.get()) return 0;
    wchar_t* wide = static_cast<wchar_t*>(GlobalLock(memory.get()));
    if (!wide) return 0;
    if (count) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide, count);
    wide[count] = L'\0';
    GlobalUnlock(memory.get());

    OpenedClipboard clipboard(static_cast<HWND>(owner));
    if (!clipboard.open()) return 0;
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return 0;
    memory.release();  // the clipboard owns it now
    return 1;
  }

  int GetText(std::string* text) override {
    if (!text) return 0;
    OpenedClipboard clipboard(nullptr);
    if (!clipboard.open()) return 0;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return 0;
    const wchar_t* wide = static_cast<const wchar_t*>(GlobalLock(data));
    if (!wide) return 0;
    // The memory may end without its terminator: read no further than it.
    const size_t size = GlobalSize(data) / sizeof(wchar_t);
    const int length = static_cast<int>(wcsnlen(wide, size));
    const int count = length ? WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr) : 0;
    text->assign(static_cast<size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) WideCharToMultiByte(CP_ACP, 0, wide, length, &(*text)[0], count, nullptr, nullptr);
    GlobalUnlock(data);
    return 1;
  }
};

}  // namespace

Clipboard* HostClipboard() {
  static Win32Clipboard clipboard;
  return &clipboard;
}
