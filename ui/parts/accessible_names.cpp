#include "ui/parts/accessible_names.h"

#include <QCoreApplication>
#include <QWidget>

namespace tidepool {

void GiveAccessibleName(QWidget& control, const char* name) {
    control.setAccessibleName(QCoreApplication::translate("tidepool::AccessibleNames", name));
}

} // namespace tidepool
