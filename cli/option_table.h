#pragma once

#include "cli/render_request.h"

#include <string>
#include <string_view>
#include <vector>

namespace tidepool::cli {

// One option that sets part of a render request from its value.
struct RequestOption {
    std::string_view names;     // as CLI11 takes them, e.g. "-o,--output"
    std::string_view valueName; // shown in the help, e.g. "on|off"
    std::string_view help;
    std::string_view expected; // what a good value looks like, for the error message
    // Applies one value; false when the value is not one the option takes.
    bool (*apply)(RenderRequest& request, const std::string& value);
    // Applied before all others, so that explicit sizes win whatever their order.
    bool appliedFirst = false;
};

// The options that set the request, in the order the help lists them.
const std::vector<RequestOption>& RequestOptions();

} // namespace tidepool::cli
