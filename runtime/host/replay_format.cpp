// The recording format's encoder and reader (see replay_format.h and
// docs/replay-format.md).
//
//   [SECTION] Primitives   CRC-32, varints, zigzag, little-endian numbers
//   [SECTION] Encoder
//   [SECTION] Reader
#include "runtime/host/replay_format.h"

#include <cmath>
#include <cstring>

namespace zqreplay {

namespace {

// Start modes: 0 the usual start, 1 full screen, 2 a window.
constexpr uint8_t kMaxStartMode = 2;
// Largest magnitude accepted for sizes and colour depths.
constexpr int64_t kMaxDimension = 1 << 24;
// Integral mouse positions up to this magnitude are written as deltas.
constexpr int64_t kWholePixelLimit = 1 << 24;
constexpr float kMaxWholePixel = kWholePixelLimit;

constexpr int kEventKeyDown = 1, kEventChar = 3;
constexpr int kEventMouseDown = 4, kEventMouseMove = 6;
constexpr int kEventTouchDown = 7, kEventTouchMove = 9;
// Mouse record flags (the byte after the tag).
constexpr uint8_t kMouseButtonFollows = 7;  // button field value: a varint follows
constexpr uint8_t kMouseInner = 1 << 5;
constexpr uint8_t kMouseRaw = 1 << 6;

uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}

int64_t UnZigZag(uint64_t v) {
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

bool WholePixel(float v) {
    // Negative zero is kept raw: a delta could not give its sign back.
    return std::isfinite(v) && std::fabs(v) < kMaxWholePixel && v == std::floor(v) &&
           !(v == 0.0f && std::signbit(v));
}

}  // namespace

// [SECTION] Primitives --------------------------------------------------------

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    const auto* p = static_cast<const uint8_t*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

int RecentKeys::Find(int event, int data, bool inner) const {
    for (int i = 0; i < count_; ++i)
        if (entries_[i].event == event && entries_[i].data == data && entries_[i].inner == inner) return i;
    return -1;
}

void RecentKeys::Use(int index, int event, int data, bool inner) {
    if (index < 0) index = count_ < kRecentKeys ? count_++ : kRecentKeys - 1;
    for (int i = index; i > 0; --i) entries_[i] = entries_[i - 1];
    entries_[0] = {event, data, inner};
}

bool RecentKeys::Get(int index, int& event, int& data, bool& inner) const {
    if (index < 0 || index >= count_) return false;
    event = entries_[index].event;
    data = entries_[index].data;
    inner = entries_[index].inner;
    return true;
}

// [SECTION] Encoder -----------------------------------------------------------

void Encoder::Varint(uint64_t v) {
    while (v >= 0x80) {
        Byte(static_cast<uint8_t>(v | 0x80));
        v >>= 7;
    }
    Byte(static_cast<uint8_t>(v));
}

void Encoder::Signed(int64_t v) {
    Varint(ZigZag(v));
}

void Encoder::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
}

void Encoder::U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
}

void Encoder::Float(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    U32(bits);
}

void Encoder::Text(const std::string& s) {
    Varint(s.size());
    bytes_ += s;
}

std::string Encoder::TakeBytes() {
    std::string out;
    out.swap(bytes_);
    return out;
}

void Encoder::AppendHeader(const Header& header) {
    size_t start = bytes_.size();
    bytes_.append(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
    Byte(static_cast<uint8_t>(header.formatVersion));
    Byte(static_cast<uint8_t>(header.formatVersion >> 8));
    Text(header.program.substr(0, kMaxNameBytes));
    Text(header.gameVersion.substr(0, kMaxNameBytes));
    U32(header.dataVersion);
    Byte(static_cast<uint8_t>(header.startMode));
    Text(header.startState.substr(0, kMaxStateBytes));
    U32(Crc32(bytes_.data() + start, bytes_.size() - start));
}

void Encoder::AppendStep(Record::Kind kind, const std::vector<int32_t>& readings) {
    size_t n = readings.size() < kMaxReadings ? readings.size() : kMaxReadings;
    if (kind == Record::Kind::Update) {
        bool allEqual = true;
        for (size_t i = 1; i < n; ++i) allEqual = allEqual && readings[i] == readings[0];
        if (allEqual) {
            // The usual update: every reading the same, a small step on.
            int32_t value = n > 0 ? readings[0] : clock_;
            int64_t delta = static_cast<int64_t>(value) - clock_;
            if (delta >= 0 && delta < kTagUpdateDelta) {
                Byte(static_cast<uint8_t>(delta));
            } else {
                Byte(kTagUpdateDelta);
                Signed(delta);
            }
            clock_ = value;
            return;
        }
        Byte(kTagUpdateReadings);
    } else {
        Byte(kind == Record::Kind::Start     ? kTagStart
             : kind == Record::Kind::Suspend ? kTagSuspend
                                             : kTagResume);
    }
    Varint(n);
    for (size_t i = 0; i < n; ++i) {
        Signed(static_cast<int64_t>(readings[i]) - clock_);
        clock_ = readings[i];
    }
}

void Encoder::AppendEvent(int event, int data, float x, float y, float z, bool inner) {
    if (event >= kEventKeyDown && event <= kEventChar) {
        int recent = recentKeys_.Find(event, data, inner);
        if (recent >= 0) {
            Byte(static_cast<uint8_t>(kTagRecentKey + recent));
        } else {
            Byte(kTagKey);
            Varint(ZigZag(data) << 3 | (inner ? 4u : 0u) | static_cast<uint64_t>(event - kEventKeyDown));
        }
        recentKeys_.Use(recent, event, data, inner);
    } else if (event >= kEventMouseDown && event <= kEventMouseMove) {
        Byte(kTagMouse);
        bool whole = WholePixel(x) && WholePixel(y);
        uint8_t button = data >= -1 && data < 6 ? static_cast<uint8_t>(data + 1) : kMouseButtonFollows;
        Byte(static_cast<uint8_t>(event - kEventMouseDown) | static_cast<uint8_t>(button << 2) |
             (inner ? kMouseInner : 0) | (whole ? 0 : kMouseRaw));
        if (button == kMouseButtonFollows) Signed(data);
        if (whole) {
            Signed(static_cast<int64_t>(x) - mouseX_);
            Signed(static_cast<int64_t>(y) - mouseY_);
            mouseX_ = static_cast<int32_t>(x);
            mouseY_ = static_cast<int32_t>(y);
        } else {
            Float(x);
            Float(y);
        }
    } else if (event >= kEventTouchDown && event <= kEventTouchMove) {
        Byte(kTagTouch);
        Byte(static_cast<uint8_t>(event - kEventTouchDown) | (inner ? 4 : 0));
        Signed(data);
        Float(x);
        Float(y);
    } else {
        Byte(kTagMotion);
        Byte(inner ? 1 : 0);
        Signed(event);
        Signed(data);
        Float(x);
        Float(y);
        Float(z);
    }
}

void Encoder::AppendDeviceSize(int width, int height) {
    Byte(kTagDeviceSize);
    Signed(width);
    Signed(height);
}

void Encoder::AppendJoysticks(int count, const Joystick* joysticks) {
    Byte(kTagJoysticks);
    Byte(static_cast<uint8_t>(count));
    for (int u = 0; u < count; ++u) {
        const Joystick& j = joysticks[u];
        for (int i = 0; i < 2; ++i) {
            Float(j.stickX[i]);
            Float(j.stickY[i]);
            Float(j.trigger[i]);
        }
        U32(j.buttons);
    }
}

void Encoder::AppendDesktopMode(int width, int height, int red, int green, int blue) {
    Byte(kTagDesktopMode);
    for (int v : {width, height, red, green, blue}) Signed(v);
}

void Encoder::AppendCheckpoint(uint32_t updates, uint64_t hash) {
    Byte(kTagCheckpoint);
    Varint(updates);
    U64(hash);
}

void Encoder::AppendEnd(uint32_t updates, uint64_t hash) {
    Byte(kTagEnd);
    Varint(updates);
    U64(hash);
}

// [SECTION] Reader ------------------------------------------------------------

size_t MemoryInput::Read(void* to, size_t size) {
    size_t n = size < size_ - at_ ? size : size_ - at_;
    if (n > 0) std::memcpy(to, data_ + at_, n);
    at_ += n;
    return n;
}

Reader::Got Reader::Bytes(void* to, size_t size) {
    size_t got = input_.Read(to, size);
    if (inHeader_) headerCrc_ = Crc32(to, got, headerCrc_);
    if (got == size) return Got::Ok;
    shortRead_ = true;
    return got == 0 ? Got::End : Got::Short;
}

bool Reader::Byte(uint8_t& b) {
    return Bytes(&b, 1) == Got::Ok;
}

bool Reader::Varint(uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        uint8_t b;
        if (!Byte(b)) return false;
        if (shift == 63 && b > 1) return false;  // more than 64 bits
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (b < 0x80) return true;
    }
    return false;
}

bool Reader::Signed(int64_t& v, int64_t limit) {
    uint64_t raw;
    if (!Varint(raw)) return false;
    v = UnZigZag(raw);
    return v >= -limit - 1 && v <= limit;
}

bool Reader::Int(int& v, int64_t limit) {
    int64_t wide;
    if (!Signed(wide, limit)) return false;
    v = static_cast<int>(wide);
    return true;
}

bool Reader::U32(uint32_t& v) {
    uint8_t b[4];
    if (Bytes(b, 4) != Got::Ok) return false;
    v = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
        static_cast<uint32_t>(b[3]) << 24;
    return true;
}

bool Reader::U64(uint64_t& v) {
    uint32_t lo, hi;
    if (!U32(lo) || !U32(hi)) return false;
    v = static_cast<uint64_t>(hi) << 32 | lo;
    return true;
}

bool Reader::Float(float& f) {
    uint32_t bits;
    if (!U32(bits)) return false;
    std::memcpy(&f, &bits, sizeof f);
    return true;
}

bool Reader::Text(std::string& s, size_t limit) {
    uint64_t size;
    if (!Varint(size) || size > limit) return false;
    s.assign(static_cast<size_t>(size), '\0');
    return size == 0 || Bytes(s.data(), s.size()) == Got::Ok;
}

bool Reader::Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
}

bool Reader::Damaged() {
    if (shortRead_) return Truncated();
    return Fail("damaged record after update " + std::to_string(updates_));
}

bool Reader::Truncated() {
    return Fail("truncated in the middle of a record after update " + std::to_string(updates_));
}

bool Reader::ReadHeader(Header& header) {
    inHeader_ = true;
    headerCrc_ = 0;
    unsigned char magic[sizeof kMagic];
    if (Bytes(magic, sizeof magic) != Got::Ok || std::memcmp(magic, kMagic, sizeof magic) != 0)
        return Fail("not a recording");
    uint8_t version[2];
    if (Bytes(version, 2) != Got::Ok) return Fail("damaged header (cut short)");
    header.formatVersion = version[0] | version[1] << 8;
    // Everything after the version may change with it: check it first.
    if (header.formatVersion != kFormatVersion)
        return Fail("format version " + std::to_string(header.formatVersion) + " (this program reads " +
                    std::to_string(kFormatVersion) + ")");
    uint8_t startMode = 0;
    bool complete = Text(header.program, kMaxNameBytes) && Text(header.gameVersion, kMaxNameBytes) &&
                    U32(header.dataVersion) && Byte(startMode) && startMode <= kMaxStartMode &&
                    Text(header.startState, kMaxStateBytes);
    header.startMode = startMode;
    uint32_t expected = headerCrc_;
    inHeader_ = false;
    uint32_t stored;
    if (!complete || !U32(stored)) return Fail(shortRead_ ? "damaged header (cut short)" : "damaged header");
    if (stored != expected) return Fail("damaged header (checksum)");
    return true;
}

bool Reader::Readings(Record& record, uint64_t count) {
    if (count > kMaxReadings) return false;
    record.readings.clear();
    for (uint64_t i = 0; i < count; ++i) {
        int64_t delta;
        if (!Signed(delta, int64_t{1} << 32)) return false;
        int64_t value = clock_ + delta;
        if (value < INT32_MIN || value > INT32_MAX) return false;
        clock_ = static_cast<int32_t>(value);
        record.readings.push_back(clock_);
    }
    return true;
}

bool Reader::Event(uint8_t tag, Record& record) {
    record.kind = Record::Kind::Event;
    record.x = record.y = record.z = 0;
    uint8_t flags = 0;
    switch (tag) {
        case kTagKey: {
            uint64_t v;
            if (!Varint(v) || (v & 3) == 3 || (v >> 3) > 0xFFFFFFFFu) return false;
            record.event = kEventKeyDown + static_cast<int>(v & 3);
            record.inner = (v & 4) != 0;
            record.data = static_cast<int>(UnZigZag(v >> 3));
            recentKeys_.Use(-1, record.event, record.data, record.inner);
            return true;
        }
        case kTagMouse: {
            if (!Byte(flags) || (flags & 3) == 3 || (flags & 0x80) != 0) return false;
            record.event = kEventMouseDown + (flags & 3);
            record.inner = (flags & kMouseInner) != 0;
            int button = (flags >> 2) & 7;
            if (button == kMouseButtonFollows) {
                if (!Int(record.data, INT32_MAX)) return false;
            } else {
                record.data = button - 1;
            }
            if (flags & kMouseRaw) return Float(record.x) && Float(record.y);
            int64_t dx, dy;
            if (!Signed(dx, int64_t{1} << 25) || !Signed(dy, int64_t{1} << 25)) return false;
            int64_t x = mouseX_ + dx, y = mouseY_ + dy;
            if (x <= -kWholePixelLimit || x >= kWholePixelLimit || y <= -kWholePixelLimit ||
                y >= kWholePixelLimit)
                return false;
            mouseX_ = static_cast<int32_t>(x);
            mouseY_ = static_cast<int32_t>(y);
            record.x = static_cast<float>(x);
            record.y = static_cast<float>(y);
            return true;
        }
        case kTagTouch:
            if (!Byte(flags) || (flags & 3) == 3 || flags > 7) return false;
            record.event = kEventTouchDown + (flags & 3);
            record.inner = (flags & 4) != 0;
            return Int(record.data, INT32_MAX) && Float(record.x) && Float(record.y);
        default:  // kTagMotion
            if (!Byte(flags) || flags > 1) return false;
            record.inner = flags == 1;
            // Events 1..9 have records of their own.
            return Int(record.event, INT32_MAX) &&
                   (record.event < kEventKeyDown || record.event > kEventTouchMove) &&
                   Int(record.data, INT32_MAX) && Float(record.x) && Float(record.y) && Float(record.z);
    }
}

bool Reader::Next(Record& record) {
    if (failed()) return false;
    shortRead_ = false;
    uint8_t tag;
    switch (Bytes(&tag, 1)) {
        case Got::Ok:
            break;
        default:
            return false;  // the end of the recording, between records
    }
    if (ended_) return Fail("data after the end record");
    record.readings.clear();
    if (tag < kTagUpdateDelta) {
        if (clock_ > INT32_MAX - tag) return Damaged();
        clock_ += tag;
        record.kind = Record::Kind::Update;
        record.readings.push_back(clock_);
    } else if (tag == kTagUpdateDelta) {
        int64_t delta;
        if (!Signed(delta, int64_t{1} << 32)) return Damaged();
        int64_t value = clock_ + delta;
        if (value < INT32_MIN || value > INT32_MAX) return Damaged();
        clock_ = static_cast<int32_t>(value);
        record.kind = Record::Kind::Update;
        record.readings.push_back(clock_);
    } else if (tag == kTagUpdateReadings || tag == kTagStart || tag == kTagSuspend || tag == kTagResume) {
        uint64_t count;
        if (!Varint(count) || !Readings(record, count)) return Damaged();
        record.kind = tag == kTagUpdateReadings ? Record::Kind::Update
                      : tag == kTagStart        ? Record::Kind::Start
                      : tag == kTagSuspend      ? Record::Kind::Suspend
                                                : Record::Kind::Resume;
    } else if (tag >= kTagKey && tag <= kTagMotion) {
        if (!Event(tag, record)) return Damaged();
    } else if (tag >= kTagRecentKey && tag < kTagRecentKey + kRecentKeys) {
        record.kind = Record::Kind::Event;
        record.x = record.y = record.z = 0;
        if (!recentKeys_.Get(tag - kTagRecentKey, record.event, record.data, record.inner)) return Damaged();
        recentKeys_.Use(tag - kTagRecentKey, record.event, record.data, record.inner);
    } else if (tag == kTagDeviceSize) {
        record.kind = Record::Kind::DeviceSize;
        record.values[2] = record.values[3] = record.values[4] = 0;
        if (!Int(record.values[0], kMaxDimension) || !Int(record.values[1], kMaxDimension)) return Damaged();
    } else if (tag == kTagDesktopMode) {
        record.kind = Record::Kind::DesktopMode;
        for (int& v : record.values)
            if (!Int(v, kMaxDimension)) return Damaged();
    } else if (tag == kTagJoysticks) {
        record.kind = Record::Kind::Joysticks;
        uint8_t count;
        if (!Byte(count) || count > kMaxJoysticks) return Damaged();
        record.joystickCount = count;
        for (int u = 0; u < count; ++u) {
            Joystick& j = record.joysticks[u];
            for (int i = 0; i < 2; ++i)
                if (!Float(j.stickX[i]) || !Float(j.stickY[i]) || !Float(j.trigger[i])) return Damaged();
            if (!U32(j.buttons)) return Damaged();
        }
    } else if (tag == kTagCheckpoint || tag == kTagEnd) {
        record.kind = tag == kTagEnd ? Record::Kind::End : Record::Kind::Checkpoint;
        uint64_t updates;
        if (!Varint(updates) || !U64(record.hash)) return Damaged();
        // A checkpoint names the update it follows; any other count is damage.
        if (updates != updates_) return Damaged();
        record.updates = updates_;
        ended_ = tag == kTagEnd;
    } else {
        return Damaged();
    }
    if (record.kind == Record::Kind::Update) ++updates_;
    record.clock = clock_;
    return true;
}

}  // namespace zqreplay
