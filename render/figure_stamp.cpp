#include "render/figure_stamp.h"

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

// Cuts every row into runs of one value. valueAt(i) gives the value of pixel i of the scratch, or
// nothing for a pixel the figures left alone.
template <class ValueAt>
void CollectRuns(Stamp& stamp, int width, int height, int baseX, int baseY, ValueAt valueAt) {
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            const std::optional<std::uint32_t> value = valueAt(row + x);
            if (!value) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < width && valueAt(row + end) == value)
                ++end;
            AddRun(stamp, y - baseY, x - baseX, end - 1 - baseX, *value);
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
    const Pixel* pixels = scratch.pixels();
    CollectRuns(stamp, scratch.width(), scratch.height(), baseX, baseY,
                [pixels](std::size_t i) -> std::optional<std::uint32_t> {
                    if (pixels[i] == kUntouched)
                        return std::nullopt;
                    return pixels[i];
                });
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
    // Each pixel is named once, so that a full table or a pixel drawn on some scratches only is
    // found before any run is cut.
    std::vector<std::int16_t> index(count, -1);
    std::vector<Pixel> tuple(scratches.size());
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k < scratches.size(); ++k)
            tuple[k] = scratches[k].pixels()[i];
        const bool drawn = tuple[0] != kUntouched;
        if (std::any_of(tuple.begin(), tuple.end(),
                        [drawn](Pixel p) { return (p != kUntouched) != drawn; }))
            return std::nullopt;
        if (!drawn)
            continue;
        const std::optional<std::uint32_t> named = tuples.indexOf(tuple.data());
        if (!named)
            return std::nullopt;
        index[i] = static_cast<std::int16_t>(*named);
    }
    Stamp stamp;
    stamp.stride = stride;
    CollectRuns(stamp, first.width(), first.height(), baseX, baseY,
                [&index](std::size_t i) -> std::optional<std::uint32_t> {
                    if (index[i] < 0)
                        return std::nullopt;
                    return static_cast<std::uint32_t>(index[i]);
                });
    stamp.after = AttributesLeft(first);
    return stamp;
}

} // namespace tidepool
