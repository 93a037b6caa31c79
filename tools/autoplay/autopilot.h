// The autopilot: plays a level the way a player would, from what is on the
// screen (planets, pickups, home, its own bug and the swarm) to the arrow
// keys it holds. It never writes into the game; the runner (autoplay_run.h)
// carries its keys through the real input path.
//
// Plan: a route along the chain of overlapping planets, crossing from each
// planet to the next in the middle of their overlap, through every pickup,
// to the home centre. On an intermediate planet the arms sweep a bug round
// with the spin faster than the swarm can walk against it, so a leg that
// runs against the spin goes the long way round, on an arc clear of the
// hazard at the centre. Pace: slow enough for the swarm to keep up;
// it waits when the swarm falls behind. Steering: it knows its own key
// history, so it models its bug's velocity exactly (the game's steering
// ramps and friction) and picks, per axis, the key whose outcome comes
// closest to the velocity it wants.
#pragma once

#include <vector>

class c_MyApp;

namespace autopilot {

// What a player sees of the play field in one update (world pixels).
struct Sight {
    struct Planet {
        float x = 0, y = 0, radius = 0;
        float spin = 0;  // the way its arms turn: > 0 clockwise
        bool hasPickup = false;
        float pickupX = 0, pickupY = 0;
    };
    std::vector<Planet> planets;  // in chain order: the start first, home last
    float playerX = 0, playerY = 0;
    std::vector<float> swarmX, swarmY;  // bugs still following
    int countdown = 0;                  // the countdown as displayed (updates / 42)
};

// Reads the sight from the game (read only).
Sight Look(const c_MyApp& app);

struct Keys {
    bool left = false, right = false, up = false, down = false;
    bool operator==(const Keys&) const = default;
};

class Pilot {
  public:
    // The keys to hold for the next update. The first call of a level
    // plans the route; call Reset() before another level.
    Keys Decide(const Sight& sight);
    void Reset();

    // For the tool's trace: the waypoint being approached.
    int waypoint() const { return next_; }
    int waypoints() const { return static_cast<int>(route_.size()); }
    struct Target {
        float x, y;
        int kind;  // 0 crossing, 1 pickup, 2 home, 3 a point on an arc, 4 gathering point
    };
    Target target() const;

  private:
    enum class Kind { Cross, Pickup, Home, Arc, Gather };
    struct Waypoint {
        Kind kind;
        float x, y;
        int planet;
    };
    // One axis of the steering: the key accumulator and the velocity it
    // drives, as the game computes them from the keys.
    struct Axis {
        float keySteer = 0, velocity = 0;
        // +1 plus key, -1 minus key, 0 none: the axis one update on.
        Axis Next(int key) const;
    };
    void Plan(const Sight& sight);
    // The waypoints before (toX, toY) on a leg across an intermediate planet.
    static void AddLeg(const Sight::Planet& planet, float fromX, float fromY, float toX, float toY,
                       std::vector<Waypoint>& out);
    // Stuck on the way: go round the planet under the bug with its spin
    // towards the waypoint (inserted before it).
    void Recover(const Sight& sight);
    int ChooseKey(const Axis& axis, float wanted) const;
    // Whether the rest of the route still fits in the time left at the
    // swarm's pace.
    bool TimeIsShort(const Sight& sight) const;

    std::vector<Waypoint> route_;
    int next_ = 0;
    bool hurry_ = false;  // time is short: finish at speed with the bugs that keep up
    int waited_ = 0;      // updates spent waiting for the swarm at this waypoint
    int gathering_ = 0;   // updates spent gathering the swarm past a crossing
    // Progress check: the closest the bug came to the waypoint, how long
    // ago, and how many more updates of a burst of speed remain (an arm
    // can push the bug back faster than the swarm's pace).
    float closest_ = 1e9f;
    int sinceCloser_ = 0;
    int burst_ = 0;  // > 0 updates of burst left; -1 a burst was spent here
    Axis x_, y_;
};

}  // namespace autopilot
