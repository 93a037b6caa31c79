// Symbols shared by the icons, the touch pad and the game font's key caps.
#include "symbols.h"

#include "drawing.h"

namespace assetgen {

void symPlay(Pen& pen, V2 c, float s, Rgba col) {
    std::vector<V2> tri = {c + V2{-0.3f * s, -0.38f * s}, c + V2{0.42f * s, 0}, c + V2{-0.3f * s, 0.38f * s}};
    pen.fill(col, [&](V2 p) { return sdPolygon(p, tri) - 0.04f * s; });
}
void symPause(Pen& pen, V2 c, float s, Rgba col) {
    for (int side = -1; side <= 1; side += 2)
        pen.fill(col, [&](V2 p) {
            return sdBox(p, c + V2{side * 0.17f * s, 0}, {0.1f * s, 0.34f * s}, 0.04f * s);
        });
}
void symCross(Pen& pen, V2 c, float s, Rgba col) {
    float a = 0.3f * s;
    pen.fill(col, [&](V2 p) {
        return std::min(sdSegment(p, c + V2{-a, -a}, c + V2{a, a}, 0.09f * s),
                        sdSegment(p, c + V2{-a, a}, c + V2{a, -a}, 0.09f * s));
    });
}
void symArrow(Pen& pen, V2 c, float s, Rgba col, float angle) {
    // An arrow pointing along `angle` (0 = up).
    auto sd = [&](V2 p) {
        V2 q = unrotate(p - c, angle);
        std::vector<V2> head = {{0, -0.4f * s}, {0.32f * s, -0.02f * s}, {-0.32f * s, -0.02f * s}};
        return std::min(sdPolygon(q, head) - 0.03f * s, sdBox(q, {0, 0.12f * s}, {0.1f * s, 0.26f * s}));
    };
    pen.fill(col, sd);
}
void symTriangle(Pen& pen, V2 c, float s, Rgba col, float angle) {
    std::vector<V2> tri;
    for (int i = 0; i < 3; ++i) tri.push_back(c + dir(angle + i * 120.0f) * (0.36f * s));
    pen.fill(col, [&](V2 p) { return sdPolygon(p, tri) - 0.03f * s; });
}
void symSpeaker(Pen& pen, V2 c, float s, Rgba col, bool waves) {
    std::vector<V2> cone = {c + V2{-0.38f * s, -0.12f * s}, c + V2{-0.2f * s, -0.12f * s},
                            c + V2{0.02f * s, -0.32f * s},  c + V2{0.02f * s, 0.32f * s},
                            c + V2{-0.2f * s, 0.12f * s},   c + V2{-0.38f * s, 0.12f * s}};
    pen.fill(col, [&](V2 p) { return sdPolygon(p, cone) - 0.02f * s; });
    if (!waves) return;
    for (int i = 1; i <= 2; ++i)
        pen.fill(col, [&](V2 p) {
            V2 q = p - (c + V2{0.02f * s, 0});
            float ring = std::fabs(len(q) - 0.16f * s * i) - 0.045f * s;
            return std::max(ring, -q.x + std::fabs(q.y) * 0.9f);
        });
}
void symNote(Pen& pen, V2 c, float s, Rgba col) {
    pen.fill(col, [&](V2 p) {
        V2 q = p - (c + V2{-0.14f * s, 0.24f * s});
        q = unrotate(q, -20);
        q.x *= 0.75f;
        float head = len(q) - 0.13f * s;
        float stem = sdBox(p, c + V2{0.0f, -0.06f * s}, {0.04f * s, 0.3f * s});
        float flag = sdSegment(p, c + V2{0.02f * s, -0.34f * s}, c + V2{0.26f * s, -0.12f * s}, 0.05f * s);
        return std::min(std::min(head, stem), flag);
    });
}
void symCorners(Pen& pen, V2 c, float s, Rgba col, bool inward) {
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2) {
            V2 k = c + V2{sx * 0.32f * s, sy * 0.32f * s};
            V2 a = k + V2{-sx * 0.22f * s, 0}, b = k + V2{0, -sy * 0.22f * s};
            if (inward) {
                k = c + V2{sx * 0.12f * s, sy * 0.12f * s};
                a = k + V2{sx * 0.22f * s, 0};
                b = k + V2{0, sy * 0.22f * s};
            }
            pen.fill(col, [&](V2 p) {
                return std::min(sdSegment(p, k, a, 0.06f * s), sdSegment(p, k, b, 0.06f * s));
            });
        }
}
void symGear(Pen& pen, V2 c, float s, Rgba col) {
    pen.fill(col,
             [&](V2 p) { return opCut(sdGear(p, c, 8, 0.3f * s, 0.42f * s, 0), sdCircle(p, c, 0.14f * s)); });
}
void symRestart(Pen& pen, V2 c, float s, Rgba col) {
    // Three quarters of a ring, ending in an arrow head that points along it.
    const float r = 0.27f * s, w = 0.065f * s;
    pen.fill(col, [&](V2 p) {
        V2 q = p - c;
        float ring = std::fabs(len(q) - r) - w;
        float upperRight = std::max(-q.x, q.y);  // negative in the quadrant right of and above c
        return opCut(ring, upperRight);
    });
    V2 tip = c + V2{-0.02f * s, -r};
    std::vector<V2> head = {tip + V2{0.0f, -0.17f * s}, tip + V2{0.19f * s, 0.0f}, tip + V2{0.0f, 0.17f * s}};
    pen.fill(col, [&](V2 p) { return sdPolygon(p, head); });
}

void symStar(Pen& pen, V2 c, float s, Rgba col) {
    std::vector<V2> st = starPoints(c, 5, 0.42f * s, 0.18f * s, 0);
    pen.fill(col, [&](V2 p) { return sdPolygon(p, st) - 0.02f * s; });
}
void symCheck(Pen& pen, V2 c, float s, Rgba col) {
    V2 a = c + V2{-0.3f * s, 0.0f}, b = c + V2{-0.08f * s, 0.24f * s}, d = c + V2{0.32f * s, -0.26f * s};
    pen.fill(col,
             [&](V2 p) { return std::min(sdSegment(p, a, b, 0.08f * s), sdSegment(p, b, d, 0.08f * s)); });
}
void symQuestion(Pen& pen, V2 c, float s, Rgba col) {
    pen.fill(col, [&](V2 p) {
        V2 q = p - (c + V2{0, -0.14f * s});
        float arcTop = std::max(std::fabs(len(q) - 0.18f * s) - 0.065f * s, q.y - 0.02f * s);
        float right = std::max(std::fabs(len(q) - 0.18f * s) - 0.065f * s, -q.x);
        float stem = sdSegment(p, c + V2{0.06f * s, 0.04f * s}, c + V2{0, 0.14f * s}, 0.065f * s);
        float dot = sdCircle(p, c + V2{0, 0.32f * s}, 0.08f * s);
        return std::min(std::min(std::min(arcTop, right), stem), dot);
    });
}

// A round navy badge with a white rim, the background of most icons.
void badge(Pen& pen, V2 c, float r, Rgba fillCol) {
    styledShape(
        pen, [&](V2 p) { return sdCircle(p, c, r); }, kWhite, 0.9f, 1.2f, kInk);
    pen.fillBy(
        [&](V2 p) { return sdCircle(p, c, r - 1.6f); },
        [&](V2 p) { return mix(scaled(fillCol, 1.0f), rgb(70, 100, 170), clamp01((c.y - p.y) / r * 0.6f)); });
}

}  // namespace assetgen
