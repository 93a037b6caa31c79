// The data buffer's asynchronous load: a worker thread fills a buffer from
// a file and hands it to its thread object.
//
// Threading: runs on the worker. The buffer belongs to the worker until the
// main thread sees the thread finish (ZqThread::IsRunning() false, then
// Result()); `path` must be the worker's own String (ZqThread::Strdup),
// since reference counts are not thread-safe. The load goes through the
// host's LoadData, which worker threads may call.
#pragma once

#include "net/zq_thread.h"
#include "runtime/lang/databuffer.h"
#include "runtime/lang/string.h"

// Loads the file like ZqDataBuffer::_Load and, on success, publishes the
// buffer with thread->SetResult(buffer). False when the buffer already has
// data, there is no host, or the file cannot be read.
bool zq_databuffer_LoadAsync(ZqDataBuffer* buffer, const String& path, ZqThread* thread);
