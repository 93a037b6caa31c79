// Windows sockets 2.2 (the list is in platform_sockets.h).
//
// WSAStartup runs once per process, before the first socket or look-up;
// the library stays started until the process ends (WSACleanup is left to
// process exit, since detached workers may still hold sockets). Handles are
// closed with closesocket; errors are Winsock's own (WSAGetLastError), and
// every failing call answers -1 as the BSD form does. Windows raises no
// signal on a send to a closed peer and resumes no call: nothing to retry.
// Sockets are not inherited by child processes (WSA_FLAG_NO_HANDLE_INHERIT).
#include <mutex>

#include "net/platform_sockets.h"

void zq_StartSockets() {
    static std::once_flag started;
    std::call_once(started, [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}

zq_sockfd zq_OpenSocket(bool stream) {
    zq_StartSockets();
    return stream ? WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                               WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT)
                  : WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0,
                               WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
}

void zq_CloseSocket(zq_sockfd fd) {
    if (fd != ZQ_NO_SOCKET) ::closesocket(fd);
}

void zq_ShutdownSocket(zq_sockfd fd) {
    ::shutdown(fd, SD_BOTH);
}

void zq_SetNoDelay(zq_sockfd fd) {
    BOOL one = TRUE;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
}

bool zq_BindSocket(zq_sockfd fd, const sockaddr_in& address) {
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != SOCKET_ERROR;
}

int zq_ConnectSocket(zq_sockfd fd, const sockaddr_in& address) {
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : -1;
}

bool zq_ListenSocket(zq_sockfd fd, int backlog) {
    return ::listen(fd, backlog) == 0;
}

zq_sockfd zq_AcceptSocket(zq_sockfd fd) {
    return ::accept(fd, nullptr, nullptr);
}

namespace {

// A size for Winsock's int counts (one call moves at most 2 GiB).
int chunk(size_t size) {
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
}

}  // namespace

int zq_SendSocket(zq_sockfd fd, const unsigned char* bytes, size_t size) {
    return ::send(fd, reinterpret_cast<const char*>(bytes), chunk(size), 0);
}

int zq_ReceiveSocket(zq_sockfd fd, unsigned char* bytes, size_t size) {
    return ::recv(fd, reinterpret_cast<char*>(bytes), chunk(size), 0);
}

int zq_SendSocketTo(zq_sockfd fd, const unsigned char* bytes, size_t size, const sockaddr_in& to) {
    return ::sendto(fd, reinterpret_cast<const char*>(bytes), chunk(size), 0,
                    reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

int zq_ReceiveSocketFrom(zq_sockfd fd, unsigned char* bytes, size_t size, sockaddr_in& from) {
    int fromSize = sizeof from;
    return ::recvfrom(fd, reinterpret_cast<char*>(bytes), chunk(size), 0, reinterpret_cast<sockaddr*>(&from),
                      &fromSize);
}

void zq_SocketName(zq_sockfd fd, sockaddr_in& address, bool peer) {
    if (fd == ZQ_NO_SOCKET) return;
    int size = sizeof address;
    auto* name = reinterpret_cast<sockaddr*>(&address);
    if (peer) {
        ::getpeername(fd, name, &size);
    } else {
        ::getsockname(fd, name, &size);
    }
}
