#include <windows.h>

#include <cwchar>
#include <string>

#include "base/codepage.h"

namespace {

// The system's ANSI code page as it was before any manifest chose UTF-8:
// GetACP() answers 65001 in a process whose manifest asks for UTF-8.
UINT SystemLegacyCodePage() {
  wchar_t text[16] = {};
  DWORD size = sizeof text - sizeof text[0];
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", L"ACP",
                   RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS ||
      !text[0])
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, 16);
  const UINT codePage = static_cast<UINT>(std::wcstoul(text, nullptr, 10));
  return codePage && IsValidCodePage(codePage) ? codePage : 1252;
}

std::wstring Widen(UINT codePage, const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int count = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(count > 0 ? count : 0), L'\0');
  if (count > 0) MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], count);
  return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  // UTF-8 takes no default character; it holds every character anyway.
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int count = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, fallback, nullptr);
  std::string text(static_cast<size_t>(count > 0 ? count : 0), '\0');
  if (count > 0) WideCharToMultiByte(codePage, 0, wide.data(), length, &text[0], count, fallback, nullptr);
  return text;
}

class Win32CodePage final : public CodePage {
 public:
  Win32CodePage() : legacy_(SystemLegacyCodePage()) {}

  bool ProgramTextIsUtf8() override { return GetACP() == CP_UTF8; }

  std::string LegacyToUtf8(const std::string& text) override {
    // A system whose own code page is UTF-8 (the "beta" option) wrote UTF-8
    // under the Windows-1252 declaration; what is not UTF-8 came from
    // elsewhere, most likely a Western system.
    if (legacy_ == CP_UTF8) return IsUtf8(text.data(), text.size()) ? text : Narrow(CP_UTF8, Widen(1252, text));
    return Narrow(CP_UTF8, Widen(legacy_, text));
  }

  std::string Utf8ToLegacy(const std::string& text) override {
    if (legacy_ == CP_UTF8) return text;
    return Narrow(legacy_, Widen(CP_UTF8, text));
  }

 private:
  const UINT legacy_;
};

}  // namespace

CodePage* HostCodePage() {
  static Win32CodePage codePage;
  return &codePage;
}
