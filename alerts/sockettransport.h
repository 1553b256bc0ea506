// The real mail transport: a TCP socket of the platform, and OpenSSL's TLS
// client over it once the server has accepted STARTTLS.
#pragma once

#include <memory>
#include <string>

#include "alerts/mailtransport.h"
#include "alerts/socket.h"

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

class SocketTransport final : public MailTransport {
 public:
  SocketTransport();
  ~SocketTransport() override;
  SocketTransport(const SocketTransport&) = delete;
  SocketTransport& operator=(const SocketTransport&) = delete;

  int Connect(const char* host, uint16_t port, int timeoutMs) override;
  int Send(const char* data, size_t size, int timeoutMs) override;
  long Receive(char* buffer, size_t capacity, int timeoutMs) override;
  int StartTls(const char* host, bool checkCertificate, int timeoutMs) override;
  MailFault LastFault() const override { return fault_; }
  void Close() override;

  bool tls() const { return tls_; }
  // Certificate authorities (a PEM file) trusted instead of the platform's.
  std::string caFile;

 private:
  struct ContextFree {
    void operator()(SSL_CTX* context) const;
  };
  struct ConnectionFree {
    void operator()(SSL* connection) const;
  };

  OwnedSocket socket_;
  std::unique_ptr<SSL_CTX, ContextFree> context_;
  std::unique_ptr<SSL, ConnectionFree> connection_;
  bool tls_ = false;  // set once the handshake has succeeded
  MailFault fault_ = MailFault::kNone;
};
