#pragma once

namespace tidepool {

// Window positions and sizes are worked out in twips (1/1440 inch), as the desktop measured
// windows at 96 dots per inch; Qt's device-independent pixels are those pixels.
inline constexpr int kTwipsPerPixel = 15;

} // namespace tidepool
