#include "ui/main/colour_swatch.h"

#include "ui/main/desktop_palette.h"
#include "ui/main/qt_colour.h"

#include <QMouseEvent>
#include <QPainter>

namespace tidepool {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::TabFocus);
}

void ColourSwatch::setColour(Colour colour) {
    colour_ = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ToQColor(DesktopPalette(palette()).resolve(colour_)));
    }
    QFrame::paintEvent(event);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace tidepool
