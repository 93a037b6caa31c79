// The command-line parse: what each option stores, the texts of --help and
// --version, and the one-line usage error (exit 2) for unknown options,
// missing arguments and options that exclude each other.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/host/options.h"

namespace {

struct Parsed {
    ZqOptionsOutcome outcome;
    ZqOptions options;
    std::string out, err;
};

Parsed Parse(std::initializer_list<const char*> args) {
    std::vector<std::string> storage{"/usr/lib/skitterwind/skitterwind"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);

    char *outText = nullptr, *errText = nullptr;
    size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    Parsed p;
    p.outcome = zqParseOptions(static_cast<int>(storage.size()), argv.data(), p.options, out, err);
    std::fclose(out);
    std::fclose(err);
    p.out.assign(outText, outSize);
    p.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return p;
}

// A usage error: exit 2, nothing on standard output, exactly one line on
// standard error naming the program, the reason and the usage.
void ExpectUsageError(const Parsed& p, const std::string& reason) {
    EXPECT_EQ(p.outcome, ZqOptionsOutcome::ExitUsage);
    EXPECT_EQ(p.out, "");
    ASSERT_FALSE(p.err.empty());
    EXPECT_EQ(p.err.find('\n'), p.err.size() - 1) << "one line: " << p.err;
    EXPECT_EQ(p.err.rfind("skitterwind: " + reason + "; usage: skitterwind [--help]", 0), 0u) << p.err;
}

}  // namespace

TEST(Options, NoArgumentsRunWithTheDefaults) {
    Parsed p = Parse({});
    EXPECT_EQ(p.outcome, ZqOptionsOutcome::Run);
    EXPECT_EQ(p.options.startMode, ZqOptions::StartMode::Default);
    EXPECT_FALSE(p.options.stats);
    EXPECT_TRUE(p.options.recordPath.empty());
    EXPECT_TRUE(p.options.replayPath.empty());
    EXPECT_EQ(p.out + p.err, "");
}

TEST(Options, EachOptionStoresItsValue) {
    Parsed p = Parse({"--fullscreen", "--stats", "--record", "run.rec"});
    ASSERT_EQ(p.outcome, ZqOptionsOutcome::Run);
    EXPECT_EQ(p.options.startMode, ZqOptions::StartMode::Fullscreen);
    EXPECT_TRUE(p.options.stats);
    EXPECT_EQ(p.options.recordPath, "run.rec");

    p = Parse({"--windowed", "--replay", "./--odd name"});
    ASSERT_EQ(p.outcome, ZqOptionsOutcome::Run);
    EXPECT_EQ(p.options.startMode, ZqOptions::StartMode::Windowed);
    EXPECT_EQ(p.options.replayPath, "./--odd name");

    // Repeating an option is no conflict; the last FILE counts.
    p = Parse({"--fullscreen", "--fullscreen", "--record", "a", "--record", "b"});
    ASSERT_EQ(p.outcome, ZqOptionsOutcome::Run);
    EXPECT_EQ(p.options.startMode, ZqOptions::StartMode::Fullscreen);
    EXPECT_EQ(p.options.recordPath, "b");
}

TEST(Options, HelpListsEveryOptionOnStandardOutputAndStopsTheParse) {
    Parsed p = Parse({"--help", "--bogus"});
    EXPECT_EQ(p.outcome, ZqOptionsOutcome::ExitOk);
    EXPECT_EQ(p.err, "");
    EXPECT_EQ(p.out.rfind("usage: skitterwind [--help] [--version] [--fullscreen | --windowed] [--stats] "
                          "[--record FILE | --replay FILE]\n",
                          0),
              0u)
        << p.out;
    for (const char* line : {"\n  --help ", "\n  --version ", "\n  --fullscreen ", "\n  --windowed ",
                             "\n  --stats ", "\n  --record FILE ", "\n  --replay FILE "})
        EXPECT_NE(p.out.find(line), std::string::npos) << line;
}

TEST(Options, VersionIsTheProjectVersion) {
    Parsed p = Parse({"--version"});
    EXPECT_EQ(p.outcome, ZqOptionsOutcome::ExitOk);
    EXPECT_EQ(p.out, std::string("skitterwind ") + TOLVAR_TEST_VERSION + "\n");
    EXPECT_EQ(p.err, "");
}

TEST(Options, UnknownOptionsAndStrayArgumentsAreUsageErrors) {
    ExpectUsageError(Parse({"--bogus"}), "unknown option '--bogus'");
    ExpectUsageError(Parse({"-h"}), "unknown option '-h'");
    ExpectUsageError(Parse({"--record=x"}), "unknown option '--record=x'");
    ExpectUsageError(Parse({"level3"}), "unexpected argument 'level3'");
    // An error after --version still wins when it comes first.
    ExpectUsageError(Parse({"--bogus", "--version"}), "unknown option '--bogus'");
}

TEST(Options, AMissingEmptyOrOptionLikeFileIsAUsageError) {
    ExpectUsageError(Parse({"--record"}), "missing FILE after '--record'");
    ExpectUsageError(Parse({"--replay", ""}), "missing FILE after '--replay'");
    ExpectUsageError(Parse({"--record", "--stats"}), "missing FILE after '--record'");
}

TEST(Options, OptionsThatExcludeEachOtherAreUsageErrors) {
    ExpectUsageError(Parse({"--fullscreen", "--windowed"}), "conflicting option '--windowed'");
    ExpectUsageError(Parse({"--windowed", "--stats", "--fullscreen"}), "conflicting option '--fullscreen'");
    ExpectUsageError(Parse({"--record", "a", "--replay", "b"}), "conflicting option '--replay'");
    ExpectUsageError(Parse({"--replay", "b", "--record", "a"}), "conflicting option '--record'");
}
