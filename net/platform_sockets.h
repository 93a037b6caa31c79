// The platform's socket calls: the one list of what a platform provides to
// the socket layer (zq_socket.cpp). Each platform defines all of it in one
// file, selected by the build:
//   platform_sockets_posix.cpp    BSD sockets
//   platform_sockets_windows.cpp  Windows sockets 2.2
//   platform_sockets_web.cpp      the browser: none, every call fails
// and declares the system's address types in a header that the build names
// as TOLVAR_SOCKET_TYPES_H:
//   socket_types_posix.h (the browser's too) / socket_types_windows.h
// each giving sockaddr_in, socklen_t, getaddrinfo, the byte-order helpers,
// the handle type zq_sockfd and ZQ_NO_SOCKET (no socket).
//
// Every call returns at once with a failure (-1, false, ZQ_NO_SOCKET) on a
// handle that is not open. Calls interrupted by a signal are resumed.
// Threading: any thread; the calls themselves keep no state.
#pragma once

#include <cstddef>

#include TOLVAR_SOCKET_TYPES_H

// Starts the socket library once per process (Windows sockets 2.2); must
// run before the first socket is opened or name looked up. Any thread.
void zq_StartSockets();

// A TCP (stream) or UDP socket, IPv4, not inherited by child processes.
zq_sockfd zq_OpenSocket(bool stream);
void zq_CloseSocket(zq_sockfd fd);
// Ends both directions at once, waking any call blocked on the socket.
void zq_ShutdownSocket(zq_sockfd fd);
void zq_SetNoDelay(zq_sockfd fd);

bool zq_BindSocket(zq_sockfd fd, const sockaddr_in& address);
// 0 once connected, -1 on failure.
int zq_ConnectSocket(zq_sockfd fd, const sockaddr_in& address);
bool zq_ListenSocket(zq_sockfd fd, int backlog);
zq_sockfd zq_AcceptSocket(zq_sockfd fd);

// Bytes moved, 0 for an orderly close on receive, negative on error. A
// send to a closed peer is an error count, never a signal.
int zq_SendSocket(zq_sockfd fd, const unsigned char* bytes, size_t size);
int zq_ReceiveSocket(zq_sockfd fd, unsigned char* bytes, size_t size);
int zq_SendSocketTo(zq_sockfd fd, const unsigned char* bytes, size_t size, const sockaddr_in& to);
int zq_ReceiveSocketFrom(zq_sockfd fd, unsigned char* bytes, size_t size, sockaddr_in& from);

// getsockname (peer false) or getpeername (peer true) into the address.
void zq_SocketName(zq_sockfd fd, sockaddr_in& address, bool peer);
