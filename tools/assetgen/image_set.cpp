// Renders one catalogue image at one tier into its frame layout.
#include "image_set.h"

namespace assetgen {

int gridColumns(int frames) {
    int cols = 1;
    while (cols * cols < frames) cols *= 2;
    return cols;
}

RenderedImage renderImage(const ImageSpec& image, const Tier& tier) {
    RenderedImage out;
    int k = image.allTiers ? tier.factor : 1;
    out.file = image.name + (image.allTiers ? tier.suffix : "") + (image.allTiers ? ".png" : "");
    int fw = image.frameWidth * k, fh = image.frameHeight * k;
    int cols, rows, cellW;
    if (image.layout == Layout::Grid) {
        cols = gridColumns(image.frames);
        rows = (image.frames + cols - 1) / cols;
        cellW = fw;
    } else {
        cols = image.frames;
        rows = 1;
        cellW = fw + 2;
    }
    out.width = cols * cellW;
    out.height = rows * fh;
    out.frameWidth = fw;
    out.frameHeight = fh;
    Canvas canvas(out.width, out.height);
    for (int i = 0; i < image.frames; ++i) {
        int x = (i % cols) * cellW + (image.layout == Layout::PaddedStrip ? 1 : 0);
        int y = (i / cols) * fh;
        out.frameOrigins.push_back({x, y});
        Pen pen(canvas, x, y, fw, fh, image.penScale > 0 ? image.penScale : float(k));
        image.draw(pen, i);
    }
    out.rgba = canvas.toRgba8();
    return out;
}

std::vector<ImageSpec> allImages() {
    std::vector<ImageSpec> out;
    addUiImages(out);
    addFontImages(out);
    addPlayImages(out);
    addIconImages(out);
    return out;
}

}  // namespace assetgen
