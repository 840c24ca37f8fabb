#include "render/settings/render_settings.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/fixedcolour/sample_crab.h"
#include "ui/parts/colour_swatch.h"

#include "tests/support/accessible_names.h"
#include "tests/support/device_pixels.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>
#include <vector>

using namespace tidepool;

namespace {

constexpr Colour kBlue = 0xFF0000;
// The crab's body centre in the sample, at one unit per pixel.
constexpr QPoint kBody{59, 72};

struct Place {
    const char* name;
    QRect place;
    const char* caption;
};
const std::vector<Place> kPlaces{
    {"Picture2", {8, 8, 121, 121}, ""},
    {"Label1(0)", {144, 12, 31, 12}, "ボディ"},
    {"Picture1(0)", {192, 8, 33, 17}, ""},
    {"Label1(1)", {144, 29, 24, 12}, "模様"},
    {"Picture1(1)", {192, 24, 33, 17}, ""},
    {"Label1(2)", {144, 44, 12, 12}, "目"},
    {"Picture1(2)", {192, 40, 33, 17}, ""},
    {"Label1(3)", {144, 60, 12, 12}, "泡"},
    {"Picture1(3)", {192, 56, 33, 17}, ""},
    {"Command1(0)", {136, 80, 89, 25}, "決定(&O)"},
    {"Command1(1)", {136, 104, 89, 25}, "キャンセル(&C)"},
};

} // namespace

class FixedColourDialogTest : public QObject {
    Q_OBJECT

  private:
    template <typename Widget = QWidget> Widget* control(const char* name) const {
        auto* widget = dialog->findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }

    void open() {
        dialog = std::make_unique<FixedColourDialog>(
            *render, main,
            [this](QWidget* owner, Colour initial, const SystemPalette&) {
                pickerOwners.push_back(owner);
                pickerStarts.push_back(initial);
                return pickerAnswer;
            },
            nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    std::unique_ptr<RenderSettings> render;
    MainSettings main;
    std::int32_t pickerAnswer = kColourCancelled;
    std::vector<QWidget*> pickerOwners;
    std::vector<Colour> pickerStarts;
    std::unique_ptr<FixedColourDialog> dialog;

  private slots:
    void init() {
        render = std::make_unique<RenderSettings>();
        main = MainSettings{};
        main.swatches = {0x332211, 0x665544, 0x998877};
        pickerAnswer = kColourCancelled;
        pickerOwners.clear();
        pickerStarts.clear();
        open();
    }

    void cleanup() { dialog.reset(); }

    void controls() {
        QCOMPARE(dialog->objectName(), QStringLiteral("Form4"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("固定色の変更"));
        QCOMPARE(dialog->size(), QSize(233, 138));
        QVERIFY(dialog->isModal());
        for (const Place& p : kPlaces) {
            QWidget* widget = control(p.name);
            QCOMPARE(widget->geometry(), p.place);
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), QString::fromUtf8(p.caption));
            if (auto* button = qobject_cast<QPushButton*>(widget))
                QCOMPARE(button->text(), QString::fromUtf8(p.caption));
        }
        QCOMPARE(QApplication::focusWidget(), control("Command1(0)"));
        QStringList chain{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(chain, (QStringList{"Command1(0)", "Command1(1)", "Picture1(0)", "Picture1(1)",
                                     "Picture1(2)", "Picture2", "Picture1(3)"}));
    }

    // Red, yellow, black and white, and the sample is the engine's drawing of them.
    void firstState() {
        const std::vector<Colour> start{0x0000FF, 0x00FFFF, 0x000000, 0xFFFFFF};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(
                control<ColourSwatch>(qPrintable(QStringLiteral("Picture1(%1)").arg(i)))->colour(),
                start[static_cast<std::size_t>(i)]);
        const QRect inside = testing::InsideDevicePixels(control("Picture2"));
        DrawingSurface expected;
        DrawSampleCrab(expected, inside.width(), inside.height(), ReadDrawSettings(main), *render);
        const DrawingSurface& sample = dialog->sample();
        QCOMPARE(sample.width(), expected.width());
        QCOMPARE(sample.height(), expected.height());
        QVERIFY(std::equal(sample.pixels(), sample.pixels() + sample.width() * sample.height(),
                           expected.pixels()));
        QCOMPARE(sample.colourAt(kBody.x(), kBody.y()), Colour{0x0000FF});
        QCOMPARE(sample.backColor(), Colour{0x998877});
    }

    // The sample box shows the sample pixel for pixel on the screen's own pixels, never enlarged.
    void sampleShownOneToOne() {
        QWidget* box = control("Picture2");
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inside = testing::InsideDevicePixels(box);
        const DrawingSurface& sample = dialog->sample();
        QCOMPARE(QSize(sample.width(), sample.height()), inside.size());
        for (int y = 0; y < sample.height(); ++y)
            for (int x = 0; x < sample.width(); ++x)
                if ((shown.pixel(inside.left() + x, inside.top() + y) | 0xFF000000u) !=
                    (sample.pixel(x, y) | 0xFF000000u))
                    QFAIL(qPrintable(
                        QStringLiteral("sample pixel (%1, %2) shows as %3")
                            .arg(x)
                            .arg(y)
                            .arg(shown.pixel(inside.left() + x, inside.top() + y), 8, 16)));
    }

    void everyFocusableControlHasAName() {
        QCOMPARE(testing::FocusableWithoutName(dialog.get()), QStringList());
        QCOMPARE(testing::AccessibleName(control("Picture1(1)")), QStringLiteral("模様"));
    }

    void centredOnScreen() {
        const QRect screen = dialog->screen()->geometry();
        const QPoint offset = dialog->frameGeometry().center() - screen.center();
        QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
                 qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
    }

    // However the dialog is closed, the picked colour stays, and the next opening shows it.
    void pickTakesEffectAtOnce_data() {
        QTest::addColumn<QString>("closeBy");
        for (const char* way : {"決定(&O)", "キャンセル(&C)", "Esc", "close box"})
            QTest::newRow(way) << way;
    }
    void pickTakesEffectAtOnce() {
        QFETCH(QString, closeBy);
        pickerAnswer = static_cast<std::int32_t>(kBlue);
        QTest::mouseClick(control("Picture1(0)"), Qt::LeftButton);
        QCOMPARE(pickerStarts, std::vector<Colour>{0x0000FF});
        QCOMPARE(pickerOwners, std::vector<QWidget*>{dialog.get()});
        QCOMPARE(render->FixedColours[1], kBlue);
        QCOMPARE(control<ColourSwatch>("Picture1(0)")->colour(), kBlue);
        QCOMPARE(dialog->sample().colourAt(kBody.x(), kBody.y()), kBlue);

        if (closeBy == "Esc")
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else if (closeBy == "close box")
            dialog->close();
        else
            QTest::mouseClick(control(closeBy == "決定(&O)" ? "Command1(0)" : "Command1(1)"),
                              Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(render->FixedColours[1], kBlue);
        open();
        QCOMPARE(control<ColourSwatch>("Picture1(0)")->colour(), kBlue);
    }

    // Black is a colour like any other, not a cancel.
    void blackIsAPick() {
        pickerAnswer = 0;
        QTest::mouseClick(control("Picture1(0)"), Qt::LeftButton);
        QCOMPARE(render->FixedColours[1], Colour{0});
        QCOMPARE(control<ColourSwatch>("Picture1(0)")->colour(), Colour{0});
        QCOMPARE(dialog->sample().colourAt(kBody.x(), kBody.y()), Colour{0});
    }

    void cancelledPickChangesNothing() {
        const std::vector<Pixel> before(dialog->sample().pixels(),
                                        dialog->sample().pixels() + 117 * 117);
        QTest::mouseClick(control("Picture1(3)"), Qt::LeftButton);
        QCOMPARE(pickerStarts, std::vector<Colour>{0xFFFFFF});
        QCOMPARE(render->FixedColours[4], Colour{0xFFFFFF});
        QCOMPARE(control<ColourSwatch>("Picture1(3)")->colour(), Colour{0xFFFFFF});
        QVERIFY(std::equal(before.begin(), before.end(), dialog->sample().pixels()));
    }

    void escapeClosesFromEveryControl_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Command1(0)", "Command1(1)", "Picture1(0)", "Picture1(1)",
                                 "Picture1(2)", "Picture2", "Picture1(3)"})
            QTest::newRow(name) << name;
    }
    void escapeClosesFromEveryControl() {
        QFETCH(QString, name);
        QWidget* focused = control(qPrintable(name));
        focused->setFocus();
        QCOMPARE(QApplication::focusWidget(), focused);
        QTest::keyClick(focused, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }

    // Enter presses the button with the focus and picks on a swatch; elsewhere it does nothing,
    // as neither button is the default.
    void enterPressesOnlyTheFocusedButton() {
        QWidget* sample = control("Picture2");
        sample->setFocus();
        QTest::keyClick(sample, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QVERIFY(pickerStarts.empty());
        QWidget* swatch = control("Picture1(1)");
        swatch->setFocus();
        QTest::keyClick(swatch, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(pickerStarts.size(), 1u);
        QWidget* ok = control("Command1(0)");
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    }
};

QTEST_MAIN(FixedColourDialogTest)
#include "fixed_colour_dialog_test.moc"
