#pragma once

#include <QProxyStyle>

class QWidget;

namespace tidepool {

// The style of the windows' controls, whose places and sizes are fixed in pixels and small: check
// boxes 12 pixels high, a drawing button 41 pixels wide, fields three characters wide. It is
// Fusion, whatever the desktop's own style, so that its frames and margins are the ones these
// sizes were checked with, and it keeps every part inside its control: an indicator is never
// taller than its control, and a push button's caption too wide for one line wraps onto two
// instead of running under the button's edges.
class CompactControlStyle : public QProxyStyle {
    Q_OBJECT

  public:
    CompactControlStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Gives every control inside container the compact style, which container owns.
void UseCompactStyle(QWidget* container);

} // namespace tidepool
