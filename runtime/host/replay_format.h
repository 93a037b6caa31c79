// The session recording format: what a recording holds, its encoder and its
// reader. docs/replay-format.md describes the bytes for readers written
// elsewhere; this header is the one implementation of that page.
//
// A recording is a header (magic, format version, program, game version,
// data version, the saved state the session started from, a CRC-32) and
// then a stream of records in the order the host saw them: input events,
// changes of what the host reports (device size, joysticks, desktop mode),
// one record per step the game made (start, update, suspend, resume, each
// with the clock readings the game asked for), a checkpoint after every
// 60th update and an end record when the program ended. Nothing else the
// game computes is stored.
//
// Every record is complete in itself, so a recording cut after any record
// is a valid recording of the session up to there (the recorder writes
// whole records only). The reader tells a clean end (end of file between
// records) from a truncated or damaged one.
//
// Limits (the reader refuses anything beyond them, so a hostile file never
// makes it allocate more than a few kilobytes besides the header's state):
// strings of the header up to kMaxNameBytes, the saved state up to
// kMaxStateBytes, up to kMaxReadings clock readings per step.
//
// No I/O here beyond ZqReplayInput's Read; no threads; no global state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zqreplay {

constexpr unsigned char kMagic[8] = {'T', 'V', 'R', 'E', 'C', '\r', '\n', 0x1A};
constexpr int kFormatVersion = 1;
constexpr size_t kMaxNameBytes = 256;
constexpr size_t kMaxStateBytes = 1 << 20;
constexpr size_t kMaxReadings = 1024;
constexpr int kMaxJoysticks = 4;
constexpr int kCheckpointEvery = 60;  // updates between checkpoints

// Record tags (the first byte of a record). 0x00..0x7F are updates.
enum Tag : uint8_t {
    kTagUpdateDelta = 0x7E,     // update; clock moved by a signed varint
    kTagUpdateReadings = 0x7F,  // update; its own list of readings
    kTagKey = 0x80,
    kTagMouse = 0x81,
    kTagTouch = 0x82,
    kTagMotion = 0x83,
    kTagStart = 0x84,
    kTagSuspend = 0x85,
    kTagResume = 0x86,
    kTagDeviceSize = 0x87,
    kTagJoysticks = 0x88,
    kTagDesktopMode = 0x89,
    kTagCheckpoint = 0x8A,
    kTagEnd = 0x8B,
    // 0x90..0x9F: a key event equal to entry (tag - 0x90) of the recent
    // key events (most recent first, at most kRecentKeys distinct ones).
    kTagRecentKey = 0x90,
};
constexpr int kRecentKeys = 16;

// The key events written last, most recent first: a key held down repeats
// the same press and character many times a second, and each repetition
// then costs one byte. Encoder and reader keep the same list.
class RecentKeys {
  public:
    // The index of (event, data, inner) in the list, or -1.
    int Find(int event, int data, bool inner) const;
    // Moves entry `index` (or a new entry when -1) to the front.
    void Use(int index, int event, int data, bool inner);
    bool Get(int index, int& event, int& data, bool& inner) const;

  private:
    struct Entry {
        int event, data;
        bool inner;
    };
    Entry entries_[kRecentKeys] = {};
    int count_ = 0;
};

struct Header {
    int formatVersion = kFormatVersion;
    std::string program;      // base name of the recording program
    std::string gameVersion;  // its version text
    uint32_t dataVersion = 0;
    int startMode = 0;       // the command line's start mode (0 usual, 1 full screen, 2 window)
    std::string startState;  // the saved state (UTF-8) at the session's start
};

// One joystick as the host reported it for an update.
struct Joystick {
    float stickX[2] = {0, 0};
    float stickY[2] = {0, 0};
    float trigger[2] = {0, 0};
    uint32_t buttons = 0;  // bit b: button b down
    bool operator==(const Joystick&) const = default;
};

struct Record {
    enum class Kind {
        Update,
        Start,
        Suspend,
        Resume,
        Event,
        DeviceSize,
        Joysticks,
        DesktopMode,
        Checkpoint,
        End
    };
    Kind kind = Kind::Update;

    // Steps: the clock readings the game made, in order. A reading past
    // the end of the list (or any reading of a step without one) answers
    // `clock`, the last reading so far.
    std::vector<int32_t> readings;
    int32_t clock = 0;

    // Event: the host's event number (1 key down, 2 key up, 3 character,
    // 4..6 mouse down/up/move, 7..9 touch down/up/move, 10 motion), its data
    // (key code, character, button, finger) and position. `inner`: raised
    // by the host inside a step (the key releases of a window re-open).
    int event = 0;
    int data = 0;
    float x = 0, y = 0, z = 0;
    bool inner = false;

    // DeviceSize: width, height. DesktopMode: width, height, red, green,
    // blue bits (a size of 0 is "no desktop mode").
    int values[5] = {0, 0, 0, 0, 0};

    // Joysticks: the units present, from unit 0.
    int joystickCount = 0;
    Joystick joysticks[kMaxJoysticks];

    // Checkpoint and End: updates so far and the game's state hash.
    uint32_t updates = 0;
    uint64_t hash = 0;
};

// Opens a recording file: the one place recordings meet the file system
// (paths as the command line gives them).
std::FILE* OpenFile(const std::string& path, const char* mode);

// The standard CRC-32 (reflected, polynomial EDB88320) of `size` bytes.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

// Builds the bytes of a recording. Records are appended to `bytes()`,
// which the owner writes out and clears (TakeBytes) whenever it likes: each
// Append leaves whole records only.
class Encoder {
  public:
    void AppendHeader(const Header& header);
    // A step; `readings` as the game made them.
    void AppendStep(Record::Kind kind, const std::vector<int32_t>& readings);
    void AppendEvent(int event, int data, float x, float y, float z, bool inner);
    void AppendDeviceSize(int width, int height);
    void AppendJoysticks(int count, const Joystick* joysticks);
    void AppendDesktopMode(int width, int height, int red, int green, int blue);
    void AppendCheckpoint(uint32_t updates, uint64_t hash);
    void AppendEnd(uint32_t updates, uint64_t hash);

    const std::string& bytes() const { return bytes_; }
    std::string TakeBytes();

  private:
    void Byte(uint8_t b) { bytes_.push_back(static_cast<char>(b)); }
    void Varint(uint64_t v);
    void Signed(int64_t v);
    void Float(float f);
    void U32(uint32_t v);
    void U64(uint64_t v);
    void Text(const std::string& s);

    std::string bytes_;
    int32_t clock_ = 0;                // last clock reading written
    int32_t mouseX_ = 0, mouseY_ = 0;  // last whole-pixel mouse position written
    RecentKeys recentKeys_;
};

// Where a reader's bytes come from.
class Input {
  public:
    virtual ~Input() = default;
    // Up to `size` bytes into `to`; fewer only at the end of the input.
    virtual size_t Read(void* to, size_t size) = 0;
};

class FileInput final : public Input {
  public:
    explicit FileInput(std::FILE* file) : file_(file) {}
    size_t Read(void* to, size_t size) override { return file_ ? std::fread(to, 1, size, file_) : 0; }

  private:
    std::FILE* file_;
};

class MemoryInput final : public Input {
  public:
    MemoryInput(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    size_t Read(void* to, size_t size) override;

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Reads a recording record by record. After a failure every call returns
// false and error() names the problem in a few words (no newline).
class Reader {
  public:
    explicit Reader(Input& input) : input_(input) {}

    // Reads and checks the header. Problems: "not a recording", "format
    // version N (this program reads 1)", "damaged header".
    bool ReadHeader(Header& header);
    // The next record. False at the end: a clean end leaves error() empty;
    // a record cut short gives "truncated in the middle of a record after
    // update N", anything malformed "damaged record after update N".
    bool Next(Record& record);

    const std::string& error() const { return error_; }
    bool failed() const { return !error_.empty(); }
    uint32_t updates() const { return updates_; }
    bool ended() const { return ended_; }  // the end record has been read

  private:
    enum class Got { Ok, End, Short };
    Got Bytes(void* to, size_t size);
    bool Byte(uint8_t& b);
    bool Varint(uint64_t& v);
    bool Signed(int64_t& v, int64_t limit);
    bool Int(int& v, int64_t limit);
    bool Float(float& f);
    bool U32(uint32_t& v);
    bool U64(uint64_t& v);
    bool Text(std::string& s, size_t limit);
    bool Readings(Record& record, uint64_t count);
    bool Event(uint8_t tag, Record& record);
    bool Fail(const std::string& message);
    bool Damaged();
    bool Truncated();

    Input& input_;
    std::string error_;
    bool shortRead_ = false;  // a read inside the current record hit the end
    bool inHeader_ = false;
    uint32_t headerCrc_ = 0;  // running CRC of the header bytes read
    uint32_t updates_ = 0;
    bool ended_ = false;
    int32_t clock_ = 0;
    int32_t mouseX_ = 0, mouseY_ = 0;
    RecentKeys recentKeys_;
};

}  // namespace zqreplay
