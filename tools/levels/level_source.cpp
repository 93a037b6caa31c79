// Builds levels on a windowless game object and writes them out as JSON
// (shortest round-trip float texts). See level_source.h.
#include "tools/levels/level_source.h"

#include "game/records.h"
#include "runtime/host/tolvar_game.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/random.h"

namespace levels {
namespace {

// A host with a fixed clock and nothing else: levels never read the clock,
// and without devices the tune request does nothing.
class QuietHost : public ZqGame {
  public:
    int Millisecs() override { return 1000; }
};

c_MyApp* game = nullptr;
GC_ROOT(game);

c_MyApp* Game() {
    if (game == nullptr) {
        static QuietHost host;
        ZqGame::_game = &host;
        zqInit();
        gc_assign(game, gc_new<c_MyApp>()->InitFields());
    }
    return game;
}

std::vector<float> RecordOf(const Array<float>& a, int index) {
    const float* r = a.Data() + index * rec::kSize;
    return std::vector<float>(r, r + rec::kSize);
}

}  // namespace

Level Build(int level) {
    c_MyApp* app = Game();
    app->p_GetLevel(level);
    Level out;
    out.level = level;
    out.planetCount = app->planetCount;
    out.colourTheme = static_cast<int>(app->player[rec::kPlayerColourTheme]);
    out.followerLast = app->followerLast;
    out.hazardLast = app->hazardLast;
    out.timeLeft = app->timeLeft;
    out.seed = static_cast<unsigned>(zq_random_Seed);
    for (int i = 0; i < app->planetCount; ++i) out.planets.push_back(RecordOf(app->planets, i));
    for (int h = 1; h <= app->hazardLast; ++h) out.hazards.push_back(RecordOf(app->hazards, h));
    return out;
}

namespace {

void AppendRecords(std::string& s, const std::vector<std::vector<float>>& records) {
    s += "[";
    for (size_t i = 0; i < records.size(); ++i) {
        s += i ? ", [" : "[";
        for (size_t k = 0; k < records[i].size(); ++k) {
            if (k) s += ", ";
            s += FloatText(records[i][k]);
        }
        s += "]";
    }
    s += "]";
}

}  // namespace

std::string ToJson(const std::vector<Level>& levels) {
    std::string s = "[";
    for (size_t n = 0; n < levels.size(); ++n) {
        const Level& l = levels[n];
        s += n ? ",\n " : "\n ";
        s += "{\"level\": " + std::to_string(l.level) +
             ", \"planetCount\": " + std::to_string(l.planetCount) +
             ", \"colourTheme\": " + std::to_string(l.colourTheme) +
             ", \"followerLast\": " + std::to_string(l.followerLast) +
             ", \"hazardLast\": " + std::to_string(l.hazardLast) +
             ", \"timeLeft\": " + std::to_string(l.timeLeft) + ", \"seed\": " + std::to_string(l.seed) +
             ",\n  \"planets\": ";
        AppendRecords(s, l.planets);
        s += ",\n  \"hazards\": ";
        AppendRecords(s, l.hazards);
        s += "}";
    }
    s += "\n]\n";
    return s;
}

}  // namespace levels
