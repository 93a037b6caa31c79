// The way finder's search: the cell grid, the static clearances (rims and
// hazards), the arm clearance in time, and the layered search with its
// way back. See route_planner.h.
#include "tools/autoplay/route_planner.h"

#include <algorithm>
#include <cmath>

namespace autopilot {
namespace {

constexpr float kRadPerDeg = 0.017453292f;
constexpr float kArmTurnPerSpin = 0.25f;  // degrees an arm turns per update, per degree of spin
constexpr float kRimBand = 24.0f;         // px either side of a rim
constexpr float kRimExtraRoom = 12.0f;    // px
constexpr float kRimExtraBack = 30.0f;    // updates

// Degrees in (-180, 180].
float Wrap180(float a) {
    a = std::fmod(a, 360.0f);
    if (a > 180.0f) a -= 360.0f;
    if (a <= -180.0f) a += 360.0f;
    return a;
}

bool InsideAny(const Sight& s, float x, float y) {
    for (const Sight::Planet& p : s.planets)
        if (std::hypot(x - p.x, y - p.y) < p.radius) return true;
    return false;
}

// Inside the planets with `room` to spare on every side (eight directions).
bool WellInside(const Sight& s, float x, float y, float room) {
    if (!InsideAny(s, x, y)) return false;
    for (int k = 0; k < 8; ++k) {
        float a = static_cast<float>(k) * 45.0f * kRadPerDeg;
        if (!InsideAny(s, x + std::sin(a) * room, y - std::cos(a) * room)) return false;
    }
    return true;
}

}  // namespace

bool RoutePlanner::ClearOfArms(const Sight& s, float x, float y, float updates, const Margins& m) {
    const int last = static_cast<int>(s.planets.size()) - 1;
    for (int i = 1; i < last; ++i) {
        const Sight::Planet& p = s.planets[i];
        if (p.arms <= 0) continue;
        const float d = std::hypot(x - p.x, y - p.y);
        // Round the rim the arm's tip sweeps bugs that are just outside the
        // planet along with it, out of the neighbour they were safe in: more
        // room there, and for longer, since the swarm lingers behind the bug.
        const bool rim = std::fabs(d - p.radius) < kRimBand;
        const float clearance = rim ? m.arm + kRimExtraRoom : m.arm;
        const float back = rim ? m.back + kRimExtraBack : m.back;
        if (d > p.radius + clearance) continue;
        const float bearing = std::atan2(x - p.x, -(y - p.y)) / kRadPerDeg;
        const float turn = kArmTurnPerSpin * p.spin;
        // The arm's way over the window, as angles ahead of the point's
        // bearing in the direction it turns.
        const float dir = turn >= 0 ? 1.0f : -1.0f;
        const float sweepBack = std::fabs(turn) * back, sweepAhead = std::fabs(turn) * m.ahead;
        const float mid = p.angle + turn * (updates + 1.0f) + dir * 0.5f * (sweepAhead - sweepBack);
        const float half = 0.5f * (sweepAhead + sweepBack);
        // The angle the clearance takes at this distance (all of it near the centre).
        const float room = d > clearance ? std::asin(clearance / d) / kRadPerDeg : 180.0f;
        const float spacing = 360.0f / static_cast<float>(p.arms);
        for (int k = 1; k <= p.arms; ++k) {
            float off = std::fabs(Wrap180(bearing - (spacing * static_cast<float>(k) + mid)));
            if (off < half + room) return false;
        }
    }
    return true;
}

std::vector<PlannedPoint> RoutePlanner::Find(const Sight& s, int first, int last, float x, float y,
                                             float goalX, float goalY, float reach, const Margins& m,
                                             int maxLayers) const {
    // The grid over the allowed planets (and the bug, wherever it is).
    float x0 = x, y0 = y, x1 = x, y1 = y;
    for (int i = first; i <= last; ++i) {
        const Sight::Planet& p = s.planets[i];
        x0 = std::min(x0, p.x - p.radius);
        y0 = std::min(y0, p.y - p.radius);
        x1 = std::max(x1, p.x + p.radius);
        y1 = std::max(y1, p.y + p.radius);
    }
    const int nx = static_cast<int>((x1 - x0) / kCell) + 2, ny = static_cast<int>((y1 - y0) / kCell) + 2;
    const int cells = nx * ny;
    auto cx = [&](int c) { return x0 + (static_cast<float>(c % nx) + 0.5f) * kCell; };
    auto cy = [&](int c) { return y0 + (static_cast<float>(c / nx) + 0.5f) * kCell; };

    // Static room: in an allowed planet, clear of the rims and the hazards.
    std::vector<char> room(static_cast<size_t>(cells), 0);
    for (int c = 0; c < cells; ++c) {
        const float px = cx(c), py = cy(c);
        bool allowed = false;
        for (int i = first; i <= last && !allowed; ++i)
            allowed = std::hypot(px - s.planets[i].x, py - s.planets[i].y) < s.planets[i].radius;
        if (!allowed || !WellInside(s, px, py, m.rim)) continue;
        bool clear = true;
        for (const Sight::Hazard& h : s.hazards) clear = clear && std::hypot(px - h.x, py - h.y) >= m.hazard;
        room[static_cast<size_t>(c)] = clear ? 1 : 0;
    }

    auto isGoal = [&](int c) { return std::fabs(cx(c) - goalX) < reach && std::fabs(cy(c) - goalY) < reach; };
    const int startX = std::clamp(static_cast<int>((x - x0) / kCell), 0, nx - 1);
    const int startY = std::clamp(static_cast<int>((y - y0) / kCell), 0, ny - 1);
    std::vector<std::vector<int>> layerCells{{startY * nx + startX}}, layerParents{{-1}};
    std::vector<int> seen(static_cast<size_t>(cells), -1);
    int found = isGoal(layerCells[0][0]) ? 0 : -1;
    for (int layer = 1; layer <= maxLayers && found < 0; ++layer) {
        const std::vector<int>& from = layerCells.back();
        std::vector<int> next, parents;
        const float when = static_cast<float>(layer * kLayerUpdates);
        // Staying first, so that a way moves on as early as it can and
        // then waits, rather than wandering while it waits.
        auto visit = [&](int n, size_t k) {
            if (seen[static_cast<size_t>(n)] == layer || !room[static_cast<size_t>(n)]) return;
            seen[static_cast<size_t>(n)] = layer;
            if (!ClearOfArms(s, cx(n), cy(n), when, m)) return;
            next.push_back(n);
            parents.push_back(static_cast<int>(k));
            if (isGoal(n)) found = layer;
        };
        for (size_t k = 0; k < from.size() && found < 0; ++k) visit(from[k], k);
        for (size_t k = 0; k < from.size() && found < 0; ++k) {
            const int c = from[k], gx = c % nx, gy = c / nx;
            for (int dy = -1; dy <= 1 && found < 0; ++dy) {
                for (int dx = -1; dx <= 1 && found < 0; ++dx) {
                    const int ax = gx + dx, ay = gy + dy;
                    if (ax >= 0 && ay >= 0 && ax < nx && ay < ny) visit(ay * nx + ax, k);
                }
            }
        }
        if (next.empty()) return {};
        layerCells.push_back(std::move(next));
        layerParents.push_back(std::move(parents));
    }
    if (found < 0) return {};
    // The way back from the goal cell (the last one added).
    std::vector<PlannedPoint> way(static_cast<size_t>(found) + 1);
    int index = static_cast<int>(layerCells[static_cast<size_t>(found)].size()) - 1;
    for (int layer = found; layer >= 0; --layer) {
        const int c = layerCells[static_cast<size_t>(layer)][static_cast<size_t>(index)];
        way[static_cast<size_t>(layer)] = {cx(c), cy(c)};
        index = layerParents[static_cast<size_t>(layer)][static_cast<size_t>(index)];
    }
    way[0] = {x, y};
    return way;
}

}  // namespace autopilot
