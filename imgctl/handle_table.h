#pragma once

#include "imgctl/dib.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace tidepool::imgctl {

// The DIBs the caller holds, by handle. Handles are positive and handed out in increasing order;
// after the largest the count starts again at 1, passing over handles still in use, so a handle
// that was just deleted is not given out again soon. Safe to use from several threads.
class HandleTable {
  public:
    explicit HandleTable(std::int32_t firstHandle = 1);
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Takes the DIB and returns its new handle, or 0 when every handle is in use.
    std::int32_t add(std::shared_ptr<const Dib> dib);

    // The DIB, or null for a handle that is not in the table. The DIB stays alive while the
    // result is held, even if the handle is removed meanwhile.
    std::shared_ptr<const Dib> find(std::int32_t handle) const;

    // False when the handle is not in the table.
    bool remove(std::int32_t handle);

  private:
    std::int32_t takeFreeHandle();

    mutable std::mutex mutex_;
    std::unordered_map<std::int32_t, std::shared_ptr<const Dib>> dibs_;
    std::int32_t next_;
};

// The one table behind the exported functions.
HandleTable& dibHandles();

} // namespace tidepool::imgctl
