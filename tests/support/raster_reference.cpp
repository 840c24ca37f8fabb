#include "tests/support/raster_reference.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tidepool::reference {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kHair = 1e-9;

struct Vec {
    double x;
    double y;
};

// A membership test with how close it came to flipping.
struct Test {
    bool inside;
    bool near;
};

Test atMost(double value, double limit) {
    return {value <= limit, std::fabs(value - limit) < kHair};
}

// (dx, dy) inside the ellipse with radii (a, b), boundary included.
Test inEllipse(Vec p, double a, double b) {
    if (a <= 0 || b <= 0) {
        // A flat ellipse is a segment along its other axis.
        if (a <= 0 && b <= 0)
            return {p.x == 0 && p.y == 0, false};
        if (a <= 0)
            return {p.x == 0 && std::fabs(p.y) <= b,
                    p.x == 0 && std::fabs(std::fabs(p.y) - b) < kHair};
        return {p.y == 0 && std::fabs(p.x) <= a, p.y == 0 && std::fabs(std::fabs(p.x) - a) < kHair};
    }
    const double f = (p.x / a) * (p.x / a) + (p.y / b) * (p.y / b);
    return atMost(f, 1);
}

Test strictlyInEllipse(Vec p, double a, double b) {
    if (a <= 0 || b <= 0)
        return {false, false};
    const double f = (p.x / a) * (p.x / a) + (p.y / b) * (p.y / b);
    return {f < 1, std::fabs(f - 1) < kHair};
}

double distanceToSegment(Vec p, Vec a, Vec b) {
    const Vec d{b.x - a.x, b.y - a.y};
    const double len2 = d.x * d.x + d.y * d.y;
    double t = len2 > 0 ? ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * d.x), p.y - (a.y + t * d.y));
}

struct End {
    double angle;
    bool radius;
};

End readEnd(double v) {
    double m = std::fmod(std::fabs(v), kTwoPi);
    if (m < 1e-6)
        m = 0;
    return {m, v < 0};
}

double wrap(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// Whether pixel offset p (y down) lies in the counter-clockwise sweep from start to end.
Test inSweep(Vec p, double start, double end) {
    double span = wrap(end - start);
    if (span == 0 || (p.x == 0 && p.y == 0))
        return {true, false};
    const double theta = wrap(std::atan2(-p.y, p.x));
    const double along = wrap(theta - start);
    const double rho = std::hypot(p.x, p.y);
    const double fromStart = std::min(along, kTwoPi - along) * rho;
    const double fromEnd =
        std::min(std::fabs(along - span), kTwoPi - std::fabs(along - span)) * rho;
    return {along <= span, std::min(fromStart, fromEnd) < 1e-7};
}

// Where the ray at angle meets the ellipse, as a pixel offset (y down).
Vec pointOnEllipse(double a, double b, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    double r = 0;
    if (a > 0 && b > 0)
        r = 1 / std::sqrt(c * c / (a * a) + s * s / (b * b));
    return {r * c, -r * s};
}

void mark(Coverage& cov, int i, Cover c, bool near) {
    if (c == Cover::Outline || cov.cover[i] == Cover::None)
        cov.cover[i] = std::max(cov.cover[i], c);
    if (near)
        cov.nearBoundary[i] = true;
}

} // namespace

Coverage circleCoverage(int width, int height, const Pen& pen, int x, int y, int r,
                        std::optional<ArcAngles> angles, double aspect) {
    Coverage cov(width, height);
    const double cx = std::nearbyint(x * pen.kx), cy = std::nearbyint(y * pen.ky);
    const double radius = std::fabs(r * pen.kx);
    const double shape = std::fabs(aspect);
    const double a = shape < 1 ? radius : radius / shape;
    const double b = shape < 1 ? radius * shape : radius;
    const double h = std::max(pen.drawWidth, 1) / 2.0;

    const End start = readEnd(angles ? angles->start : 0);
    const End end = readEnd(angles ? angles->end : 0);
    const bool pie = angles && start.radius && end.radius;
    const Vec ps = pointOnEllipse(a, b, start.angle), pe = pointOnEllipse(a, b, end.angle);

    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            const Vec p{i - cx, j - cy};
            const int at = j * width + i;
            const Test sweep = angles ? inSweep(p, start.angle, end.angle) : Test{true, false};

            const Test disc = inEllipse(p, a, b);
            if (pen.filled && (!angles || pie))
                mark(cov, at, disc.inside && sweep.inside ? Cover::Fill : Cover::None,
                     disc.near || (disc.inside && sweep.near));

            const Test outer = inEllipse(p, a + h, b + h);
            const Test hole = strictlyInEllipse(p, a - h, b - h);
            const bool ring = outer.inside && !hole.inside;
            mark(cov, at, ring && sweep.inside ? Cover::Outline : Cover::None,
                 outer.near || hole.near || (ring && sweep.near));
            if (!angles)
                continue;

            for (const auto& [point, radiusDrawn] :
                 {std::pair{ps, start.radius}, std::pair{pe, end.radius}}) {
                const Vec from = radiusDrawn ? Vec{0, 0} : point;
                const Test stroke = atMost(distanceToSegment(p, from, point), h);
                mark(cov, at, stroke.inside ? Cover::Outline : Cover::None, stroke.near);
            }
        }
    }
    return cov;
}

Coverage lineCoverage(int width, int height, const Pen& pen, int x1, int y1, int x2, int y2) {
    Coverage cov(width, height);
    const Vec a{std::nearbyint(x1 * pen.kx), std::nearbyint(y1 * pen.ky)};
    const Vec b{std::nearbyint(x2 * pen.kx), std::nearbyint(y2 * pen.ky)};
    const double h = std::max(pen.drawWidth, 1) / 2.0;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            const Test t = atMost(distanceToSegment(Vec{double(i), double(j)}, a, b), h);
            mark(cov, j * width + i, t.inside ? Cover::Outline : Cover::None, t.near);
        }
    }
    return cov;
}

} // namespace tidepool::reference
