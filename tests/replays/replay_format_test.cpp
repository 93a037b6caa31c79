// The session recording format: what is written reads back the same, the
// ordinary update costs one byte, a recording cut anywhere either ends
// cleanly at a record or says it was cut, and every kind of damage gets its
// one-line problem instead of a crash or a large allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/host/replay_format.h"

namespace {

using zqreplay::Encoder;
using zqreplay::Header;
using zqreplay::MemoryInput;
using zqreplay::Reader;
using zqreplay::Record;
using Kind = zqreplay::Record::Kind;

Header SomeHeader() {
    Header h;
    h.program = "skitterwind";
    h.gameVersion = "0.1";
    h.dataVersion = 7;
    h.startMode = 2;
    h.startState = "0|0|1|\xe2\x82\xac|";
    return h;
}

// Every record of `bytes` after the header, or the reader's problem.
struct Read {
    Header header;
    std::vector<Record> records;
    std::string error;
    bool ended = false;
};

Read ReadAll(const std::string& bytes) {
    MemoryInput input(bytes.data(), bytes.size());
    Reader reader(input);
    Read out;
    if (reader.ReadHeader(out.header)) {
        Record r;
        while (reader.Next(r)) out.records.push_back(r);
    }
    out.error = reader.error();
    out.ended = reader.ended();
    return out;
}

// A recording with one record of every kind; `boundaries` gets the byte
// offset after the header and after each record.
std::string Sample(std::vector<size_t>* boundaries = nullptr) {
    Encoder e;
    auto mark = [&] {
        if (boundaries) boundaries->push_back(e.bytes().size());
    };
    e.AppendHeader(SomeHeader());
    mark();
    e.AppendDeviceSize(640, 480);
    mark();
    e.AppendStep(Kind::Start, {1000, 1000, 1003});
    mark();
    e.AppendEvent(1, 39, 0, 0, 0, false);  // Right down
    mark();
    e.AppendEvent(3, 65536 + 39, 0, 0, 0, false);
    mark();
    e.AppendEvent(6, -1, 320, 240, 0, false);
    mark();
    e.AppendEvent(4, 0, 321.5f, -0.0f, 0, false);  // raw: a fraction and a negative zero
    mark();
    e.AppendEvent(7, 2, 10.25f, 20, 0, true);
    mark();
    e.AppendEvent(10, 0, 0.5f, -1, 9.81f, false);
    mark();
    zqreplay::Joystick pad;
    pad.stickX[0] = -0.75f;
    pad.trigger[1] = 1;
    pad.buttons = 0x80000001u;
    e.AppendJoysticks(1, &pad);
    mark();
    e.AppendDesktopMode(1280, 1024, 8, 8, 8);
    mark();
    e.AppendStep(Kind::Update, {1020, 1020});
    mark();
    e.AppendEvent(2, 39, 0, 0, 0, true);  // a release raised inside a step
    mark();
    e.AppendStep(Kind::Update, {1000000});  // a long stall: the clock jumps
    mark();
    e.AppendStep(Kind::Update, {1000017, 1000018, 1000016});
    mark();
    e.AppendStep(Kind::Suspend, {});
    mark();
    e.AppendStep(Kind::Resume, {2000000});
    mark();
    e.AppendCheckpoint(3, 0x0123456789ABCDEFull);
    mark();
    e.AppendEnd(3, 42);
    mark();
    return e.TakeBytes();
}

TEST(ReplayFormat, EveryRecordKindReadsBackAsWritten) {
    Read r = ReadAll(Sample());
    ASSERT_EQ(r.error, "");
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(r.header.program, "skitterwind");
    EXPECT_EQ(r.header.gameVersion, "0.1");
    EXPECT_EQ(r.header.dataVersion, 7u);
    EXPECT_EQ(r.header.startMode, 2);
    EXPECT_EQ(r.header.startState, SomeHeader().startState);
    ASSERT_EQ(r.records.size(), 18u);
    const std::vector<Record>& x = r.records;

    EXPECT_EQ(x[0].kind, Kind::DeviceSize);
    EXPECT_EQ(x[0].values[1], 480);
    EXPECT_EQ(x[1].kind, Kind::Start);
    EXPECT_EQ(x[1].readings, (std::vector<int32_t>{1000, 1000, 1003}));
    EXPECT_EQ(x[2].event, 1);
    EXPECT_EQ(x[2].data, 39);
    EXPECT_FALSE(x[2].inner);
    EXPECT_EQ(x[3].event, 3);
    EXPECT_EQ(x[3].data, 65536 + 39);
    EXPECT_EQ(x[4].event, 6);
    EXPECT_EQ(x[4].data, -1);
    EXPECT_EQ(x[4].x, 320.0f);
    EXPECT_EQ(x[5].event, 4);
    EXPECT_EQ(x[5].x, 321.5f);
    EXPECT_TRUE(std::signbit(x[5].y)) << "positions come back bit for bit";
    EXPECT_EQ(x[6].event, 7);
    EXPECT_EQ(x[6].data, 2);
    EXPECT_EQ(x[6].x, 10.25f);
    EXPECT_TRUE(x[6].inner);
    EXPECT_EQ(x[7].event, 10);
    EXPECT_EQ(x[7].z, 9.81f);
    EXPECT_EQ(x[8].kind, Kind::Joysticks);
    EXPECT_EQ(x[8].joystickCount, 1);
    EXPECT_EQ(x[8].joysticks[0].stickX[0], -0.75f);
    EXPECT_EQ(x[8].joysticks[0].trigger[1], 1.0f);
    EXPECT_EQ(x[8].joysticks[0].buttons, 0x80000001u);
    EXPECT_EQ(x[9].kind, Kind::DesktopMode);
    EXPECT_EQ(x[9].values[0], 1280);
    EXPECT_EQ(x[10].kind, Kind::Update);
    EXPECT_EQ(x[10].readings, (std::vector<int32_t>{1020}));
    EXPECT_TRUE(x[11].inner);
    EXPECT_EQ(x[12].readings, (std::vector<int32_t>{1000000}));
    EXPECT_EQ(x[13].readings, (std::vector<int32_t>{1000017, 1000018, 1000016}));
    EXPECT_EQ(x[14].kind, Kind::Suspend);
    EXPECT_TRUE(x[14].readings.empty());
    EXPECT_EQ(x[14].clock, 1000016) << "a step without readings answers the last one";
    EXPECT_EQ(x[15].kind, Kind::Resume);
    EXPECT_EQ(x[16].kind, Kind::Checkpoint);
    EXPECT_EQ(x[16].updates, 3u);
    EXPECT_EQ(x[16].hash, 0x0123456789ABCDEFull);
    EXPECT_EQ(x[17].kind, Kind::End);
    EXPECT_EQ(x[17].hash, 42u);
}

TEST(ReplayFormat, AnOrdinaryUpdateCostsOneByte) {
    Encoder e;
    e.AppendStep(Kind::Start, {5000});
    size_t before = e.bytes().size();
    int32_t clock = 5000;
    for (int i = 0; i < 600; ++i) {
        clock += i % 3 == 0 ? 16 : 17;
        e.AppendStep(Kind::Update, {clock, clock, clock});
    }
    EXPECT_EQ(e.bytes().size() - before, 600u);
    // Key presses are small too: a press and a release in three bytes each.
    before = e.bytes().size();
    e.AppendEvent(1, 39, 0, 0, 0, false);
    e.AppendEvent(2, 39, 0, 0, 0, false);
    EXPECT_LE(e.bytes().size() - before, 6u);
}

// A held key repeats its press and its character some 25 times a second:
// each repetition of an event among the last 16 costs one byte, and reads
// back as the same event.
TEST(ReplayFormat, ARepeatedKeyEventCostsOneByte) {
    Encoder e;
    e.AppendHeader(SomeHeader());
    e.AppendEvent(1, 39, 0, 0, 0, false);
    e.AppendEvent(3, 65536 + 39, 0, 0, 0, false);
    for (int code = 65; code < 65 + 15; ++code) e.AppendEvent(1, code, 0, 0, 0, false);  // 15 others
    size_t before = e.bytes().size();
    e.AppendEvent(3, 65536 + 39, 0, 0, 0, false);  // the 16th most recent
    e.AppendEvent(1, 39, 0, 0, 0, false);          // pushed out by the one before: written in full
    e.AppendEvent(3, 65536 + 39, 0, 0, 0, false);
    EXPECT_EQ(e.bytes().size() - before, 1u + 3u + 1u);
    before = e.bytes().size();
    for (int i = 0; i < 25; ++i) {
        e.AppendEvent(1, 39, 0, 0, 0, false);
        e.AppendEvent(3, 65536 + 39, 0, 0, 0, false);
    }
    EXPECT_EQ(e.bytes().size() - before, 50u);
    e.AppendEvent(1, 39, 0, 0, 0, true);  // the same key raised inside a step is another event

    Read r = ReadAll(e.TakeBytes());
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.records.size(), 2u + 15u + 3u + 50u + 1u);
    EXPECT_EQ(r.records[17].data, 65536 + 39);
    EXPECT_EQ(r.records[18].event, 1);
    EXPECT_EQ(r.records[18].data, 39);
    for (size_t i = 20; i < 70; i += 2) {
        EXPECT_EQ(r.records[i].event, 1);
        EXPECT_EQ(r.records[i].data, 39);
        EXPECT_EQ(r.records[i + 1].event, 3);
        EXPECT_EQ(r.records[i + 1].data, 65536 + 39);
    }
    EXPECT_TRUE(r.records[70].inner);
    EXPECT_FALSE(r.records[69].inner);
}

TEST(ReplayFormat, ARecordingCutAnywhereEndsAtARecordOrSaysItWasCut) {
    std::vector<size_t> boundaries;
    const std::string whole = Sample(&boundaries);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        Read r = ReadAll(whole.substr(0, cut));
        if (cut < sizeof zqreplay::kMagic) {
            EXPECT_EQ(r.error, "not a recording") << cut;
        } else if (cut < boundaries[0]) {
            EXPECT_EQ(r.error, "damaged header (cut short)") << cut;
        } else {
            size_t complete = 0;
            while (complete + 1 < boundaries.size() && boundaries[complete + 1] <= cut) ++complete;
            bool atBoundary = boundaries[complete] == cut;
            EXPECT_EQ(r.records.size(), complete) << cut;
            if (atBoundary) {
                EXPECT_EQ(r.error, "") << "a cut between records is a valid, shorter recording: " << cut;
            } else {
                EXPECT_EQ(r.error.rfind("truncated in the middle of a record after update ", 0), 0u)
                    << cut << ": " << r.error;
            }
        }
    }
}

TEST(ReplayFormat, HeaderProblemsAreNamed) {
    const std::string good = Sample();
    EXPECT_EQ(ReadAll("PNG\r\n\x1a\n and then some").error, "not a recording");
    EXPECT_EQ(ReadAll("").error, "not a recording");

    std::string newer = good;
    newer[8] = 2;
    EXPECT_EQ(ReadAll(newer).error, "format version 2 (this program reads 1)");

    std::string flipped = good;
    flipped[33] ^= 0x01;  // a byte of the saved state
    EXPECT_EQ(ReadAll(flipped).error, "damaged header (checksum)");

    std::string badMode = good;
    badMode[30] = 3;  // start modes are 0..2
    EXPECT_EQ(ReadAll(badMode).error, "damaged header");

    // A state length far beyond the limit is refused before anything is
    // allocated for it.
    Encoder e;
    e.AppendHeader(SomeHeader());
    std::string huge = e.TakeBytes().substr(0, 10);
    huge += std::string("\x06tolvar\x01") + "0" + std::string(5, '\0');
    huge += "\xff\xff\xff\xff\xff\xff\xff\x7f";
    EXPECT_EQ(ReadAll(huge).error, "damaged header");
}

TEST(ReplayFormat, MalformedRecordsAreDamage) {
    Encoder e;
    e.AppendHeader(SomeHeader());
    e.AppendStep(Kind::Start, {});
    e.AppendStep(Kind::Update, {16});
    const std::string head = e.TakeBytes();
    auto problem = [&](const std::string& tail) { return ReadAll(head + tail).error; };

    EXPECT_EQ(problem("\xee"), "damaged record after update 1") << "an unknown tag";
    EXPECT_EQ(problem("\x90"), "damaged record after update 1") << "a recent key before any key";
    EXPECT_EQ(problem(std::string("\x8a\x05") + std::string(8, '\0')), "damaged record after update 1")
        << "a checkpoint naming another update";
    EXPECT_EQ(problem(std::string("\x8b\x01") + std::string(9, '\0')), "data after the end record");
    EXPECT_EQ(problem("\x81\x03\x00\x00"), "damaged record after update 1") << "mouse event kind 3";
    EXPECT_EQ(problem("\x7f\x81\x10"), "damaged record after update 1") << "2049 readings in one step";
    EXPECT_EQ(problem("\x80\xff\xff\xff\xff\xff\xff\xff\xff\xff\x7f"), "damaged record after update 1")
        << "a varint beyond 64 bits";
    EXPECT_EQ(problem("\x88\x05"), "damaged record after update 1") << "five joysticks";
    EXPECT_EQ(problem("\x87\x80\x80\x80\x80\x10\x00"), "damaged record after update 1") << "a huge device";
    EXPECT_EQ(problem("\x7e\xfe\xff\xff\xff\x1f"), "damaged record after update 1")
        << "a clock beyond 32 bits";
}

}  // namespace
