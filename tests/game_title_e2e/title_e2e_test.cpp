// The title screen as a player meets it: the real `skitterwind` program in
// a window on its own X server, started in a working folder that holds a
// prepared .tolvarstate, driven by real X key presses.
//
// What is checked from outside: the selected tile's colour (its frame tells
// which level the wheel rests on), the state file the options box writes,
// the full-screen window and its drawing, and a clean quit on Escape.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/game_menu/saved_state.h"
#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

namespace {

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t bar; (bar = s.find('|', at)) != std::string::npos; at = bar + 1)
        out.push_back(s.substr(at, bar - at));
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One press: held long enough for the updates to see it even on a busy
// machine (the title's press latches make one press one step), then left up
// long enough for an update to see it released (a release and the next
// press within one event poll would read as one long hold).
void PressKey(const std::string& key) {
    xdriver::Xdotool("keydown " + key);
    usleep(200000);
    xdriver::Xdotool("keyup " + key);
    usleep(600000);
}

// The game's window, once one other than `old` shows (0 after `seconds`).
unsigned long WaitForWindow(double seconds, unsigned long old = 0) {
    for (int i = 0; i < seconds * 10; ++i) {
        unsigned long w = xdriver::FindWindow("Skitterwind");
        if (w != 0 && w != old) return w;
        usleep(100000);
    }
    return 0;
}

struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool ok() const { return width > 0; }
    // Mean colour of a size x size patch centred on (x, y).
    void Mean(int x, int y, int size, float out[3]) const {
        out[0] = out[1] = out[2] = 0;
        int n = 0;
        for (int py = y - size / 2; py < y + size / 2; ++py)
            for (int px = x - size / 2; px < x + size / 2; ++px) {
                if (px < 0 || py < 0 || px >= width || py >= height) continue;
                for (int c = 0; c < 3; ++c) out[c] += rgb[3 * (py * width + px) + c];
                ++n;
            }
        for (int c = 0; c < 3 && n > 0; ++c) out[c] /= static_cast<float>(n);
    }
};

// A screenshot of one window (or the root); kept as `keepAs` in the
// folder named by $TITLE_E2E_SHOTS when that is set.
Shot Screenshot(unsigned long window, const std::string& keepAs) {
    std::string file = "/tmp/title_e2e_" + std::to_string(getpid()) + ".png";
    xdriver::Run("import -window " + std::to_string(window) + " " + file);
    Shot shot;
    int n = 0;
    if (unsigned char* pixels = stbi_load(file.c_str(), &shot.width, &shot.height, &n, 3)) {
        shot.rgb.assign(pixels, pixels + 3 * shot.width * shot.height);
        stbi_image_free(pixels);
    }
    if (const char* keep = getenv("TITLE_E2E_SHOTS")) xdriver::Run("cp " + file + " " + keep + "/" + keepAs);
    std::remove(file.c_str());
    return shot;
}

// The selected level's tile, resting at 48 degrees on the wheel: its frame
// is blue when open, green when completed, grey when locked, gold from 90 %.
std::string SelectedTileColour(const Shot& shot, float scale) {
    float c[3];
    shot.Mean(static_cast<int>((171.0f - 38.0f) * scale), static_cast<int>(296.0f * scale), 10, c);
    float hi = std::max({c[0], c[1], c[2]}), lo = std::min({c[0], c[1], c[2]});
    if (hi - lo < 30) return "grey";
    if (c[2] >= hi) return "blue";
    if (c[1] >= hi && c[1] > c[0] + 30) return "green";
    if (c[0] >= hi && c[2] < c[1] - 30) return "gold";
    return "other";
}

// Screenshots until the selected tile shows `expected` or `seconds` pass
// (the loader runs again after a window change, slowly in software at full
// screen); `seen` gets the last colour read.
Shot WaitForTile(unsigned long window, float scale, const std::string& expected, const std::string& keepAs,
                 std::string* seen, double seconds = 20) {
    Shot shot;
    for (int i = 0; i <= seconds * 4; ++i) {
        shot = Screenshot(window, keepAs);
        *seen = SelectedTileColour(shot, scale);
        if (*seen == expected) break;
        usleep(250000);
    }
    return shot;
}

// Holds a key down until the selected tile shows `expected` (or `seconds`
// pass), then releases it.
void HoldUntilTile(const std::string& key, unsigned long window, const std::string& expected,
                   const std::string& keepAs, std::string* seen, double seconds = 10) {
    xdriver::Xdotool("keydown " + key);
    WaitForTile(window, 1.0f, expected, keepAs, seen, seconds);
    xdriver::Xdotool("keyup " + key);
    usleep(600000);
}

// Distinct strongly coloured pixels, as 3-bit-per-channel buckets with
// enough pixels to count.
int DistinctColours(const Shot& shot) {
    int buckets[512] = {};
    for (int i = 0; i < shot.width * shot.height; ++i) {
        const unsigned char* p = &shot.rgb[3 * i];
        if (std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) < 80) continue;
        ++buckets[(p[0] >> 5) << 6 | (p[1] >> 5) << 3 | (p[2] >> 5)];
    }
    int colours = 0;
    for (int count : buckets) colours += count >= 20;
    return colours;
}

// Runs the test in a fresh working folder (the program's state file lives
// there) and removes it afterwards.
class WorkingFolder {
  public:
    WorkingFolder() {
        char pattern[] = "/tmp/skitterwind_e2e_XXXXXX";
        if (mkdtemp(pattern)) path_ = pattern;
        if (getcwd(old_, sizeof old_) == nullptr) old_[0] = '\0';
        if (!path_.empty() && chdir(path_.c_str()) != 0) path_.clear();
    }
    ~WorkingFolder() {
        if (old_[0] && chdir(old_) != 0) return;
        if (!path_.empty()) xdriver::Run("rm -rf " + path_);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    char old_[4096];
};

}  // namespace

TEST(TitleEndToEnd, WheelOptionsSavedStateAndFullScreen) {
    WorkingFolder folder;
    ASSERT_FALSE(folder.path().empty());
    // Level 1 at 95 % and level 2 at 70 % unlock levels 2 to 4; level 4 is
    // open but unplayed, level 5 is locked.
    {
        std::ofstream state(folder.path() + "/.tolvarstate", std::ios::binary);
        state << SavedStateWithBest({95, 70});
    }

    ProbeProcess game;
    ASSERT_TRUE(game.Started()) << "PROBE_APP names skitterwind";
    EXPECT_FALSE(game.WaitForPrefix("Settings Loaded", 20).empty());
    EXPECT_FALSE(game.WaitForPrefix("Highscores Loaded", 5).empty());
    unsigned long window = WaitForWindow(20);
    ASSERT_NE(window, 0u);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));

    std::string seen;
    WaitForTile(window, 1.0f, "blue", "title.png", &seen);  // the loader, then the title
    EXPECT_EQ(seen, "blue") << "the wheel rests on level 4, the highest unlocked";
    sleep(1);  // the title's slide-in is over
    // Keys are held until the tile shows the result, so a busy machine
    // (slow frames, late events) changes only how long that takes.
    HoldUntilTile("Down", window, "grey", "title_down.png", &seen);
    EXPECT_EQ(seen, "grey") << "level 5 is locked";
    // Held, the key repeats ever faster until the wheel stops at level 1.
    HoldUntilTile("Up", window, "gold", "title_up.png", &seen);
    EXPECT_EQ(seen, "gold") << "level 1: 95 %";

    // The gear column, select: the options box; the sound line; Escape.
    PressKey("Left");
    PressKey("Return");
    sleep(1);
    Screenshot(window, "options.png");
    PressKey("Down");
    PressKey("Return");
    PressKey("Escape");
    PressKey("Right");  // the wheel's column again: its tiles at full strength
    sleep(1);
    std::vector<std::string> fields = Split(ReadFile(folder.path() + "/.tolvarstate"));
    ASSERT_EQ(fields.size(), 35u + 105 * 21) << "the whole string was written";
    EXPECT_EQ(fields[5], "2") << "sound mode 1 became 2 (effects only)";
    int sum = 0;
    for (int i = 0; i < 25; ++i) sum += i * std::stoi(fields[i]);
    EXPECT_EQ(std::to_string(sum), fields[25]);
    EXPECT_EQ(fields[35], "95");
    EXPECT_EQ(fields[35 + 21], "70");

    // F11: full screen at the desktop's size, drawn with its images; F11
    // again: back in a 640 x 480 window.
    xdriver::Xdotool("key F11");
    sleep(2);
    std::string fullscreen = xdriver::Run("xdotool search --sync --onlyvisible --pid " +
                                          std::to_string(game.Pid()) + " | head -1");
    ASSERT_FALSE(fullscreen.empty());
    xdriver::Xdotool("windowfocus --sync " + fullscreen);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(xdriver::WindowGeometry(std::stoul(fullscreen), &x, &y, &w, &h));
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 1024);
    Shot big = WaitForTile(xdriver::RootWindowId(), 1024.0f / 480.0f, "gold", "fullscreen.png", &seen);
    EXPECT_EQ(seen, "gold") << "the same level, scaled up";
    EXPECT_GE(DistinctColours(big), 6) << "logo, tiles and gear drawn after the reload";

    xdriver::Xdotool("key F11");
    sleep(1);
    // Every window of the game carries its title, the full-screen one too:
    // wait for the new window, not the one being closed.
    window = WaitForWindow(10, std::stoul(fullscreen));
    ASSERT_NE(window, 0u);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    ASSERT_TRUE(xdriver::WindowGeometry(window, &x, &y, &w, &h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    Shot back = WaitForTile(window, 1.0f, "gold", "windowed.png", &seen);
    EXPECT_EQ(seen, "gold");
    EXPECT_GE(DistinctColours(back), 6);

    PressKey("Escape");
    EXPECT_EQ(game.WaitExit(15), 0) << "Escape on the title quits cleanly";
}
