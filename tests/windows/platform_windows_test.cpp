// The Windows platform layer's own rules, run on Windows (under Wine in
// CI): the program's folder from GetModuleFileNameW with "/" separators,
// UTF-16 file names through _wfopen, the state file's read-only rule and
// replacement, fault signals, and Windows sockets started once and used on
// 127.0.0.1.
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>
// windows.h names LoadString after its ANSI form; ZqGame's is meant here.
#undef LoadString

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "net/zq_socket.h"
#include "runtime/lang/datapath.h"
#include "runtime/lang/errors.h"
#include "runtime/lang/game.h"
#include "runtime/lang/platform_files.h"
#include "runtime/lang/platform_process.h"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

String text_of(const std::u16string& units) {
    return String(std::u16string_view(units));
}

// A fresh working folder whose name holds an accent and an emoji, as a
// player's unpacked folder may.
class InWideFolder : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        folder_ = fs::temp_directory_path() / fs::path(u"tolvar_w\u00e9_\U0001F41E");
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        SetFileAttributesW((folder_ / ".tolvarstate").c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    ZqGame host_;
    fs::path folder_;
    fs::path previous_;
};

}  // namespace

// [Rule] the application folder is the program's, with "/" separators -----

TEST(ProgramFolder, ComesFromTheModulePathWithForwardSlashes) {
    String program = zq_ProgramPath();
    ASSERT_FALSE(program.IsEmpty());
    EXPECT_LT(program.Find(String("\\")), 0) << "every backslash is turned into /";
    EXPECT_TRUE(program.ToLower().EndsWith(String("windows_platform_test.exe")));

    String folder = zq_ApplicationFolder();
    EXPECT_EQ(folder, program.Slice(0, program.FindLast(String("/"))));
    EXPECT_EQ(zq_TolvarPathToFilePath(String("tolvar://data/gfx/a.png")), folder + String("/data/gfx/a.png"));
    // The folder names the same place the system's own path does.
    wchar_t system[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, system, MAX_PATH), 0u);
    EXPECT_EQ(fs::path(system).parent_path(), fs::path(folder.ToUtf8()));
}

// [Rule] names reach the file system as UTF-16 ----------------------------

TEST_F(InWideFolder, FilesWithAccentsAndEmojiOpenAndLoad) {
    const std::u16string name = u"caf\u00e9_\u2728\U0001F41E.txt";
    std::ofstream(fs::path(name), std::ios::binary) << "text";
    EXPECT_EQ(host_.LoadString(text_of(name)), String("text"));
    int length = 0;
    unsigned char* data = host_.LoadData(text_of(name), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 4);
    std::free(data);
    // An absolute name through the (non-ASCII) working folder too.
    String absolute = text_of((folder_ / fs::path(name)).generic_u16string());
    EXPECT_EQ(host_.LoadString(absolute), String("text"));
    zq_FileFacts facts;
    EXPECT_TRUE(zq_FileFactsOf(absolute, facts));
    EXPECT_EQ(facts.size, 4);
    EXPECT_FALSE(zq_FileFactsOf(text_of(folder_.generic_u16string()), facts)) << "a folder is no file";
}

// [Rule] the state file is replaced whole, or left alone when read-only --

TEST_F(InWideFolder, StateIsReplacedWholeInAWideFolder) {
    EXPECT_EQ(host_.SaveState(String(u"\u20ac first, the longer one")), 0);
    EXPECT_EQ(host_.SaveState(String("second")), 0);
    EXPECT_EQ(read_file(".tolvarstate"), "second");
    EXPECT_EQ(host_.LoadState(), String("second"));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1) << "no temporary left behind";
}

TEST_F(InWideFolder, ReadOnlyStateFileIsLeftAlone) {
    ASSERT_EQ(host_.SaveState(String("old state")), 0);
    // The read-only attribute, as the file's properties set it.
    ASSERT_TRUE(SetFileAttributesW(L".tolvarstate", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(host_.SaveState(String("new state")), -1);
    EXPECT_EQ(read_file(".tolvarstate"), "old state");
    EXPECT_NE(GetFileAttributesW(L".tolvarstate") & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1) << "no temporary";
}

TEST_F(InWideFolder, TemporariesOfEndedProcessesAreRemoved) {
    // Process ids are multiples of 4; 3 names none.
    std::ofstream(".tolvarstate.3.tmp") << "x";
    std::ofstream("notes.3.tmp") << "x";
    EXPECT_TRUE(host_.LoadState().IsEmpty());
    EXPECT_FALSE(fs::exists(".tolvarstate.3.tmp"));
    EXPECT_TRUE(fs::exists("notes.3.tmp"));
}

// [Rule] faults end the program as runtime errors with exit code -1 -------

namespace {

// In the death test's child: no debugger answers on standard input, and the
// banner (standard output) goes where the death test reads (standard error).
void fault_handlers_without_debugger() {
    zq_InstallSignalHandlers();
    if (!std::freopen("NUL", "r", stdin)) std::abort();
    _dup2(_fileno(stderr), _fileno(stdout));
}

int* volatile nowhere = nullptr;

}  // namespace

// (An integer division by zero is not checked here: under Wine it does not
// reach the C runtime's exception filter.)
TEST(FaultSignals, AccessViolationAndIllegalInstructionAreRuntimeErrors) {
    EXPECT_EXIT((fault_handlers_without_debugger(), *nowhere = 1), testing::ExitedWithCode(-1),
                "Tolvar Runtime Error : Memory access violation");
    EXPECT_EXIT((fault_handlers_without_debugger(), __builtin_trap()), testing::ExitedWithCode(-1),
                "Tolvar Runtime Error : Illegal instruction");
}

// [Rule] Windows sockets: started once, real connections on 127.0.0.1 -----

TEST(WindowsSockets, LoopbackConnectionCarriesBytes) {
    ZqSocket* server = gc_new<ZqSocket>();
    ASSERT_TRUE(server->Open(ZQ_SOCKET_SERVER));
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    ZqSocketAddress* local = gc_new<ZqSocketAddress>();
    server->GetLocalAddress(local);
    local->Validate();
    EXPECT_EQ(local->host, String("127.0.0.1"));
    ASSERT_GT(local->port, 0);

    ZqSocket* client = gc_new<ZqSocket>();
    ASSERT_TRUE(client->Open(ZQ_SOCKET_STREAM));
    ASSERT_TRUE(client->Connect(String("localhost"), local->port)) << "getaddrinfo after WSAStartup";
    ASSERT_TRUE(server->Accept());
    ZqSocket* accepted = server->Accepted();
    ASSERT_NE(accepted, nullptr);

    ZqDataBuffer* out = gc_new<ZqDataBuffer>();
    ZqDataBuffer* in = gc_new<ZqDataBuffer>();
    out->_New(5, nullptr);
    in->_New(5, nullptr);
    std::memcpy(out->data, "hello", 5);
    EXPECT_EQ(client->Send(out, 0, 5), 5);
    EXPECT_EQ(accepted->Receive(in, 0, 5), 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(in->data), 5), "hello");

    client->Close();
    EXPECT_FALSE(client->IsOpen());
    EXPECT_EQ(accepted->Receive(in, 0, 5), 0) << "an orderly close";
    EXPECT_LT(client->Send(out, 0, 5), 0) << "a closed socket gives an error count";
    accepted->Close();
    server->Close();
}

TEST(WindowsSockets, OverlongNameLeavesTheAnyAddress) {
    // Longer than any name that is looked up: no resolver is asked.
    sockaddr_in address;
    resolve_host(&address, std::string(1024, 'a'), 80);
    EXPECT_EQ(address.sin_addr.s_addr, htonl(INADDR_ANY));
    EXPECT_EQ(ntohs(address.sin_port), 80);
}
