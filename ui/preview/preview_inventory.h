#pragma once

namespace tidepool {

// The preview window's controls by role, as the objectNames by which tests and screen readers
// find them.
inline constexpr char kPreviewViewportName[] = "Picture1";
inline constexpr char kHorizontalBarName[] = "HScroll1";
inline constexpr char kVerticalBarName[] = "VScroll1";

} // namespace tidepool
