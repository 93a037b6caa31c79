// The per-level lines of skitterwind-replay: watches the game after every
// replayed update and writes one line per level played,
//
//   level 3 result 72 ending complete updates 2210
//
// `ending` is complete (the level-complete sequence ran, whatever its
// banner), time, bugs or quit, or none for a level the recording leaves
// unfinished; `result` the percentage brought home (0 unless complete);
// `updates` the updates from the level's start until its ending was
// decided. Main thread only.
#pragma once

#include <cstdio>

class c_MyApp;

class LevelReport {
  public:
    explicit LevelReport(std::FILE* out) : out_(out) {}
    void AfterUpdate(const c_MyApp& app);
    // The level in progress, if any, as unfinished.
    void Close();

  private:
    void Line(int result, const char* ending);

    std::FILE* out_;
    int lastScreen_ = 0;
    bool inLevel_ = false;
    int level_ = 0;
    int updates_ = 0;
};
