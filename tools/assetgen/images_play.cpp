// Images of the play field: bugs ("gfx"), arm segments ("gfxb"), the pickup
// ("cube"), the hazard ("bad"), the planet disc ("circle") and the star and
// particle shapes ("parts").
//
// The game draws the player's head and tail head-up (rotated by the negated
// facing) at full scale, 6 units ahead of and behind its centre; followers
// are rotated by their heading as stored, which is 0 when walking straight
// down, so their bodies and wings (frames 0..13) are drawn head-down.
// Stars and particles are tinted at draw time, so "parts" is white.
#include <array>

#include "drawing.h"
#include "image_set.h"

namespace assetgen {
namespace {

// ---------------------------------------------------------------------------
// gfx: followers, wings, the player's head and tail
// ---------------------------------------------------------------------------
// A shape's signed distance evaluated in the mirror image (top and bottom
// swapped about the frame's centre line), for the head-down followers.
template <class S>
auto headDown(const Pen& pen, S sd) {
    const float axis = 2.0f * pen.centre().y;
    return [sd, axis](V2 p) { return sd(V2{p.x, axis - p.y}); };
}

// Follower bodies are designed head-up below and drawn mirrored, head-down.
void drawFollower(Pen& pen, int colour) {
    Rgba body = paletteColour(colour, 0.95f, 0.7f);
    Rgba dark = paletteColour(colour, 0.45f, 0.8f);
    V2 c = pen.centre();
    // Legs first, so the body covers their roots.
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 3; ++i) {
            V2 a = c + V2{side * 2.0f, -1.0f + i * 2.2f};
            V2 b = a + V2{side * 4.2f, -2.0f + i * 2.0f};
            pen.fill(rgb(30, 26, 40), headDown(pen, [&](V2 p) { return sdSegment(p, a, b, 0.55f); }));
        }
    // Antennae.
    for (int side = -1; side <= 1; side += 2) {
        V2 a = c + V2{side * 0.8f, -5.0f}, b = c + V2{side * 3.0f, -7.4f};
        pen.fill(rgb(30, 26, 40), headDown(pen, [&](V2 p) { return sdSegment(p, a, b, 0.5f); }));
    }
    auto shape = [&](V2 p) {
        float head = sdCircle(p, c + V2{0, -4.2f}, 2.2f);
        float thorax = sdCircle(p, c + V2{0, -1.0f}, 2.4f);
        V2 q = p - (c + V2{0, 3.2f});
        q.y *= 0.72f;
        float abdomen = len(q) - 3.3f;
        return std::min(std::min(head, thorax), abdomen);
    };
    styledShape(pen, headDown(pen, shape), body, 0.7f, 0.0f, dark);
    // Stripes on the abdomen and a highlight.
    for (int i = 0; i < 2; ++i) {
        float y = c.y + 2.6f + i * 2.0f;
        pen.fill(scaled(dark, 0.8f),
                 headDown(pen, [&](V2 p) { return std::max(shape(p), std::fabs(p.y - y) - 0.45f); }));
    }
    pen.fill(rgb(255, 255, 255, 0.7f), headDown(pen, [&](V2 p) {
                 return sdCircle(p, c + V2{-1.0f, -1.6f}, 0.9f);
             }));
    for (int side = -1; side <= 1; side += 2)
        pen.fill(rgb(20, 16, 30), headDown(pen, [&](V2 p) {
                     return sdCircle(p, c + V2{side * 1.1f, -5.0f}, 0.6f);
                 }));
}

// Wings, like the bodies, drawn head-down.
void drawWings(Pen& pen, int phase) {
    V2 c = pen.centre();
    float t = 0.5f - 0.5f * std::cos(phase * 2 * kPi / 6.0f);  // 0 folded .. 1 spread
    float spread = 18 + 62 * t;
    for (int side = -1; side <= 1; side += 2) {
        float ang = side * spread;
        V2 axis = dir(ang);
        V2 mid = c + axis * 4.2f + V2{0, 1.0f};
        auto wing = [&](V2 p) {
            V2 q = unrotate(p - mid, ang);
            q.x *= 2.1f;
            return (len(q) - 4.2f) * 0.47f;
        };
        pen.fill(rgb(120, 150, 200, 0.55f), headDown(pen, [&](V2 p) { return wing(p) - 0.45f; }));
        pen.fill(rgb(225, 240, 255, 0.6f), headDown(pen, wing));
        // A vein along the wing.
        pen.fill(rgb(255, 255, 255, 0.5f), headDown(pen, [&](V2 p) {
                     return std::max(wing(p) + 0.5f, sdSegment(p, c, c + axis * 8.0f, 0.3f));
                 }));
    }
}

// Player's head: larger, navy and gold with big eyes and curled antennae.
void drawPlayerHead(Pen& pen) {
    V2 c = pen.centre() + V2{0, 1.0f};
    for (int side = -1; side <= 1; side += 2) {
        V2 a = c + V2{side * 1.4f, -3.4f}, b = c + V2{side * 3.6f, -6.8f};
        pen.fill(rgb(20, 24, 60), [&](V2 p) { return sdSegment(p, a, b, 0.7f); });
        pen.fill(rgb(255, 170, 30), [&](V2 p) { return sdCircle(p, b, 1.3f); });
    }
    auto head = [&](V2 p) {
        V2 q = p - c;
        q.x *= 0.92f;
        return len(q) - 4.4f;
    };
    styledShape(pen, head, rgb(36, 44, 110), 0.8f, 0.8f, rgb(10, 10, 30));
    pen.fill(rgb(80, 100, 200), [&](V2 p) {
        return std::max(head(p) + 0.9f, sdCircle(p, c + V2{-1.5f, -1.8f}, 2.6f));
    });
    for (int side = -1; side <= 1; side += 2) {
        V2 e = c + V2{side * 1.9f, -0.9f};
        pen.fill(rgb(255, 255, 255), [&](V2 p) { return sdCircle(p, e, 1.5f); });
        pen.fill(rgb(10, 10, 30), [&](V2 p) { return sdCircle(p, e + V2{0, -0.4f}, 0.85f); });
        pen.fill(rgb(255, 255, 255), [&](V2 p) { return sdCircle(p, e + V2{-0.35f, -0.8f}, 0.35f); });
    }
    // Mandibles in gold.
    for (int side = -1; side <= 1; side += 2)
        pen.fill(rgb(255, 180, 40), [&](V2 p) {
            return sdSegment(p, c + V2{side * 1.0f, -3.9f}, c + V2{side * 0.3f, -5.0f}, 0.55f);
        });
}

// Player's tail: a striped abdomen that tapers to a point behind.
void drawPlayerTail(Pen& pen) {
    V2 c = pen.centre() + V2{0, 0.5f};
    std::vector<V2> tip = {c + V2{-2.2f, 3.0f}, c + V2{2.2f, 3.0f}, c + V2{0, 7.4f}};
    auto tail = [&](V2 p) {
        V2 q = p - c;
        q.x *= 1.12f;
        return std::min(len(q) - 4.6f, sdPolygon(p, tip) - 0.3f);
    };
    styledShape(pen, tail, rgb(36, 44, 110), 0.8f, 0.8f, rgb(10, 10, 30));
    for (int i = 0; i < 3; ++i) {
        float y = c.y - 2.0f + i * 2.3f;
        pen.fill(rgb(255, 170, 30),
                 [&](V2 p) { return std::max(tail(p) + 0.5f, std::fabs(p.y - y) - 0.7f); });
    }
    pen.fill(rgb(255, 255, 255, 0.55f), [&](V2 p) { return sdCircle(p, c + V2{-1.6f, -2.2f}, 0.9f); });
}

void drawGfx(Pen& pen, int f) {
    if (f < 8)
        drawFollower(pen, f);
    else if (f < 14)
        drawWings(pen, f - 8);
    else if (f == 14)
        drawPlayerHead(pen);
    else
        drawPlayerTail(pen);
}

// ---------------------------------------------------------------------------
// gfxb: arm segments, round beads that overlap into one chain every 12 units
// ---------------------------------------------------------------------------
void drawArmSegment(Pen& pen, int f) {
    V2 c = pen.centre();
    int colour = f % 8;
    float r = f < 8 ? 7.2f : 5.0f;  // frames 8..15: a slimmer variant of the same colours
    Rgba body = paletteColour(colour, 0.9f, 0.65f);
    Rgba rim = paletteColour(colour, 0.5f, 0.8f);
    pen.fill(rim, [&](V2 p) { return sdCircle(p, c, r); });
    pen.fillBy(
        [&](V2 p) { return sdCircle(p, c, r - 1.0f); },
        [&](V2 p) { return mix(body, paletteColour(colour, 1.0f, 0.35f), clamp01((c.y - p.y) / r * 0.8f)); });
    // A four-spoke inlay shows the spin without breaking the chain's outline.
    for (int k = 0; k < 2; ++k) {
        V2 d = dir(45.0f + 90.0f * k) * (r * 0.55f);
        pen.fill(scaled(rim, 0.6f), [&](V2 p) { return sdSegment(p, c - d, c + d, 0.55f); });
    }
    pen.fill(rgb(255, 255, 255, 0.85f), [&](V2 p) { return sdCircle(p, c, r * 0.22f); });
}

// ---------------------------------------------------------------------------
// cube: the pickup, a glowing gem cube turning once over 64 frames
// ---------------------------------------------------------------------------
struct V3 {
    float x, y, z;
};

void drawCube(Pen& pen, int f) {
    V2 c = pen.centre();
    float turn = f * 360.0f / 64.0f * kDeg;
    float tilt = 28 * kDeg;
    auto project = [&](V3 v) {
        float x = v.x * std::cos(turn) + v.z * std::sin(turn);
        float z = -v.x * std::sin(turn) + v.z * std::cos(turn);
        float y = v.y * std::cos(tilt) - z * std::sin(tilt);
        float zz = v.y * std::sin(tilt) + z * std::cos(tilt);
        return V3{x, y, zz};
    };
    pen.glow(c, 15.5f, rgb(255, 230, 120, 0.45f), 1.6f);
    const float s = 7.0f;
    static const int kFaces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                                     {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    static const V3 kNormals[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    std::array<V3, 8> pv;
    for (int i = 0; i < 8; ++i) pv[i] = project(V3{(i & 4) ? s : -s, (i & 2) ? s : -s, (i & 1) ? s : -s});
    for (int fi = 0; fi < 6; ++fi) {
        V3 n = project(kNormals[fi]);
        if (n.z > -0.02f) continue;  // facing away (viewer looks along +z)
        std::vector<V2> poly;
        for (int k = 0; k < 4; ++k) poly.push_back(c + V2{pv[kFaces[fi][k]].x, pv[kFaces[fi][k]].y});
        // Light from the upper left and in front.
        float light = clamp01(0.35f + 0.65f * (-n.x * 0.45f - n.y * 0.6f - n.z * 0.65f));
        Rgba face = mix(rgb(190, 120, 10), rgb(255, 236, 130), light);
        pen.fill(rgb(90, 50, 0), [&](V2 p) { return sdPolygon(p, poly) - 0.25f; });
        pen.fill(face, [&](V2 p) { return sdPolygon(p, poly) + 0.45f; });
        // Inner facet for a cut-gem look.
        V2 mid{0, 0};
        for (V2 q : poly) mid = mid + q * 0.25f;
        std::vector<V2> inner;
        for (V2 q : poly) inner.push_back(mid + (q - mid) * 0.5f);
        pen.fill(mix(face, rgb(255, 255, 235), 0.45f), [&](V2 p) { return sdPolygon(p, inner); });
    }
    // A sparkle that travels round with the turn.
    V2 sp = c + V2{std::sin(turn * 4) * 6.0f, -6.5f + std::cos(turn * 4) * 1.5f};
    float twinkle = 0.5f + 0.5f * std::cos(turn * 8);
    std::vector<V2> star = starPoints(sp, 4, 2.0f + 2.5f * twinkle, 0.5f, 0);
    pen.fill(rgb(255, 255, 255, 0.5f + 0.5f * twinkle), [&](V2 p) { return sdPolygon(p, star); });
}

// ---------------------------------------------------------------------------
// bad: the hazard. 7 = dark spiky mine, 0..6 = charge overlay (6 brightest),
// 8..63 = crackle overlays in the same style.
// ---------------------------------------------------------------------------
void drawLightning(Pen& pen, V2 c, float ang, float r0, float r1, int seed, Rgba col, float width) {
    V2 prev = c + dir(ang) * r0;
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
        float r = r0 + (r1 - r0) * i / steps;
        float jitter = (hash01(seed, i) - 0.5f) * 28.0f;
        V2 next = c + dir(ang + jitter) * r;
        pen.fill(scaled(col, 0.45f), [&](V2 p) { return sdSegment(p, prev, next, width * 2.2f); });
        pen.fill(col, [&](V2 p) { return sdSegment(p, prev, next, width); });
        prev = next;
    }
}

void drawMine(Pen& pen) {
    V2 c = pen.centre();
    std::vector<V2> spikes = starPoints(c, 8, 14.0f, 7.5f, 0);
    auto spikeSd = [&](V2 p) { return sdPolygon(p, spikes) - 0.3f; };
    styledShape(pen, spikeSd, rgb(70, 60, 84), 0.8f, 1.0f, rgb(14, 10, 20));
    auto core = [&](V2 p) { return sdCircle(p, c, 8.2f); };
    pen.fill(rgb(14, 10, 20), [&](V2 p) { return core(p) - 0.8f; });
    pen.fillBy(core, [&](V2 p) {
        return mix(rgb(96, 86, 112), rgb(34, 28, 44), clamp01((len(p - c + V2{3, 3})) / 12.0f));
    });
    for (int i = 0; i < 8; ++i) {
        V2 rv = c + dir(22.5f + 45.0f * i) * 5.6f;
        pen.fill(rgb(20, 14, 26), [&](V2 p) { return sdCircle(p, rv, 0.9f); });
        pen.fill(rgb(150, 140, 160), [&](V2 p) { return sdCircle(p, rv + V2{-0.3f, -0.3f}, 0.45f); });
    }
    // The dormant eye in the middle.
    pen.fill(rgb(10, 6, 12), [&](V2 p) { return sdCircle(p, c, 3.0f); });
    pen.fill(rgb(150, 30, 60), [&](V2 p) { return sdCircle(p, c, 1.8f); });
}

void drawCharge(Pen& pen, int level, int seed) {
    V2 c = pen.centre();
    float k = level / 6.0f;  // 0 calm .. 1 about to discharge
    pen.glow(c, 6.0f + 9.0f * k, rgb(255, 60 + 120 * k, 140, 0.25f + 0.6f * k), 1.5f);
    pen.fill(rgb(255, 90 + 150 * k, 160 + 80 * k, 0.5f + 0.5f * k),
             [&](V2 p) { return sdCircle(p, c, 1.5f + 1.6f * k); });
    if (level >= 2) {
        float r = 9.0f + 4.0f * k;
        pen.fill(rgb(255, 200, 255, 0.15f + 0.5f * k),
                 [&](V2 p) { return sdRing(p, c, r, 0.4f + 0.4f * k); });
    }
    int arcs = level >= 3 ? level - 2 : 0;
    for (int i = 0; i < arcs; ++i)
        drawLightning(pen, c, 360.0f * hash01(seed, i, 7), 3.0f, 9.0f + 6.0f * k, seed * 31 + i,
                      rgb(255, 235, 255, 0.9f), 0.35f + 0.1f * k);
}

void drawBad(Pen& pen, int f) {
    if (f == 7)
        drawMine(pen);
    else if (f < 7)
        drawCharge(pen, f, f);
    else
        drawCharge(pen, 3 + (f % 4), f);
}

// ---------------------------------------------------------------------------
// circle: the planet disc, white with a soft, brighter rim
// ---------------------------------------------------------------------------
void drawDisc(Pen& pen) {
    V2 c = pen.centre();
    const float R = 126.5f;
    pen.shade([&](V2 p, float px) {
        float d = len(p - c);
        float edge = clamp01((R - d) / (px + 1.6f) + 0.5f);
        float t = d / R;
        float a = 0.72f + 0.28f * smooth(0.78f, 0.97f, t) - 0.06f * smooth(0.0f, 0.6f, t);
        return scaled(rgb(255, 255, 255), a * edge);
    });
}

// ---------------------------------------------------------------------------
// parts: 256 white stars and particles (any frame may be drawn at random)
// ---------------------------------------------------------------------------
void drawPart(Pen& pen, int f) {
    V2 c = pen.centre();
    int kind = f % 8;
    float size = 0.55f + 0.45f * hash01(f, 1);  // relative size
    float bright = 0.65f + 0.35f * hash01(f, 2);
    float rot = 90.0f * hash01(f, 3);
    Rgba white = rgb(255, 255, 255, bright);
    switch (kind) {
        case 0:  // round dot
            pen.fill(white, [&](V2 p) { return sdCircle(p, c, 0.9f + 1.8f * size); });
            break;
        case 1:  // soft dot with a bright core
            pen.glow(c, 2.5f + 1.5f * size, white, 1.4f);
            pen.fill(white, [&](V2 p) { return sdCircle(p, c, 0.7f); });
            break;
        case 2: {  // four-point sparkle
            std::vector<V2> s = starPoints(c, 4, 1.8f + 2.1f * size, 0.45f + 0.2f * size, rot);
            pen.fill(white, [&](V2 p) { return sdPolygon(p, s); });
            break;
        }
        case 3: {  // plus cross
            float a = 1.3f + 2.2f * size;
            pen.fill(white, [&](V2 p) {
                V2 q = unrotate(p - c, rot * 0.5f);
                return std::min(sdBox(q, {0, 0}, {a, 0.45f}), sdBox(q, {0, 0}, {0.45f, a}));
            });
            break;
        }
        case 4:  // ring
            pen.fill(white, [&](V2 p) { return sdRing(p, c, 1.4f + 1.6f * size, 0.45f); });
            break;
        case 5: {  // five-point star
            std::vector<V2> s = starPoints(c, 5, 1.8f + 1.9f * size, 0.8f + 0.7f * size, rot);
            pen.fill(white, [&](V2 p) { return sdPolygon(p, s); });
            break;
        }
        case 6: {  // diamond
            std::vector<V2> s = ngonPoints(c, 4, 1.5f + 2.0f * size, rot * 0.3f);
            pen.fill(white, [&](V2 p) { return sdPolygon(p, s); });
            break;
        }
        default: {  // eight-ray twinkle
            std::vector<V2> s = starPoints(c, 8, 1.6f + 2.2f * size, 0.6f, rot);
            pen.glow(c, 3.5f, scaled(white, 0.5f), 2.0f);
            pen.fill(white, [&](V2 p) { return sdPolygon(p, s); });
            break;
        }
    }
}

}  // namespace

void addPlayImages(std::vector<ImageSpec>& out) {
    out.push_back({"gfx", 16, 16, 16, drawGfx});
    out.push_back({"gfxb", 16, 16, 16, drawArmSegment});
    out.push_back({"cube", 32, 32, 64, drawCube});
    out.push_back({"bad", 32, 32, 64, drawBad});
    out.push_back({"circle", 256, 256, 1, [](Pen& p, int) { drawDisc(p); }});
    out.push_back({"parts", 8, 8, 256, drawPart});
}

}  // namespace assetgen
