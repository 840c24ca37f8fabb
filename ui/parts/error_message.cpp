#include "ui/parts/error_message.h"

#include "render/draw_job.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include <array>

namespace tidepool {

namespace {

// The drawing job's messages, for the translations to find: the engine knows nothing of them.
constexpr std::array<std::string_view, 2> kDrawJobMessages{
    QT_TRANSLATE_NOOP("tidepool::Messages", "指定されたピクチャファイルは存在しません。"),
    QT_TRANSLATE_NOOP("tidepool::Messages", "ピクチャファイルの読み込みに失敗しました。"),
};
static_assert(kDrawJobMessages[0] == kPictureMissingMessage &&
              kDrawJobMessages[1] == kPictureUnreadableMessage);

} // namespace

void ShowErrorMessage(QWidget* owner, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tidepool"), QString::fromUtf8(text),
                    QMessageBox::Ok, owner);
    box.exec();
}

std::string WindowMessage(std::string_view message) {
    return QCoreApplication::translate("tidepool::Messages", std::string(message).c_str())
        .toStdString();
}

} // namespace tidepool
