// Interface images: icons, buttons and gear layers, the runtime's logo, the
// title wordmark, menu panels, badges, the touch pad, lenses and glows.
//
// House style: white symbols on dark navy badges with a dark outline and a
// soft shadow, so that every icon reads on the light title screen and on the
// dark pause screen alike.
#include "drawing.h"
#include "image_set.h"
#include "symbols.h"

namespace assetgen {
namespace {

// ---------------------------------------------------------------------------
// common/icons (32 x 32, 16)
// ---------------------------------------------------------------------------
void drawIcon(Pen& pen, int f) {
    V2 c = pen.centre();
    float s = 20.0f;
    if (f == 6) {  // marker of the highlighted menu item: a glowing chevron pointing right
        pen.glow(c, 14.0f, rgb(255, 170, 40, 0.5f), 1.8f);
        std::vector<V2> chev = {c + V2{-7, -9}, c + V2{8, 0}, c + V2{-7, 9}, c + V2{-3, 0}};
        styledShape(
            pen, [&](V2 p) { return sdPolygon(p, chev) - 0.5f; }, kOrange, 1.0f, 1.0f, kInk);
        std::vector<V2> hi = {c + V2{-5.5f, -6.5f}, c + V2{5, 0}, c + V2{-2.5f, -0.5f}};
        pen.fill(rgb(255, 230, 150), [&](V2 p) { return sdPolygon(p, hi); });
        return;
    }
    badge(pen, c, 13.5f, f == 1 ? rgb(120, 30, 40) : kNavy);
    switch (f) {
        case 0:
            symPause(pen, c, s, kWhite);
            break;
        case 1:
            symCross(pen, c, s, kWhite);
            break;
        case 2:
            symArrow(pen, c, s, kWhite, -90);
            break;
        case 3:
            symPlay(pen, c + V2{0.8f, 0}, s, kWhite);
            break;
        case 4:
            symSpeaker(pen, c + V2{1.5f, 0}, s, kWhite, true);
            break;
        case 5:
            symNote(pen, c, s, kWhite);
            break;
        case 7:
            symCorners(pen, c, s, kWhite, false);
            break;
        case 8:
            symGear(pen, c, s, kWhite);
            break;
        case 9:
            symSpeaker(pen, c + V2{-1.5f, 0}, s, kWhite, false);
            symCross(pen, c + V2{5, 0}, s * 0.45f, rgb(255, 120, 120));
            break;
        case 10:
            symNote(pen, c, s, kWhite);
            pen.fill(rgb(255, 120, 120), [&](V2 p) {
                return sdSegment(p, c + V2{-7, -7}, c + V2{7, 7}, 1.3f);
            });
            break;
        case 11:
            symCorners(pen, c, s, kWhite, true);
            break;
        case 12:
            symRestart(pen, c, s, kWhite);
            break;
        case 13:
            symStar(pen, c, s, rgb(255, 215, 80));
            break;
        case 14:
            symCheck(pen, c, s, rgb(140, 255, 140));
            break;
        default:
            symQuestion(pen, c, s, kWhite);
            break;
    }
}

// ---------------------------------------------------------------------------
// common/Buttons (64 x 64, 16)
// ---------------------------------------------------------------------------
void tile(Pen& pen, Rgba top, Rgba bottom) {
    V2 c = pen.centre();
    auto sd = [&](V2 p) { return sdBox(p, c, {25, 25}, 8); };
    styledShape(pen, sd, kWhite, 1.2f, 2.0f, kInk);
    pen.fillBy([&](V2 p) { return sd(p) + 2.2f; },
               [&](V2 p) { return mix(top, bottom, clamp01((p.y - c.y + 25) / 50)); });
    // Glossy upper band.
    pen.fill(rgb(255, 255, 255, 0.18f), [&](V2 p) { return std::max(sd(p) + 3.5f, p.y - (c.y - 6)); });
}

void padlock(Pen& pen, V2 c, float s) {
    auto shackle = [&](V2 p) {
        V2 q = p - (c + V2{0, -0.12f * s});
        float ring = std::fabs(len(q) - 0.22f * s) - 0.06f * s;
        return std::max(ring, q.y);
    };
    auto legs = [&](V2 p) {
        return std::min(sdBox(p, c + V2{-0.22f * s, -0.04f * s}, {0.06f * s, 0.09f * s}),
                        sdBox(p, c + V2{0.22f * s, -0.04f * s}, {0.06f * s, 0.09f * s}));
    };
    auto body = [&](V2 p) { return sdBox(p, c + V2{0, 0.2f * s}, {0.34f * s, 0.24f * s}, 0.06f * s); };
    auto all = [&](V2 p) { return std::min(std::min(shackle(p), legs(p)), body(p)); };
    pen.fill(kInk, [&](V2 p) { return all(p) - 0.9f; });
    pen.fill(rgb(200, 206, 220), [&](V2 p) { return std::min(shackle(p), legs(p)); });
    pen.fillBy(body, [&](V2 p) {
        return mix(rgb(255, 210, 90), rgb(200, 130, 20), clamp01((p.y - c.y) / (0.45f * s)));
    });
    pen.fill(kInk, [&](V2 p) {
        return std::min(sdCircle(p, c + V2{0, 0.16f * s}, 0.06f * s),
                        sdBox(p, c + V2{0, 0.25f * s}, {0.025f * s, 0.08f * s}));
    });
}

void gearLayer(Pen& pen, int layer) {
    V2 c = pen.centre();
    if (layer == 0) {  // outer ring gear, dark steel
        auto sd = [&](V2 p) { return opCut(sdGear(p, c, 14, 25.5f, 30.5f, 0), sdCircle(p, c, 19.0f)); };
        styledShape(pen, sd, rgb(90, 100, 120), 1.0f, 1.4f, kInk);
        pen.fill(rgb(130, 140, 160),
                 [&](V2 p) { return opCut(sdCircle(p, c, 24.0f), sdCircle(p, c, 20.5f)); });
        for (int i = 0; i < 14; ++i) {
            V2 h = c + dir(i * 360.0f / 14 + 12.9f) * 22.2f;
            pen.fill(kInk, [&](V2 p) { return sdCircle(p, h, 0.8f); });
        }
    } else if (layer == 1) {  // middle gear, brass
        auto sd = [&](V2 p) {
            float g = opCut(sdGear(p, c, 10, 15.0f, 18.8f, 0), sdCircle(p, c, 10.5f));
            for (int i = 0; i < 5; ++i) g = opCut(g, sdCircle(p, c + dir(i * 72.0f) * 12.8f, 1.6f));
            return g;
        };
        styledShape(pen, sd, rgb(230, 170, 60), 1.0f, 1.2f, kInk);
        pen.fill(rgb(255, 215, 120), [&](V2 p) { return std::max(sd(p) + 1.0f, sdRing(p, c, 13.0f, 0.6f)); });
    } else {  // hub: small gear with a bright centre
        auto sd = [&](V2 p) { return sdGear(p, c, 7, 7.0f, 9.6f, 0); };
        styledShape(pen, sd, rgb(200, 210, 225), 0.9f, 1.0f, kInk);
        pen.fill(kOrange, [&](V2 p) { return sdCircle(p, c, 3.6f); });
        pen.fill(rgb(255, 240, 200), [&](V2 p) { return sdCircle(p, c + V2{-1, -1}, 1.2f); });
    }
}

void drawButton(Pen& pen, int f) {
    V2 c = pen.centre();
    switch (f) {
        case 0:
            tile(pen, rgb(90, 150, 255), rgb(30, 60, 160));
            break;
        case 1:
            tile(pen, rgb(110, 220, 120), rgb(30, 130, 60));
            symCheck(pen, c + V2{14, -14}, 14, kWhite);
            break;
        case 2:
            tile(pen, rgb(140, 140, 150), rgb(70, 70, 84));
            padlock(pen, c + V2{0, -10}, 24);
            break;
        case 3:
            tile(pen, rgb(255, 230, 110), rgb(210, 130, 10));
            symStar(pen, c, 44, rgb(255, 250, 200, 0.55f));
            pen.fill(rgb(255, 255, 255, 0.7f), [&](V2 p) {
                return sdSegment(p, c + V2{-20, 6}, c + V2{-6, -20}, 1.5f);
            });
            break;
        case 4:
            tile(pen, rgb(200, 140, 90), rgb(130, 70, 30));
            break;  // bronze
        case 5:
            tile(pen, rgb(220, 225, 235), rgb(130, 140, 160));
            break;  // silver
        case 6:
            tile(pen, rgb(150, 120, 255), rgb(70, 40, 170));
            break;  // violet
        case 7:
            tile(pen, rgb(255, 120, 120), rgb(170, 30, 40));
            break;  // red
        case 8:
            gearLayer(pen, 0);
            break;
        case 9:
            gearLayer(pen, 1);
            break;
        case 10:
            gearLayer(pen, 2);
            break;
        case 12:
            drawEmblem(pen, c, 54);
            break;
        case 11:
            badge(pen, c, 26);
            symPlay(pen, c + V2{2, 0}, 36, kWhite);
            break;
        case 13:
            badge(pen, c, 26);
            symArrow(pen, c, 36, kWhite, -90);
            break;
        case 14:
            badge(pen, c, 26);
            symGear(pen, c, 36, kWhite);
            break;
        default:
            badge(pen, c, 26);
            symCross(pen, c, 36, kWhite);
            break;
    }
}

// ---------------------------------------------------------------------------
// common/MakerLogo (256 x 256): the emblem and "TOLVAR", for a black screen.
// The loader draws it at twice its size inside rings of spinning dots, so
// everything stays within about 80 units of the centre.
// ---------------------------------------------------------------------------
void drawMakerLogo(Pen& pen, int) {
    V2 c = pen.centre();
    pen.glow(c + V2{0, -14}, 80, rgb(40, 140, 170, 0.35f), 2.0f);
    drawEmblem(pen, c + V2{0, -16}, 96);
    const std::string word = "TOLVAR";
    float cell = 3.2f;
    float w = roundTextWidth(word, cell);
    float x = c.x - w / 2, y = c.y + 40;
    roundText(pen, word, x + 1, y + 1.5f, cell, 0.62f, rgb(0, 0, 0, 0.6f), 1.0f);
    roundText(pen, word, x, y, cell, 0.62f, rgb(10, 40, 56), 1.1f);
    roundText(pen, word, x, y, cell, 0.62f, rgb(235, 250, 252));
}

// ---------------------------------------------------------------------------
// logo (256 x 128): "Skitterwind" with a swirl of bugs, for a light screen
// ---------------------------------------------------------------------------
// A bug seen from above (head, thorax, abdomen, legs, antennae), turned to
// `heading`, scaled by k from the 16-unit sprite; distance in design units.
float bugShape(V2 p, V2 c, float k, float heading) {
    V2 q = unrotate(p - c, heading) * (1.0f / k);
    float d = std::min(sdCircle(q, {0, -4.2f}, 2.2f), sdCircle(q, {0, -1.0f}, 2.4f));
    V2 a = q - V2{0, 3.2f};
    a.y *= 0.72f;
    d = std::min(d, len(a) - 3.3f);
    for (int s = -1; s <= 1; s += 2) {
        for (int i = 0; i < 3; ++i) {
            V2 l0{s * 2.0f, -1.0f + i * 2.2f};
            d = std::min(d, sdSegment(q, l0, l0 + V2{s * 4.2f, -2.0f + i * 2.0f}, 0.6f));
        }
        d = std::min(d, sdSegment(q, {s * 0.8f, -5.0f}, {s * 3.0f, -7.4f}, 0.55f));
    }
    return d * k;
}

// A flat bug in one colour.
void bugSilhouette(Pen& pen, V2 c, float k, Rgba col, float heading = 0) {
    pen.fillNear(c, 10 * k, col, [&](V2 p) { return bugShape(p, c, k, heading); });
}

// A small coloured bug with a dark outline and pale wings, for motifs.
void drawTinyBug(Pen& pen, V2 c, float heading, float k, Rgba col) {
    for (int s = -1; s <= 1; s += 2) {
        V2 wc = c + dir(heading + s * 35.0f) * (4.0f * k);
        pen.fillNear(c, 10 * k, rgb(210, 230, 255, 0.65f), [&](V2 p) {
            V2 q = unrotate(p - wc, heading + s * 35.0f);
            q.x *= 2.0f;
            return (len(q) - 4.0f * k) / 2.0f;
        });
    }
    pen.fillNear(c, 10 * k, kInk, [&](V2 p) { return bugShape(p, c, k, heading) - 0.6f; });
    bugSilhouette(pen, c, k, col, heading);
}

void drawLogo(Pen& pen, int) {
    V2 c = pen.centre();
    // Swarm motif: a stream of followers swirling round the word behind
    // their leader, growing as they come closer.
    const int kBugs = 30;
    for (int i = 0; i < kBugs; ++i) {
        float t = i / float(kBugs - 1);
        float ang = -150 + 290 * t;  // along an ellipse, clockwise from lower left
        V2 p = c + V2{std::sin(ang * kDeg) * 112, -std::cos(ang * kDeg) * 50} + V2{0, -4};
        V2 ahead = c + V2{std::sin((ang + 5) * kDeg) * 112, -std::cos((ang + 5) * kDeg) * 50} + V2{0, -4};
        V2 step = ahead - p;
        float heading = std::atan2(step.x, -step.y) / kDeg + 14 * (hash01(i, 9) - 0.5f);
        if (i == kBugs - 1)
            drawTinyBug(pen, p, heading, 0.66f, rgb(36, 44, 110));
        else
            drawTinyBug(pen, p, heading, 0.34f + 0.22f * t, paletteColour(i % 8, 0.95f, 0.7f));
    }
    const std::string word = "Skitterwind";
    float cell = 4.5f;
    float w = roundTextWidth(word, cell);
    float x = c.x - w / 2, y = c.y - 4.5f * cell;
    roundText(pen, word, x + 2, y + 3, cell, 0.6f, rgb(0, 0, 30, 0.3f), 2.5f);
    roundText(pen, word, x, y, cell, 0.6f, rgb(16, 20, 50), 2.2f);
    roundText(pen, word, x, y, cell, 0.6f, rgb(255, 255, 255), 0.9f);
    // The body of the letters: teal at the top, deep blue at the bottom.
    roundTextBy(pen, word, x, y, cell, 0.6f, [&](V2 p) {
        return mix(rgb(30, 190, 210), rgb(40, 60, 180), smooth(y + cell, y + 6 * cell, p.y));
    });
    // Orange underline swoosh.
    pen.fill(kOrange, [&](V2 p) {
        V2 q = p - (c + V2{6, 28});
        q.y *= 3.2f;
        float outer = len(q) - 92;
        float inner = len(q - V2{0, -14}) - 94;
        return std::max(outer, -inner) / 3.2f;
    });
}

// ---------------------------------------------------------------------------
// menu (256 x 256, 4): framed panels in the same style
// ---------------------------------------------------------------------------
void drawMenu(Pen& pen, int f) {
    V2 c = pen.centre();
    auto panel = [&](V2 p) { return sdBox(p, c, {118, 118}, 18); };
    Rgba top = f == 0   ? rgb(40, 60, 120)
               : f == 1 ? rgb(30, 90, 110)
               : f == 2 ? rgb(70, 40, 110)
                        : rgb(20, 24, 44);
    styledShape(pen, panel, kWhite, 2.0f, 4.0f, kInk);
    pen.fillBy([&](V2 p) { return panel(p) + 4; },
               [&](V2 p) { return mix(top, scaled(top, 0.55f), clamp01((p.y - 10) / 236)); });
    switch (f) {
        case 0:  // header band
            pen.fill(rgb(255, 150, 30, 0.9f), [&](V2 p) { return std::max(panel(p) + 4, p.y - 52); });
            pen.fill(rgb(255, 255, 255, 0.25f),
                     [&](V2 p) { return std::max(panel(p) + 4, std::fabs(p.y - 53) - 1.5f); });
            break;
        case 1:  // a planet with three arms of beads, as on the play field
            pen.fillNear(c, 100, rgb(150, 220, 220, 0.45f), [&](V2 p) { return sdCircle(p, c, 96); });
            pen.fillNear(c, 100, rgb(255, 255, 255, 0.35f), [&](V2 p) { return sdRing(p, c, 94, 1.5f); });
            for (int k = 0; k < 3; ++k)
                for (int j = 1; j <= 8; ++j) {
                    V2 q = c + dir(40 + 120.0f * k) * (j * 11.5f);
                    Rgba rim = paletteColour(4, 0.5f, 0.8f), body = paletteColour(4, 0.95f, 0.6f);
                    pen.fillNear(q, 9, rim, [&](V2 p) { return sdCircle(p, q, 7.2f); });
                    pen.fillNear(q, 9, body, [&](V2 p) { return sdCircle(p, q, 6.0f); });
                    pen.fillNear(q, 9, rgb(255, 255, 255, 0.8f), [&](V2 p) { return sdCircle(p, q, 1.7f); });
                }
            break;
        case 2:  // the swarm
            for (int i = 0; i < 60; ++i) {
                float ang = i * 137.5f, r = 8 + 90 * std::sqrt(i / 60.0f);
                drawTinyBug(pen, c + dir(ang) * r, ang + 90, 0.75f, paletteColour(i % 8, 0.95f));
            }
            break;
        default:  // star field
            for (int i = 0; i < 90; ++i) {
                V2 q{20 + 216 * hash01(i, 1), 20 + 216 * hash01(i, 2)};
                float r = 0.6f + 1.8f * hash01(i, 3) * hash01(i, 4);
                pen.fillNear(q, r + 2, rgb(255, 255, 255, 0.4f + 0.6f * hash01(i, 5)),
                             [&](V2 p) { return sdCircle(p, q, r); });
            }
            break;
    }
}

// ---------------------------------------------------------------------------
// BadgesA (64 x 64, 64): eight symbols in eight colours
// ---------------------------------------------------------------------------
void drawBadge(Pen& pen, int f) {
    V2 c = pen.centre();
    int colour = f / 8, symbol = f % 8;
    Rgba rim = paletteColour(colour, 0.55f, 0.8f);
    Rgba body = paletteColour(colour, 0.95f, 0.6f);
    auto scallop = [&](V2 p) {
        V2 q = p - c;
        float a = std::atan2(q.x, -q.y);
        return (len(q) - (26.2f + 1.6f * std::cos(12 * a))) * 0.85f;
    };
    styledShape(pen, scallop, rim, 1.0f, 2.0f, kInk);
    pen.fillBy([&](V2 p) { return sdCircle(p, c, 21); },
               [&](V2 p) {
                   return mix(body, paletteColour(colour, 1.0f, 0.25f), clamp01((c.y - p.y) / 30 + 0.3f));
               });
    pen.fill(rgb(255, 255, 255, 0.5f), [&](V2 p) { return sdRing(p, c, 18.5f, 0.7f); });
    Rgba ink = rgb(255, 255, 255);
    float s = 28;
    switch (symbol) {
        case 0:
            symStar(pen, c, s, ink);
            break;
        case 1:
            bugSilhouette(pen, c + V2{0, 0.5f}, 1.55f, ink);
            break;
        case 2:
            pen.fill(ink, [&](V2 p) { return sdCircle(p, c, 7); });
            pen.fill(ink, [&](V2 p) {
                V2 q = unrotate(p - c, -20);
                q.y *= 3.5f;
                return (std::fabs(len(q) - 12.5f) - 1.6f) / 3.5f;
            });
            break;
        case 3:  // clock
            pen.fill(ink, [&](V2 p) { return sdRing(p, c, 9.5f, 1.5f); });
            pen.fill(ink, [&](V2 p) {
                return std::min(sdSegment(p, c, c + V2{0, -7}, 1.3f), sdSegment(p, c, c + V2{5, 2}, 1.3f));
            });
            break;
        case 4: {  // lightning
            std::vector<V2> bolt = {c + V2{3, -13}, c + V2{-7, 2}, c + V2{-1, 2},
                                    c + V2{-4, 13}, c + V2{7, -3}, c + V2{1, -3}};
            pen.fill(ink, [&](V2 p) { return sdPolygon(p, bolt); });
            break;
        }
        case 5:  // heart
            pen.fill(ink, [&](V2 p) {
                V2 q = p - c;
                float a = sdCircle(q, {-4.5f, -3}, 5.5f), b = sdCircle(q, {4.5f, -3}, 5.5f);
                std::vector<V2> tri = {{-9.6f, -1}, {9.6f, -1}, {0, 11}};
                return std::min(std::min(a, b), sdPolygon(q, tri));
            });
            break;
        case 6: {  // crown
            std::vector<V2> crown = {c + V2{-11, 7},  c + V2{-11, -6}, c + V2{-5.5f, 0}, c + V2{0, -10},
                                     c + V2{5.5f, 0}, c + V2{11, -6},  c + V2{11, 7}};
            pen.fill(ink, [&](V2 p) { return sdPolygon(p, crown) - 0.5f; });
            break;
        }
        default:
            symCheck(pen, c, s, ink);
            break;
    }
}

// ---------------------------------------------------------------------------
// common/dpad (32 x 32, 16): touch pad pieces
// ---------------------------------------------------------------------------
void drawDpad(Pen& pen, int f) {
    V2 c = pen.centre();
    if (f <= 4) {  // cross, then with up/right/down/left pressed
        auto cross = [&](V2 p) { return std::min(sdBox(p, c, {13, 5}, 2), sdBox(p, c, {5, 13}, 2)); };
        styledShape(pen, cross, rgb(70, 80, 110), 1.0f, 1.2f, kInk);
        for (int d = 0; d < 4; ++d) {
            float ang = d * 90.0f;
            bool lit = f == d + 1;
            symTriangle(pen, c + dir(ang) * 8.6f, 6.5f, lit ? kOrange : rgb(200, 210, 230), ang);
        }
        if (f > 0) pen.glow(c + dir((f - 1) * 90.0f) * 9.0f, 8, rgb(255, 170, 40, 0.5f));
        return;
    }
    if (f <= 12) {  // face buttons: four directions, then pressed
        bool pressed = f >= 9;
        int which = (f - 5) % 4;
        badge(pen, c, 13, pressed ? rgb(200, 100, 20) : kNavy);
        for (int d = 0; d < 4; ++d)
            pen.fill(d == which ? kWhite : rgb(255, 255, 255, 0.3f),
                     [&](V2 p) { return sdCircle(p, c + dir(d * 90.0f) * 6.0f, 2.6f); });
        return;
    }
    if (f == 13) {  // stick base
        styledShape(
            pen, [&](V2 p) { return sdCircle(p, c, 14); }, rgb(50, 56, 80, 0.85f), 1.0f, 1.0f, kInk);
        pen.fill(rgb(255, 255, 255, 0.25f), [&](V2 p) { return sdRing(p, c, 10, 0.6f); });
        return;
    }
    if (f == 14) {  // stick knob
        styledShape(
            pen, [&](V2 p) { return sdCircle(p, c, 9); }, rgb(200, 210, 230), 1.0f, 1.5f, kInk);
        pen.fill(rgb(255, 255, 255), [&](V2 p) { return sdCircle(p, c + V2{-2.5f, -2.5f}, 3); });
        return;
    }
    // shoulder button
    auto sh = [&](V2 p) { return sdBox(p, c + V2{0, 2}, {13, 7}, 6); };
    styledShape(pen, sh, rgb(70, 80, 110), 1.0f, 1.2f, kInk);
    pen.fill(rgb(255, 255, 255, 0.3f), [&](V2 p) { return std::max(sh(p) + 2, p.y - (c.y + 1)); });
}

// ---------------------------------------------------------------------------
// common/circle (256 x 256, 4): 0 the lens round the gear, then rings and discs
// ---------------------------------------------------------------------------
void drawLens(Pen& pen, int f) {
    V2 c = pen.centre();
    if (f == 0) {
        // A glass bezel: a ring with a bright upper-left highlight, open in the middle.
        pen.shade([&](V2 p, float px) {
            float d = len(p - c);
            float ring = clamp01(0.5f - (std::fabs(d - 104) - 20) / px);
            V2 n = (p - c) * (1.0f / std::max(d, 1e-3f));
            float light = clamp01(-(n.x + n.y) * 0.7071f);
            float a = ring * (0.35f + 0.35f * light);
            float shade = 0.75f + 0.25f * light;
            return scaled(rgb(200 * shade + 55 * light, 230 * shade, 255), a);
        });
        pen.fill(rgb(255, 255, 255, 0.9f), [&](V2 p) { return sdRing(p, c, 124.5f, 1.5f); });
        pen.fill(rgb(20, 30, 60, 0.8f), [&](V2 p) { return sdRing(p, c, 84.5f, 1.5f); });
        pen.fill(rgb(255, 255, 255, 0.7f), [&](V2 p) {
            V2 q = p - c;
            return std::max(sdRing(p, c, 112, 3), q.x + q.y * 0.2f + 30);
        });
        return;
    }
    if (f == 1)
        pen.fill(rgb(255, 255, 255), [&](V2 p) { return sdRing(p, c, 122, 4); });
    else if (f == 2)
        pen.glow(c, 127, rgb(255, 255, 255), 1.3f);
    else
        pen.fillBy([&](V2 p) { return sdCircle(p, c, 124); },
                   [&](V2 p) { return rgb(255, 255, 255, 0.35f + 0.65f * smooth(60, 124, len(p - c))); });
}

// ---------------------------------------------------------------------------
// common/light (32 x 32, 4): soft glows
// ---------------------------------------------------------------------------
void drawLight(Pen& pen, int f) {
    V2 c = pen.centre();
    switch (f) {
        case 0:
            pen.glow(c, 16, rgb(255, 255, 255), 2.0f);
            break;
        case 1:
            pen.glow(c, 16, rgb(255, 255, 255, 0.6f), 2.5f);
            pen.glow(c, 5, rgb(255, 255, 255), 1.0f);
            break;
        case 2:
            pen.glow(c, 12, rgb(255, 255, 255, 0.6f), 2.0f);
            pen.shade([&](V2 p, float) {
                V2 q = p - c;
                float a = std::exp(-std::fabs(q.x) * 1.2f) + std::exp(-std::fabs(q.y) * 1.2f);
                return scaled(rgb(255, 255, 255), clamp01(a * (1 - len(q) / 16)));
            });
            break;
        default:
            pen.shade([&](V2 p, float) {
                float d = len(p - c);
                float a = std::exp(-(d - 10) * (d - 10) / 8.0f);
                return scaled(rgb(255, 255, 255), clamp01(a));
            });
            break;
    }
}

}  // namespace

void addUiImages(std::vector<ImageSpec>& out) {
    out.push_back({"common/icons", 32, 32, 16, drawIcon});
    out.push_back({"common/Buttons", 64, 64, 16, drawButton});
    out.push_back({"common/dpad", 32, 32, 16, drawDpad});
    out.push_back({"common/MakerLogo", 256, 256, 1, drawMakerLogo});
    out.push_back({"menu", 256, 256, 4, drawMenu});
    out.push_back({"logo", 256, 128, 1, drawLogo});
    out.push_back({"BadgesA", 64, 64, 64, drawBadge});
    out.push_back({"common/circle", 256, 256, 4, drawLens});
    out.push_back({"common/light", 32, 32, 4, drawLight});
}

}  // namespace assetgen
