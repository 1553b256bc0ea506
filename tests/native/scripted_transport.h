// A mail server in the test: replies written beforehand, one after the
// greeting and one after each command, each in the pieces a test chooses.
// What the client sent is kept. When no reply is left, a receive times out
// at once, as from a server that says nothing.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "alerts/mailtransport.h"

class ScriptedTransport final : public MailTransport {
 public:
  // Each reply's lines are separated by "\n" and get CR LF; "|" cuts the
  // reply into pieces received one at a time.
  explicit ScriptedTransport(std::vector<std::string> replies) {
    for (const std::string& reply : replies) {
      std::vector<std::string> pieces(1);
      for (char c : reply) {
        if (c == '|')
          pieces.emplace_back();
        else if (c == '\n')
          pieces.back() += "\r\n";
        else
          pieces.back().push_back(c);
      }
      pieces.back() += "\r\n";
      replies_.push_back(pieces);
    }
  }

  int Connect(const char* host, uint16_t port, int) override {
    this->host = host;
    this->port = port;
    if (refuseConnection) return 0;
    QueueNextReply();
    return 1;
  }
  int Send(const char* data, size_t size, int) override {
    sent.emplace_back(data, size);
    QueueNextReply();
    return 1;
  }
  long Receive(char* buffer, size_t capacity, int) override {
    if (pending_.empty()) return -1;
    std::string& piece = pending_.front();
    const size_t count = piece.size() < capacity ? piece.size() : capacity;
    std::memcpy(buffer, piece.data(), count);
    piece.erase(0, count);
    if (piece.empty()) pending_.pop_front();
    return static_cast<long>(count);
  }
  int StartTls(const char*, int) override {
    ++tlsStarts;
    return refuseTls ? 0 : 1;
  }
  void Close() override { ++closes; }

  bool refuseConnection = false;
  bool refuseTls = false;
  std::string host;
  uint16_t port = 0;
  std::vector<std::string> sent;
  int tlsStarts = 0;
  int closes = 0;

 private:
  void QueueNextReply() {
    if (next_ >= replies_.size()) return;
    for (const std::string& piece : replies_[next_++]) pending_.push_back(piece);
  }

  std::vector<std::vector<std::string>> replies_;
  size_t next_ = 0;
  std::deque<std::string> pending_;
};
