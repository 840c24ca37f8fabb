#include "ui/parts/caption_room.h"

#include "ui/parts/room_for_text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtMath>

#include <algorithm>

namespace tidepool {

namespace {

// QLineEdit's maximum length when none is set.
constexpr int kNoLengthLimit = 32767;

// The text as drawn: "&&" shows as "&", and a single "&" only underlines the next letter.
QString Shown(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

// Where a glyph reaches past its advance, as the bar of a "t" may by a pixel, that pixel counts.
int TextWidth(const QWidget& control, const QString& text) {
    const QFontMetrics metrics = control.fontMetrics();
    const QRect ink = metrics.boundingRect(Shown(text));
    return std::max(metrics.horizontalAdvance(Shown(text)), ink.x() + ink.width());
}

// Where an option's text starts: after its indicator and the space beside it.
int OptionTextStart(const QAbstractButton& option, QStyle::SubElement contents) {
    QStyleOptionButton style;
    style.initFrom(&option);
    style.text = option.text();
    return option.style()->subElementRect(contents, &style, &option).x();
}

// How much of the control's width shows: a panel cuts off what stands over its edge.
int VisibleWidth(const QWidget& control) {
    int visible = control.width();
    int x = control.x();
    for (const QWidget* panel = control.parentWidget(); panel != nullptr && !panel->isWindow();
         panel = panel->parentWidget()) {
        visible = std::min(visible, panel->width() - x);
        x += panel->x();
    }
    return visible;
}

// The compact style draws a caption too wide for one line wrapped at its words.
int ButtonShortfall(const QPushButton& button) {
    const int oneLine = TextWidth(button, button.text());
    if (oneLine <= button.width())
        return 0;
    const QRect wrapped = button.fontMetrics().boundingRect(
        button.rect(), Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap, button.text());
    if (wrapped.width() <= button.width() && wrapped.height() <= button.height())
        return 0;
    return oneLine - button.width();
}

// A list is as wide as its widest item, beside the scroll bar it shows when its items run past its
// foot.
int ListShortfall(const QListWidget& list) {
    int room = list.contentsRect().width();
    if (list.count() * list.sizeHintForRow(0) > list.contentsRect().height())
        room -= list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return list.sizeHintForColumn(0) - room;
}

// How many pixels a label's line reaches above and below it, where the font's lines are taller
// than the label (a line is centred on its label). The places were drawn with IPA Gothic, whose
// line is a pixel taller than a label 12 pixels high; so much is left as it is.
int Overhang(const QLabel& label) {
    const qreal over = (label.fontMetrics().height() - label.height()) / 2.0;
    return over > 1 ? qCeil(over) : 0;
}

bool IsPanel(const QWidget& widget) {
    return widget.metaObject() == &QFrame::staticMetaObject;
}

// The controls of container and of its panels, each panel before what it holds.
std::vector<QWidget*> Controls(QWidget& container) {
    std::vector<QWidget*> controls;
    for (QWidget* child : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        controls.push_back(child);
        if (!IsPanel(*child))
            continue;
        for (QWidget* inside : Controls(*child))
            controls.push_back(inside);
    }
    return controls;
}

} // namespace

int CaptionShortfall(const QWidget& control) {
    int textEnd = 0;
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        textEnd = label->contentsRect().x() + TextWidth(*label, label->text());
    else if (const auto* option = qobject_cast<const QRadioButton*>(&control))
        textEnd = OptionTextStart(*option, QStyle::SE_RadioButtonContents) +
                  TextWidth(*option, option->text());
    else if (const auto* box = qobject_cast<const QCheckBox*>(&control))
        textEnd = OptionTextStart(*box, QStyle::SE_CheckBoxContents) + TextWidth(*box, box->text());
    else if (const auto* button = qobject_cast<const QPushButton*>(&control))
        return std::max(ButtonShortfall(*button), 0);
    else if (const auto* list = qobject_cast<const QListWidget*>(&control))
        return std::max(ListShortfall(*list), 0);
    return std::max(textEnd - VisibleWidth(control), 0);
}

void MakeRoomForCaptions(QWidget& container, int minimumWidth) {
    const std::vector<QWidget*> controls = Controls(container);
    std::vector<TextBox> boxes;
    for (QWidget* control : controls) {
        const auto panel = std::find(controls.begin(), controls.end(), control->parentWidget());
        const QRect place = control->geometry();
        // A field without a length limit, such as a path's, may widen with its row.
        const auto* field = qobject_cast<const QLineEdit*>(control);
        const bool stretches = field != nullptr && field->maxLength() == kNoLengthLimit;
        boxes.push_back({panel == controls.end() ? -1 : static_cast<int>(panel - controls.begin()),
                         place.x(), place.y(), place.width(), place.height(),
                         CaptionShortfall(*control), stretches});
    }
    const RoomForText room = MakeRoomForText(boxes, container.width(), minimumWidth);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TextBox& box = room.boxes[i];
        controls[i]->setGeometry(box.x, box.y, box.width, box.height);
        // A label grows as much up as down, so its text stays where it was and only shows whole.
        if (auto* label = qobject_cast<QLabel*>(controls[i])) {
            const int over = Overhang(*label);
            label->setGeometry(label->geometry().adjusted(0, -over, 0, over));
        }
    }
    container.setFixedWidth(room.windowWidth);
}

} // namespace tidepool
