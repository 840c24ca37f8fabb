// The icons as the build draws them for the icon theme.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

namespace tidepool {
namespace {

QImage Icon(int size) {
    return QImage(QStringLiteral(TIDEPOOL_ICON_DIR "/%1x%1/apps/tidepool.png").arg(size));
}

class SmallIcon : public ::testing::TestWithParam<int> {};

// A reduction of the large drawing shows as half-transparent fringes; an icon drawn for its size
// has whole pixels only, and enough of them to make out a crab.
TEST_P(SmallIcon, IsDrawnOnWholePixels) {
    const int size = GetParam();
    const QImage icon = Icon(size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(size, size));
    int opaque = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int alpha = qAlpha(icon.pixel(x, y));
            EXPECT_TRUE(alpha == 0 || alpha == 255) << "(" << x << ", " << y << "): " << alpha;
            opaque += alpha == 255;
        }
    EXPECT_GT(opaque, size * size / 3);
}

INSTANTIATE_TEST_SUITE_P(Icons, SmallIcon, ::testing::Values(16, 24));

} // namespace
} // namespace tidepool
