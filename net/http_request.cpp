// c_HttpRequest: request text, the socket callbacks and the response
// parser.
//
// Response framing: while the headers are read, recvBuffer holds the
// unfinished line at its start, and each receive appends to it; complete
// lines are decoded as 8-bit text and trimmed. The first empty line ends the
// headers; the first header line must be the status line ("HTTP/..." code
// text, compared in upper case). After it every receive is one body chunk.
#include "net/http_request.h"

namespace {

const String kAscii("ascii");
const String kUtf8("utf8");

// The text without leading and trailing units up to 32 (space).
String trim_controls(const String& text) {
    int from = 0;
    int to = text.Length();
    while (from < to && text[from] <= 32) ++from;
    while (to > from && text[to - 1] <= 32) --to;
    return text.Slice(from, to);
}

}  // namespace

// [SECTION] Opening and sending ----------------------------------------------

c_HttpRequest::c_HttpRequest() {
    gc_assign(sendBuffer, gc_new<c_DataBuffer>()->m_new(kSendBufferSize));
    gc_assign(recvBuffer, gc_new<c_DataBuffer>()->m_new(kRecvBufferSize));
}

c_HttpRequest* c_HttpRequest::m_new2(const String& requestMethod, const String& text,
                                     c_IOnHttpRequestComplete* listener) {
    p_Open(requestMethod, text, listener);
    return this;
}

void c_HttpRequest::p_Open(const String& requestMethod, const String& text,
                           c_IOnHttpRequestComplete* listener) {
    method = requestMethod;
    gc_assign(url, gc_new<c_Url>()->m_new(text, String("http"), 80));
    gc_assign(onComplete, listener);
    sendData = nullptr;
    sendLength = 0;
    status = -1;
    responseLines = nullptr;
    responseText = String();
    bytesReceived = 0;
    gc_assign(headerLines, gc_new<c_StringStack>()->m_new2());
    headerLines->p_Push4(method + " " + url->p_FullPath() + " HTTP/1.0");
    headerLines->p_Push4("Host: " + url->domain);
    finished_ = false;
}

void c_HttpRequest::p_Send() {
    gc_assign(socket, gc_new<c_Socket>()->m_new(String("stream")));
    socket->p_ConnectAsync(url->domain, url->port, this);
}

void c_HttpRequest::p_Send2(const String& data, const String& mimeType, const String& encoding) {
    gc_assign(sendData, gc_new<c_DataBuffer>()->m_new(data.Length() * 3));
    sendLength = sendData->p_PokeString(0, data, encoding);
    if (!mimeType.IsEmpty()) headerLines->p_Push4("Content-Type: " + mimeType);
    headerLines->p_Push4("Content-Length: " + String(sendLength));
    p_Send();
}

int c_HttpRequest::p_WriteRequest() {
    headerLines->p_Push4(String());
    headerLines->p_Push4(String());
    String text = headerLines->p_Join(String("\r\n"));
    int n = sendBuffer->p_PokeString(0, text, kAscii);
    if (n > sendBuffer->length) {
        // Longer than the usual buffer: send it whole rather than cut off.
        gc_assign(sendBuffer, gc_new<c_DataBuffer>()->m_new(n));
        sendBuffer->p_PokeString(0, text, kAscii);
    }
    headerLines->p_Clear();
    return n;
}

// [SECTION] Socket callbacks -------------------------------------------------

void c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket*) {
    if (!connected) {
        p_Finish();
        return;
    }
    int n = p_WriteRequest();
    if (socket->p_IsConnected()) {
        socket->p_SendAsync(sendBuffer, 0, n, this);
        socket->p_ReceiveAsync(recvBuffer, 0, kRecvBufferSize, this);
    }
}

void c_HttpRequest::p_OnSendComplete(c_DataBuffer*, int, int, c_Socket*) {
    // Only the body follows the request text; send counts are not checked.
    if (sendLength != 0 && socket->p_IsConnected()) socket->p_SendAsync(sendData, 0, sendLength, this);
    sendLength = 0;
}

void c_HttpRequest::p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) {
    NextReceive next = p_TakeReceived(offset, count);
    if (next.finish) {
        p_Finish();
    } else if (socket->p_IsConnected()) {
        socket->p_ReceiveAsync(recvBuffer, next.offset, next.count, this);
    }
}

void c_HttpRequest::p_Finish() {
    if (finished_) return;
    finished_ = true;
    if (socket != nullptr) socket->p_Close();
    if (responseLines != nullptr) responseText = responseLines->p_Join(String());
    if (onComplete != nullptr) onComplete->p_OnHttpRequestComplete(this);
}

// [SECTION] Response parser --------------------------------------------------

c_HttpRequest::NextReceive c_HttpRequest::p_TakeReceived(int offset, int count) {
    // 0: the server closed the connection. Negative: a receive error, which
    // ends the request the same way. A range outside the buffer cannot come
    // from a receive and is treated as an error too.
    if (count <= 0 || offset < 0 || count > recvBuffer->length - offset) return {true, 0, 0};
    if (responseLines == nullptr) return TakeHeaderBytes(offset, count);
    bytesReceived += count;
    responseLines->p_Push4(recvBuffer->p_PeekString(offset, count, kUtf8));
    return {false, 0, kRecvBufferSize};
}

c_HttpRequest::NextReceive c_HttpRequest::TakeHeaderBytes(int offset, int count) {
    const unsigned char* bytes = recvBuffer->data;
    int end = offset + count;
    int lineStart = 0;  // bytes before offset are the unfinished line: no "\n" in them
    for (int i = offset; i < end; ++i) {
        if (bytes[i] != '\n') continue;
        String line = trim_controls(recvBuffer->p_PeekString(lineStart, i - lineStart, kAscii));
        lineStart = i + 1;
        if (!line.IsEmpty()) {
            headerLines->p_Push4(line);
            continue;
        }
        // The empty line: the headers are complete.
        if (headerLines->p_Length2() == 0) return {true, 0, 0};
        Array<String> parts = headerLines->p_Get(0).ToUpper().Split(String(" "));
        if (parts.Length() < 3 || !parts[0].StartsWith(String("HTTP/"))) return {true, 0, 0};
        status = parts[1].ToInt();
        gc_assign(responseLines, gc_new<c_StringStack>()->m_new2());
        int rest = end - lineStart;
        if (rest > 0) {
            bytesReceived += rest;
            responseLines->p_Push4(recvBuffer->p_PeekString(lineStart, rest, kUtf8));
        }
        return {false, 0, kRecvBufferSize};
    }
    // No further "\n": keep the unfinished line at the buffer's start and
    // receive after it. A line that fills the buffer leaves no room: finish.
    int unfinished = end - lineStart;
    if (lineStart > 0) recvBuffer->p_CopyBytes(lineStart, recvBuffer, 0, unfinished);
    if (unfinished >= kRecvBufferSize) return {true, 0, 0};
    return {false, unfinished, kRecvBufferSize - unfinished};
}

void c_HttpRequest::mark() {
    Object::mark();
    gc_enqueue(url);
    gc_enqueue(onComplete);
    gc_enqueue(sendData);
    gc_enqueue(responseLines);
    gc_enqueue(headerLines);
    gc_enqueue(socket);
    gc_enqueue(sendBuffer);
    gc_enqueue(recvBuffer);
}
