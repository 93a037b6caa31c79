// c_HttpRequest: a minimal asynchronous HTTP/1.0 client. It connects a
// stream c_Socket to the URL's host and port, sends one request (and an
// optional body), reads the status line, skips the other headers, collects
// the body until the server closes the connection, and then calls its
// completion once with the status (-1 when no valid status line came) and
// the body text.
//
// Main thread only; it progresses inside zq_asyncevent_UpdateAsyncEvents.
// No keep-alive, no redirects, no header other than the status line is read.
//
// Limits: a header line longer than the 16384-byte receive buffer ends the
// request (status -1); each receive of the body is decoded as UTF-8 on its
// own (a character split across receives falls back to single bytes).
//
// The response parser is reachable without a socket: p_WriteRequest() and
// p_TakeReceived() are the steps that the socket callbacks run, so a test or
// fuzzer can fill recvBuffer itself and feed it receive by receive.
#pragma once

#include "net/async_op.h"
#include "net/socket.h"
#include "net/url.h"
#include "runtime/lang/containers.h"
#include "runtime/lang/databuffer.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

class c_HttpRequest;

class c_IOnHttpRequestComplete : public virtual gc_interface {
  public:
    virtual void p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

class c_HttpRequest : public Object,
                      public virtual c_IOnConnectComplete,
                      public virtual c_IOnSendComplete,
                      public virtual c_IOnReceiveComplete {
  public:
    static constexpr int kSendBufferSize = 4096;
    static constexpr int kRecvBufferSize = 16384;

    String method;
    c_Url* url = nullptr;
    c_IOnHttpRequestComplete* onComplete = nullptr;
    c_DataBuffer* sendData = nullptr;        // a body waiting to be sent
    int sendLength = 0;                      // its bytes; 0 when none
    int status = -1;                         // -1 until a status line was read
    c_StringStack* responseLines = nullptr;  // body chunks; null while reading headers
    String responseText;                     // the body, set when finished
    int bytesReceived = 0;                   // body bytes
    c_StringStack* headerLines = nullptr;    // request lines to send, later received headers
    c_Socket* socket = nullptr;
    c_DataBuffer* sendBuffer = nullptr;  // the request text
    c_DataBuffer* recvBuffer = nullptr;  // receives; an unfinished header line at its start

    // What the parser wants after a receive: finish, or receive `count`
    // bytes into recvBuffer at `offset`.
    struct NextReceive {
        bool finish;
        int offset;
        int count;
    };

    c_HttpRequest();

    c_HttpRequest* m_new() { return this; }
    c_HttpRequest* m_new2(const String& method, const String& url, c_IOnHttpRequestComplete* onComplete);
    // Resets the request: a new c_Url (default scheme "http", port 80), the
    // request line and the Host line.
    void p_Open(const String& method, const String& url, c_IOnHttpRequestComplete* onComplete);
    // Connects; the request goes out once connected.
    void p_Send();
    // Sends `data`, encoded as `encoding` ("utf8" or "ascii"), as the body,
    // with Content-Type (when mimeType is not empty) and Content-Length.
    void p_Send2(const String& data, const String& mimeType, const String& encoding);
    int p_Status() const { return status; }
    String p_ResponseText() const { return responseText; }

    void p_OnConnectComplete(bool connected, c_Socket* source) override;
    void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;

    // Closes the socket, joins the body and calls the completion. Only the
    // first call after p_Open does anything.
    void p_Finish();

    // The request text (request line, headers, empty line) written into
    // sendBuffer as 8-bit text; returns its byte count. Empties headerLines
    // for the received headers.
    int p_WriteRequest();
    // Takes one receive: `count` new bytes at `offset` of recvBuffer (0 when
    // the server closed, negative on error).
    NextReceive p_TakeReceived(int offset, int count);

    void mark() override;

  private:
    NextReceive TakeHeaderBytes(int offset, int count);
    bool finished_ = false;
};
