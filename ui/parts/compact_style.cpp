#include "ui/parts/compact_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>

namespace tidepool {

namespace {

bool IsIndicatorSize(QStyle::PixelMetric metric) {
    return metric == QStyle::PM_IndicatorWidth || metric == QStyle::PM_IndicatorHeight ||
           metric == QStyle::PM_ExclusiveIndicatorWidth ||
           metric == QStyle::PM_ExclusiveIndicatorHeight;
}

} // namespace

CompactControlStyle::CompactControlStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

int CompactControlStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                     const QWidget* widget) const {
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    // A square indicator, as tall as its control at most.
    if (IsIndicatorSize(metric) && widget != nullptr)
        return std::min(size, widget->height());
    return size;
}

void CompactControlStyle::drawControl(ControlElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_PushButtonLabel || button == nullptr || !button->icon.isNull()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, button, widget))
        flags |= Qt::TextHideMnemonic;
    const QRect oneLine = button->fontMetrics.boundingRect(button->rect, flags, button->text);
    if (oneLine.width() <= button->rect.width()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    proxy()->drawItemText(painter, button->rect, flags | Qt::TextWordWrap, button->palette,
                          button->state & State_Enabled, button->text, QPalette::ButtonText);
}

void UseCompactStyle(QWidget* container) {
    // Made after the controls, so that it is the last of the container's children to go.
    auto* style = new CompactControlStyle();
    style->setParent(container);
    for (QWidget* control : container->findChildren<QWidget*>())
        control->setStyle(style);
}

} // namespace tidepool
