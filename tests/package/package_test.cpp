// The Debian package, built by CPack from the current build into a folder
// of the test's own: lintian finds no error in it, it holds the expected
// files and fields, its icons are sharp at every size, and the launcher of
// an extracted copy keeps the saved state in the XDG data folder whatever
// the working folder, or says in one line why it cannot.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/x11_driver.h"
#include "tests/package/program_run.h"

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// `command` through the shell; its standard output (errors go to the test's
// output), and its exit status in *status.
std::string Shell(const std::string& command, int* status) {
    std::string out = xdriver::Run(command + "; echo \"#status=$?\"");
    size_t mark = out.rfind("#status=");
    *status = mark == std::string::npos ? -1 : std::atoi(out.c_str() + mark + 8);
    return mark == std::string::npos ? out : out.substr(0, mark);
}

// One package and one extracted copy for every test of this program.
class Package : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        work_ = fs::temp_directory_path() / ("skitterwind-package-" + std::to_string(getpid()));
        fs::remove_all(work_);
        fs::create_directories(work_ / "root");
        int status = 0;
        std::string log = Shell(Env("CPACK_COMMAND") + " -G DEB -B " + work_.string() + " --config " +
                                    Env("BUILD_DIR") + "/CPackConfig.cmake 2>&1",
                                &status);
        ASSERT_EQ(status, 0) << log;
        deb_ = work_ / ("skitterwind_" + Env("PACKAGE_VERSION") + "_amd64.deb");
        ASSERT_TRUE(fs::is_regular_file(deb_)) << log;
        Shell("dpkg-deb -x " + deb_.string() + " " + (work_ / "root").string(), &status);
        ASSERT_EQ(status, 0);
    }
    static void TearDownTestSuite() { fs::remove_all(work_); }

    static fs::path work_, deb_;
};
fs::path Package::work_, Package::deb_;

TEST_F(Package, LintianFindsNoError) {
    ASSERT_FALSE(deb_.empty());
    int status = 0;
    std::string report = Shell("lintian --no-tag-display-limit " + deb_.string() + " 2>/dev/null", &status);
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_NE(line.rfind("E:", 0), 0u) << line;
        if (!line.empty()) std::printf("lintian: %s\n", line.c_str());
    }
    EXPECT_EQ(status, 0) << report;
}

TEST_F(Package, HoldsTheProgramItsDataAndTheDesktopFilesUnderUsr) {
    int status = 0;
    std::string listing = Shell("dpkg -c " + deb_.string() + " | awk '{print $6}'", &status);
    ASSERT_EQ(status, 0);
    const std::string id = Env("APP_ID");
    for (const std::string& path : std::vector<std::string>{
             "./usr/bin/skitterwind", "./usr/lib/skitterwind/skitterwind",
             "./usr/lib/skitterwind/data/gfx.png", "./usr/lib/skitterwind/data/vexo_font.png",
             "./usr/lib/skitterwind/data/fonts/shadow_pixel-hd2.png",
             "./usr/lib/skitterwind/data/sfx/driftwood.ogg", "./usr/share/applications/skitterwind.desktop",
             "./usr/share/metainfo/" + id + ".metainfo.xml",
             "./usr/share/icons/hicolor/48x48/apps/skitterwind.png",
             "./usr/share/icons/hicolor/64x64/apps/skitterwind.png",
             "./usr/share/icons/hicolor/128x128/apps/skitterwind.png",
             "./usr/share/icons/hicolor/256x256/apps/skitterwind.png",
             "./usr/share/man/man6/skitterwind.6.gz", "./usr/share/doc/skitterwind/copyright",
             "./usr/share/doc/skitterwind/changelog.gz"})
        EXPECT_NE(listing.find(path + "\n"), std::string::npos) << path;
    std::istringstream lines(listing);
    int files = 0;
    for (std::string line; std::getline(lines, line); ++files) {
        EXPECT_TRUE(line.rfind("./usr/", 0) == 0 || line == "./") << "outside /usr: " << line;
        EXPECT_EQ(line.find("skitterwind-icon"), std::string::npos) << "icons go to the theme only: " << line;
        const bool inBin = line.rfind("./usr/bin/", 0) == 0 && line != "./usr/bin/";
        EXPECT_TRUE(!inBin || line == "./usr/bin/skitterwind") << "only the launcher on PATH: " << line;
    }
    EXPECT_GT(files, 90);
}

TEST_F(Package, FieldsChangelogAndManualPageAgreeWithTheBuild) {
    int status = 0;
    auto field = [&](const std::string& name) {
        std::string v = Shell("dpkg-deb -f " + deb_.string() + " " + name, &status);
        return v.substr(0, v.find_last_not_of('\n') + 1);
    };
    EXPECT_EQ(field("Package"), "skitterwind");
    EXPECT_EQ(field("Version"), Env("PACKAGE_VERSION"));
    EXPECT_EQ(field("Architecture"), "amd64");
    // Computed by dpkg-shlibdeps from the program's libraries.
    const std::string depends = field("Depends");
    for (const char* lib : {"libc6 ", "libglfw3 ", "libopenal1 ", "libstb0 "})
        EXPECT_NE(depends.find(lib), std::string::npos) << lib << " in " << depends;
    EXPECT_GT(std::atoi(field("Installed-Size").c_str()), 1000);
    EXPECT_NE(field("Description").find('\n'), std::string::npos) << "a short and a long description";

    const fs::path doc = work_ / "root" / "usr" / "share" / "doc" / "skitterwind";
    std::string top = Shell("zcat " + (doc / "changelog.gz").string() + " | head -1", &status);
    EXPECT_EQ(top.rfind("skitterwind (" + Env("PACKAGE_VERSION") + ") ", 0), 0u) << "newest entry: " << top;
    EXPECT_NE(ReadFile(doc / "copyright").find("\nLicense: Expat\n"), std::string::npos);

    // The manual page formats without a warning and names every option.
    const fs::path man = work_ / "root" / "usr" / "share" / "man" / "man6" / "skitterwind.6.gz";
    std::string text =
        Shell("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " + man.string() + " 2>&1", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text.find("warning"), std::string::npos) << text;
    for (const char* option :
         {"--help", "--version", "--fullscreen", "--windowed", "--stats", "--record", "--replay"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
    for (const char* section : {"SYNOPSIS", "OPTIONS", "CONTROLS", "FILES", "ENVIRONMENT", "EXIT STATUS"})
        EXPECT_NE(text.find(section), std::string::npos) << section;
}

// Every icon has its size, transparent corners, and tile edges that fall on
// pixel boundaries: along the middle row and column the first pixel that is
// not transparent is opaque.
TEST_F(Package, IconsHaveTheirSizesAndSharpEdges) {
    for (int size : {48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path file =
            work_ / "root" / "usr" / "share" / "icons" / "hicolor" / name / "apps" / "skitterwind.png";
        int w = 0, h = 0, n = 0;
        unsigned char* rgba = stbi_load(file.c_str(), &w, &h, &n, 4);
        ASSERT_NE(rgba, nullptr) << file;
        EXPECT_EQ(w, size);
        EXPECT_EQ(h, size);
        auto alpha = [&](int x, int y) { return rgba[(y * w + x) * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0) << name;
        EXPECT_EQ(alpha(size / 2, size / 2), 255) << name;
        int x = 0, y = 0;
        while (x < w && alpha(x, h / 2) == 0) ++x;
        while (y < h && alpha(w / 2, y) == 0) ++y;
        ASSERT_LT(x, w);
        ASSERT_LT(y, h);
        EXPECT_EQ(alpha(x, h / 2), 255) << name << ": soft left edge at " << x;
        EXPECT_EQ(alpha(w / 2, y), 255) << name << ": soft top edge at " << y;
        stbi_image_free(rgba);
    }
}

// Without a usable data folder the game starts in the working folder, and
// one line on standard error says so; arguments and the exit status pass
// through (--version needs no window).
TEST_F(Package, LauncherFallsBackToTheWorkingFolderWithOneLine) {
    const std::string launcher = (work_ / "root" / "usr" / "bin" / "skitterwind").string();
    const fs::path here = work_ / "fallback";
    fs::create_directories(here);
    std::ofstream(work_ / "not-a-folder") << "x";

    ProgramRun blocked({launcher, "--version"},
                       {"XDG_DATA_HOME=" + (work_ / "not-a-folder").string(), "DISPLAY"}, here.string());
    EXPECT_EQ(blocked.WaitExit(), 0);
    EXPECT_EQ(blocked.Out(), "skitterwind " + Env("PACKAGE_VERSION") + "\n");
    EXPECT_EQ(blocked.Err(), "skitterwind: cannot use " + (work_ / "not-a-folder").string() +
                                 "/skitterwind; saved state stays in " + here.string() + "\n");

    ProgramRun homeless({launcher, "--version"}, {"XDG_DATA_HOME", "HOME", "DISPLAY"}, here.string());
    EXPECT_EQ(homeless.WaitExit(), 0);
    EXPECT_EQ(homeless.Err(), "skitterwind: neither XDG_DATA_HOME nor HOME is set; saved state stays in " +
                                  here.string() + "\n");

    ProgramRun bad({launcher, "--bogus"},
                   {"HOME=" + (work_ / "home-bad").string(), "XDG_DATA_HOME", "DISPLAY"}, here.string());
    EXPECT_EQ(bad.WaitExit(), 2) << "the usage error's status passes through";
}

// XDG_DATA_HOME, when absolute, is where the folder goes; a relative one is
// ignored for the default under HOME. Missing folders are made with 0700.
TEST_F(Package, LauncherMakesThePrivateFolderUnderXdgDataHomeOrHome) {
    const std::string launcher = (work_ / "root" / "usr" / "bin" / "skitterwind").string();
    const fs::path xdg = work_ / "xdg" / "data";
    ProgramRun withXdg({launcher, "--version"}, {"XDG_DATA_HOME=" + xdg.string(), "DISPLAY"}, "/");
    EXPECT_EQ(withXdg.WaitExit(), 0);
    EXPECT_EQ(withXdg.Err(), "");
    struct stat st {};
    ASSERT_EQ(stat((xdg / "skitterwind").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const fs::path home = work_ / "home-relative";
    ProgramRun relative({launcher, "--version"},
                        {"XDG_DATA_HOME=relative/data", "HOME=" + home.string(), "DISPLAY"}, "/");
    EXPECT_EQ(relative.WaitExit(), 0);
    EXPECT_TRUE(fs::is_directory(home / ".local" / "share" / "skitterwind"));
    EXPECT_FALSE(fs::exists("/relative"));
}

// The real game through the extracted launcher, started from an unrelated
// folder with HOME in the test's folder: it runs in
// ~/.local/share/skitterwind/ (mode 0700) and saves its state there when it
// loses the focus; nothing lands in the starting folder.
TEST_F(Package, LauncherRunsTheGameWithItsSavedStateInTheXdgDataFolder) {
    const fs::path home = work_ / "home", elsewhere = work_ / "elsewhere";
    fs::create_directories(home);
    fs::create_directories(elsewhere);
    const fs::path state = home / ".local" / "share" / "skitterwind";

    ProgramRun game({(work_ / "root" / "usr" / "bin" / "skitterwind").string()},
                    {"HOME=" + home.string(), "XDG_DATA_HOME", "RESOURCE_NAME"}, elsewhere.string());
    const std::string window = game.WaitForWindow(20);
    ASSERT_FALSE(window.empty()) << game.Err();
    xdriver::Xdotool("windowfocus --sync " + window);
    ASSERT_TRUE(game.WaitForOutput("Highscores Loaded", 30)) << "found its data";

    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(game.Pid()) + "/cwd"), state);
    struct stat st {};
    ASSERT_EQ(stat(state.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    const std::string wmClass = xdriver::Run("xprop -id " + window + " WM_CLASS");
    EXPECT_EQ(wmClass.rfind("WM_CLASS(STRING) = \"skitterwind\",", 0), 0u)
        << "the desktop entry's name as the window's instance: " << wmClass;

    // Losing the focus suspends the game, which saves.
    sleep(1);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::RootWindowId()));
    for (int i = 0; i < 100 && !fs::exists(state / ".tolvarstate"); ++i) usleep(100000);
    std::error_code missing;
    const std::uintmax_t size = fs::file_size(state / ".tolvarstate", missing);
    EXPECT_FALSE(missing) << "no .tolvarstate in " << state;
    EXPECT_GT(missing ? 0 : size, 100u) << "the whole saved string";
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "nothing in the starting folder";

    xdriver::Xdotool("windowfocus --sync " + window);
    xdriver::Xdotool("key F4");
    EXPECT_EQ(game.WaitExit(15), 0) << game.Err();
}

}  // namespace
