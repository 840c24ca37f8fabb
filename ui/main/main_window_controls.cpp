#include "ui/main/main_window_controls.h"

#include "ui/main/control_inventory.h"
#include "ui/main/option_group.h"
#include "ui/parts/accessible_names.h"
#include "ui/parts/colour_swatch.h"
#include "ui/parts/compact_style.h"
#include "ui/parts/window_fonts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <cstdlib>

namespace tidepool {

namespace {

QWidget* CreateControl(const ControlPlace& place, QWidget* parent) {
    // A caption without a translation, such as a size preset's, stays as written.
    const QString caption =
        QCoreApplication::translate("tidepool::MainWindow", place.caption.data());
    switch (place.kind) {
    case ControlKind::Panel:
        return new QFrame(parent);
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::Check:
        return new QCheckBox(caption, parent);
    case ControlKind::Label:
        return new QLabel(caption, parent);
    case ControlKind::Text: {
        auto* field = new QLineEdit(parent);
        if (place.maxLength > 0)
            field->setMaxLength(place.maxLength);
        return field;
    }
    case ControlKind::List:
        return new QListWidget(parent);
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        // Enter on a focused button presses it, as the desktop's buttons do.
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::Swatch:
        return new ColourSwatch(parent);
    }
    return nullptr;
}

// The control of that name and type; a missing one is a fault in the inventory, found by every
// start of the program and every test.
template <typename Widget> Widget* Find(QWidget* client, std::string_view name) {
    auto* widget = client->findChild<Widget*>(QString::fromUtf8(name));
    if (widget == nullptr) {
        std::fprintf(stderr, "tidepool: the main window has no control %.*s\n",
                     static_cast<int>(name.size()), name.data());
        std::abort();
    }
    return widget;
}

template <typename Widget, std::size_t N>
std::array<Widget*, N> FindArray(QWidget* client, std::string_view name) {
    std::array<Widget*, N> widgets{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::string indexed = std::string(name) + "(" + std::to_string(i) + ")";
        widgets[i] = Find<Widget>(client, indexed);
    }
    return widgets;
}

QFont FontOf(const ControlPlace& place) {
    if (place.name.starts_with("Option1("))
        return FixedPitchFont();
    // The numeric fields are the ones with a length limit.
    if (place.kind == ControlKind::Text && place.maxLength > 0)
        return NumberFieldFont();
    return ControlFont();
}

void PlaceControls(QWidget* client) {
    for (const ControlPlace& place : kMainWindowControls) {
        QWidget* parent = place.container.empty() ? client : Find<QWidget>(client, place.container);
        QWidget* control = CreateControl(place, parent);
        control->setObjectName(QString::fromUtf8(place.name));
        control->setGeometry(place.x, place.y, place.width, place.height);
        control->setFont(FontOf(place));
    }
    UseCompactStyle(client);
}

template <std::size_t N>
void GroupOptions(const std::array<QRadioButton*, N>& options, QObject* owner) {
    MakeOptionGroup({options.begin(), options.end()}, owner);
}

void SetTabOrder(QWidget* client) {
    for (std::size_t i = 1; i < kMainWindowTabOrder.size(); ++i)
        QWidget::setTabOrder(Find<QWidget>(client, kMainWindowTabOrder[i - 1]),
                             Find<QWidget>(client, kMainWindowTabOrder[i]));
}

} // namespace

MainWindowControls BuildMainWindowControls(QWidget* client) {
    PlaceControls(client);
    SetTabOrder(client);
    NameMainWindowControls(client);

    MainWindowControls c;
    c.sizePresets = FindArray<QRadioButton, 5>(client, "Option1");
    c.width = Find<QLineEdit>(client, "Text1(0)");
    c.height = Find<QLineEdit>(client, "Text1(1)");
    c.magnification = Find<QLineEdit>(client, "Text2(0)");
    c.spacing = Find<QLineEdit>(client, "Text2(1)");
    c.layout = FindArray<QRadioButton, 2>(client, "Option3");
    c.background = FindArray<QRadioButton, 2>(client, "Option2");
    c.picturePath = Find<QLineEdit>(client, "Text3");
    c.browse = Find<QPushButton>(client, "Command2");
    c.mode = FindArray<QRadioButton, 2>(client, "Option4");
    c.crabShadow = Find<QCheckBox>(client, "Check3(0)");
    c.shadowWidth = Find<QLineEdit>(client, "Text4");
    c.bubbles = FindArray<QRadioButton, 2>(client, "Option5");
    c.bubbleSpacing = Find<QLineEdit>(client, "Text5(0)");
    c.bubbleShadow = Find<QCheckBox>(client, "Check3(1)");
    c.bubbleCrabColour = Find<QCheckBox>(client, "Check3(2)");
    c.bubbleShiftX = Find<QLineEdit>(client, "Text5(1)");
    c.bubbleShiftY = Find<QLineEdit>(client, "Text5(2)");
    c.eyeShapes = FindArray<QCheckBox, 5>(client, "Check2");
    c.eyeShift = Find<QLineEdit>(client, "Text6");
    c.colourRoles = FindArray<QRadioButton, 3>(client, "Option6");
    c.swatches = FindArray<ColourSwatch, 3>(client, "Picture7");
    c.fixedColours = Find<QCheckBox>(client, "Check1");
    c.themes = Find<QListWidget>(client, "List1");
    c.draw = Find<QPushButton>(client, "Command1");

    GroupOptions(c.sizePresets, client);
    GroupOptions(c.layout, client);
    GroupOptions(c.background, client);
    GroupOptions(c.mode, client);
    GroupOptions(c.bubbles, client);
    GroupOptions(c.colourRoles, client);
    return c;
}

} // namespace tidepool
