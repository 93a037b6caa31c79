// Recordings of the real program: skitterwind played through its window
// with real X input (a level started, steered, paused and quit; the level
// again, switched to full screen and back while a key is held, then F4
// mid-level) records the session to
// --record FILE and to .skitterwind-last.rec; skitterwind-replay replays it
// to the same saved state, byte for byte; skitterwind --replay watches it
// to its end and exits 0 without touching the saved state; a session
// killed mid-level leaves a recording that replays; and a file that is not
// a recording is refused before any window opens.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/x11_driver.h"

// Last: Xlib's macros would clash with the headers above.
#include <X11/Xlib.h>

namespace {

// Keeps the X server from resetting between the programs this test starts.
struct HoldServer {
    Display* display = XOpenDisplay(nullptr);
    ~HoldServer() {
        if (display) XCloseDisplay(display);
    }
} holdServer;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// A program run in `folder` with its output in folder/<name>.out/.err.
class Child {
  public:
    Child(const std::string& folder, const std::vector<std::string>& args, const std::string& name) {
        pid_ = fork();
        if (pid_ != 0) return;
        if (chdir(folder.c_str()) != 0) _exit(127);
        int in = open("/dev/null", O_RDONLY);
        int out = open((name + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open((name + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ~Child() {
        if (pid_ > 0) Kill();
    }
    // The exit status, or -1 when the program did not end within `seconds`.
    int Wait(double seconds) {
        for (int i = 0; i < seconds * 20; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            Sleep(0.05);
        }
        return -1;
    }
    pid_t pid() const { return pid_; }
    void Kill() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
};

std::string Game() {
    const char* app = std::getenv("PROBE_APP");
    return app ? app : "skitterwind";
}

std::string Tool() {
    const char* tool = std::getenv("REPLAY_TOOL");
    return tool ? tool : "skitterwind-replay";
}

// A fresh working folder (no saved state yet), removed with the test.
class Folder {
  public:
    Folder() {
        char name[] = "/tmp/replay_e2e_XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~Folder() {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    operator const std::string&() const { return path_; }

  private:
    std::string path_;
};

unsigned long WaitForWindow(double seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (unsigned long w = xdriver::FindWindow("Skitterwind")) return w;
        Sleep(0.05);
    }
    return 0;
}

void Key(const std::string& what) {
    xdriver::Xdotool(what);
}

// Holds a key for a few frames: the game reads held keys, and a press and
// release within one frame would pass unseen.
void Tap(const std::string& key) {
    Key("keydown " + key);
    Sleep(0.1);
    Key("keyup " + key);
}

// Gives the keyboard focus to the newest window of process `pid` (a full
// screen switch opens a new window, without a title in full screen).
void FocusWindowOf(pid_t pid) {
    Sleep(0.5);
    std::string ids = xdriver::Run("xdotool search --pid " + std::to_string(pid));
    size_t last = ids.find_last_of('\n');
    std::string id = last == std::string::npos ? ids : ids.substr(last + 1);
    if (!id.empty()) Key("windowfocus --sync " + id);
}

// skitterwind-replay's report on standard output, and its status.
std::string Check(const std::string& folder, const std::string& args, int* status) {
    std::string report =
        xdriver::Run("cd " + folder + " && " + Tool() + " " + args + " 2>/dev/null; echo \"#$?\"");
    size_t mark = report.rfind('#');
    *status = std::atoi(report.c_str() + mark + 1);
    return report.substr(0, mark);
}

TEST(ReplayE2E, ASessionThroughTheWindowReplaysToTheSameSavedStateAndWatchesToItsEnd) {
    const Folder folderOwner;
    const std::string& folder = folderOwner;
    {
        Child game(folder, {Game(), "--record", "session.rec"}, "live");
        unsigned long window = WaitForWindow(20);
        ASSERT_NE(window, 0u);
        Key("windowfocus --sync " + std::to_string(window));
        Sleep(5);  // loader, then the title's slide-in
        Tap("Return");
        Sleep(1.5);
        Key("keydown Right");
        Sleep(1);
        Key("keyup Right");
        Tap("Escape");
        Sleep(1);
        Tap("Up");
        Sleep(0.3);
        Tap("Return");  // quit the level: its result is saved
        Sleep(6);       // the banner, then the title
        Tap("Return");  // the level again
        Sleep(1.5);
        Key("keydown Right");
        Sleep(1);
        Key("key F11");  // full screen while Right is held: the host releases it
        FocusWindowOf(game.pid());
        Sleep(1.5);
        Key("key F11");
        FocusWindowOf(game.pid());
        Sleep(1.5);
        Key("keyup Right");
        Key("key F4");  // ends the program inside an update
        ASSERT_EQ(game.Wait(15), 0);
    }
    const std::string recording = Slurp(folder + "/session.rec");
    const std::string saved = Slurp(folder + "/.tolvarstate");
    ASSERT_GT(recording.size(), 100u);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(Slurp(folder + "/.skitterwind-last.rec"), recording);

    int status = -1;
    std::string report = Check(folder, "session.rec --state-out replayed.state", &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("level 1 result 0 ending quit"), std::string::npos) << report;
    EXPECT_NE(report.find("level 1 result 0 ending none"), std::string::npos) << report;
    size_t checked = report.find(" checkpoints ");
    ASSERT_NE(checked, std::string::npos) << report;
    int matched = 0, total = -1;
    std::sscanf(report.c_str() + checked, " checkpoints %d/%d", &matched, &total);
    EXPECT_GE(total, 5);
    EXPECT_EQ(matched, total);
    EXPECT_EQ(Slurp(folder + "/replayed.state"), saved) << "byte for byte what the live session left";

    // Watching: the whole session plays again and the program ends by itself.
    struct stat before;
    ASSERT_EQ(stat((folder + "/.tolvarstate").c_str(), &before), 0);
    Child watch(folder, {Game(), "--replay", "session.rec"}, "watch");
    EXPECT_EQ(watch.Wait(60), 0);
    struct stat after;
    ASSERT_EQ(stat((folder + "/.tolvarstate").c_str(), &after), 0);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
    EXPECT_EQ(Slurp(folder + "/.tolvarstate"), saved) << "watching never writes the saved state";
    EXPECT_EQ(Slurp(folder + "/.skitterwind-last.rec"), recording) << "nor records itself";
}

TEST(ReplayE2E, ASessionKilledMidLevelLeavesARecordingThatReplays) {
    const Folder folderOwner;
    const std::string& folder = folderOwner;
    {
        Child game(folder, {Game()}, "live");
        unsigned long window = WaitForWindow(20);
        ASSERT_NE(window, 0u);
        Key("windowfocus --sync " + std::to_string(window));
        Sleep(5);
        Tap("Return");
        Sleep(1);
        Key("keydown Right");
        Sleep(1);
        Key("keyup Right");
        Sleep(1.5);
        game.Kill();  // no chance to write anything more
    }
    int status = -1;
    std::string report = Check(folder, ".skitterwind-last.rec", &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("level 1 result 0 ending none"), std::string::npos) << report;
}

TEST(ReplayE2E, AFileThatIsNotARecordingIsRefusedBeforeAWindowOpens) {
    const Folder folderOwner;
    const std::string& folder = folderOwner;
    std::ofstream(folder + "/notes.rec") << "not a recording\n";
    Child watch(folder, {Game(), "--replay", "notes.rec"}, "watch");
    EXPECT_EQ(watch.Wait(10), 2);
    EXPECT_EQ(Slurp(folder + "/watch.err"), "skitterwind: notes.rec: not a recording\n");
}

}  // namespace
