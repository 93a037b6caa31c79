// The command line of the real program: --help, --version and every usage
// error are answered before any window opens (the program runs without a
// display, where opening one would fail with "glfwInit failed" and status
// 255); --fullscreen starts the game in full screen at the desktop's size.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/host/x11_driver.h"
#include "tests/package/program_run.h"

namespace {

std::string Program() {
    const char* program = std::getenv("SKITTERWIND_APP");
    return program ? program : "";
}

struct Answer {
    int status;
    std::string out, err;
};

// The program with `args`, without a display.
Answer Headless(std::vector<std::string> args) {
    args.insert(args.begin(), Program());
    ProgramRun run(args, {"DISPLAY"});
    int status = run.WaitExit(20);
    return {status, run.Out(), run.Err()};
}

void ExpectUsageError(const std::vector<std::string>& args, const std::string& reason) {
    Answer a = Headless(args);
    EXPECT_EQ(a.status, 2) << args[0];
    EXPECT_EQ(a.out, "") << "no window, no start-up lines";
    EXPECT_EQ(a.err.find('\n'), a.err.size() - 1) << "one line: " << a.err;
    EXPECT_EQ(a.err.rfind("skitterwind: " + reason + "; usage: skitterwind [--help]", 0), 0u) << a.err;
}

}  // namespace

TEST(CommandLine, HelpAndVersionAnswerWithoutAWindow) {
    ASSERT_FALSE(Program().empty()) << "SKITTERWIND_APP names the program";
    Answer help = Headless({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: skitterwind [--help] [--version] [--fullscreen | --windowed]", 0), 0u)
        << help.out;
    EXPECT_NE(help.out.find("\n  --replay FILE "), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    Answer version = Headless({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("skitterwind ") + TOLVAR_TEST_VERSION + "\n");
}

TEST(CommandLine, UsageErrorsExitWithTwoWithoutAWindow) {
    ExpectUsageError({"--bogus"}, "unknown option '--bogus'");
    ExpectUsageError({"--fullscreen", "--record"}, "missing FILE after '--record'");
    ExpectUsageError({"--windowed", "--fullscreen"}, "conflicting option '--fullscreen'");
}

TEST(CommandLine, FullscreenStartsTheGameInFullScreen) {
    ProgramRun game({Program(), "--fullscreen"});
    ASSERT_GT(game.Pid(), 0);
    // Printed by the game's creation, after the switch: the window found
    // from here on is the full-screen one, not the first 640 x 480 one.
    ASSERT_TRUE(game.WaitForOutput("Highscores Loaded", 20)) << game.Out() << game.Err();
    const std::string window = game.WaitForWindow(20);
    ASSERT_FALSE(window.empty()) << game.Out();
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(xdriver::WindowGeometry(std::stoul(window), &x, &y, &w, &h));
    EXPECT_EQ(w, 1280) << "the private display's size";
    EXPECT_EQ(h, 1024);
    xdriver::Xdotool("windowfocus --sync " + window);
    sleep(1);
    xdriver::Xdotool("key F4");
    EXPECT_EQ(game.WaitExit(15), 0) << game.Out() << game.Err();
}
