// A connect that starts just after Close(): the close cannot stop it, so a
// connection is made, and it must still be reported as a failed connect.
//
// The race is made certain by standing in for the C library's connect():
// while `closeFirst` is set, the stand-in closes the socket and then runs
// the real connect() on the descriptor the caller pinned.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/zq_socket.h"

namespace {

ZqSocket* closeFirst = nullptr;

using ConnectCall = int (*)(int, const sockaddr*, socklen_t);

}  // namespace

extern "C" int connect(int fd, const sockaddr* address, socklen_t size) {
    static auto real = reinterpret_cast<ConnectCall>(dlsym(RTLD_NEXT, "connect"));
    if (ZqSocket* socket = closeFirst) {
        closeFirst = nullptr;
        socket->Close();
    }
    return real(fd, address, size);
}

namespace {

// A listening socket on 127.0.0.1 that accepts nothing (the backlog takes
// the connection).
class Listener {
  public:
    Listener() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd, 4);
        socklen_t size = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

TEST(ZqSocketConnect, ConnectStartedAfterCloseReportsFailure) {
    Listener listener;
    ZqSocket* socket = gc_new<ZqSocket>();
    ASSERT_TRUE(socket->Open(ZQ_SOCKET_STREAM));
    closeFirst = socket;
    EXPECT_FALSE(socket->Connect(String("127.0.0.1"), listener.port));
    EXPECT_EQ(closeFirst, nullptr);  // the stand-in ran
    EXPECT_FALSE(socket->IsOpen());

    // Control: without the close the same connect succeeds.
    ZqSocket* other = gc_new<ZqSocket>();
    ASSERT_TRUE(other->Open(ZQ_SOCKET_STREAM));
    EXPECT_TRUE(other->Connect(String("127.0.0.1"), listener.port));
    other->Close();
}

}  // namespace
