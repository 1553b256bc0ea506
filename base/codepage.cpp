#include "base/codepage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/appstate.h"

namespace {

// The length of the valid UTF-8 sequence at `text[0]`, with its code point;
// 0 when none begins there.
size_t DecodeOne(const unsigned char* text, size_t left, uint32_t* codePoint) {
  const unsigned char lead = text[0];
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  }
  size_t size;
  uint32_t value;
  uint32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2, value = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3, value = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4, value = lead & 0x07u, least = 0x10000;
  } else {
    return 0;
  }
  if (left < size) return 0;
  for (size_t i = 1; i < size; ++i) {
    if ((text[i] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (text[i] & 0x3Fu);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return size;
}

void AppendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// Windows-1252's 0x80-0x9F; the five bytes it leaves undefined map to the
// control characters of the same number, as Windows maps them.
constexpr uint16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t From1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHigh1252[byte - 0x80] : byte;
}

char To1252(uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<char>(codePoint);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == codePoint) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

size_t Utf8CutBefore(const char* text, size_t cut) {
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool IsUtf8(const char* text, size_t length) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  uint32_t codePoint;
  for (size_t at = 0; at < length;) {
    // ASCII runs are most of any file: skip them eight bytes at a time.
    uint64_t word;
    if (length - at >= 8 && (std::memcpy(&word, bytes + at, 8), (word & 0x8080808080808080ull) == 0)) {
      at += 8;
      continue;
    }
    if (bytes[at] < 0x80) {
      ++at;
      continue;
    }
    const size_t size = DecodeOne(bytes + at, length - at, &codePoint);
    if (!size) return false;
    at += size;
  }
  return true;
}

size_t Utf8Prefix(const char* text, size_t length, size_t characters) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  uint32_t codePoint;
  size_t at = 0;
  for (size_t count = 0; count < characters && at < length; ++count) {
    const size_t size = DecodeOne(bytes + at, length - at, &codePoint);
    at += size ? size : 1;
  }
  return at;
}

size_t ProgramTextPrefix(const char* text, size_t length, size_t characters) {
  if (ProgramCodePage().ProgramTextIsUtf8()) return Utf8Prefix(text, length, characters);
  return std::min(length, characters);
}

std::string LegacyBytesToUtf8(const std::string& text) {
  std::string out;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  uint32_t codePoint;
  for (size_t at = 0; at < text.size();) {
    const size_t size = DecodeOne(bytes + at, text.size() - at, &codePoint);
    if (size) {
      out.append(text, at, size);
      at += size;
    } else {
      out += ProgramCodePage().LegacyToUtf8(std::string(1, text[at++]));
    }
  }
  return out;
}

std::string Windows1252CodePage::LegacyToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, From1252(static_cast<unsigned char>(c)));
  return out;
}

std::string Windows1252CodePage::Utf8ToLegacy(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  uint32_t codePoint;
  for (size_t at = 0; at < text.size();) {
    const size_t size = DecodeOne(bytes + at, text.size() - at, &codePoint);
    out.push_back(size ? To1252(codePoint) : '?');
    at += size ? size : 1;
  }
  return out;
}

CodePage& ProgramCodePage() {
  CodePage* codePage = App().codePage;
  return codePage ? *codePage : *HostCodePage();
}

std::string ProgramTextToUtf8(const std::string& text) {
  CodePage& codePage = ProgramCodePage();
  return codePage.ProgramTextIsUtf8() ? text : codePage.LegacyToUtf8(text);
}

std::string Utf8ToProgramText(const std::string& text) {
  CodePage& codePage = ProgramCodePage();
  return codePage.ProgramTextIsUtf8() ? text : codePage.Utf8ToLegacy(text);
}
