// Raster core of the asset generator: a float RGBA canvas with premultiplied
// colours, a Pen that paints one frame of it in "design units" (level-1 pixels)
// at any tier scale, and signed-distance helpers for anti-aliased shapes.
//
// Every shape is described by a signed distance in design units (negative
// inside); the Pen turns it into coverage at the tier's own resolution, so a
// 4x image is drawn at 4x and never enlarged from a smaller one.
// Angles follow the game: degrees, clockwise from "up".
// Single-threaded per canvas; different canvases may be drawn on different
// threads.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr float kPi = 3.14159265358979f;
constexpr float kDeg = kPi / 180.0f;

// ---------------------------------------------------------------------------
// Vectors and colours
// ---------------------------------------------------------------------------
struct V2 {
    float x = 0, y = 0;
};
inline V2 operator+(V2 a, V2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline V2 operator-(V2 a, V2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline V2 operator*(V2 a, float s) {
    return {a.x * s, a.y * s};
}
inline float dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float len(V2 a) {
    return std::sqrt(dot(a, a));
}
// The direction of a game angle: 0 is up, 90 is right.
inline V2 dir(float deg) {
    return {std::sin(deg * kDeg), -std::cos(deg * kDeg)};
}
// Rotates p about the origin by -deg, i.e. into the frame of a shape turned by deg.
inline V2 unrotate(V2 p, float deg) {
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    return {p.x * c + p.y * s, -p.x * s + p.y * c};
}

// Premultiplied RGBA, components 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};
// A straight colour from 0..255 components and alpha 0..1, premultiplied.
inline Rgba rgb(float r, float g, float b, float a = 1.0f) {
    return {r / 255.0f * a, g / 255.0f * a, b / 255.0f * a, a};
}
inline Rgba scaled(Rgba c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a * k};
}
inline Rgba mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
// HSV (hue in degrees) to a straight colour at alpha a.
Rgba hsv(float hue, float sat, float val, float a = 1.0f);

inline float clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------------------
// Signed distances (design units, negative inside)
// ---------------------------------------------------------------------------
inline float sdCircle(V2 p, V2 c, float r) {
    return len(p - c) - r;
}
inline float sdRing(V2 p, V2 c, float r, float halfWidth) {
    return std::fabs(len(p - c) - r) - halfWidth;
}
// Box centred on c with half extents h and corner radius rad.
inline float sdBox(V2 p, V2 c, V2 h, float rad = 0) {
    V2 d{std::fabs(p.x - c.x) - h.x + rad, std::fabs(p.y - c.y) - h.y + rad};
    V2 o{std::max(d.x, 0.0f), std::max(d.y, 0.0f)};
    return len(o) + std::min(std::max(d.x, d.y), 0.0f) - rad;
}
// Capsule around the segment a-b with radius r.
inline float sdSegment(V2 p, V2 a, V2 b, float r) {
    V2 pa = p - a, ba = b - a;
    float h = clamp01(dot(pa, ba) / std::max(dot(ba, ba), 1e-9f));
    return len(pa - ba * h) - r;
}
// Exact signed distance to a simple polygon.
float sdPolygon(V2 p, const std::vector<V2>& pts);
// Regular star (n points, outer radius ro, inner radius ri) turned by rot degrees.
std::vector<V2> starPoints(V2 c, int n, float ro, float ri, float rot);
// Regular polygon with n corners on radius r, turned by rot degrees.
std::vector<V2> ngonPoints(V2 c, int n, float r, float rot);
// Gear outline: n teeth standing on radius r0 and reaching radius r1.
float sdGear(V2 p, V2 c, int teeth, float r0, float r1, float rot);

inline float opUnion(float a, float b) {
    return std::min(a, b);
}
inline float opCut(float a, float b) {
    return std::max(a, -b);
}
inline float opIntersect(float a, float b) {
    return std::max(a, b);
}

// ---------------------------------------------------------------------------
// Canvas
// ---------------------------------------------------------------------------
class Canvas {
  public:
    Canvas(int width, int height) : w_(width), h_(height), px_(size_t(width) * height) {}
    int width() const { return w_; }
    int height() const { return h_; }
    Rgba& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
    const Rgba& at(int x, int y) const { return px_[size_t(y) * w_ + x]; }
    // Source-over compositing of a premultiplied colour.
    void over(int x, int y, Rgba c) {
        Rgba& d = at(x, y);
        float k = 1.0f - c.a;
        d = {c.r + d.r * k, c.g + d.g * k, c.b + d.b * k, c.a + d.a * k};
    }
    // 8-bit straight-alpha RGBA, as PNG files store it.
    std::vector<uint8_t> toRgba8() const;

  private:
    int w_, h_;
    std::vector<Rgba> px_;
};

// Writes 8-bit pixels (4 channels RGBA, or 3 RGB) as a PNG file, creating
// parent folders. False on failure.
bool writePng(const std::string& path, int width, int height, int channels,
              const std::vector<uint8_t>& pixels);

// ---------------------------------------------------------------------------
// Pen: paints one frame (a clipped rectangle of a canvas) in design units.
// ---------------------------------------------------------------------------
class Pen {
  public:
    Pen(Canvas& canvas, int originX, int originY, int width, int height, float scale)
        : c_(canvas), ox_(originX), oy_(originY), w_(width), h_(height), s_(scale) {}

    float scale() const { return s_; }
    float width() const { return w_ / s_; }   // design units
    float height() const { return h_ / s_; }  // design units
    V2 centre() const { return {width() * 0.5f, height() * 0.5f}; }

    // Calls f(p, pixelSize) for every tier pixel whose centre lies in the
    // design-unit box [x0,x1]x[y0,y1] (clipped to the frame); f returns the
    // premultiplied colour to composite over the pixel.
    template <class F>
    void shade(float x0, float y0, float x1, float y1, F&& f) {
        int px0 = toPx(std::floor(x0 * s_), w_), py0 = toPx(std::floor(y0 * s_), h_);
        int px1 = toPx(std::ceil(x1 * s_), w_), py1 = toPx(std::ceil(y1 * s_), h_);
        float inv = 1.0f / s_;
        for (int y = py0; y < py1; ++y)
            for (int x = px0; x < px1; ++x) {
                Rgba v = f(V2{(x + 0.5f) * inv, (y + 0.5f) * inv}, inv);
                if (v.a > 0 || v.r > 0 || v.g > 0 || v.b > 0) c_.over(ox_ + x, oy_ + y, v);
            }
    }
    template <class F>
    void shade(F&& f) {
        shade(0, 0, width(), height(), f);
    }

    // Fills the shape sd(p) < 0 with colour col (anti-aliased edge), within
    // the optional box. sd must not overstate distances (|grad sd| <= 1):
    // whole tiles of pixels far outside are skipped and far inside are
    // filled without evaluating every pixel.
    template <class S>
    void fill(Rgba col, S&& sd, float x0 = -1e9f, float y0 = -1e9f, float x1 = 1e9f, float y1 = 1e9f) {
        fillBy(
            sd, [&](V2) { return col; }, x0, y0, x1, y1);
    }
    // Fills a shape known to lie within radius r of c (cheaper on big frames).
    template <class S>
    void fillNear(V2 c, float r, Rgba col, S&& sd) {
        fill(col, sd, c.x - r, c.y - r, c.x + r, c.y + r);
    }
    // Fills the shape with a colour that depends on position.
    template <class S, class C>
    void fillBy(S&& sd, C&& colourAt, float x0 = -1e9f, float y0 = -1e9f, float x1 = 1e9f, float y1 = 1e9f) {
        const int kTile = 8;
        float inv = 1.0f / s_;
        int px0 = toPx(std::floor(x0 * s_), w_), py0 = toPx(std::floor(y0 * s_), h_);
        int px1 = toPx(std::ceil(x1 * s_), w_), py1 = toPx(std::ceil(y1 * s_), h_);
        // Half diagonal of a tile plus one pixel of edge, in design units.
        const float reach = (kTile * 0.7072f + 1.0f) * inv;
        for (int ty = py0; ty < py1; ty += kTile)
            for (int tx = px0; tx < px1; tx += kTile) {
                int ex = std::min(tx + kTile, px1), ey = std::min(ty + kTile, py1);
                float d = sd(V2{(tx + ex) * 0.5f * inv, (ty + ey) * 0.5f * inv});
                if (d > reach) continue;
                bool inside = d < -reach;
                for (int y = ty; y < ey; ++y)
                    for (int x = tx; x < ex; ++x) {
                        V2 p{(x + 0.5f) * inv, (y + 0.5f) * inv};
                        float cov = inside ? 1.0f : coverage(sd(p), inv);
                        if (cov > 0) c_.over(ox_ + x, oy_ + y, scaled(colourAt(p), cov));
                    }
            }
    }
    // A soft radial glow: alpha falls from a0 at the centre to 0 at radius r.
    void glow(V2 c, float r, Rgba col, float power = 2.0f);

    static float coverage(float d, float px) { return clamp01(0.5f - d / px); }

  private:
    // Tier pixel index for a design coordinate already multiplied by the
    // scale, clamped in float first so that unbounded boxes (+-1e9) never
    // overflow an int.
    static int toPx(float v, int limit) { return int(std::clamp(v, 0.0f, float(limit))); }

    Canvas& c_;
    int ox_, oy_, w_, h_;
    float s_;
};

}  // namespace assetgen
