#include "alerts/smtp.h"

#include <openssl/bio.h>
#include <openssl/buffer.h>
#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "alerts/mailtransport.h"
#include "alerts/smtpreply.h"
#include "base/codepage.h"

const char kEhloName[] = "[127.0.0.1]";

namespace {

// One row of the dialogue: the code the step's reply must have, and where
// the dialogue goes with that code and with any other. A step that expects
// 0 reads no reply.
struct StepRule {
  SmtpStep step;
  int expected;
  SmtpStep onExpected;
  SmtpStep otherwise;
};

constexpr StepRule kDialogue[] = {
    {SmtpStep::kGreeting, 220, SmtpStep::kEhlo, SmtpStep::kFailed},
    {SmtpStep::kEhlo, 250, SmtpStep::kStartTls, SmtpStep::kFailed},
    // Refused: on in the clear, without a second EHLO.
    {SmtpStep::kStartTls, 220, SmtpStep::kEhloOverTls, SmtpStep::kAuthPlain},
    {SmtpStep::kEhloOverTls, 250, SmtpStep::kAuthPlain, SmtpStep::kFailed},
    {SmtpStep::kAuthPlain, 334, SmtpStep::kAuthPlainCredential, SmtpStep::kAuthLogin},
    {SmtpStep::kAuthPlainCredential, 235, SmtpStep::kMailFrom, SmtpStep::kFailed},
    // Neither mechanism: on unauthenticated; the server decides at MAIL.
    {SmtpStep::kAuthLogin, 334, SmtpStep::kAuthLoginUser, SmtpStep::kMailFrom},
    {SmtpStep::kAuthLoginUser, 334, SmtpStep::kAuthLoginPassword, SmtpStep::kAuthLoginPassword},
    {SmtpStep::kAuthLoginPassword, 235, SmtpStep::kMailFrom, SmtpStep::kFailed},
    {SmtpStep::kMailFrom, 250, SmtpStep::kRcptTo, SmtpStep::kFailed},
    {SmtpStep::kRcptTo, 250, SmtpStep::kData, SmtpStep::kFailed},
    {SmtpStep::kData, 354, SmtpStep::kMessage, SmtpStep::kFailed},
    {SmtpStep::kMessage, 250, SmtpStep::kQuit, SmtpStep::kFailed},
    {SmtpStep::kQuit, 0, SmtpStep::kDone, SmtpStep::kDone},
};

const StepRule* RuleOf(SmtpStep step) {
  for (const StepRule& rule : kDialogue)
    if (rule.step == step) return &rule;
  return nullptr;
}

bool IsEmpty(const char* text) {
  return !text || !*text;
}

std::string Base64Line(const std::string& bytes) {
  return Base64(bytes.data(), bytes.size()) + "\r\n";
}

// The text the step sends; empty for the greeting, which only listens.
// `eightBit`: the body goes as 8bit, which MAIL FROM announces.
std::string CommandOf(SmtpStep step, const SmtpRequest& request, bool eightBit = false) {
  const std::string user = request.username ? request.username : "";
  const std::string password = request.password ? request.password : "";
  switch (step) {
    case SmtpStep::kEhlo:
    case SmtpStep::kEhloOverTls:
      return std::string("EHLO ") + kEhloName + "\r\n";
    case SmtpStep::kStartTls:
      return "STARTTLS\r\n";
    case SmtpStep::kAuthPlain:
      return "AUTH PLAIN\r\n";
    case SmtpStep::kAuthPlainCredential:
      return Base64Line(std::string(1, '\0') + user + std::string(1, '\0') + password);
    case SmtpStep::kAuthLogin:
      return "AUTH LOGIN\r\n";
    case SmtpStep::kAuthLoginUser:
      return Base64Line(user);
    case SmtpStep::kAuthLoginPassword:
      return Base64Line(password);
    case SmtpStep::kMailFrom:
      return std::string("MAIL FROM:<") + request.from + (eightBit ? "> BODY=8BITMIME\r\n" : ">\r\n");
    case SmtpStep::kRcptTo:
      return std::string("RCPT TO:<") + request.to + ">\r\n";
    case SmtpStep::kData:
      return "DATA\r\n";
    case SmtpStep::kMessage:
      return MessageText(request.from, request.to, request.subject, request.body, eightBit);
    case SmtpStep::kQuit:
      return "QUIT\r\n";
    default:
      return std::string();
  }
}

// What a refusal at each step means to the user.
MailResult RefusalAt(SmtpStep step) {
  switch (step) {
    case SmtpStep::kAuthPlainCredential:
    case SmtpStep::kAuthLoginPassword:
      return MailResult::kAuthRefused;
    case SmtpStep::kMailFrom:
      return MailResult::kSenderRefused;
    case SmtpStep::kRcptTo:
      return MailResult::kRecipientRefused;
    case SmtpStep::kData:
    case SmtpStep::kMessage:
      return MailResult::kMessageRefused;
    default:
      return MailResult::kDialogueFailed;
  }
}

MailResult ResultOf(MailFault fault) {
  switch (fault) {
    case MailFault::kNameNotFound:
      return MailResult::kNameNotFound;
    case MailFault::kTimedOut:
      return MailResult::kTimedOut;
    case MailFault::kUntrusted:
      return MailResult::kUntrusted;
    case MailFault::kTlsFailed:
      return MailResult::kNoTls;
    default:
      return MailResult::kRefused;
  }
}

// The body's lines, whatever ends them: CR LF, or a lone CR or LF. A body
// that ends its last line gets no empty line after it.
std::vector<std::string> BodyLines(const char* body) {
  std::vector<std::string> lines(1);
  for (const char* at = body ? body : ""; *at; ++at) {
    if (*at == '\r' || *at == '\n') {
      if (at[0] == '\r' && at[1] == '\n') ++at;
      lines.emplace_back();
      continue;
    }
    lines.back().push_back(*at);
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (c & 0x80) return false;
  return true;
}

// 8bit only where it is needed and allowed: a body beyond ASCII, to a
// server that takes 8BITMIME, with no line beyond the 998 bytes a line of
// a message may hold.
bool SendsEightBit(const std::vector<std::string>& lines, bool serverTakesIt) {
  bool ascii = true;
  for (const std::string& line : lines) {
    if (line.size() > 998) return false;
    ascii = ascii && IsAscii(line);
  }
  return serverTakesIt && !ascii;
}

class Session {
 public:
  Session(MailTransport& transport, const SmtpRequest& request, int timeoutMs)
      : transport_(transport), request_(request), timeoutMs_(timeoutMs) {
    ResetReplyReader(reader_);
  }
  ~Session() { transport_.Close(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  SmtpReport Run() {
    SmtpReport report{SmtpStep::kGreeting, MailResult::kSent, std::string()};
    if (!transport_.Connect(request_.server, request_.port, timeoutMs_)) {
      report.result = ResultOf(transport_.LastFault());
      return report;
    }
    SmtpStep step = SmtpStep::kGreeting;
    while (step != SmtpStep::kDone && step != SmtpStep::kFailed) {
      at_ = step;
      step = Take(step);
    }
    if (step == SmtpStep::kDone && !failure_) {
      report.last = SmtpStep::kDone;
      return report;
    }
    report.last = failure_ ? failedAt_ : at_;
    report.result = failure_ ? failureResult_ : MailResult::kDialogueFailed;
    report.reply = HoldsCredential(reply_) ? std::string() : reply_;
    return report;
  }

 private:
  // One step: its command, its reply, and the step that follows.
  SmtpStep Take(SmtpStep step) {
    const StepRule* rule = RuleOf(step);
    if (!rule) return SmtpStep::kFailed;
    const std::string command = CommandOf(step, request_, eightBit_);
    const bool sent = command.empty() || transport_.Send(command.data(), command.size(), timeoutMs_);
    // The message is accepted once its 250 came: QUIT is only courtesy.
    if (step == SmtpStep::kQuit) return SmtpStep::kDone;
    if (!sent) return Fail(MailResult::kDialogueFailed);
    int code = 0;
    // No whole reply in time (or a connection gone, or not SMTP): nothing
    // more can be read over this connection, so the alert fails.
    if (!ReadReply(&code)) return Fail(timedOut_ ? MailResult::kTimedOut : MailResult::kDialogueFailed);
    reply_ = reader_.text;
    const bool expected = code == rule->expected;
    // The last EHLO decides: the one over TLS, once TLS is up.
    if ((step == SmtpStep::kEhlo || step == SmtpStep::kEhloOverTls) && expected)
      eightBit_ = SendsEightBit(BodyLines(request_.body), reader_.offers8BitMime);
    if (step == SmtpStep::kStartTls && expected) {
      // Bytes that came in the clear after the 220 may have been slipped in
      // on the way: none of them may be read as a reply sent over TLS.
      ResetReplyReader(reader_);
      tls_ = transport_.StartTls(request_.server, !request_.anyCertificate, timeoutMs_) == 1;
      // A server that cannot prove who it is gets nothing more, not even
      // the message.
      if (!tls_ && transport_.LastFault() == MailFault::kUntrusted) return Fail(MailResult::kUntrusted);
      // Whatever answers after a failed handshake is no server to trust
      // with credentials.
      if (!tls_ && HasCredentials()) {
        reply_.clear();  // the 220 said yes; the handshake is what failed
        return QuitWith(MailResult::kNoTls);
      }
    }
    // A server that offered 8BITMIME and then refuses the parameter still
    // takes the message in quoted-printable: once more, without it.
    if (step == SmtpStep::kMailFrom && !expected && eightBit_ && code >= 500) {
      eightBit_ = false;
      return SmtpStep::kMailFrom;
    }
    if (step == SmtpStep::kAuthLoginUser && !expected) {
      std::fputs("Error in authentication\n", stdout);
      std::fflush(stdout);
    }
    if (!expected && rule->otherwise == SmtpStep::kFailed) return Fail(RefusalAt(step));
    return Arrive(expected ? rule->onExpected : rule->otherwise);
  }

  // A reply goes to the user's screen: one that echoes the password, as
  // sent or encoded, is not shown.
  bool HoldsCredential(const std::string& reply) const {
    if (!HasCredentials()) return false;
    for (SmtpStep step : {SmtpStep::kAuthPlainCredential, SmtpStep::kAuthLoginPassword}) {
      std::string sent = CommandOf(step, request_);
      sent.resize(sent.size() - 2);  // the line's CR LF
      if (reply.find(sent) != std::string::npos) return true;
    }
    return reply.find(request_.password) != std::string::npos;
  }

  bool HasCredentials() const { return !IsEmpty(request_.username) && !IsEmpty(request_.password); }

  // Authentication needs both a username and a password, and TLS: without
  // it they would go to whoever sits on the path, so the dialogue ends.
  SmtpStep Arrive(SmtpStep step) {
    if (step != SmtpStep::kAuthPlain) return step;
    if (!HasCredentials()) return SmtpStep::kMailFrom;
    return tls_ ? step : QuitWith(MailResult::kNoTls);
  }

  // Ends the dialogue politely, as a failure.
  SmtpStep QuitWith(MailResult result) {
    Fail(result);
    return SmtpStep::kQuit;
  }

  SmtpStep Fail(MailResult result) {
    failedAt_ = at_;
    failure_ = true;
    failureResult_ = result;
    return SmtpStep::kFailed;
  }

  // One whole reply, however many receives it takes, within the time limit.
  bool ReadReply(int* code) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    reply_.clear();
    timedOut_ = false;
    for (;;) {
      switch (TakeReply(reader_, code)) {
        case ReplyStatus::kComplete:
          return true;
        case ReplyStatus::kMalformed:
          return false;
        case ReplyStatus::kIncomplete:
          break;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      timedOut_ = left <= 0;
      if (timedOut_) return false;
      const long got = transport_.Receive(FreeSpace(reader_), FreeSpaceSize(reader_), static_cast<int>(left));
      timedOut_ = got < 0 && transport_.LastFault() == MailFault::kTimedOut;
      if (got <= 0) return false;
      ReplyReceived(reader_, static_cast<size_t>(got));
    }
  }

  MailTransport& transport_;
  const SmtpRequest& request_;
  const int timeoutMs_;
  ReplyReader reader_;
  SmtpStep at_ = SmtpStep::kGreeting;
  SmtpStep failedAt_ = SmtpStep::kGreeting;
  bool tls_ = false;
  bool eightBit_ = false;  // the server takes 8BITMIME and the body goes 8bit
  bool timedOut_ = false;
  bool failure_ = false;
  MailResult failureResult_ = MailResult::kSent;
  std::string reply_;
};

// A header value on one line: its CR and LF become blanks.
std::string OneLine(const char* value) {
  std::string line;
  for (const char* at = value ? value : ""; *at; ++at) line.push_back(*at == '\r' || *at == '\n' ? ' ' : *at);
  return line;
}

// A value with anything beyond ASCII goes as RFC 2047 encoded-words of
// UTF-8 holding whole characters, folded onto lines of their own.
void AppendHeader(std::string& out, const char* name, const char* value) {
  out += name;
  const std::string line = OneLine(value);
  if (IsAscii(line)) {
    out += line + "\r\n";
    return;
  }
  constexpr size_t kWordBytes = 39;  // 52 characters of base64: lines within 76
  for (size_t at = 0; at < line.size();) {
    size_t size = std::min(kWordBytes, line.size() - at);
    // Never an empty word, even in bytes that are not UTF-8.
    if (at + size < line.size()) size = std::max<size_t>(Utf8CutBefore(line.data() + at, size), 1);
    if (at) out += "\r\n ";
    out += "=?UTF-8?B?" + Base64(line.data() + at, size) + "?=";
    at += size;
  }
  out += "\r\n";
}

// One line of the body in quoted-printable: bytes beyond ASCII, "=" and a
// blank at the line's end as "=XX", lines of at most 76 characters with
// soft breaks ("=" at the end).
std::vector<std::string> QuotedPrintable(const std::string& line) {
  static const char kHex[] = "0123456789ABCDEF";
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const bool last = i + 1 == line.size();
    std::string piece(1, static_cast<char>(c));
    if (c >= 0x80 || c == '=' || ((c == ' ' || c == '\t') && last))
      piece = std::string{'=', kHex[c >> 4], kHex[c & 15]};
    if (lines.back().size() + piece.size() > (last ? 76u : 75u)) {
      lines.back() += '=';
      lines.emplace_back();
    }
    lines.back() += piece;
  }
  return lines;
}

}  // namespace

int SmtpSend(MailTransport& transport, const SmtpRequest& request, int timeoutMs, SmtpReport* report) {
  SmtpReport outcome{SmtpStep::kGreeting, MailResult::kNotSet, std::string()};
  if (!IsEmpty(request.server) && IsUsableAddress(request.from) && IsUsableAddress(request.to)) {
    Session session(transport, request, timeoutMs);
    outcome = session.Run();
  }
  const int sent = outcome.result == MailResult::kSent ? 1 : 0;
  if (report) *report = std::move(outcome);
  return sent;
}

std::string Base64(const void* data, size_t size) {
  std::string text;
  if (!data || size == 0 || size > 0x3FFFFFFF) return text;
  // The filter owns the sink once pushed; freeing the head frees the chain.
  std::unique_ptr<BIO, decltype(&BIO_free_all)> chain(BIO_new(BIO_f_base64()), BIO_free_all);
  BIO* sink = BIO_new(BIO_s_mem());
  if (!chain || !sink) {
    BIO_free(sink);
    return text;
  }
  // One line however long: a credential broken over lines would reach the
  // server as two commands.
  BIO_set_flags(chain.get(), BIO_FLAGS_BASE64_NO_NL);
  BIO_push(chain.get(), sink);
  if (BIO_write(chain.get(), data, static_cast<int>(size)) == static_cast<int>(size) &&
      BIO_flush(chain.get()) == 1) {
    BUF_MEM* memory = nullptr;
    BIO_get_mem_ptr(chain.get(), &memory);
    if (memory && memory->data) text.assign(memory->data, memory->length);
  }
  return text;
}

std::string MessageText(const char* from, const char* to, const char* subject, const char* body,
                        bool serverTakes8BitMime) {
  const std::vector<std::string> lines = BodyLines(body);
  bool ascii = true;
  for (const std::string& line : lines) ascii = ascii && IsAscii(line);
  const bool eightBit = SendsEightBit(lines, serverTakes8BitMime);
  const bool quoted = !ascii && !eightBit;

  std::string out;
  AppendHeader(out, "From: ", from);
  AppendHeader(out, "To: ", to);
  AppendHeader(out, "Subject: ", subject);
  out += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n";
  // Quoted-printable passes every server, with or without 8BITMIME.
  out += ascii      ? "Content-Transfer-Encoding: 7bit\r\n"
         : eightBit ? "Content-Transfer-Encoding: 8bit\r\n"
                    : "Content-Transfer-Encoding: quoted-printable\r\n";
  out += "\r\n";
  for (const std::string& line : lines) {
    for (const std::string& sent : quoted ? QuotedPrintable(line) : std::vector<std::string>{line}) {
      if (!sent.empty() && sent[0] == '.') out.push_back('.');
      out += sent + "\r\n";
    }
  }
  out += ".\r\n";
  return out;
}

bool IsUsableAddress(const char* address) {
  if (IsEmpty(address)) return false;
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(address); *at; ++at)
    if (*at < 0x20 || *at == 0x7F || *at == '<' || *at == '>') return false;
  return true;
}

std::string MailResultText(MailResult result, const std::string& reply, const char* server, const char* to) {
  const std::string host = server ? server : "", address = to ? to : "";
  std::string text;
  switch (result) {
    case MailResult::kSent:
      return "sent to " + address + ".";
    case MailResult::kNotSet:
      return "the mail server, its port or the Send To address is not set.";
    case MailResult::kNameNotFound:
      return "the mail server's name \"" + host + "\" was not found.";
    case MailResult::kRefused:
      return "no connection: " + host + " refused it or cannot be reached.";
    case MailResult::kTimedOut:
      text = host + " did not answer in time";
      break;
    case MailResult::kNoTls:
      text = "TLS was not established with " + host + ", so the user name and password were not sent";
      break;
    case MailResult::kUntrusted:
      return "the certificate of " + host +
             " is not trusted (not issued to that name by an authority Windows trusts), so nothing was sent.";
    case MailResult::kAuthRefused:
      text = "the server refused the user name or password";
      break;
    case MailResult::kSenderRefused:
      text = "the server refused the sender " + address;
      break;
    case MailResult::kRecipientRefused:
      text = "the server refused the recipient " + address;
      break;
    case MailResult::kMessageRefused:
      text = "the server refused the message";
      break;
    case MailResult::kDialogueFailed:
      text = reply.empty() ? "the server broke off the exchange" : "the server refused to go on";
      break;
  }
  if (!reply.empty()) text += " (it said \"" + reply + "\")";
  return text + ".";
}
