#include "ui/files/file_type_list.h"
#include "ui/files/open_dialog.h"
#include "ui/files/picture_drop.h"

#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tidepool {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(SaveFileTypeList, WithoutThePlugInOffersBitmapsOnly) {
    EXPECT_EQ(SaveFileTypeList(false), "ビットマップファイル (*.bmp)\0*.bmp"s);
}

TEST(SaveFileTypeList, WithThePlugInOffersFourTypesAndNoTrailingNul) {
    const std::string list = SaveFileTypeList(true);
    EXPECT_EQ(list, "ビットマップファイル (*.bmp)\0*.bmp\0JPEG (*.JPG)\0*.jpg\0GIF (*.GIF)\0*.gif\0"
                    "PNG (*.PNG)\0*.png"s);
    EXPECT_THAT(FileTypeListItems(list),
                ElementsAre("ビットマップファイル (*.bmp)", "*.bmp", "JPEG (*.JPG)", "*.jpg",
                            "GIF (*.GIF)", "*.gif", "PNG (*.PNG)", "*.png"));
}

TEST(TrimAtNull, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNull("a.bmp\0\0junk"s), "a.bmp");
    EXPECT_EQ(TrimAtNull("no nul"), "no nul");
    EXPECT_EQ(TrimAtNull("\0"s), "");
}

TEST(OpenFileTypeList, WithThePlugInOffersSevenTypesWithPng) {
    EXPECT_THAT(
        FileTypeListItems(OpenFileTypeList(true)),
        ElementsAre("すべてのピクチャファイル", "*.bmp;*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;*.PNG;*.ICO",
                    "ビットマップファイル (*.bmp)", "*.bmp", "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)",
                    "*.JPG;*.JPEG;*.JPE;*.JFIF", "GIF (*.GIF)", "*.GIF", "PNG (*.PNG)", "*.PNG",
                    "ICO (*.ICO)", "*.ICO", "すべてのファイル (*.*)", "*.*"));
}

TEST(OpenFileTypeList, WithoutThePlugInOffersSixTypesNoneOfThemPng) {
    const std::string list = OpenFileTypeList(false);
    EXPECT_THAT(
        FileTypeListItems(list),
        ElementsAre("すべてのピクチャファイル", "*.bmp;*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;*.ICO",
                    "ビットマップファイル (*.bmp)", "*.bmp", "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)",
                    "*.JPG;*.JPEG;*.JPE;*.JFIF", "GIF (*.GIF)", "*.GIF", "ICO (*.ICO)", "*.ICO",
                    "すべてのファイル (*.*)", "*.*"));
    EXPECT_THAT(list, Not(HasSubstr("PNG")));
}

// Qt filters by the bracketed patterns at the end of each filter; the description before them
// is what the dialog shows.
TEST(OpenDialogNameFilters, EndEachDescriptionWithItsPatternsAsQtReadsThem) {
    EXPECT_EQ(
        OpenDialogNameFilters(OpenFileTypeList(false)),
        QStringList({"すべてのピクチャファイル (*.bmp *.JPG *.JPEG *.JPE *.JFIF *.GIF *.ICO)",
                     "ビットマップファイル (*.bmp) (*.bmp)",
                     "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF) (*.JPG *.JPEG *.JPE *.JFIF)",
                     "GIF (*.GIF) (*.GIF)", "ICO (*.ICO) (*.ICO)", "すべてのファイル (*.*) (*)"}));
}

struct DropCase {
    const char* name;
    std::vector<QUrl> urls;
    const char* text;
    QString path;
};

class DroppedPicturePathTest : public ::testing::TestWithParam<DropCase> {};

TEST_P(DroppedPicturePathTest, IsTheFirstFilesFullPath) {
    QMimeData data;
    data.setUrls(QList<QUrl>(GetParam().urls.begin(), GetParam().urls.end()));
    if (GetParam().text != nullptr)
        data.setText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(DroppedPicturePath(data), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DroppedPicturePathTest,
    ::testing::Values(
        DropCase{
            "OneFile", {QUrl::fromLocalFile("/pictures/sea.png")}, nullptr, "/pictures/sea.png"},
        DropCase{"ThreeFiles",
                 {QUrl::fromLocalFile("/p/b.jpg"), QUrl::fromLocalFile("/p/a.bmp"),
                  QUrl::fromLocalFile("/p/c.gif")},
                 nullptr,
                 "/p/b.jpg"},
        DropCase{"WebAddressBeforeTheFile",
                 {QUrl("https://example.com/x.png"), QUrl::fromLocalFile("/p/sea.png")},
                 nullptr,
                 "/p/sea.png"},
        DropCase{
            "FolderPartsResolved", {QUrl::fromLocalFile("/p/q/../sea.png")}, nullptr, "/p/sea.png"},
        DropCase{"PlainText", {}, "/p/sea.png", ""},
        DropCase{"WebAddressOnly", {QUrl("https://example.com/x.png")}, nullptr, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureDropAction, NeverTakesTheFileAway) {
    EXPECT_EQ(PictureDropAction(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(PictureDropAction(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(PictureDropAction(Qt::MoveAction), Qt::IgnoreAction);
}

} // namespace
} // namespace tidepool
