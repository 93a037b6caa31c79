// skitterwind-replay as a maintainer meets it: the exit status and the one
// line it gives for every kind of file it cannot replay, the first
// checkpoint that differs, a recording cut off by a killed session, and the
// saved state it writes out.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/host/replay_format.h"

namespace {

using zqreplay::Encoder;
using Kind = zqreplay::Record::Kind;

// The game's data version (game/replay_state.cpp).
constexpr uint32_t kGameDataVersion = 1;

struct Result {
    int status = -1;
    std::string out;
    std::vector<std::string> errLines;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Result RunTool(const std::string& args) {
    const char* tool = std::getenv("REPLAY_TOOL");
    std::string command = std::string(tool ? tool : "skitterwind-replay") + " " + args + " 2>tool.err";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream err(Slurp("tool.err"));
    for (std::string line; std::getline(err, line);) r.errLines.push_back(line);
    return r;
}

// A made-up session under the game's data version: the start, `updates`
// ordinary updates, then `tail` as raw bytes.
std::string Session(int updates, uint32_t dataVersion = kGameDataVersion) {
    Encoder e;
    zqreplay::Header h;
    h.program = "skitterwind";
    h.gameVersion = "test";
    h.dataVersion = dataVersion;
    e.AppendHeader(h);
    e.AppendDeviceSize(640, 480);
    e.AppendStep(Kind::Start, {1000});
    int32_t clock = 1000;
    for (int i = 0; i < updates; ++i) e.AppendStep(Kind::Update, {clock += 17});
    return e.TakeBytes();
}

// Exit status 2 and, as the last line on standard error, the file and its problem.
void ExpectRefused(const std::string& file, const std::string& problem) {
    Result r = RunTool(file);
    EXPECT_EQ(r.status, 2) << file;
    ASSERT_FALSE(r.errLines.empty()) << file;
    EXPECT_EQ(r.errLines.back(), "skitterwind-replay: " + file + ": " + problem);
    EXPECT_EQ(r.out.find("hash"), std::string::npos) << "no result for a file that was not replayed";
}

TEST(ReplayTool, FilesThatCannotBeReplayedGetOneLineAndExitTwo) {
    ExpectRefused("no-such.rec", "cannot open the recording");

    Write("text.rec", "level 1 result 100 ending complete\n");
    ExpectRefused("text.rec", "not a recording");

    std::string newer = Session(10);
    newer[8] = 9;
    Write("newer.rec", newer);
    ExpectRefused("newer.rec", "format version 9 (this program reads 1)");

    std::string damaged = Session(10);
    damaged[12] ^= 0x20;  // inside the program's name
    Write("damaged.rec", damaged);
    ExpectRefused("damaged.rec", "damaged header (checksum)");

    Write("header-cut.rec", Session(0).substr(0, 20));
    ExpectRefused("header-cut.rec", "damaged header (cut short)");

    Write("other-data.rec", Session(10, 999));
    ExpectRefused("other-data.rec",
                  "level data version 999 (this game has 1; the recording is from skitterwind test)");

    // Cut in the middle of a key event after 100 updates: replayed so far,
    // then refused.
    Write("cut.rec", Session(100) + "\x80");
    ExpectRefused("cut.rec", "truncated in the middle of a record after update 100");

    Write("garbage.rec", Session(30) + "\xee\x01\x02");
    ExpectRefused("garbage.rec", "damaged record after update 30");
}

TEST(ReplayTool, TheFirstCheckpointThatDiffersEndsTheReplayWithItsUpdate) {
    Encoder e;
    e.AppendCheckpoint(60, 0x1234);  // no game state hashes to this
    Write("differs.rec", Session(60) + e.TakeBytes());
    Result r = RunTool("differs.rec");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("checkpoint differs at update 60\n"), std::string::npos) << r.out;
}

TEST(ReplayTool, AKilledSessionReplaysUpToItsLastRecord) {
    // No end record: the session was killed after 90 updates.
    Write("killed.rec", Session(90));
    Result r = RunTool("killed.rec");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(" checkpoints 0/0\n"), std::string::npos) << r.out;
}

TEST(ReplayTool, StateOutIsTheSavedStateTheReplayedSessionLeft) {
    const std::string corpus = REPLAY_CORPUS;
    Result r = RunTool(corpus + "/level1-complete.rec --state-out complete.state");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Slurp(corpus + "/level1-complete.txt"));
    std::string state = Slurp("complete.state");
    // Level 1's best result (100) is the first score field after the 35
    // settings and badge fields.
    std::vector<std::string> fields;
    std::stringstream s(state);
    for (std::string f; std::getline(s, f, '|');) fields.push_back(f);
    ASSERT_GT(fields.size(), 35u) << state;
    EXPECT_EQ(fields[35], "100");

    // A session that never saved leaves the state it started from.
    Write("nosave.rec", Session(5));
    ASSERT_EQ(RunTool("nosave.rec --state-out nosave.state").status, 0);
    EXPECT_EQ(Slurp("nosave.state"), "");

    Result usage = RunTool("");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.errLines.back(), "usage: skitterwind-replay FILE [--state-out PATH]");
}

}  // namespace
