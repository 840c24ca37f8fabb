#pragma once

#include <optional>
#include <string>

namespace tidepool {

// What `tidepool` prints and exits with instead of opening its windows.
struct EarlyExit {
    int status;
    std::string text;  // for stdout
    std::string error; // for stderr
};

// Answers --help and --version, and refuses an option that neither tidepool nor the toolkit
// knows with one line and status 2, before any window system is touched, so that all of them
// work without a display. The toolkit's own options, such as -platform NAME, and any other
// argument are left for QApplication.
std::optional<EarlyExit> AnswerBeforeWindows(int argc, char** argv);

} // namespace tidepool
