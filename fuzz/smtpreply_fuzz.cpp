// Arbitrary bytes as what an SMTP server sends. The replies read from them
// must not depend on how the bytes were cut into receives; and a whole
// dialogue with them as the server's side must end, whatever they are.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "alerts/mailtransport.h"
#include "alerts/smtp.h"
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

// Serves the bytes in pieces of a fixed size, whatever is sent.
class ByteServer final : public MailTransport {
 public:
  ByteServer(const uint8_t* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
  int Connect(const char*, uint16_t, int) override { return 1; }
  int Send(const char*, size_t, int) override { return 1; }
  long Receive(char* buffer, size_t capacity, int) override {
    if (at_ == size_) return -1;
    size_t count = size_ - at_;
    if (count > piece_) count = piece_;
    if (count > capacity) count = capacity;
    std::memcpy(buffer, data_ + at_, count);
    at_ += count;
    return static_cast<long>(count);
  }
  int StartTls(const char*, int) override { return 1; }
  void Close() override {}

 private:
  const uint8_t* data_;
  size_t size_;
  size_t piece_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the size of the pieces.
  const size_t piece = static_cast<size_t>(data[0]) + 1;
  ++data;
  --size;
  if (Codes(data, size, kReplyBufferSize) != Codes(data, size, piece)) std::abort();

  ByteServer server(data, size, piece);
  const SmtpRequest request{
      "example.com", 25, "user", "password", "a@example.com", "a@example.com", "subject", "Today\r\n\t.\r\n"};
  SmtpSend(server, request, 1000);
  return 0;
}
