#include "ui/files/save_dialog_rules.h"

#include "tests/support/test_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tidepool {
namespace {

using namespace std::string_literals;

struct NamingCase {
    bool codecPresent;
    int filterIndex;
    std::string typed;
    std::string saved;
};

void PrintTo(const NamingCase& c, std::ostream* os) {
    *os << '"' << c.typed << "\" as type " << c.filterIndex;
}

class NameWithTypeExtensionCase : public ::testing::TestWithParam<NamingCase> {};

TEST_P(NameWithTypeExtensionCase, AppendsTheChosenTypesExtensionUnlessExactlyPresent) {
    const NamingCase& c = GetParam();
    EXPECT_EQ(NameWithTypeExtension(SaveFileTypeList(c.codecPresent), c.filterIndex, c.typed),
              c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameWithTypeExtensionCase,
    ::testing::Values(NamingCase{false, 1, "a.jpg", "a.jpg.bmp"},
                      NamingCase{true, 2, "photo", "photo.jpg"},
                      NamingCase{true, 2, "photo.jpg", "photo.jpg"},
                      NamingCase{true, 2, "photo.JPG", "photo.JPG.jpg"},
                      NamingCase{true, 1, "photo.png", "photo.png.bmp"},
                      NamingCase{true, 3, "anim.gif", "anim.gif"},
                      NamingCase{true, 4, "/home/a.b/photo", "/home/a.b/photo.png"},
                      NamingCase{true, 4, "trailing.", "trailing..png"},
                      NamingCase{true, 0, "Save", "Save.bmp"},
                      NamingCase{true, 3, "x.gif\0rest of the buffer"s, "x.gif"},
                      NamingCase{false, 4, "Save", "Save.bmp"},
                      // The last dot decides, wherever a folder or the name has others.
                      NamingCase{true, 1, "my.wallpaper.bmp", "my.wallpaper.bmp"},
                      NamingCase{true, 4, "/home/a.b/photo.png", "/home/a.b/photo.png"}),
    [](const auto& info) {
        const NamingCase& c = info.param;
        return test_names::NameOf(c.typed.c_str(), "AsType", c.filterIndex,
                                  c.codecPresent ? "" : "WithoutPlugIn");
    });

} // namespace
} // namespace tidepool
