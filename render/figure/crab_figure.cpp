#include "render/figure/crab_figure.h"

namespace tidepool {

namespace {

// Angles of the figure, in radians from degrees × 3.141592 / 180.
constexpr double kDegree = 0.01745328888888889;
constexpr double kMinusPi = -3.141592;
constexpr double kMinusHalfPi = -1.570796;
// "Zero with a radius": -0 cannot be told from 0.
constexpr double kMinusZero = -1e-8;

struct FigureColours {
    Colour body;
    Colour pattern;
    Colour eyes;
};

FigureColours ColoursFor(CrabKind kind, Colour primary, Colour secondary, const CrabStyle& style) {
    const auto& fixed = style.fixedColours;
    bool fixedForFrame = kind == 3 && style.useFixedColours == 1;
    FigureColours c{};
    c.body = kind == 1 || fixedForFrame ? fixed[1] : primary;
    if (kind == 4)
        c.pattern = primary;
    else if (kind == 1 || style.useFixedColours == 1)
        c.pattern = fixed[2];
    else if (kind == 3)
        c.pattern = primary;
    else
        c.pattern = secondary;
    c.eyes = kind == 1 || fixedForFrame ? fixed[3] : primary;
    return c;
}

void SetColour(DrawingSurface& s, Colour c) {
    s.ForeColor = c;
    s.FillColor = s.ForeColor;
}

// Stalks first, then the legs from the front pair back, each outer end first.
struct Segment {
    int x1, y1, x2, y2;
};
constexpr Segment kStalksAndLegs[] = {
    {-9, -47, -9, -39}, {9, -47, 9, -39}, {-52, -13, -43, -10}, {52, -13, 43, -10},
    {-54, 0, -44, 0},   {54, 0, 44, 0},   {-52, 13, -43, 10},   {52, 13, 43, 10},
    {-47, 25, -38, 18}, {47, 25, 38, 18},
};

void DrawEyes(DrawingSurface& s, int cx, int cy, EyeShape shape) {
    switch (shape) {
    case 0:
    case 1:
        s.DrawWidth = 1;
        s.Circle(cx - 9, cy - 49, 3);
        s.Circle(cx + 9, cy - 49, 3);
        return;
    case 2:
        s.Line(cx - 5, cy - 48, cx - 13, cy - 48);
        s.Line(cx + 5, cy - 48, cx + 13, cy - 48);
        return;
    case 3:
        s.Line(cx - 5, cy - 46, cx - 13, cy - 52);
        s.Line(cx - 5, cy - 52, cx - 13, cy - 46);
        s.Line(cx + 5, cy - 46, cx + 13, cy - 52);
        s.Line(cx + 5, cy - 52, cx + 13, cy - 46);
        return;
    case 4:
        s.Circle(cx - 9, cy - 42, 6, s.FillColor, ArcAngles{20 * kDegree, 160 * kDegree});
        s.Circle(cx + 9, cy - 42, 6, s.FillColor, ArcAngles{20 * kDegree, 160 * kDegree});
        return;
    case 5:
        s.Circle(cx - 9, cy - 53, 6, s.FillColor, ArcAngles{220 * kDegree, 320 * kDegree});
        s.Circle(cx + 9, cy - 53, 6, s.FillColor, ArcAngles{220 * kDegree, 320 * kDegree});
        return;
    default:
        return;
    }
}

} // namespace

int OutlinePenWidth(double m) {
    if (m <= 0.2)
        return 1;
    if (m <= 0.5)
        return 2;
    if (m <= 1)
        return 3;
    // Band w runs up to T(w), with T(3) = 1.3 and T(w) = T(w - 1) + w / 10, each bound held as a
    // 32-bit float and compared with m rounded the same way, so a listed bound gets the next
    // width. The cap only matters for magnifications no drawing accepts.
    const float m32 = static_cast<float>(m);
    float bound = 1.3f;
    int w = 3;
    while (!(m32 < bound) && w < 255) {
        ++w;
        bound = static_cast<float>(static_cast<double>(bound) + w / 10.0);
    }
    return w;
}

void DrawCrab(DrawingSurface& s, CrabKind kind, std::int16_t x, std::int16_t y, Colour primary,
              Colour secondary, EyeShape shape, const CrabStyle& style) {
    const FigureColours colours = ColoursFor(kind, primary, secondary, style);
    const int cx = x + 60, cy = y + 57;
    const int pen = style.penWidth;

    s.DrawWidth = 1;
    s.FillStyle = 0;
    SetColour(s, colours.body);
    s.Circle(cx, cy, 44, std::nullopt, std::nullopt, 0.9);
    if (kind >= 3) {
        // The inner body leaves only a ring of the body colour, so frame layers show outlines.
        SetColour(s, secondary);
        s.Circle(cx, cy, 41, std::nullopt, std::nullopt, 0.9);
        SetColour(s, colours.body);
    }

    s.Circle(cx - 38, cy - 32, 9, s.FillColor, ArcAngles{kMinusPi, kMinusHalfPi});
    s.Circle(cx + 38, cy - 32, 9, s.FillColor, ArcAngles{kMinusHalfPi, kMinusZero});

    s.DrawWidth = static_cast<std::int16_t>(pen);
    for (const Segment& seg : kStalksAndLegs)
        s.Line(cx + seg.x1, cy + seg.y1, cx + seg.x2, cy + seg.y2);

    SetColour(s, colours.pattern);
    s.Circle(cx + 32, cy, 20, s.FillColor, ArcAngles{140 * kDegree, 220 * kDegree});
    s.Circle(cx - 32, cy, 20, s.FillColor, ArcAngles{320 * kDegree, 40 * kDegree});

    s.DrawWidth = static_cast<std::int16_t>(pen);
    SetColour(s, colours.eyes);
    DrawEyes(s, cx, cy, shape);
}

} // namespace tidepool
