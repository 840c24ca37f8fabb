#pragma once

#include "render/raster/stencil_cache.h"
#include "render/settings/colour.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace tidepool {

// The sweep of an arc or pie, in radians. 0 points right, angles grow counter-clockwise as seen
// on screen. A negative angle means its absolute value plus a straight radius from the centre to
// that end; both negative make a closed pie. -1e-8 stands for "0 with a radius".
struct ArcAngles {
    double start;
    double end;
};

// How a whole surface is combined into another.
enum class RasterOp {
    Copy, // destination = source
    And,  // destination = destination AND source
    Xor,  // destination = destination XOR source
};

// How far the primitives drawn since DrawingSurface::resetExtent() reached, drawn or clipped: the
// unit coordinates they were given (centres and line ends; radii are not coordinates) and the
// pixel box their geometry spans. Empty while nothing has been drawn.
struct DrawnExtent {
    int unitLeft = std::numeric_limits<int>::max();
    int unitRight = std::numeric_limits<int>::min();
    int unitTop = std::numeric_limits<int>::max();
    int unitBottom = std::numeric_limits<int>::min();
    double pixelLeft = std::numeric_limits<double>::infinity();
    double pixelRight = -std::numeric_limits<double>::infinity();
    double pixelTop = std::numeric_limits<double>::infinity();
    double pixelBottom = -std::numeric_limits<double>::infinity();

    bool empty() const { return unitLeft > unitRight; }
};

// A persistent bitmap of 24-bit colour with a user scale and the drawing attributes of a picture
// box. Coordinates and radii are whole user units; one unit is width / unitsAcross pixels across
// and height / unitsDown pixels down. The unit point (x, y) is the centre of pixel
// (x * kx, y * ky), each rounded to the nearest whole pixel (halves to even); radii keep their
// fractions. Pixel (i, j) counts as the point (i, j). Nothing is anti-aliased: every pixel a
// primitive touches takes exactly the drawing colour. Drawing outside the bitmap is clipped; a
// figure whose pixel geometry is not finite (a scale of 0 units) or lies beyond 2^40 pixels is
// not drawn.
class DrawingSurface {
  public:
    DrawingSurface() = default;
    DrawingSurface(int width, int height);

    // Gives the bitmap a new size in pixels, filled with the background colour, and a scale of
    // one unit per pixel with the unit origin on pixel (0, 0). Negative sizes count as 0.
    void resize(int width, int height);
    // Sets the user scale: the bitmap spans unitsAcross by unitsDown units.
    void setScale(float unitsAcross, float unitsDown);

    int width() const { return width_; }
    int height() const { return height_; }
    float unitsAcross() const { return unitsAcross_; }
    float unitsDown() const { return unitsDown_; }
    // Pixels per unit on each axis.
    double scaleX() const { return kx_; }
    double scaleY() const { return ky_; }
    // The pixel column (row) whose centre the unit x (y) lands on, as a whole number. Far outside
    // the bitmap for a coordinate off it; not finite for a scale of 0 units.
    double pixelX(int x) const;
    double pixelY(int y) const;

    // Makes this surface stand for the part of other's pixel grid whose top-left pixel is
    // (left, top) of other: the same pixels per unit and palette, so that every figure lands on
    // it exactly as on other, shifted by whole pixels. Its own size and pixels stay as they are.
    void showPartOf(const DrawingSurface& other, int left, int top);

    const DrawnExtent& extent() const { return extent_; }
    void resetExtent() { extent_ = DrawnExtent{}; }

    // Row-major, top row first, width() pixels per row, no padding.
    const Pixel* pixels() const { return pixels_.data(); }
    Pixel* pixels() { return pixels_.data(); }
    Pixel pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    Colour colourAt(int x, int y) const { return fromPixel(pixel(x, y)); }

    // The system colours that 0x800000nn values stand for when drawn.
    void setPalette(const SystemPalette& palette) { palette_ = palette; }
    const SystemPalette& palette() const { return palette_; }

    // The drawing attributes. They keep whatever was last set; reading gives back exactly the
    // value set, system colours included.
    std::int16_t DrawWidth = 1; // pen width in pixels, not scaled; values below 1 draw as 1
    std::int16_t FillStyle = 1; // 0 solid: closed figures are filled with FillColor; else hollow
    Colour ForeColor = 0;
    Colour FillColor = 0;

    Colour backColor() const { return backColor_; }
    // Makes c the background colour and fills the whole bitmap with it.
    void setBackColor(Colour c);
    // Fills the whole bitmap with the background colour.
    void clear();

    // A circle or ellipse at centre (x, y) with radius r in horizontal units. With aspect < 1 the
    // vertical radius is r * aspect; with aspect >= 1 the horizontal radius is r / aspect. Both
    // are r * kx pixels scaled so; a negative r or aspect counts as its magnitude.
    // The outline is drawn in colour (ForeColor when absent) with a round pen DrawWidth pixels
    // wide centred on the curve: for radii (a, b) in pixels and pen w, the pixels inside the
    // ellipse (a + w/2, b + w/2) and not strictly inside (a - w/2, b - w/2). Without angles the
    // ellipse is closed and, with FillStyle 0, first filled with FillColor: the pixels inside
    // (a, b). With angles it is an arc from start to end counter-clockwise (through 0 when
    // end < start; equal ends make the whole turn): the part of the outline whose direction from
    // the centre lies in the sweep, plus a round cap of radius w/2 at each end, where the ray at
    // that angle meets the ellipse. A negative angle adds a radius, a pen stroke from the centre
    // to that end; a pie (both negative) with FillStyle 0 is first filled over its sector. Angle
    // magnitudes are taken modulo 2 pi, and below 1e-6 as exactly 0.
    void Circle(int x, int y, int r, std::optional<Colour> colour = std::nullopt,
                std::optional<ArcAngles> angles = std::nullopt, double aspect = 1.0);

    // A segment from (x1, y1) to (x2, y2) in ForeColor, DrawWidth pixels wide with round ends:
    // every pixel within DrawWidth / 2 of the segment.
    void Line(int x1, int y1, int x2, int y2);

  private:
    int penWidth() const { return DrawWidth < 1 ? 1 : DrawWidth; }
    bool missesBitmap(double left, double right, double top, double bottom) const;
    void widenExtent(int unitX, int unitY, double left, double right, double top, double bottom);

    int width_ = 0;
    int height_ = 0;
    float unitsAcross_ = 0;
    float unitsDown_ = 0;
    double kx_ = 1;
    double ky_ = 1;
    // Pixel of a larger grid that this surface's pixel (0, 0) stands for; see showPartOf().
    double originX_ = 0;
    double originY_ = 0;
    DrawnExtent extent_;
    Colour backColor_ = 0;
    SystemPalette palette_ = SystemPalette::defaults();
    std::vector<Pixel> pixels_;
    raster::StencilCache stencils_;
};

// Combines the whole of source into destination with its top-left corner at destination pixel
// (x, y); what falls outside the destination is clipped. Only colour channels are combined: the
// result always has 0xFF in its top byte. Source and destination may be the same surface.
void blit(DrawingSurface& destination, const DrawingSurface& source, int x, int y, RasterOp op);

} // namespace tidepool
