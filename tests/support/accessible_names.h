#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace tidepool::testing {

// The name a screen reader reads for a widget, through Qt's accessibility interface (which the
// desktop's accessibility bus serves).
inline QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// The widgets of window, itself included, that can take the keyboard focus but have no name a
// screen reader could read; a widget that hands its focus on is left to the one it hands it to.
inline QStringList FocusableWithoutName(QWidget* window) {
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    QStringList unnamed;
    for (QWidget* widget : widgets) {
        const bool focusable = widget->focusPolicy() != Qt::NoFocus && widget->isEnabled() &&
                               widget->isVisibleTo(window) && widget->focusProxy() == nullptr;
        if (focusable && AccessibleName(widget).trimmed().isEmpty())
            unnamed << widget->objectName() + " (" + widget->metaObject()->className() + ")";
    }
    return unnamed;
}

} // namespace tidepool::testing
