#pragma once

#include "cli/render_request.h"

#include <string>
#include <vector>

namespace tidepool::cli {

enum class CommandKind {
    Render,     // draw request and write it to request.output
    Restore,    // draw the saved wallpaper and put it on the desktop (request.keepWallpaper too)
    Follow,     // stay running and put the saved wallpaper back whenever the screens change
    Forget,     // keep the wallpaper no longer: the autostart entry and the followers go
    ListThemes, // print the theme list
    ShowText,   // print text (the help or the version) and stop
    Fail,       // the command line is wrong; text says how, in one line
};

struct Command {
    CommandKind kind = CommandKind::Fail;
    std::string text;
    RenderRequest request;
};

// Reads the arguments that follow the program name. Options are applied in the order given, so
// a later one overrides an earlier one (a --theme after --foreground replaces that swatch, one
// before it is overridden by it); only --preset is applied before the rest, so that --width and
// --height win over it wherever they stand.
Command ParseCommandLine(const std::vector<std::string>& args);

} // namespace tidepool::cli
