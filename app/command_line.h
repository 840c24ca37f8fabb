#pragma once

#include <optional>
#include <string>

namespace tidepool {

// What `tidepool` prints and exits with instead of opening its windows.
struct EarlyExit {
    int status;
    std::string text; // for stdout
};

// Answers --help and --version before any window system is touched, so that they work without
// a display. Every other argument, such as the toolkit's own -platform NAME, is left for
// QApplication, which takes what it knows and ignores the rest, as it always has.
std::optional<EarlyExit> AnswerBeforeWindows(int argc, char** argv);

} // namespace tidepool
