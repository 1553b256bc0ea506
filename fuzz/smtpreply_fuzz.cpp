// Arbitrary bytes as what an SMTP server sends: the reader stays within its
// buffer, never waits on a full one, and the replies it reads do not depend
// on how the bytes were cut into receives.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "alerts/smtpreply.h"

namespace {

// The codes of the replies read, -2 for malformed (which ends the reading).
std::vector<int> Codes(const uint8_t* data, size_t size, size_t piece) {
  ReplyReader reader;
  ResetReplyReader(reader);
  std::vector<int> codes;
  size_t at = 0;
  for (;;) {
    int code = -1;
    const ReplyStatus status = TakeReply(reader, &code);
    if (status == ReplyStatus::kComplete) {
      if (code < 0 || code > 999) std::abort();
      codes.push_back(code);
      continue;
    }
    if (status == ReplyStatus::kMalformed) {
      codes.push_back(-2);
      return codes;
    }
    if (at == size) return codes;
    size_t count = size - at;
    if (count > piece) count = piece;
    if (count > FreeSpaceSize(reader)) count = FreeSpaceSize(reader);
    // Incomplete with a full buffer would wait for ever.
    if (count == 0) std::abort();
    std::memcpy(FreeSpace(reader), data + at, count);
    ReplyReceived(reader, count);
    at += count;
    if (reader.length > kReplyBufferSize) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the size of the pieces.
  const size_t piece = static_cast<size_t>(data[0]) + 1;
  ++data;
  --size;
  if (Codes(data, size, kReplyBufferSize) != Codes(data, size, piece)) std::abort();

  return 0;
}
