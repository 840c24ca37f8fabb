#pragma once

// A figure is what one Circle or Line call draws, broken into the pieces of raster_geometry.h and
// placed relative to its centre pixel (the first end of a line). Figures with the same shape at
// different places are equal, which is what lets small ones be cached as stencils.

#include "render/raster/geometry.h"

#include <optional>

namespace tidepool::raster {

struct Figure {
    std::optional<SectorPiece> fill;       // drawn first, in the fill colour
    std::optional<SectorPiece> outline;    // the ring or arc body, in the outline colour
    std::array<CapsulePiece, 2> strokes{}; // end caps, radii or a line, in the outline colour
    int strokeCount = 0;

    // The smallest rectangle of real offsets holding every piece.
    double left() const;
    double right() const;
    double top() const;
    double bottom() const;
};

// An ellipse with radii a and b in pixels (both >= 0) and a pen of penWidth >= 1 pixels.
// Without angles it is closed; with them it is an arc or, with both angles negative, a pie.
// filled asks for the closed figure's fill; sameColour says fill and outline are one colour, so
// the two may be drawn as one shape.
struct EllipseGeometry {
    double a = 0;
    double b = 0;
    int penWidth = 1;
    bool hasAngles = false;
    double start = 0;
    double end = 0;
    bool filled = false;
    bool sameColour = false;
};

Figure ellipseFigure(const EllipseGeometry& ellipse);

// A stroke from (0, 0) to (dx, dy) with a pen of penWidth >= 1 pixels.
Figure lineFigure(double dx, double dy, int penWidth);

// How a raw angle argument reads: its magnitude reduced to [0, 2 pi), with magnitudes below
// 1e-6 (the -1e-8 that stands for "0 with a radius") counted as exactly 0, and whether a
// radius is drawn to that end (the argument was negative).
struct ArcEnd {
    double angle;
    bool radius;
};
ArcEnd readArcEnd(double value);

} // namespace tidepool::raster
