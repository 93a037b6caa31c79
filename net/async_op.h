// Asynchronous socket operations: the base class c_AsyncOp and the
// completion interfaces that receive their results.
//
// An operation is created and queued on the main thread, executed once on
// its queue's worker thread (p_Execute__UNSAFE__), then completed on the
// main thread by the pump (p_Complete). Execution touches only the
// operation's own plain fields and its ZqSocket: never the collector, never
// a shared String.
#pragma once

#include "runtime/lang/databuffer.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/object.h"

class c_Socket;

class c_IOnConnectComplete : public virtual gc_interface {
  public:
    virtual void p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

class c_IOnSendComplete : public virtual gc_interface {
  public:
    // `count` is what the system call returned: bytes sent, or negative.
    virtual void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_IOnReceiveComplete : public virtual gc_interface {
  public:
    // `count`: bytes received, 0 when the peer closed, negative on error.
    virtual void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_AsyncOp : public Object {
  public:
    // Main thread, once, after execution.
    virtual void p_Complete(c_Socket* source) = 0;
    // Worker thread, once.
    virtual void p_Execute__UNSAFE__(c_Socket* source) = 0;
};
