#include "alerts/smtpreply.h"

#include <cstring>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Drops the first `count` bytes, keeping the rest for the next read.
void Consume(ReplyReader& reader, size_t count) {
  std::memmove(reader.pending, reader.pending + count, reader.length - count);
  reader.length -= count;
}

// The line as the user may see it: a server's control bytes and 8-bit
// text go no further than the reader.
void KeepText(ReplyReader& reader, const char* line, size_t length) {
  size_t kept = 0;
  for (size_t at = 0; at < length && kept + 1 < sizeof reader.text; ++at)
    reader.text[kept++] = line[at] >= 0x20 && line[at] < 0x7F ? line[at] : '?';
  reader.text[kept] = '\0';
}

// An EHLO line naming the keyword, in any case, with or without parameters.
bool NamesKeyword(const char* text, size_t length, const char* keyword) {
  const size_t size = std::strlen(keyword);
  if (length < size || (length > size && text[size] != ' ')) return false;
  for (size_t at = 0; at < size; ++at)
    if ((text[at] >= 'a' && text[at] <= 'z' ? text[at] - 32 : text[at]) != keyword[at]) return false;
  return true;
}

}  // namespace

void ResetReplyReader(ReplyReader& reader) {
  reader.text[0] = '\0';
  reader.length = 0;
  reader.lines = 0;
  reader.offers8BitMime = false;
}

char* FreeSpace(ReplyReader& reader) {
  return reader.pending + reader.length;
}

size_t FreeSpaceSize(const ReplyReader& reader) {
  return sizeof reader.pending - reader.length;
}

void ReplyReceived(ReplyReader& reader, size_t count) {
  const size_t room = FreeSpaceSize(reader);
  reader.length += count < room ? count : room;
}

ReplyStatus TakeReply(ReplyReader& reader, int* code) {
  for (;;) {
    const char* end = static_cast<const char*>(std::memchr(reader.pending, '\n', reader.length));
    if (!end)
      return reader.length == sizeof reader.pending ? ReplyStatus::kMalformed : ReplyStatus::kIncomplete;
    const size_t consumed = static_cast<size_t>(end - reader.pending) + 1;
    size_t line = consumed - 1;
    if (line > 0 && reader.pending[line - 1] == '\r') --line;
    const char* text = reader.pending;
    if (line < 3 || !IsDigit(text[0]) || !IsDigit(text[1]) || !IsDigit(text[2]))
      return ReplyStatus::kMalformed;
    const char mark = line == 3 ? ' ' : text[3];
    if (mark != ' ' && mark != '-') return ReplyStatus::kMalformed;
    const int number = (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
    // The first line of an EHLO reply is the server's name; its keywords follow.
    if (reader.lines == 0)
      reader.offers8BitMime = false;
    else if (line > 4 && NamesKeyword(text + 4, line - 4, "8BITMIME"))
      reader.offers8BitMime = true;
    if (mark == ' ') KeepText(reader, text, line);
    Consume(reader, consumed);
    if (mark == '-') {
      if (++reader.lines > kMaxReplyLines) return ReplyStatus::kMalformed;
      continue;
    }
    reader.lines = 0;
    if (code) *code = number;
    return ReplyStatus::kComplete;
  }
}
