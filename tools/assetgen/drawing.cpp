// Shared drawing vocabulary: palette, hash, rounded lettering and the emblem.
#include "drawing.h"

#include <vector>

#include "pixel_font.h"

namespace assetgen {

Rgba paletteColour(int index, float value, float saturation) {
    static const float kHue[8] = {2, 30, 52, 120, 182, 218, 272, 325};
    return hsv(kHue[((index % 8) + 8) % 8], saturation, value);
}

float hash01(int a, int b, int c) {
    uint32_t h = uint32_t(a) * 0x9E3779B1u ^ (uint32_t(b) + 0x7F4A7C15u) * 0x85EBCA77u ^
                 (uint32_t(c) + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return float(h >> 8) / 16777216.0f;
}

namespace {

struct Stroke {
    V2 a, b;
};

// The strokes of one glyph: a dot per lit cell, a capsule to each lit right or
// lower neighbour, and diagonal capsules where no orthogonal path exists.
std::vector<Stroke> glyphStrokes(const Glyph& g, float x, float y, float cell) {
    std::vector<Stroke> s;
    auto centre = [&](int c, int r) { return V2{x + (c + 0.5f) * cell, y + (r + 0.5f) * cell}; };
    for (int r = 0; r < int(g.rows.size()); ++r)
        for (int c = 0; c < g.width; ++c) {
            if (!g.lit(c, r)) continue;
            s.push_back({centre(c, r), centre(c, r)});
            if (g.lit(c + 1, r)) s.push_back({centre(c, r), centre(c + 1, r)});
            if (g.lit(c, r + 1)) s.push_back({centre(c, r), centre(c, r + 1)});
            for (int dx = -1; dx <= 1; dx += 2)
                if (g.lit(c + dx, r + 1) && !g.lit(c + dx, r) && !g.lit(c, r + 1))
                    s.push_back({centre(c, r), centre(c + dx, r + 1)});
        }
    return s;
}

}  // namespace

float roundTextWidth(const std::string& text, float cell) {
    float w = 0;
    for (char ch : text) w += (textGlyph(static_cast<unsigned char>(ch)).width + 1) * cell;
    return text.empty() ? 0 : w - cell;
}

float roundText(Pen& pen, const std::string& text, float x, float y, float cell, float weight, Rgba col,
                float grow) {
    return roundTextBy(
        pen, text, x, y, cell, weight, [&](V2) { return col; }, grow);
}

float roundTextBy(Pen& pen, const std::string& text, float x, float y, float cell, float weight,
                  const std::function<Rgba(V2)>& colourAt, float grow) {
    float x0 = x;
    float r = weight * cell + grow;
    for (char ch : text) {
        const Glyph& g = textGlyph(static_cast<unsigned char>(ch));
        std::vector<Stroke> strokes = glyphStrokes(g, x, y, cell);
        if (!strokes.empty())
            pen.shade(x - r - 2, y - r - 2, x + g.width * cell + r + 2, y + 9 * cell + r + 2,
                      [&](V2 p, float px) {
                          float d = 1e9f;
                          for (const Stroke& s : strokes) d = std::min(d, sdSegment(p, s.a, s.b, r));
                          float cov = Pen::coverage(d, px);
                          return cov > 0 ? scaled(colourAt(p), cov) : Rgba{};
                      });
        x += (g.width + 1) * cell;
    }
    return x - x0 - cell;
}

void drawEmblem(Pen& pen, V2 c, float size) {
    float R = size * 0.5f;
    std::vector<V2> hex = ngonPoints(c, 6, R * 0.92f, 30);
    auto hexSd = [&](V2 p) { return sdPolygon(p, hex) - R * 0.06f; };
    // Plate: deep teal hexagon with a lighter bevel.
    styledShape(pen, hexSd, rgb(18, 70, 92), R * 0.05f, R * 0.06f);
    pen.fillBy(
        [&](V2 p) { return hexSd(p) + R * 0.1f; },
        [&](V2 p) { return mix(rgb(40, 140, 160), rgb(14, 52, 76), clamp01((p.y - c.y + R) / (2 * R))); });
    // Orbit: a ring crossing behind and in front of the letter.
    auto orbit = [&](V2 p) {
        V2 q = unrotate(p - c, -25);
        q.y *= 2.4f;
        return (len(q) - R * 0.62f) / 2.4f - R * 0.035f;
    };
    pen.fill(rgb(255, 160, 40), orbit);
    // The T: a bar and a stem with a rounded foot.
    auto tee = [&](V2 p) {
        float bar = sdBox(p, c + V2{0, -R * 0.38f}, {R * 0.5f, R * 0.11f}, R * 0.05f);
        float stem = sdBox(p, c + V2{0, R * 0.08f}, {R * 0.12f, R * 0.42f}, R * 0.05f);
        return std::min(bar, stem);
    };
    pen.fill(rgb(10, 30, 44), [&](V2 p) { return tee(p) - R * 0.04f; });
    pen.fillBy(tee, [&](V2 p) {
        return mix(rgb(255, 255, 255), rgb(200, 236, 240), clamp01((p.y - c.y + R) / (2 * R)));
    });
    // The orbit's front half passes over the stem.
    pen.fill(rgb(255, 160, 40), [&](V2 p) { return std::max(orbit(p), c.y + R * 0.05f - p.y); });
    // A small star on the orbit.
    std::vector<V2> star = starPoints(c + V2{R * 0.56f, -R * 0.2f}, 4, R * 0.16f, R * 0.05f, 0);
    pen.fill(rgb(255, 250, 220), [&](V2 p) { return sdPolygon(p, star); });
}

}  // namespace assetgen
