// The HTTP response parser on arbitrary bytes split into arbitrary
// receives, without a socket. Input: a sequence of records, each a length
// byte L followed by up to L bytes that arrive as one receive (L = 0 is a
// receive error). The end of the input is the server closing the
// connection. The request must complete exactly once, and the parser must
// only ask for receives inside its buffer.
#include <cstdint>
#include <cstdlib>

#include "net/http_request.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

class Counter : public Object, public virtual c_IOnHttpRequestComplete {
  public:
    int calls = 0;
    void p_OnHttpRequestComplete(c_HttpRequest*) override { ++calls; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (gc_mark(), true);  // queue the roots once, as the host does
    (void)started;
    Counter* counter = gc_new<Counter>();
    c_HttpRequest* request =
        gc_new<c_HttpRequest>()->m_new2(String("GET"), String("http://fuzz.example/"), counter);
    request->p_WriteRequest();
    unsigned char* buffer = request->recvBuffer->data;

    c_HttpRequest::NextReceive next{false, 0, c_HttpRequest::kRecvBufferSize};
    size_t at = 0;
    bool finished = false;
    while (!finished) {
        int count = 0;  // the close at the end of the input
        if (at < size) {
            size_t wanted = data[at++];
            if (wanted == 0) {
                count = -1;
            } else {
                size_t take = wanted < size - at ? wanted : size - at;
                if (take > static_cast<size_t>(next.count)) take = static_cast<size_t>(next.count);
                for (size_t i = 0; i < take; ++i) buffer[next.offset + i] = data[at + i];
                at += take;
                count = static_cast<int>(take);
            }
        }
        next = request->p_TakeReceived(next.offset, count);
        if (next.finish) {
            request->p_Finish();
            finished = true;
        } else {
            Check(next.offset >= 0 && next.count > 0 &&
                  next.offset + next.count <= c_HttpRequest::kRecvBufferSize);
            Check(counter->calls == 0);
        }
    }
    Check(counter->calls == 1);
    Check(request->responseLines != nullptr ||
          (request->status == -1 && request->p_ResponseText().IsEmpty()));
    Check(request->bytesReceived >= 0);
    request->p_Finish();  // a stray second finish changes nothing
    Check(counter->calls == 1);

    gc_collect_all();
    gc_destroy_garbage();
    return 0;
}
