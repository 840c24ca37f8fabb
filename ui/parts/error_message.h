#pragma once

#include <string_view>

class QWidget;

namespace tidepool {

// The program's one kind of message: modal to owner, the stop icon, one OK button and the title
// "Tidepool".
void ShowErrorMessage(QWidget* owner, std::string_view text);

} // namespace tidepool
