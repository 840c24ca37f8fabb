#include "ui/parts/colour_swatch.h"

#include "ui/parts/desktop_palette.h"
#include "ui/parts/qt_colour.h"

#include <QKeyEvent>
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

namespace {

// A dotted focus mark that shows on the swatch's own colour: dark on light colours, light on
// dark ones. The style's focus frame is drawn in the highlight colour, which is what the
// foreground swatch shows at start-up.
void DrawFocusMark(QPainter& painter, const QRect& inside, const QColor& colour) {
    const bool light = colour.lightness() >= 128;
    painter.setPen(QPen(light ? Qt::black : Qt::white, 1, Qt::DotLine));
    painter.drawRect(inside.adjusted(1, 1, -2, -2));
}

} // namespace

void ColourSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QColor shown = ToQColor(DesktopPalette(palette()).resolve(colour_));
        painter.fillRect(contentsRect(), shown);
        if (hasFocus())
            DrawFocusMark(painter, contentsRect(), shown);
    }
    QFrame::paintEvent(event);
}

void ColourSwatch::keyPressEvent(QKeyEvent* event) {
    // The keyboard opens the picker as a click does, like a button.
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace tidepool
