#include "ui/preview/preview_layout.h"

#include "render/settings/numeric.h"

#include <algorithm>
#include <cmath>

namespace tidepool {

namespace {

// The viewport's drawing area in twips less one window pixel, as its outer size less the frame
// extent measured with the extra pixel. The canvas shows in the whole device pixels the frame
// leaves inside, a canvas pixel each; where a frame edge falls within a device pixel, that pixel
// is the frame's. With one device pixel to a window pixel this is the outer size less the extent.
double ViewTwips(int outer, int extra, int twipsPerPixel, double devicePixelRatio) {
    const double side = (extra - twipsPerPixel) / 2.0;
    const double toDevice = devicePixelRatio / twipsPerPixel;
    const double inside = std::floor((outer - side) * toDevice) - std::ceil(side * toDevice);
    return inside / toDevice - twipsPerPixel;
}

// One bar's side of the layout. `along` is the viewport's size along the bar, `across` the size
// the bar takes its thickness from; `overflow` is how far the canvas's drawing area exceeds the
// viewport's along the bar, were the viewport `grow` twips longer.
struct Axis {
    ScrollRange& bar;
    int& along;
    int& across;
    int extra;
    int thickness;
    int twipsPerPixel;
    double devicePixelRatio;
    double content;

    double canvasPixel() const { return twipsPerPixel / devicePixelRatio; }
    double overflow(int grow = 0) const {
        return content - ViewTwips(along + grow, extra, twipsPerPixel, devicePixelRatio);
    }
};

// The canvas's drawing area in twips less one window pixel: its outer size (pixels plus the
// frame's border) less the frame extent measured with the extra pixel. The canvas is shown one
// of its pixels to a device pixel, so a pixel of it measures twipsPerPixel / ratio twips.
double ContentTwips(int pixels, int twipsPerPixel, double devicePixelRatio, int canvasExtra) {
    const double border = static_cast<double>(canvasExtra) - twipsPerPixel;
    return pixels * (twipsPerPixel / devicePixelRatio) + border - canvasExtra;
}

Axis Horizontal(PreviewLayout& l, const PreviewMetrics& m, Extent canvas) {
    return {.bar = l.h,
            .along = l.viewWidth,
            .across = l.viewHeight,
            .extra = m.viewExtra.x,
            .thickness = m.hBarHeight,
            .twipsPerPixel = m.twipsPerPixelX,
            .devicePixelRatio = m.devicePixelRatio,
            .content =
                ContentTwips(canvas.width, m.twipsPerPixelX, m.devicePixelRatio, m.canvasExtra.x)};
}

Axis Vertical(PreviewLayout& l, const PreviewMetrics& m, Extent canvas) {
    return {.bar = l.v,
            .along = l.viewHeight,
            .across = l.viewWidth,
            .extra = m.viewExtra.y,
            .thickness = m.vBarWidth,
            .twipsPerPixel = m.twipsPerPixelY,
            .devicePixelRatio = m.devicePixelRatio,
            .content =
                ContentTwips(canvas.height, m.twipsPerPixelY, m.devicePixelRatio, m.canvasExtra.y)};
}

void Hide(const Axis& a) {
    a.bar = ScrollRange{};
    a.across += a.thickness;
}

// Shows the bar while the canvas overflows the view, else hides it. A tenth of the range is the
// arrow step once the other bar has had its say; before that the step is a single twip.
void Fit(const Axis& a, bool tenthStep) {
    const double overflow = a.overflow();
    if (overflow <= 0) {
        if (a.bar.shown)
            Hide(a);
        return;
    }
    if (!a.bar.shown) {
        a.across -= a.thickness;
        a.bar.shown = true;
    }
    a.bar.max = nearestClamped(overflow + a.canvasPixel());
    a.bar.smallChange = tenthStep ? a.bar.max / 10 : 1;
    a.bar.largeChange = a.along;
}

// Both bars are up, yet the canvas would fit both ways with neither.
bool FitsWithoutBars(const Axis& h, const Axis& v) {
    return h.bar.shown && v.bar.shown && h.overflow(v.thickness) <= 0 &&
           v.overflow(h.thickness) <= 0;
}

} // namespace

FrameExtent MeasureFrame(const BoxFrame& box, double twipsPerPixelX, double twipsPerPixelY) {
    double x = 0;
    double y = 0;
    if (box.singleLineBorder) {
        x = nearest(box.penWidth * twipsPerPixelX * 2);
        y = nearest(box.penWidth * twipsPerPixelY * 2);
    }
    if (box.threeD) {
        x = nearest(2 * twipsPerPixelX + x);
        y = nearest(2 * twipsPerPixelY + y);
    }
    return {nearestClamped(twipsPerPixelX + x), nearestClamped(twipsPerPixelY + y)};
}

PreviewMetrics StandardMetrics(int hBarHeight, int vBarWidth, double devicePixelRatio) {
    const FrameExtent frame = MeasureFrame(kPreviewBoxFrame, kTwipsPerPixel, kTwipsPerPixel);
    return {kTwipsPerPixel, kTwipsPerPixel, frame, frame, hBarHeight, vBarWidth, devicePixelRatio};
}

PreviewLayout InitialLayout(Extent window, Extent view) {
    return {window.width, window.height, view.width, view.height, {}, {}};
}

ResizeOutcome LayOutPreview(const PreviewLayout& current, const PreviewMetrics& metrics,
                            Extent window, Extent canvas) {
    // Only a shrink is undone: a viewport already below the minimum because a bar narrowed it
    // must not block growing the window, or resizing it the other way.
    const int newWidth = window.width - current.lastWidth + current.viewWidth;
    if (newWidth < kMinimumViewTwips && window.width < current.lastWidth)
        return {SnapBack::Width, current};
    const int newHeight = window.height - current.lastHeight + current.viewHeight;
    if (newHeight < kMinimumViewTwips && window.height < current.lastHeight)
        return {SnapBack::Height, current};

    PreviewLayout l = current;
    l.viewWidth = newWidth;
    l.viewHeight = newHeight;
    l.lastWidth = window.width;
    l.lastHeight = window.height;
    const Axis h = Horizontal(l, metrics, canvas);
    const Axis v = Vertical(l, metrics, canvas);
    Fit(h, false);
    Fit(v, true);
    Fit(h, true); // the vertical bar may have narrowed the view
    // ... and the horizontal bar may just have lowered it: without a second look the vertical
    // range would stop short of the canvas's bottom rows by the bar's height.
    Fit(v, true);
    if (FitsWithoutBars(h, v)) {
        Hide(h);
        Hide(v);
    }
    return {SnapBack::None, l};
}

Extent MinimumWindowPixels(const PreviewLayout& l, const PreviewMetrics& m, Extent canvas) {
    // The window's size beyond its viewport's while no bar is up.
    const Extent frame{l.lastWidth - l.viewWidth - (l.v.shown ? m.vBarWidth : 0),
                       l.lastHeight - l.viewHeight - (l.h.shown ? m.hBarHeight : 0)};
    // Rounded up: a window a part of a pixel short would leave the viewport below the minimum.
    const auto pixels = [](int twips, int twipsPerPixel) {
        return (twips + twipsPerPixel - 1) / twipsPerPixel;
    };
    const int leastWidth = pixels(kMinimumViewTwips + frame.width, m.twipsPerPixelX);
    const int leastHeight = pixels(kMinimumViewTwips + frame.height, m.twipsPerPixelY);

    // The bars a window of that size shows, laid out afresh.
    const Extent window{leastWidth * m.twipsPerPixelX, leastHeight * m.twipsPerPixelY};
    const PreviewLayout bare =
        InitialLayout(window, {window.width - frame.width, window.height - frame.height});
    const PreviewLayout small = LayOutPreview(bare, m, window, canvas).layout;
    return {pixels(kMinimumViewTwips + frame.width + (small.v.shown ? m.vBarWidth : 0),
                   m.twipsPerPixelX),
            pixels(kMinimumViewTwips + frame.height + (small.h.shown ? m.hBarHeight : 0),
                   m.twipsPerPixelY)};
}

Rect HorizontalBarPlace(const PreviewLayout& l, const PreviewMetrics& m) {
    return {0, l.viewHeight, l.viewWidth, m.hBarHeight};
}

Rect VerticalBarPlace(const PreviewLayout& l, const PreviewMetrics& m) {
    return {l.viewWidth, 0, m.vBarWidth, l.viewHeight};
}

Rect ToPixels(const Rect& t, const PreviewMetrics& m) {
    return {t.x / m.twipsPerPixelX, t.y / m.twipsPerPixelY, t.width / m.twipsPerPixelX,
            t.height / m.twipsPerPixelY};
}

int ScrollToPixel(int scrollTwips, int twipsPerPixel, double devicePixelRatio) {
    // The product is exact for the ratios screens use (1.25, 1.5, 2 ...), where a division by
    // twips per canvas pixel might land a hair below a whole pixel.
    return static_cast<int>(std::floor(scrollTwips * devicePixelRatio / twipsPerPixel));
}

Rect VisibleCanvasBlock(Extent canvas, int x, int y, Extent inside) {
    // In 64 bits: x + inside.width may pass INT_MAX for a position far off the canvas.
    const long long left = std::max(0, x);
    const long long top = std::max(0, y);
    const long long right =
        std::min<long long>(canvas.width, static_cast<long long>(x) + inside.width);
    const long long bottom =
        std::min<long long>(canvas.height, static_cast<long long>(y) + inside.height);
    if (right <= left || bottom <= top)
        return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

} // namespace tidepool
