// Contact sheet layout and drawing, in 8-bit RGB.
#include "contact_sheet.h"

#include <algorithm>
#include <cctype>

#include "canvas.h"
#include "pixel_font.h"

namespace assetgen {
namespace {

constexpr int kPanelW = 1024;  // width of each of the two backgrounds
constexpr int kMargin = 8;
constexpr int kGap = 6;       // between frames
constexpr int kLabelH = 8;    // frame-number strip under each frame
constexpr int kHeaderH = 16;  // image name above its frames

struct Rgb8 {
    uint8_t r, g, b;
};

class Sheet {
  public:
    Sheet(int w, int h) : w_(w), h_(h), px_(size_t(w) * h * 3) {}
    void rect(int x, int y, int w, int h, Rgb8 c) {
        for (int yy = std::max(0, y); yy < std::min(h_, y + h); ++yy)
            for (int xx = std::max(0, x); xx < std::min(w_, x + w); ++xx) set(xx, yy, c);
    }
    // Straight-alpha RGBA pixels composited over the sheet.
    void blit(int x, int y, int w, int h, const std::vector<uint8_t>& rgba) {
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                const uint8_t* s = &rgba[(size_t(yy) * w + xx) * 4];
                uint8_t* d = at(x + xx, y + yy);
                if (!d) continue;
                for (int k = 0; k < 3; ++k) d[k] = uint8_t((s[k] * s[3] + d[k] * (255 - s[3]) + 127) / 255);
            }
    }
    void text(int x, int y, const std::string& s, int scale, Rgb8 c) {
        for (char ch : s) {
            const Glyph& g = tinyGlyph(char(std::toupper(static_cast<unsigned char>(ch))));
            for (int r = 0; r < int(g.rows.size()); ++r)
                for (int col = 0; col < g.width; ++col)
                    if (g.lit(col, r)) rect(x + col * scale, y + r * scale, scale, scale, c);
            x += 4 * scale;
        }
    }
    bool write(const std::string& path) const { return writePng(path, w_, h_, 3, px_); }

  private:
    uint8_t* at(int x, int y) {
        return (x < 0 || y < 0 || x >= w_ || y >= h_) ? nullptr : &px_[(size_t(y) * w_ + x) * 3];
    }
    void set(int x, int y, Rgb8 c) {
        uint8_t* d = at(x, y);
        d[0] = c.r, d[1] = c.g, d[2] = c.b;
    }
    int w_, h_;
    std::vector<uint8_t> px_;
};

int columnsFor(const SheetEntry& e) {
    return std::max(1, (kPanelW - 2 * kMargin + kGap) / (e.displayW + kGap));
}

int entryHeight(const SheetEntry& e) {
    int cols = columnsFor(e);
    int rows = (int(e.frames.size()) + cols - 1) / cols;
    return kHeaderH + rows * (e.displayH + kLabelH + kGap) + kMargin;
}

}  // namespace

SheetEntry makeSheetEntry(const RenderedImage& image) {
    SheetEntry e;
    int fw = image.frameWidth, fh = image.frameHeight;
    int maxSide = image.frameOrigins.size() == 1 ? 512 : 128;
    int down = std::max(1, (std::max(fw, fh) + maxSide - 1) / maxSide);
    int up = std::max(1, 32 / std::max(fw, fh));
    e.displayW = fw / down * up;
    e.displayH = fh / down * up;
    e.label = image.file + "  " + std::to_string(fw) + "X" + std::to_string(fh) + "  " +
              std::to_string(image.frameOrigins.size()) + " FRAMES";
    if (down > 1) e.label += "  SHOWN 1/" + std::to_string(down);
    if (up > 1) e.label += "  SHOWN X" + std::to_string(up);
    for (auto [ox, oy] : image.frameOrigins) {
        std::vector<uint8_t> f(size_t(e.displayW) * e.displayH * 4);
        for (int y = 0; y < e.displayH; ++y)
            for (int x = 0; x < e.displayW; ++x) {
                // Box filter in premultiplied space over the down x down source block.
                float acc[4] = {0, 0, 0, 0};
                int sx0 = ox + x / up * down, sy0 = oy + y / up * down;
                for (int sy = 0; sy < down; ++sy)
                    for (int sx = 0; sx < down; ++sx) {
                        const uint8_t* s = &image.rgba[(size_t(sy0 + sy) * image.width + sx0 + sx) * 4];
                        float a = s[3] / 255.0f;
                        for (int k = 0; k < 3; ++k) acc[k] += s[k] * a;
                        acc[3] += a;
                    }
                uint8_t* d = &f[(size_t(y) * e.displayW + x) * 4];
                float n = float(down * down);
                for (int k = 0; k < 3; ++k)
                    d[k] = acc[3] > 0 ? uint8_t(std::min(255.0f, acc[k] / acc[3] + 0.5f)) : 0;
                d[3] = uint8_t(acc[3] / n * 255 + 0.5f);
            }
        e.frames.push_back(std::move(f));
    }
    return e;
}

bool writeContactSheet(const std::string& path, const std::string& title,
                       const std::vector<SheetEntry>& entries) {
    int height = kMargin + 24;
    for (const SheetEntry& e : entries) height += entryHeight(e);
    Sheet sheet(2 * kPanelW, height);
    const Rgb8 light{232, 232, 236}, dark{26, 28, 38};
    sheet.rect(0, 0, kPanelW, height, light);
    sheet.rect(kPanelW, 0, kPanelW, height, dark);
    const Rgb8 inkOnLight{40, 40, 60}, inkOnDark{200, 200, 215};
    for (int panel = 0; panel < 2; ++panel) {
        int px = panel * kPanelW;
        Rgb8 ink = panel ? inkOnDark : inkOnLight;
        sheet.text(px + kMargin, kMargin, title, 3, ink);
        int y = kMargin + 24;
        for (const SheetEntry& e : entries) {
            sheet.text(px + kMargin, y + 4, e.label, 2, ink);
            int cols = columnsFor(e);
            for (size_t i = 0; i < e.frames.size(); ++i) {
                int fx = px + kMargin + int(i % cols) * (e.displayW + kGap);
                int fy = y + kHeaderH + int(i / cols) * (e.displayH + kLabelH + kGap);
                // A faint frame outline shows the cell boundary.
                Rgb8 edge = panel ? Rgb8{50, 54, 70} : Rgb8{210, 210, 218};
                sheet.rect(fx - 1, fy - 1, e.displayW + 2, e.displayH + 2, edge);
                sheet.rect(fx, fy, e.displayW, e.displayH, panel ? dark : light);
                sheet.blit(fx, fy, e.displayW, e.displayH, e.frames[i]);
                sheet.text(fx, fy + e.displayH + 2, std::to_string(i), 1, ink);
            }
            y += entryHeight(e);
        }
    }
    return sheet.write(path);
}

}  // namespace assetgen
