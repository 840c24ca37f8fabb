#pragma once

namespace tidepool::cli {

inline constexpr int kExitSuccess = 0;
// The command line is wrong or the file could not be written; nothing was written.
inline constexpr int kExitFailure = 2;
// The wallpaper was written, but without its background picture, which was missing or
// could not be read.
inline constexpr int kExitPictureProblem = 3;

} // namespace tidepool::cli
