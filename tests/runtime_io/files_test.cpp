// Whole-file loading and the saved-state file. Each test runs in a fresh
// temporary working folder, because the state file lives in the working
// folder.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "runtime/lang/game.h"
#include "tests/runtime_io/child_process.h"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// In a child process: permission checks that root would bypass must hold,
// so root carries on as the unprivileged user "nobody" (exit code 90 when it
// cannot). Other users keep their own identity.
void become_unprivileged() {
    if (geteuid() != 0) return;
    passwd* nobody = getpwnam("nobody");
    if (!nobody || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) std::_Exit(90);
}

// The result of one save made by an unprivileged child process.
int unprivileged_save(ZqGame& host, const char* text) {
    ChildResult save = RunChild([&] {
        become_unprivileged();
        int result = host.SaveState(String(text));
        std::_Exit(result == 0 ? 0 : result == -1 ? 1 : result == -2 ? 2 : 3);
    });
    if (!save.exited || save.code == 90) return 90;
    return save.code <= 2 ? -save.code : 3;
}

class InWorkFolder : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tolvar_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        chmod(pattern, 0755);  // reachable by the unprivileged child below
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        chmod(folder_.c_str(), 0755);
        fs::remove_all(folder_);
    }
    // Names in the folder other than the state file (leftover temporaries).
    int stray_files() const {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().filename() != ".tolvarstate") ++n;
        return n;
    }

    ZqGame host_;
    fs::path folder_;
    fs::path previous_;
};

}  // namespace

// [Rule] LoadString and LoadData read whole files or report failure -------

TEST_F(InWorkFolder, LoadStringDetectsTheEncoding) {
    write_file("utf16.txt", std::string("\xFF\xFE"
                                        "A\0\xAC\x20",
                                        6));
    EXPECT_EQ(host_.LoadString(String("utf16.txt")), String(u"A\u20ac"));
    write_file("latin1.txt", "caf\xE9");
    EXPECT_EQ(host_.LoadString(String("./latin1.txt")), String(u"caf\u00e9"));
    EXPECT_TRUE(host_.LoadString(String("missing.txt")).IsEmpty());
}

TEST_F(InWorkFolder, LoadDataGivesExactBytesAndReportsThem) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 7);
    write_file("blob.bin", bytes);
    int length = -5;
    int reportedBefore = gc_ext_new_bytes.load();
    unsigned char* data = host_.LoadData(String("blob.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 10000);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 10000), bytes);
    EXPECT_EQ(gc_ext_new_bytes.load() - reportedBefore, 10000);
    std::free(data);
}

TEST_F(InWorkFolder, LoadDataOfEmptyAndMissingFiles) {
    write_file("empty.bin", "");
    int length = -5;
    unsigned char* data = host_.LoadData(String("empty.bin"), &length);
    EXPECT_NE(data, nullptr);  // an empty file is not a failure
    EXPECT_EQ(length, 0);
    std::free(data);
    length = -5;
    EXPECT_EQ(host_.LoadData(String("missing.bin"), &length), nullptr);
    EXPECT_EQ(length, -5);  // untouched on failure
}

// [Rule] the state string is saved as exactly its UTF-8 bytes -------------

TEST_F(InWorkFolder, StateRoundTripsAsUtf8) {
    EXPECT_EQ(host_.SaveState(String(u"\u20ac1")), 0);
    EXPECT_EQ(read_file(".tolvarstate"),
              "\xE2\x82\xAC"
              "1");
    EXPECT_EQ(host_.LoadState(), String(u"\u20ac1"));
    EXPECT_EQ(stray_files(), 0);
}

TEST_F(InWorkFolder, EmptyStateLeavesAnEmptyFile) {
    EXPECT_TRUE(host_.LoadState().IsEmpty());  // no file yet
    EXPECT_EQ(host_.SaveState(String("old")), 0);
    EXPECT_EQ(host_.SaveState(String()), 0);
    EXPECT_TRUE(fs::exists(".tolvarstate"));
    EXPECT_EQ(fs::file_size(".tolvarstate"), 0u);
    EXPECT_TRUE(host_.LoadState().IsEmpty());
}

// [Rule] a failed save leaves the previous file as it was ------------------

TEST_F(InWorkFolder, SaveIntoAnUnwritableFolderFailsAndKeepsTheOldFile) {
    // The folder refuses a temporary and the state file (the test's own,
    // mode 0644) may not be written either.
    ASSERT_EQ(host_.SaveState(String("old state")), 0);
    chmod(folder_.c_str(), 0555);
    EXPECT_EQ(unprivileged_save(host_, "new state"), -1);
    chmod(folder_.c_str(), 0755);
    EXPECT_EQ(read_file(".tolvarstate"), "old state");
    EXPECT_EQ(stray_files(), 0);
}

TEST_F(InWorkFolder, ReadOnlyFolderWithAWritableStateFileRewritesItInPlace) {
    // A shared or managed folder: no new file may be made there, but the
    // state file itself is writable.
    ASSERT_EQ(host_.SaveState(String("an old state that is longer")), 0);
    chmod(".tolvarstate", 0666);
    chmod(folder_.c_str(), 0555);
    EXPECT_EQ(unprivileged_save(host_, "new state"), 0);
    chmod(folder_.c_str(), 0755);
    EXPECT_EQ(read_file(".tolvarstate"), "new state");
    EXPECT_EQ(stray_files(), 0);

    // Without a state file there is nothing to rewrite: the save fails.
    fs::remove(".tolvarstate");
    chmod(folder_.c_str(), 0555);
    EXPECT_EQ(unprivileged_save(host_, "new state"), -1);
    chmod(folder_.c_str(), 0755);
    EXPECT_FALSE(fs::exists(".tolvarstate"));
    EXPECT_EQ(stray_files(), 0);
}

TEST_F(InWorkFolder, ReadOnlyStateFileIsLeftAlone) {
    // The folder would take a temporary; the player's read-only state file
    // says "do not change this".
    ASSERT_EQ(host_.SaveState(String("old state")), 0);
    chmod(".tolvarstate", 0444);
    chmod(folder_.c_str(), 0777);
    EXPECT_EQ(unprivileged_save(host_, "new state"), -1);
    EXPECT_EQ(read_file(".tolvarstate"), "old state");
    EXPECT_EQ(fs::status(".tolvarstate").permissions(), fs::perms(0444));
    EXPECT_EQ(stray_files(), 0);
}

TEST_F(InWorkFolder, ShortWriteFailsAndKeepsTheOldFile) {
    ASSERT_EQ(host_.SaveState(String("old state")), 0);
    ChildResult save = RunChild([this] {
        // A file size limit makes the write fail part-way, as a full disk
        // would.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(host_.SaveState(String(std::string(100000, 'n').c_str())) == -2 ? 0 : 92);
    });
    EXPECT_EQ(save.code, 0);
    EXPECT_EQ(read_file(".tolvarstate"), "old state");
    EXPECT_EQ(stray_files(), 0);
}

TEST_F(InWorkFolder, StateFileSurvivesAKillDuringSaves) {
    // Two contents of different sizes, so that a torn or truncated file
    // cannot pass for either.
    const std::string first(200000, 'a');
    const std::string second = std::string(70000, 'b') + "\xE2\x82\xAC";
    const String firstText(first.c_str());
    const String secondText = String(std::string(70000, 'b').c_str()) + String(u"\u20ac");
    ASSERT_EQ(host_.SaveState(firstText), 0);

    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        pid_t saver = StartChild([&] {
            for (int i = 0;; ++i) host_.SaveState(i % 2 ? firstText : secondText);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 40));
        kill(saver, SIGKILL);
        int status = 0;
        waitpid(saver, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        std::string content = read_file(".tolvarstate");
        ASSERT_TRUE(content == first || content == second)
            << "round " << round << ": " << content.size() << " bytes";
    }
}

// [Rule] a save keeps what the player made of the state file -------------

TEST_F(InWorkFolder, SaveThroughALinkRewritesItsTargetAndKeepsTheLink) {
    fs::create_directory("saves");
    write_file("saves/state", "old");
    fs::create_symlink("saves/state", ".tolvarstate");
    EXPECT_EQ(host_.SaveState(String("new")), 0);
    EXPECT_TRUE(fs::is_symlink(".tolvarstate"));
    EXPECT_EQ(read_file("saves/state"), "new");
    EXPECT_EQ(host_.LoadState(), String("new"));

    // A link whose target does not exist yet: the target is created.
    fs::remove(".tolvarstate");
    fs::create_symlink("saves/fresh", ".tolvarstate");
    EXPECT_EQ(host_.SaveState(String("first")), 0);
    EXPECT_TRUE(fs::is_symlink(".tolvarstate"));
    EXPECT_EQ(read_file("saves/fresh"), "first");
    int files = 0;
    for (const auto& entry : fs::directory_iterator("saves")) files += entry.is_regular_file();
    EXPECT_EQ(files, 2);  // no temporary left beside the targets
}

TEST_F(InWorkFolder, SaveKeepsTheFileMode) {
    for (fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                           fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read}) {
        write_file(".tolvarstate", "old");
        fs::permissions(".tolvarstate", mode);
        ASSERT_EQ(host_.SaveState(String("new")), 0);
        EXPECT_EQ(fs::status(".tolvarstate").permissions(), mode);
        EXPECT_EQ(read_file(".tolvarstate"), "new");
    }
}

TEST_F(InWorkFolder, TemporariesOfEndedProcessesAreRemoved) {
    pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    std::string endedTemporary = ".tolvarstate." + std::to_string(ended) + ".tmp";
    std::string liveTemporary = ".tolvarstate." + std::to_string(getppid()) + ".tmp";
    std::string otherFile = "notes." + std::to_string(ended) + ".tmp";
    for (const std::string& name : {endedTemporary, liveTemporary, otherFile}) write_file(name, "x");

    EXPECT_TRUE(host_.LoadState().IsEmpty());
    EXPECT_FALSE(fs::exists(endedTemporary));
    EXPECT_TRUE(fs::exists(liveTemporary));  // another copy may be saving right now
    EXPECT_TRUE(fs::exists(otherFile));

    write_file(endedTemporary, "x");
    EXPECT_EQ(host_.SaveState(String("s")), 0);
    EXPECT_FALSE(fs::exists(endedTemporary));
    EXPECT_EQ(stray_files(), 2);
}
