#pragma once

#include "render/settings/main_settings.h"

#include <string>
#include <vector>

namespace tidepool::cli {

// One line for each text field the drawing job rewrote, naming the option that set it, e.g.
// `--magnification "0.05" corrected to "0.1"`, in the order the options are listed.
std::vector<std::string> DescribeCorrections(const MainSettings& typed,
                                             const MainSettings& corrected);

} // namespace tidepool::cli
