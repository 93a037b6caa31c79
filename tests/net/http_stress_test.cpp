// Many requests one after another: every one completes exactly once, and
// afterwards the process holds no more descriptors or threads than before.
#include <gtest/gtest.h>

#include "net/http_request.h"
#include "net_test_support.h"

namespace {

TEST(HttpStress, ThousandSequentialRequestsCompleteOnceAndLeakNothing) {
    nettest::LoopbackServer server(nettest::Script{{"HTTP/1.0 200 OK\r\nX-N: 1\r\n\r\n", "payload"}});
    // Warm up once, so that lazily made process state (the registry, the
    // resolver) is in place before counting.
    nettest::Recorder* warm = gc_new<nettest::Recorder>();
    gc_new<c_HttpRequest>()->m_new2(String("GET"), String(server.Url("/").c_str()), warm)->p_Send();
    ASSERT_TRUE(nettest::PumpUntil([&] { return warm->calls == 1; }));
    const int threadsBefore = nettest::SettleThreads(0, 1000);
    const int descriptorsBefore = nettest::OpenDescriptors();

    const int kRequests = 1000;
    nettest::Recorder* recorder = gc_new<nettest::Recorder>();
    String url(server.Url("/stress?n=1").c_str());
    for (int i = 0; i < kRequests; ++i) {
        gc_new<c_HttpRequest>()->m_new2(String("GET"), url, recorder)->p_Send();
        ASSERT_TRUE(nettest::PumpUntil([&] { return recorder->calls == i + 1; })) << "request " << i;
        ASSERT_EQ(recorder->status, 200) << "request " << i;
        ASSERT_EQ(recorder->text, "payload") << "request " << i;
    }
    for (int i = 0; i < 50; ++i) zq_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(recorder->calls, kRequests);
    EXPECT_EQ(server.Connections(), kRequests + 1);

    EXPECT_LE(nettest::SettleThreads(threadsBefore), threadsBefore);
    EXPECT_LE(nettest::OpenDescriptors(), descriptorsBefore);
}

}  // namespace
