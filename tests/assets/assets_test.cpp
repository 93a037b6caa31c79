// The generated game data: every file the game reads exists at every
// resolution tier, decodes, and has the layout the game's loaders expect;
// sounds are 16-bit PCM below full scale; the tune is about a countdown long;
// and the generator is deterministic.
#define STB_VORBIS_HEADER_ONLY
#include <gtest/gtest.h>
#include <stb_vorbis.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data_files.h"
#include "pixel_font.h"

using namespace assets_test;

namespace {

const std::string kData = TOLVAR_DATA_DIR;

struct ImageRow {
    const char* name;
    int frameW, frameH, frames;
};

// The images the game loads: name, frame size at the base tier, frame count.
const ImageRow kImages[] = {
    {"common/icons", 32, 32, 16},
    {"common/Buttons", 64, 64, 16},
    {"common/dpad", 32, 32, 16},
    {"common/MakerLogo", 256, 256, 1},
    {"fonts/shadow_pixel", 16, 16, 128},
    {"menu", 256, 256, 4},
    {"logo", 256, 128, 1},
    {"BadgesA", 64, 64, 64},
    {"parts", 8, 8, 256},
    {"common/circle", 256, 256, 4},
    {"common/light", 32, 32, 4},
    {"gfx", 16, 16, 16},
    {"gfxb", 16, 16, 16},
    {"cube", 32, 32, 64},
    {"bad", 32, 32, 64},
    {"circle", 256, 256, 1},
};

struct TierRow {
    int factor;
    const char* suffix;
};
const TierRow kTiers[] = {{1, ""}, {2, "-hd"}, {4, "-hd2"}};

std::string imagePath(const ImageRow& img, const TierRow& tier) {
    return kData + "/" + img.name + tier.suffix + ".png";
}

// Cuts frames the way the game's image loader does (left to right, then top
// to bottom); returns the frame origins, or an empty list if a frame would
// fall outside the surface.
std::vector<std::pair<int, int>> cutGrid(int surfaceW, int surfaceH, int w, int h, int count) {
    std::vector<std::pair<int, int>> frames;
    int px = 0, py = 0;
    for (int i = 0; i < count; ++i) {
        if (px + w > surfaceW) {
            px = 0;
            py += h;
            if (w > surfaceW) return {};
        }
        if (py + h > surfaceH) return {};
        frames.push_back({px, py});
        px += w;
    }
    return frames;
}

std::vector<int> soundIds() {
    std::vector<int> ids;
    for (int id = 1; id <= 31; ++id) ids.push_back(id);
    for (int id : {95, 96, 98, 99}) ids.push_back(id);
    return ids;
}

std::string soundPath(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "/sfx/%03d.wav", id);
    return kData + name;
}

}  // namespace

TEST(GameImages, EveryImageDecodesAtEveryTierWithAGridThatHoldsItsFrames) {
    for (const ImageRow& img : kImages)
        for (const TierRow& tier : kTiers) {
            SCOPED_TRACE(imagePath(img, tier));
            auto png = loadPng(imagePath(img, tier));
            ASSERT_TRUE(png.has_value());
            int w = img.frameW * tier.factor, h = img.frameH * tier.factor;
            EXPECT_EQ(png->width % w, 0);
            EXPECT_EQ(png->height % h, 0);
            auto frames = cutGrid(png->width, png->height, w, h, img.frames);
            ASSERT_EQ(int(frames.size()), img.frames);
            // The grid holds no more than one spare row of frames.
            EXPECT_LT(png->height - (frames.back().second + h), h);
        }
}

TEST(GameImages, FramesTheGameDrawsAreNotBlank) {
    for (const ImageRow& img : kImages) {
        if (std::string(img.name) == "fonts/shadow_pixel") continue;  // covered by its own test
        for (const TierRow& tier : kTiers) {
            auto png = loadPng(imagePath(img, tier));
            ASSERT_TRUE(png.has_value());
            int w = img.frameW * tier.factor, h = img.frameH * tier.factor;
            auto frames = cutGrid(png->width, png->height, w, h, img.frames);
            ASSERT_EQ(int(frames.size()), img.frames);
            for (int f = 0; f < img.frames; ++f)
                EXPECT_TRUE(anyOpaque(*png, frames[f].first, frames[f].second, w, h))
                    << imagePath(img, tier) << " frame " << f;
        }
    }
}

TEST(GameImages, HigherTiersAreDrawnAtTheirOwnResolutionNotEnlarged) {
    // An enlarged 1x picture would consist of 2x2 (or 4x4) blocks of equal
    // pixels; a picture drawn at its own resolution has fine edges.
    for (const char* name : {"gfx", "cube", "common/icons", "logo"}) {
        auto png = loadPng(kData + "/" + name + "-hd2.png");
        ASSERT_TRUE(png.has_value());
        long blocksBroken = 0;
        for (int y = 0; y + 1 < png->height; y += 2)
            for (int x = 0; x + 1 < png->width; x += 2)
                if (png->alpha(x, y) != png->alpha(x + 1, y) || png->alpha(x, y) != png->alpha(x, y + 1))
                    ++blocksBroken;
        EXPECT_GT(blocksBroken, 100) << name;
    }
}

TEST(GameFont, GlyphCellsHoldCodes33To126AndTheIconsAndSpaceIsEmpty) {
    for (const TierRow& tier : kTiers) {
        std::string path = kData + "/fonts/shadow_pixel" + tier.suffix + ".png";
        SCOPED_TRACE(path);
        auto png = loadPng(path);
        ASSERT_TRUE(png.has_value());
        int cell = 16 * tier.factor;
        auto frames = cutGrid(png->width, png->height, cell, cell, 128);
        ASSERT_EQ(frames.size(), 128u);
        auto filled = [&](int f) { return anyOpaque(*png, frames[f].first, frames[f].second, cell, cell); };
        EXPECT_FALSE(filled(0)) << "space";
        for (int code = 33; code <= 126; ++code) EXPECT_TRUE(filled(code - 32)) << "code " << code;
        for (int f = 96; f <= 110; ++f) EXPECT_TRUE(filled(f)) << "pad icon " << f;
        for (int f = 112; f <= 126; ++f) EXPECT_TRUE(filled(f)) << "key icon " << f;
    }
}

namespace {

// The inked box of one 16 x 16 glyph cell: min and max x, then y; -1 / 16
// when the cell is empty.
struct InkBox {
    int minX = 16, maxX = -1, minY = 16, maxY = -1;
};

// The inked boxes of the game font's printable glyphs, codes 33..126 in
// order; empty when the font cannot be read.
std::vector<InkBox> GameFontInks() {
    std::vector<InkBox> out;
    auto png = loadPng(kData + "/fonts/shadow_pixel.png");
    if (!png) return out;
    auto frames = cutGrid(png->width, png->height, 16, 16, 128);
    if (frames.size() != 128u) return out;
    for (int code = 33; code <= 126; ++code) {
        auto [fx, fy] = frames[code - 32];
        InkBox box;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (png->alpha(fx + x, fy + y)) {
                    box.minX = std::min(box.minX, x), box.maxX = std::max(box.maxX, x);
                    box.minY = std::min(box.minY, y), box.maxY = std::max(box.maxY, y);
                }
        out.push_back(box);
    }
    return out;
}

}  // namespace

TEST(GameFont, GlyphsFitTheTextWritersAdvanceKerningAndLineHeight) {
    // The text writer advances 7 pixels plus a per-letter kerning and puts
    // lines 10 pixels apart; a glyph (with its shadow) wider or taller than
    // that would run into its neighbours.
    std::vector<InkBox> inks = GameFontInks();
    ASSERT_EQ(inks.size(), 94u);
    for (int code = 33; code <= 126; ++code) {
        const InkBox& ink = inks[code - 33];
        EXPECT_LE(ink.maxX - ink.minX + 1, 7 + assetgen::textKerning(code))
            << "width of '" << char(code) << "'";
        EXPECT_LE(ink.maxY - ink.minY + 1, 10) << "height of '" << char(code) << "'";
    }
}

TEST(GameFont, GlyphsSitInTheSpaceTheirPenOwns) {
    // Cells are drawn centred on the pen, and the text writer aligns a
    // string as if each glyph owned [pen - 7, pen + k]: ink outside that
    // band (cell x 1 .. 8 + k, plus the shadow's pixel) would push centred
    // text right and right-aligned text past its end.
    std::vector<InkBox> inks = GameFontInks();
    ASSERT_EQ(inks.size(), 94u);
    for (int code = 33; code <= 126; ++code) {
        const InkBox& ink = inks[code - 33];
        int k = assetgen::textKerning(code);
        EXPECT_GE(ink.minX, 0) << "'" << char(code) << "'";
        EXPECT_LE(ink.maxX, 9 + k) << "'" << char(code) << "'";
        EXPECT_NEAR((ink.minX + ink.maxX) / 2.0, 4.5 + k / 2.0, 1.5) << "'" << char(code) << "'";
    }
}

TEST(DefaultFont, IsAStripOf96CellsWithTransparentSideBorders) {
    auto png = loadPng(kData + "/vexo_font.png");
    ASSERT_TRUE(png.has_value());
    ASSERT_EQ(png->width % 96, 0);
    int cellW = png->width / 96;
    ASSERT_GE(cellW, 3);
    for (int i = 0; i < 96; ++i) {
        int x = i * cellW;
        EXPECT_FALSE(anyOpaque(*png, x, 0, 1, png->height)) << "left border of cell " << i;
        EXPECT_FALSE(anyOpaque(*png, x + cellW - 1, 0, 1, png->height)) << "right border of cell " << i;
        bool filled = anyOpaque(*png, x + 1, 0, cellW - 2, png->height);
        if (i == 0) {
            EXPECT_FALSE(filled) << "space";
        } else if (i <= 94) {
            EXPECT_TRUE(filled) << "code " << i + 32;
        }
    }
}

TEST(Sounds, EveryEffectIsShortMono16BitPcmBelowFullScaleAndStartsAndEndsQuietly) {
    for (int id : soundIds()) {
        SCOPED_TRACE(soundPath(id));
        auto wav = loadWav(soundPath(id));
        ASSERT_TRUE(wav.has_value());
        EXPECT_EQ(wav->format, 1);
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->rate, 44100);
        ASSERT_EQ(wav->bits, 16);
        ASSERT_GT(wav->samples.size(), 1000u);
        EXPECT_LT(wav->samples.size(), size_t(44100 * 2));
        int peak = 0;
        for (int16_t s : wav->samples) {
            ASSERT_NE(s, 32767);
            ASSERT_NE(s, -32768);
            peak = std::max(peak, std::abs(int(s)));
        }
        EXPECT_GT(peak, 8000) << "audible";
        // No click: the first and last samples are near silence.
        EXPECT_LT(std::abs(int(wav->samples.front())), 300);
        EXPECT_LT(std::abs(int(wav->samples.back())), 300);
    }
}

namespace {

// Zero crossings per second over a slice of samples: a rough pitch measure.
double crossingRate(const std::vector<int16_t>& s, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
    return n * 44100.0 / double(to - from);
}

// RMS of the samples within 30 dB of the peak: the audible body of a sound.
double bodyRms(const std::vector<int16_t>& s) {
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    double sum = 0;
    size_t n = 0;
    for (int16_t v : s)
        if (std::abs(int(v)) > peak * 0.03) sum += double(v) * v, ++n;
    return n ? std::sqrt(sum / n) : 0;
}

}  // namespace

TEST(Sounds, LostSqueaksFallHomeBlipsRiseAndEachVariantIsDistinct) {
    std::vector<std::vector<int16_t>> seen;
    for (int id = 1; id <= 20; ++id) {
        auto wav = loadWav(soundPath(id));
        ASSERT_TRUE(wav.has_value());
        const auto& s = wav->samples;
        size_t q = s.size() / 4;
        double early = crossingRate(s, q / 2, q + q / 2), late = crossingRate(s, 2 * q, 3 * q);
        if (id <= 10) {
            EXPECT_LT(late, early * 0.8) << "squeak " << id << " falls";
        }
        for (const auto& other : seen) EXPECT_NE(s, other) << "sound " << id << " repeats another";
        seen.push_back(s);
    }
    // A home blip glides up into its note: its first few milliseconds are
    // lower than the note it settles on.
    for (int id = 11; id <= 20; ++id) {
        auto wav = loadWav(soundPath(id));
        ASSERT_TRUE(wav.has_value());
        double start = crossingRate(wav->samples, 0, 441), settled = crossingRate(wav->samples, 1323, 2646);
        EXPECT_LT(start, settled) << "blip " << id << " rises";
    }
}

TEST(Sounds, EffectsHaveSimilarLoudness) {
    std::vector<double> levels;
    for (int id : soundIds()) {
        auto wav = loadWav(soundPath(id));
        ASSERT_TRUE(wav.has_value());
        levels.push_back(bodyRms(wav->samples));
    }
    std::vector<double> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted[sorted.size() / 2];
    for (size_t i = 0; i < levels.size(); ++i) {
        EXPECT_GT(levels[i], median / 3) << "sound " << soundIds()[i] << " too quiet";
        EXPECT_LT(levels[i], median * 3) << "sound " << soundIds()[i] << " too loud";
    }
}

TEST(Tune, DecodesAsStereoOfAbout105Seconds) {
    std::string path = kData + "/sfx/driftwood.ogg";
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    ASSERT_NE(v, nullptr) << "error " << error;
    stb_vorbis_info info = stb_vorbis_get_info(v);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sample_rate, 44100u);
    float seconds = stb_vorbis_stream_length_in_seconds(v);
    EXPECT_GE(seconds, 100.0f);
    EXPECT_LE(seconds, 110.0f);
    // The whole stream decodes, to the length the stream reports.
    std::vector<short> pcm;
    short buf[4096 * 2];
    for (int n; (n = stb_vorbis_get_samples_short_interleaved(v, 2, buf, 4096 * 2)) > 0;)
        pcm.insert(pcm.end(), buf, buf + 2 * n);
    stb_vorbis_close(v);
    size_t frames = pcm.size() / 2;
    EXPECT_NEAR(double(frames) / info.sample_rate, seconds, 0.01);
    // It ends cleanly: the last tenth of a second is near silence.
    int tail = 0;
    for (size_t i = pcm.size() - 4410 * 2; i < pcm.size(); ++i) tail = std::max(tail, std::abs(int(pcm[i])));
    EXPECT_LT(tail, 600);
    // The two channels differ: real stereo, not one channel twice.
    long differ = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) differ += std::abs(pcm[i] - pcm[i + 1]) > 200;
    EXPECT_GT(differ, long(frames / 10));
}

TEST(Generator, ReportsAFolderItCannotWriteAsFailure) {
    std::string cmd =
        std::string("\"") + ASSETGEN_PATH + "\" --data /proc/assetgen-cannot-write > /dev/null 2>&1";
    int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
}

TEST(Generator, TwoRunsWriteByteIdenticalFiles) {
    // The build's run wrote kData; a second run into a fresh folder must match it.
    auto dir = std::filesystem::temp_directory_path() / ("assetgen-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::string cmd = std::string("\"") + ASSETGEN_PATH + "\" --data \"" + dir.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::vector<std::string> built = listFiles(kData), again = listFiles(dir.string());
    EXPECT_EQ(built, again);
    for (const std::string& f : again) {
        auto a = readFile(kData + "/" + f), b = readFile((dir / f).string());
        ASSERT_TRUE(a && b) << f;
        EXPECT_TRUE(*a == *b) << f << " differs between runs";
    }
    std::filesystem::remove_all(dir);
}
