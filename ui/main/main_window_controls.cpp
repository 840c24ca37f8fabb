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
#include <QPalette>
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
    case ControlKind::List: {
        auto* list = new QListWidget(parent);
        // Fusion paints the selection alike with and without the focus, and draws its focus frame
        // in the selection's own colour: without the focus the selection greys, so that Tab
        // shows when the list has it.
        QPalette palette = list->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Inactive, QPalette::Midlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Inactive, QPalette::Text));
        list->setPalette(palette);
        return list;
    }
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

using ControlsByRole = std::array<QWidget*, kMainControlCount>;

// The control of that role as the widget its kind makes; a mismatch is a fault in the inventory,
// found by every start of the program and every test.
template <typename Widget> Widget* As(const ControlsByRole& controls, MainControl role) {
    auto* widget = qobject_cast<Widget*>(controls[static_cast<std::size_t>(role)]);
    if (widget == nullptr) {
        const std::string_view name = PlaceOf(role).objectName;
        std::fprintf(stderr, "tidepool: the main window's control %.*s is not what it should be\n",
                     static_cast<int>(name.size()), name.data());
        std::abort();
    }
    return widget;
}

template <typename Widget, std::size_t N>
std::array<Widget*, N> AsEach(const ControlsByRole& controls,
                              const std::array<MainControl, N>& roles) {
    std::array<Widget*, N> widgets{};
    for (std::size_t i = 0; i < N; ++i)
        widgets[i] = As<Widget>(controls, roles[i]);
    return widgets;
}

bool IsSizePreset(MainControl role) {
    using enum MainControl;
    return role == SizeQvga || role == SizeVga || role == SizeXga || role == SizeWxga ||
           role == SizeUxga;
}

QFont FontOf(const ControlPlace& place) {
    if (IsSizePreset(place.role))
        return FixedPitchFont();
    // The numeric fields are the ones with a length limit.
    if (place.kind == ControlKind::Text && place.maxLength > 0)
        return NumberFieldFont();
    return ControlFont();
}

// Each panel is made before what it holds, so a control's panel is always there to hold it.
ControlsByRole PlaceControls(QWidget* client) {
    ControlsByRole controls{};
    for (const ControlPlace& place : kMainWindowControls) {
        QWidget* parent = place.panel ? controls[static_cast<std::size_t>(*place.panel)] : client;
        QWidget* control = CreateControl(place, parent);
        control->setObjectName(QString::fromUtf8(place.objectName));
        control->setGeometry(place.x, place.y, place.width, place.height);
        control->setFont(FontOf(place));
        controls[static_cast<std::size_t>(place.role)] = control;
    }
    UseCompactStyle(client);
    return controls;
}

template <std::size_t N>
void GroupOptions(const std::array<QRadioButton*, N>& options, QObject* owner) {
    MakeOptionGroup({options.begin(), options.end()}, owner);
}

void SetTabOrder(const ControlsByRole& controls) {
    for (std::size_t i = 1; i < kMainWindowTabOrder.size(); ++i)
        QWidget::setTabOrder(controls[static_cast<std::size_t>(kMainWindowTabOrder[i - 1])],
                             controls[static_cast<std::size_t>(kMainWindowTabOrder[i])]);
}

void NameForScreenReaders(const ControlsByRole& controls) {
    for (const Buddy& buddy : kMainWindowBuddies)
        As<QLabel>(controls, buddy.label)
            ->setBuddy(controls[static_cast<std::size_t>(buddy.control)]);
    for (const OwnName& named : kMainWindowOwnNames)
        GiveAccessibleName(*controls[static_cast<std::size_t>(named.control)], named.name.data());
}

} // namespace

MainWindowControls BuildMainWindowControls(QWidget* client) {
    const ControlsByRole controls = PlaceControls(client);
    SetTabOrder(controls);
    NameForScreenReaders(controls);

    using enum MainControl;
    MainWindowControls c;
    c.sizePresets =
        AsEach<QRadioButton>(controls, std::array{SizeQvga, SizeVga, SizeXga, SizeWxga, SizeUxga});
    c.width = As<QLineEdit>(controls, Width);
    c.height = As<QLineEdit>(controls, Height);
    c.magnification = As<QLineEdit>(controls, Magnification);
    c.spacing = As<QLineEdit>(controls, Spacing);
    c.layout = AsEach<QRadioButton>(controls, std::array{LayoutStandard, LayoutSlide});
    c.background = AsEach<QRadioButton>(controls, std::array{NoPicture, UsePicture});
    c.picturePath = As<QLineEdit>(controls, PicturePath);
    c.browse = As<QPushButton>(controls, Browse);
    c.mode = AsEach<QRadioButton>(controls, std::array{NormalMode, FrameMode});
    c.crabShadow = As<QCheckBox>(controls, CrabShadow);
    c.shadowWidth = As<QLineEdit>(controls, ShadowWidth);
    c.bubbles = AsEach<QRadioButton>(controls, std::array{NoBubbles, WithBubbles});
    c.bubbleSpacing = As<QLineEdit>(controls, BubbleSpacing);
    c.bubbleShadow = As<QCheckBox>(controls, BubbleShadow);
    c.bubbleCrabColour = As<QCheckBox>(controls, BubbleCrabColour);
    c.bubbleShiftX = As<QLineEdit>(controls, BubbleShiftX);
    c.bubbleShiftY = As<QLineEdit>(controls, BubbleShiftY);
    c.eyeShapes =
        AsEach<QCheckBox>(controls, std::array{EyeRound, EyeLine, EyeCross, EyeCap, EyeCup});
    c.eyeShift = As<QLineEdit>(controls, EyeShift);
    c.colourRoles = AsEach<QRadioButton>(
        controls, std::array{ForegroundOption, MiddleOption, BackgroundOption});
    c.swatches = AsEach<ColourSwatch>(controls,
                                      std::array{ForegroundSwatch, MiddleSwatch, BackgroundSwatch});
    c.fixedColours = As<QCheckBox>(controls, FixedColours);
    c.themes = As<QListWidget>(controls, Themes);
    c.draw = As<QPushButton>(controls, Draw);
    c.byRole = controls;

    GroupOptions(c.sizePresets, client);
    GroupOptions(c.layout, client);
    GroupOptions(c.background, client);
    GroupOptions(c.mode, client);
    GroupOptions(c.bubbles, client);
    GroupOptions(c.colourRoles, client);
    return c;
}

} // namespace tidepool
