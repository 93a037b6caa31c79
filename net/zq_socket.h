// The host's socket layer over the platform's sockets (platform_sockets.h):
// ZqSocketAddress (an IPv4
// address with its cached text form) and ZqSocket (one operating-system
// socket), plus the host-name resolution rule both use.
//
// Threading
// - ZqSocketAddress and the String forms of Bind/Connect are main-thread
//   only (they read Strings).
// - Send, Receive and ConnectAddress may run on a worker thread while the
//   main thread closes the socket. Close() shuts the connection down at once
//   (which wakes a worker blocked in connect, recv or send, as closing does
//   on Windows) and releases the descriptor when no worker call is still
//   using it, so a descriptor number is never reused under a running call.
// - resolve_host() is thread-safe (getaddrinfo) and takes 8-bit text.
//
// Platform notes: the socket library is started once per process before
// the first socket or address (Windows sockets 2.2; nothing on POSIX); a
// send to a closed peer gives an error count, never SIGPIPE; calls
// interrupted by a signal are resumed; connecting or sending to 0.0.0.0
// fails, as it does with Windows sockets (Linux would take it for the local
// host). Names are looked up with getaddrinfo on every platform.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "net/platform_sockets.h"
#include "runtime/lang/databuffer.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

// Protocol numbers of ZqSocket::Open and c_Socket.
constexpr int ZQ_SOCKET_STREAM = 1;
constexpr int ZQ_SOCKET_SERVER = 2;
constexpr int ZQ_SOCKET_DATAGRAM = 3;

// Longest host name that is looked up; longer ones resolve to 0.0.0.0.
constexpr int ZQ_MAX_HOST_NAME = 1023;

// The address resolution rule: zeroed IPv4 address, `port` in network
// order, address 0.0.0.0 unless `host8` (8-bit text: each character's low
// byte) is 1 to 1023 bytes and names an IPv4 host, whose first address is
// taken. A port outside 0..65535 gives 0.0.0.0 port 0 (no look-up), which
// no connect reaches. Any thread.
void resolve_host(sockaddr_in* address, std::string_view host8, int port);

class ZqSocketAddress : public Object {
  public:
    sockaddr_in addr{};  // family IPv4 from construction
    bool valid = false;  // whether `host` and `port` match `addr`
    String host;         // dotted text of the address
    int port = 0;        // host byte order

    ZqSocketAddress();

    void Set(const String& host, int port);
    void Set(ZqSocketAddress* other);
    void Set(const sockaddr_in& address);
    // Refreshes `host` and `port` from `addr` unless they are valid.
    void Validate();
};

class ZqSocket : public Object {
  public:
    zq_sockfd sock = ZQ_NO_SOCKET;          // written by the main thread only
    int protocol = 0;                       // ZQ_SOCKET_*
    zq_sockfd acceptedSock = ZQ_NO_SOCKET;  // from the last Accept, not yet taken by Accepted

    ~ZqSocket() override;

    // A stream or server socket (TCP, TCP_NODELAY on) or a datagram socket
    // (UDP). False when already open, for an unknown protocol or when the
    // system refuses.
    bool Open(int protocol);
    void Close();
    bool IsOpen() const { return sock != ZQ_NO_SOCKET; }

    // The host is resolved by resolve_host(); true when the call succeeds.
    bool Bind(const String& host, int port);
    bool Connect(const String& host, int port);
    bool BindAddress(const sockaddr_in& address);
    // Any thread (the asynchronous connect runs it on a worker).
    bool ConnectAddress(const sockaddr_in& address);

    bool Listen(int backlog);
    bool Accept();
    // A new stream socket around the last accepted connection (which it then
    // owns), or null.
    ZqSocket* Accepted();

    // send/recv of `count` bytes at `offset` of the buffer, clamped to the
    // buffer; the system call's result unchanged (bytes moved; 0 for an
    // orderly close on receive; negative on error, including a closed
    // socket or a range outside the buffer). Any thread, see above.
    int Send(ZqDataBuffer* buffer, int offset, int count);
    int Receive(ZqDataBuffer* buffer, int offset, int count);
    // Datagram forms; ReceiveFrom stores the sender into `address`.
    int SendTo(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address);
    int ReceiveFrom(ZqDataBuffer* buffer, int offset, int count, ZqSocketAddress* address);

    // getsockname / getpeername into the address (zeroed IPv4 when closed).
    void GetLocalAddress(ZqSocketAddress* address);
    void GetRemoteAddress(ZqSocketAddress* address);

  private:
    class InUse;  // pins the descriptor for the length of one system call

    std::mutex fdLock_;               // guards sock (writes), users_, closing_
    int users_ = 0;                   // system calls running on `sock`
    std::vector<zq_sockfd> closing_;  // closed while in use; released by the last user
};
