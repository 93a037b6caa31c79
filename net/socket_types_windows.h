// The system's socket types on Windows (see platform_sockets.h): Windows
// sockets 2, whose getaddrinfo is in ws2tcpip.h.
#pragma once

#include <winsock2.h>
// ws2tcpip.h needs winsock2.h first.
#include <ws2tcpip.h>

using zq_sockfd = SOCKET;
constexpr zq_sockfd ZQ_NO_SOCKET = INVALID_SOCKET;
