#include "ui/fixedcolour/fixed_colour_dialog.h"

#include "render/settings/render_settings.h"
#include "ui/fixedcolour/fixed_colour_inventory.h"
#include "ui/fixedcolour/sample_crab.h"
#include "ui/parts/accessible_names.h"
#include "ui/parts/caption_room.h"
#include "ui/parts/colour_swatch.h"
#include "ui/parts/compact_style.h"
#include "ui/parts/desktop_palette.h"
#include "ui/parts/frame_placement.h"
#include "ui/parts/surface_image.h"
#include "ui/parts/window_fonts.h"
#include "ui/parts/window_placement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace tidepool {

// The sample box: shows the sample inside a sunken frame, one sample pixel to a device pixel, as
// the preview shows the wallpaper.
class SampleBox : public QFrame {
  public:
    SampleBox(const DrawingSurface& sample, QWidget* parent) : QFrame(parent), sample_(sample) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
        setFocusPolicy(Qt::StrongFocus);
    }

    // The device pixels inside the frame, which the sample fills.
    QRect deviceInside() const { return DevicePixelsInside(contentsRect(), devicePixelRatioF()); }

  protected:
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter painter(this);
            const QRect block(0, 0, sample_.width(), sample_.height());
            DrawOneToOne(painter, SurfaceImage(sample_), block, deviceInside().topLeft(),
                         devicePixelRatioF());
        }
        QFrame::paintEvent(event);
    }

  private:
    const DrawingSurface& sample_;
};

FixedColourDialog::FixedColourDialog(RenderSettings& render, const MainSettings& main,
                                     ColourPicker pickColour, QWidget* owner)
    : QDialog(owner), render_(render), main_(ReadDrawSettings(main)),
      pickColour_(std::move(pickColour)) {
    // A fixed dialog frame: a title and a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("固定色の変更"));
    setFont(WindowFont());
    setFixedSize(kFixedColourClientWidth, kFixedColourClientHeight);
    setModal(true);
    buildControls();
    for (std::size_t i = 0; i < swatches_.size(); ++i)
        swatches_[i]->setColour(render_.FixedColours[i + 1]);
}

void FixedColourDialog::buildControls() {
    sampleBox_ = new SampleBox(sample_, this);
    sampleBox_->setObjectName(QString::fromUtf8(kSampleBoxName));
    GiveAccessibleName(*sampleBox_, kSampleBoxAccessibleName);
    sampleBox_->setGeometry(kSamplePlace);

    for (int i = 0; i < static_cast<int>(kSwatchRows.size()); ++i) {
        const SwatchRow& row = kSwatchRows[static_cast<std::size_t>(i)];
        auto* label = new QLabel(tr(row.label), this);
        label->setObjectName(QString::fromUtf8(row.labelName));
        label->setGeometry(row.labelPlace);
        label->setFont(ControlFont());

        auto* swatch = new ColourSwatch(this);
        swatch->setObjectName(QString::fromUtf8(row.swatchName));
        swatch->setGeometry(row.swatchPlace);
        label->setBuddy(swatch);
        connect(swatch, &ColourSwatch::clicked, this, [this, i] { pickFixedColour(i); });
        swatches_[static_cast<std::size_t>(i)] = swatch;
    }

    const auto addButton = [this](std::string_view name, const QString& caption,
                                  const QRect& place) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromUtf8(name));
        button->setGeometry(place);
        button->setFont(ControlFont());
        return button;
    };
    QPushButton* ok = addButton(kOkButtonName, tr("決定(&O)"), kOkPlace);
    QPushButton* cancel = addButton(kCancelButtonName, tr("キャンセル(&C)"), kCancelPlace);
    // Both only close the dialog: every pick is already in effect.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const std::array<QWidget*, 7> tabOrder{ok,           cancel,     swatches_[0], swatches_[1],
                                           swatches_[2], sampleBox_, swatches_[3]};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    UseCompactStyle(this);
    MakeRoomForCaptions(*this);
    ok->setFocus();
}

void FixedColourDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The sample is first drawn here, not when the dialog is made: the screen decides how many
    // device pixels it has, and so does a move to another.
    drawSample();
    connect(windowHandle(), &QWindow::screenChanged, this, &FixedColourDialog::drawSample,
            Qt::UniqueConnection);
    if (placement_ != nullptr)
        return;
    placement_ = new FramePlacement(
        {this}, [this] { placeCentred(); }, this);
    placement_->placeNow();
}

void FixedColourDialog::placeCentred() {
    const QRect screenArea = screen()->geometry();
    const QSize outer = OuterSize(*this);
    const WindowPosition place =
        PlaceCentred(screenArea.width(), screenArea.height(), outer.width(), outer.height());
    MoveFrameTo(*this, screenArea.topLeft() + QPoint(place.x, place.y));
}

void FixedColourDialog::keyPressEvent(QKeyEvent* event) {
    // A focused button takes Enter itself; from anywhere else it would press whichever button
    // had the focus last, and neither button is the default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FixedColourDialog::pickFixedColour(int swatch) {
    ColourSwatch* box = swatches_[static_cast<std::size_t>(swatch)];
    const std::int32_t chosen = pickColour_(this, box->colour(), DesktopPalette(palette()));
    if (chosen < 0) // kColourCancelled
        return;
    box->setColour(static_cast<Colour>(chosen));
    render_.FixedColours[static_cast<std::size_t>(swatch) + 1] = box->colour();
    drawSample();
}

void FixedColourDialog::drawSample() {
    const QRect inside = sampleBox_->deviceInside();
    DrawSampleCrab(sample_, inside.width(), inside.height(), main_, render_);
    sampleBox_->update();
}

} // namespace tidepool
