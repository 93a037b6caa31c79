// A level map: every planet's disc in its theme colour, the arms of the
// intermediate planets at their start angle (the only planets whose arms
// turn in play), each pickup, each hazard, the start and home planets
// ringed and lettered, a scale bar of one large planet's radius, and the
// level number. World y grows downwards, as on screen.
#include "tools/levels/level_map.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "drawing.h"
#include "game/records.h"

namespace levels {
namespace {

using assetgen::Canvas;
using assetgen::Pen;
using assetgen::Rgba;
using assetgen::V2;

// The disc colours of the game's themes 1..8, then any other theme.
constexpr float kDisc[9][3] = {{120, 50, 50}, {120, 80, 50}, {120, 120, 50}, {50, 120, 50}, {50, 120, 120},
                               {50, 50, 120}, {80, 50, 120}, {120, 50, 80},  {80, 80, 80}};

struct View {
    float minX, minY, scale;  // world to map: (p - min) * scale + margin
    float margin;
    V2 Map(float x, float y) const { return {(x - minX) * scale + margin, (y - minY) * scale + margin}; }
};

View Fit(const Level& l, float width, float margin, float* height) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const auto& p : l.planets) {
        float r = p[rec::kPlanetRadius];
        x0 = std::min(x0, p[rec::kPlanetX] - r);
        x1 = std::max(x1, p[rec::kPlanetX] + r);
        y0 = std::min(y0, p[rec::kPlanetY] - r);
        y1 = std::max(y1, p[rec::kPlanetY] + r);
    }
    View v{x0, y0, (width - 2 * margin) / (x1 - x0), margin};
    *height = (y1 - y0) * v.scale + 2 * margin;
    return v;
}

// Draws the map into the box of `pen` (its whole frame), `detail` adding
// the arms, the scale bar and the letters that only a large map can show.
void DrawMap(Pen& pen, const Level& l, const View& v, bool detail) {
    const int row = l.colourTheme >= 1 && l.colourTheme <= 8 ? l.colourTheme - 1 : 8;
    const Rgba disc = assetgen::rgb(kDisc[row][0], kDisc[row][1], kDisc[row][2], 0.65f);
    const float s = v.scale;
    for (const auto& p : l.planets) {
        V2 c = v.Map(p[rec::kPlanetX], p[rec::kPlanetY]);
        float r = p[rec::kPlanetRadius] * s;
        pen.fillNear(c, r + 2, disc, [&](V2 q) { return assetgen::sdCircle(q, c, r); });
        pen.fillNear(c, r + 2, assetgen::rgb(255, 255, 255, 0.25f),
                     [&](V2 q) { return assetgen::sdRing(q, c, r, std::max(0.5f, 1.5f * s)); });
    }
    const int last = static_cast<int>(l.planets.size()) - 1;
    for (int i = 1; i < last; ++i) {
        const auto& p = l.planets[i];
        V2 c = v.Map(p[rec::kPlanetX], p[rec::kPlanetY]);
        if (detail) {
            const int arms = static_cast<int>(p[rec::kPlanetArms]);
            const int segments = static_cast<int>(p[rec::kPlanetRadius] / 24.0f);
            Rgba bead = assetgen::paletteColour(static_cast<int>(p[rec::kPlanetColour]));
            for (int k = 1; k <= arms; ++k) {
                float a = 360.0f / arms * k + p[rec::kPlanetAngle];
                V2 dir = assetgen::dir(a);
                V2 end = c + dir * (12.0f * 2 * segments * s);
                pen.fillNear((c + end) * 0.5f, 12.0f * segments * s + 4, bead, [&](V2 q) {
                    return assetgen::sdSegment(q, c + dir * (12.0f * s), end, 3.0f * s);
                });
            }
        }
        V2 pick = v.Map(p[rec::kPlanetPickupX], p[rec::kPlanetPickupY]);
        float pr = std::max(2.0f, 9.0f * s);
        pen.fillNear(pick, pr + 2, assetgen::rgb(255, 230, 60), [&](V2 q) {
            return assetgen::sdBox(q, pick, {pr, pr}, pr * 0.3f);
        });
    }
    for (const auto& h : l.hazards) {
        V2 c = v.Map(h[rec::kHazardX], h[rec::kHazardY]);
        float hr = std::max(2.5f, 14.0f * s);
        std::vector<V2> spikes = assetgen::starPoints(c, 8, hr, hr * 0.55f, h[rec::kHazardAngle]);
        pen.fillNear(c, hr + 2, assetgen::rgb(230, 40, 40),
                     [&](V2 q) { return assetgen::sdPolygon(q, spikes); });
    }
    // Start in green, home in gold.
    const struct {
        int index;
        Rgba colour;
        const char* letter;
    } marks[] = {{0, assetgen::rgb(80, 230, 120), "S"}, {last, assetgen::rgb(255, 200, 40), "H"}};
    for (const auto& m : marks) {
        const auto& p = l.planets[m.index];
        V2 c = v.Map(p[rec::kPlanetX], p[rec::kPlanetY]);
        float r = p[rec::kPlanetRadius] * s;
        pen.fillNear(c, r + 4, m.colour,
                     [&](V2 q) { return assetgen::sdRing(q, c, r, std::max(1.0f, 3.0f * s)); });
        if (detail) {
            float cell = 4.0f;
            assetgen::roundText(pen, m.letter, c.x - 0.5f * assetgen::roundTextWidth(m.letter, cell),
                                c.y - 4 * cell, cell, 0.45f, m.colour);
        }
    }
}

Rgba Ink() {
    return assetgen::rgb(235, 235, 245);
}

}  // namespace

bool WriteMapPng(const Level& l, const std::string& file, int width) {
    float height = 0;
    const float margin = 48;
    View v = Fit(l, static_cast<float>(width), margin, &height);
    Canvas canvas(width, static_cast<int>(std::ceil(height)) + 40);
    Pen pen(canvas, 0, 0, canvas.width(), canvas.height(), 1.0f);
    pen.fill(assetgen::rgb(14, 16, 28), [](V2) { return -1.0f; });
    DrawMap(pen, l, v, true);
    // The level number, and a bar as long as a large planet's radius.
    assetgen::roundText(pen, "LEVEL " + std::to_string(l.level), 12, 10, 3.0f, 0.45f, Ink());
    float bar = 240.0f * v.scale;
    float y = static_cast<float>(canvas.height()) - 24;
    pen.fill(Ink(), [&](V2 q) { return assetgen::sdBox(q, {24 + bar / 2, y}, {bar / 2, 2}); });
    assetgen::roundText(pen, "240 PX", 32 + bar, y - 10, 2.0f, 0.45f, Ink());
    return assetgen::writePng(file, canvas.width(), canvas.height(), 4, canvas.toRgba8());
}

bool WriteAtlasPng(const std::string& file) {
    const int cellW = 240, cellH = 180, columns = 10;
    Canvas canvas(cellW * columns, cellH * 10);
    for (int n = 1; n <= 100; ++n) {
        Level l = Build(n);
        int cx = (n - 1) % columns, cy = (n - 1) / columns;
        Pen pen(canvas, cx * cellW, cy * cellH, cellW, cellH, 1.0f);
        pen.fill(assetgen::rgb((cx + cy) % 2 ? 18 : 24, 20, 34), [](V2) { return -1.0f; });
        // Fit the whole chain into the cell, whichever side limits it.
        float height = 0;
        View v = Fit(l, cellW, 8, &height);
        if (height > cellH) v.scale *= (cellH - 16) / (height - 16);
        DrawMap(pen, l, v, false);
        assetgen::roundText(pen, std::to_string(n), 6, 4, 2.0f, 0.45f, Ink());
    }
    return assetgen::writePng(file, canvas.width(), canvas.height(), 4, canvas.toRgba8());
}

}  // namespace levels
