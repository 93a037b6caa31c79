// The saved data: settings, badge flags and per-level results packed into
// one "|"-separated string of signed decimal integers, with a checksum after
// each block, stored whole through the runtime's state store.
//
// Layout (field indices), every field followed by "|":
//   0..24    settings[0..24]          25  sum of i * settings[i]
//   26..33   badge words 0..7         34  sum of the words
//   35 + 21g .. +19   level g + 1: best k, last k interleaved (k = 0..9)
//   35 + 21g + 20     sum of (k + 4) * best k + (k + g + 3) * last k
// 105 groups are written and 100 read. Every sum wraps round in 32 bits; it
// is computed in uint32_t so that no signed overflow can occur, and written
// and compared as the signed value of the same bits.
//
// Loading verifies each block on its own: a damaged block is reset while the
// others keep what they read. It splits only the fields that a block can
// use (settings, badges and the 100 groups read): whatever follows them, a
// few more fields or megabytes of them, is never split, so a huge state
// costs no more memory than a normal one. Main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "game/my_app.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/errors.h"

namespace {

constexpr int kSettings = 25;
constexpr int kBadgeWords = 8;
constexpr int kGroupFields = 21;  // ten best/last pairs and a checksum
constexpr int kGroupsWritten = 105;
constexpr int kGroupsRead = 100;
constexpr int kLastList = 1000;  // scores index of level 1's last-ten list
// The fields any block can use: settings and checksum, badge words and
// checksum, and the groups read. A shorter save (the badge block first)
// uses fewer.
constexpr int kFieldsUsed = kSettings + 1 + kBadgeWords + 1 + kGroupFields * kGroupsRead;

int AsInt(uint32_t bits) {
    return static_cast<int>(bits);  // two's complement: the same 32 bits
}

uint32_t SettingsSum(const Array<int>& settings) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettings; ++i) sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    return sum;
}

uint32_t BadgeWord(const Array<bool>& badges, int w) {
    uint32_t word = 0;
    for (int b = 0; b < 32; ++b)
        if (badges[32 * w + b]) word |= uint32_t{1} << b;
    return word;
}

uint32_t GroupSum(const Array<int>& scores, int g) {
    uint32_t sum = 0;
    for (int k = 0; k < 10; ++k) {
        sum += static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(scores[10 * g + k]);
        sum += static_cast<uint32_t>(k + g + 3) * static_cast<uint32_t>(scores[kLastList + 10 * g + k]);
    }
    return sum;
}

void Put(std::string& out, int value) {
    out += std::to_string(value);
    out += '|';
}

// The first `limit` "|"-separated fields of `state` (fewer when it has
// fewer), as String::Split would give them; the rest is not looked at.
Array<String> FirstFields(const String& state, int limit) {
    const String separator("|");
    std::vector<int> ends;  // where each field ends (a separator or the end)
    int at = state.Find(separator);
    while (at >= 0 && static_cast<int>(ends.size()) + 1 < limit) {
        ends.push_back(at);
        at = state.Find(separator, at + 1);
    }
    // The last field kept runs to the next separator, or to the end.
    ends.push_back(at >= 0 ? at : state.Length());
    Array<String> fields(static_cast<int>(ends.size()));
    int start = 0;
    for (int i = 0; i < fields.Length(); ++i) {
        fields[i] = state.Slice(start, ends[static_cast<size_t>(i)]);
        start = ends[static_cast<size_t>(i)] + 1;
    }
    return fields;
}

// Field i of the split string read as the runtime reads integers: text that
// is not a number is 0.
int Field(const Array<String>& fields, int i) {
    return fields[i].ToInt();
}

}  // namespace

// [SECTION] Building -----------------------------------------------------------

String c_MyApp::SaveString() {
    std::string out;
    out.reserve(4096 + 64 * kGroupsWritten);
    for (int i = 0; i < kSettings; ++i) Put(out, settings[i]);
    Put(out, AsInt(SettingsSum(settings)));

    uint32_t badgeSum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        uint32_t word = BadgeWord(badges, w);
        badgeSum += word;
        Put(out, AsInt(word));
    }
    Put(out, AsInt(badgeSum));

    for (int g = 0; g < kGroupsWritten; ++g) {
        for (int k = 0; k < 10; ++k) {
            Put(out, scores[10 * g + k]);
            Put(out, scores[kLastList + 10 * g + k]);
        }
        Put(out, AsInt(GroupSum(scores, g)));
    }
    return String(out.c_str());
}

int c_MyApp::p_Save() {
    String state = SaveString();
    if (DebugMode == 1) zqPrint(state);
    zq_app_SaveState(state);
    return 0;
}

// [SECTION] Restoring ----------------------------------------------------------

void c_MyApp::RestoreSaveString(String state) {
    // n is the field count up to kFieldsUsed: every test below asks about
    // an index under it, so the fields past it cannot change the outcome.
    Array<String> fields = FirstFields(state, kFieldsUsed);
    const int n = fields.Length();

    // Block positions follow from the field count: a string too short for
    // the settings block starts with the badge block.
    const bool haveSettings = n > kSettings - 1;
    const int badgeStart = haveSettings ? kSettings + 1 : 0;
    const bool haveBadges = badgeStart + kBadgeWords < n;
    const int scoreStart = haveBadges ? badgeStart + kBadgeWords + 1 : badgeStart;

    if (haveSettings) {
        for (int i = 0; i < kSettings; ++i) settings[i] = Field(fields, i);
        // A string of exactly 25 fields has no checksum: a mismatch.
        bool valid = n > kSettings && AsInt(SettingsSum(settings)) == Field(fields, kSettings);
        if (valid) {
            zqPrint(String("Settings Loaded"));
        } else {
            zqPrint(String("Settings Checksum Invalid"));
            for (int i = 0; i < kSettings; ++i) settings[i] = 0;
            settings[5] = 1;
        }
    }

    // Repairs, whatever was stored.
    if (settings[10] < 64) settings[10] = 64;
    if (settings[11] < 64) settings[11] = 64;
    if (settings[12] <= 7) settings[12] = 10;
    settings[14] = 1;
    overscan = 0.0f;

    if (haveBadges) {
        uint32_t sum = 0;
        for (int w = 0; w < kBadgeWords; ++w) {
            uint32_t word = static_cast<uint32_t>(Field(fields, badgeStart + w));
            sum += word;
            for (int b = 0; b < 32; ++b) badges[32 * w + b] = (word >> b) & 1u;
        }
        if (AsInt(sum) == Field(fields, badgeStart + kBadgeWords)) {
            zqPrint(String("Badges Loaded"));
        } else {
            zqPrint(String("Badge Checksum Invalid"));
            for (int i = 0; i < badges.Length(); ++i) badges[i] = false;
        }
    }

    for (int g = 0; g < kGroupsRead; ++g) {
        const int at = scoreStart + kGroupFields * g;
        if (at + kGroupFields - 1 >= n) break;  // this group and the later ones keep their values
        for (int k = 0; k < 10; ++k) {
            scores[10 * g + k] = Field(fields, at + 2 * k);
            scores[kLastList + 10 * g + k] = Field(fields, at + 2 * k + 1);
        }
        if (AsInt(GroupSum(scores, g)) != Field(fields, at + kGroupFields - 1)) {
            for (int k = 0; k < 10; ++k) scores[10 * g + k] = scores[kLastList + 10 * g + k] = 0;
        }
    }
    zqPrint(String("Highscores Loaded"));
}

int c_MyApp::p_Load() {
    String state = zq_app_LoadState();
    if (DebugMode == 1) zqPrint(state);
    RestoreSaveString(state);
    return 0;
}
