// The statistics switch at creation, in the real host: off, nothing is
// sent; on, one check-in reaches a local server. Kept apart from the other
// host tests because its server is written against BSD sockets.
#include <gtest/gtest.h>

#include <memory>

#include "tests/game_support/game_harness.h"
#include "tests/net/net_test_support.h"

namespace {

GameHarness* Loaded() {
    GameHarness* game = new GameHarness();
    EXPECT_TRUE(game->FinishLoading());
    return game;
}

}  // namespace

// The switch at creation. The request goes to Stats_Endpoint, which the
// test points at a local server, so no name resolver is ever asked.
TEST(StatsPing, TheSwitchAt0SendsNothingAndAt1SendsTheCheckin) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    EXPECT_TRUE(Stats_Endpoint == String("http://stats.skitterwind.invalid/checkin.php"))
        << "the program's endpoint is a host that never resolves";
    game->Step(30);
    EXPECT_EQ(app->statsRequest, nullptr);
    EXPECT_TRUE(app->statsResponse == String("N/A"));
    EXPECT_EQ(Stats_Able, 0);

    nettest::LoopbackServer server(nettest::Script{{"HTTP/1.0 200 OK\r\n\r\nhello"}});
    Stats_Endpoint = String(server.Url("/checkin.php").c_str());
    Stats_Allow = 1;
    app->p_OnCreate();
    Stats_Allow = 0;
    ASSERT_NE(app->statsRequest, nullptr);
    ASSERT_TRUE(game->StepUntil([&] { return app->statsDone == 1; }, 600));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /checkin.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(app->statsRequest->p_Status(), 200);
    EXPECT_EQ(Stats_Able, 1);
}
