// ZqSocket and ZqSocketAddress over BSD sockets, and the resolution rule.
// Every socket system call of the runtime is in this file.
#include "net/zq_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
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
        if (fd >= 0) ++socket_->users_;
    }
    ~InUse() {
        if (fd < 0) return;
        std::lock_guard<std::mutex> hold(socket_->fdLock_);
        if (--socket_->users_ == 0) {
            for (int closed : socket_->closing_) ::close(closed);
            socket_->closing_.clear();
        }
    }
    InUse(const InUse&) = delete;
    InUse& operator=(const InUse&) = delete;

    int fd;

  private:
    ZqSocket* socket_;
};

namespace {

// Runs a system call again while a signal interrupts it.
template <class Call>
auto retry_interrupted(Call call) {
    for (;;) {
        auto result = call();
        if (!(result < 0 && errno == EINTR)) return result;
    }
}

// connect() that survives a signal: the attempt goes on in the background,
// so wait for it and take its outcome.
int connect_fd(int fd, const sockaddr_in& address) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return 0;
    if (errno != EINTR) return -1;
    pollfd wait{fd, POLLOUT, 0};
    if (retry_interrupted([&] { return ::poll(&wait, 1, -1); }) < 0) return -1;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return -1;
    return 0;
}

bool is_any_address(const sockaddr_in& address) {
    return address.sin_addr.s_addr == htonl(INADDR_ANY);
}

void set_no_delay(int fd) {
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
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

void read_name(int fd, ZqSocketAddress* address, int (*query)(int, sockaddr*, socklen_t*)) {
    std::memset(&address->addr, 0, sizeof address->addr);
    address->addr.sin_family = AF_INET;
    if (fd >= 0) {
        socklen_t size = sizeof address->addr;
        query(fd, reinterpret_cast<sockaddr*>(&address->addr), &size);
    }
    address->valid = false;
}

}  // namespace

// [SECTION] ZqSocket ---------------------------------------------------------

ZqSocket::~ZqSocket() {
    // Destroyed by the collector, so no worker can still be using it.
    if (sock >= 0) ::close(sock);
    if (acceptedSock >= 0) ::close(acceptedSock);
    for (int closed : closing_) ::close(closed);
}

bool ZqSocket::Open(int protocolNumber) {
    if (sock >= 0 || protocolNumber < 1) return false;
    int fd = -1;
    switch (protocolNumber) {
        case ZQ_SOCKET_STREAM:
        case ZQ_SOCKET_SERVER:
            fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
            if (fd >= 0) set_no_delay(fd);
            break;
        case ZQ_SOCKET_DATAGRAM:
            fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
            break;
        default:
            return false;
    }
    if (fd < 0) return false;
    std::lock_guard<std::mutex> hold(fdLock_);
    sock = fd;
    protocol = protocolNumber;
    return true;
}

void ZqSocket::Close() {
    std::lock_guard<std::mutex> hold(fdLock_);
    if (sock < 0) return;
    // Wakes any worker blocked on the socket; the descriptor itself goes
    // when its last user is done.
    ::shutdown(sock, SHUT_RDWR);
    if (users_ == 0) {
        ::close(sock);
    } else {
        closing_.push_back(sock);
    }
    sock = -1;
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
    return ::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address) >= 0;
}

bool ZqSocket::ConnectAddress(const sockaddr_in& address) {
    if (is_any_address(address)) return false;
    InUse use(this);
    if (use.fd < 0 || connect_fd(use.fd, address) < 0) return false;
    // A Close() between pinning the descriptor and the start of connect()
    // cannot stop it (shutting down a socket that is not connected yet does
    // nothing), so the connection may belong to a socket closed meanwhile:
    // that is a failed connect, and the connection is shut down.
    std::lock_guard<std::mutex> hold(fdLock_);
    if (sock == use.fd) return true;
    ::shutdown(use.fd, SHUT_RDWR);
    return false;
}

bool ZqSocket::Listen(int backlog) {
    return ::listen(sock, backlog) == 0;
}

bool ZqSocket::Accept() {
    if (acceptedSock >= 0) ::close(acceptedSock);  // never taken by Accepted()
    acceptedSock = retry_interrupted([&] { return ::accept4(sock, nullptr, nullptr, SOCK_CLOEXEC); });
    return acceptedSock >= 0;
}

ZqSocket* ZqSocket::Accepted() {
    if (acceptedSock < 0) return nullptr;
    ZqSocket* accepted = gc_new<ZqSocket>();
    set_no_delay(acceptedSock);
    accepted->sock = acceptedSock;
    accepted->protocol = ZQ_SOCKET_STREAM;
    acceptedSock = -1;
    return accepted;
}

int ZqSocket::Send(ZqDataBuffer* buffer, int offset, int count) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd < 0) return -1;
    return static_cast<int>(retry_interrupted([&] { return ::send(use.fd, bytes, size, MSG_NOSIGNAL); }));
}

int ZqSocket::Receive(ZqDataBuffer* buffer, int offset, int count) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd < 0) return -1;
    return static_cast<int>(retry_interrupted([&] { return ::recv(use.fd, bytes, size, 0); }));
}

int ZqSocket::SendTo(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size) || is_any_address(address->addr)) return -1;
    InUse use(this);
    if (use.fd < 0) return -1;
    const auto* to = reinterpret_cast<const sockaddr*>(&address->addr);
    return static_cast<int>(retry_interrupted(
        [&] { return ::sendto(use.fd, bytes, size, MSG_NOSIGNAL, to, sizeof address->addr); }));
}

int ZqSocket::ReceiveFrom(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address) {
    unsigned char* bytes;
    size_t size;
    if (!clamp_range(buffer, offset, count, &bytes, &size)) return -1;
    InUse use(this);
    if (use.fd < 0) return -1;
    sockaddr_in from{};
    from.sin_family = AF_INET;
    socklen_t fromSize = sizeof from;
    auto* fromAddress = reinterpret_cast<sockaddr*>(&from);
    int result = static_cast<int>(
        retry_interrupted([&] { return ::recvfrom(use.fd, bytes, size, 0, fromAddress, &fromSize); }));
    address->addr = from;
    address->valid = false;
    return result;
}

void ZqSocket::GetLocalAddress(ZqSocketAddress* address) {
    read_name(sock, address, &::getsockname);
}

void ZqSocket::GetRemoteAddress(ZqSocketAddress* address) {
    read_name(sock, address, &::getpeername);
}
