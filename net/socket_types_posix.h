// The system's socket types on POSIX systems (see platform_sockets.h).
#pragma once

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

using zq_sockfd = int;
constexpr zq_sockfd ZQ_NO_SOCKET = -1;
