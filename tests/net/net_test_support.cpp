#include "net_test_support.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "net/async_event.h"

namespace nettest {

namespace {

int ListenOnLoopback(int* port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 64);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    *port = ntohs(address.sin_port);
    return fd;
}

// Reads until the request's empty line and its Content-Length body, the
// peer closes, or two seconds pass.
std::string ReadRequest(int fd) {
    std::string request;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    size_t wanted = std::string::npos;
    while (std::chrono::steady_clock::now() < deadline) {
        size_t headerEnd = request.find("\r\n\r\n");
        if (headerEnd != std::string::npos && wanted == std::string::npos) {
            wanted = headerEnd + 4;
            size_t field = request.find("Content-Length: ");
            if (field != std::string::npos && field < headerEnd)
                wanted += std::strtoul(request.c_str() + field + 16, nullptr, 10);
        }
        if (request.size() >= wanted) break;
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 50) <= 0) continue;
        char bytes[4096];
        ssize_t got = ::recv(fd, bytes, sizeof bytes, 0);
        if (got <= 0) break;
        request.append(bytes, static_cast<size_t>(got));
    }
    return request;
}

void SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

int CountEntries(const char* folder) {
    DIR* dir = ::opendir(folder);
    if (dir == nullptr) return -1;
    int count = 0;
    while (dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.') ++count;
    ::closedir(dir);
    return count - (std::strcmp(folder, "/proc/self/fd") == 0 ? 1 : 0);  // the listing's own
}

}  // namespace

LoopbackServer::LoopbackServer(Script script) : script_(std::move(script)) {
    listenFd_ = ListenOnLoopback(&port_);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackServer::Requests() {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

void LoopbackServer::Serve() {
    while (!stop_) {
        pollfd wait{listenFd_, POLLIN, 0};
        if (::poll(&wait, 1, 20) <= 0) continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++connections_;
        Answer(fd);
        ::close(fd);
    }
}

void LoopbackServer::Answer(int fd) {
    if (script_.readRequest) {
        std::string request = ReadRequest(fd);
        std::lock_guard<std::mutex> hold(lock_);
        requests_.push_back(std::move(request));
    }
    for (size_t i = 0; i < script_.chunks.size(); ++i) {
        if (i > 0 && script_.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(script_.pauseMs));
        SendAll(fd, script_.chunks[i]);
    }
    auto holdUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(script_.holdMs);
    while (!stop_ && std::chrono::steady_clock::now() < holdUntil)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

int UnusedPort() {
    int port = 0;
    int fd = ListenOnLoopback(&port);
    ::close(fd);
    return port;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        zq_asyncevent_UpdateAsyncEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

void Recorder::p_OnHttpRequestComplete(c_HttpRequest* request) {
    ++calls;
    status = request->p_Status();
    text = request->p_ResponseText().ToUtf8();
    bytesReceived = request->bytesReceived;
}

int OpenDescriptors() {
    return CountEntries("/proc/self/fd");
}
int Threads() {
    return CountEntries("/proc/self/task");
}

int SettleThreads(int limit, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int now = Threads();
    while (now > limit && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        now = Threads();
    }
    return now;
}

void RouteOutputForDeathTest() {
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    int empty = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::dup2(empty, STDIN_FILENO);
}

void StartCollector() {
    static bool started = false;
    if (started) return;
    started = true;
    gc_mark();
}

}  // namespace nettest
