#pragma once

#include <QString>

#include <string_view>

namespace tidepool {

// A theme's name as the theme list shows it: its own name, translated into the application's
// language where a translation is installed.
QString ThemeCaption(std::string_view name);

} // namespace tidepool
