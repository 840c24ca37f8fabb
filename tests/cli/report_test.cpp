#include "cli/corrections.h"
#include "cli/theme_listing.h"

#include "render/draw_job.h"
#include "render/settings/render_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace tidepool::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The start-up settings with some fields typed over.
MainSettings
Typed(std::initializer_list<std::pair<std::string MainSettings::*, std::string>> texts) {
    MainSettings settings;
    for (const auto& [field, text] : texts)
        settings.*field = text;
    return settings;
}

std::vector<std::string> CorrectionsOf(const MainSettings& typed) {
    MainSettings corrected = typed;
    CorrectFields(corrected);
    return DescribeCorrections(typed, corrected);
}

TEST(Corrections, TheDefaultsNeedNone) {
    EXPECT_THAT(CorrectionsOf(MainSettings{}), IsEmpty());
}

TEST(Corrections, EachRewrittenFieldGetsOneLineInOptionOrder) {
    const MainSettings typed = Typed({{&MainSettings::eyeShift, "4"},
                                      {&MainSettings::magnification, "0.05"},
                                      {&MainSettings::width, "10"}});
    EXPECT_THAT(CorrectionsOf(typed), ElementsAre(R"(--width "10" corrected to "16")",
                                                  R"(--magnification "0.05" corrected to "0.1")",
                                                  R"(--eye-shift "4" corrected to "1")"));
}

TEST(Corrections, ANormalisedTextCountsAsACorrection) {
    const MainSettings typed = Typed({{&MainSettings::height, "2400.0"}});
    EXPECT_THAT(CorrectionsOf(typed), ElementsAre(R"(--height "2400.0" corrected to "2400")"));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(ThemeListing, ShowsTheTwentyListedThemesAsRedGreenBlue) {
    const std::vector<std::string> lines = Lines(FormatThemeList(RenderSettings{}.themes));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], " 1  #FF0000    #C0C0C0    #FFFFFF    normal         ノーマル");
    EXPECT_EQ(lines[1], " 2  #008080    #00C0C0    #00FFFF    water          ウォーター");
    EXPECT_EQ(lines[14], "15  #588078    #90B0A8    #C8D8D8    modern-purple  モダンパープル");
    EXPECT_EQ(lines[19], "20  system 13  system 15  system 20  system         システム");
}

} // namespace
} // namespace tidepool::cli
