// Canvas conversion, PNG output and the shape helpers that need more than a line.
#include "canvas.h"

#include <stb_image_write.h>

#include <filesystem>

namespace assetgen {

Rgba hsv(float hue, float sat, float val, float a) {
    hue = std::fmod(hue, 360.0f);
    if (hue < 0) hue += 360.0f;
    float c = val * sat, x = c * (1 - std::fabs(std::fmod(hue / 60.0f, 2.0f) - 1)), m = val - c;
    float r = 0, g = 0, b = 0;
    switch (int(hue / 60.0f)) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    return rgb((r + m) * 255, (g + m) * 255, (b + m) * 255, a);
}

float sdPolygon(V2 p, const std::vector<V2>& v) {
    size_t n = v.size();
    float d = dot(p - v[0], p - v[0]);
    float s = 1.0f;
    for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
        V2 e = v[j] - v[i], w = p - v[i];
        V2 b = w - e * clamp01(dot(w, e) / std::max(dot(e, e), 1e-12f));
        d = std::min(d, dot(b, b));
        bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

std::vector<V2> starPoints(V2 c, int n, float ro, float ri, float rot) {
    std::vector<V2> pts;
    for (int i = 0; i < 2 * n; ++i) pts.push_back(c + dir(rot + i * 180.0f / n) * (i % 2 ? ri : ro));
    return pts;
}

std::vector<V2> ngonPoints(V2 c, int n, float r, float rot) {
    std::vector<V2> pts;
    for (int i = 0; i < n; ++i) pts.push_back(c + dir(rot + i * 360.0f / n) * r);
    return pts;
}

float sdGear(V2 p, V2 c, int teeth, float r0, float r1, float rot) {
    // Root circle plus trapezoid teeth; only the nearest tooth and its two
    // neighbours can be closest, so the distance stays exact and cheap.
    V2 q = p - c;
    float period = 360.0f / teeth;
    float ang = std::atan2(q.x, -q.y) / kDeg - rot;
    int k = int(std::floor(ang / period + 0.5f));
    float d = len(q) - r0;
    for (int j = k - 1; j <= k + 1; ++j) {
        float mid = rot + j * period;
        std::vector<V2> tooth = {c + dir(mid - 0.3f * period) * (r0 - 1.0f),
                                 c + dir(mid - 0.16f * period) * r1, c + dir(mid + 0.16f * period) * r1,
                                 c + dir(mid + 0.3f * period) * (r0 - 1.0f)};
        d = std::min(d, sdPolygon(p, tooth));
    }
    return d;
}

std::vector<uint8_t> Canvas::toRgba8() const {
    auto byte = [](float v) { return uint8_t(clamp01(v) * 255.0f + 0.5f); };
    std::vector<uint8_t> out(px_.size() * 4);
    for (size_t i = 0; i < px_.size(); ++i) {
        const Rgba& c = px_[i];
        uint8_t* o = &out[i * 4];
        o[3] = byte(c.a);
        if (o[3] == 0) continue;  // fully transparent texels keep colour 0
        float inv = 1.0f / clamp01(c.a);
        o[0] = byte(c.r * inv);
        o[1] = byte(c.g * inv);
        o[2] = byte(c.b * inv);
    }
    return out;
}

bool writePng(const std::string& path, int width, int height, int channels,
              const std::vector<uint8_t>& pixels) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels) != 0;
}

void Pen::glow(V2 c, float r, Rgba col, float power) {
    shade(c.x - r, c.y - r, c.x + r, c.y + r, [&](V2 p, float) {
        float t = 1.0f - len(p - c) / r;
        return t > 0 ? scaled(col, std::pow(t, power)) : Rgba{};
    });
}

}  // namespace assetgen
