#include "alerts/sockettransport.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

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

void SocketTransport::ContextFree::operator()(SSL_CTX* context) const {
  SSL_CTX_free(context);
}

void SocketTransport::ConnectionFree::operator()(SSL* connection) const {
  SSL_free(connection);
}

SocketTransport::SocketTransport() = default;

SocketTransport::~SocketTransport() {
  Close();
}

int SocketTransport::Connect(const char* host, uint16_t port, int timeoutMs) {
  Close();
  fault_ = MailFault::kRefused;
  if (!host || !*host || port == 0) return 0;
  socket_.reset(OpenSocket(host, port, timeoutMs, &fault_));
  return socket_.get() != kNoSocket ? 1 : 0;
}

int SocketTransport::Send(const char* data, size_t size, int timeoutMs) {
  if (socket_.get() == kNoSocket || (!data && size)) return 0;
  SetSocketTimeouts(socket_.get(), timeoutMs);
  while (size > 0) {
    const int piece = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const long sent = tls_ ? SSL_write(connection_.get(), data, piece) : SendSome(socket_.get(), data, size);
    if (sent <= 0) return 0;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return 1;
}

long SocketTransport::Receive(char* buffer, size_t capacity, int timeoutMs) {
  if (socket_.get() == kNoSocket || !buffer || capacity == 0) return -1;
  SetSocketTimeouts(socket_.get(), timeoutMs);
  // TLS may hold bytes already decrypted that the socket no longer shows.
  const bool buffered = tls_ && SSL_pending(connection_.get()) > 0;
  if (!buffered && !WaitReadable(socket_.get(), timeoutMs)) {
    fault_ = MailFault::kTimedOut;
    return -1;
  }
  if (!tls_) return ReceiveSome(socket_.get(), buffer, capacity);
  const int piece = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
  const int got = SSL_read(connection_.get(), buffer, piece);
  if (got > 0) return got;
  return SSL_get_error(connection_.get(), got) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

int SocketTransport::StartTls(const char* host, bool checkCertificate, int timeoutMs) {
  fault_ = MailFault::kTlsFailed;
  if (socket_.get() == kNoSocket || tls_ || !host) return 0;
  SetSocketTimeouts(socket_.get(), timeoutMs);
  context_.reset(SSL_CTX_new(TLS_client_method()));
  if (!context_) return 0;
  if (checkCertificate) {
    const int roots = caFile.empty() ? AddTrustedRoots(SSL_CTX_get_cert_store(context_.get()))
                                     : SSL_CTX_load_verify_locations(context_.get(), caFile.c_str(), nullptr);
    // Nothing to trust: no certificate can check out.
    if (roots != 1) {
      fault_ = MailFault::kUntrusted;
      return 0;
    }
  }
  SSL_CTX_set_verify(context_.get(), checkCertificate ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
  connection_.reset(SSL_new(context_.get()));
  if (!connection_) return 0;
  // OpenSSL takes a socket of either platform as an int descriptor.
  if (SSL_set_fd(connection_.get(), static_cast<int>(socket_.get())) != 1) return 0;
  // The name lets a server with several certificates pick the right one.
  const bool named = IsHostName(host);
  if (named) SSL_set_tlsext_host_name(connection_.get(), host);
  if (checkCertificate) {
    // The certificate must be issued to the name (or address) the user gave.
    X509_VERIFY_PARAM* param = SSL_get0_param(connection_.get());
    const int set =
        named ? X509_VERIFY_PARAM_set1_host(param, host, 0) : X509_VERIFY_PARAM_set1_ip_asc(param, host);
    if (set != 1) {
      fault_ = MailFault::kUntrusted;
      return 0;
    }
  }
  tls_ = SSL_connect(connection_.get()) == 1;
  if (tls_)
    fault_ = MailFault::kNone;
  else if (checkCertificate && SSL_get_verify_result(connection_.get()) != X509_V_OK)
    fault_ = MailFault::kUntrusted;
  return tls_ ? 1 : 0;
}

void SocketTransport::Close() {
  if (connection_ && tls_) SSL_shutdown(connection_.get());
  connection_.reset();
  context_.reset();
  tls_ = false;
  socket_.reset();
}
