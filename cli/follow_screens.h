#pragma once

#include "cli/desktop_connection.h"
#include "cli/render_request.h"
#include "imagefile/codec_library.h"

#include <ostream>

namespace tidepool::cli {

// --follow-screens: stays running on the connection's display until SIGTERM, SIGINT or SIGHUP
// ends it or the display goes away. Takes the display's one follower lock first (a second
// follower says so on out and returns 0), then puts the saved wallpaper on the desktop now and
// again each time a burst of screen changes settles into a new layout, reading the saved
// wallpaper afresh each time; after a failed application it tries again a few times, a little
// later each time. Between changes it only waits. options gives the time limit of each
// application. Returns the exit status.
int FollowScreens(DesktopConnection& desktop, CodecLibrary& codec, const RenderRequest& options,
                  std::ostream& out, std::ostream& err);

} // namespace tidepool::cli
