// Sockets in the browser (the list is in platform_sockets.h): there are
// none. A page may not open TCP or UDP connections, so every socket fails to
// open and every call on a handle fails at once. Name look-ups still answer
// (Emscripten's resolver), but nothing can connect to the address.
//
// LIMITATION: the statistics request and every other network use report
// failure on the web, through the same completions as on the desktop.
#include "net/platform_sockets.h"

void zq_StartSockets() {}

zq_sockfd zq_OpenSocket(bool) {
    return ZQ_NO_SOCKET;
}

void zq_CloseSocket(zq_sockfd) {}
void zq_ShutdownSocket(zq_sockfd) {}
void zq_SetNoDelay(zq_sockfd) {}

bool zq_BindSocket(zq_sockfd, const sockaddr_in&) {
    return false;
}

int zq_ConnectSocket(zq_sockfd, const sockaddr_in&) {
    return -1;
}

bool zq_ListenSocket(zq_sockfd, int) {
    return false;
}

zq_sockfd zq_AcceptSocket(zq_sockfd) {
    return ZQ_NO_SOCKET;
}

int zq_SendSocket(zq_sockfd, const unsigned char*, size_t) {
    return -1;
}

int zq_ReceiveSocket(zq_sockfd, unsigned char*, size_t) {
    return -1;
}

int zq_SendSocketTo(zq_sockfd, const unsigned char*, size_t, const sockaddr_in&) {
    return -1;
}

int zq_ReceiveSocketFrom(zq_sockfd, unsigned char*, size_t, sockaddr_in&) {
    return -1;
}

void zq_SocketName(zq_sockfd, sockaddr_in& address, bool) {
    address = sockaddr_in{};
}
