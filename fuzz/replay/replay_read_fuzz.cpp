// The session recording reader on arbitrary bytes: it never reads outside
// the input, never returns more records than there are bytes, stops for
// good after a problem, and every record it accepts is written back by the
// encoder into a recording that reads the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/host/replay_format.h"

namespace {

using zqreplay::Record;

void check(bool condition) {
    if (!condition) std::abort();
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void Append(zqreplay::Encoder& e, const Record& r) {
    switch (r.kind) {
        case Record::Kind::Event:
            e.AppendEvent(r.event, r.data, r.x, r.y, r.z, r.inner);
            break;
        case Record::Kind::DeviceSize:
            e.AppendDeviceSize(r.values[0], r.values[1]);
            break;
        case Record::Kind::Joysticks:
            e.AppendJoysticks(r.joystickCount, r.joysticks);
            break;
        case Record::Kind::DesktopMode:
            e.AppendDesktopMode(r.values[0], r.values[1], r.values[2], r.values[3], r.values[4]);
            break;
        case Record::Kind::Checkpoint:
            e.AppendCheckpoint(r.updates, r.hash);
            break;
        case Record::Kind::End:
            e.AppendEnd(r.updates, r.hash);
            break;
        default:
            e.AppendStep(r.kind, r.readings);
            break;
    }
}

void CheckSame(const Record& a, const Record& b) {
    check(a.kind == b.kind);
    check(a.clock == b.clock);
    if (a.kind == Record::Kind::Event) {
        check(a.event == b.event && a.data == b.data && a.inner == b.inner);
        check(SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z));
    } else if (a.kind == Record::Kind::Checkpoint || a.kind == Record::Kind::End) {
        check(a.updates == b.updates && a.hash == b.hash);
    } else if (a.kind == Record::Kind::Joysticks) {
        check(a.joystickCount == b.joystickCount);
        for (int u = 0; u < a.joystickCount; ++u) check(a.joysticks[u].buttons == b.joysticks[u].buttons);
    } else if (a.kind == Record::Kind::DeviceSize || a.kind == Record::Kind::DesktopMode) {
        check(std::memcmp(a.values, b.values, sizeof a.values) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zqreplay::MemoryInput input(data, size);
    zqreplay::Reader reader(input);
    zqreplay::Header header;
    if (!reader.ReadHeader(header)) {
        check(reader.failed());
        return 0;
    }
    check(header.startState.size() <= size);
    std::vector<Record> records;
    Record r;
    while (reader.Next(r)) {
        records.push_back(r);
        check(records.size() <= size);
    }
    if (reader.failed()) check(!reader.Next(r));

    zqreplay::Encoder encoder;
    encoder.AppendHeader(header);
    for (const Record& record : records) Append(encoder, record);
    const std::string again = encoder.TakeBytes();
    zqreplay::MemoryInput input2(again.data(), again.size());
    zqreplay::Reader reader2(input2);
    zqreplay::Header header2;
    check(reader2.ReadHeader(header2));
    check(header2.startState == header.startState && header2.dataVersion == header.dataVersion);
    for (const Record& record : records) {
        Record back;
        check(reader2.Next(back));
        CheckSame(record, back);
    }
    check(!reader2.Next(r) && !reader2.failed());
    return 0;
}
