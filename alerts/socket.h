// The platform's TCP sockets, as the mail transport needs them: Windows
// Sockets 2 in the program (alerts/win32), POSIX sockets on the native
// test host (alerts/native).
#pragma once

#include <cstddef>
#include <cstdint>

#include "alerts/mailtransport.h"

typedef struct x509_store_st X509_STORE;

// A connected socket (a SOCKET on Windows, a descriptor elsewhere).
using SocketHandle = intptr_t;
constexpr SocketHandle kNoSocket = -1;

// Looks `host` up and connects to the first of its addresses that accepts
// within `timeoutMs` each. kNoSocket when none does, with `fault` (when
// given) saying why: the name not found, or the last address's refusal
// or silence.
SocketHandle OpenSocket(const char* host, uint16_t port, int timeoutMs, MailFault* fault = nullptr);
// Bounds every blocking send and receive on the socket, those that OpenSSL
// makes included.
void SetSocketTimeouts(SocketHandle socket, int timeoutMs);
// 1 when something (bytes or the end) can be read within `timeoutMs`.
int WaitReadable(SocketHandle socket, int timeoutMs);
// One send or receive: the count, 0 at the end of the connection (receive
// only), -1 on a failure or a timeout.
long SendSome(SocketHandle socket, const char* data, size_t size);
long ReceiveSome(SocketHandle socket, char* buffer, size_t capacity);
void CloseSocket(SocketHandle socket);

// Adds the certificate authorities the platform trusts to `store`: the
// system's "ROOT" store on Windows, OpenSSL's default places natively.
// 1 when at least one could be added.
int AddTrustedRoots(X509_STORE* store);

// Owns a socket: closed when it goes, unless released.
class OwnedSocket {
 public:
  explicit OwnedSocket(SocketHandle socket = kNoSocket) : socket_(socket) {}
  ~OwnedSocket() { CloseSocket(socket_); }
  OwnedSocket(const OwnedSocket&) = delete;
  OwnedSocket& operator=(const OwnedSocket&) = delete;
  SocketHandle get() const { return socket_; }
  SocketHandle release() {
    const SocketHandle socket = socket_;
    socket_ = kNoSocket;
    return socket;
  }
  void reset(SocketHandle socket = kNoSocket) {
    CloseSocket(socket_);
    socket_ = socket;
  }

 private:
  SocketHandle socket_;
};
