// The desktop icon, "skitterwind-icon.png": 256 x 256, base tier only. The
// game never loads it; the install puts it where desktop environments look
// for application icons.
//
// The picture: a spinning planet with its arms on a night-blue tile, the
// swarm of coloured followers trailing round it in a spiral, and the
// player's navy-and-gold bug leading them.
//
// The icon theme's smaller sizes, "skitterwind-icon-48.png", "-64" and
// "-128", are the same picture drawn at their own size (the 256-unit design
// with fewer pixels per unit), simplified at 64 and below.
#include <algorithm>
#include <cmath>
#include <string>

#include "drawing.h"
#include "image_set.h"
#include "symbols.h"

namespace assetgen {
namespace {

// A follower seen from above, about 2.2 x `size` units long, facing `angle`.
void iconBug(Pen& pen, V2 c, float size, float angle, Rgba body, Rgba edge) {
    auto shape = [&](V2 p) {
        V2 q = unrotate(p - c, angle);
        float head = sdCircle(q, V2{0, -0.75f * size}, 0.42f * size);
        V2 a = q - V2{0, 0.35f * size};
        a.y *= 0.7f;
        return std::min(head, len(a) - 0.62f * size);
    };
    for (int side = -1; side <= 1; side += 2) {
        V2 wingAt = c + dir(angle + side * 60.0f) * (0.55f * size);
        pen.fillNear(wingAt, size, rgb(225, 240, 255, 0.55f),
                     [&](V2 p) { return sdCircle(p, wingAt, 0.45f * size); });
    }
    pen.fillNear(c, 2 * size, edge, [&](V2 p) { return shape(p) - 0.12f * size; });
    pen.fillNear(c, 2 * size, body, shape);
}

// Sizes of the drawing: the 256- and 128-pixel icons show every detail; at
// 64 pixels and below a pixel is four design units or more, so the picture
// keeps fewer, larger shapes (no stars, arms as solid bars, seven big
// followers, a larger leader) and no line thinner than a pixel.
struct IconStyle {
    float px;    // design units per pixel
    bool small;  // the simplified picture
};

// The tile: a rounded square, deep blue at the top to teal below. Its edges
// are put on pixel boundaries so that they stay sharp at every size.
void iconTile(Pen& pen, const IconStyle& st) {
    const V2 c = pen.centre();
    const float margin = std::max(1.0f, std::round(12.0f / st.px)) * st.px;
    const float half = c.x - margin;
    auto tileShape = [&](V2 p) { return sdBox(p, c, {half, half}, 44); };
    styledShape(pen, tileShape, kInk, 0.0f, st.small ? 0.0f : 4.0f);
    pen.fillBy(tileShape,
               [&](V2 p) { return mix(rgb(22, 30, 82), rgb(18, 112, 128), clamp01((p.y - 12) / 232)); });
    if (st.small) return;
    for (int i = 0; i < 28; ++i) {
        V2 s{24 + 208 * hash01(i, 1), 24 + 208 * hash01(i, 2)};
        float r = 0.8f + 1.6f * hash01(i, 3);
        pen.fillNear(s, r + 2, rgb(255, 255, 255, 0.35f + 0.5f * hash01(i, 4)),
                     [&](V2 p) { return std::max(sdCircle(p, s, r), tileShape(p) + 6); });
    }
}

// The planet and its three arms: beads, or solid bars when small.
void iconPlanet(Pen& pen, const IconStyle& st, V2 planet) {
    const Rgba ink = kInk;
    const float line = std::max(2.0f, st.px);
    if (!st.small)
        pen.fillNear(planet, 90, rgb(90, 200, 120, 0.25f), [&](V2 p) { return sdCircle(p, planet, 84); });
    styledShape(
        pen, [&](V2 p) { return sdCircle(p, planet, 70); }, rgb(60, 150, 80), line, st.small ? 0.0f : 3.0f,
        ink);
    pen.fillNear(planet, 72, rgb(150, 230, 150, 0.45f), [&](V2 p) {
        return std::max(sdCircle(p, planet, 66), -sdCircle(p, planet + V2{12, 14}, 62));
    });
    for (int arm = 0; arm < 3; ++arm) {
        if (st.small) {
            V2 tip = planet + dir(arm * 120.0f + 45.0f) * 54.0f;
            styledShape(
                pen, [&](V2 p) { return sdSegment(p, planet, tip, 0.9f * st.px); }, rgb(255, 160, 40),
                0.6f * st.px, 0.0f, ink);
            continue;
        }
        for (int j = 1; j <= 5; ++j) {
            V2 b = planet + dir(arm * 120.0f + 35.0f + j * 4.0f) * (12.0f * j);
            styledShape(
                pen, [&](V2 p) { return sdCircle(p, b, 5.2f); }, rgb(255, 160, 40), 1.2f, 0.0f, ink);
        }
    }
}

// The swarm: a spiral of followers in the bug colours, running clockwise
// round the planet towards the leader.
void iconSwarm(Pen& pen, const IconStyle& st, V2 planet) {
    const int count = st.small ? 7 : 14;
    for (int i = 0; i < count; ++i) {
        float t = i / float(count - 1);
        float a = 150.0f + 250.0f * t;
        V2 at = planet + dir(a) * (100.0f - 22.0f * t);
        Rgba body = paletteColour(i % 8, 0.95f, 0.7f), edge = paletteColour(i % 8, 0.35f, 0.8f);
        if (st.small) {
            // An oval body along the spiral with a darker rim of one pixel.
            float r = 13.0f + 4.0f * t;
            auto body2 = [&](V2 p, float grow) {
                V2 q = unrotate(p - at, a + 90.0f);
                q.y *= 0.75f;
                return len(q) - 0.8f * r - grow;
            };
            pen.fillNear(at, r + 2 * st.px, edge, [&](V2 p) { return body2(p, st.px); });
            pen.fillNear(at, r + st.px, body, [&](V2 p) { return body2(p, 0.0f); });
        } else {
            iconBug(pen, at, 7.5f + 2.5f * t, a + 90.0f, body, edge);
        }
    }
}

// The leader: navy with gold stripes and antennae, heading up and right.
void iconLeader(Pen& pen, const IconStyle& st) {
    const V2 lead = pen.centre() + V2{62, -66};
    const float heading = 40.0f;
    const float k = st.small ? 1.45f : 1.0f;  // larger when small
    const Rgba ink = kInk;
    for (int side = -1; side <= 1; side += 2) {
        V2 a = lead + dir(heading) * (12.0f * k), b = a + dir(heading + side * 28.0f) * (14.0f * k);
        pen.fillNear(lead, 40 * k, rgb(20, 24, 60),
                     [&](V2 p) { return sdSegment(p, a, b, std::max(1.8f, 0.5f * st.px)); });
        pen.fillNear(b, 6 * k, rgb(255, 180, 40), [&](V2 p) { return sdCircle(p, b, 3.2f * k); });
    }
    auto leader = [&](V2 p) {
        V2 q = unrotate(p - lead, heading) * (1.0f / k);
        V2 tail = q - V2{0, 9};
        tail.y *= 0.8f;
        return k * std::min(sdCircle(q, V2{0, -6}, 10.5f), len(tail) - 11.5f);
    };
    styledShape(pen, leader, rgb(36, 44, 110), std::max(2.0f, st.px), st.small ? 0.0f : 2.5f,
                rgb(10, 10, 30));
    const int stripes = st.small ? 2 : 3;
    for (int s = 0; s < stripes; ++s)
        pen.fillNear(lead, 30 * k, rgb(255, 170, 30), [&](V2 p) {
            V2 q = unrotate(p - lead, heading) * (1.0f / k);
            float y = st.small ? 5.0f + 8.0f * s : 4.0f + 5.0f * s;
            float half = st.small ? 2.2f : 1.6f;
            return std::max(leader(p) + 1.5f * k, k * (std::fabs(q.y - y) - half));
        });
    for (int side = -1; side <= 1; side += 2) {
        V2 e = lead + unrotate(V2{side * 4.5f, -8.0f} * k, -heading);
        pen.fillNear(e, 6 * k, kWhite, [&](V2 p) { return sdCircle(p, e, 3.4f * k); });
        pen.fillNear(e, 6 * k, ink,
                     [&](V2 p) { return sdCircle(p, e + dir(heading) * (0.9f * k), 1.9f * k); });
    }
}

void drawIcon(Pen& pen, int) {
    const IconStyle st{1.0f / pen.scale(), pen.scale() < 0.3f};
    const V2 planet = pen.centre() + V2{-10, 14};
    iconTile(pen, st);
    iconPlanet(pen, st, planet);
    iconSwarm(pen, st, planet);
    iconLeader(pen, st);
}

}  // namespace

void addIconImages(std::vector<ImageSpec>& out) {
    ImageSpec icon{"skitterwind-icon.png", 256, 256, 1, drawIcon};
    icon.allTiers = false;
    out.push_back(icon);
    // The smaller sizes of the icon theme, each drawn at its own size.
    for (int size : {48, 64, 128}) {
        ImageSpec small{"skitterwind-icon-" + std::to_string(size) + ".png", size, size, 1, drawIcon};
        small.allTiers = false;
        small.penScale = size / 256.0f;
        out.push_back(small);
    }
}

}  // namespace assetgen
