// c_Socket: a socket whose connect, send and receive run on worker threads
// and complete on the main thread through the asynchronous-event pump.
//
// Main thread only (construction, requests, state, close). Connects and
// receives go through `readQueue`, sends through `writeQueue`, so a worker
// blocked in recv holds up later reads only. Requests made in the wrong
// state are ignored and never complete. A socket registers itself as an
// event source when it starts and stays registered for the rest of the run.
#pragma once

#include "net/async_event.h"
#include "net/async_op.h"
#include "net/async_queue.h"
#include "net/zq_socket.h"
#include "runtime/lang/databuffer.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

class c_Socket : public Object, public virtual c_IAsyncEventSource {
  public:
    // State bits. A successful connect sets kConnecting | kConnected; no
    // operation of this runtime sets kListening.
    static constexpr int kOpen = 1;
    static constexpr int kConnecting = 2;
    static constexpr int kConnected = 4;
    static constexpr int kListening = 8;

    ZqSocket* socket = nullptr;
    int protocol = 0;  // ZQ_SOCKET_*
    int state = 0;
    c_AsyncQueue* readQueue = nullptr;   // connects and receives
    c_AsyncQueue* writeQueue = nullptr;  // sends

    // "stream", "server" or "datagram" (exact, lower case); any other name
    // stops with "Illegal socket protocol", a refused socket with "Socket
    // open failed".
    c_Socket* m_new(const String& protocolName);
    // Around an existing (accepted) socket.
    c_Socket* m_new2(ZqSocket* socket, int protocol, int state);

    // Makes the queues and registers the socket as an event source.
    void p_Start();

    // Only when open and neither connected nor listening.
    void p_ConnectAsync(const String& host, int port, c_IOnConnectComplete* onComplete);
    // Only when connected. The buffer belongs to the operation until it
    // completes: do not change, discard or reuse it before then.
    void p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
    void p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete);

    // Read-queue completions, then write-queue completions.
    void p_UpdateAsyncEvents() override;
    // Closes the socket; queued operations still execute (and fail) and
    // complete.
    void p_Close();

    bool p_IsOpen() const { return (state & kOpen) != 0; }
    bool p_IsConnected() const { return (state & kConnected) != 0; }
    bool p_IsListening() const { return (state & kListening) != 0; }

    void mark() override;
};
