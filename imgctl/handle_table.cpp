#include "imgctl/handle_table.h"

#include <limits>
#include <utility>

namespace tidepool::imgctl {

namespace {

constexpr std::int32_t kLargestHandle = std::numeric_limits<std::int32_t>::max();

std::int32_t validStart(std::int32_t handle) {
    return handle >= 1 ? handle : 1;
}

} // namespace

HandleTable::HandleTable(std::int32_t firstHandle) : next_(validStart(firstHandle)) {}

std::int32_t HandleTable::add(std::shared_ptr<const Dib> dib) {
    if (!dib)
        return 0;
    std::lock_guard lock(mutex_);
    const std::int32_t handle = takeFreeHandle();
    if (handle != 0)
        dibs_.emplace(handle, std::move(dib));
    return handle;
}

std::shared_ptr<const Dib> HandleTable::find(std::int32_t handle) const {
    std::lock_guard lock(mutex_);
    const auto found = dibs_.find(handle);
    return found == dibs_.end() ? nullptr : found->second;
}

bool HandleTable::remove(std::int32_t handle) {
    std::shared_ptr<const Dib> removed;
    {
        std::lock_guard lock(mutex_);
        const auto found = dibs_.find(handle);
        if (found == dibs_.end())
            return false;
        removed = std::move(found->second);
        dibs_.erase(found);
    }
    // The pixels are freed here, outside the lock, so a large DIB does not hold up other callers.
    return true;
}

// Called with the lock held. Every handle in use is passed at most once, so this ends.
std::int32_t HandleTable::takeFreeHandle() {
    if (dibs_.size() >= static_cast<std::size_t>(kLargestHandle))
        return 0;
    for (;;) {
        const std::int32_t candidate = next_;
        next_ = candidate == kLargestHandle ? 1 : candidate + 1;
        if (!dibs_.contains(candidate))
            return candidate;
    }
}

HandleTable& dibHandles() {
    static HandleTable table;
    return table;
}

} // namespace tidepool::imgctl
