#include "render/tiling/figure_stamp.h"

#include <algorithm>

namespace tidepool {

namespace {

void AddRun(Stamp& stamp, int dy, int x0, int x1, std::uint32_t value) {
    stamp.runs.push_back({dy * stamp.stride + x0, static_cast<std::int16_t>(dy),
                          static_cast<std::int16_t>(x0), static_cast<std::int16_t>(x1), value});
    if (stamp.left > stamp.right) {
        stamp.left = x0, stamp.right = x1, stamp.top = stamp.bottom = dy;
        return;
    }
    stamp.left = std::min(stamp.left, x0);
    stamp.right = std::max(stamp.right, x1);
    stamp.bottom = dy; // rows are added top first
}

// Cuts every row of a scratch surface's values into runs of one value, leaving out those the
// figures left untouched.
template <class Value>
void CollectRuns(Stamp& stamp, const Value* values, Value untouched, int width, int height,
                 int baseX, int baseY) {
    for (int y = 0; y < height; ++y) {
        const Value* row = values + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            const Value value = row[x];
            if (value == untouched) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < width && row[end] == value)
                ++end;
            AddRun(stamp, y - baseY, x - baseX, end - 1 - baseX, static_cast<std::uint32_t>(value));
            x = end;
        }
    }
}

std::optional<StampAttributes> AttributesLeft(const DrawingSurface& s) {
    if (s.extent().empty())
        return std::nullopt;
    return StampAttributes{s.DrawWidth, s.FillStyle, s.ForeColor, s.FillColor};
}

} // namespace

Stamp StampFromScratch(const DrawingSurface& scratch, int baseX, int baseY, int stride) {
    Stamp stamp;
    stamp.stride = stride;
    CollectRuns(stamp, scratch.pixels(), kUntouched, scratch.width(), scratch.height(), baseX,
                baseY);
    stamp.after = AttributesLeft(scratch);
    return stamp;
}

std::optional<std::uint32_t> PixelTuples::indexOf(const Pixel* values) {
    for (std::size_t i = 0; i < size(); ++i)
        if (std::equal(values, values + arity_, pixels_.begin() + i * arity_))
            return static_cast<std::uint32_t>(i);
    if (size() == kMaxTuples)
        return std::nullopt;
    pixels_.insert(pixels_.end(), values, values + arity_);
    return static_cast<std::uint32_t>(size() - 1);
}

std::optional<Stamp> TupleStampFromScratches(const std::vector<DrawingSurface>& scratches,
                                             int baseX, int baseY, int stride,
                                             PixelTuples& tuples) {
    const DrawingSurface& first = scratches.front();
    const std::size_t count = static_cast<std::size_t>(first.width()) * first.height();
    const std::size_t arity = scratches.size();
    // Each pixel is named once, so that a full table or a pixel drawn on some scratches only is
    // found before any run is cut. Neighbours mostly hold the same tuple, so the last one named
    // is tried first.
    constexpr std::int16_t kNone = -1;
    std::vector<std::int16_t> index(count, kNone);
    std::vector<Pixel> tuple(arity), last(arity);
    std::int16_t lastIndex = kNone;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t drawn = 0;
        bool asLast = lastIndex != kNone;
        for (std::size_t k = 0; k < arity; ++k) {
            tuple[k] = scratches[k].pixels()[i];
            drawn += tuple[k] != kUntouched;
            asLast = asLast && tuple[k] == last[k];
        }
        if (drawn == 0)
            continue;
        if (drawn != arity)
            return std::nullopt;
        if (!asLast) {
            const std::optional<std::uint32_t> named = tuples.indexOf(tuple.data());
            if (!named)
                return std::nullopt;
            last = tuple;
            lastIndex = static_cast<std::int16_t>(*named);
        }
        index[i] = lastIndex;
    }
    Stamp stamp;
    stamp.stride = stride;
    CollectRuns(stamp, index.data(), kNone, first.width(), first.height(), baseX, baseY);
    stamp.after = AttributesLeft(first);
    return stamp;
}

} // namespace tidepool
