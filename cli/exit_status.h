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
// The wallpaper was drawn (and written, when a file was asked for), but it could not be put on
// the desktop: no way was found, or every way failed.
inline constexpr int kExitNotApplied = 4;
// The wallpaper was put on the desktop, but it could not be kept there: the autostart entry could
// not be written or no follower could be started.
inline constexpr int kExitNotKept = 5;

} // namespace tidepool::cli
