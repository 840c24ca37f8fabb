#pragma once

#include "render/raster/figure.h"
#include "render/raster/stencil.h"
#include "render/settings/colour.h"

namespace tidepool::raster {

// Writes figures into a row-major bitmap, clipped to it. Every write is a whole span of one
// colour; nothing outside the bitmap is touched and no off-bitmap row is visited.
class SpanWriter {
  public:
    SpanWriter(Pixel* pixels, int width, int height)
        : pixels_(pixels), width_(width), height_(height) {}

    // Draws figure with its centre at pixel (cx, cy), whole numbers of any size: the fill in
    // fill, everything else in outline.
    void drawFigure(const Figure& figure, double cx, double cy, Pixel fill, Pixel outline);

    // drawFigure() for ellipseFigure(ellipse) and lineFigure(dx, dy, penWidth).
    void drawEllipse(const EllipseGeometry& ellipse, double cx, double cy, Pixel fill,
                     Pixel outline);
    void drawLine(double x, double y, double dx, double dy, int penWidth, Pixel colour);

    // Draws a stencil with its centre at pixel (cx, cy), which must lie within a few stencil
    // reaches of the bitmap so that no offset overflows.
    void drawStencil(const Stencil& stencil, int cx, int cy, Pixel fill, Pixel outline);

  private:
    template <class Piece> void drawPiece(const Piece& piece, double cx, double cy, Pixel colour);
    void fillClipped(int y, double x0, double x1, Pixel colour);
    void writeSpans(const StencilSpan* first, const StencilSpan* last, int cx, int cy, Pixel colour,
                    bool clip);

    Pixel* pixels_;
    int width_;
    int height_;
};

} // namespace tidepool::raster
