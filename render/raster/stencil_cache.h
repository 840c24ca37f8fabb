#pragma once

#include "render/raster/stencil.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tidepool::raster {

// Everything a small figure's shape depends on at a given scale, packed into whole words and
// compared bit for bit. Unused words stay 0.
struct FigureKey {
    std::array<std::uint64_t, 4> words{};

    // Word by word: the defaulted comparison ends in a memcmp call on this hot path.
    bool operator==(const FigureKey& o) const {
        return words[0] == o.words[0] && words[1] == o.words[1] && words[2] == o.words[2] &&
               words[3] == o.words[3];
    }
};

class StencilCache {
  public:
    StencilCache() = default;
    StencilCache(const StencilCache&) {}
    // The owner's scale may change with the assignment, so nothing held is kept.
    StencilCache& operator=(const StencilCache&) {
        clear();
        return *this;
    }
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

    // Forgets every stencil, keeping the memory for the next ones.
    void clear() {
        for (Entry& e : entries_)
            e.valid = false;
    }

  private:
    static constexpr std::size_t kSlots = 256;

    struct Entry {
        FigureKey key;
        bool valid = false;
        Stencil stencil;
    };

    Entry& slotFor(const FigureKey& key) {
        if (entries_.empty())
            entries_.resize(kSlots);
        return entries_[slotIndex(key)];
    }

    static std::size_t slotIndex(const FigureKey& key) {
        // Keys often differ only in exponent bits, so the high half is folded down before
        // picking a slot. The products are independent, so they run side by side.
        constexpr std::uint64_t kOdd[] = {0x9E3779B97F4A7C15u, 0xC2B2AE3D27D4EB4Fu,
                                          0x165667B19E3779F9u, 0xD6E8FEB86659FD93u};
        std::uint64_t h = 0;
        for (std::size_t i = 0; i < key.words.size(); ++i)
            h += key.words[i] * kOdd[i];
        h ^= h >> 29;
        h *= 0x9E3779B97F4A7C15u;
        return (h >> 32) % kSlots;
    }

    std::vector<Entry> entries_;
};

} // namespace tidepool::raster
