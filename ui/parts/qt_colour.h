#pragma once

#include "render/settings/colour.h"

#include <QColor>

namespace tidepool {

// Plain colours (0x00BBGGRR) to and from Qt's colours.
inline QColor ToQColor(Colour c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>(c >> 8 & 0xFFu),
                  static_cast<int>(c >> 16 & 0xFFu));
}

inline Colour FromQColor(const QColor& c) {
    return rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
               static_cast<unsigned>(c.blue()));
}

} // namespace tidepool
