// The SMTP client of the e-mail alerts: one message, one dialogue, each
// step one command, one whole reply and one expected code. STARTTLS when
// the server accepts it (the dialogue goes on in the clear when it does
// not), then AUTH PLAIN, or AUTH LOGIN when PLAIN is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class MailTransport;

// How long one connect, send or whole reply may take.
constexpr int kMailTimeoutMs = 60000;
// The name the client gives itself in EHLO.
extern const char kEhloName[];  // "[127.0.0.1]"

struct SmtpRequest {
  const char* server;
  uint16_t port;
  const char* username;  // with the password empty or missing: no AUTH
  const char* password;
  const char* from;
  const char* to;
  const char* subject;
  const char* body;
};

// The steps of the dialogue, in the order they normally come.
enum class SmtpStep {
  kGreeting,
  kEhlo,
  kStartTls,
  kEhloOverTls,
  kAuthPlain,
  kAuthPlainCredential,
  kAuthLogin,
  kAuthLoginUser,
  kAuthLoginPassword,
  kMailFrom,
  kRcptTo,
  kData,
  kMessage,
  kQuit,
  kDone,
  kFailed,
};

// Sends the message over `transport`; 1 when the server accepted it. The
// connection is closed on every way out. `timeoutMs` bounds each connect,
// send and reply. `last` (optional) gets the step the dialogue ended on:
// kDone, or the step whose reply was not the one expected.
int SmtpSend(MailTransport& transport, const SmtpRequest& request, int timeoutMs = kMailTimeoutMs,
             SmtpStep* last = nullptr);

// Standard base64 with "=" padding, on one line.
std::string Base64(const void* data, size_t size);

// What goes after DATA for a subject and body in UTF-8: the From, To and
// Subject lines, the MIME lines (plain text in UTF-8; a body beyond ASCII
// in quoted-printable), an empty line, the body and the final "." on a
// line of its own. Header values lose their CR and LF (a task name read
// from an edited file could otherwise add header lines), and a subject
// beyond ASCII goes as RFC 2047 encoded-words; the body's lines all end in
// CR LF, and a line that begins with "." gets a second one, so that no
// body line can end the message early.
std::string MessageText(const char* from, const char* to, const char* subject, const char* body);

// True when the address can go into a command and a header line as it is:
// not empty, no control characters, no "<" or ">".
bool IsUsableAddress(const char* address);
