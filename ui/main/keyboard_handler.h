#pragma once

#include "ui/main/character_filter.h"

#include <QHash>
#include <QObject>

#include <functional>

namespace tidepool {

// What a key does in a control of the main window before the control sees it.
enum class KeyCommand {
    Draw,       // Enter runs the drawing job
    ApplyTheme, // Space or Enter applies the selected theme, which draws
};

struct KeyRule {
    KeyCommand command = KeyCommand::Draw;
    CharacterFilter filter = CharacterFilter::None;
};

// The main window's character handlers. Watches the controls given to it: runs the command for
// their key, then lets the key go on to the control as usual; drops the typed characters (and
// those an input method commits) that a field's filter refuses.
class KeyboardHandler : public QObject {
    Q_OBJECT

  public:
    KeyboardHandler(std::function<void()> draw, std::function<void()> applyTheme, QObject* parent);

    void watch(QObject* control, KeyRule rule);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyPressed(QObject* control, const KeyRule& rule, QEvent* event);
    void inputMethodCommitted(const KeyRule& rule, QEvent* event);

    std::function<void()> draw_;
    std::function<void()> applyTheme_;
    QHash<QObject*, KeyRule> rules_;
};

} // namespace tidepool
