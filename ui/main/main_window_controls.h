#pragma once

#include "ui/main/control_inventory.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tidepool {

class ColourSwatch;

// The main window's controls by role, each as the widget it is. The window owns them through Qt's
// parent chain; their objectNames are in the control inventory.
struct MainWindowControls {
    std::array<QRadioButton*, 5> sizePresets{}; // QVGA to UXGA
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    QLineEdit* magnification = nullptr;
    QLineEdit* spacing = nullptr;
    std::array<QRadioButton*, 2> layout{};     // standard, slide
    std::array<QRadioButton*, 2> background{}; // no picture, use picture
    QLineEdit* picturePath = nullptr;
    QPushButton* browse = nullptr;
    std::array<QRadioButton*, 2> mode{}; // normal, frame
    QCheckBox* crabShadow = nullptr;
    QLineEdit* shadowWidth = nullptr;
    std::array<QRadioButton*, 2> bubbles{}; // none, bubbles
    QLineEdit* bubbleSpacing = nullptr;
    QCheckBox* bubbleShadow = nullptr;
    QCheckBox* bubbleCrabColour = nullptr;
    QLineEdit* bubbleShiftX = nullptr;
    QLineEdit* bubbleShiftY = nullptr;
    std::array<QCheckBox*, 5> eyeShapes{}; // ○ － × ∩ ∪
    QLineEdit* eyeShift = nullptr;
    std::array<QRadioButton*, 3> colourRoles{}; // foreground, middle, background
    std::array<ColourSwatch*, 3> swatches{};    // in the same order
    QCheckBox* fixedColours = nullptr;
    QListWidget* themes = nullptr;
    QPushButton* draw = nullptr;
    // Every control, panels and labels included, for what goes over all of them.
    std::array<QWidget*, kMainControlCount> byRole{};
};

// Creates every control of the main window on client at its place, with its caption in the
// application's language, length limit, font and tab order, and returns them by role.
MainWindowControls BuildMainWindowControls(QWidget* client);

} // namespace tidepool
