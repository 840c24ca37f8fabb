#include "ui/main/settings_binding.h"

#include "ui/main/main_window_controls.h"
#include "ui/parts/colour_swatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace tidepool {

namespace {

std::string TextOf(const QLineEdit* field) {
    return field->text().toStdString();
}

void SetText(QLineEdit* field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (field->text() != value)
        field->setText(value);
}

// The position of the selected option of a group, or -1 when none is.
template <std::size_t N> int SelectedOption(const std::array<QRadioButton*, N>& group) {
    for (std::size_t i = 0; i < N; ++i)
        if (group[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

ColourRole SelectedRole(const std::array<QRadioButton*, 3>& roles) {
    switch (SelectedOption(roles)) {
    case 0:
        return ColourRole::Foreground;
    case 1:
        return ColourRole::Middle;
    case 2:
        return ColourRole::Background;
    default:
        return ColourRole::None;
    }
}

} // namespace

MainSettings ReadSettings(const MainWindowControls& c) {
    MainSettings s;
    s.sizePreset = SelectedOption(c.sizePresets);
    s.width = TextOf(c.width);
    s.height = TextOf(c.height);
    s.magnification = TextOf(c.magnification);
    s.spacing = TextOf(c.spacing);
    s.layout = c.layout[0]->isChecked() ? Layout::Standard : Layout::Slide;
    s.usePicture = c.background[1]->isChecked();
    s.picturePath = TextOf(c.picturePath);
    s.mode = c.mode[1]->isChecked() ? DrawMode::Frame : DrawMode::Normal;
    s.crabShadow = c.crabShadow->isChecked();
    s.shadowWidth = TextOf(c.shadowWidth);
    s.bubbles = c.bubbles[1]->isChecked();
    s.bubbleSpacing = TextOf(c.bubbleSpacing);
    s.bubbleShadow = c.bubbleShadow->isChecked();
    s.bubbleCrabColour = c.bubbleCrabColour->isChecked();
    s.bubbleShiftX = TextOf(c.bubbleShiftX);
    s.bubbleShiftY = TextOf(c.bubbleShiftY);
    for (std::size_t i = 0; i < c.eyeShapes.size(); ++i)
        s.eyeShapes[i] = c.eyeShapes[i]->isChecked();
    s.eyeShift = TextOf(c.eyeShift);
    s.colourRole = SelectedRole(c.colourRoles);
    for (std::size_t i = 0; i < c.swatches.size(); ++i)
        s.swatches[i] = c.swatches[i]->colour();
    s.fixedColours = c.fixedColours->isChecked();
    s.themeIndex = c.themes->currentRow();
    return s;
}

void WriteTexts(const MainWindowControls& c, const MainSettings& s) {
    SetText(c.width, s.width);
    SetText(c.height, s.height);
    SetText(c.magnification, s.magnification);
    SetText(c.spacing, s.spacing);
    SetText(c.picturePath, s.picturePath);
    SetText(c.shadowWidth, s.shadowWidth);
    SetText(c.bubbleSpacing, s.bubbleSpacing);
    SetText(c.bubbleShiftX, s.bubbleShiftX);
    SetText(c.bubbleShiftY, s.bubbleShiftY);
    SetText(c.eyeShift, s.eyeShift);
}

} // namespace tidepool
