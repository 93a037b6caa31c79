// Data paths: the application folder, the tolvar:// mapping, the
// framework's path fixing and the host's file opening.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/lang/datapath.h"
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
