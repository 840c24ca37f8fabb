#include "render/raster/stencil.h"

#include <algorithm>
#include <cmath>

namespace tidepool::raster {

namespace {

template <class Piece>
void recordPiece(const Piece& piece, Layer layer, std::vector<StencilSpan>& spans) {
    const int top = static_cast<int>(std::ceil(piece.top()));
    const int bottom = static_cast<int>(std::floor(piece.bottom()));
    for (int dy = top; dy <= bottom; ++dy) {
        RowRanges row;
        piece.row(dy, row);
        for (int i = 0; i < row.count; ++i)
            spans.push_back({static_cast<std::int16_t>(dy),
                             static_cast<std::int16_t>(row.ranges[i].lo),
                             static_cast<std::int16_t>(row.ranges[i].hi), layer});
    }
}

bool drawnBefore(const StencilSpan& a, const StencilSpan& b) {
    if (a.layer != b.layer)
        return a.layer < b.layer;
    if (a.dy != b.dy)
        return a.dy < b.dy;
    return a.x0 < b.x0;
}

// Joins overlapping and touching spans of one layer and row, so each pixel is written once.
void mergeSpans(std::vector<StencilSpan>& spans) {
    std::sort(spans.begin(), spans.end(), drawnBefore);
    std::size_t kept = 0;
    for (const StencilSpan& s : spans) {
        StencilSpan* last = kept ? &spans[kept - 1] : nullptr;
        if (last && last->layer == s.layer && last->dy == s.dy && s.x0 <= last->x1 + 1) {
            last->x1 = std::max(last->x1, s.x1);
            continue;
        }
        spans[kept++] = s;
    }
    spans.resize(kept);
}

void measure(Stencil& st) {
    st.left = st.top = 0;
    st.right = st.bottom = -1;
    if (st.spans.empty())
        return;
    st.left = st.right = st.spans.front().x0;
    st.top = st.bottom = st.spans.front().dy;
    for (const StencilSpan& s : st.spans) {
        st.left = std::min<int>(st.left, s.x0);
        st.right = std::max<int>(st.right, s.x1);
        st.top = std::min<int>(st.top, s.dy);
        st.bottom = std::max<int>(st.bottom, s.dy);
    }
}

} // namespace

void buildStencil(const Figure& figure, bool oneColour, Stencil& out) {
    out.spans.clear();
    if (figure.fill)
        recordPiece(*figure.fill, oneColour ? Layer::Outline : Layer::Fill, out.spans);
    if (figure.outline)
        recordPiece(*figure.outline, Layer::Outline, out.spans);
    for (int i = 0; i < figure.strokeCount; ++i)
        recordPiece(figure.strokes[i], Layer::Outline, out.spans);
    mergeSpans(out.spans);
    out.fillCount = static_cast<std::size_t>(
        std::count_if(out.spans.begin(), out.spans.end(),
                      [](const StencilSpan& s) { return s.layer == Layer::Fill; }));
    measure(out);
}

void buildEllipseStencil(const EllipseGeometry& ellipse, Stencil& out) {
    buildStencil(ellipseFigure(ellipse), ellipse.sameColour, out);
}

void buildLineStencil(double dx, double dy, int penWidth, Stencil& out) {
    buildStencil(lineFigure(dx, dy, penWidth), true, out);
}

} // namespace tidepool::raster
