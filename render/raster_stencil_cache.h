#pragma once

#include "render/raster_stencil.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tidepool::raster {

// Everything a small figure's shape depends on, compared bit for bit. Unused values stay 0.
struct FigureKey {
    std::array<double, 8> values{};

    bool operator==(const FigureKey&) const = default;
};

// The stencils of recently drawn small figures. A crab or bubble field repeats a handful of
// shapes thousands of times, so a small direct-mapped table catches nearly all of them. It is a
// cache, not part of a surface's value: copies start empty.
class StencilCache {
  public:
    StencilCache() = default;
    StencilCache(const StencilCache&) {}
    StencilCache& operator=(const StencilCache&) { return *this; }
    StencilCache(StencilCache&&) noexcept = default;
    StencilCache& operator=(StencilCache&&) noexcept = default;
    ~StencilCache() = default;

    // The stencil for key, built by build(Stencil&) unless it is held already. The reference is
    // valid until the next call.
    template <class Build> const Stencil& find(const FigureKey& key, Build&& build) {
        Entry& e = slotFor(key);
        if (!e.valid || !(e.key == key)) {
            e.key = key;
            build(e.stencil);
            e.valid = true;
        }
        return e.stencil;
    }

  private:
    static constexpr std::size_t kSlots = 512;

    struct Entry {
        FigureKey key;
        bool valid = false;
        Stencil stencil;
    };

    Entry& slotFor(const FigureKey& key);

    std::vector<Entry> entries_;
};

} // namespace tidepool::raster
