// Reading SMTP replies out of the bytes a server sends. A reply is one or
// more lines "NNN-text" ending with a line "NNN text" (or "NNN" alone);
// servers send multi-line replies (EHLO) in as many pieces as they like,
// and a piece may also carry the start of the next reply. The reader keeps
// what it has not used yet, so each reply is read whole and only once.
#pragma once

#include <cstddef>

// Room for the bytes of one line not yet complete (RFC 5321 allows 512).
constexpr size_t kReplyBufferSize = 2048;
// A server that goes on with continuation lines beyond this is taken as
// broken rather than read forever.
constexpr int kMaxReplyLines = 200;

// What is kept of a reply's text for the user: its last line, cut.
constexpr size_t kReplyTextSize = 160;

struct ReplyReader {
  char pending[kReplyBufferSize];
  char text[kReplyTextSize];  // the last whole reply's final line, printable ASCII only
  size_t length;              // bytes in `pending` not yet read
  int lines;                  // continuation lines already read of the reply under way
  bool offers8BitMime;        // the last reply listed "8BITMIME" after its first line (EHLO's keywords)
};

enum class ReplyStatus {
  kIncomplete,  // more bytes are needed: receive into FreeSpace
  kComplete,    // a whole reply was taken; its code is given
  kMalformed,   // not SMTP, or a line or reply beyond the limits
};

// Empties the reader (a new connection).
void ResetReplyReader(ReplyReader& reader);
// Where received bytes go, and how many fit; call ReplyReceived after.
char* FreeSpace(ReplyReader& reader);
size_t FreeSpaceSize(const ReplyReader& reader);
void ReplyReceived(ReplyReader& reader, size_t count);
// Takes the next whole reply from the bytes received so far and gives its
// code (the final line's, 0-999). Lines end with LF, CR LF accepted.
ReplyStatus TakeReply(ReplyReader& reader, int* code);
