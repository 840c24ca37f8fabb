#include "render/raster/drawing_surface.h"

#include "render/raster/figure.h"
#include "render/raster/span_writer.h"
#include "render/raster/stencil.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace tidepool {

namespace {

// Beyond this many pixels from the origin a figure cannot reach any bitmap, and squares of such
// values still fit a double's range with room to spare.
constexpr double kFarthest = 1099511627776.0; // 2^40

// Also false for infinities and NaN.
bool usable(double v) {
    return std::fabs(v) <= kFarthest;
}

// nearest() of numeric.h without the library call, for the hot path: adding and taking away
// 1.5 * 2^52 rounds any |v| < 2^51 to a whole number, halves to even; larger doubles are whole.
double roundToPixel(double v) {
    constexpr double kShift = 6755399441055744.0;
    if (!(std::fabs(v) < 2251799813685248.0))
        return v;
    return (v + kShift) - kShift;
}

// The stencil keys' first word: the kind of figure and its whole-number parameters. Small
// stencils have pens and offsets far below the field widths.
constexpr std::uint64_t kCircleKey = 1, kLineKey = 2;

std::uint64_t circleWord(int r, const raster::EllipseGeometry& ellipse) {
    const std::uint32_t size = r < 0 ? 0u - static_cast<std::uint32_t>(r) : r;
    const unsigned flags =
        (ellipse.hasAngles ? 1 : 0) | (ellipse.filled ? 2 : 0) | (ellipse.sameColour ? 4 : 0);
    return kCircleKey | flags << 2 | static_cast<std::uint64_t>(ellipse.penWidth) << 8 |
           static_cast<std::uint64_t>(size) << 32;
}

std::uint64_t lineWord(double dx, double dy, int pen) {
    const auto offset = [](double d) { return static_cast<std::uint64_t>(d + 128); };
    return kLineKey | static_cast<std::uint64_t>(pen) << 8 | offset(dx) << 32 | offset(dy) << 48;
}

} // namespace

DrawingSurface::DrawingSurface(int width, int height) {
    resize(width, height);
}

void DrawingSurface::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    unitsAcross_ = static_cast<float>(width_);
    unitsDown_ = static_cast<float>(height_);
    kx_ = ky_ = 1;
    originX_ = originY_ = 0;
    stencils_.clear();
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                   palette_.pixel(backColor_));
}

void DrawingSurface::setScale(float unitsAcross, float unitsDown) {
    unitsAcross_ = unitsAcross;
    unitsDown_ = unitsDown;
    kx_ = width_ / static_cast<double>(unitsAcross);
    ky_ = height_ / static_cast<double>(unitsDown);
    stencils_.clear();
}

double DrawingSurface::pixelX(int x) const {
    return roundToPixel(x * kx_) - originX_;
}

double DrawingSurface::pixelY(int y) const {
    return roundToPixel(y * ky_) - originY_;
}

void DrawingSurface::showPartOf(const DrawingSurface& other, int left, int top) {
    // Stencils are shapes in pixels, so they only hold while the pixels per unit do.
    if (kx_ != other.kx_ || ky_ != other.ky_)
        stencils_.clear();
    unitsAcross_ = other.unitsAcross_;
    unitsDown_ = other.unitsDown_;
    kx_ = other.kx_;
    ky_ = other.ky_;
    originX_ = other.originX_ + left;
    originY_ = other.originY_ + top;
    palette_ = other.palette_;
}

void DrawingSurface::widenExtent(int unitX, int unitY, double left, double right, double top,
                                 double bottom) {
    DrawnExtent& e = extent_;
    e.unitLeft = std::min(e.unitLeft, unitX);
    e.unitRight = std::max(e.unitRight, unitX);
    e.unitTop = std::min(e.unitTop, unitY);
    e.unitBottom = std::max(e.unitBottom, unitY);
    e.pixelLeft = std::min(e.pixelLeft, left);
    e.pixelRight = std::max(e.pixelRight, right);
    e.pixelTop = std::min(e.pixelTop, top);
    e.pixelBottom = std::max(e.pixelBottom, bottom);
}

void DrawingSurface::setBackColor(Colour c) {
    backColor_ = c;
    clear();
}

void DrawingSurface::clear() {
    std::fill(pixels_.begin(), pixels_.end(), palette_.pixel(backColor_));
}

bool DrawingSurface::missesBitmap(double left, double right, double top, double bottom) const {
    return right < 0 || left > width_ - 1 || bottom < 0 || top > height_ - 1;
}

void DrawingSurface::Circle(int x, int y, int r, std::optional<Colour> colour,
                            std::optional<ArcAngles> angles, double aspect) {
    const double cx = pixelX(x), cy = pixelY(y);
    const double radius = std::fabs(r * kx_), shape = std::fabs(aspect);
    raster::EllipseGeometry ellipse;
    ellipse.a = shape < 1 || shape == 1 ? radius : radius / shape;
    ellipse.b = shape < 1 ? radius * shape : radius;
    ellipse.penWidth = penWidth();
    const double h = ellipse.penWidth / 2.0;
    if (!usable(cx) || !usable(cy) || !usable(ellipse.a) || !usable(ellipse.b))
        return;
    const double left = cx - ellipse.a - h, right = cx + ellipse.a + h;
    const double top = cy - ellipse.b - h, bottom = cy + ellipse.b + h;
    widenExtent(x, y, left, right, top, bottom);
    if (missesBitmap(left, right, top, bottom))
        return;
    if (angles) {
        if (!usable(angles->start) || !usable(angles->end))
            return;
        ellipse.hasAngles = true;
        ellipse.start = angles->start;
        ellipse.end = angles->end;
    }

    const Pixel outline = palette_.pixel(colour ? *colour : ForeColor);
    const Pixel fill = palette_.pixel(FillColor);
    ellipse.filled = FillStyle == 0;
    ellipse.sameColour = ellipse.filled && fill == outline;
    raster::SpanWriter writer(pixels_.data(), width_, height_);
    if (std::max(ellipse.a, ellipse.b) + h > raster::kStencilReach) {
        writer.drawEllipse(ellipse, cx, cy, fill, outline);
        return;
    }
    const raster::FigureKey key{{circleWord(r, ellipse), std::bit_cast<std::uint64_t>(aspect),
                                 std::bit_cast<std::uint64_t>(ellipse.start),
                                 std::bit_cast<std::uint64_t>(ellipse.end)}};
    const raster::Stencil& stencil = stencils_.find(
        key, [&](raster::Stencil& out) { raster::buildEllipseStencil(ellipse, out); });
    writer.drawStencil(stencil, static_cast<int>(cx), static_cast<int>(cy), fill, outline);
}

void DrawingSurface::Line(int x1, int y1, int x2, int y2) {
    const double px = pixelX(x1), py = pixelY(y1);
    const double qx = pixelX(x2), qy = pixelY(y2);
    if (!usable(px) || !usable(py) || !usable(qx) || !usable(qy))
        return;
    const int pen = penWidth();
    const double h = pen / 2.0;
    const double left = std::min(px, qx) - h, right = std::max(px, qx) + h;
    const double top = std::min(py, qy) - h, bottom = std::max(py, qy) + h;
    widenExtent(x1, y1, left, right, top, bottom);
    widenExtent(x2, y2, left, right, top, bottom);
    if (missesBitmap(left, right, top, bottom))
        return;

    const Pixel colour = palette_.pixel(ForeColor);
    const double dx = qx - px, dy = qy - py;
    raster::SpanWriter writer(pixels_.data(), width_, height_);
    if (std::max(std::fabs(dx), std::fabs(dy)) + h > raster::kStencilReach) {
        writer.drawLine(px, py, dx, dy, pen, colour);
        return;
    }
    const raster::FigureKey key{{lineWord(dx, dy, pen), 0, 0, 0}};
    const raster::Stencil& stencil = stencils_.find(
        key, [&](raster::Stencil& out) { raster::buildLineStencil(dx, dy, pen, out); });
    writer.drawStencil(stencil, static_cast<int>(px), static_cast<int>(py), colour, colour);
}

} // namespace tidepool
