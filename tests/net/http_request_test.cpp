// The HTTP client against scripted loopback servers, and its response
// parser fed receive by receive without a socket.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/http_request.h"
#include "net_test_support.h"

namespace {

using nettest::LoopbackServer;
using nettest::PumpUntil;
using nettest::Recorder;
using nettest::Script;

// Sends a GET and pumps until it completes (or ten seconds pass).
Recorder* Get(const std::string& url, c_HttpRequest** out = nullptr) {
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request = gc_new<c_HttpRequest>()->m_new2(String("GET"), String(url.c_str()), recorder);
    request->p_Send();
    EXPECT_TRUE(PumpUntil([&] { return recorder->calls > 0; }));
    // Later pumps bring no second completion.
    for (int i = 0; i < 20; ++i) zq_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(recorder->calls, 1);
    if (out) *out = request;
    return recorder;
}

std::string Response(const std::string& head, const std::string& body) {
    return head + "\r\n\r\n" + body;
}

// [SECTION] Against loopback servers ----------------------------------------

TEST(HttpRequest, GetWithQuerySendsTheRequestLineAndHostOnly) {
    LoopbackServer server(Script{{Response("HTTP/1.0 200 OK\r\nServer: test", "done")}});
    c_HttpRequest* request = nullptr;
    Recorder* result = Get(server.Url("/checkin.php?hello=1&gameID=3"), &request);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->text, "done");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /checkin.php?hello=1&gameID=3 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_FALSE(request->socket->p_IsOpen());
    EXPECT_FALSE(request->socket->socket->IsOpen());
}

TEST(HttpRequest, NotFoundWithSevenBodyBytes) {
    LoopbackServer server(Script{{Response("HTTP/1.1 404 Not Found", "missing")}});
    Recorder* result = Get(server.Url("/x"));
    EXPECT_EQ(result->status, 404);
    EXPECT_EQ(result->text, "missing");
    EXPECT_EQ(result->bytesReceived, 7);
}

TEST(HttpRequest, LowerCaseStatusLineIsAccepted) {
    LoopbackServer server(Script{{Response("http/1.0 200 ok", "fine")}});
    Recorder* result = Get(server.Url("/"));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->text, "fine");
}

TEST(HttpRequest, StatusLineSplitOverTwoReceivesIsReassembled) {
    LoopbackServer server(Script{{"HTT", "P/1.0 201 Created\r\nX-A: b\r\n\r\nok"}, 150});
    Recorder* result = Get(server.Url("/"));
    EXPECT_EQ(result->status, 201);
    EXPECT_EQ(result->text, "ok");
}

TEST(HttpRequest, RefusedConnectionCompletesOnceWithMinusOne) {
    Recorder* result = Get("http://127.0.0.1:" + std::to_string(nettest::UnusedPort()) + "/");
    EXPECT_EQ(result->status, -1);
    EXPECT_EQ(result->text, "");
}

TEST(HttpRequest, UnresolvableHostCompletesOnceWithMinusOne) {
    Recorder* result = Get("http://nonexistent.invalid/");
    EXPECT_EQ(result->status, -1);
    EXPECT_EQ(result->text, "");
}

TEST(HttpRequest, ServerClosingBeforeTheHeadersEndGivesMinusOneAndNoBody) {
    LoopbackServer server(Script{{"HTTP/1.0 200 OK\r\nX-Partial: 1\r\n"}});
    c_HttpRequest* request = nullptr;
    Recorder* result = Get(server.Url("/"), &request);
    EXPECT_EQ(result->status, -1);
    EXPECT_EQ(result->text, "");
    EXPECT_EQ(request->responseLines, nullptr);
}

TEST(HttpRequest, HeaderLineLongerThanTheBufferFinishesTheRequest) {
    // The server keeps the connection open: the request must end by itself.
    std::string head = "HTTP/1.0 200 OK\r\nX-Long: " + std::string(20000, 'a');
    LoopbackServer server(Script{{Response(head, "body")}, 0, 4000});
    Recorder* recorder = gc_new<Recorder>();
    gc_new<c_HttpRequest>()->m_new2(String("GET"), String(server.Url("/").c_str()), recorder)->p_Send();
    ASSERT_TRUE(PumpUntil([&] { return recorder->calls > 0; }, 3000));
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_EQ(recorder->status, -1);
    EXPECT_EQ(recorder->text, "");
}

TEST(HttpRequest, BodyInManySmallPiecesArrivesWhole) {
    Script script{{"HTTP/1.0 200 OK\r\n", "Content-Type: text/plain\r\n\r\n"}, 1};
    std::string body;
    for (int i = 0; i < 200; ++i) {
        std::string piece = "piece" + std::to_string(1000 + i) + "|";
        body += piece;
        script.chunks.push_back(piece);
    }
    LoopbackServer server(script);
    Recorder* result = Get(server.Url("/"));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->text, body);
    EXPECT_EQ(result->bytesReceived, static_cast<int>(body.size()));
}

TEST(HttpRequest, MalformedStatusLinesGiveMinusOne) {
    for (const char* head : {"FTP/1.0 200 OK", "HTTP/1.0 200", "X-Only: header\r\nHTTP/1.0 200 OK"}) {
        LoopbackServer server(Script{{Response(head, "ignored")}});
        Recorder* result = Get(server.Url("/"));
        EXPECT_EQ(result->status, -1) << head;
        EXPECT_EQ(result->text, "") << head;
    }
    LoopbackServer blank(Script{{"\r\nHTTP/1.0 200 OK\r\n\r\nx"}});
    EXPECT_EQ(Get(blank.Url("/"))->status, -1);
}

TEST(HttpRequest, PostSendsHeadersThenTheEncodedBody) {
    LoopbackServer server(Script{{Response("HTTP/1.0 200 OK", "stored")}});
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request =
        gc_new<c_HttpRequest>()->m_new2(String("POST"), String(server.Url("/save").c_str()), recorder);
    request->p_Send2(String(u"score=7\u20ac"), String("text/plain"), String("utf8"));
    ASSERT_TRUE(PumpUntil([&] { return recorder->calls > 0; }));
    EXPECT_EQ(recorder->status, 200);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(
        server.Requests()[0],
        "POST /save HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\nContent-Length: 10\r\n\r\n"
        "score=7\xe2\x82\xac");
}

TEST(HttpRequest, RequestInFlightSurvivesFullCollections) {
    nettest::StartCollector();
    LoopbackServer server(Script{{"HTTP/1.0 200 OK\r\n", "\r\nsurvived"}, 100});
    Recorder* recorder = gc_new<Recorder>();
    // Only the socket registry reaches the request and its recorder.
    gc_new<c_HttpRequest>()->m_new2(String("GET"), String(server.Url("/").c_str()), recorder)->p_Send();
    // Once complete, nothing reaches them any more: look before collecting.
    ASSERT_TRUE(PumpUntil([&] {
        if (recorder->calls > 0) return true;
        gc_collect_all();
        gc_destroy_garbage();
        return false;
    }));
    EXPECT_EQ(recorder->status, 200);
    EXPECT_EQ(recorder->text, "survived");
}

// [SECTION] The parser without a socket --------------------------------------

// Feeds `receives` to an opened request as its socket would, then the
// server's close. Returns the offsets the parser asked to receive at.
std::vector<int> Feed(c_HttpRequest* request, const std::vector<std::string>& receives, bool close = true) {
    request->p_WriteRequest();
    std::vector<int> offsets;
    c_HttpRequest::NextReceive next{false, 0, c_HttpRequest::kRecvBufferSize};
    for (const std::string& bytes : receives) {
        int count = std::min<int>(static_cast<int>(bytes.size()), next.count);
        for (int i = 0; i < count; ++i)
            request->recvBuffer->data[next.offset + i] = static_cast<unsigned char>(bytes[i]);
        next = request->p_TakeReceived(next.offset, count);
        if (next.finish) {
            request->p_Finish();
            return offsets;
        }
        offsets.push_back(next.offset);
    }
    if (close) request->p_Finish();
    return offsets;
}

c_HttpRequest* Opened(Recorder* recorder, const char* url = "http://example.net/a?b=c") {
    return gc_new<c_HttpRequest>()->m_new2(String("GET"), String(url), recorder);
}

TEST(HttpParser, RequestTextEndsWithTwoLineBreaks) {
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request = Opened(recorder, "http://stats.example.net/checkin.php?hello=1&gameID=3");
    int n = request->p_WriteRequest();
    std::string text(reinterpret_cast<char*>(request->sendBuffer->data), static_cast<size_t>(n));
    EXPECT_EQ(text, "GET /checkin.php?hello=1&gameID=3 HTTP/1.0\r\nHost: stats.example.net\r\n\r\n");
    EXPECT_EQ(request->headerLines->p_Length2(), 0);
}

TEST(HttpParser, UnfinishedLineMovesToTheBufferStart) {
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request = Opened(recorder);
    std::vector<int> offsets = Feed(request, {"HTT", "P/1.0 200 OK\r\nX-Y: z\r", "\n\r\nbo", "dy"});
    EXPECT_EQ(offsets, (std::vector<int>{3, 7, 0, 0}));  // "X-Y: z\r" waits at the start
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_EQ(recorder->status, 200);
    EXPECT_EQ(recorder->text, "body");
    EXPECT_EQ(recorder->bytesReceived, 4);
}

TEST(HttpParser, LinesAreTrimmedAndBlankLinesEndTheHeaders) {
    Recorder* recorder = gc_new<Recorder>();
    Feed(Opened(recorder), {"  HTTP/1.0 302 Found \r\n \t \r\nrest"});
    EXPECT_EQ(recorder->status, 302);
    EXPECT_EQ(recorder->text, "rest");
}

TEST(HttpParser, ReceiveErrorEndsTheRequestLikeAClose) {
    for (bool inBody : {false, true}) {
        Recorder* recorder = gc_new<Recorder>();
        c_HttpRequest* request = Opened(recorder);
        Feed(request, {inBody ? "HTTP/1.0 200 OK\r\n\r\npart" : "HTTP/1.0 2"}, false);
        EXPECT_TRUE(request->p_TakeReceived(inBody ? 0 : 10, -1).finish);
        request->p_Finish();
        EXPECT_EQ(recorder->calls, 1);
        EXPECT_EQ(recorder->status, inBody ? 200 : -1);
        EXPECT_EQ(recorder->text, inBody ? "part" : "");
    }
}

TEST(HttpParser, LineFillingTheWholeBufferFinishes) {
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request = Opened(recorder);
    std::vector<int> offsets =
        Feed(request, {std::string(16000, 'h'), std::string(384, 'h'), "never read"}, false);
    EXPECT_EQ(offsets, (std::vector<int>{16000}));
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_EQ(recorder->status, -1);
}

TEST(HttpParser, EachBodyReceiveIsDecodedAsUtf8OnItsOwn) {
    Recorder* recorder = gc_new<Recorder>();
    Feed(Opened(recorder), {"HTTP/1.0 200 OK\r\n\r\n\xc3\xa9", "\xc3", "\xa9"});
    // The whole character decodes; the split one falls back to single bytes.
    EXPECT_EQ(recorder->bytesReceived, 4);
    c_HttpRequest* request = Opened(recorder);
    Feed(request, {"HTTP/1.0 200 OK\r\n\r\n\xc3\xa9", "\xc3", "\xa9"});
    String text = request->p_ResponseText();
    ASSERT_EQ(text.Length(), 3);
    EXPECT_EQ(text[0], 0x00e9);
    EXPECT_EQ(text[1], 0xffc3);
    EXPECT_EQ(text[2], 0xffa9);
}

TEST(HttpParser, FinishCompletesOnceAndOpenResets) {
    Recorder* recorder = gc_new<Recorder>();
    c_HttpRequest* request = Opened(recorder);
    request->p_Finish();
    request->p_Finish();
    EXPECT_EQ(recorder->calls, 1);
    request->p_Open(String("HEAD"), String("http://other/"), recorder);
    EXPECT_EQ(request->status, -1);
    EXPECT_EQ(request->headerLines->p_Get(0).ToUtf8(), "HEAD / HTTP/1.0");
    Feed(request, {"HTTP/1.0 204 No Content\r\n\r\n"});
    EXPECT_EQ(recorder->calls, 2);
    EXPECT_EQ(recorder->status, 204);
}

TEST(HttpParser, RequestLongerThanTheSendBufferIsWrittenWhole) {
    Recorder* recorder = gc_new<Recorder>();
    std::string path = "/" + std::string(5000, 'p');
    c_HttpRequest* request = Opened(recorder, ("http://h" + path).c_str());
    int n = request->p_WriteRequest();
    std::string expected = "GET " + path + " HTTP/1.0\r\nHost: h\r\n\r\n";
    ASSERT_EQ(n, static_cast<int>(expected.size()));
    ASSERT_GE(request->sendBuffer->length, n);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(request->sendBuffer->data), static_cast<size_t>(n)),
              expected);
}

}  // namespace
