#pragma once

#include "render/raster/drawing_surface.h"
#include "render/settings/draw_settings.h"
#include "render/settings/main_settings.h"
#include "ui/parts/pick_colour.h"

#include <QDialog>

#include <array>

namespace tidepool {

class ColourSwatch;
class FramePlacement;
class SampleBox;
struct RenderSettings;

// Form4, "固定色の変更": the four fixed colours, each changed with the colour picker against a
// sample crab with bubbles. A picked colour is in the render settings at once and stays there
// however the dialog is closed; the dialog keeps nothing of its own between openings.
class FixedColourDialog : public QDialog {
    Q_OBJECT

  public:
    // render is the program's render settings, whose fixed colours the dialog changes; main is
    // the main window's state, which gives the sample its background and outline width.
    FixedColourDialog(RenderSettings& render, const MainSettings& main, ColourPicker pickColour,
                      QWidget* owner);

    // The sample as last drawn; empty until the dialog is first shown.
    const DrawingSurface& sample() const { return sample_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void placeCentred();
    void pickFixedColour(int swatch);
    void drawSample();

    RenderSettings& render_;
    DrawSettings main_; // the main window's fields as they stood when the dialog opened
    ColourPicker pickColour_;
    DrawingSurface sample_;
    SampleBox* sampleBox_ = nullptr;          // owned by this dialog
    std::array<ColourSwatch*, 4> swatches_{}; // owned by this dialog
    FramePlacement* placement_ = nullptr;     // owned by this dialog, made when first shown
};

} // namespace tidepool
