// The connection an e-mail alert talks SMTP over. SocketTransport (a TCP
// socket with OpenSSL for STARTTLS) is the real one; tests put a scripted
// server in its place. Every call that waits is bounded by the time limit
// it is given, so that a server that stops answering cannot hold an alert
// thread for ever.
#pragma once

#include <cstddef>
#include <cstdint>

// Why the last connection or TLS handshake could not be made.
enum class MailFault {
  kNone,
  kNameNotFound,  // the name lookup found no address
  kRefused,       // every address refused (or was unreachable)
  kTimedOut,      // no address answered within the time limit
  kTlsFailed,     // the handshake failed
  kUntrusted,     // the certificate's chain or name did not check out
};

class MailTransport {
 public:
  virtual ~MailTransport() = default;
  // Connects to `host` (a name or an address) on `port`. 1/0.
  virtual int Connect(const char* host, uint16_t port, int timeoutMs) = 0;
  // Sends all `size` bytes. 1/0.
  virtual int Send(const char* data, size_t size, int timeoutMs) = 0;
  // Receives what has arrived, at most `capacity` bytes, waiting for the
  // first of them at most `timeoutMs`. The count, or 0 when the server
  // closed the connection, or -1 on a failure or when the time ran out.
  virtual long Receive(char* buffer, size_t capacity, int timeoutMs) = 0;
  // The TLS handshake over the connection; on 1 everything from now on
  // goes through TLS. With `checkCertificate` the server's chain must lead
  // to a trusted root and the certificate must name `host`.
  virtual int StartTls(const char* host, bool checkCertificate, int timeoutMs) = 0;
  // Why the last Connect or StartTls answered 0, or kTimedOut after a
  // Receive that waited its time out.
  virtual MailFault LastFault() const = 0;
  // Ends TLS (if any) and the connection. Safe to call twice.
  virtual void Close() = 0;
};
