// The autopilot's way finder: the earliest way for its bug (and so for the
// swarm that trails it) from where it is to a goal, through space and time.
//
// The swarm is safe only inside the planets, away from their rims, away
// from the hazards, and away from the arms, which sweep bugs round faster
// than they walk. The arms turn at a steady rate, so where every arm will
// be at any later update is known from what is drawn now. The finder
// searches a grid of cells over the planets in layers of time: from one
// layer to the next the bug may stay or move one cell in any of the eight
// directions, which sets a pace the swarm keeps up with, and it may only
// be in a cell that is clear of rims, hazards and arms at that time. The
// first layer that reaches the goal gives the way. Single-threaded; no
// state between calls.
#pragma once

#include <vector>

#include "tools/autoplay/autopilot.h"

namespace autopilot {

// How much room the swarm is given; the pilot eases these off when no way
// is found.
struct Margins {
    float rim = 24;     // from the edge of the planets (their union), px
    float hazard = 40;  // from a hazard, px
    float arm = 24;     // from an arm, px, at every update of the window
    float back = 15;    // updates before a layer's time from which the arm clearance holds (the swarm trails)
    float ahead = 15;   // updates after it until which it holds
};

class RoutePlanner {
  public:
    static constexpr int kLayerUpdates = 8;  // updates from one layer to the next
    static constexpr float kCell = 8.0f;     // px: at most one cell per layer

    // The way from (x, y) now (layer 0) to a cell within `reach` of (goalX,
    // goalY) on both axes, through planets first..last of the sight only,
    // one point per layer; empty when there is none within maxLayers.
    std::vector<PlannedPoint> Find(const Sight& sight, int first, int last, float x, float y, float goalX,
                                   float goalY, float reach, const Margins& margins, int maxLayers) const;

    // Whether (x, y) is clear of every arm from `updates` − back to
    // `updates` + ahead updates on (0 = the update about to run).
    static bool ClearOfArms(const Sight& sight, float x, float y, float updates, const Margins& margins);
};

}  // namespace autopilot
