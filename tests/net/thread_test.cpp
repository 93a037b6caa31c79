// ZqThread: start, finish, result publication, the collector's view of a
// running thread, Strdup and the data buffer's asynchronous load.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "net/databuffer_async.h"
#include "net/zq_thread.h"
#include "net_test_support.h"
#include "runtime/lang/game.h"

namespace {

bool WaitFinished(ZqThread* thread) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (thread->IsRunning() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !thread->IsRunning();
}

// Fills a plain array, then publishes an object: the main thread must see
// every element once it sees the result.
class Filler : public c_Thread {
  public:
    Object* payload = nullptr;
    int values[4096] = {};
    std::atomic<bool>* release = nullptr;

    void Run__UNSAFE__() override {
        while (release != nullptr && !release->load()) std::this_thread::yield();
        for (int i = 0; i < 4096; ++i) values[i] = i + 1;
        SetResult(payload);
    }
    void mark() override {
        c_Thread::mark();
        gc_enqueue(payload);
    }
};

TEST(Thread, RunsOnceAndPublishesItsResult) {
    std::atomic<bool> go{false};
    Filler* thread = gc_new<Filler>();
    thread->m_new();
    thread->payload = gc_new<Object>();
    thread->release = &go;
    EXPECT_EQ(thread->running.load(), 0);
    thread->Start();
    EXPECT_TRUE(thread->IsRunning());
    thread->Start();  // no effect while running
    go = true;
    ASSERT_TRUE(WaitFinished(thread));
    EXPECT_EQ(thread->running.load(), 2);
    EXPECT_EQ(thread->Result(), thread->payload);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(thread->values[i], i + 1);

    // A restart clears the result before the body runs again.
    go = false;
    thread->Start();
    EXPECT_EQ(thread->Result(), nullptr);
    go = true;
    ASSERT_TRUE(WaitFinished(thread));
    EXPECT_EQ(thread->Result(), thread->payload);
}

TEST(Thread, ARunningThreadSurvivesAFullCollection) {
    nettest::StartCollector();
    std::atomic<bool> go{false};
    Filler* thread = gc_new<Filler>();
    thread->release = &go;
    thread->Start();  // the only reference is this local
    gc_collect_all();
    gc_collect_all();
    gc_destroy_garbage();
    EXPECT_TRUE(thread->rooted);
    go = true;
    ASSERT_TRUE(WaitFinished(thread));
    EXPECT_EQ(thread->values[4095], 4096);
    // Once seen finished it is an ordinary object again.
    gc_collect_all();
    EXPECT_FALSE(thread->rooted);
}

TEST(Thread, StrdupGivesAnUnsharedCopy) {
    String text("tolvar.example");
    String copy = ZqThread::Strdup(text);
    EXPECT_EQ(copy, text);
    EXPECT_FALSE(copy.SameRep(text));
    EXPECT_TRUE(ZqThread::Strdup(String()).IsEmpty());
}

class FileLoader : public c_Thread {
  public:
    String path;  // the worker's own copy
    ZqDataBuffer* buffer = nullptr;
    bool loaded = false;
    void Run__UNSAFE__() override { loaded = zq_databuffer_LoadAsync(buffer, path, this); }
    void mark() override {
        c_Thread::mark();
        gc_enqueue(buffer);
    }
};

TEST(Thread, DataBufferLoadsOnAWorkerAndIsHandedBack) {
    static ZqGame host;
    ZqGame::_game = &host;
    std::string file = testing::TempDir() + "net_async_load.bin";
    std::ofstream(file, std::ios::binary) << std::string("\x01\x02zq\xff", 5);

    FileLoader* loader = gc_new<FileLoader>();
    loader->path = ZqThread::Strdup(String(file.c_str()));
    gc_assign(loader->buffer, static_cast<ZqDataBuffer*>(gc_new<c_DataBuffer>()));
    loader->Start();
    ASSERT_TRUE(WaitFinished(loader));
    EXPECT_TRUE(loader->loaded);
    EXPECT_EQ(loader->Result(), loader->buffer);
    ASSERT_EQ(loader->buffer->length, 5);
    EXPECT_EQ(loader->buffer->data[2], 'z');
    EXPECT_EQ(loader->buffer->data[4], 0xff);

    // A buffer that already holds data, or a missing file: false, no result.
    loader->Start();
    ASSERT_TRUE(WaitFinished(loader));
    EXPECT_FALSE(loader->loaded);
    EXPECT_EQ(loader->Result(), nullptr);
    FileLoader* missing = gc_new<FileLoader>();
    missing->path = ZqThread::Strdup(String((file + ".none").c_str()));
    gc_assign(missing->buffer, static_cast<ZqDataBuffer*>(gc_new<c_DataBuffer>()));
    missing->Start();
    ASSERT_TRUE(WaitFinished(missing));
    EXPECT_FALSE(missing->loaded);
    EXPECT_EQ(missing->buffer->data, nullptr);
    std::remove(file.c_str());
}

#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
TEST(ThreadDeathTest, AThreadThatCannotStartEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            nettest::RouteOutputForDeathTest();
            // No address space left for a thread stack.
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            std::ifstream status("/proc/self/statm");
            long pages = 0;
            status >> pages;
            limit.rlim_cur = static_cast<rlim_t>(pages) * 4096 + (1 << 20);
            setrlimit(RLIMIT_AS, &limit);
            gc_new<c_Thread>()->Start();
            std::fprintf(stderr, "started\n");
        },
        testing::ExitedWithCode(255), "CreateThread failed!\n$");
}
#endif

}  // namespace
