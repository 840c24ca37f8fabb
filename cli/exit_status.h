#pragma once

namespace tidepool::cli {

inline constexpr int kExitSuccess = 0;
// The wallpaper could not be written: the folder refused it, the format needs the codec plug-in
// and it is missing, or the writer failed. Nothing was written; an earlier file is untouched.
inline constexpr int kExitWriteFailed = 1;
// The command line is wrong; nothing was drawn or written.
inline constexpr int kExitUsage = 2;
// The wallpaper was written, but without its background picture, which was missing or
// could not be read.
inline constexpr int kExitPictureProblem = 3;

} // namespace tidepool::cli
