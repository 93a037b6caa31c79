// The autopilot's sight, route planning and steering. See autopilot.h for
// the plan; every tuning constant is named at the top with its unit.
#include "tools/autoplay/autopilot.h"

#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "game/records.h"

namespace autopilot {
namespace {

// Distances in world pixels, speeds in pixels per update.
constexpr float kCruise = 0.85f;          // the swarm keeps up at this pace
constexpr float kHurryPace = 1.8f;        // when the rest of the way no longer fits the countdown
constexpr float kHomeFill = 90.0f;        // updates to settle on home and fill its meter
constexpr float kRouteSpeed = 1.3f;       // pixels per update along the route, for the estimate
constexpr float kHazardClear = 46.0f;     // keep the path this far from a hazard
constexpr float kDetour = 58.0f;          // detour point distance from the hazard
constexpr float kReached = 10.0f;         // a crossing point counts as passed
constexpr float kArcReached = 22.0f;      // a point on an arc counts as passed
constexpr float kAgainstSpinHop = 40.0f;  // degrees against the spin taken straight
constexpr float kArcStep = 25.0f;         // degrees between points on an arc
constexpr float kRadPerDeg = 0.017453292f;
constexpr float kPastCrossing = 36.0f;  // pixels into the next planet
constexpr float kGathered = 40.0f;      // swarm lag at which the way goes on
constexpr int kGatherBudget = 300;      // updates of gathering past a crossing
constexpr float kSwarmNear = 40.0f;     // swarm considered with the player
constexpr float kSwarmFar = 70.0f;      // swarm left behind: wait for it
constexpr int kWaitBudget = 300;        // updates of waiting per waypoint, then on
constexpr float kBurstPace = 1.8f;      // pace when an arm keeps pushing the bug back
constexpr int kStuckAfter = 45;         // updates without getting closer
constexpr int kBurstLength = 40;        // updates

float Clamp(float v, float lo, float hi) {
    return std::min(std::max(v, lo), hi);
}

// Distance from p to the segment a-b.
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? Clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0, 1) : 0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// How far the swarm trails: the distance from the player within which
// the given share of the following bugs are.
float SwarmLag(const Sight& s, float share) {
    std::vector<float> d;
    for (size_t i = 0; i < s.swarmX.size(); ++i)
        d.push_back(std::hypot(s.swarmX[i] - s.playerX, s.swarmY[i] - s.playerY));
    if (d.empty()) return 0;
    size_t k = std::min(d.size() - 1, static_cast<size_t>(static_cast<float>(d.size()) * share));
    std::nth_element(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(k), d.end());
    return d[k];
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
        // Only the intermediate planets show a pickup.
        planet.hasPickup = i > 0 && i < app.planetCount - 1 && p[rec::kPlanetPickupX] > -1.0f;
        planet.pickupX = p[rec::kPlanetPickupX];
        planet.pickupY = p[rec::kPlanetPickupY];
        s.planets.push_back(planet);
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

bool Pilot::TimeIsShort(const Sight& s) const {
    float length = 0, x = s.playerX, y = s.playerY;
    for (size_t i = static_cast<size_t>(next_); i < route_.size(); ++i) {
        length += std::hypot(route_[i].x - x, route_[i].y - y);
        x = route_[i].x;
        y = route_[i].y;
    }
    // The arms push the bug along its arcs: it covers about a pixel per update.
    const float needed = length / kRouteSpeed + kHomeFill;
    return needed > static_cast<float>(s.countdown * 42);
}

Pilot::Target Pilot::target() const {
    if (route_.empty()) return {0, 0, -1};
    const Waypoint& w = route_[next_];
    return {w.x, w.y, static_cast<int>(w.kind)};
}

void Pilot::Reset() {
    route_.clear();
    next_ = 0;
    waited_ = gathering_ = 0;
    hurry_ = false;
    closest_ = 1e9f;
    sinceCloser_ = burst_ = 0;
    x_ = y_ = Axis{};
}

void Pilot::AddLeg(const Sight::Planet& planet, float fromX, float fromY, float toX, float toY,
                   std::vector<Waypoint>& out) {
    // Headings round the centre, clockwise from up, and the turn along the spin.
    auto heading = [&](float x, float y) { return std::atan2(x - planet.x, -(y - planet.y)) / kRadPerDeg; };
    float from = heading(fromX, fromY), to = heading(toX, toY);
    float withSpin = planet.spin >= 0 ? to - from : from - to;
    withSpin = std::fmod(std::fmod(withSpin, 360.0f) + 360.0f, 360.0f);
    if (360.0f - withSpin < kAgainstSpinHop) {
        // A short hop against the spin: straight, round the hazard if needed.
        if (SegmentDistance(planet.x, planet.y, fromX, fromY, toX, toY) >= kHazardClear) return;
        float mx = (fromX + toX) * 0.5f - planet.x, my = (fromY + toY) * 0.5f - planet.y;
        float len = std::max(std::hypot(mx, my), 1.0f);
        float reach = std::min(kDetour, planet.radius - 28.0f);
        out.push_back({Kind::Arc, planet.x + mx / len * reach, planet.y + my / len * reach, -1});
        return;
    }
    // Between the hazard and the band the neighbours' overlaps (48 deep)
    // reach into, so the push of the arms never hands the bug over to a
    // neighbour whose arms turn the other way.
    const float rFrom = std::hypot(fromX - planet.x, fromY - planet.y);
    const float rTo = std::hypot(toX - planet.x, toY - planet.y);
    const float lo = std::min(kDetour, planet.radius - 30.0f), hi = std::max(lo, planet.radius - 56.0f);
    const int steps = static_cast<int>(std::ceil(withSpin / kArcStep));
    const float dir = planet.spin >= 0 ? 1.0f : -1.0f;
    for (int k = 1; k < steps; ++k) {
        float t = static_cast<float>(k) / static_cast<float>(steps);
        float a = (from + dir * withSpin * t) * kRadPerDeg;
        float r = Clamp(rFrom + (rTo - rFrom) * t, lo, hi);
        out.push_back({Kind::Arc, planet.x + std::sin(a) * r, planet.y - std::cos(a) * r, -1});
    }
}

void Pilot::Plan(const Sight& s) {
    route_.clear();
    next_ = 0;
    const int last = static_cast<int>(s.planets.size()) - 1;
    float x = s.playerX, y = s.playerY;
    for (int i = 1; i <= last; ++i) {
        const Sight::Planet& a = s.planets[i - 1];
        const Sight::Planet& b = s.planets[i];
        // The middle of the overlap along the line between the centres.
        float dx = b.x - a.x, dy = b.y - a.y, d = std::max(std::hypot(dx, dy), 1.0f);
        float overlap = a.radius + b.radius - d;
        float along = a.radius - overlap * 0.5f;
        float cx = a.x + dx / d * along, cy = a.y + dy / d * along;
        if (i > 1) AddLeg(a, x, y, cx, cy, route_);
        route_.push_back({Kind::Cross, cx, cy, -1});
        // On out of the overlap at once, where both planets' arms reach.
        x = cx + dx / d * kPastCrossing;
        y = cy + dy / d * kPastCrossing;
        route_.push_back({Kind::Gather, x, y, -1});
        if (i < last && b.hasPickup) {
            AddLeg(b, x, y, b.pickupX, b.pickupY, route_);
            route_.push_back({Kind::Pickup, b.pickupX, b.pickupY, i});
            x = b.pickupX;
            y = b.pickupY;
        }
    }
    route_.push_back({Kind::Home, s.planets[last].x, s.planets[last].y, last});
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

void Pilot::Recover(const Sight& s) {
    // The intermediate planet whose centre is nearest among those under the bug.
    const int last = static_cast<int>(s.planets.size()) - 1;
    int under = -1;
    float best = 1e9f;
    for (int i = 1; i < last; ++i) {
        const Sight::Planet& p = s.planets[i];
        float d = std::hypot(s.playerX - p.x, s.playerY - p.y);
        if (d < p.radius && d < best) {
            best = d;
            under = i;
        }
    }
    if (under < 0) return;
    std::vector<Waypoint> detour;
    AddLeg(s.planets[under], s.playerX, s.playerY, route_[next_].x, route_[next_].y, detour);
    route_.insert(route_.begin() + next_, detour.begin(), detour.end());
}

Keys Pilot::Decide(const Sight& s) {
    if (s.planets.empty()) return {};
    if (route_.empty()) Plan(s);
    // Move on past reached crossings and collected pickups.
    while (next_ < static_cast<int>(route_.size()) - 1) {
        const Waypoint& w = route_[next_];
        float reach = w.kind == Kind::Arc ? kArcReached : kReached;
        bool done = w.kind == Kind::Pickup ? !s.planets[w.planet].hasPickup
                                           : std::hypot(w.x - s.playerX, w.y - s.playerY) < reach;
        // Gather the swarm just past a crossing before turning away: bugs
        // walk straight at the player, and the overlap is narrow.
        if (done && !hurry_ && w.kind == Kind::Gather && SwarmLag(s, 0.75f) > kGathered &&
            ++gathering_ < kGatherBudget)
            break;
        if (!done) break;
        gathering_ = 0;
        ++next_;
        waited_ = 0;
        closest_ = 1e9f;
        sinceCloser_ = burst_ = 0;
    }
    const Waypoint& w = route_[next_];
    float ex = w.x - s.playerX, ey = w.y - s.playerY;
    float dist = std::hypot(ex, ey);
    // Pace: slow down as the swarm trails, wait when it is left behind,
    // and ease into the waypoint.
    if (!hurry_ && TimeIsShort(s)) hurry_ = true;
    float lag = hurry_ ? 0.0f : SwarmLag(s, 0.5f);
    float pace = kCruise;
    if (lag > kSwarmNear && waited_ < kWaitBudget) {
        pace *= Clamp((kSwarmFar - lag) / (kSwarmFar - kSwarmNear), 0, 1);
        ++waited_;
    }
    if (w.kind == Kind::Home && dist < 90.0f) pace = std::max(pace, 0.5f);  // the swarm follows in
    if (dist < closest_ - 4.0f) {
        closest_ = dist;
        sinceCloser_ = 0;
    } else if (++sinceCloser_ > kStuckAfter && w.kind != Kind::Home) {
        // Still stuck after a burst: a point on an arc is only a guide, so
        // give it up and make for the next one.
        if (burst_ < 0 && w.kind == Kind::Arc && next_ < static_cast<int>(route_.size()) - 1) {
            ++next_;
            burst_ = 0;
        } else if (burst_ < 0) {
            Recover(s);
            burst_ = 0;
        } else {
            burst_ = kBurstLength;
        }
        sinceCloser_ = 0;
        closest_ = 1e9f;
    }
    if (hurry_) pace = kHurryPace;
    if (burst_ > 0) {
        pace = kBurstPace;
        if (--burst_ == 0) burst_ = -1;  // spent: the next stall gives the point up
    }
    float speed = std::min(pace, 0.12f * dist);
    float wantX = dist > 0 ? ex / dist * speed : 0, wantY = dist > 0 ? ey / dist * speed : 0;
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
