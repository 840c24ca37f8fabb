#pragma once

// A pass of sites drawn from stamps. Two columns belong to one class when every unit coordinate
// their figures use lands the same number of whole pixels from the column's base pixel; the same
// for rows. All sites of one column class, row class and variant then leave the same pixels,
// shifted, so one stamp per such combination, recorded by drawing one of its sites on a scratch
// surface, draws them all. Everything that could make a stamp differ from the figures (a figure
// outside its scratch, a coordinate outside the ones sorted by) is checked before anything is
// drawn on the target, which is left untouched when stamps cannot be used.

#include "render/raster/drawing_surface.h"
#include "render/tiling/figure_stamp.h"
#include "render/tiling/tiling_plan.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace tidepool {

// One pass over the sites of a lattice.
struct SitePass {
    const SiteAxes& axes;
    bool columnsOuter; // drawn column by column (else row by row)
    int variants;      // the k-th site drawn holds variant k mod variants
    // Draws the site where column meets row, holding variant, as the plain pass would.
    std::function<void(DrawingSurface&, const AxisOrigin& column, const AxisOrigin& row,
                       int variant)>
        draw;
};

enum class StampUse {
    WhenTheyPay,     // only when each stamp is drawn at least twice on average
    WhereverTheyFit, // whenever the figures fit a scratch surface
};

class StampLattice {
  public:
    // Sorts the pass's columns and rows into classes by how their figures land on grid's pixels
    // and finds the combinations that occur. False when stamps cannot be used, or do not pay.
    bool layOut(const SitePass& pass, const DrawingSurface& grid, StampUse use);

    // Records one stamp per combination by drawing the pass's site on a scratch surface standing
    // for grid. False when a figure does not fit its scratch surface.
    bool record(const SitePass& pass, const DrawingSurface& grid);
    // The same for several passes over the same sites in other colours, each stamp naming tuples
    // of pixels, one from each pass. False also when the passes draw different pixels, or tuples
    // fills up.
    bool recordTuples(const std::vector<SitePass>& passes, const DrawingSurface& grid,
                      PixelTuples& tuples);

    // Draws every site in the pass's order into a row-major grid of width x height values, the
    // pixel grid the lattice was laid out on. Gives the attributes the last site drawn leaves.
    template <class Value>
    std::optional<StampAttributes> draw(Value* values, int width, int height) const;

  private:
    struct Axis {
        std::vector<int> base;    // pixel of each index's base coordinate
        std::vector<int> classOf; // each index's class; -1 where nothing is drawn
        std::vector<int> member;  // an index of each class
        int low = 0;              // pixels from the base holding every figure of the axis
        int high = -1;
    };

    bool classify(const std::vector<AxisOrigin>& origins, int lo, int hi, int reach, bool across,
                  const DrawingSurface& grid, Axis& axis);
    void markCombinations(const SitePass& pass);
    std::size_t combination(int columnClass, int rowClass, std::size_t k) const;
    void placeScratch(DrawingSurface& scratch, const DrawingSurface& grid, int column,
                      int row) const;
    template <class Record> bool recordEach(Record record);

    Axis columns_;
    Axis rows_;
    bool columnsOuter_ = false;
    int variants_ = 1;
    std::size_t sitesDrawn_ = 0;
    std::vector<int> stampOf_; // by combination: index into stamps_, -1 where none occurs
    std::vector<Stamp> stamps_;
};

template <class Value>
std::optional<StampAttributes> StampLattice::draw(Value* values, int width, int height) const {
    const Stamp* last = nullptr;
    auto site = [&](std::size_t c, std::size_t r, std::size_t k) {
        const int columnClass = columns_.classOf[c], rowClass = rows_.classOf[r];
        if (columnClass < 0 || rowClass < 0)
            return;
        const Stamp& stamp = stamps_[stampOf_[combination(columnClass, rowClass, k)]];
        DrawStamp(stamp, values, width, height, columns_.base[c], rows_.base[r]);
        if (stamp.after)
            last = &stamp;
    };
    const std::size_t columns = columns_.classOf.size(), rows = rows_.classOf.size();
    if (columnsOuter_) {
        for (std::size_t c = 0; c < columns; ++c)
            for (std::size_t r = 0; r < rows; ++r)
                site(c, r, c * rows + r);
    } else {
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t c = 0; c < columns; ++c)
                site(c, r, r * columns + c);
    }
    if (!last)
        return std::nullopt;
    return last->after;
}

} // namespace tidepool
