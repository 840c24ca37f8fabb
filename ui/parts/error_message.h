#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace tidepool {

// The program's one kind of message: modal to owner, the stop icon, one OK button and the title
// "Tidepool".
void ShowErrorMessage(QWidget* owner, std::string_view text);

// One of the program's fixed messages, given as written (in Japanese), in the application's
// language.
std::string WindowMessage(std::string_view message);

} // namespace tidepool
