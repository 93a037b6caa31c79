// Asynchronous queues, the event pump and c_Socket's request rules, on real
// loopback sockets.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/async_event.h"
#include "net/async_queue.h"
#include "net/socket.h"
#include "net_test_support.h"
#include "runtime/lang/init.h"

namespace {

using nettest::PumpUntil;

// Records every completion it receives, in order.
class Listener : public Object,
                 public virtual c_IOnConnectComplete,
                 public virtual c_IOnSendComplete,
                 public virtual c_IOnReceiveComplete {
  public:
    std::vector<std::string> events;

    void p_OnConnectComplete(bool connected, c_Socket*) override {
        events.push_back(std::string("connect:") + (connected ? "1" : "0"));
    }
    void p_OnSendComplete(c_DataBuffer* data, int, int count, c_Socket*) override {
        events.push_back("send:" + std::to_string(data->length) + ":" + std::to_string(count));
    }
    void p_OnReceiveComplete(c_DataBuffer*, int, int count, c_Socket*) override {
        events.push_back("receive:" + std::to_string(count));
    }
};

// An operation that does nothing on the worker and records its completion.
class MarkOp : public c_AsyncOp {
  public:
    std::vector<std::string>* log = nullptr;
    std::string name;

    MarkOp* m_new(std::vector<std::string>* into, std::string label) {
        log = into;
        name = std::move(label);
        return this;
    }
    void p_Execute__UNSAFE__(c_Socket*) override {}
    void p_Complete(c_Socket*) override { log->push_back(name); }
};

c_DataBuffer* Buffer(const std::string& bytes) {
    c_DataBuffer* buffer = gc_new<c_DataBuffer>()->m_new(static_cast<int>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) buffer->data[i] = static_cast<unsigned char>(bytes[i]);
    return buffer;
}

bool Drained(c_AsyncQueue* queue) {
    return queue->next.load() == queue->put.load() && !queue->IsRunning();
}

// A stream socket connected to a loopback server that sends `greeting`.
c_Socket* ConnectedSocket(nettest::LoopbackServer& server, Listener* listener) {
    c_Socket* socket = gc_new<c_Socket>()->m_new(String("stream"));
    socket->p_ConnectAsync(String("127.0.0.1"), server.port(), listener);
    EXPECT_TRUE(PumpUntil([&] { return !listener->events.empty(); }));
    EXPECT_EQ(listener->events.at(0), "connect:1");
    listener->events.clear();
    return socket;
}

TEST(AsyncQueue, ExecutedReadAndWriteOperationsCompleteReadQueueFirstInOrder) {
    nettest::LoopbackServer server({{"pong"}, 0, 3000, false});
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = ConnectedSocket(server, listener);
    EXPECT_EQ(socket->state, c_Socket::kOpen | c_Socket::kConnecting | c_Socket::kConnected);

    // A send, the receive, another send: all executed before the pump.
    socket->p_SendAsync(Buffer("a"), 0, 1, listener);
    socket->p_ReceiveAsync(Buffer("...."), 0, 4, listener);
    socket->p_SendAsync(Buffer("bb"), 0, 2, listener);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(Drained(socket->readQueue) && Drained(socket->writeQueue)) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(listener->events.empty());

    zq_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(listener->events, (std::vector<std::string>{"receive:4", "send:1:1", "send:2:2"}));
    socket->p_Close();
    EXPECT_EQ(socket->state, 0);
}

TEST(AsyncQueue, RequestsInTheWrongStateAreIgnored) {
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = gc_new<c_Socket>()->m_new(String("stream"));
    EXPECT_TRUE(socket->p_IsOpen());
    EXPECT_FALSE(socket->p_IsConnected());
    EXPECT_FALSE(socket->p_IsListening());
    socket->p_SendAsync(Buffer("x"), 0, 1, listener);
    socket->p_ReceiveAsync(Buffer("x"), 0, 1, listener);
    EXPECT_EQ(socket->writeQueue->put.load(), 0);
    EXPECT_EQ(socket->readQueue->put.load(), 0);

    // A connect on a closed socket is ignored as well.
    socket->p_Close();
    socket->p_ConnectAsync(String("127.0.0.1"), nettest::UnusedPort(), listener);
    EXPECT_EQ(socket->readQueue->put.load(), 0);
    for (int i = 0; i < 20; ++i) zq_asyncevent_UpdateAsyncEvents();
    EXPECT_TRUE(listener->events.empty());
}

TEST(AsyncQueue, SecondConnectOnAConnectedSocketIsIgnored) {
    nettest::LoopbackServer server({{}, 0, 500, false});
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = ConnectedSocket(server, listener);
    socket->p_ConnectAsync(String("127.0.0.1"), server.port(), listener);
    EXPECT_EQ(socket->readQueue->put.load(), 1);  // only the first connect
    socket->p_Close();
}

TEST(AsyncQueue, FailedConnectCompletesWithFalseAndLeavesTheSocketUnconnected) {
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = gc_new<c_Socket>()->m_new(String("stream"));
    socket->p_ConnectAsync(String("127.0.0.1"), nettest::UnusedPort(), listener);
    ASSERT_TRUE(PumpUntil([&] { return !listener->events.empty(); }));
    EXPECT_EQ(listener->events, (std::vector<std::string>{"connect:0"}));
    EXPECT_EQ(socket->state, c_Socket::kOpen);
    socket->p_Close();
}

TEST(AsyncQueue, OverlongHostNameConnectsToNothingAndFails) {
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = gc_new<c_Socket>()->m_new(String("stream"));
    socket->p_ConnectAsync(String(std::string(1024, 'a').c_str()), 80, listener);
    ASSERT_TRUE(PumpUntil([&] { return !listener->events.empty(); }));
    EXPECT_EQ(listener->events, (std::vector<std::string>{"connect:0"}));
    socket->p_Close();
}

TEST(AsyncQueue, ReceiveReportsAnOrderlyCloseAsZero) {
    nettest::LoopbackServer server({{"hi"}, 0, 0, false});
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = ConnectedSocket(server, listener);
    c_DataBuffer* buffer = Buffer("......");
    socket->p_ReceiveAsync(buffer, 0, 6, listener);
    ASSERT_TRUE(PumpUntil([&] { return listener->events.size() == 1; }));
    EXPECT_EQ(listener->events.back(), "receive:2");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer->data), 2), "hi");
    socket->p_ReceiveAsync(buffer, 0, 6, listener);
    ASSERT_TRUE(PumpUntil([&] { return listener->events.size() == 2; }));
    EXPECT_EQ(listener->events.back(), "receive:0");
    socket->p_Close();
}

TEST(AsyncQueue, CloseWakesAWorkerBlockedInReceive) {
    nettest::LoopbackServer server({{}, 0, 3000, false});
    Listener* listener = gc_new<Listener>();
    c_Socket* socket = ConnectedSocket(server, listener);
    socket->p_ReceiveAsync(Buffer("...."), 0, 4, listener);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the worker block in recv
    socket->p_Close();
    ASSERT_TRUE(PumpUntil([&] { return !listener->events.empty(); }, 2000));
    // Shut down under the receive: an orderly end or an error, never data.
    EXPECT_TRUE(listener->events[0] == "receive:0" || listener->events[0] == "receive:-1")
        << listener->events[0];
    EXPECT_FALSE(socket->readQueue->IsRunning());
}

TEST(AsyncQueue, RingHolds255WaitingOperationsAndWrapsAround) {
    std::vector<std::string> log;
    c_AsyncQueue* queue = gc_new<c_AsyncQueue>()->m_new(nullptr);
    for (int round = 0; round < 2; ++round) {
        log.clear();
        for (int i = 0; i < 255; ++i) queue->p_Enqueue(gc_new<MarkOp>()->m_new(&log, std::to_string(i)));
        PumpUntil([&] { return Drained(queue); });
        queue->p_UpdateAsyncEvents();
        ASSERT_EQ(log.size(), 255u);
        for (int i = 0; i < 255; ++i) EXPECT_EQ(log[i], std::to_string(i));
    }
    EXPECT_EQ(queue->get, queue->put.load());
    EXPECT_EQ(queue->ops[0], nullptr);  // completed operations leave the ring
}

// The worker may end just as an operation is enqueued: it saw nothing
// waiting, and Start() saw it still running. The pump starts it again.
TEST(AsyncQueue, PumpRestartsAWorkerThatEndedUnderANewOperation) {
    std::vector<std::string> log;
    c_AsyncQueue* queue = gc_new<c_AsyncQueue>()->m_new(nullptr);
    queue->running.store(1);  // the worker is in its last instant
    queue->p_Enqueue(gc_new<MarkOp>()->m_new(&log, "stranded"));
    queue->running.store(2);  // ... and ends without having seen it
    EXPECT_TRUE(PumpUntil(
        [&] {
            queue->p_UpdateAsyncEvents();
            return !log.empty();
        },
        2000));
    EXPECT_EQ(log, std::vector<std::string>{"stranded"});
    PumpUntil([&] { return Drained(queue); });
}

TEST(AsyncQueueDeathTest, The256thWaitingOperationStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            nettest::RouteOutputForDeathTest();
            std::vector<std::string> log;
            c_AsyncQueue* queue = gc_new<c_AsyncQueue>()->m_new(nullptr);
            for (int i = 0; i < 255; ++i) queue->p_Enqueue(gc_new<MarkOp>()->m_new(&log, "op"));
            std::fprintf(stderr, "accepted 255\n");
            queue->p_Enqueue(gc_new<MarkOp>()->m_new(&log, "op"));
        },
        testing::ExitedWithCode(255),
        "accepted 255\n(.|\n)*Tolvar Runtime Error : AsyncQueue queue overflow!");
}

TEST(SocketDeathTest, ProtocolNamesAreExact) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            nettest::RouteOutputForDeathTest();
            gc_new<c_Socket>()->m_new(String("Stream"));
        },
        testing::ExitedWithCode(255), "Tolvar Runtime Error : Illegal socket protocol");
}

TEST(SocketDeathTest, StartingASocketTwiceIsADoubleRegistration) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            nettest::RouteOutputForDeathTest();
            gc_new<c_Socket>()->m_new(String("datagram"))->p_Start();
        },
        testing::ExitedWithCode(255), "Tolvar Runtime Error : Async event source is already active");
}

TEST(SocketDeathTest, ASocketTheSystemRefusesStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            nettest::RouteOutputForDeathTest();
            // Use up every descriptor the process may have.
            rlimit limit{};
            getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur = 64;
            setrlimit(RLIMIT_NOFILE, &limit);
            while (dup(STDERR_FILENO) >= 0) {
            }
            gc_new<c_Socket>()->m_new(String("stream"));
        },
        testing::ExitedWithCode(255), "Tolvar Runtime Error : Socket open failed");
}

TEST(Socket, AcceptedConnectionWorksAsAConnectedSocket) {
    ZqSocket* server = gc_new<ZqSocket>();
    ASSERT_TRUE(server->Open(ZQ_SOCKET_SERVER));
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    ZqSocketAddress* address = gc_new<ZqSocketAddress>();
    server->GetLocalAddress(address);
    address->Validate();

    Listener* clientEvents = gc_new<Listener>();
    c_Socket* client = gc_new<c_Socket>()->m_new(String("stream"));
    client->p_ConnectAsync(address->host, address->port, clientEvents);
    ASSERT_TRUE(server->Accept());  // blocks until the worker has connected
    c_Socket* accepted = gc_new<c_Socket>()->m_new2(
        server->Accepted(), ZQ_SOCKET_STREAM, c_Socket::kOpen | c_Socket::kConnecting | c_Socket::kConnected);
    ASSERT_TRUE(PumpUntil([&] { return !clientEvents->events.empty(); }));
    EXPECT_EQ(clientEvents->events[0], "connect:1");

    Listener* serverEvents = gc_new<Listener>();
    c_DataBuffer* into = Buffer("......");
    accepted->p_ReceiveAsync(into, 0, 6, serverEvents);
    client->p_SendAsync(Buffer("over"), 0, 4, clientEvents);
    ASSERT_TRUE(PumpUntil([&] { return !serverEvents->events.empty() && clientEvents->events.size() == 2; }));
    EXPECT_EQ(serverEvents->events[0], "receive:4");
    EXPECT_EQ(clientEvents->events[1], "send:4:4");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(into->data), 4), "over");
    client->p_Close();
    accepted->p_Close();
    server->Close();
}

TEST(Socket, ProtocolNamesGiveTheirNumbers) {
    const char* names[] = {"stream", "server", "datagram"};
    for (int i = 0; i < 3; ++i) {
        c_Socket* socket = gc_new<c_Socket>()->m_new(String(names[i]));
        EXPECT_EQ(socket->protocol, i + 1);
        EXPECT_EQ(socket->socket->protocol, i + 1);
        EXPECT_EQ(socket->state, c_Socket::kOpen);
        socket->p_Close();
    }
}

// An event source that hands a queue's completions to the pump, so that
// completion handlers run inside zq_asyncevent_UpdateAsyncEvents.
class QueueSource : public Object, public virtual c_IAsyncEventSource {
  public:
    c_AsyncQueue* queue = nullptr;
    void p_UpdateAsyncEvents() override {
        if (queue != nullptr) queue->p_UpdateAsyncEvents();
    }
    void mark() override {
        Object::mark();
        gc_enqueue(queue);
    }
};

// Pumps again from inside its completion.
class ReentrantOp : public MarkOp {
  public:
    void p_Complete(c_Socket*) override {
        log->push_back(name + ":begin");
        zq_asyncevent_UpdateAsyncEvents();
        log->push_back(name + ":end");
    }
};

TEST(AsyncEvents, PumpFromInsideACompletionReturnsAtOnce) {
    std::vector<std::string> log;
    QueueSource* source = gc_new<QueueSource>();
    gc_assign(source->queue, gc_new<c_AsyncQueue>()->m_new(nullptr));
    zq_asyncevent_AddAsyncEventSource(source);
    source->queue->p_Enqueue(static_cast<MarkOp*>(gc_new<ReentrantOp>())->m_new(&log, "first"));
    source->queue->p_Enqueue(gc_new<MarkOp>()->m_new(&log, "second"));
    PumpUntil([&] { return Drained(source->queue); });
    zq_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"first:begin", "first:end", "second"}));
    EXPECT_EQ(zq_asyncevent__current, nullptr);
    source->queue = nullptr;
}

TEST(AsyncEvents, SourcesAreVisitedInRegistrationOrderIncludingNewOnes) {
    static std::vector<int> visits;
    class Numbered : public Object, public virtual c_IAsyncEventSource {
      public:
        int id = 0;
        bool spawn = false;
        void p_UpdateAsyncEvents() override {
            visits.push_back(id);
            if (spawn) {
                spawn = false;
                Numbered* added = gc_new<Numbered>();
                added->id = id + 1;
                zq_asyncevent_AddAsyncEventSource(added);
            }
        }
    };
    Numbered* first = gc_new<Numbered>();
    first->id = 100;
    first->spawn = true;
    zq_asyncevent_AddAsyncEventSource(first);
    visits.clear();
    zq_asyncevent_UpdateAsyncEvents();
    ASSERT_GE(visits.size(), 2u);
    EXPECT_EQ(visits[visits.size() - 2], 100);
    EXPECT_EQ(visits.back(), 101);
}

// Sockets made before module start-up (by tests and tools, or by a global
// initialiser) registered themselves then; start-up must not drop them.
TEST(AsyncEvents, SourcesRegisteredBeforeModuleStartUpStayRegistered) {
    static int visits = 0;
    class Counted : public Object, public virtual c_IAsyncEventSource {
      public:
        void p_UpdateAsyncEvents() override { ++visits; }
    };
    zq_asyncevent_AddAsyncEventSource(gc_new<Counted>());
    zq_run_module_inits();
    visits = 0;
    zq_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(visits, 1);
}

}  // namespace
