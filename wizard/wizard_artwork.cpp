// The pictures are shapes (circles, rounded boxes, strokes, triangles) given
// in 96-dpi units and filled with 4 x 4 samples per pixel, so their edges are
// smooth at any scale without a drawing library.

#include "wizard_artwork.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace pellion {

namespace {

struct Color {
    double red;
    double green;
    double blue;
    double alpha;
};

Color rgb(uint32_t hex, double alpha = 1.0)
{
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

Color mix(Color a, Color b, double t)
{
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t,
            a.alpha + (b.alpha - a.alpha) * t};
}

struct Box {
    double left;
    double top;
    double right;
    double bottom;
};

using Shape = std::function<bool(double x, double y)>;

Shape circle(double cx, double cy, double radius)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape roundedBox(Box box, double radius)
{
    return [=](double x, double y) {
        if (x < box.left || x > box.right || y < box.top || y > box.bottom)
            return false;
        const double cx = std::clamp(x, box.left + radius, box.right - radius);
        const double cy = std::clamp(y, box.top + radius, box.bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

// A stroke of the given width from a to b with round ends.
Shape stroke(double ax, double ay, double bx, double by, double width)
{
    return [=](double x, double y) {
        const double dx = bx - ax;
        const double dy = by - ay;
        const double length2 = dx * dx + dy * dy;
        const double t = length2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length2, 0.0, 1.0) : 0.0;
        const double px = ax + t * dx - x;
        const double py = ay + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}

Shape triangle(double x0, double y0, double x1, double y1, double x2, double y2)
{
    return [=](double x, double y) {
        const double d0 = (x - x1) * (y0 - y1) - (x0 - x1) * (y - y1);
        const double d1 = (x - x2) * (y1 - y2) - (x1 - x2) * (y - y2);
        const double d2 = (x - x0) * (y2 - y0) - (x2 - x0) * (y - y0);
        const bool negative = d0 < 0 || d1 < 0 || d2 < 0;
        const bool positive = d0 > 0 || d1 > 0 || d2 > 0;
        return !(negative && positive);
    };
}

Shape either(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

// Premultiplied colour channels per pixel while drawing.
class Canvas {
public:
    Canvas(double designWidth, double designHeight, double scale)
        : width_(std::max(1, static_cast<int>(std::lround(designWidth * scale)))),
          height_(std::max(1, static_cast<int>(std::lround(designHeight * scale)))),
          scale_(scale),
          pixels_(static_cast<size_t>(width_) * height_, Color{0, 0, 0, 0})
    {
    }

    // Every pixel gets the colour of its centre, opaque.
    void paintBackground(const std::function<Color(double x, double y)>& colorAt)
    {
        for (int py = 0; py < height_; ++py)
            for (int px = 0; px < width_; ++px) {
                const Color c = colorAt((px + 0.5) / scale_, (py + 0.5) / scale_);
                pixels_[index(px, py)] = {c.red, c.green, c.blue, 1.0};
            }
    }

    // Covers the shape with the colour; bounds (design units) limit the work.
    void fill(const Shape& shape, Color color, Box bounds)
    {
        constexpr int samples = 4;
        const int left = std::max(0, static_cast<int>(std::floor(bounds.left * scale_)));
        const int top = std::max(0, static_cast<int>(std::floor(bounds.top * scale_)));
        const int right = std::min(width_, static_cast<int>(std::ceil(bounds.right * scale_)) + 1);
        const int bottom = std::min(height_, static_cast<int>(std::ceil(bounds.bottom * scale_)) + 1);
        for (int py = top; py < bottom; ++py)
            for (int px = left; px < right; ++px) {
                int inside = 0;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx)
                        if (shape((px + (sx + 0.5) / samples) / scale_, (py + (sy + 0.5) / samples) / scale_))
                            ++inside;
                if (inside == 0)
                    continue;
                const double cover = color.alpha * inside / (samples * samples);
                Color& target = pixels_[index(px, py)];
                target.red = color.red * cover + target.red * (1 - cover);
                target.green = color.green * cover + target.green * (1 - cover);
                target.blue = color.blue * cover + target.blue * (1 - cover);
                target.alpha = cover + target.alpha * (1 - cover);
            }
    }

    Picture finish() const
    {
        Picture picture{width_, height_, {}};
        picture.pixels.reserve(pixels_.size());
        const auto channel = [](double value) {
            return static_cast<uint32_t>(std::clamp(std::lround(value * 255.0), 0L, 255L));
        };
        for (const Color& c : pixels_)
            picture.pixels.push_back(channel(c.alpha) << 24 | channel(c.red) << 16 | channel(c.green) << 8
                                     | channel(c.blue));
        return picture;
    }

private:
    size_t index(int px, int py) const { return static_cast<size_t>(py) * width_ + px; }

    int width_;
    int height_;
    double scale_;
    std::vector<Color> pixels_;
};

// A speech bubble: a rounded box with a tail below it, on the left or right,
// and three lines of "text" inside when lineWidth is above 0.
void speechBubble(Canvas& canvas, Box box, bool tailLeft, Color body, Color lines, double lineWidth)
{
    const double radius = (box.bottom - box.top) * 0.22;
    const double tailX = tailLeft ? box.left + (box.right - box.left) * 0.22 : box.right - (box.right - box.left) * 0.22;
    const double tailReach = (box.bottom - box.top) * 0.32;
    const double tailTipX = tailLeft ? tailX - tailReach * 0.6 : tailX + tailReach * 0.6;
    const Shape bubble = either(roundedBox(box, radius),
                                triangle(tailX - tailReach * 0.45, box.bottom - 1, tailX + tailReach * 0.45,
                                         box.bottom - 1, tailTipX, box.bottom + tailReach));
    canvas.fill(bubble, body, {box.left, box.top, box.right, box.bottom + tailReach});
    if (lineWidth <= 0)
        return;
    const double height = box.bottom - box.top;
    const double margin = height * 0.24;
    const int count = 3;
    for (int line = 0; line < count; ++line) {
        const double y = box.top + margin + (height - 2 * margin) * line / (count - 1);
        const double end = box.right - margin - (line == count - 1 ? (box.right - box.left) * 0.3 : 0);
        canvas.fill(stroke(box.left + margin, y, end, y, lineWidth), lines,
                    {box.left, y - lineWidth, box.right, y + lineWidth});
    }
}

}  // namespace

Picture bannerPicture(double scale)
{
    Canvas canvas(bannerWidth, bannerHeight, scale);
    const Color top = rgb(0x173A6B);
    const Color bottom = rgb(0x2F86B8);
    canvas.paintBackground([&](double x, double y) {
        return mix(top, bottom, std::clamp((y + x * 0.25) / (bannerHeight + bannerWidth * 0.25), 0.0, 1.0));
    });
    // Soft rings of light behind the bubbles.
    canvas.fill(circle(150, 40, 70), rgb(0xFFFFFF, 0.06), {80, 0, 164, 110});
    canvas.fill(circle(20, 270, 90), rgb(0xFFFFFF, 0.05), {0, 180, 110, 313});
    canvas.fill(circle(120, 200, 40), rgb(0xFFFFFF, 0.05), {80, 160, 160, 240});

    // Two speech bubbles: a text and its translation.
    speechBubble(canvas, {20, 86, 112, 136}, true, rgb(0xFFFFFF, 0.95), rgb(0x5C7FA8), 4.5);
    speechBubble(canvas, {52, 160, 144, 210}, false, rgb(0xF2B544), rgb(0xFFFFFF, 0.95), 4.5);
    // The arrow from one to the other.
    canvas.fill(stroke(38, 158, 38, 188, 4), rgb(0xFFFFFF, 0.85), {30, 150, 46, 195});
    canvas.fill(triangle(29, 186, 47, 186, 38, 198), rgb(0xFFFFFF, 0.85), {28, 184, 48, 199});
    // A thin light line along the right edge, where the page begins.
    canvas.fill([](double x, double) { return x >= bannerWidth - 1; }, rgb(0xFFFFFF, 0.35),
                {bannerWidth - 2, 0, bannerWidth, bannerHeight});
    return canvas.finish();
}

Picture statusPicture(RowStatus status, double scale)
{
    Canvas canvas(statusImageSize, statusImageSize, scale);
    const Box all{0, 0, statusImageSize, statusImageSize};
    const Color white = rgb(0xFFFFFF);
    switch (status) {
    case RowStatus::empty:
        break;
    case RowStatus::inProgress:
        canvas.fill(circle(8, 8, 7.5), rgb(0x2F6FD0), all);
        canvas.fill(triangle(6, 4.2, 6, 11.8, 12, 8), white, all);
        break;
    case RowStatus::done:
        canvas.fill(circle(8, 8, 7.5), rgb(0x2E9B46), all);
        canvas.fill(either(stroke(4.3, 8.3, 7, 11, 2.1), stroke(7, 11, 11.8, 5.2, 2.1)), white, all);
        break;
    case RowStatus::failed:
        canvas.fill(circle(8, 8, 7.5), rgb(0xD23B32), all);
        canvas.fill(either(stroke(5.2, 5.2, 10.8, 10.8, 2.1), stroke(10.8, 5.2, 5.2, 10.8, 2.1)), white, all);
        break;
    }
    return canvas.finish();
}

Picture iconPicture(int size)
{
    // Designed on a 32-unit grid.
    const double scale = size / 32.0;
    Canvas canvas(32, 32, scale);
    const Box all{0, 0, 32, 32};
    canvas.fill(roundedBox({1, 1, 31, 31}, 6), rgb(0x1F4E86), all);
    canvas.fill(roundedBox({1, 1, 31, 16}, 6), rgb(0x2F86B8, 0.55), all);
    // Small icons keep the bubbles plain: three lines would blur into one.
    const double lineWidth = size >= 24 ? 1.6 : 0.0;
    speechBubble(canvas, {4, 5, 21, 15}, true, rgb(0xFFFFFF), rgb(0x5C7FA8), lineWidth);
    speechBubble(canvas, {11, 17, 28, 27}, false, rgb(0xF2B544), rgb(0xFFFFFF), lineWidth);
    return canvas.finish();
}

}  // namespace pellion
