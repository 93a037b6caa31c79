// Shared pieces of the networking tests: a scripted loopback HTTP server
// (plain POSIX sockets, independent of the code under test), the pump loop,
// a completion recorder, and counts of the process's descriptors and
// threads.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/http_request.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/object.h"

namespace nettest {

// What the server does with each connection: read the request (up to the
// empty line, plus a Content-Length body), then send `chunks` one by one
// with `pauseMs` between them, wait `holdMs`, then close.
struct Script {
    std::vector<std::string> chunks;
    int pauseMs = 0;
    int holdMs = 0;  // keep the connection open this long after the last chunk
    bool readRequest = true;
};

class LoopbackServer {
  public:
    explicit LoopbackServer(Script script);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;
    // The requests received so far, byte for byte.
    std::vector<std::string> Requests();
    int Connections() const { return connections_.load(); }

  private:
    void Serve();
    void Answer(int fd);

    Script script_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::mutex lock_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedPort();

// Pumps the asynchronous events until `done` holds or the time runs out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Records every completion of the requests it is given to.
class Recorder : public Object, public virtual c_IOnHttpRequestComplete {
  public:
    int calls = 0;
    int status = -2;
    std::string text;  // responseText as UTF-8
    int bytesReceived = -1;

    void p_OnHttpRequestComplete(c_HttpRequest* request) override;
};

// Open descriptors and threads of this process (/proc/self).
int OpenDescriptors();
int Threads();
// Waits (up to `timeoutMs`) until the thread count is at most `limit`.
int SettleThreads(int limit, int timeoutMs = 5000);

// Death tests print through zqError on standard output and may stop in the
// debugger, which reads standard input: route output to standard error
// (which the death-test regex sees) and give it an empty input.
void RouteOutputForDeathTest();

// Queues the roots as the host does at start-up, so that a later full
// collection keeps exactly what is reachable.
void StartCollector();

}  // namespace nettest
