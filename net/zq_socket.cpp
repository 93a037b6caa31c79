// ZqSocket and ZqSocketAddress over the platform's sockets, and the
// resolution rule. Every socket system call of the runtime goes through the
// platform list (platform_sockets.h) from this file.
#include "net/zq_socket.h"

#include <cstdint>
#include <cstring>

// [SECTION] Resolution -------------------------------------------------------

void resolve_host(sockaddr_in* address, std::string_view host8, int port) {
    std::memset(address, 0, sizeof *address);
    address->sin_family = AF_INET;
    address->sin_addr.s_addr = htonl(INADDR_ANY);
    // A port that does not fit 16 bits would wrap round to some other port:
    // leave the address unusable for a connect instead.
    if (port < 0 || port > 65535) return;
    address->sin_port = htons(static_cast<uint16_t>(port));
    if (host8.empty() || host8.size() > ZQ_MAX_HOST_NAME) return;
    // The name ends at its first NUL, as a C string does.
    std::string name(host8.substr(0, host8.find('\0')));
    zq_StartSockets();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address, not per socket type
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return;
    address->sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
}

// [SECTION] ZqSocketAddress --------------------------------------------------

ZqSocketAddress::ZqSocketAddress() {
    zq_StartSockets();
    addr.sin_family = AF_INET;
}

void ZqSocketAddress::Set(const String& hostText, int portNumber) {
    resolve_host(&addr, hostText.ToNarrow(), portNumber);
    valid = false;
}

void ZqSocketAddress::Set(ZqSocketAddress* other) {
    addr = other->addr;
    valid = false;
}

void ZqSocketAddress::Set(const sockaddr_in& address) {
    addr = address;
    valid = false;
}

void ZqSocketAddress::Validate() {
    if (valid) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&addr.sin_addr.s_addr);
    host = String(static_cast<int>(bytes[0])) + "." + String(static_cast<int>(bytes[1])) + "." +
           String(static_cast<int>(bytes[2])) + "." + String(static_cast<int>(bytes[3]));
    port = ntohs(addr.sin_port);
    valid = true;
}

// [SECTION] Descriptor use ---------------------------------------------------

// Pins `sock` for one system call: Close() on another thread shuts the
// connection down at once but leaves the descriptor to the last user.
class ZqSocket::InUse {
  public:
    explicit InUse(ZqSocket* socket) : socket_(socket) {
        std::lock_guard<std::mutex> hold(socket_->fdLock_);
        fd = socket_->sock;
        if (fd != ZQ_NO_SOCKET) ++socket_->users_;
    }
    ~InUse() {
        if (fd == ZQ_NO_SOCKET) return;
        std::lock_guard<std::mutex> hold(socket_->fdLock_);
        if (--socket_->users_ == 0) {
            for (zq_sockfd closed : socket_->closing_) zq_CloseSocket(closed);
            socket_->closing_.clear();
        }
    }
    InUse(const InUse&) = delete;
    InUse& operator=(const InUse&) = delete;

    zq_sockfd fd;

  private:
    ZqSocket* socket_;
};

namespace {

bool is_any_address(const sockaddr_in& address) {
    return address.sin_addr.s_addr == htonl(INADDR_ANY);
}

// The part of [offset, offset + count) that lies in the buffer, or false
// when the range starts outside it.
bool clamp_range(ZqDataBuffer* buffer, int offset, int count, unsigned char** bytes, size_t* size) {
    if (buffer == nullptr || buffer->data == nullptr || offset < 0 || count < 0 || offset > buffer->length)
        return false;
    *bytes = buffer->data + offset;
    *size = static_cast<size_t>(count < buffer->length - offset ? count : buffer->length - offset);
    return true;
}

void read_name(zq_sockfd fd, ZqSocketAddress* address, bool peer) {
    std::memset(&address->addr, 0, sizeof address->addr);
    address->addr.sin_family = AF_INET;
    zq_SocketName(fd, address->addr, peer);
    address->valid = false;
}

}  // namespace

// [SECTION] ZqSocket ---------------------------------------------------------

ZqSocket::~ZqSocket() {
    // Destroyed by the collector, so no worker can still be using it.
    zq_CloseSocket(sock);
    zq_CloseSocket(acceptedSock);
    for (zq_sockfd closed : closing_) zq_CloseSocket(closed);
}

bool ZqSocket::Open(int protocolNumber) {
    if (sock != ZQ_NO_SOCKET || protocolNumber < 1) return false;
    zq_sockfd fd = ZQ_NO_SOCKET;
    switch (protocolNumber) {
        case ZQ_SOCKET_STREAM:
        case ZQ_SOCKET_SERVER:
            fd = zq_OpenSocket(true);
            if (fd != ZQ_NO_SOCKET) zq_SetNoDelay(fd);
            break;
        case ZQ_SOCKET_DATAGRAM:
            fd = zq_OpenSocket(false);
            break;
        default:
            return false;
    }
    if (fd == ZQ_NO_SOCKET) return false;
    std::lock_guard<std::mutex> hold(fdLock_);
    sock = fd;
    protocol = protocolNumber;
    return true;
}

void ZqSocket::Close() {
    std::lock_guard<std::mutex> hold(fdLock_);
    if (sock == ZQ_NO_SOCKET) return;
    // Wakes any worker blocked on the socket; the descriptor itself goes
    // when its last user is done.
    zq_ShutdownSocket(sock);
    if (users_ == 0) {
        zq_CloseSocket(sock);
    } else {
        closing_.push_back(sock);
    }
    sock = ZQ_NO_SOCKET;
}

bool ZqSocket::Bind(const String& host, int port) {
    sockaddr_in address;
    resolve_host(&address, host.ToNarrow(), port);
    return BindAddress(address);
}

bool ZqSocket::Connect(const String& host, int port) {
    sockaddr_in address;
    resolve_host(&address, host.ToNarrow(), port);
    return ConnectAddress(address);
}

bool ZqSocket::BindAddress(const sockaddr_in& address) {
    return zq_BindSocket(sock, address);
}

bool ZqSocket::ConnectAddress(const sockaddr_in& address) {
    if (is_any_address(address)) return false;
    InUse use(this);
    if (use.fd == ZQ_NO_SOCKET || zq_ConnectSocket(use.fd, address) < 0) return false;
    // A Close() between pinning the descriptor and the start of connect()
    // cannot stop it (shutting down a socket that is not connected yet does
    // nothing), so the connection may belong to a socket closed meanwhile:
    // that is a failed connect, and the connection is shut down.
    std::lock_guard<std::mutex> hold(fdLock_);
    if (sock == use.fd) return true;
    zq_ShutdownSocket(use.fd);
    return false;
}

bool ZqSocket::Listen(int backlog) {
    return zq_ListenSocket(sock, backlog);
}

bool ZqSocket::Accept() {
    zq_CloseSocket(acceptedSock);  // never taken by Accepted()
    acceptedSock = zq_AcceptSocket(sock);
    return acceptedSock != ZQ_NO_SOCKET;
}

ZqSocket* ZqSocket::Accepted() {
    if (acceptedSock == ZQ_NO_SOCKET) return nullptr;
    ZqSocket* accepted = gc_new<ZqSocket>();
    zq_SetNoDelay(acceptedSock);
    accepted->sock = acceptedSock;
    accepted->protocol = ZQ_SOCKET_STREAM;
    acceptedSock = ZQ_NO_SOCKET;
    return accepted;
}

int ZqSocket::Send(ZqDataBuffer* buffer, int offset, int count) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd == ZQ_NO_SOCKET) return -1;
    return zq_SendSocket(use.fd, bytes, size);
}

int ZqSocket::Receive(ZqDataBuffer* buffer, int offset, int count) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd == ZQ_NO_SOCKET) return -1;
    return zq_ReceiveSocket(use.fd, bytes, size);
}

int ZqSocket::SendTo(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size) || is_any_address(address->addr)) return -1;
    InUse use(this);
    if (use.fd == ZQ_NO_SOCKET) return -1;
    return zq_SendSocketTo(use.fd, bytes, size, address->addr);
}

int ZqSocket::ReceiveFrom(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd == ZQ_NO_SOCKET) return -1;
    sockaddr_in from{};
    from.sin_family = AF_INET;
    int result = zq_ReceiveSocketFrom(use.fd, bytes, size, from);
    address->addr = from;
    address->valid = false;
    return result;
}

void ZqSocket::GetLocalAddress(ZqSocketAddress* address) {
    read_name(sock, address, false);
}

void ZqSocket::GetRemoteAddress(ZqSocketAddress* address) {
    read_name(sock, address, true);
}
