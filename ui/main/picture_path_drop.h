#pragma once

#include <QObject>

class QLineEdit;

namespace tidepool {

// Handles every drag and drop on the picture path field itself: a drop carrying files puts
// the first one's full path into the field; anything else is refused, so dropped text never ends
// up in the field. Nothing else changes: no option, no focus, no drawing.
class PicturePathDrop : public QObject {
  public:
    // Watches field, which owns this handler.
    explicit PicturePathDrop(QLineEdit* field);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* field_;
};

} // namespace tidepool
