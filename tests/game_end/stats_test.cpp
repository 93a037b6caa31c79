// The statistics request against a local HTTP server: the request line and
// host, the completion's effects, an empty reply, and a completion for some
// other request, which changes nothing.
#include <gtest/gtest.h>

#include "net/async_event.h"
#include "runtime/lang/gc.h"
#include "tests/game_support/headless_game.h"
#include "tests/net/net_test_support.h"

using nettest::LoopbackServer;
using nettest::PumpUntil;
using nettest::Script;

namespace {

std::string Reply(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

std::string Utf8(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

}  // namespace

TEST(StatsPing, GetsCheckinWithTheGameNumberAndKeepsTheReply) {
    LoopbackServer server(Script{{Reply("welcome back")}});
    HeadlessHost host;
    c_MyApp* app = NewHeadlessGame(&host);
    EXPECT_TRUE(app->statsResponse == String("N/A"));
    EXPECT_EQ(app->statsRequest, nullptr);

    app->p_GetURL(String(server.Url("/checkin.php").c_str()), String("hello=1&gameID=") + String(GameNum));
    ASSERT_NE(app->statsRequest, nullptr);
    EXPECT_EQ(app->statsDone, 0);
    // The request lives through full collections while in flight: only the
    // game object's field holds it.
    gc_collect_all();
    ASSERT_TRUE(PumpUntil([&] { return app->statsDone == 1; }));
    gc_collect_all();

    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /checkin.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(Utf8(app->statsResponse), "welcome back");
    EXPECT_EQ(Stats_Able, 1);
    EXPECT_EQ(app->statsRequest->p_Status(), 200);
}

TEST(StatsPing, AnEmptyOrFailedReplyLeavesStatsAbleAt0) {
    LoopbackServer server(Script{{Reply("")}});
    HeadlessHost host;
    c_MyApp* app = NewHeadlessGame(&host);
    app->p_GetURL(String(server.Url("/checkin.php").c_str()), String("hello=1&gameID=415"));
    ASSERT_TRUE(PumpUntil([&] { return app->statsDone == 1; }));
    EXPECT_EQ(app->statsResponse.Length(), 0);
    EXPECT_EQ(Stats_Able, 0);

    app->p_GetURL(String("http://127.0.0.1:") + String(nettest::UnusedPort()) + String("/checkin.php"),
                  String("hello=1&gameID=415"));
    EXPECT_TRUE(app->statsResponse == String("N/A"));
    ASSERT_TRUE(PumpUntil([&] { return app->statsDone == 1; }));
    EXPECT_EQ(app->statsRequest->p_Status(), -1);
    EXPECT_EQ(Stats_Able, 0);
}

TEST(StatsPing, ACompletionForAnotherRequestChangesNothing) {
    LoopbackServer server(Script{{Reply("late")}});
    HeadlessHost host;
    c_MyApp* app = NewHeadlessGame(&host);
    app->p_GetURL(String(server.Url("/checkin.php").c_str()), String("hello=1&gameID=415"));
    c_HttpRequest* stranger =
        gc_new<c_HttpRequest>()->m_new2(String("GET"), String("http://a.invalid/"), app);
    stranger->responseText = String("not ours");
    app->p_OnHttpRequestComplete(stranger);
    app->p_OnHttpRequestComplete(nullptr);
    EXPECT_EQ(app->statsDone, 0);
    EXPECT_TRUE(app->statsResponse == String("N/A"));
    EXPECT_EQ(Stats_Able, 0);
    // Its own completion still arrives.
    ASSERT_TRUE(PumpUntil([&] { return app->statsDone == 1; }));
    EXPECT_EQ(Utf8(app->statsResponse), "late");
}
