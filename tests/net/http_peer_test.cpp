// The client against an independent server: Python's http.server serving a
// temporary folder on a free loopback port.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "net/http_request.h"
#include "net/zq_socket.h"
#include "net_test_support.h"

namespace {

namespace fs = std::filesystem;

class PythonServer {
  public:
    PythonServer(const std::string& python, const fs::path& folder) : port_(nettest::UnusedPort()) {
        pid_ = fork();
        if (pid_ == 0) {
            std::string port = std::to_string(port_);
            std::freopen("/dev/null", "w", stderr);
            std::freopen("/dev/null", "w", stdout);
            execl(python.c_str(), python.c_str(), "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                  "--directory", folder.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~PythonServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    int port() const { return port_; }
    // Waits until the server accepts connections.
    bool Ready() {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            ZqSocket* probe = gc_new<ZqSocket>();
            probe->Open(ZQ_SOCKET_STREAM);
            bool up = probe->Connect(String("127.0.0.1"), port_);
            probe->Close();
            if (up) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

  private:
    int port_;
    pid_t pid_ = -1;
};

nettest::Recorder* Get(const std::string& url) {
    nettest::Recorder* recorder = gc_new<nettest::Recorder>();
    gc_new<c_HttpRequest>()->m_new2(String("GET"), String(url.c_str()), recorder)->p_Send();
    EXPECT_TRUE(nettest::PumpUntil([&] { return recorder->calls > 0; }));
    return recorder;
}

TEST(HttpPeer, PythonHttpServerServesAFileAndA404) {
    const char* python = std::getenv("TOLVAR_PYTHON3");
    if (python == nullptr || *python == '\0') GTEST_SKIP() << "no python3";
    fs::path folder = fs::path(testing::TempDir()) / ("net_peer_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::string content = "Skitterwind check-in reply\nline two \xc3\xa9\n";
    std::ofstream(folder / "reply.txt", std::ios::binary) << content;

    {
        PythonServer server(python, folder);
        ASSERT_TRUE(server.Ready());
        std::string base = "http://127.0.0.1:" + std::to_string(server.port());

        nettest::Recorder* found = Get(base + "/reply.txt?hello=1&gameID=3");
        EXPECT_EQ(found->calls, 1);
        EXPECT_EQ(found->status, 200);
        EXPECT_EQ(found->text, content);

        nettest::Recorder* missing = Get(base + "/no-such-file");
        EXPECT_EQ(missing->calls, 1);
        EXPECT_EQ(missing->status, 404);
        EXPECT_NE(missing->text.find("404"), std::string::npos);

        // "localhost" goes through the resolver.
        nettest::Recorder* named = Get("http://localhost:" + std::to_string(server.port()) + "/reply.txt");
        EXPECT_EQ(named->status, 200);
        EXPECT_EQ(named->text, content);
    }
    fs::remove_all(folder);
}

}  // namespace
