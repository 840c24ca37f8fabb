#include "render/raster/span_writer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tidepool::raster {

void SpanWriter::fillClipped(int y, double x0, double x1, Pixel colour) {
    x0 = std::max(x0, 0.0);
    x1 = std::min(x1, width_ - 1.0);
    if (!(x0 <= x1))
        return;
    Pixel* row = pixels_ + static_cast<std::size_t>(y) * width_;
    std::fill(row + static_cast<int>(x0), row + static_cast<int>(x1) + 1, colour);
}

template <class Piece>
void SpanWriter::drawPiece(const Piece& piece, double cx, double cy, Pixel colour) {
    if (cx + piece.right() < 0 || cx + piece.left() > width_ - 1)
        return;
    const double top = std::max(0.0, cy + std::ceil(piece.top()));
    const double bottom = std::min(height_ - 1.0, cy + std::floor(piece.bottom()));
    if (!(top <= bottom))
        return;
    const int last = static_cast<int>(bottom);
    for (int y = static_cast<int>(top); y <= last; ++y) {
        RowRanges row;
        piece.row(y - cy, row);
        for (int i = 0; i < row.count; ++i)
            fillClipped(y, cx + row.ranges[i].lo, cx + row.ranges[i].hi, colour);
    }
}

void SpanWriter::drawFigure(const Figure& figure, double cx, double cy, Pixel fill, Pixel outline) {
    if (figure.fill)
        drawPiece(*figure.fill, cx, cy, fill);
    if (figure.outline)
        drawPiece(*figure.outline, cx, cy, outline);
    for (int i = 0; i < figure.strokeCount; ++i)
        drawPiece(figure.strokes[i], cx, cy, outline);
}

void SpanWriter::drawEllipse(const EllipseGeometry& ellipse, double cx, double cy, Pixel fill,
                             Pixel outline) {
    drawFigure(ellipseFigure(ellipse), cx, cy, fill, outline);
}

void SpanWriter::drawLine(double x, double y, double dx, double dy, int penWidth, Pixel colour) {
    drawFigure(lineFigure(dx, dy, penWidth), x, y, colour, colour);
}

void SpanWriter::writeSpans(const StencilSpan* first, const StencilSpan* last, int cx, int cy,
                            Pixel colour, bool clip) {
    for (const StencilSpan* s = first; s != last; ++s) {
        const int y = cy + s->dy;
        int x0 = cx + s->x0, x1 = cx + s->x1;
        if (clip) {
            if (y < 0 || y >= height_)
                continue;
            x0 = std::max(x0, 0);
            x1 = std::min(x1, width_ - 1);
        }
        Pixel* row = pixels_ + static_cast<std::size_t>(y) * width_;
        for (int x = x0; x <= x1; ++x)
            row[x] = colour;
    }
}

void SpanWriter::drawStencil(const Stencil& stencil, int cx, int cy, Pixel fill, Pixel outline) {
    const bool clip = cx + stencil.left < 0 || cx + stencil.right >= width_ ||
                      cy + stencil.top < 0 || cy + stencil.bottom >= height_;
    const StencilSpan* spans = stencil.spans.data();
    writeSpans(spans, spans + stencil.fillCount, cx, cy, fill, clip);
    writeSpans(spans + stencil.fillCount, spans + stencil.spans.size(), cx, cy, outline, clip);
}

} // namespace tidepool::raster
