#pragma once

#include "ui/main/character_filter.h"

#include <QObject>

class QLineEdit;

namespace tidepool {

// Holds a numeric field of the main window to its character rule for text that arrives whole:
// pasted (Ctrl+V, Shift+Insert, the context menu, the X11 selection) or dropped. Such text is
// filtered before it goes in, so the field's length limit counts only the characters kept, and
// "1,024" pasted into the width reads 1024 as if typed. A validator on the field holds any other
// way in to the same rule. Typed keys stay with the keyboard handler.
class NumericFieldInput : public QObject {
  public:
    // Watches field, which owns this object; filter is the field's rule, not None.
    NumericFieldInput(QLineEdit* field, CharacterFilter filter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Inserts the kept characters of text at the cursor, as one step Ctrl+Z undoes.
    void insertKept(const QString& text);
    bool showContextMenu(QEvent* event);

    QLineEdit* field_;
    CharacterFilter filter_;
};

// The kept characters of text, as KeptCharacters gives them.
QString KeptText(CharacterFilter filter, const QString& text);

} // namespace tidepool
