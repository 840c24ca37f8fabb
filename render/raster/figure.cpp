#include "render/raster/figure.h"

#include <algorithm>
#include <cmath>

namespace tidepool::raster {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
// Far below anything a caller means as an angle, far above the -1e-8 that means 0.
constexpr double kZeroAngle = 1e-6;

struct Direction {
    double x;
    double y;
};

Direction directionOf(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

Sweep sweepBetween(double start, double end) {
    double span = end - start;
    if (span < 0)
        span += kTwoPi;
    Sweep s;
    // Equal ends mean the whole turn, as a closed curve through that point.
    s.full = span == 0;
    s.wide = span > kPi;
    const Direction a = directionOf(start), b = directionOf(end);
    s.sx = a.x;
    s.sy = a.y;
    s.ex = b.x;
    s.ey = b.y;
    return s;
}

// Where the ray at angle from the centre meets ellipse (a, b), as a pixel offset.
struct Point {
    double x;
    double y;
};

Point ellipsePointAt(double a, double b, double angle) {
    const Direction d = directionOf(angle);
    double t = a;
    if (a != b) {
        const double den = std::hypot(b * d.x, a * d.y);
        t = den > 0 ? a * b / den : 0;
    }
    return {t * d.x, -t * d.y};
}

// The round end of an arc, or the radius drawn to it, whose own round ends cover the cap.
CapsulePiece arcEndStroke(Point end, bool radius, double h) {
    CapsulePiece c;
    c.x0 = radius ? 0 : end.x;
    c.y0 = radius ? 0 : end.y;
    c.x1 = end.x;
    c.y1 = end.y;
    c.h = h;
    return c;
}

// The furthest any piece reaches in one direction: edge reads a piece's bound, further picks the
// more extreme of two.
template <typename Edge, typename Further>
double reach(const Figure& f, double none, Edge edge, Further further) {
    double v = none;
    if (f.fill)
        v = further(v, edge(*f.fill));
    if (f.outline)
        v = further(v, edge(*f.outline));
    for (int i = 0; i < f.strokeCount; ++i)
        v = further(v, edge(f.strokes[i]));
    return v;
}

constexpr auto kLess = [](double a, double b) { return std::min(a, b); };
constexpr auto kMore = [](double a, double b) { return std::max(a, b); };

} // namespace

double Figure::left() const {
    return reach(
        *this, kInfinity, [](const auto& p) { return p.left(); }, kLess);
}

double Figure::right() const {
    return reach(
        *this, -kInfinity, [](const auto& p) { return p.right(); }, kMore);
}

double Figure::top() const {
    return reach(
        *this, kInfinity, [](const auto& p) { return p.top(); }, kLess);
}

double Figure::bottom() const {
    return reach(
        *this, -kInfinity, [](const auto& p) { return p.bottom(); }, kMore);
}

ArcEnd readArcEnd(double value) {
    double m = std::fmod(std::fabs(value), kTwoPi);
    if (m < kZeroAngle)
        m = 0;
    return {m, value < 0};
}

Figure ellipseFigure(const EllipseGeometry& ellipse) {
    const double h = ellipse.penWidth / 2.0;
    SectorPiece ring;
    ring.outerA = ellipse.a + h;
    ring.outerB = ellipse.b + h;
    ring.innerA = ellipse.a - h;
    ring.innerB = ellipse.b - h;

    Figure f;
    if (!ellipse.hasAngles) {
        if (ellipse.filled && ellipse.sameColour) {
            // The fill reaches under the whole ring, so one disc draws both.
            ring.innerA = ring.innerB = 0;
        } else if (ellipse.filled) {
            f.fill = SectorPiece{ellipse.a, ellipse.b, 0, 0, Sweep{}};
        }
        f.outline = ring;
        return f;
    }

    const ArcEnd start = readArcEnd(ellipse.start), end = readArcEnd(ellipse.end);
    ring.sweep = sweepBetween(start.angle, end.angle);
    f.outline = ring;
    f.strokes[0] = arcEndStroke(ellipsePointAt(ellipse.a, ellipse.b, start.angle), start.radius, h);
    f.strokes[1] = arcEndStroke(ellipsePointAt(ellipse.a, ellipse.b, end.angle), end.radius, h);
    f.strokeCount = 2;
    if (ellipse.filled && start.radius && end.radius)
        f.fill = SectorPiece{ellipse.a, ellipse.b, 0, 0, ring.sweep};
    return f;
}

Figure lineFigure(double dx, double dy, int penWidth) {
    Figure f;
    f.strokes[0] = CapsulePiece{0, 0, dx, dy, penWidth / 2.0};
    f.strokeCount = 1;
    return f;
}

} // namespace tidepool::raster
