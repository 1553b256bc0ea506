// Windows Sockets 2 for the mail transport.
#include <windows.h>

#include <wincrypt.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <openssl/x509.h>

#include <cstdio>
#include <memory>

#include "alerts/socket.h"
#include "base/win32/scoped.h"

namespace {

struct CertStoreTraits {
  static HCERTSTORE None() { return nullptr; }
  static bool Valid(HCERTSTORE store) { return store != nullptr; }
  static void Release(HCERTSTORE store) { CertCloseStore(store, 0); }
};
using ScopedCertStore = ScopedResource<HCERTSTORE, CertStoreTraits>;

// Started once for the process (alert threads may start together) and
// never stopped: sockets are wanted until the program ends.
bool SocketsStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 0), &data) == 0;
  }();
  return started;
}

SOCKET Native(SocketHandle socket) {
  return static_cast<SOCKET>(socket);
}

bool ConnectWithin(SOCKET socket, const sockaddr* address, int length, int timeoutMs, MailFault* fault) {
  *fault = MailFault::kRefused;
  u_long nonBlocking = 1;
  if (ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) return false;
  int result = connect(socket, address, length);
  if (result != 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval limit = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &limit);
    if (ready == 0) *fault = MailFault::kTimedOut;
    result = ready == 1 && FD_ISSET(socket, &writable) ? 0 : -1;
  }
  u_long blocking = 0;
  return result == 0 && ioctlsocket(socket, FIONBIO, &blocking) == 0;
}

}  // namespace

SocketHandle OpenSocket(const char* host, uint16_t port, int timeoutMs, MailFault* fault) {
  MailFault why = MailFault::kNameNotFound;
  if (!fault) fault = &why;
  *fault = MailFault::kNameNotFound;
  if (!host || !SocketsStarted()) return kNoSocket;
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  char service[8];
  std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
  addrinfo* found = nullptr;
  if (getaddrinfo(host, service, &hints, &found) != 0) return kNoSocket;
  SocketHandle connected = kNoSocket;
  *fault = MailFault::kRefused;
  for (addrinfo* at = found; at && connected == kNoSocket; at = at->ai_next) {
    const SOCKET made = ::socket(at->ai_family, at->ai_socktype, at->ai_protocol);
    if (made == INVALID_SOCKET) continue;
    OwnedSocket socket(static_cast<SocketHandle>(made));
    if (ConnectWithin(made, at->ai_addr, static_cast<int>(at->ai_addrlen), timeoutMs, fault)) {
      connected = socket.release();
      SetSocketTimeouts(connected, timeoutMs);
      *fault = MailFault::kNone;
    }
  }
  freeaddrinfo(found);
  return connected;
}

void SetSocketTimeouts(SocketHandle socket, int timeoutMs) {
  DWORD limit = timeoutMs < 1 ? 1 : static_cast<DWORD>(timeoutMs);
  setsockopt(Native(socket), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
  setsockopt(Native(socket), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
}

int WaitReadable(SocketHandle socket, int timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Native(socket), &readable);
  timeval limit = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return select(0, &readable, nullptr, nullptr, &limit) == 1 ? 1 : 0;
}

long SendSome(SocketHandle socket, const char* data, size_t size) {
  const int piece = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
  const int sent = send(Native(socket), data, piece, 0);
  return sent == SOCKET_ERROR ? -1 : sent;
}

long ReceiveSome(SocketHandle socket, char* buffer, size_t capacity) {
  const int piece = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
  const int got = recv(Native(socket), buffer, piece, 0);
  return got == SOCKET_ERROR ? -1 : got;
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) closesocket(Native(socket));
}

int AddTrustedRoots(X509_STORE* store) {
  if (!store) return 0;
  ScopedCertStore roots(CertOpenSystemStoreA(0, "ROOT"));
  if (!roots) return 0;
  int added = 0;
  // The enumeration frees each context as it hands out the next.
  for (PCCERT_CONTEXT cert = CertEnumCertificatesInStore(roots.get(), nullptr); cert;
       cert = CertEnumCertificatesInStore(roots.get(), cert)) {
    const unsigned char* bytes = cert->pbCertEncoded;
    std::unique_ptr<X509, decltype(&X509_free)> x509(
        d2i_X509(nullptr, &bytes, static_cast<long>(cert->cbCertEncoded)), X509_free);
    if (!x509) continue;
    // A root already added (the same certificate twice) is no failure.
    X509_STORE_add_cert(store, x509.get());
    ++added;
  }
  return added > 0 ? 1 : 0;
}
