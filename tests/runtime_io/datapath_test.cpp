// Data paths: the application folder, the tolvar:// mapping, the
// framework's path fixing and the host's file opening.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/lang/datapath.h"
#include "runtime/lang/filename.h"
#include "runtime/lang/game.h"

namespace {

const String kApp("/opt/skitterwind");

String map(const char* path) {
    return zq_TolvarPathToFilePath(String(path), kApp);
}

// A host whose PathToFilePath is the tolvar:// mapping, as the desktop
// host's is.
class MappingHost : public ZqGame {
  public:
    String PathToFilePath(String path) override { return zq_TolvarPathToFilePath(path); }
};

}  // namespace

// [Rule] the tolvar:// locations map under the application folder --------

TEST(TolvarPaths, KnownLocationsMapUnderTheApplicationFolder) {
    EXPECT_EQ(map("tolvar://data/gfx/a.png"), String("/opt/skitterwind/data/gfx/a.png"));
    EXPECT_EQ(map("tolvar://internal/s.txt"), String("/opt/skitterwind/internal/s.txt"));
    EXPECT_EQ(map("tolvar://external/e"), String("/opt/skitterwind/external/e"));
    EXPECT_EQ(map("tolvar://data/"), String("/opt/skitterwind/data/"));
}

TEST(TolvarPaths, UnknownLocationsMapToTheEmptyPath) {
    EXPECT_TRUE(map("tolvar://other/x").IsEmpty());
    EXPECT_TRUE(map("tolvar:").IsEmpty());
    EXPECT_TRUE(map("tolvar://data").IsEmpty());  // no "/" after the location
    EXPECT_TRUE(map("tolvar://DATA/x").IsEmpty());
}

TEST(TolvarPaths, OtherPathsAreUnchanged) {
    for (const char* path : {"./x", "/x", "c:/x", "", "tolvar", "http://h/p", "x/tolvar://data/y"}) {
        EXPECT_EQ(map(path), String(path)) << path;
        EXPECT_EQ(zq_TolvarPathToFilePath(String(path)), String(path)) << path;
    }
}

// [Rule] the application folder is the running program's folder -----------

TEST(ApplicationFolder, IsTheFolderOfThisProgram) {
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    String folder = zq_ApplicationFolder();
    EXPECT_EQ(folder, String(program.parent_path().string().c_str()));
    EXPECT_FALSE(folder.EndsWith(String("/")));
    EXPECT_EQ(zq_TolvarPathToFilePath(String("tolvar://data/a")), folder + String("/data/a"));
}

TEST(ApplicationFolder, IsEverythingBeforeTheLastSlash) {
    EXPECT_EQ(zq_FolderOfProgramPath(String("/games/x/run")), String("/games/x"));
    EXPECT_EQ(zq_FolderOfProgramPath(String("/run")), String());  // data maps to "/data/..."
    EXPECT_EQ(zq_FolderOfProgramPath(String("run")), String("."));
}

// [Rule] data paths reach the same bytes for any folder name -------------

TEST(FileNames, AnyBytesComeBackUnchanged) {
    std::vector<std::string> names = {"bugs \xF0\x9F\x90\x9E",     // an emoji: a character above 16 bits
                                      "caf\xE9",                   // Latin-1
                                      "\x80\xBF",                  // stray continuation bytes
                                      "\xED\xA0\x80\xED\xB0\x80",  // encoded surrogates
                                      "\xC0\xAF\xE0\x80\xAF",      // overlong forms
                                      "\xE2\x82",                  // cut off
                                      "\xF4\x90\x80\x80",          // above U+10FFFF
                                      "\xF8\x88\x80\x80\x80",      // five-byte lead
                                      "\xEF\xBF\xBF\xC3\xA9"};     // U+FFFF, e acute
    for (int b = 1; b < 256; ++b) names.push_back(std::string(1, static_cast<char>(b)) + "x");
    uint32_t seed = 99;
    for (int n = 0; n < 3000; ++n) {
        std::string name;
        for (int len = n % 9; len > 0; --len) {
            seed = seed * 1664525u + 1013904223u;
            name += static_cast<char>(1 + (seed >> 8) % 255);
        }
        names.push_back(name);
    }
    for (const std::string& name : names) {
        std::string back;
        ASSERT_TRUE(zq_FileNameBytes(zq_FileNameText(name), back));
        EXPECT_EQ(back, name);
    }
    // Characters above 16 bits are surrogate pairs, as in any String.
    EXPECT_EQ(zq_FileNameText("\xF0\x9F\x90\x9E"), String(u"\U0001F41E"));
    EXPECT_EQ(zq_FileNameText("\xC3\xA9"), String(u"\u00E9"));
}

// Run in a copy of this program placed in a folder of an unusual name: the
// data file beside it must open through the tolvar://data/ path.
TEST(ApplicationFolder, ProbeReadsItsDataFile) {
    if (!std::getenv("TOLVAR_DATAPATH_PROBE")) GTEST_SKIP() << "run by DataFilesOpenUnderAnyFolderName";
    MappingHost host;
    EXPECT_EQ(host.LoadString(String("tolvar://data/probe.txt")), String("found"));
    std::string folder;
    ASSERT_TRUE(zq_FileNameBytes(zq_ApplicationFolder(), folder));
    EXPECT_EQ(folder, std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
}

TEST(ApplicationFolder, DataFilesOpenUnderAnyFolderName) {
    namespace fs = std::filesystem;
    std::string base = (fs::temp_directory_path() / "tolvar-datapath-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    for (const char* name : {"bugs \xF0\x9F\x90\x9E", "caf\xE9"}) {
        fs::path folder = fs::path(base) / name;
        fs::create_directories(folder / "data");
        std::ofstream(folder / "data" / "probe.txt") << "found";
        fs::copy_file("/proc/self/exe", folder / "probe", fs::copy_options::overwrite_existing);
        fs::permissions(folder / "probe", fs::perms::owner_all);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setenv("TOLVAR_DATAPATH_PROBE", "1", 1);
            std::string program = (folder / "probe").string();
            std::string filter = "--gtest_filter=ApplicationFolder.ProbeReadsItsDataFile";
            char* argv[] = {program.data(), filter.data(), nullptr};
            execv(argv[0], argv);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "in the folder " << folder;
    }
    fs::remove_all(base);
}

// [Rule] bare names are data names; schemes and explicit paths stay -------

TEST(FixDataPath, BareNamesGoToTheDataFolder) {
    EXPECT_EQ(zq_data_FixDataPath(String("sfx/boom.wav")), String("tolvar://data/sfx/boom.wav"));
    EXPECT_EQ(zq_data_FixDataPath(String("")), String("tolvar://data/"));
    // ":/" that is not the first "/" is no scheme.
    EXPECT_EQ(zq_data_FixDataPath(String("a/b:/c")), String("tolvar://data/a/b:/c"));
    EXPECT_EQ(zq_data_FixDataPath(String(".x")), String("tolvar://data/.x"));
}

TEST(FixDataPath, SchemesAndExplicitPathsAreUnchanged) {
    for (const char* path : {"./boom.wav", "/x", "c:/x", "tolvar://data/x.png", "tolvar://other/x", "a:/"})
        EXPECT_EQ(zq_data_FixDataPath(String(path)), String(path)) << path;
}

// [Rule] opening goes through the mapping -------------------------------

TEST(OpenFile, EmptyMappedPathOrBadNameFailsToOpen) {
    MappingHost host;
    EXPECT_EQ(host.OpenFile(String("tolvar://other/x"), String("rb")), nullptr);
    EXPECT_EQ(host.OpenFile(String(""), String("rb")), nullptr);
    // A zero unit would cut the name short and open another file.
    EXPECT_EQ(host.OpenFile(String(u"/proc/self/exe\u0000tail", 19), String("rb")), nullptr);
    std::FILE* self = host.OpenFile(String("/proc/self/exe"), String("rb"));
    ASSERT_NE(self, nullptr);
    std::fclose(self);
}
