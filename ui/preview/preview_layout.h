#pragma once

// The preview window's geometry as plain arithmetic: the frame measure, the relayout at every
// resize (minimum size and scroll-bar decision) and the part of the canvas a repaint shows. All
// positions, sizes and scroll positions are twips (1/1440 inch), held in 32-bit ints so that the
// whole of the largest canvas stays reachable. The window only applies the results.
//
// Where these names differ from the window's classic ones:
//   FrameExtraX/Y                -> FrameExtent (what MeasureFrame returns)
//   TwipsPerPixelX/Y             -> PreviewMetrics::twipsPerPixelX/Y
//   ViewExtraX/Y, CanvasExtraX/Y -> PreviewMetrics::viewExtra, canvasExtra
//   LastWidth, LastHeight        -> PreviewLayout::lastWidth, lastHeight
//   the viewport's Width, Height -> PreviewLayout::viewWidth, viewHeight
//   HScroll1, VScroll1           -> PreviewLayout::h, v
//   Max, SmallChange, LargeChange, Visible -> ScrollRange::max, smallChange, largeChange, shown

#include "ui/parts/twips.h"

namespace tidepool {

// A viewport narrower or lower than this is refused.
inline constexpr int kMinimumViewTwips = 1000;

struct Extent {
    int width = 0;
    int height = 0;
    friend bool operator==(const Extent&, const Extent&) = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// How a picture box is framed.
struct BoxFrame {
    bool singleLineBorder = false;
    bool threeD = false;
    int penWidth = 1; // pixels
};

// A box's frame across both sides plus one pixel, in twips.
struct FrameExtent {
    int x = 0;
    int y = 0;
};

// The frame a box's outer size has beyond its drawing area, plus one pixel. twipsPerPixelX/Y are
// the screen's, unrounded. A single-line 3-D box with pen 1 at 15 twips per pixel gives 75 twips.
FrameExtent MeasureFrame(const BoxFrame& box, double twipsPerPixelX, double twipsPerPixelY);

// The frame of both picture boxes of the preview window: a 2-pixel sunken border.
inline constexpr BoxFrame kPreviewBoxFrame{true, true, 1};

// What the layout takes as given, measured when the window is made; the ratio follows its screen.
struct PreviewMetrics {
    int twipsPerPixelX = kTwipsPerPixel;
    int twipsPerPixelY = kTwipsPerPixel;
    FrameExtent viewExtra;
    FrameExtent canvasExtra;
    int hBarHeight = 0; // the thickness the style gives a horizontal bar
    int vBarWidth = 0;
    // Device pixels to a window pixel. The canvas is shown one of its pixels to a device pixel,
    // as the desktop shows a wallpaper, so a canvas pixel measures twipsPerPixel / ratio twips.
    double devicePixelRatio = 1;
};

// The metrics at 15 twips per pixel for the given bar thicknesses (twips) and pixel ratio.
PreviewMetrics StandardMetrics(int hBarHeight, int vBarWidth, double devicePixelRatio = 1);

// A scroll bar's range. A hidden bar always has max 0, smallChange 1, largeChange 1.
struct ScrollRange {
    bool shown = false;
    int max = 0;
    int smallChange = 1;
    int largeChange = 1;
    friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

// The state a relayout starts from and ends with. The viewport sits at (0, 0); each bar lies
// along its edge.
struct PreviewLayout {
    int lastWidth = 0; // the window's size accepted at the last relayout
    int lastHeight = 0;
    int viewWidth = 0; // the viewport's outer size, frame included
    int viewHeight = 0;
    ScrollRange h;
    ScrollRange v;
    friend bool operator==(const PreviewLayout&, const PreviewLayout&) = default;
};

// The layout of a window whose client area is window, with bars hidden and the viewport at view.
PreviewLayout InitialLayout(Extent window, Extent view);

enum class SnapBack {
    None,   // the layout was recomputed
    Width,  // the window is to get lastWidth back; nothing else changes
    Height, // the window is to get lastHeight back; nothing else changes
};

struct ResizeOutcome {
    SnapBack snapBack = SnapBack::None;
    PreviewLayout layout;
};

// Relays the preview out for a window of the given size (twips) and a canvas of the given size
// (its own pixels, which are device pixels). A shrink that would leave the viewport below the
// minimum is refused, width first: the window is to return to its last accepted size, and a new
// relayout follows. Otherwise the viewport follows the window, and each bar is shown exactly while
// the canvas overflows the view along it, with a range that reaches the canvas's far edge.
ResizeOutcome LayOutPreview(const PreviewLayout& current, const PreviewMetrics& metrics,
                            Extent window, Extent canvas);

// The smallest window, in whole pixels, that keeps the viewport at the minimum with every bar the
// canvas needs there. Window managers read this once as a drag of the frame begins, so it already
// counts the bars that appear as the window shrinks; at any larger size no more bars are up.
Extent MinimumWindowPixels(const PreviewLayout& layout, const PreviewMetrics& metrics,
                           Extent canvas);

// Where the bars go: HScroll1 below the viewport, as wide as it; VScroll1 right of it, as high.
Rect HorizontalBarPlace(const PreviewLayout& layout, const PreviewMetrics& metrics);
Rect VerticalBarPlace(const PreviewLayout& layout, const PreviewMetrics& metrics);

// A rectangle in twips as whole pixels (truncating).
Rect ToPixels(const Rect& twips, const PreviewMetrics& metrics);

// The canvas pixel a scroll position in twips starts the view at (rounding down), with
// devicePixelRatio canvas pixels to a window pixel.
int ScrollToPixel(int scrollTwips, int twipsPerPixel, double devicePixelRatio = 1);

// The part of a canvas (pixels) that a view of the given inside size (device pixels), starting at
// canvas pixel (x, y), can show; empty (0 wide or high) when none of it can. It lands at the
// view's inside top-left corner plus (x, y) - its own corner; the rest shows the background.
Rect VisibleCanvasBlock(Extent canvas, int x, int y, Extent inside);

} // namespace tidepool
