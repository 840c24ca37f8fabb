#include "ui/main/numeric_field_input.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

namespace tidepool {

namespace {

// Strips what the rule refuses from any text the field would take, and keeps the cursor on the
// same character. Nothing is ever refused as a whole: the field's own length limit still applies.
class CharacterRuleValidator : public QValidator {
  public:
    CharacterRuleValidator(CharacterFilter filter, QObject* parent)
        : QValidator(parent), filter_(filter) {}

    State validate(QString& input, int& position) const override {
        const QString before = input.left(position);
        const QString keptBefore = KeptText(filter_, before);
        const QString keptAfter = KeptText(filter_, input.mid(position));
        position = static_cast<int>(keptBefore.size());
        input = keptBefore + keptAfter;
        return Acceptable;
    }

  private:
    CharacterFilter filter_;
};

bool IsPasteKey(const QKeyEvent& key) {
    // Shift+Insert is among the paste keys on X11, which QKeySequence::Paste matches.
    return key.matches(QKeySequence::Paste);
}

// The caption of the paste command in Qt's own words, which Qt's translations translate; named
// here rather than written into the call, so that it is not taken for one of Tidepool's texts.
constexpr char kQtPasteCaption[] = "&Paste";

// The paste command of the menu QLineEdit makes, found by its caption as Qt itself words it
// (translated), whatever shortcut text follows the tab.
QAction* PasteAction(const QMenu& menu) {
    const QString caption = QLineEdit::tr(kQtPasteCaption);
    for (QAction* action : menu.actions())
        if (action->text().section(u'\t', 0, 0) == caption)
            return action;
    return nullptr;
}

} // namespace

QString KeptText(CharacterFilter filter, const QString& text) {
    const std::u32string kept = KeptCharacters(filter, text.toStdU32String());
    return QString::fromStdU32String(kept);
}

NumericFieldInput::NumericFieldInput(QLineEdit* field, CharacterFilter filter)
    : QObject(field), field_(field), filter_(filter) {
    field->setValidator(new CharacterRuleValidator(filter, this));
    field->installEventFilter(this);
}

bool NumericFieldInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched != field_ || field_->isReadOnly())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!IsPasteKey(*static_cast<QKeyEvent*>(event)))
            return false;
        insertKept(QGuiApplication::clipboard()->text());
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        // Text dragged within the field is its own and already kept; the field moves it itself.
        if (!drop->mimeData()->hasText() || drop->source() == field_)
            return false;
        field_->setCursorPosition(field_->cursorPositionAt(drop->position().toPoint()));
        insertKept(drop->mimeData()->text());
        drop->acceptProposedAction();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The X11 selection, pasted with the middle button where the platform has one.
        auto* mouse = static_cast<QMouseEvent*>(event);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (mouse->button() != Qt::MiddleButton || !clipboard->supportsSelection())
            return false;
        field_->deselect();
        insertKept(clipboard->text(QClipboard::Selection));
        return true;
    }
    case QEvent::ContextMenu:
        return showContextMenu(event);
    default:
        return false;
    }
}

void NumericFieldInput::insertKept(const QString& text) {
    const QString kept = KeptText(filter_, text);
    // An empty insert would still delete the selection, as pasting nothing does.
    if (!kept.isEmpty() || field_->hasSelectedText())
        field_->insert(kept);
}

// The field's own menu, with its paste command going through the rule first.
bool NumericFieldInput::showContextMenu(QEvent* event) {
    QMenu* menu = field_->createStandardContextMenu();
    QAction* paste = PasteAction(*menu);
    if (paste == nullptr) {
        delete menu;
        return false; // the field shows its menu itself, and the validator still filters
    }
    disconnect(paste, &QAction::triggered, field_, nullptr);
    connect(paste, &QAction::triggered, this,
            [this] { insertKept(QGuiApplication::clipboard()->text()); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

} // namespace tidepool
