// The whole game as a player meets it, under Xvfb, from a fresh working
// folder: the loader, the title screen, level 1 chosen with the keyboard,
// the autopilot completing it through key events, the "Level Complete" or
// "Awesome Result" banner, the title again with the result on top of level
// 1's list, level 2 unlocked and selected, and the result saved in
// .tolvarstate; F4 quits with status 0. A second run starts from that state
// and shows the same list, and skitterwind itself starts from it and quits
// on F4 leaving it as it was.
//
// The game runs as skitterwind-piloted (the same game with an observer and
// the autopilot on board, see piloted_main.cpp); what the test sees of it
// are the observer's lines and the state file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

namespace {

namespace fs = std::filesystem;

// A working folder of its own, removed afterwards; the test runs inside it
// so that the programs it starts save there.
class FreshFolder {
  public:
    FreshFolder() {
        path_ = fs::temp_directory_path() / ("skitterwind-e2e-" + std::to_string(getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        old_ = fs::current_path();
        fs::current_path(path_);
    }
    ~FreshFolder() {
        fs::current_path(old_);
        fs::remove_all(path_);
    }
    std::string State() const {
        std::ifstream in(path_ / ".tolvarstate", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

  private:
    fs::path path_, old_;
};

std::vector<std::string> Fields(const std::string& state) {
    std::vector<std::string> out;
    std::string field;
    for (char c : state) {
        if (c == '|') {
            out.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    return out;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.rfind(prefix, 0) == 0;
}

// The focused game window, for keys typed through the X server.
unsigned long FocusGame() {
    for (int i = 0; i < 200; ++i) {
        if (unsigned long w = xdriver::FindWindow("Skitterwind")) {
            xdriver::Xdotool("windowfocus --sync " + std::to_string(w));
            return w;
        }
        usleep(100000);
    }
    return 0;
}

// A key held for a few updates: the game reads keys as held, so a press and
// release between two updates would go unseen.
void Press(const std::string& key) {
    xdriver::Xdotool("keydown " + key);
    usleep(150000);
    xdriver::Xdotool("keyup " + key);
}

std::string Title(ProbeProcess& game, const std::string& selected, double seconds) {
    // Any selection when `selected` is empty; the first frames after the
    // loader draw no panel yet.
    const std::string prefix = "e2e: title selected " + (selected.empty() ? "" : selected + " ");
    return game.WaitFor(
        [&](const std::string& l) { return StartsWith(l, prefix) && l.find("Top") != std::string::npos; },
        seconds);
}

// The title's panel text of a title line.
std::string Panel(const std::string& titleLine) {
    size_t at = titleLine.find(" panel ");
    return at == std::string::npos ? std::string() : titleLine.substr(at + 7);
}

}  // namespace

TEST(WholeGame, LevelOneFromTheTitleToItsResultSavedAndShownAgain) {
#ifdef WHOLE_GAME_MISSING
    GTEST_SKIP() << "missing: " WHOLE_GAME_MISSING;
#endif
    FreshFolder folder;
    const auto started = std::chrono::steady_clock::now();
    int result = 0;
    std::vector<int> results;  // of every attempt, oldest first
    std::string levelOnePanel;
    {
        ProbeProcess game;
        ASSERT_TRUE(game.Started()) << "PROBE_APP names skitterwind-piloted";
        ASSERT_FALSE(game.WaitForPrefix("e2e: screen 0", 20).empty()) << "the loader first";
        ASSERT_FALSE(Title(game, "0", 30).empty()) << "then the title with level 1 selected";
        ASSERT_NE(FocusGame(), 0u);
        // A player who fails tries again: at most three attempts.
        int reason = -99;
        for (int attempt = 0; attempt < 3 && reason != 3 && reason != 4; ++attempt) {
            if (attempt > 0) {
                ASSERT_FALSE(Title(game, "0", 20).empty()) << "back on level 1 after a failure";
            }
            Press("Return");
            ASSERT_FALSE(game.WaitForPrefix("e2e: screen 10", 10).empty()) << "level 1 starts";
            const std::string ending = game.WaitForPrefix("e2e: ending", 150);
            ASSERT_FALSE(ending.empty()) << "the level ends";
            ASSERT_EQ(std::sscanf(ending.c_str(), "e2e: ending reason %d result %d", &reason, &result), 2);
            results.push_back(result);
            const std::string banner = game.WaitForPrefix("e2e: banner", 10);
            const char* words = reason == 4 ? "AwesomeResult" : reason == 3 ? "LevelComplete" : "";
            EXPECT_NE(banner.find(words), std::string::npos) << banner;
        }
        ASSERT_TRUE(reason == 3 || reason == 4) << "three attempts failed";
        EXPECT_GE(result, 25);

        // Back on the title: the wheel on level 2, which the result unlocked.
        const std::string title = Title(game, "1", 20);
        ASSERT_FALSE(title.empty());
        EXPECT_NE(title.find("unlocked 1"), std::string::npos) << title;
        // Level 1's list, one step up the wheel, has the result on top.
        Press("Up");
        const std::string levelOne = Title(game, "0", 10);
        levelOnePanel = Panel(levelOne);
        EXPECT_NE(levelOnePanel.find("Top10" + std::to_string(result)), std::string::npos) << levelOne << "\n"
                                                                                           << title;

        xdriver::Xdotool("key F4");
        EXPECT_EQ(game.WaitExit(15), 0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("whole game: level 1 played to %d %% and back to the title in %.1f s\n", result, seconds);

    // The saved string: 25 settings and their sum, 8 badge words and their
    // sum, 105 level groups of ten best and ten last results, interleaved,
    // and their checksum; level 1's lists hold the attempts.
    const std::string state = folder.State();
    std::vector<std::string> fields = Fields(state);
    ASSERT_EQ(fields.size(), 35u + 105u * 21u) << state.substr(0, 200);
    std::vector<int> best = results, last(results.rbegin(), results.rend());
    std::stable_sort(best.begin(), best.end(), std::greater<int>());
    best.resize(10, 0);
    last.resize(10, 0);
    int checksum = 0;
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(fields[35 + 2 * k], std::to_string(best[k])) << "level 1 best " << k;
        EXPECT_EQ(fields[36 + 2 * k], std::to_string(last[k])) << "level 1 last " << k;
        checksum += (k + 4) * best[k] + (k + 3) * last[k];
    }
    EXPECT_EQ(best[0], result);
    EXPECT_EQ(fields[55], std::to_string(checksum));

    // A second run starts from that state and shows the same list.
    {
        ProbeProcess game;
        ASSERT_TRUE(game.Started());
        std::string title = Title(game, "", 40);
        ASSERT_FALSE(title.empty());
        ASSERT_NE(FocusGame(), 0u);
        int selected = std::atoi(title.c_str() + std::string("e2e: title selected ").size());
        EXPECT_GE(selected, 1) << "the wheel starts at the highest unlocked level";
        for (int i = 0; i < selected; ++i) {
            Press("Up");
            usleep(200000);
        }
        const std::string levelOne = Title(game, "0", 10);
        EXPECT_EQ(Panel(levelOne), levelOnePanel);
        xdriver::Xdotool("key F4");
        EXPECT_EQ(game.WaitExit(15), 0);
    }
    EXPECT_EQ(folder.State(), state) << "nothing was saved without a change";

    // skitterwind itself starts from the same folder and quits on F4.
    setenv("PROBE_APP", std::getenv("SKITTERWIND_APP"), 1);
    {
        ProbeProcess game;
        ASSERT_TRUE(game.Started());
        ASSERT_FALSE(game.WaitForPrefix("Highscores Loaded", 20).empty());
        ASSERT_NE(FocusGame(), 0u);
        sleep(2);
        xdriver::Xdotool("key F4");
        EXPECT_EQ(game.WaitExit(15), 0);
    }
    EXPECT_EQ(folder.State(), state);
}
