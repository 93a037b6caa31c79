// The install: `cmake --install` into a fresh prefix puts the program, its
// data folder, the launcher in bin, the desktop entry and the 256-pixel icon
// in their places; the program started through the launcher finds its data
// (its title screen shows the coloured logo) and quits on F4.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(Install, PutsProgramDataLinkDesktopEntryAndIconInPlaceAndTheProgramRuns) {
    const fs::path prefix = fs::temp_directory_path() / ("skitterwind-install-" + std::to_string(getpid()));
    fs::remove_all(prefix);
    const std::string command = std::string(std::getenv("CMAKE_COMMAND")) + " --install " +
                                std::getenv("BUILD_DIR") + " --prefix " + prefix.string() + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const fs::path lib = prefix / "lib" / "skitterwind";
    EXPECT_TRUE(fs::is_regular_file(lib / "skitterwind"));
    EXPECT_TRUE(fs::is_regular_file(lib / "data" / "gfx.png"));
    EXPECT_TRUE(fs::is_regular_file(lib / "data" / "sfx" / "driftwood.ogg"));
    EXPECT_TRUE(fs::is_regular_file(lib / "data" / "fonts" / "shadow_pixel-hd.png"));
    EXPECT_FALSE(fs::exists(lib / "data" / "skitterwind-icon.png")) << "the icon goes to the icon theme only";
    // The launcher finds the program by a relative path: the prefix can move.
    const fs::path link = prefix / "bin" / "skitterwind";
    ASSERT_TRUE(fs::is_regular_file(link));
    EXPECT_NE(Read(link).find("\nprogram=\"$here/../lib/skitterwind/skitterwind\"\n"), std::string::npos);

    const std::string entry = Read(prefix / "share" / "applications" / "skitterwind.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=Skitterwind\n", "\nExec=skitterwind\n",
                             "\nIcon=skitterwind\n", "\nTerminal=false\n", "\nCategories=Game;ArcadeGame;\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;

    int w = 0, h = 0, n = 0;
    const fs::path icon = prefix / "share" / "icons" / "hicolor" / "256x256" / "apps" / "skitterwind.png";
    ASSERT_TRUE(stbi_info(icon.c_str(), &w, &h, &n)) << icon;
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 256);
    EXPECT_EQ(n, 4);

    // Started through the launcher from another folder, it finds its data.
    // HOME is the test's own, as the launcher makes the saved-state folder.
    const fs::path home = prefix / "home";
    fs::create_directories(home);
    const fs::path old = fs::current_path();
    fs::current_path(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    setenv("PROBE_APP", link.c_str(), 1);
    {
        ProbeProcess game;
        ASSERT_TRUE(game.Started());
        unsigned long window = 0;
        for (int i = 0; i < 200 && !(window = xdriver::FindWindow("Skitterwind")); ++i) usleep(100000);
        ASSERT_NE(window, 0u);
        xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
        // Past the loader (whose rings are coloured without any data).
        ASSERT_FALSE(game.WaitForPrefix("Highscores Loaded", 20).empty());
        sleep(2);
        int colours = 0;
        for (int i = 0; i < 20 && (colours = xdriver::DistinctColours(window)) < 6; ++i) usleep(250000);
        EXPECT_GE(colours, 6) << "the title's coloured logo and swarm";
        xdriver::Xdotool("key F4");
        EXPECT_EQ(game.WaitExit(15), 0);
    }
    fs::current_path(old);
    fs::remove_all(prefix);
}
