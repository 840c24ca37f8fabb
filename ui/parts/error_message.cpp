#include "ui/parts/error_message.h"

#include <QMessageBox>
#include <QString>

namespace tidepool {

void ShowErrorMessage(QWidget* owner, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tidepool"), QString::fromUtf8(text),
                    QMessageBox::Ok, owner);
    box.exec();
}

} // namespace tidepool
