#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/environment.h"
#include "wallpaper/core/wallpaper_report.h"

#include <filesystem>

namespace tidepool {

// Asks the XDG desktop portal's wallpaper interface on the session bus the environment names to
// show the picture as the desktop's background, without a preview, and waits for its answer until
// the deadline; once the portal has taken the request, for answerLimit more, since it may be asking
// the user, and no one can withdraw its question (the deadline's cutoff still ends the wait).
// Applied only when the portal answers that it set it. A request still open then is closed.
WayResult ApplyThroughPortal(const std::filesystem::path& file, const Environment& environment,
                             const Deadline& deadline, std::chrono::milliseconds answerLimit);

} // namespace tidepool
