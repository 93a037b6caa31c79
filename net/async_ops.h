// The three socket operations: connect, send and receive.
//
// Each is filled in on the main thread, executed on its queue's worker and
// completed on the main thread (see async_queue.h for how the fields are
// handed across). The connect operation resolves a private 8-bit copy of
// its host name made at construction, so the worker never reads a String.
#pragma once

#include <string>

#include "net/async_op.h"
#include "net/zq_socket.h"
#include "runtime/lang/databuffer.h"
#include "runtime/lang/string.h"

class c_AsyncConnectOp : public c_AsyncOp {
  public:
    ZqSocket* socket = nullptr;
    String host;  // main thread only
    int port = 0;
    c_IOnConnectComplete* onComplete = nullptr;
    bool connected = false;  // the result, written by the worker

    c_AsyncConnectOp* m_new(ZqSocket* socket, const String& host, int port, c_IOnConnectComplete* onComplete);
    // Resolves and connects; connected = the call succeeded.
    void p_Execute__UNSAFE__(c_Socket* source) override;
    // Marks the socket connected on success, then tells onComplete.
    void p_Complete(c_Socket* source) override;
    void mark() override;

  private:
    std::string host8_;  // the worker's copy of `host`: each unit's low byte
};

// The shared part of send and receive.
class c_AsyncSocketIoOp : public c_AsyncOp {
  public:
    ZqSocket* socket = nullptr;
    c_DataBuffer* data = nullptr;
    int offset = 0;
    int count = 0;  // requested bytes; after execution the system call's result

    c_AsyncSocketIoOp* m_new(ZqSocket* socket, c_DataBuffer* data, int offset, int count);
    void mark() override;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
  public:
    c_IOnSendComplete* onComplete = nullptr;

    c_AsyncSendOp* m_new(ZqSocket* socket, c_DataBuffer* data, int offset, int count,
                         c_IOnSendComplete* onComplete);
    void p_Execute__UNSAFE__(c_Socket* source) override;
    void p_Complete(c_Socket* source) override;
    void mark() override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
  public:
    c_IOnReceiveComplete* onComplete = nullptr;

    c_AsyncReceiveOp* m_new(ZqSocket* socket, c_DataBuffer* data, int offset, int count,
                            c_IOnReceiveComplete* onComplete);
    void p_Execute__UNSAFE__(c_Socket* source) override;
    void p_Complete(c_Socket* source) override;
    void mark() override;
};
