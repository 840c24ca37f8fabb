#pragma once

// Row-by-row geometry of the pieces every figure is made of. All offsets are in pixels relative
// to a figure's centre pixel, with y growing downwards. A piece answers, for one whole-pixel row
// offset dy, which whole-pixel column offsets it covers, as closed ranges of integers held in
// doubles (so that nothing overflows for far-away figures). Both the direct drawing path and the
// stencil builder ask the same functions, so a cached figure is pixel-identical to a drawn one.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tidepool::raster {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A closed range of whole column offsets; empty when lo > hi.
struct Range {
    double lo;
    double hi;
};

// The ranges a piece covers in one row. They may overlap; drawing them twice is harmless.
struct RowRanges {
    std::array<Range, 4> ranges{};
    int count = 0;

    void add(double lo, double hi) {
        if (lo <= hi)
            ranges[count++] = {lo, hi};
    }
};

// Half the width of ellipse (a, b) on row dy: the row holds the points |x| <= result. Negative
// when the row misses the ellipse. An ellipse with b = 0 is the segment |x| <= a on row 0.
inline double ellipseHalfWidth(double a, double b, double dy) {
    if (std::fabs(dy) > b)
        return -1;
    if (b == 0)
        return a;
    const double s = std::sqrt(b * b - dy * dy);
    return a == b ? s : s * (a / b);
}

// The directions of an angular sweep, counter-clockwise on screen from start to end. Directions
// are screen vectors with y pointing up, so the pixel offset (dx, dy) has direction (dx, -dy).
// A pixel is inside when it lies on or between the two boundary rays; the centre always is.
struct Sweep {
    bool full = true;      // the whole turn: no restriction
    bool wide = false;     // more than half a turn: the union of the two half-planes
    double sx = 1, sy = 0; // start direction
    double ex = 1, ey = 0; // end direction

    // Columns on row dy with cross(start, v) >= 0: on or counter-clockwise of the start ray.
    Range afterStart(double dy) const {
        const double c = -sx * dy;
        if (sy > 0)
            return {-kInfinity, std::floor(c / sy)};
        if (sy < 0)
            return {std::ceil(c / sy), kInfinity};
        return c >= 0 ? Range{-kInfinity, kInfinity} : Range{kInfinity, -kInfinity};
    }

    // Columns on row dy with cross(v, end) >= 0: on or clockwise of the end ray.
    Range beforeEnd(double dy) const {
        const double k = -dy * ex;
        if (ey > 0)
            return {std::ceil(k / ey), kInfinity};
        if (ey < 0)
            return {-kInfinity, std::floor(k / ey)};
        return k <= 0 ? Range{-kInfinity, kInfinity} : Range{kInfinity, -kInfinity};
    }

    // Adds the part of [lo, hi] inside the sweep on row dy.
    void clip(double dy, double lo, double hi, RowRanges& out) const {
        if (full) {
            out.add(lo, hi);
            return;
        }
        const Range a = afterStart(dy);
        const Range b = beforeEnd(dy);
        if (!wide) {
            out.add(std::max({lo, a.lo, b.lo}), std::min({hi, a.hi, b.hi}));
            return;
        }
        out.add(std::max(lo, a.lo), std::min(hi, a.hi));
        out.add(std::max(lo, b.lo), std::min(hi, b.hi));
    }
};

// An elliptical annulus sector: the points inside the closed outer ellipse, not strictly inside
// the inner one (when it has positive radii), within the sweep. It stands for discs, rings, pie
// fills and arc bodies alike.
struct SectorPiece {
    double outerA = 0, outerB = 0;
    double innerA = 0, innerB = 0; // no hole unless both are positive
    Sweep sweep;

    double left() const { return -outerA; }
    double right() const { return outerA; }
    double top() const { return -outerB; }
    double bottom() const { return outerB; }

    void row(double dy, RowRanges& out) const {
        const double so = ellipseHalfWidth(outerA, outerB, dy);
        if (so < 0)
            return;
        const double outer = std::floor(so);
        if (innerA > 0 && innerB > 0 && std::fabs(dy) < innerB) {
            // Only |x| < si is inside the hole, so the ring resumes at ceil(si).
            const double inner = std::ceil(ellipseHalfWidth(innerA, innerB, dy));
            sweep.clip(dy, -outer, -inner, out);
            sweep.clip(dy, inner, outer, out);
            return;
        }
        sweep.clip(dy, -outer, outer, out);
    }
};

// The points within h of the segment from (x0, y0) to (x1, y1): a straight pen stroke with
// round ends. With both ends equal it is a disc of radius h.
struct CapsulePiece {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double h = 0.5;

    double left() const { return std::min(x0, x1) - h; }
    double right() const { return std::max(x0, x1) + h; }
    double top() const { return std::min(y0, y1) - h; }
    double bottom() const { return std::max(y0, y1) + h; }

    void row(double dy, RowRanges& out) const {
        // The stroke is convex, so its row is the hull of the rows of its two end discs and of
        // the band between them.
        double lo = kInfinity, hi = -kInfinity;
        discRow(x0, y0, dy, lo, hi);
        discRow(x1, y1, dy, lo, hi);
        bandRow(dy, lo, hi);
        out.add(std::ceil(lo), std::floor(hi));
    }

  private:
    void discRow(double px, double py, double dy, double& lo, double& hi) const {
        const double d = dy - py;
        if (std::fabs(d) > h)
            return;
        const double s = std::sqrt(h * h - d * d);
        lo = std::min(lo, px - s);
        hi = std::max(hi, px + s);
    }

    // The band: perpendicular distance at most h and projection within the segment.
    void bandRow(double dy, double& lo, double& hi) const {
        const double dx = x1 - x0, dyS = y1 - y0;
        const double len2 = dx * dx + dyS * dyS;
        if (len2 == 0)
            return;
        const double qy = dy - y0;
        const double reach = h * std::sqrt(len2);
        Range r{-kInfinity, kInfinity};
        // |dx * qy - dyS * qx| <= reach
        if (dyS != 0) {
            const double a = (dx * qy - reach) / dyS, b = (dx * qy + reach) / dyS;
            r = {std::min(a, b), std::max(a, b)};
        } else if (std::fabs(dx * qy) > reach) {
            return;
        }
        // 0 <= dx * qx + dyS * qy <= len2
        if (dx != 0) {
            const double a = -dyS * qy / dx, b = (len2 - dyS * qy) / dx;
            r.lo = std::max(r.lo, std::min(a, b));
            r.hi = std::min(r.hi, std::max(a, b));
        } else {
            const double t = dyS * qy;
            if (t < 0 || t > len2)
                return;
        }
        if (r.lo > r.hi)
            return;
        lo = std::min(lo, x0 + r.lo);
        hi = std::max(hi, x0 + r.hi);
    }
};

} // namespace tidepool::raster
