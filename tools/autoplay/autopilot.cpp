// The autopilot's sight, legs, way following and steering. See autopilot.h
// for the plan; every tuning constant is named at the top with its unit.
#include "tools/autoplay/autopilot.h"

#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "game/records.h"
#include "tools/autoplay/route_planner.h"

namespace autopilot {
namespace {

// Distances in world pixels, speeds in pixels per update.
constexpr float kPickupReach = 10.0f;  // the game takes a pickup within 16 on both axes
constexpr float kHomeReach = 6.0f;     // the meter fills within 32 of the centre on both axes
constexpr float kShortOfHome = 70.0f;  // the waiting point, this far before the home centre
constexpr float kHomeGather = 150.0f;  // the swarm counts as in when this close to the centre
constexpr float kGatheredShare = 0.9f;
constexpr int kWaitBudget = 400;     // updates of waiting short of home
constexpr float kOffTheWay = 24.0f;  // further from the way than this: find a new one
constexpr float kGain = 0.2f;        // per update, of the distance to the way
constexpr float kTopSpeed = 1.6f;
constexpr int kMaxLayers = 300;       // the longest way searched (layers of the way finder)
constexpr float kStraggling = 70.0f;  // most of the swarm further off than this: wait for it
constexpr float kStragglerShare = 0.8f;
constexpr int kStragglerBudget = 100;          // updates of waiting per leg
const Margins kHoldClear = {0, 0, 14, 0, 40};  // where the bug may stop and wait

// From cautious to desperate: the way finder tries these in turn.
// From cautious to desperate: the way finder tries these in turn. The
// rims and hazards lose a swarm at once, an arm only scatters it, so the
// arms' room goes first.
const Margins kLadder[] = {
    {20, 32, 14, 6, 6},
    {20, 28, 10, 3, 3},
    {18, 24, 6, 0, 0},
    {14, 20, 4, 0, 0},
};

// The distance from the bug within which the given share of the swarm is.
float SwarmLag(const Sight& s, float share) {
    std::vector<float> d;
    for (size_t i = 0; i < s.swarmX.size(); ++i)
        d.push_back(std::hypot(s.swarmX[i] - s.playerX, s.swarmY[i] - s.playerY));
    if (d.empty()) return 0;
    size_t k = std::min(d.size() - 1, static_cast<size_t>(static_cast<float>(d.size()) * share));
    std::nth_element(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(k), d.end());
    return d[k];
}

float Clamp(float v, float lo, float hi) {
    return std::min(std::max(v, lo), hi);
}

// The share of the swarm within `reach` of (x, y).
float ShareWithin(const Sight& s, float x, float y, float reach) {
    if (s.swarmX.empty()) return 1.0f;
    int n = 0;
    for (size_t i = 0; i < s.swarmX.size(); ++i) n += std::hypot(s.swarmX[i] - x, s.swarmY[i] - y) < reach;
    return static_cast<float>(n) / static_cast<float>(s.swarmX.size());
}

}  // namespace

Sight Look(const c_MyApp& app) {
    Sight s;
    for (int i = 0; i < app.planetCount; ++i) {
        const float* p = &app.planets[i * rec::kSize];
        Sight::Planet planet;
        planet.x = p[rec::kPlanetX];
        planet.y = p[rec::kPlanetY];
        planet.radius = p[rec::kPlanetRadius];
        planet.spin = p[rec::kPlanetSpin];
        planet.angle = p[rec::kPlanetAngle];
        // Only the intermediate planets show arms and a pickup.
        const bool middle = i > 0 && i < app.planetCount - 1;
        planet.arms = middle ? static_cast<int>(p[rec::kPlanetArms]) : 0;
        planet.hasPickup = middle && p[rec::kPlanetPickupX] > -1.0f;
        planet.pickupX = p[rec::kPlanetPickupX];
        planet.pickupY = p[rec::kPlanetPickupY];
        s.planets.push_back(planet);
    }
    for (int h = 1; h <= app.hazardLast; ++h) {
        const float* z = &app.hazards[h * rec::kSize];
        if (z[rec::kHazardState] > 0.0f) s.hazards.push_back({z[rec::kHazardX], z[rec::kHazardY]});
    }
    s.playerX = app.player[rec::kPlayerX];
    s.playerY = app.player[rec::kPlayerY];
    s.countdown = std::max(app.timeLeft / 42, 0);
    for (int j = 0; j <= app.followerLast; ++j) {
        const float* f = &app.followers[j * rec::kSize];
        if (f[rec::kFollowerState] != 1.0f) continue;
        s.swarmX.push_back(f[rec::kFollowerX]);
        s.swarmY.push_back(f[rec::kFollowerY]);
    }
    return s;
}

void Pilot::Reset() {
    legs_.clear();
    leg_ = 0;
    way_.clear();
    wayUpdate_ = 0;
    wayFailed_ = false;
    waited_ = stragglerWait_ = 0;
    aim_ = {0, 0, -1};
    x_ = y_ = Axis{};
}

void Pilot::PlanLegs(const Sight& s) {
    legs_.clear();
    leg_ = 0;
    const int last = static_cast<int>(s.planets.size()) - 1;
    for (int i = 1; i < last; ++i)
        if (s.planets[i].hasPickup)
            legs_.push_back({Kind::Pickup, s.planets[i].pickupX, s.planets[i].pickupY, i});
    const Sight::Planet& home = s.planets[last];
    const Sight::Planet& before = s.planets[std::max(last - 1, 0)];
    float dx = before.x - home.x, dy = before.y - home.y, d = std::max(std::hypot(dx, dy), 1.0f);
    legs_.push_back(
        {Kind::ShortOfHome, home.x + dx / d * kShortOfHome, home.y + dy / d * kShortOfHome, last});
    legs_.push_back({Kind::Home, home.x, home.y, last});
}

void Pilot::NextLegs(const Sight& s) {
    while (leg_ < static_cast<int>(legs_.size()) - 1) {
        const Leg& l = legs_[static_cast<size_t>(leg_)];
        if (l.kind == Kind::Pickup && s.planets[static_cast<size_t>(l.planet)].hasPickup) return;
        if (l.kind == Kind::ShortOfHome) {
            if (std::hypot(l.x - s.playerX, l.y - s.playerY) > kOffTheWay) return;
            const Sight::Planet& home = s.planets.back();
            if (ShareWithin(s, home.x, home.y, kHomeGather) < kGatheredShare && ++waited_ < kWaitBudget)
                return;
        }
        ++leg_;
        stragglerWait_ = 0;
        way_.clear();
        wayFailed_ = false;
    }
}

void Pilot::FindWay(const Sight& s) {
    const Leg& l = legs_[static_cast<size_t>(leg_)];
    // From the first planet the bug is in (the nearest one when it is in
    // none) to the leg's planet.
    int first = -1;
    float nearest = 1e9f;
    for (size_t i = 0; i < s.planets.size() && (first < 0 || nearest >= 0); ++i) {
        float gap = std::hypot(s.playerX - s.planets[i].x, s.playerY - s.planets[i].y) - s.planets[i].radius;
        if (gap < nearest) {
            nearest = gap;
            first = static_cast<int>(i);
        }
    }
    first = std::min(std::max(first, 0), l.planet);
    const float reach = l.kind == Kind::Pickup ? kPickupReach : kHomeReach;
    RoutePlanner planner;
    way_.clear();
    for (const Margins& m : kLadder) {
        way_ = planner.Find(s, first, l.planet, s.playerX, s.playerY, l.x, l.y, reach, m, kMaxLayers);
        if (!way_.empty()) break;
    }
    wayUpdate_ = 0;
    wayFailed_ = way_.empty();
}

PlannedPoint Pilot::WayAt(int updates) const {
    const int n = RoutePlanner::kLayerUpdates;
    const int layer = updates / n;
    if (layer + 1 >= static_cast<int>(way_.size())) return way_.back();
    const PlannedPoint& a = way_[static_cast<size_t>(layer)];
    const PlannedPoint& b = way_[static_cast<size_t>(layer) + 1];
    const float t = static_cast<float>(updates % n) / static_cast<float>(n);
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

Keys Pilot::Decide(const Sight& s) {
    if (s.planets.empty()) return {};
    if (legs_.empty()) PlanLegs(s);
    NextLegs(s);
    const Leg& l = legs_[static_cast<size_t>(leg_)];
    aim_ = {l.x, l.y, static_cast<int>(l.kind)};

    // Wait for stragglers where no arm comes by for a while; the way is
    // found again from here once they are in.
    if (SwarmLag(s, kStragglerShare) > kStraggling && stragglerWait_ < kStragglerBudget &&
        RoutePlanner::ClearOfArms(s, s.playerX, s.playerY, 0, kHoldClear)) {
        ++stragglerWait_;
        way_.clear();
        wayFailed_ = false;
        return Steer(0, 0);
    }
    // A new way when there is none, when the bug has left it, or when it
    // has run out short of the goal.
    if (way_.empty() && !wayFailed_) FindWay(s);
    if (!way_.empty()) {
        PlannedPoint on = WayAt(wayUpdate_);
        const int end = static_cast<int>(way_.size() - 1) * RoutePlanner::kLayerUpdates;
        const bool off = std::hypot(on.x - s.playerX, on.y - s.playerY) > kOffTheWay;
        const bool spent = wayUpdate_ > end + 2 * RoutePlanner::kLayerUpdates &&
                           std::hypot(l.x - s.playerX, l.y - s.playerY) > kOffTheWay;
        if ((off && wayUpdate_ > RoutePlanner::kLayerUpdates) || spent) FindWay(s);
    } else if (wayFailed_ && ++wayUpdate_ > 3 * RoutePlanner::kLayerUpdates) {
        FindWay(s);  // try again from here
    }

    float wantX, wantY;
    if (!way_.empty()) {
        PlannedPoint now = WayAt(wayUpdate_ + 1), then = WayAt(wayUpdate_ + 2);
        wantX = (then.x - now.x) + (then.x - s.playerX) * kGain;
        wantY = (then.y - now.y) + (then.y - s.playerY) * kGain;
        ++wayUpdate_;
    } else {
        // No way at all: straight at the goal, slowly.
        wantX = (l.x - s.playerX) * kGain;
        wantY = (l.y - s.playerY) * kGain;
        float speed = std::hypot(wantX, wantY);
        if (speed > 0.8f) wantX *= 0.8f / speed, wantY *= 0.8f / speed;
    }
    float speed = std::hypot(wantX, wantY);
    if (speed > kTopSpeed) wantX *= kTopSpeed / speed, wantY *= kTopSpeed / speed;
    return Steer(wantX, wantY);
}

Pilot::Axis Pilot::Axis::Next(int key) const {
    // The game's keyboard steering for one axis (minus key first), then the
    // velocity step with its clamp and friction.
    Axis a = *this;
    float steer = 0;
    if (key < 0) {
        a.keySteer -= 0.15f;
        steer = a.keySteer;
    } else if (a.keySteer < 0) {
        a.keySteer = std::min(a.keySteer + 0.2f, 0.0f);
        steer = a.keySteer;
    }
    if (key > 0) {
        a.keySteer += 0.15f;
        steer = a.keySteer;
    } else if (a.keySteer > 0) {
        a.keySteer = std::max(a.keySteer - 0.2f, 0.0f);
        steer = a.keySteer;
    }
    steer = Clamp(steer, -1, 1);
    a.keySteer = Clamp(a.keySteer, -1, 1);
    a.velocity = Clamp(a.velocity + steer * 0.25f, -2, 2);
    if (std::fabs(steer) < 0.25f) {
        if (a.velocity > 0) a.velocity = std::max(a.velocity - 0.1f, 0.0f);
        if (a.velocity < 0) a.velocity = std::min(a.velocity + 0.1f, 0.0f);
    }
    return a;
}

int Pilot::ChooseKey(const Axis& axis, float wanted) const {
    // Plans of the form "hold one key for n updates, then let go", judged
    // over the next kHorizon updates (the ramp runs on after a release and
    // friction brakes once it has), and the first step of the best plan.
    constexpr int kHorizon = 8, kLongestHold = 5;
    int best = 0;
    float bestCost = 1e9f;
    for (int key : {1, -1}) {
        for (int hold = 0; hold <= kLongestHold; ++hold) {
            Axis a = axis;
            float cost = 0;
            for (int t = 0; t < kHorizon; ++t) {
                a = a.Next(t < hold ? key : 0);
                cost += std::fabs(a.velocity - wanted);
            }
            if (cost < bestCost - 1e-4f) {
                bestCost = cost;
                best = hold > 0 ? key : 0;
            }
        }
    }
    return best;
}

Keys Pilot::Steer(float wantX, float wantY) {
    int kx = ChooseKey(x_, wantX), ky = ChooseKey(y_, wantY);
    x_ = x_.Next(kx);
    y_ = y_.Next(ky);
    Keys k;
    k.left = kx < 0;
    k.right = kx > 0;
    k.up = ky < 0;
    k.down = ky > 0;
    return k;
}

}  // namespace autopilot
