// The desktop icon, "skitterwind-icon.png": 256 x 256, base tier only. The
// game never loads it; the install puts it where desktop environments look
// for application icons.
//
// The picture: a spinning planet with its arms on a night-blue tile, the
// swarm of coloured followers trailing round it in a spiral, and the
// player's navy-and-gold bug leading them.
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

void drawIcon(Pen& pen, int) {
    const V2 c = pen.centre();
    const Rgba ink = kInk;

    // The tile: a rounded square, deep blue at the top to teal below.
    auto tileShape = [&](V2 p) { return sdBox(p, c, {116, 116}, 44); };
    styledShape(pen, tileShape, ink, 0.0f, 4.0f);
    pen.fillBy(tileShape,
               [&](V2 p) { return mix(rgb(22, 30, 82), rgb(18, 112, 128), clamp01((p.y - 12) / 232)); });
    for (int i = 0; i < 28; ++i) {
        V2 s{24 + 208 * hash01(i, 1), 24 + 208 * hash01(i, 2)};
        float r = 0.8f + 1.6f * hash01(i, 3);
        pen.fillNear(s, r + 2, rgb(255, 255, 255, 0.35f + 0.5f * hash01(i, 4)),
                     [&](V2 p) { return std::max(sdCircle(p, s, r), tileShape(p) + 6); });
    }

    // The planet and its three arms of beads.
    const V2 planet = c + V2{-10, 14};
    pen.fillNear(planet, 90, rgb(90, 200, 120, 0.25f), [&](V2 p) { return sdCircle(p, planet, 84); });
    styledShape(
        pen, [&](V2 p) { return sdCircle(p, planet, 70); }, rgb(60, 150, 80), 2.0f, 3.0f, ink);
    pen.fillNear(planet, 72, rgb(150, 230, 150, 0.45f), [&](V2 p) {
        return std::max(sdCircle(p, planet, 66), -sdCircle(p, planet + V2{12, 14}, 62));
    });
    for (int arm = 0; arm < 3; ++arm)
        for (int j = 1; j <= 5; ++j) {
            V2 b = planet + dir(arm * 120.0f + 35.0f + j * 4.0f) * (12.0f * j);
            styledShape(
                pen, [&](V2 p) { return sdCircle(p, b, 5.2f); }, rgb(255, 160, 40), 1.2f, 0.0f, ink);
        }

    // The swarm: a spiral of followers in the eight bug colours, running
    // clockwise round the planet towards the leader.
    for (int i = 0; i < 14; ++i) {
        float t = i / 13.0f;
        float a = 150.0f + 250.0f * t;
        V2 at = planet + dir(a) * (100.0f - 22.0f * t);
        iconBug(pen, at, 7.5f + 2.5f * t, a + 90.0f, paletteColour(i % 8, 0.95f, 0.7f),
                paletteColour(i % 8, 0.35f, 0.8f));
    }

    // The leader: navy with gold stripes and antennae, heading up and right.
    const V2 lead = c + V2{62, -66};
    const float heading = 40.0f;
    for (int side = -1; side <= 1; side += 2) {
        V2 a = lead + dir(heading) * 12.0f, b = a + dir(heading + side * 28.0f) * 14.0f;
        pen.fillNear(lead, 40, rgb(20, 24, 60), [&](V2 p) { return sdSegment(p, a, b, 1.8f); });
        pen.fillNear(b, 5, rgb(255, 180, 40), [&](V2 p) { return sdCircle(p, b, 3.2f); });
    }
    auto leader = [&](V2 p) {
        V2 q = unrotate(p - lead, heading);
        V2 tail = q - V2{0, 9};
        tail.y *= 0.8f;
        return std::min(sdCircle(q, V2{0, -6}, 10.5f), len(tail) - 11.5f);
    };
    styledShape(pen, leader, rgb(36, 44, 110), 2.0f, 2.5f, rgb(10, 10, 30));
    for (int k = 0; k < 3; ++k)
        pen.fillNear(lead, 30, rgb(255, 170, 30), [&](V2 p) {
            V2 q = unrotate(p - lead, heading);
            return std::max(leader(p) + 1.5f, std::fabs(q.y - (4.0f + 5.0f * k)) - 1.6f);
        });
    for (int side = -1; side <= 1; side += 2) {
        V2 e = lead + unrotate(V2{side * 4.5f, -8.0f}, -heading);
        pen.fillNear(e, 6, kWhite, [&](V2 p) { return sdCircle(p, e, 3.4f); });
        pen.fillNear(e, 6, ink, [&](V2 p) { return sdCircle(p, e + dir(heading) * 0.9f, 1.9f); });
    }
}

}  // namespace

void addIconImages(std::vector<ImageSpec>& out) {
    ImageSpec icon{"skitterwind-icon.png", 256, 256, 1, drawIcon};
    icon.allTiers = false;
    out.push_back(icon);
}

}  // namespace assetgen
