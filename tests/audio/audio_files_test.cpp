// Sound file loading: our WAV reader and the Ogg Vorbis decoder against
// files made at test time by independent tools (sox, oggenc, oggdec).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/audio_file.h"
#include "runtime/lang/gc.h"
#include "sound_tools.h"

namespace {

struct Decoded {
    unsigned char* data = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;

    Decoded() = default;
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;
    ~Decoded() { std::free(data); }
    bool ok() const { return data != nullptr; }
};

class AudioFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        ASSERT_TRUE(MakeSound(*dir_ / "m8.wav", "-r 8000 -b 8 -c 1", "synth 0.5 sine 440"));
        ASSERT_TRUE(MakeSound(*dir_ / "s8.wav", "-r 11025 -b 8 -c 2", "synth 0.3 sine 440 sine 660"));
        ASSERT_TRUE(MakeSound(*dir_ / "m16.wav", "-r 16000 -b 16 -c 1", "synth 0.2 sine 300"));
        ASSERT_TRUE(MakeSound(*dir_ / "s16.wav", "-r 44100 -b 16 -c 2", "synth 0.25 sine 440 sine 550"));
        ASSERT_TRUE(
            MakeSound(*dir_ / "float.wav", "-r 8000 -e floating-point -b 32 -c 1", "synth 0.1 sine 440"));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static void Load(const std::string& file, Decoded& out) {
        out.data = tvxLoadAudioFile(&host_, String(file.c_str()), &out.length, &out.channels, &out.format,
                                    &out.hertz);
    }
    static std::string Path(const std::string& name) { return *dir_ / name; }
    // Frames per channel as sox counts them.
    static int SoxFrames(const std::string& file) {
        return std::atoi(ToolOutput("soxi -s '" + file + "'").c_str());
    }

    static TempDir* dir_;
    static AudioTestHost host_;
};
TempDir* AudioFiles::dir_ = nullptr;
AudioTestHost AudioFiles::host_;

// The sample bytes of a canonical sox file (44-byte header, data to the end).
std::vector<uint8_t> SoxData(const std::vector<uint8_t>& file) {
    return {file.begin() + 44, file.end()};
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

TEST_F(AudioFiles, PcmOfEveryPlayableShapeDecodesToWhatSoxWrote) {
    struct Case {
        const char* name;
        int channels, format, hertz;
    } cases[] = {
        {"m8.wav", 1, 1, 8000}, {"s8.wav", 2, 1, 11025}, {"m16.wav", 1, 2, 16000}, {"s16.wav", 2, 2, 44100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d;
        int externalBefore = gc_ext_new_bytes.load();
        Load(Path(c.name), d);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(gc_ext_new_bytes.load() - externalBefore, d.length * d.channels * d.format);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.format);
        EXPECT_EQ(d.hertz, c.hertz);
        EXPECT_EQ(d.length, SoxFrames(Path(c.name)));
        std::vector<uint8_t> data = SoxData(ReadBytes(Path(c.name)));
        ASSERT_EQ(data.size(), size_t(d.length) * d.channels * d.format);
        EXPECT_EQ(0, std::memcmp(d.data, data.data(), data.size()));
    }
}

// sox's 16-bit stereo file rebuilt with an 18-byte "fmt " chunk and one
// chunk `tag` holding `body` (no pad byte after it, whatever its size)
// before "data".
std::vector<uint8_t> WavWithChunkBeforeData(const std::vector<uint8_t>& sox, const char* tag,
                                            const std::string& body) {
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutU32(out, 0);  // ignored by the reader
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 18);
    out.insert(out.end(), sox.begin() + 20, sox.begin() + 36);  // sox's 16 format bytes
    out.push_back(0);                                           // cbSize
    out.push_back(0);
    PutTag(out, tag);
    PutU32(out, static_cast<uint32_t>(body.size()));
    for (char c : body) out.push_back(static_cast<uint8_t>(c));
    std::vector<uint8_t> data = SoxData(sox);
    PutTag(out, "data");
    PutU32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST_F(AudioFiles, EighteenByteFmtAndListChunkBeforeData) {
    std::vector<uint8_t> sox = ReadBytes(Path("s16.wav"));
    std::vector<uint8_t> data = SoxData(sox);
    WriteBytes(Path("list.wav"),
               WavWithChunkBeforeData(sox, "LIST", std::string("INFOICMT\6\0\0\0hello!", 18)));

    Decoded d;
    Load(Path("list.wav"), d);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.length, static_cast<int>(data.size() / 4));
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.format, 2);
    EXPECT_EQ(d.hertz, 44100);
    EXPECT_EQ(0, std::memcmp(d.data, data.data(), data.size()));
}

// Chunk sizes are taken as they stand: "data" follows an odd-sized chunk
// at once, and a reader that skipped a pad byte would miss its tag.
TEST_F(AudioFiles, OddSizedChunkBeforeDataHasNoPadByteSkipped) {
    std::vector<uint8_t> sox = ReadBytes(Path("s16.wav"));
    std::vector<uint8_t> data = SoxData(sox);
    WriteBytes(Path("odd.wav"), WavWithChunkBeforeData(sox, "note", "seven b"));

    Decoded d;
    Load(Path("odd.wav"), d);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.length, static_cast<int>(data.size() / 4));
    EXPECT_EQ(0, std::memcmp(d.data, data.data(), data.size()));
}

TEST_F(AudioFiles, FloatingPointAndExtensibleFormatsGiveNull) {
    Decoded floating;
    Load(Path("float.wav"), floating);  // format code 3
    EXPECT_FALSE(floating.ok());
    ASSERT_TRUE(MakeSound(Path("p24.wav"), "-r 8000 -b 24 -c 1", "synth 0.1 sine 440"));  // sox writes 0xFFFE
    Decoded extensible;
    Load(Path("p24.wav"), extensible);
    EXPECT_FALSE(extensible.ok());
}

TEST_F(AudioFiles, DamagedFilesGiveNull) {
    const std::vector<uint8_t> good = ReadBytes(Path("m16.wav"));
    auto expectNull = [&](const char* what, std::vector<uint8_t> bytes) {
        SCOPED_TRACE(what);
        WriteBytes(Path("damaged.wav"), bytes);
        Decoded d;
        Load(Path("damaged.wav"), d);
        EXPECT_FALSE(d.ok());
    };
    std::vector<uint8_t> noData = good;
    std::memcpy(&noData[36], "dat_", 4);  // the samples become an unknown chunk
    expectNull("no data chunk", noData);
    expectNull("truncated samples", {good.begin(), good.end() - 100});
    expectNull("truncated header", {good.begin(), good.begin() + 30});
    expectNull("empty file", {});
    std::vector<uint8_t> zeroChannels = good;
    zeroChannels[22] = zeroChannels[23] = 0;
    expectNull("0 channels", zeroChannels);
    std::vector<uint8_t> fourBits = good;
    fourBits[34] = 4;  // 4 bits per sample: 0 bytes
    fourBits[35] = 0;
    expectNull("0 bytes per sample", fourBits);
    std::vector<uint8_t> hugeData = good;
    hugeData[40] = hugeData[41] = hugeData[42] = 0xff;  // data chunk of about 2^31 bytes
    hugeData[43] = 0x7f;
    expectNull("data chunk larger than the file", hugeData);
    std::vector<uint8_t> hugeOther = noData;
    hugeOther[40] = hugeOther[41] = hugeOther[42] = hugeOther[43] = 0xff;
    expectNull("other chunk larger than the file", hugeOther);
    std::vector<uint8_t> notWave = good;
    std::memcpy(&notWave[8], "AVI ", 4);
    expectNull("RIFF of another kind", notWave);
}

TEST_F(AudioFiles, UnplayableShapesPassTheReader) {
    // Three channels of 16-bit samples: a valid PCM file without an OpenAL
    // format. The reader gives it; the audio device refuses it.
    std::vector<uint8_t> bytes = ReadBytes(Path("s16.wav"));
    bytes[22] = 3;
    WriteBytes(Path("three.wav"), bytes);
    Decoded d;
    Load(Path("three.wav"), d);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.channels, 3);
    EXPECT_EQ(d.length, static_cast<int>((bytes.size() - 44) / 6));
}

TEST_F(AudioFiles, ExtensionDecidesTheDecoderWithoutRegardToCase) {
    ASSERT_TRUE(RunTool("oggenc -Q -o '" + Path("tone.OGG") + "' '" + Path("s16.wav") + "'"));
    Decoded ogg;
    Load(Path("tone.OGG"), ogg);
    EXPECT_TRUE(ogg.ok());
    ASSERT_TRUE(RunTool("cp '" + Path("m16.wav") + "' '" + Path("upper.WAV") + "'"));
    Decoded wav;
    Load(Path("upper.WAV"), wav);
    EXPECT_TRUE(wav.ok());
    for (const char* other : {"m16.wv", "m16.wav.bak", "m16"}) {
        SCOPED_TRACE(other);
        ASSERT_TRUE(RunTool("cp '" + Path("m16.wav") + "' '" + Path(other) + "'"));
        Decoded d;
        Load(Path(other), d);
        EXPECT_FALSE(d.ok());
    }
    Decoded missing;
    Load(Path("missing.wav"), missing);
    EXPECT_FALSE(missing.ok());
}

TEST_F(AudioFiles, OggDecodesToTheLengthAndSamplesOfOggdec) {
    struct Case {
        const char* name;
        const char* format;
        const char* effects;
        int channels;
    } cases[] = {{"mono.ogg", "-r 22050 -b 16 -c 1", "synth 1.3 sine 300:900", 1},
                 {"stereo.ogg", "-r 44100 -b 16 -c 2", "synth 2.1 sine 440 pinknoise vol 0.5", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string wav = Path(std::string(c.name) + ".wav"), ogg = Path(c.name),
                    raw = Path(std::string(c.name) + ".raw");
        ASSERT_TRUE(MakeSound(wav, c.format, c.effects));
        ASSERT_TRUE(RunTool("oggenc -Q -q 4 -o '" + ogg + "' '" + wav + "'"));
        ASSERT_TRUE(RunTool("oggdec -Q -R -o '" + raw + "' '" + ogg + "'"));  // 16-bit little-endian
        std::vector<uint8_t> reference = ReadBytes(raw);

        Decoded d;
        Load(ogg, d);
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, 2);
        ASSERT_EQ(size_t(d.length) * d.channels * 2, reference.size());
        // Two Vorbis decoders differ only by rounding.
        const auto* ours = reinterpret_cast<const int16_t*>(d.data);
        const auto* theirs = reinterpret_cast<const int16_t*>(reference.data());
        int worst = 0;
        for (size_t i = 0; i < reference.size() / 2; ++i)
            worst = std::max(worst, std::abs(ours[i] - theirs[i]));
        EXPECT_LE(worst, 8);
    }
}

TEST_F(AudioFiles, DamagedOggGivesNull) {
    ASSERT_TRUE(RunTool("oggenc -Q -o '" + Path("cut.ogg") + "' '" + Path("m16.wav") + "'"));
    std::vector<uint8_t> bytes = ReadBytes(Path("cut.ogg"));
    WriteBytes(Path("cut.ogg"), {bytes.begin(), bytes.begin() + 40});
    Decoded d;
    Load(Path("cut.ogg"), d);
    EXPECT_FALSE(d.ok());
    WriteBytes(Path("wav-as.ogg"), ReadBytes(Path("m16.wav")));
    Decoded wrong;
    Load(Path("wav-as.ogg"), wrong);
    EXPECT_FALSE(wrong.ok());
}

}  // namespace
