#include "render/tiling/stamp_lattice.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

namespace tidepool {

namespace {

// A scratch surface as large as this holds a crab at magnification 8 with room to spare; larger
// figures are few on any picture and gain nothing from stamps.
constexpr long kMaxScratchPixels = 1L << 20;
constexpr std::size_t kMaxCombinations = std::size_t{1} << 22;
constexpr std::size_t kMaxStamps = std::size_t{1} << 16;
// A figure's pixels may reach one pixel further from its coordinates' pixels in one placement
// than in another, as its centre rounds one way or the other; one more for safety.
constexpr int kSlack = 2;
// Pixels beyond this are off any picture; it keeps every sum below within int.
constexpr double kFarthestPixel = 1 << 28;

std::optional<int> WholePixel(double v) {
    if (!(std::fabs(v) < kFarthestPixel))
        return std::nullopt;
    return static_cast<int>(v);
}

// The unit coordinates the pass's figures use, relative to the site's origins, and how many
// pixels their geometry reaches beyond the pixels of the outermost ones.
struct FigureSpan {
    int left, right, top, bottom;
    int reachX, reachY;
};

std::optional<FigureSpan> ProbeFigures(const SitePass& pass, const DrawingSurface& grid) {
    // Without pixels it draws nothing, but still records where every figure reaches.
    DrawingSurface probe;
    probe.showPartOf(grid, 0, 0);
    probe.DrawWidth = 1;
    probe.FillStyle = 0;
    const AxisOrigin at{0, 0};
    for (int v = 0; v < pass.variants; ++v)
        pass.draw(probe, at, at, v);
    const DrawnExtent& e = probe.extent();
    if (e.empty())
        return std::nullopt;
    const double reachX =
        std::max(probe.pixelX(e.unitLeft) - e.pixelLeft, e.pixelRight - probe.pixelX(e.unitRight));
    const double reachY =
        std::max(probe.pixelY(e.unitTop) - e.pixelTop, e.pixelBottom - probe.pixelY(e.unitBottom));
    const auto rx = WholePixel(std::ceil(reachX)), ry = WholePixel(std::ceil(reachY));
    if (!rx || !ry)
        return std::nullopt;
    return FigureSpan{e.unitLeft, e.unitRight, e.unitTop, e.unitBottom, *rx + kSlack, *ry + kSlack};
}

// Whether every pixel drawn on scratch since its extent was reset lies on it.
bool HeldWhole(const DrawingSurface& scratch) {
    const DrawnExtent& e = scratch.extent();
    return e.empty() ||
           (std::ceil(e.pixelLeft) >= 0 && std::floor(e.pixelRight) < scratch.width() &&
            std::ceil(e.pixelTop) >= 0 && std::floor(e.pixelBottom) < scratch.height());
}

} // namespace

bool StampLattice::classify(const std::vector<AxisOrigin>& origins, int lo, int hi, int reach,
                            bool across, const DrawingSurface& grid, Axis& axis) {
    auto pixelOf = [&](int unit) {
        return WholePixel(across ? grid.pixelX(unit) : grid.pixelY(unit));
    };
    axis = Axis{};
    axis.low = INT_MAX;
    axis.high = INT_MIN;
    std::map<std::vector<int>, int> classes;
    std::vector<int> signature;
    for (std::size_t k = 0; k < origins.size(); ++k) {
        const AxisOrigin& o = origins[k];
        if (!o.figure && !o.shadow) {
            axis.base.push_back(0);
            axis.classOf.push_back(-1);
            continue;
        }
        const std::optional<int> base = pixelOf((o.figure ? *o.figure : *o.shadow) + lo);
        if (!base)
            return false;
        signature.assign({o.figure ? 1 : 0, o.shadow ? 1 : 0});
        for (const auto& start : {o.figure, o.shadow}) {
            if (!start)
                continue;
            for (int a = lo; a <= hi; ++a) {
                const std::optional<int> pixel = pixelOf(*start + a);
                if (!pixel)
                    return false;
                signature.push_back(*pixel - *base);
            }
        }
        const auto [found, added] =
            classes.try_emplace(signature, static_cast<int>(classes.size()));
        if (added) {
            axis.member.push_back(static_cast<int>(k));
            const auto [least, most] = std::minmax_element(signature.begin() + 2, signature.end());
            axis.low = std::min(axis.low, *least - reach);
            axis.high = std::max(axis.high, *most + reach);
        }
        axis.base.push_back(*base);
        axis.classOf.push_back(found->second);
    }
    return true;
}

std::size_t StampLattice::combination(int columnClass, int rowClass, std::size_t k) const {
    const std::size_t rowClasses = rows_.member.size();
    return (static_cast<std::size_t>(columnClass) * rowClasses +
            static_cast<std::size_t>(rowClass)) *
               static_cast<std::size_t>(variants_) +
           k % static_cast<std::size_t>(variants_);
}

void StampLattice::markCombinations(const SitePass& pass) {
    auto drawn = [](const Axis& axis) {
        return static_cast<std::size_t>(
            std::count_if(axis.classOf.begin(), axis.classOf.end(), [](int c) { return c >= 0; }));
    };
    sitesDrawn_ = drawn(columns_) * drawn(rows_);
    if (variants_ == 1) {
        // Every column meets every row, so every pairing of their classes occurs.
        std::fill(stampOf_.begin(), stampOf_.end(), 0);
        return;
    }
    const std::size_t columns = columns_.classOf.size(), rows = rows_.classOf.size();
    for (std::size_t c = 0; c < columns; ++c) {
        for (std::size_t r = 0; r < rows; ++r) {
            const int columnClass = columns_.classOf[c], rowClass = rows_.classOf[r];
            if (columnClass < 0 || rowClass < 0)
                continue;
            const std::size_t k = pass.columnsOuter ? c * rows + r : r * columns + c;
            stampOf_[combination(columnClass, rowClass, k)] = 0;
        }
    }
}

bool StampLattice::layOut(const SitePass& pass, const DrawingSurface& grid, StampUse use) {
    columnsOuter_ = pass.columnsOuter;
    variants_ = std::max(pass.variants, 1);
    const std::optional<FigureSpan> span = ProbeFigures(pass, grid);
    if (!span ||
        !classify(pass.axes.columns, span->left, span->right, span->reachX, true, grid, columns_))
        return false;
    if (!classify(pass.axes.rows, span->top, span->bottom, span->reachY, false, grid, rows_))
        return false;
    if (columns_.member.empty() || rows_.member.empty())
        return false;
    const long width = static_cast<long>(columns_.high) - columns_.low + 1;
    const long height = static_cast<long>(rows_.high) - rows_.low + 1;
    if (width * height > kMaxScratchPixels)
        return false;
    const std::size_t combinations =
        columns_.member.size() * rows_.member.size() * static_cast<std::size_t>(variants_);
    if (combinations > kMaxCombinations)
        return false;

    stampOf_.assign(combinations, -1);
    markCombinations(pass);
    std::size_t used = 0;
    for (int& index : stampOf_)
        if (index == 0)
            index = static_cast<int>(used++);
    if (used > kMaxStamps)
        return false;
    return use == StampUse::WhereverTheyFit || used * 2 <= sitesDrawn_;
}

void StampLattice::placeScratch(DrawingSurface& scratch, const DrawingSurface& grid, int column,
                                int row) const {
    scratch.showPartOf(grid, columns_.base[static_cast<std::size_t>(column)] + columns_.low,
                       rows_.base[static_cast<std::size_t>(row)] + rows_.low);
    std::fill(scratch.pixels(), scratch.pixels() + scratch.width() * scratch.height(), kUntouched);
    scratch.resetExtent();
    // What TileCrabs sets before its passes; the sites set their own colours.
    scratch.DrawWidth = 1;
    scratch.FillStyle = 0;
}

template <class Record> bool StampLattice::recordEach(Record record) {
    stamps_.clear();
    const std::size_t rowClasses = rows_.member.size();
    const auto variants = static_cast<std::size_t>(variants_);
    for (std::size_t i = 0; i < stampOf_.size(); ++i) {
        if (stampOf_[i] < 0)
            continue;
        const std::size_t variant = i % variants;
        const std::size_t rowClass = i / variants % rowClasses;
        const std::size_t columnClass = i / variants / rowClasses;
        std::optional<Stamp> stamp =
            record(columns_.member[columnClass], rows_.member[rowClass], static_cast<int>(variant));
        if (!stamp)
            return false;
        stamps_.push_back(std::move(*stamp));
    }
    return true;
}

bool StampLattice::record(const SitePass& pass, const DrawingSurface& grid) {
    DrawingSurface scratch(columns_.high - columns_.low + 1, rows_.high - rows_.low + 1);
    return recordEach([&](int c, int r, int variant) -> std::optional<Stamp> {
        placeScratch(scratch, grid, c, r);
        pass.draw(scratch, pass.axes.columns[static_cast<std::size_t>(c)],
                  pass.axes.rows[static_cast<std::size_t>(r)], variant);
        if (!HeldWhole(scratch))
            return std::nullopt;
        return StampFromScratch(scratch, -columns_.low, -rows_.low, grid.width());
    });
}

bool StampLattice::recordTuples(const std::vector<SitePass>& passes, const DrawingSurface& grid,
                                PixelTuples& tuples) {
    const int width = columns_.high - columns_.low + 1, height = rows_.high - rows_.low + 1;
    std::vector<DrawingSurface> scratches(passes.size(), DrawingSurface(width, height));
    return recordEach([&](int c, int r, int variant) -> std::optional<Stamp> {
        const auto column = static_cast<std::size_t>(c), row = static_cast<std::size_t>(r);
        for (std::size_t k = 0; k < passes.size(); ++k) {
            placeScratch(scratches[k], grid, c, r);
            passes[k].draw(scratches[k], passes[k].axes.columns[column], passes[k].axes.rows[row],
                           variant);
            if (!HeldWhole(scratches[k]))
                return std::nullopt;
        }
        return TupleStampFromScratches(scratches, -columns_.low, -rows_.low, grid.width(), tuples);
    });
}

} // namespace tidepool
