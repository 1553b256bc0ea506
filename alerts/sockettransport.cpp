#include "alerts/sockettransport.h"

#include <openssl/ssl.h>

#include <climits>
#include <cstring>

namespace {

// A name, not an address: only names go into the TLS greeting.
bool IsHostName(const char* host) {
  if (!host || std::strchr(host, ':')) return false;
  for (; *host; ++host)
    if ((*host >= 'a' && *host <= 'z') || (*host >= 'A' && *host <= 'Z')) return true;
  return false;
}

}  // namespace

int SocketTransport::Connect(const char* host, uint16_t port, int timeoutMs) {
  Close();
  if (!host || !*host || port == 0) return 0;
  socket_ = OpenSocket(host, port, timeoutMs);
  return socket_ != kNoSocket ? 1 : 0;
}

int SocketTransport::Send(const char* data, size_t size, int timeoutMs) {
  if (socket_ == kNoSocket || (!data && size)) return 0;
  SetSocketTimeouts(socket_, timeoutMs);
  while (size > 0) {
    const int piece = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const long sent = tls_ ? SSL_write(connection_, data, piece) : SendSome(socket_, data, size);
    if (sent <= 0) return 0;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return 1;
}

long SocketTransport::Receive(char* buffer, size_t capacity, int timeoutMs) {
  if (socket_ == kNoSocket || !buffer || capacity == 0) return -1;
  SetSocketTimeouts(socket_, timeoutMs);
  // TLS may hold bytes already decrypted that the socket no longer shows.
  const bool buffered = tls_ && SSL_pending(connection_) > 0;
  if (!buffered && !WaitReadable(socket_, timeoutMs)) return -1;
  if (!tls_) return ReceiveSome(socket_, buffer, capacity);
  const int piece = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
  const int got = SSL_read(connection_, buffer, piece);
  if (got > 0) return got;
  return SSL_get_error(connection_, got) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

int SocketTransport::StartTls(const char* host, int timeoutMs) {
  if (socket_ == kNoSocket || tls_) return 0;
  SetSocketTimeouts(socket_, timeoutMs);
  if (!context_) context_ = SSL_CTX_new(TLS_client_method());
  if (!context_) return 0;
  // The server's certificate is not checked (see the README's Security).
  SSL_CTX_set_verify(context_, SSL_VERIFY_NONE, nullptr);
  connection_ = SSL_new(context_);
  if (!connection_) return 0;
  // OpenSSL takes a socket of either platform as an int descriptor.
  if (SSL_set_fd(connection_, static_cast<int>(socket_)) != 1) return 0;
  // The name lets a server with several certificates pick the right one.
  if (IsHostName(host)) SSL_set_tlsext_host_name(connection_, host);
  tls_ = SSL_connect(connection_) == 1;
  return tls_ ? 1 : 0;
}

void SocketTransport::Close() {
  if (connection_) {
    if (tls_) SSL_shutdown(connection_);
    SSL_free(connection_);
    connection_ = nullptr;
  }
  if (context_) {
    SSL_CTX_free(context_);
    context_ = nullptr;
  }
  tls_ = false;
  if (socket_ != kNoSocket) {
    CloseSocket(socket_);
    socket_ = kNoSocket;
  }
}
