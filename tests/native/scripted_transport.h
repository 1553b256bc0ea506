// A mail server in the test: one reply after the greeting and one after
// each command, each cut into the pieces a test chooses; what the client
// sent is kept. With no reply left a receive times out at once, as from a
// server that says nothing.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "alerts/mailtransport.h"

class ScriptedTransport final : public MailTransport {
 public:
  // Lines of a reply are separated by "\n" and get CR LF; "|" cuts a reply
  // into pieces received one at a time.
  explicit ScriptedTransport(const std::vector<std::string>& replies) {
    for (const std::string& reply : replies) {
      replies_.emplace_back(1);
      for (char c : reply + "\n") {
        if (c == '|')
          replies_.back().emplace_back();
        else
          replies_.back().back() += c == '\n' ? std::string("\r\n") : std::string(1, c);
      }
    }
  }

  int Connect(const char* host, uint16_t port, int) override {
    this->host = host;
    this->port = port;
    fault_ = connectFault;
    return connectFault != MailFault::kNone ? 0 : (QueueNextReply(), 1);
  }
  int Send(const char* data, size_t size, int) override {
    sent.emplace_back(data, size);
    QueueNextReply();
    return 1;
  }
  long Receive(char* buffer, size_t capacity, int) override {
    if (pending_.empty()) return fault_ = MailFault::kTimedOut, -1;
    const size_t count = std::min(pending_.front().size(), capacity);
    std::memcpy(buffer, pending_.front().data(), count);
    pending_.front().erase(0, count);
    if (pending_.front().empty()) pending_.pop_front();
    return static_cast<long>(count);
  }
  int StartTls(const char*, bool checkCertificate, int) override {
    ++tlsStarts;
    checkedCertificate = checkCertificate;
    fault_ = checkCertificate || tlsFault != MailFault::kUntrusted ? tlsFault : MailFault::kNone;
    return fault_ != MailFault::kNone ? 0 : 1;
  }
  MailFault LastFault() const override { return fault_; }
  void Close() override { ++closes; }

  // What Connect and StartTls fail with (an untrusted certificate only
  // when it is checked); kNone: they succeed.
  MailFault connectFault = MailFault::kNone;
  MailFault tlsFault = MailFault::kNone;
  bool checkedCertificate = false;
  std::string host;
  uint16_t port = 0;
  std::vector<std::string> sent;
  int tlsStarts = 0;
  int closes = 0;

 private:
  void QueueNextReply() {
    if (next_ < replies_.size())
      pending_.insert(pending_.end(), replies_[next_].begin(), replies_[next_].end());
    ++next_;
  }
  std::vector<std::vector<std::string>> replies_;
  size_t next_ = 0;
  MailFault fault_ = MailFault::kNone;
  std::deque<std::string> pending_;
};
