// BSD sockets (the list is in platform_sockets.h). No start-up call; sends
// use MSG_NOSIGNAL; calls interrupted by a signal are resumed (a connect
// interrupted goes on in the background, so it is waited for).
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "net/platform_sockets.h"

namespace {

// Runs a system call again while a signal interrupts it.
template <class Call>
auto retry_interrupted(Call call) {
    for (;;) {
        auto result = call();
        if (!(result < 0 && errno == EINTR)) return result;
    }
}

}  // namespace

void zq_StartSockets() {}

zq_sockfd zq_OpenSocket(bool stream) {
    return stream ? ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP)
                  : ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
}

void zq_CloseSocket(zq_sockfd fd) {
    if (fd >= 0) ::close(fd);
}

void zq_ShutdownSocket(zq_sockfd fd) {
    ::shutdown(fd, SHUT_RDWR);
}

void zq_SetNoDelay(zq_sockfd fd) {
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool zq_BindSocket(zq_sockfd fd, const sockaddr_in& address) {
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) >= 0;
}

int zq_ConnectSocket(zq_sockfd fd, const sockaddr_in& address) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return 0;
    if (errno != EINTR) return -1;
    pollfd wait{fd, POLLOUT, 0};
    if (retry_interrupted([&] { return ::poll(&wait, 1, -1); }) < 0) return -1;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return -1;
    return 0;
}

bool zq_ListenSocket(zq_sockfd fd, int backlog) {
    return ::listen(fd, backlog) == 0;
}

zq_sockfd zq_AcceptSocket(zq_sockfd fd) {
    return retry_interrupted([&] { return ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC); });
}

int zq_SendSocket(zq_sockfd fd, const unsigned char* bytes, size_t size) {
    return static_cast<int>(retry_interrupted([&] { return ::send(fd, bytes, size, MSG_NOSIGNAL); }));
}

int zq_ReceiveSocket(zq_sockfd fd, unsigned char* bytes, size_t size) {
    return static_cast<int>(retry_interrupted([&] { return ::recv(fd, bytes, size, 0); }));
}

int zq_SendSocketTo(zq_sockfd fd, const unsigned char* bytes, size_t size, const sockaddr_in& to) {
    const auto* address = reinterpret_cast<const sockaddr*>(&to);
    return static_cast<int>(
        retry_interrupted([&] { return ::sendto(fd, bytes, size, MSG_NOSIGNAL, address, sizeof to); }));
}

int zq_ReceiveSocketFrom(zq_sockfd fd, unsigned char* bytes, size_t size, sockaddr_in& from) {
    socklen_t fromSize = sizeof from;
    auto* address = reinterpret_cast<sockaddr*>(&from);
    return static_cast<int>(
        retry_interrupted([&] { return ::recvfrom(fd, bytes, size, 0, address, &fromSize); }));
}

void zq_SocketName(zq_sockfd fd, sockaddr_in& address, bool peer) {
    if (fd < 0) return;
    socklen_t size = sizeof address;
    auto* name = reinterpret_cast<sockaddr*>(&address);
    if (peer) {
        ::getpeername(fd, name, &size);
    } else {
        ::getsockname(fd, name, &size);
    }
}
