// The host socket layer on loopback: open rules, stream server and client,
// datagrams, addresses and the resolution rule.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstring>
#include <string>

#include "net/zq_socket.h"

namespace {

c_DataBuffer* Bytes(const std::string& text) {
    c_DataBuffer* buffer = gc_new<c_DataBuffer>()->m_new(static_cast<int>(text.size()));
    std::memcpy(buffer->data, text.data(), text.size());
    return buffer;
}

std::string Text(c_DataBuffer* buffer, int count) {
    return std::string(reinterpret_cast<char*>(buffer->data), static_cast<size_t>(count));
}

std::string Dotted(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
}

int NoDelay(ZqSocket* socket) {
    int value = 0;
    socklen_t size = sizeof value;
    getsockopt(socket->sock, IPPROTO_TCP, TCP_NODELAY, &value, &size);
    return value;
}

TEST(ZqSocket, OpenAcceptsTheThreeProtocolsOnce) {
    for (int protocol : {0, -1, 4}) EXPECT_FALSE(gc_new<ZqSocket>()->Open(protocol)) << protocol;
    ZqSocket* stream = gc_new<ZqSocket>();
    ASSERT_TRUE(stream->Open(ZQ_SOCKET_STREAM));
    EXPECT_FALSE(stream->Open(ZQ_SOCKET_STREAM));
    EXPECT_EQ(NoDelay(stream), 1);
    stream->Close();
    EXPECT_EQ(stream->sock, -1);
    stream->Close();  // closing twice is harmless

    ZqSocket* server = gc_new<ZqSocket>();
    ASSERT_TRUE(server->Open(ZQ_SOCKET_SERVER));
    EXPECT_EQ(NoDelay(server), 1);
    server->Close();
    ZqSocket* datagram = gc_new<ZqSocket>();
    ASSERT_TRUE(datagram->Open(ZQ_SOCKET_DATAGRAM));
    int type = 0;
    socklen_t size = sizeof type;
    getsockopt(datagram->sock, SOL_SOCKET, SO_TYPE, &type, &size);
    EXPECT_EQ(type, SOCK_DGRAM);
    datagram->Close();
}

TEST(ZqSocket, StreamServerAcceptsAndBothSidesTalk) {
    ZqSocket* server = gc_new<ZqSocket>();
    ASSERT_TRUE(server->Open(ZQ_SOCKET_SERVER));
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(4));
    ZqSocketAddress* local = gc_new<ZqSocketAddress>();
    server->GetLocalAddress(local);
    EXPECT_FALSE(local->valid);
    local->Validate();
    EXPECT_TRUE(local->valid);
    EXPECT_EQ(local->host.ToUtf8(), "127.0.0.1");
    ASSERT_GT(local->port, 0);

    ZqSocket* client = gc_new<ZqSocket>();
    ASSERT_TRUE(client->Open(ZQ_SOCKET_STREAM));
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), local->port));
    ASSERT_TRUE(server->Accept());
    ZqSocket* accepted = server->Accepted();
    ASSERT_NE(accepted, nullptr);
    EXPECT_EQ(server->Accepted(), nullptr);  // handed over once
    EXPECT_EQ(accepted->protocol, ZQ_SOCKET_STREAM);

    EXPECT_EQ(client->Send(Bytes("hello"), 1, 3), 3);
    c_DataBuffer* into = Bytes("........");
    EXPECT_EQ(accepted->Receive(into, 2, 6), 3);
    EXPECT_EQ(Text(into, 8), "..ell...");

    ZqSocketAddress* peer = gc_new<ZqSocketAddress>();
    accepted->GetRemoteAddress(peer);
    peer->Validate();
    EXPECT_EQ(peer->host.ToUtf8(), "127.0.0.1");
    ZqSocketAddress* mine = gc_new<ZqSocketAddress>();
    client->GetLocalAddress(mine);
    mine->Validate();
    EXPECT_EQ(mine->port, peer->port);

    client->Close();
    EXPECT_EQ(accepted->Receive(into, 0, 8), 0);  // orderly close
    accepted->Close();
    server->Close();
}

TEST(ZqSocket, TransfersStayInsideTheBuffer) {
    ZqSocket* a = gc_new<ZqSocket>();
    ASSERT_TRUE(a->Open(ZQ_SOCKET_DATAGRAM));
    ASSERT_TRUE(a->Bind(String("127.0.0.1"), 0));
    ZqSocketAddress* address = gc_new<ZqSocketAddress>();
    a->GetLocalAddress(address);
    c_DataBuffer* small = Bytes("abc");
    EXPECT_EQ(a->SendTo(small, -1, 2, address), -1);
    EXPECT_EQ(a->SendTo(small, 4, 1, address), -1);
    EXPECT_EQ(a->SendTo(small, 1, 100, address), 2);  // clamped to "bc"
    c_DataBuffer* into = Bytes("....");
    ZqSocketAddress* from = gc_new<ZqSocketAddress>();
    EXPECT_EQ(a->ReceiveFrom(into, 3, 100, from), 1);  // room for one byte
    EXPECT_EQ(Text(into, 4), "...b");
    a->Close();
    EXPECT_EQ(a->Send(small, 0, 3), -1);  // closed
    EXPECT_EQ(a->Receive(into, 0, 3), -1);
}

TEST(ZqSocket, DatagramsCarryTheirSender) {
    ZqSocket* a = gc_new<ZqSocket>();
    ZqSocket* b = gc_new<ZqSocket>();
    ASSERT_TRUE(a->Open(ZQ_SOCKET_DATAGRAM));
    ASSERT_TRUE(b->Open(ZQ_SOCKET_DATAGRAM));
    ASSERT_TRUE(a->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(b->Bind(String("localhost"), 0));
    ZqSocketAddress* toB = gc_new<ZqSocketAddress>();
    b->GetLocalAddress(toB);
    ZqSocketAddress* aAddress = gc_new<ZqSocketAddress>();
    a->GetLocalAddress(aAddress);
    aAddress->Validate();

    EXPECT_EQ(a->SendTo(Bytes("ping"), 0, 4, toB), 4);
    c_DataBuffer* into = Bytes("......");
    ZqSocketAddress* sender = gc_new<ZqSocketAddress>();
    sender->Validate();
    EXPECT_EQ(b->ReceiveFrom(into, 0, 6, sender), 4);
    EXPECT_EQ(Text(into, 4), "ping");
    EXPECT_FALSE(sender->valid);
    sender->Validate();
    EXPECT_EQ(sender->host.ToUtf8(), "127.0.0.1");
    EXPECT_EQ(sender->port, aAddress->port);
    a->Close();
    b->Close();
}

TEST(ZqSocketAddress, SetClearsValidAndValidateFormats) {
    ZqSocketAddress* address = gc_new<ZqSocketAddress>();
    EXPECT_EQ(address->addr.sin_family, AF_INET);
    address->Set(String("10.1.2.3"), 8080);
    EXPECT_FALSE(address->valid);
    address->Validate();
    EXPECT_EQ(address->host.ToUtf8(), "10.1.2.3");
    EXPECT_EQ(address->port, 8080);
    EXPECT_EQ(ntohs(address->addr.sin_port), 8080);

    ZqSocketAddress* copy = gc_new<ZqSocketAddress>();
    copy->Set(address);
    EXPECT_FALSE(copy->valid);
    copy->Validate();
    EXPECT_EQ(copy->host.ToUtf8(), "10.1.2.3");
    // Validate keeps the cached text while it is valid.
    copy->addr.sin_port = htons(1);
    copy->Validate();
    EXPECT_EQ(copy->port, 8080);
    sockaddr_in raw = copy->addr;
    copy->Set(raw);
    copy->Validate();
    EXPECT_EQ(copy->port, 1);
}

TEST(Resolution, NamesThatCannotBeLookedUpGiveTheAnyAddress) {
    sockaddr_in address;
    resolve_host(&address, "127.0.0.1", 81);
    EXPECT_EQ(Dotted(address), "127.0.0.1");
    EXPECT_EQ(ntohs(address.sin_port), 81);
    resolve_host(&address, "localhost", 0);
    EXPECT_EQ(Dotted(address), "127.0.0.1");
    for (std::string name :
         {std::string(), std::string("nonexistent.invalid"), std::string(1024, 'a'), std::string(1023, 'a'),
          std::string("\0"
                      "127.0.0.1",
                      10)}) {
        resolve_host(&address, name, 80);
        EXPECT_EQ(Dotted(address), "0.0.0.0") << name.size();
        EXPECT_EQ(address.sin_family, AF_INET);
    }
    // Ports that do not fit 16 bits do not wrap round to another port.
    for (int port : {-1, 65536, 65536 + 80}) {
        resolve_host(&address, "127.0.0.1", port);
        EXPECT_EQ(Dotted(address), "0.0.0.0") << port;
        EXPECT_EQ(address.sin_port, 0) << port;
    }
    // Each character counts by its low byte: U+0131 is the byte 0x31, "1".
    ZqSocketAddress* wide = gc_new<ZqSocketAddress>();
    wide->Set(String(u"127.0.0.\u0131"), 1);
    wide->Validate();
    EXPECT_EQ(wide->host.ToUtf8(), "127.0.0.1");
}

TEST(Resolution, ConnectingToTheAnyAddressFailsEvenWhenTheLocalHostListens) {
    ZqSocket* server = gc_new<ZqSocket>();
    ASSERT_TRUE(server->Open(ZQ_SOCKET_SERVER));
    ASSERT_TRUE(server->Bind(String(), 0));  // 0.0.0.0: every local address
    ASSERT_TRUE(server->Listen(1));
    ZqSocketAddress* local = gc_new<ZqSocketAddress>();
    server->GetLocalAddress(local);
    local->Validate();
    ZqSocket* client = gc_new<ZqSocket>();
    ASSERT_TRUE(client->Open(ZQ_SOCKET_STREAM));
    EXPECT_FALSE(client->Connect(String("nonexistent.invalid"), local->port));
    EXPECT_TRUE(client->Connect(String("127.0.0.1"), local->port));
    client->Close();
    server->Close();
}

}  // namespace
