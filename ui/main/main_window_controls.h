#pragma once

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tidepool {

class ColourSwatch;

// The main window's controls by role. The window owns them through Qt's parent chain; the names
// in the comments are their objectNames.
struct MainWindowControls {
    std::array<QRadioButton*, 5> sizePresets{}; // Option1(0..4)
    QLineEdit* width = nullptr;                 // Text1(0)
    QLineEdit* height = nullptr;                // Text1(1)
    QLineEdit* magnification = nullptr;         // Text2(0)
    QLineEdit* spacing = nullptr;               // Text2(1)
    std::array<QRadioButton*, 2> layout{};      // Option3: standard, slide
    std::array<QRadioButton*, 2> background{};  // Option2: no picture, use picture
    QLineEdit* picturePath = nullptr;           // Text3
    QPushButton* browse = nullptr;              // Command2
    std::array<QRadioButton*, 2> mode{};        // Option4: normal, frame
    QCheckBox* crabShadow = nullptr;            // Check3(0)
    QLineEdit* shadowWidth = nullptr;           // Text4
    std::array<QRadioButton*, 2> bubbles{};     // Option5: none, bubbles
    QLineEdit* bubbleSpacing = nullptr;         // Text5(0)
    QCheckBox* bubbleShadow = nullptr;          // Check3(1)
    QCheckBox* bubbleCrabColour = nullptr;      // Check3(2)
    QLineEdit* bubbleShiftX = nullptr;          // Text5(1)
    QLineEdit* bubbleShiftY = nullptr;          // Text5(2)
    std::array<QCheckBox*, 5> eyeShapes{};      // Check2(0..4)
    QLineEdit* eyeShift = nullptr;              // Text6
    std::array<QRadioButton*, 3> colourRoles{}; // Option6: foreground, middle, background
    std::array<ColourSwatch*, 3> swatches{};    // Picture7(0..2)
    QCheckBox* fixedColours = nullptr;          // Check1
    QListWidget* themes = nullptr;              // List1
    QPushButton* draw = nullptr;                // Command1
};

// Creates every control of the main window on client at its place, with its caption in the
// application's language, length limit, font and tab order, and returns them by role.
MainWindowControls BuildMainWindowControls(QWidget* client);

} // namespace tidepool
