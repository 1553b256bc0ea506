// The real mail transport: a TCP socket of the platform, and OpenSSL's TLS
// client over it once the server has accepted STARTTLS.
#pragma once

#include "alerts/mailtransport.h"
#include "alerts/socket.h"

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

class SocketTransport final : public MailTransport {
 public:
  SocketTransport() = default;
  ~SocketTransport() override { Close(); }
  SocketTransport(const SocketTransport&) = delete;
  SocketTransport& operator=(const SocketTransport&) = delete;

  int Connect(const char* host, uint16_t port, int timeoutMs) override;
  int Send(const char* data, size_t size, int timeoutMs) override;
  long Receive(char* buffer, size_t capacity, int timeoutMs) override;
  int StartTls(const char* host, int timeoutMs) override;
  void Close() override;

  bool tls() const { return tls_; }

 private:
  SocketHandle socket_ = kNoSocket;
  SSL_CTX* context_ = nullptr;
  SSL* connection_ = nullptr;
  bool tls_ = false;  // set once the handshake has succeeded
};
