// The autopilot: plays a level the way a player would, from what is on the
// screen (planets and their arms, pickups, hazards, home, its own bug and
// the swarm) to the arrow keys it holds. It never writes into the game; the
// runner (autoplay_run.h) carries its keys through the real input path.
//
// Plan: one leg per pickup, in the order of the chain, then a point just
// short of the home centre (where it waits for the swarm to come in) and
// the centre itself. Each leg's way comes from the way finder
// (route_planner.h): through the planets, in time with their arms, at a
// pace the swarm keeps up with. The bug follows the way update by update;
// when it drifts off the way (an arm caught it after all) or the way runs
// out, a new way is found from where it is. Steering: it knows its own key
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
        float spin = 0;   // degrees per update of spin: > 0 clockwise (the arms turn a quarter of it)
        float angle = 0;  // the arms' rotation as drawn
        int arms = 0;     // arms drawn (none on the start and home planets)
        bool hasPickup = false;
        float pickupX = 0, pickupY = 0;
    };
    struct Hazard {
        float x = 0, y = 0;
    };
    std::vector<Planet> planets;  // in chain order: the start first, home last
    std::vector<Hazard> hazards;
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

// A point of a way, one per layer of the way finder.
struct PlannedPoint {
    float x, y;
};

class Pilot {
  public:
    // The keys to hold for the next update. The first call of a level
    // plans the legs; call Reset() before another level.
    Keys Decide(const Sight& sight);
    void Reset();

    // For the tool's trace: the leg being flown and the point aimed at.
    int waypoint() const { return leg_; }
    int waypoints() const { return static_cast<int>(legs_.size()); }
    struct Target {
        float x, y;
        int kind;  // 1 pickup, 2 home centre, 5 short of home, -1 none
    };
    Target target() const { return aim_; }

  private:
    enum class Kind { Pickup = 1, Home = 2, ShortOfHome = 5 };
    struct Leg {
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
    void PlanLegs(const Sight& sight);
    // Moves on past finished legs; false while waiting for the swarm.
    void NextLegs(const Sight& sight);
    void FindWay(const Sight& sight);
    // Where the way has the bug `updates` after it was found.
    PlannedPoint WayAt(int updates) const;
    int ChooseKey(const Axis& axis, float wanted) const;
    Keys Steer(float wantX, float wantY);

    std::vector<Leg> legs_;
    int leg_ = 0;
    std::vector<PlannedPoint> way_;
    int wayUpdate_ = 0;  // updates since the way was found
    bool wayFailed_ = false;
    int waited_ = 0;         // updates spent waiting for the swarm short of home
    int stragglerWait_ = 0;  // updates spent waiting for stragglers on this leg
    Target aim_{0, 0, -1};
    Axis x_, y_;
};

}  // namespace autopilot
