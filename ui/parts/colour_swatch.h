#pragma once

#include "render/settings/colour.h"

#include <QFrame>

namespace tidepool {

// A colour swatch: a box showing one colour, which the drawing reads back. A system colour is kept
// as such and shown as the desktop palette has it now, so it follows a change of palette. A click,
// or Space or Enter while it has the focus (which it shows), asks for a new colour.
class ColourSwatch : public QFrame {
    Q_OBJECT

  public:
    explicit ColourSwatch(QWidget* parent);

    Colour colour() const { return colour_; }
    void setColour(Colour colour);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Colour colour_ = 0;
};

} // namespace tidepool
