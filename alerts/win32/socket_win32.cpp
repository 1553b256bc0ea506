// Windows Sockets 2 for the mail transport.
#include <windows.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>

#include "alerts/socket.h"

namespace {

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

bool ConnectWithin(SOCKET socket, const sockaddr* address, int length, int timeoutMs) {
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
    result = select(0, nullptr, &writable, &failed, &limit) == 1 && FD_ISSET(socket, &writable) ? 0 : -1;
  }
  u_long blocking = 0;
  return result == 0 && ioctlsocket(socket, FIONBIO, &blocking) == 0;
}

}  // namespace

SocketHandle OpenSocket(const char* host, uint16_t port, int timeoutMs) {
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
  for (addrinfo* at = found; at && connected == kNoSocket; at = at->ai_next) {
    SOCKET socket = ::socket(at->ai_family, at->ai_socktype, at->ai_protocol);
    if (socket == INVALID_SOCKET) continue;
    if (ConnectWithin(socket, at->ai_addr, static_cast<int>(at->ai_addrlen), timeoutMs)) {
      connected = static_cast<SocketHandle>(socket);
      SetSocketTimeouts(connected, timeoutMs);
    } else {
      closesocket(socket);
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
