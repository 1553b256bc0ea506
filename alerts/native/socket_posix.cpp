// POSIX sockets for the mail transport on the native host.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <openssl/x509.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "alerts/socket.h"

namespace {

// A server that closes while OpenSSL writes must fail the write, not end
// the process with SIGPIPE.
void IgnoreBrokenPipes() {
  static const bool ignored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
  (void)ignored;
}

bool ConnectWithin(int fd, const sockaddr* address, socklen_t length, int timeoutMs, MailFault* fault) {
  *fault = MailFault::kRefused;
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
  int result = connect(fd, address, length);
  if (result != 0 && errno == EINPROGRESS) {
    pollfd wait = {fd, POLLOUT, 0};
    int error = 0;
    socklen_t size = sizeof error;
    const int ready = poll(&wait, 1, timeoutMs);
    if (ready == 0) *fault = MailFault::kTimedOut;
    result = ready == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0 ? 0 : -1;
    if (error == ETIMEDOUT) *fault = MailFault::kTimedOut;
  }
  return result == 0 && fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace

SocketHandle OpenSocket(const char* host, uint16_t port, int timeoutMs, MailFault* fault) {
  MailFault why = MailFault::kNameNotFound;
  if (!fault) fault = &why;
  *fault = MailFault::kNameNotFound;
  IgnoreBrokenPipes();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  char service[8];
  std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
  addrinfo* found = nullptr;
  if (!host || getaddrinfo(host, service, &hints, &found) != 0) return kNoSocket;
  SocketHandle connected = kNoSocket;
  *fault = MailFault::kRefused;
  for (addrinfo* at = found; at && connected == kNoSocket; at = at->ai_next) {
    OwnedSocket fd(socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol));
    if (fd.get() < 0) continue;
    if (ConnectWithin(static_cast<int>(fd.get()), at->ai_addr, at->ai_addrlen, timeoutMs, fault)) {
      connected = fd.release();
      SetSocketTimeouts(connected, timeoutMs);
      *fault = MailFault::kNone;
    }
  }
  freeaddrinfo(found);
  return connected;
}

void SetSocketTimeouts(SocketHandle socket, int timeoutMs) {
  if (timeoutMs < 1) timeoutMs = 1;
  timeval limit{};
  limit.tv_sec = timeoutMs / 1000;
  limit.tv_usec = (timeoutMs % 1000) * 1000;
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

int WaitReadable(SocketHandle socket, int timeoutMs) {
  pollfd wait = {static_cast<int>(socket), POLLIN, 0};
  int result;
  do {
    result = poll(&wait, 1, timeoutMs);
  } while (result < 0 && errno == EINTR);
  return result == 1 ? 1 : 0;
}

long SendSome(SocketHandle socket, const char* data, size_t size) {
  ssize_t sent;
  do {
    sent = send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent < 0 ? -1 : static_cast<long>(sent);
}

long ReceiveSome(SocketHandle socket, char* buffer, size_t capacity) {
  ssize_t got;
  do {
    got = recv(static_cast<int>(socket), buffer, capacity, 0);
  } while (got < 0 && errno == EINTR);
  return got < 0 ? -1 : static_cast<long>(got);
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) close(static_cast<int>(socket));
}

int AddTrustedRoots(X509_STORE* store) {
  return store && X509_STORE_set_default_paths(store) == 1 ? 1 : 0;
}
