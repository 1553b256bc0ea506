// The platform's TCP sockets, as the mail transport needs them: Windows
// Sockets 2 in the program (alerts/win32), POSIX sockets on the native
// test host (alerts/native).
#pragma once

#include <cstddef>
#include <cstdint>

// A connected socket (a SOCKET on Windows, a descriptor elsewhere).
using SocketHandle = intptr_t;
constexpr SocketHandle kNoSocket = -1;

// Looks `host` up and connects to the first of its addresses that accepts
// within `timeoutMs` each. kNoSocket when none does.
SocketHandle OpenSocket(const char* host, uint16_t port, int timeoutMs);
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
