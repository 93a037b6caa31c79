// c_Socket: protocol names, state bits and the three asynchronous requests.
#include "net/socket.h"

#include "net/async_ops.h"
#include "runtime/lang/errors.h"

namespace {

// The protocol number of a name, or 0 for an unknown one.
int protocol_of(const String& name) {
    if (name == String("stream")) return ZQ_SOCKET_STREAM;
    if (name == String("server")) return ZQ_SOCKET_SERVER;
    if (name == String("datagram")) return ZQ_SOCKET_DATAGRAM;
    return 0;
}

}  // namespace

c_Socket* c_Socket::m_new(const String& protocolName) {
    int number = protocol_of(protocolName);
    if (number == 0) zqError(String("Illegal socket protocol"));
    ZqSocket* opened = gc_new<ZqSocket>();
    if (!opened->Open(number)) zqError(String("Socket open failed"));
    gc_assign(socket, opened);
    protocol = number;
    state = kOpen;
    p_Start();
    return this;
}

c_Socket* c_Socket::m_new2(ZqSocket* existing, int protocolNumber, int initialState) {
    gc_assign(socket, existing);
    protocol = protocolNumber;
    state = initialState;
    p_Start();
    return this;
}

void c_Socket::p_Start() {
    gc_assign(readQueue, gc_new<c_AsyncQueue>()->m_new(this));
    gc_assign(writeQueue, gc_new<c_AsyncQueue>()->m_new(this));
    zq_asyncevent_AddAsyncEventSource(this);
}

void c_Socket::p_ConnectAsync(const String& host, int port, c_IOnConnectComplete* onComplete) {
    if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return;
    readQueue->p_Enqueue(gc_new<c_AsyncConnectOp>()->m_new(socket, host, port, onComplete));
}

void c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete) {
    if (!p_IsConnected()) return;
    writeQueue->p_Enqueue(gc_new<c_AsyncSendOp>()->m_new(socket, data, offset, count, onComplete));
}

void c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete) {
    if (!p_IsConnected()) return;
    readQueue->p_Enqueue(gc_new<c_AsyncReceiveOp>()->m_new(socket, data, offset, count, onComplete));
}

void c_Socket::p_UpdateAsyncEvents() {
    readQueue->p_UpdateAsyncEvents();
    writeQueue->p_UpdateAsyncEvents();
}

void c_Socket::p_Close() {
    if (socket->IsOpen()) socket->Close();
    state = 0;
}

void c_Socket::mark() {
    Object::mark();
    gc_enqueue(socket);
    gc_enqueue(readQueue);
    gc_enqueue(writeQueue);
}
