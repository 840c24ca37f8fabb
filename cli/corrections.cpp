#include "cli/corrections.h"

#include <array>
#include <string_view>

namespace tidepool::cli {
namespace {

struct CorrectedField {
    std::string_view option;
    std::string MainSettings::*field;
};

// Every field the job may rewrite; the bubble shift is never touched.
constexpr std::array<CorrectedField, 7> kCorrectedFields{{
    {"--width", &MainSettings::width},
    {"--height", &MainSettings::height},
    {"--magnification", &MainSettings::magnification},
    {"--spacing", &MainSettings::spacing},
    {"--shadow-width", &MainSettings::shadowWidth},
    {"--bubble-spacing", &MainSettings::bubbleSpacing},
    {"--eye-shift", &MainSettings::eyeShift},
}};

} // namespace

std::vector<std::string> DescribeCorrections(const MainSettings& typed,
                                             const MainSettings& corrected) {
    std::vector<std::string> lines;
    for (const CorrectedField& f : kCorrectedFields) {
        const std::string& before = typed.*f.field;
        const std::string& after = corrected.*f.field;
        if (before != after)
            lines.push_back(std::string(f.option) + " \"" + before + "\" corrected to \"" + after +
                            "\"");
    }
    return lines;
}

} // namespace tidepool::cli
