#include <windows.h>

#include "base/prompts.h"

namespace {

// The styles and answers of Prompts carry their Win32 values, so they go
// to MessageBoxA unchanged.
class Win32Prompts final : public Prompts {
 public:
  int Show(Handle owner, const char* text, const char* title, unsigned style) override {
    return MessageBoxA(static_cast<HWND>(owner), text ? text : "", title ? title : "", style);
  }
};

}  // namespace

Prompts* HostPrompts() {
  static Win32Prompts prompts;
  return &prompts;
}
