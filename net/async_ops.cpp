// Execution (worker thread) and completion (main thread) of the socket
// operations. Execution reads only fields set before the operation was
// queued and writes only its result field.
#include "net/async_ops.h"

#include "net/socket.h"

// [SECTION] Connect ----------------------------------------------------------

c_AsyncConnectOp* c_AsyncConnectOp::m_new(ZqSocket* target, const String& hostName, int portNumber,
                                          c_IOnConnectComplete* listener) {
    gc_assign(socket, target);
    host = hostName;
    host8_ = hostName.ToNarrow();
    port = portNumber;
    gc_assign(onComplete, listener);
    return this;
}

void c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket*) {
    sockaddr_in address;
    resolve_host(&address, host8_, port);
    connected = socket->ConnectAddress(address);
}

void c_AsyncConnectOp::p_Complete(c_Socket* source) {
    if (connected) source->state |= c_Socket::kConnecting | c_Socket::kConnected;
    if (onComplete != nullptr) onComplete->p_OnConnectComplete(connected, source);
}

void c_AsyncConnectOp::mark() {
    c_AsyncOp::mark();
    gc_enqueue(socket);
    gc_enqueue(onComplete);
}

// [SECTION] Send and receive -------------------------------------------------

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(ZqSocket* target, c_DataBuffer* buffer, int byteOffset,
                                            int byteCount) {
    gc_assign(socket, target);
    gc_assign(data, buffer);
    offset = byteOffset;
    count = byteCount;
    return this;
}

void c_AsyncSocketIoOp::mark() {
    c_AsyncOp::mark();
    gc_enqueue(socket);
    gc_enqueue(data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(ZqSocket* target, c_DataBuffer* buffer, int byteOffset, int byteCount,
                                    c_IOnSendComplete* listener) {
    c_AsyncSocketIoOp::m_new(target, buffer, byteOffset, byteCount);
    gc_assign(onComplete, listener);
    return this;
}

void c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket*) {
    count = socket->Send(data, offset, count);
}

void c_AsyncSendOp::p_Complete(c_Socket* source) {
    if (onComplete != nullptr) onComplete->p_OnSendComplete(data, offset, count, source);
}

void c_AsyncSendOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_enqueue(onComplete);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(ZqSocket* target, c_DataBuffer* buffer, int byteOffset,
                                          int byteCount, c_IOnReceiveComplete* listener) {
    c_AsyncSocketIoOp::m_new(target, buffer, byteOffset, byteCount);
    gc_assign(onComplete, listener);
    return this;
}

void c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket*) {
    count = socket->Receive(data, offset, count);
}

void c_AsyncReceiveOp::p_Complete(c_Socket* source) {
    if (onComplete != nullptr) onComplete->p_OnReceiveComplete(data, offset, count, source);
}

void c_AsyncReceiveOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_enqueue(onComplete);
}
