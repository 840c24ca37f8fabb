#include "ui/main/keyboard_handler.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tidepool {

namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The characters of text the filter keeps, full-width forms folded to ASCII.
QString Filtered(CharacterFilter filter, const QString& text) {
    QString kept;
    for (char32_t code : text.toUcs4()) {
        code = FoldFullWidth(code);
        if (CharacterAllowed(filter, code))
            kept.append(QString::fromUcs4(&code, 1));
    }
    return kept;
}

} // namespace

KeyboardHandler::KeyboardHandler(std::function<void()> draw, std::function<void()> applyTheme,
                                 QObject* parent)
    : QObject(parent), draw_(std::move(draw)), applyTheme_(std::move(applyTheme)) {}

void KeyboardHandler::watch(QObject* control, KeyRule rule) {
    rules_.insert(control, rule);
    control->installEventFilter(this);
}

bool KeyboardHandler::eventFilter(QObject* watched, QEvent* event) {
    const auto rule = rules_.constFind(watched);
    if (rule == rules_.constEnd())
        return false;
    if (event->type() == QEvent::KeyPress)
        return keyPressed(watched, *rule, event);
    if (event->type() == QEvent::InputMethod)
        inputMethodCommitted(*rule, event);
    return false;
}

bool KeyboardHandler::keyPressed(QObject* control, const KeyRule& rule, QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool themeKey = IsEnter(key->key()) || key->key() == Qt::Key_Space;
    if (rule.command == KeyCommand::ApplyTheme && themeKey)
        applyTheme_();
    else if (rule.command == KeyCommand::Draw && IsEnter(key->key()))
        draw_();

    if (rule.filter == CharacterFilter::None || key->text().isEmpty())
        return false;
    const QString kept = Filtered(rule.filter, key->text());
    if (kept == key->text())
        return false;
    // A full-width character folded to one the field takes is typed in its ASCII form.
    if (auto* field = qobject_cast<QLineEdit*>(control); field && !kept.isEmpty())
        field->insert(kept);
    return true;
}

void KeyboardHandler::inputMethodCommitted(const KeyRule& rule, QEvent* event) {
    auto* input = static_cast<QInputMethodEvent*>(event);
    if (rule.filter == CharacterFilter::None || input->commitString().isEmpty())
        return;
    input->setCommitString(Filtered(rule.filter, input->commitString()), input->replacementStart(),
                           input->replacementLength());
}

} // namespace tidepool
