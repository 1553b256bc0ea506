// The SMTP client of the e-mail alerts: one message, one dialogue, each
// step one command, one whole reply and one expected code. STARTTLS when
// the server accepts it, then AUTH PLAIN, or AUTH LOGIN when PLAIN is
// refused; a body beyond ASCII goes as 8bit to a server that offers
// 8BITMIME. Without TLS the dialogue goes on in the clear only when there
// is nothing to authenticate: credentials never go over a connection
// without TLS, and a certificate that does not check out ends it.
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
  bool anyCertificate;  // the server's certificate is not checked
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

// How a message fared, in the terms the user is told.
enum class MailResult {
  kSent,
  kNotSet,            // no server, no usable address or no usable port
  kNameNotFound,      // the server's name
  kRefused,           // the connection
  kTimedOut,          // the connection, or a reply
  kNoTls,             // STARTTLS refused or its handshake failed, with credentials to send
  kUntrusted,         // the certificate
  kAuthRefused,       // the user name or the password
  kSenderRefused,     // MAIL FROM
  kRecipientRefused,  // RCPT TO
  kMessageRefused,    // DATA or the message
  kDialogueFailed,    // anything else the server refused or broke off
};

struct SmtpReport {
  SmtpStep last;  // kDone, or the step whose reply was not the one expected
  MailResult result;
  std::string reply;  // the server's last reply, when the result came from one
};

// Sends the message over `transport`; 1 when the server accepted it. The
// connection is closed on every way out. `timeoutMs` bounds each connect,
// send and reply. `report` (optional) gets how the dialogue ended.
int SmtpSend(MailTransport& transport, const SmtpRequest& request, int timeoutMs = kMailTimeoutMs,
             SmtpReport* report = nullptr);

// The outcome in words a user understands, for a balloon, a box or the
// Settings dialog: "Test e-mail not sent: " + MailResultText(...) and the
// like. Names the server and the address where they help; never the
// password (which the result never carries).
std::string MailResultText(MailResult result, const std::string& reply, const char* server, const char* to);

// Standard base64 with "=" padding, on one line.
std::string Base64(const void* data, size_t size);

// What goes after DATA for a subject and body in UTF-8: the From, To and
// Subject lines, the MIME lines (plain text in UTF-8; a body beyond ASCII
// as 8bit when the server takes 8BITMIME and no line is longer than 998
// bytes, otherwise in quoted-printable), an empty line, the body and the
// final "." on a line of its own. Header values lose their CR and LF (a task name read
// from an edited file could otherwise add header lines), and a subject
// beyond ASCII goes as RFC 2047 encoded-words; the body's lines all end in
// CR LF, and a line that begins with "." gets a second one, so that no
// body line can end the message early.
std::string MessageText(const char* from, const char* to, const char* subject, const char* body,
                        bool serverTakes8BitMime = false);

// True when the address can go into a command and a header line as it is:
// not empty, no control characters, no "<" or ">".
bool IsUsableAddress(const char* address);
