// The code pages of the program's texts. The programs' narrow texts are in
// the process's ANSI code page: UTF-8 where the manifest's activeCodePage is
// honoured (Windows 10 1903 and later), the system's legacy code page on
// earlier Windows. Files and mail carry UTF-8; the files and settings of
// earlier versions carry the legacy code page.
#pragma once

#include <cstddef>
#include <string>

// True when `length` bytes of `text` are well-formed UTF-8: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
bool IsUtf8(const char* text, size_t length);
// `cut`, or less down to the start of the UTF-8 character that `text[cut]`
// continues: a text cut there ends before the character it would split.
// `text[cut]` must be readable.
size_t Utf8CutBefore(const char* text, size_t cut);
// How many bytes of `text` hold its first `characters` characters (all of
// it when it has fewer): never part of one. A byte that begins no valid
// UTF-8 sequence counts as a character of its own.
size_t Utf8Prefix(const char* text, size_t length, size_t characters);

class CodePage {
 public:
  virtual ~CodePage() = default;
  // True when the program's narrow texts are UTF-8.
  virtual bool ProgramTextIsUtf8() = 0;
  // Text in the system's legacy ANSI code page as UTF-8.
  virtual std::string LegacyToUtf8(const std::string& text) = 0;
  // UTF-8 in the legacy code page; a character it lacks becomes "?".
  virtual std::string Utf8ToLegacy(const std::string& text) = 0;
};

// Windows-1252 as the legacy code page, the program's texts UTF-8 unless
// `programTextIsUtf8` says otherwise (an earlier Windows).
class Windows1252CodePage final : public CodePage {
 public:
  explicit Windows1252CodePage(bool programTextIsUtf8 = true) : utf8_(programTextIsUtf8) {}
  bool ProgramTextIsUtf8() override { return utf8_; }
  std::string LegacyToUtf8(const std::string& text) override;
  std::string Utf8ToLegacy(const std::string& text) override;

 private:
  bool utf8_;
};

// The host's code pages: the system's on Win32, Windows1252CodePage natively.
CodePage* HostCodePage();
// App().codePage, or the host's when none is set.
CodePage& ProgramCodePage();

// Utf8Prefix for the program's texts: in a legacy code page, a byte is a
// character.
size_t ProgramTextPrefix(const char* text, size_t length, size_t characters);
// UTF-8 whose every byte that begins no valid sequence is read as a
// character of the legacy code page.
std::string LegacyBytesToUtf8(const std::string& text);
// The program's text as UTF-8, and UTF-8 as the program's text.
std::string ProgramTextToUtf8(const std::string& text);
std::string Utf8ToProgramText(const std::string& text);
