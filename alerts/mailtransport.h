// The connection an e-mail alert talks SMTP over. SocketTransport (a TCP
// socket with OpenSSL for STARTTLS) is the real one; tests put a scripted
// server in its place. Every call that waits is bounded by the time limit
// it is given, so that a server that stops answering cannot hold an alert
// thread for ever.
#pragma once

#include <cstddef>
#include <cstdint>

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
  // goes through TLS. The server's certificate is not checked.
  virtual int StartTls(const char* host, int timeoutMs) = 0;
  // Ends TLS (if any) and the connection. Safe to call twice.
  virtual void Close() = 0;
};
