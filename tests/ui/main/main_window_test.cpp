#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/draw_job.h"
#include "render/settings/render_settings.h"
#include "ui/files/save_dialog_rules.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/main/control_inventory.h"
#include "ui/main/main_window.h"
#include "ui/parts/colour_swatch.h"
#include "ui/parts/frame_placement.h"
#include "ui/parts/pick_colour.h"
#include "ui/preview/preview_window.h"
#include "wallpaper/core/desktop_tiling.h"
#include "wallpaper/core/wallpaper_report.h"

#include "tests/support/accessible_names.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

using namespace tidepool;

namespace {

const QStringList kStartSelected{"Option1(0)", "Option2(0)", "Option3(1)",
                                 "Option4(0)", "Option5(1)", "Option6(0)"};

// What the stand-in dialogs were asked and will answer.
struct DialogScript {
    std::vector<std::string> messages;
    std::vector<bool> drawEnabledDuringMessage;
    std::vector<Colour> pickerStarts;
    std::int32_t pickerAnswer = kColourCancelled;
    std::optional<SaveDialogAnswer> saveAnswer;
    int saveSelected = -1;
    QStringList saveTypes;
    QString saveFolder;
    QString saveProposedName;
    int replaceQuestions = 0;
    bool replaceAnswer = false;
    std::optional<OpenDialogAnswer> openAnswer;
    QStringList openFilters;
    std::vector<int> openSelected;
    QString openFolder;
    WallpaperReport wallpaperAnswer;
    std::vector<QSize> wallpaperCanvases;
    bool wallpaperOnWindowThread = false;
    // Held by the test to keep an application running; the setter waits for it.
    std::shared_ptr<std::mutex> wallpaperHold = std::make_shared<std::mutex>();
    std::vector<WallpaperRecipe> remembered;
    bool keptAtStart = false;
    KeepReport keepAnswer;
    int keeps = 0;
    int forgets = 0;
};

// A drop of plain text in the middle of the widget.
void DropText(QWidget* target, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

// The field's own context menu, and its paste command.
void PasteFromContextMenu(QLineEdit* target) {
    const QPoint at = target->rect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            action->trigger();
    menu->close();
}

// Ctrl+V as a real keyboard sends it, with its control character (22) as the text.
void PressCtrlV(QWidget* target) {
    QTest::sendKeyEvent(QTest::Press, target, Qt::Key_V, QStringLiteral("\x16"),
                        Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Release, target, Qt::Key_V, QStringLiteral("\x16"),
                        Qt::ControlModifier);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    template <typename Widget = QWidget> Widget* control(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    // Whether the drawings and saves asked for have ended, as a user waits for the busy cursor.
    bool workEnded() const {
        return QTest::qWaitFor([this] { return !window->drawingOrSaving(); });
    }
    const DrawingSurface& canvas() const {
        workEnded();
        return window->preview().canvas();
    }

    MainWindowServices scriptedServices() {
        MainWindowServices d;
        d.showMessage = [this](QWidget*, std::string_view text) {
            script.messages.emplace_back(text);
            script.drawEnabledDuringMessage.push_back(
                control<QPushButton>("Command1")->isEnabled());
        };
        d.pickColour = [this](QWidget*, Colour initial, const SystemPalette&) {
            script.pickerStarts.push_back(initial);
            return script.pickerAnswer;
        };
        d.save.askName = [this](QWidget*, const QStringList& types, int selected,
                                const QString& folder, const QString& name) {
            script.saveTypes = types;
            script.saveSelected = selected;
            script.saveFolder = folder;
            script.saveProposedName = name;
            return script.saveAnswer;
        };
        d.save.askReplace = [this](QWidget*, const QString&) {
            ++script.replaceQuestions;
            return script.replaceAnswer;
        };
        d.open = [this](QWidget*, const QStringList& filters, int selected, const QString& folder) {
            script.openFilters = filters;
            script.openSelected.push_back(selected);
            script.openFolder = folder;
            return script.openAnswer;
        };
        d.setWallpaper = [this](const DrawingSurface& canvas, const std::filesystem::path&,
                                const std::vector<Screen>&, std::shared_ptr<const Cutoff>) {
            const std::lock_guard held(*script.wallpaperHold);
            script.wallpaperCanvases.emplace_back(canvas.width(), canvas.height());
            script.wallpaperOnWindowThread = QThread::currentThread() == qApp->thread();
            return script.wallpaperAnswer;
        };
        d.memory.remember = [this](const WallpaperRecipe& recipe) {
            script.remembered.push_back(recipe);
            return std::string();
        };
        d.memory.keep = [this](std::shared_ptr<const Cutoff>) {
            ++script.keeps;
            return script.keepAnswer;
        };
        d.memory.forget = [this](std::shared_ptr<const Cutoff>) {
            ++script.forgets;
            return KeepReport{};
        };
        d.memory.kept = [this] { return script.keptAtStart; };
        return d;
    }

    // A new main window, with the codec plug-in looked for in codecFolder.
    void openWindow(const std::filesystem::path& codecFolder) {
        window.reset();
        codec = std::make_unique<CodecLibrary>(codecFolder);
        window = std::make_unique<MainWindow>(*render, *codec, scriptedServices());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    DialogScript script;
    std::unique_ptr<RenderSettings> render;
    std::unique_ptr<CodecLibrary> codec;
    std::unique_ptr<MainWindow> window;
    QString startFolder;

  private slots:
    void init() {
        startFolder = QDir::currentPath();
        script = DialogScript{};
        render = std::make_unique<RenderSettings>();
        openWindow(ProgramFolder());
    }

    void cleanup() {
        window.reset();
        QDir::setCurrent(startFolder);
    }

    // Every control of the inventory is there, on its panel, at its place, with its caption and
    // length limit, and lies inside the window.
    void inventory() {
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("ぺたもぐ"));
        QCOMPARE(window->centralWidget()->size(), QSize(378, 308));
        // A fixed frame the window manager offers to minimise, not to maximise.
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        for (const ControlPlace& place : kMainWindowControls) {
            const QString name = QString::fromUtf8(place.objectName);
            auto* widget = window->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(widget->geometry(), QRect(place.x, place.y, place.width, place.height));
            const QString parent =
                place.panel ? QString::fromUtf8(PlaceOf(*place.panel).objectName) : QString();
            QCOMPARE(widget->parentWidget()->objectName(), parent);
            const QRect inClient(widget->mapTo(window->centralWidget(), QPoint(0, 0)),
                                 widget->size());
            QVERIFY2(window->centralWidget()->rect().contains(inClient), qPrintable(name));
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                QCOMPARE(button->text(), QString::fromUtf8(place.caption));
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), QString::fromUtf8(place.caption));
            if (auto* text = qobject_cast<QLineEdit*>(widget))
                QCOMPARE(text->maxLength(), place.maxLength > 0 ? place.maxLength : 32767);
        }
        QStringList menu;
        for (QAction* action : window->menuBar()->actions())
            menu << action->objectName() + " " + action->text();
        QCOMPARE(menu,
                 (QStringList{"MNU_Exit 終了(&X)", "MNU_Save 保存(&S)", "MNU_Option オプション(&O)",
                              "MNU_Wallpaper 壁紙に設定(&W)", "MNU_KeepWallpaper 壁紙を保つ(&K)"}));
    }

    // Tab from the first control round the whole window and back: one stop per option group,
    // on its selected option, in the window's order.
    void tabOrder_data() {
        QTest::addColumn<QStringList>("select");
        QTest::addColumn<QStringList>("stops");
        const QStringList middle{"Text1(0)", "Text1(1)", "Text2(0)", "Text2(1)"};
        const QStringList bubbles{"Text5(0)",  "Check3(1)", "Check3(2)", "Text5(1)",
                                  "Text5(2)",  "Check2(0)", "Check2(1)", "Check2(2)",
                                  "Check2(3)", "Check2(4)", "Text6",     "Command1"};
        const QStringList swatches{"Check1", "List1", "Picture7(0)", "Picture7(1)", "Picture7(2)"};
        QTest::newRow("start-up") << QStringList{}
                                  << middle + QStringList{"Option3(1)", "Option2(0)", "Text3",
                                                          "Command2",   "Option4(0)", "Check3(0)",
                                                          "Text4",      "Option5(1)"} +
                                         bubbles + QStringList{"Option6(0)"} + swatches;
        const QStringList others{"Option1(3)", "Option3(0)", "Option2(1)",
                                 "Option4(1)", "Option5(0)", "Option6(2)"};
        QTest::newRow("others selected")
            << others
            << middle + QStringList{"Option3(0)", "Option2(1)", "Text3", "Command2",
                                    "Option4(1)", "Check3(0)",  "Text4", "Option5(0)"} +
                   bubbles + QStringList{"Option6(2)"} + swatches;
    }
    void tabOrder() {
        QFETCH(QStringList, select);
        QFETCH(QStringList, stops);
        QCOMPARE(QApplication::focusWidget(), control("Option1(0)"));
        for (const QString& option : select)
            QTest::mouseClick(control(qPrintable(option)), Qt::LeftButton);
        const QString first = select.isEmpty() ? "Option1(0)" : select.first();
        control(qPrintable(first))->setFocus();
        stops.prepend(first);
        stops.append(first);
        QStringList visited{QApplication::focusWidget()->objectName()};
        while (visited.size() < stops.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, stops);
    }

    // Whichever option is clicked, and however often, its group has exactly that one selected.
    void optionGroupsAreExclusive_data() {
        QTest::addColumn<QString>("option");
        for (const ControlPlace& place : kMainWindowControls)
            if (place.kind == ControlKind::Option)
                QTest::newRow(place.objectName.data()) << QString::fromUtf8(place.objectName);
    }
    void optionGroupsAreExclusive() {
        QFETCH(QString, option);
        auto* clicked = control<QRadioButton>(qPrintable(option));
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(clicked, Qt::LeftButton);
            QVERIFY(clicked->isChecked());
            for (const ControlPlace& place : kMainWindowControls) {
                const QString name = QString::fromUtf8(place.objectName);
                if (place.kind != ControlKind::Option || name == option)
                    continue;
                const bool sameGroup = name.section('(', 0, 0) == option.section('(', 0, 0);
                QCOMPARE(control<QRadioButton>(qPrintable(name))->isChecked(),
                         !sameGroup && kStartSelected.contains(name));
            }
        }
    }

    // A click on an option not yet selected selects it and gives it the focus, so the arrow keys
    // go on from there.
    void clickGivesAnOptionTheFocus() {
        QWidget* option = control("Option4(1)");
        QTest::mouseClick(option, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), option);
        QVERIFY(control<QRadioButton>("Option4(1)")->isChecked());
    }

    // An arrow key selects the next option of the group, as a click on it would.
    void arrowsMoveWithinAGroup_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("size preset") << "Option1(0)" << int(Qt::Key_Down) << "Option1(1)";
        QTest::newRow("picture") << "Option2(0)" << int(Qt::Key_Down) << "Option2(1)";
        QTest::newRow("layout") << "Option3(1)" << int(Qt::Key_Up) << "Option3(0)";
        QTest::newRow("colour role") << "Option6(0)" << int(Qt::Key_Down) << "Option6(1)";
    }
    void arrowsMoveWithinAGroup() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        control(qPrintable(from))->setFocus();
        QTest::keyClick(control(qPrintable(from)), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), control(qPrintable(to)));
        QVERIFY(control<QRadioButton>(qPrintable(to))->isChecked());
        QVERIFY(!control<QRadioButton>(qPrintable(from))->isChecked());
        if (to == "Option1(1)")
            QCOMPARE(field("Text1(0)")->text(), QStringLiteral("640"));
    }

    // Every caption, box and full field is whole inside its control, at its fixed size.
    void everyControlShowsItsContentWhole_data() {
        QTest::addColumn<QString>("name");
        for (const ControlPlace& place : kMainWindowControls)
            if (!place.caption.empty() || place.maxLength > 0)
                QTest::newRow(place.objectName.data()) << QString::fromUtf8(place.objectName);
    }
    void everyControlShowsItsContentWhole() {
        QFETCH(QString, name);
        QWidget* widget = control(qPrintable(name));
        const QStyle* style = widget->style();
        const QFontMetrics metrics(widget->font());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QVERIFY(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width());
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            QStyleOptionFrame option;
            option.initFrom(field);
            option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
            // QLineEdit keeps 2 pixels each side of its text, and the cursor takes one more.
            const int room =
                style->subElementRect(QStyle::SE_LineEditContents, &option, field).width() - 5;
            int widest = 0;
            for (const QChar c : QStringLiteral("0123456789.-"))
                widest = std::max(widest, metrics.horizontalAdvance(c));
            QVERIFY2(widest * field->maxLength() <= room, qPrintable(QString::number(room)));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // No ink of the caption at the inner edges, where an overlong one runs under the
            // button's frame.
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside =
                style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QImage shown = button->grab().toImage();
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x : {inside.left(), inside.right()})
                    QVERIFY2(QColor(shown.pixel(x, y)).lightness() > 128,
                             qPrintable(QString("ink at %1,%2").arg(x).arg(y)));
        } else if (auto* box = qobject_cast<QAbstractButton*>(widget)) {
            const bool check = qobject_cast<QCheckBox*>(box) != nullptr;
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QRect indicator = style->subElementRect(check ? QStyle::SE_CheckBoxIndicator
                                                                : QStyle::SE_RadioButtonIndicator,
                                                          &option, box);
            const QRect text = style->subElementRect(
                check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, box);
            QVERIFY(box->rect().contains(indicator));
            QVERIFY(metrics.horizontalAdvance(box->text()) <= text.width());
        }
    }

    void defaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("state");
        const std::vector<std::pair<const char*, const char*>> rows{
            {"Text1(0)", "240"},
            {"Text1(1)", "320"},
            {"Text2(0)", "1.0"},
            {"Text2(1)", "1.0"},
            {"Text4", "2.0"},
            {"Text5(0)", "1.0"},
            {"Text5(1)", "0"},
            {"Text5(2)", "0"},
            {"Text6", ""},
            {"Text3", ""},
            {"Option1(0)", "on"},
            {"Option3(1)", "on"},
            {"Option2(0)", "on"},
            {"Option4(0)", "on"},
            {"Option5(1)", "on"},
            {"Option6(0)", "on"},
            {"Check1", "on"},
            {"Check2(0)", "on"},
            {"Check2(1)", "off"},
            {"Check3(0)", "on"},
            {"Check3(1)", "on"},
            {"Check3(2)", "off"},
            {"List1", "ノーマル"},
            {"Picture7(0)", "8000000d"},
            {"Picture7(1)", "8000000f"},
            {"Picture7(2)", "80000014"},
        };
        for (const auto& [name, state] : rows)
            QTest::newRow(name) << name << QString::fromUtf8(state);
    }
    void defaults() {
        QFETCH(QString, name);
        QFETCH(QString, state);
        QWidget* widget = control(qPrintable(name));
        QString actual;
        if (auto* text = qobject_cast<QLineEdit*>(widget))
            actual = text->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            actual = button->isChecked() ? "on" : "off";
        else if (auto* list = qobject_cast<QListWidget*>(widget))
            actual = list->currentItem()->text();
        else if (auto* swatch = qobject_cast<ColourSwatch*>(widget))
            actual = QString::number(swatch->colour(), 16);
        QCOMPARE(actual, state);
    }

    void presets_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::newRow("VGA") << 1 << "640"
                             << "480";
        QTest::newRow("XGA") << 2 << "1024"
                             << "768";
        QTest::newRow("WXGA") << 3 << "1280"
                              << "800";
        QTest::newRow("UXGA") << 4 << "1600"
                              << "1200";
    }
    void presets() {
        QFETCH(int, preset);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QTest::mouseClick(control(qPrintable(QString("Option1(%1)").arg(preset))), Qt::LeftButton);
        QCOMPARE(field("Text1(0)")->text(), width);
        QCOMPARE(field("Text1(1)")->text(), height);
        // Typing a size by hand leaves the preset selected, and the preset writes its size again
        // when it is clicked.
        field("Text1(0)")->setText("77");
        QVERIFY(control<QRadioButton>(qPrintable(QString("Option1(%1)").arg(preset)))->isChecked());
        QTest::mouseClick(control(qPrintable(QString("Option1(%1)").arg(preset))), Qt::LeftButton);
        QCOMPARE(field("Text1(0)")->text(), width);
    }

    void filters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("width: digits only") << "Text1(0)"
                                            << "a-./9,8"
                                            << "98";
        QTest::newRow("width: four at most") << "Text1(1)"
                                             << "12345"
                                             << "1234";
        QTest::newRow("eye shift: one digit") << "Text6"
                                              << "x37"
                                              << "3";
        QTest::newRow("magnification: point") << "Text2(0)"
                                              << "1,5"
                                              << "15";
        QTest::newRow("magnification: no minus") << "Text2(0)"
                                                 << "-1.5"
                                                 << "1.5";
        QTest::newRow("spacing: points repeat") << "Text2(1)"
                                                << "1..2"
                                                << "1..2";
        QTest::newRow("shadow width: three at most") << "Text4"
                                                     << "2.55"
                                                     << "2.5";
        QTest::newRow("bubble spacing: point") << "Text5(0)"
                                               << "-0.5"
                                               << "0.5";
        QTest::newRow("shift: minus, no point") << "Text5(1)"
                                                << "0.5"
                                                << "05";
        QTest::newRow("shift: minus anywhere") << "Text5(2)"
                                               << "5-"
                                               << "5-";
        QTest::newRow("picture path: anything") << "Text3"
                                                << "a b/c.png"
                                                << "a b/c.png";
    }
    void filters() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QLineEdit* text = field(qPrintable(name));
        text->clear();
        QTest::keyClicks(text, typed);
        QCOMPARE(text->text(), kept);
    }

    // Ctrl+Z comes with its control character (26) as the text, and undoes in a numeric field.
    void ctrlZUndoesInANumericField() {
        QLineEdit* width = field("Text1(0)");
        QTest::mouseClick(width, Qt::LeftButton);
        QTest::keyClick(width, Qt::Key_End);
        QTest::keyClicks(width, "5");
        QCOMPARE(width->text(), QStringLiteral("2405"));
        QTest::sendKeyEvent(QTest::Press, width, Qt::Key_Z, QStringLiteral("\x1a"),
                            Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Release, width, Qt::Key_Z, QStringLiteral("\x1a"),
                            Qt::ControlModifier);
        QCOMPARE(width->text(), QStringLiteral("240"));
    }

    void editingKeysPass() {
        QLineEdit* width = field("Text1(0)");
        QTest::keyClick(width, Qt::Key_End);
        QTest::keyClick(width, Qt::Key_Backspace);
        QCOMPARE(width->text(), QStringLiteral("24"));
        QTest::keyClick(width, Qt::Key_Home);
        QTest::keyClick(width, Qt::Key_Delete);
        QCOMPARE(width->text(), QStringLiteral("4"));
    }

    // An input method's full-width digits count as digits; its other characters are dropped.
    void inputMethodText() {
        QLineEdit* magnification = field("Text2(0)");
        magnification->clear();
        magnification->setFocus();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("１．５あ"));
        QApplication::sendEvent(magnification, &commit);
        QCOMPARE(magnification->text(), QStringLiteral("1.5"));
    }

    void enterDraws_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Text1(0)", "Text2(1)", "Text3", "Text5(2)", "Option1(2)",
                                 "Option4(1)", "Check2(3)", "Check1"})
            QTest::newRow(name) << name;
    }
    void enterDraws() {
        QFETCH(QString, name);
        field("Text1(0)")->setText("100");
        auto* target = qobject_cast<QAbstractButton*>(control(qPrintable(name)));
        const bool targetChecked = target && target->isChecked();
        QTest::keyClick(control(qPrintable(name)), Qt::Key_Return);
        QCOMPARE(canvas().width(), 100);
        // Enter neither selects an option nor ticks a box.
        QVERIFY(control<QAbstractButton>("Option1(0)")->isChecked());
        if (target)
            QCOMPARE(target->isChecked(), targetChecked);
    }

    void spaceTogglesWithoutDrawing() {
        field("Text1(0)")->setText("100");
        QAbstractButton* shadow = control<QAbstractButton>("Check3(0)");
        shadow->setFocus();
        QTest::keyClick(shadow, Qt::Key_Space);
        QVERIFY(!shadow->isChecked());
        QCOMPARE(canvas().width(), 240);
    }

    void correctedTextsWrittenBack_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("corrected");
        QTest::newRow("narrow") << "Text1(0)"
                                << "5"
                                << "16";
        QTest::newRow("tall") << "Text1(1)"
                              << "9999"
                              << "2400";
        QTest::newRow("magnification") << "Text2(0)"
                                       << "99"
                                       << "16.0";
        QTest::newRow("spacing") << "Text2(1)"
                                 << "0.1"
                                 << "0.85";
    }
    void correctedTextsWrittenBack() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, corrected);
        field(qPrintable(name))->setText(typed);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QCOMPARE(field(qPrintable(name))->text(), corrected);
        QVERIFY(workEnded());
        QVERIFY(control("Command1")->isEnabled());
    }

    void themeAction_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click") << "double-click";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Space") << "Space";
    }
    void themeAction() {
        QFETCH(QString, how);
        QListWidget* list = control<QListWidget>("List1");
        field("Text1(0)")->setText("100");
        list->setFocus();
        const QRect first = list->visualItemRect(list->item(0));
        if (how == "double-click") {
            // A double-click is a click followed by a second press, as the desktop sends it.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
        } else
            QTest::keyClick(list, how == "Enter" ? Qt::Key_Return : Qt::Key_Space);
        QCOMPARE(control<ColourSwatch>("Picture7(0)")->colour(), Colour{0x0000FF});
        QCOMPARE(control<ColourSwatch>("Picture7(1)")->colour(), Colour{0xC0C0C0});
        QCOMPARE(control<ColourSwatch>("Picture7(2)")->colour(), Colour{0xFFFFFF});
        QCOMPARE(canvas().width(), 100);
    }

    void singleClickOnlySelects() {
        QListWidget* list = control<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(control<ColourSwatch>("Picture7(0)")->colour(), Colour{0x8000000D});
    }

    void swatchPick_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<uint>("colour");
        QTest::newRow("chosen") << 0x123456 << 0x123456u;
        QTest::newRow("black is a choice") << 0 << 0u;
        QTest::newRow("cancelled") << kColourCancelled << 0x8000000Fu;
    }
    void swatchPick() {
        QFETCH(int, answer);
        QFETCH(uint, colour);
        script.pickerAnswer = answer;
        auto* swatch = control<ColourSwatch>("Picture7(1)");
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(script.pickerStarts, std::vector<Colour>{0x8000000Fu});
        QCOMPARE(swatch->colour(), Colour{colour});
        QCOMPARE(canvas().width(), 240); // nothing drawn
    }

    // Tab onto the theme list shows it has the focus: its selection looks otherwise than without.
    void themeListShowsTheFocus() {
        QListWidget* list = control<QListWidget>("List1");
        const QRect row = list->visualItemRect(list->currentItem());
        // Inside the selected row, clear of its text and of a focus frame's line.
        const QPoint clear = row.topRight() + QPoint(-4, row.height() / 2);
        const auto selection = [&] { return list->viewport()->grab().toImage().pixel(clear); };
        control("Check1")->setFocus();
        const QRgb unfocused = selection();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        // A shade apart is no mark a person sees.
        QVERIFY(std::abs(qGray(selection()) - qGray(unfocused)) > 24);
    }

    // Tab reaches each swatch with a visible mark, and Space or Enter there picks its colour.
    void swatchesByKeyboard_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void swatchesByKeyboard() {
        QFETCH(int, key);
        control("List1")->setFocus();
        for (const char* name : {"Picture7(0)", "Picture7(1)", "Picture7(2)"}) {
            QWidget* swatch = control(name);
            const QImage unfocused = swatch->grab().toImage();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), swatch);
            QVERIFY2(swatch->grab().toImage() != unfocused, name);
            QTest::keyClick(swatch, Qt::Key(key));
        }
        QCOMPARE(script.pickerStarts, (std::vector<Colour>{0x8000000Du, 0x8000000Fu, 0x80000014u}));
        QCOMPARE(canvas().width(), 240); // nothing drawn
    }

    // The job's picture message is shown while "描画(&G)" is disabled, and the drawing goes on.
    void pictureMessage() {
        control<QRadioButton>("Option2(1)")->setChecked(true);
        field("Text3")->setText("/no/such/picture.bmp");
        field("Text1(0)")->setText("50");
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QVERIFY(workEnded());
        QCOMPARE(script.messages, std::vector<std::string>{std::string(kPictureMissingMessage)});
        QCOMPARE(script.drawEnabledDuringMessage, std::vector<bool>{false});
        QCOMPARE(canvas().width(), 50);
    }

    // The background swatch holds the desktop's button-highlight colour, and a drawing takes the
    // palette as it is at that moment.
    void systemColoursFollowDesktopPalette() {
        QPalette palette = window->palette();
        palette.setColor(QPalette::Light, QColor(0x12, 0x34, 0x56));
        window->setPalette(palette);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        const DrawingSurface& drawn = canvas();
        bool found = false;
        for (int y = 0; y < drawn.height() && !found; ++y)
            for (int x = 0; x < drawn.width() && !found; ++x)
                found = drawn.colourAt(x, y) == rgb(0x12, 0x34, 0x56);
        QVERIFY(found);
    }

    void save_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("written");
        QTest::newRow("bmp") << "photo" << 1 << "photo.bmp";
        QTest::newRow("png") << "photo" << 4 << "photo.png";
        QTest::newRow("jpeg keeps its own case") << "photo.JPG" << 2 << "photo.JPG.jpg";
    }
    void save() {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, written);
        QTemporaryDir folder;
        script.saveAnswer = SaveDialogAnswer{folder.filePath(typed), type};
        window->saveWallpaper();
        QVERIFY(workEnded());
        QCOMPARE(script.saveSelected, 1);
        QCOMPARE(script.saveProposedName, QStringLiteral("Save"));
        QCOMPARE(script.saveTypes.size(), 4);
        QVERIFY(QFile::exists(folder.filePath(written)));
        QCOMPARE(QDir::currentPath(), QDir(folder.path()).canonicalPath());
        // The next save opens where this one went, with its type chosen.
        script.saveAnswer.reset();
        window->saveWallpaper();
        QVERIFY(workEnded());
        QCOMPARE(script.saveSelected, type);
        QCOMPARE(QDir(script.saveFolder).canonicalPath(), QDir(folder.path()).canonicalPath());
    }

    void lengthenedNameAskedBeforeReplacing_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("kept") << false;
        QTest::newRow("replaced") << true;
    }
    void lengthenedNameAskedBeforeReplacing() {
        QFETCH(bool, replace);
        QTemporaryDir folder;
        QFile old(folder.filePath("photo.bmp"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        script.replaceAnswer = replace;
        script.saveAnswer = SaveDialogAnswer{folder.filePath("photo"), 1};
        window->saveWallpaper();
        QVERIFY(workEnded());
        QCOMPARE(script.replaceQuestions, 1);
        QCOMPARE(QFileInfo(folder.filePath("photo.bmp")).size() > 3, replace);
    }

    void failedSaveIsReported() {
        script.saveAnswer = SaveDialogAnswer{"/no/such/folder/photo.bmp", 1};
        window->saveWallpaper();
        QVERIFY(workEnded());
        QCOMPARE(script.messages, std::vector<std::string>{std::string(kSaveFailedMessage)});
    }

    // Only a save that worked moves the folder the next dialog opens in: one opened in /proc,
    // where nothing can be saved, hangs on its pseudo-files.
    void failedSaveLeavesTheFolder_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("/proc") << "/proc/photo.bmp";
        QTest::newRow("a folder in the way") << "";
    }
    void failedSaveLeavesTheFolder() {
        QFETCH(QString, target);
        QTemporaryDir other;
        if (target.isEmpty()) {
            QVERIFY(QDir(other.path()).mkdir("photo.bmp"));
            target = other.filePath("photo.bmp");
        }
        QTemporaryDir saved;
        script.saveAnswer = SaveDialogAnswer{saved.filePath("photo"), 1};
        control<QAction>("MNU_Save")->trigger();
        QVERIFY(workEnded());
        QCOMPARE(QDir::currentPath(), QDir(saved.path()).canonicalPath());

        script.saveAnswer = SaveDialogAnswer{target, 1};
        control<QAction>("MNU_Save")->trigger();
        QVERIFY(workEnded());
        QCOMPARE(script.messages, std::vector<std::string>{std::string(kSaveFailedMessage)});
        QCOMPARE(QDir::currentPath(), QDir(saved.path()).canonicalPath());
        script.saveAnswer.reset();
        control<QAction>("MNU_Save")->trigger();
        QVERIFY(workEnded());
        QCOMPARE(QDir(script.saveFolder).canonicalPath(), QDir(saved.path()).canonicalPath());
    }

    // "壁紙に設定(&W)" hands over the canvas as it stands (blank before any drawing, as a save
    // writes it; a drawing under way is not waited for), under the busy cursor, and speaks only
    // when no way worked.
    void setAsWallpaper_data() {
        QTest::addColumn<bool>("applied");
        QTest::addColumn<QString>("message");
        QTest::newRow("applied") << true << QString();
        QTest::newRow("not applied")
            << false
            << "壁紙に設定できませんでした。\n\n"
               "・デスクトップポータル: セッションバスがありません\n"
               "・デスクトップの設定ツール (gsettings): 失敗しました（gsettings ended with "
               "status 1）";
    }
    void setAsWallpaper() {
        QFETCH(bool, applied);
        QFETCH(QString, message);
        script.wallpaperAnswer.tried = {{Way::Portal, false, WayReason::NoSessionBus, "", "", ""}};
        script.wallpaperAnswer.tried.push_back(
            {Way::DesktopTool, applied, applied ? WayReason::None : WayReason::ToolFailed,
             "gsettings", applied ? "" : "gsettings ended with status 1", ""});
        drawWidth("100");
        control<QAction>("MNU_Wallpaper")->trigger();
        QTRY_COMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(script.wallpaperCanvases, std::vector<QSize>{QSize(240, 320)});
        // Remembered as the blank canvas it is, not as the drawing asked for.
        for (const WallpaperRecipe& recipe : script.remembered)
            QVERIFY(!recipe.drawn);
        QVERIFY(!script.wallpaperOnWindowThread);
        QCOMPARE(script.messages.size(), applied ? 0u : 1u);
        if (!applied)
            QCOMPARE(QString::fromStdString(script.messages.front()), message);
        QCOMPARE(canvas().width(), 100);
    }

    // While the desktop takes its time, the window goes on: it repaints and draws, shows the busy
    // cursor, and a second command does not start a second application.
    void wallpaperRunsBesideTheWindow() {
        script.wallpaperAnswer.tried = {{Way::RootWindow, true, WayReason::None, "", "", ""}};
        std::unique_lock hold(*script.wallpaperHold);
        window->activateWindow();
        QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier);
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        control<QAction>("MNU_Wallpaper")->trigger();
        field("Text1(0)")->setText("320");
        QTest::keyClick(field("Text1(0)"), Qt::Key_Return);
        QCOMPARE(canvas().width(), 320);
        bool ticked = false;
        QTimer::singleShot(10, [&ticked] { ticked = true; });
        QTRY_VERIFY(ticked);

        hold.unlock();
        QTRY_COMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(script.wallpaperCanvases, std::vector<QSize>{QSize(240, 320)});
        QVERIFY(script.messages.empty());
    }

    // What goes on the desktop is remembered as it was drawn, not as the fields read later.
    void wallpaperIsRememberedAsDrawn() {
        script.wallpaperAnswer.tried = {{Way::RootWindow, true, WayReason::None, "", "", ""}};
        drawWidth("100");
        QVERIFY(workEnded());
        field("Text1(0)")->setText("999");
        QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier);
        QTRY_COMPARE(script.remembered.size(), 1u);
        QCOMPARE(script.remembered[0].settings.width, "100");
        QVERIFY(script.remembered[0].drawn);
        QCOMPARE(script.keeps, 0);
    }

    // Alt+K puts the wallpaper on the desktop and keeps it; the caption shows whether it is kept,
    // which is whether the autostart entry is there.
    void keepWallpaper_data() {
        QTest::addColumn<bool>("applied");
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QString>("message");
        QTest::newRow("kept") << true << int(KeepReport::Failure::None) << true << QString();
        QTest::newRow("no follower now, the entry for the next login")
            << true << int(KeepReport::Failure::NoFollower) << true
            << "壁紙は設定しましたが、保つことはできませんでした。\n\n・画面の変化を見守るプログラ"
               "ム "
               "(tidepool-render) を起動または終了できませんでした。\n（no display）";
        QTest::newRow("no entry")
            << true << int(KeepReport::Failure::EntryNotSaved) << false
            << "壁紙は設定しましたが、保つことはできませんでした。\n\n・ログイン時に起動する設定を"
               "書き込めませんでした。\n（no display）";
        QTest::newRow("not applied") << false << int(KeepReport::Failure::None) << false
                                     << "壁紙に設定できませんでした。\n\n・X11 のルートウィンドウ: "
                                        "X11 のディスプレイがありません";
    }
    void keepWallpaper() {
        QFETCH(bool, applied);
        QFETCH(int, failure);
        QFETCH(bool, kept);
        QFETCH(QString, message);
        script.wallpaperAnswer.tried = {{Way::RootWindow, applied,
                                         applied ? WayReason::None : WayReason::NoDisplay, "", "",
                                         ""}};
        script.keepAnswer = {static_cast<KeepReport::Failure>(failure), {}, "no display"};
        auto* keep = control<QAction>("MNU_KeepWallpaper");
        QTRY_VERIFY(keep->isEnabled());
        QVERIFY(keep->isCheckable() && !keep->isChecked());
        QTest::keyClick(window.get(), Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(keep->isEnabled());
        QCOMPARE(script.wallpaperCanvases.size(), 1u);
        QCOMPARE(script.keeps, applied ? 1 : 0);
        QCOMPARE(keep->isChecked(), kept);
        QCOMPARE(keep->text(), kept ? "✓壁紙保持(&K)" : "壁紙を保つ(&K)");
        // In the bar itself, not behind its » for what does not fit.
        const QRect shown = window->menuBar()->actionGeometry(keep);
        QVERIFY(!shown.isEmpty() && window->menuBar()->rect().contains(shown));
        QCOMPARE(QString::fromStdString(script.messages.empty() ? "" : script.messages.back()),
                 message);
    }

    void forgetWallpaper() {
        script.keptAtStart = true;
        openWindow(ProgramFolder());
        auto* keep = control<QAction>("MNU_KeepWallpaper");
        QTRY_VERIFY(keep->isChecked());
        QCOMPARE(keep->text(), "✓壁紙保持(&K)");
        QTest::keyClick(window.get(), Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(keep->isEnabled());
        QCOMPARE(script.forgets, 1);
        QVERIFY(!keep->isChecked());
        QVERIFY(script.wallpaperCanvases.empty());
    }

    // The dialog opens modally over the main window, showing the current fixed colours over the
    // background the selected colour role gives.
    void fixedColourDialog_data() {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("backgroundSwatch");
        QTest::newRow("前景色") << "Option6(0)"
                                << "Picture7(2)";
        QTest::newRow("背景色") << "Option6(2)"
                                << "Picture7(0)";
    }
    void fixedColourDialog() {
        QFETCH(QString, role);
        QFETCH(QString, backgroundSwatch);
        control<QRadioButton>(qPrintable(role))->setChecked(true);
        control<ColourSwatch>("Picture7(0)")->setColour(0x123456);
        control<ColourSwatch>("Picture7(2)")->setColour(0x654321);
        render->FixedColours[3] = 0x00FF00;
        // Looked at while it is open, and closed whatever it shows, so a failure cannot hang.
        QString name;
        QWidget* owner = nullptr;
        Colour eyes = 0, background = 0;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<FixedColourDialog*>(modal)) {
                name = dialog->objectName();
                owner = dialog->parentWidget();
                eyes = dialog->findChild<ColourSwatch*>("Picture1(2)")->colour();
                background = dialog->sample().backColor();
            }
            if (modal != nullptr)
                modal->close();
        });
        control<QAction>("MNU_Option")->trigger();
        QCOMPARE(name, QStringLiteral("Form4"));
        QCOMPARE(owner, window.get());
        QCOMPARE(eyes, Colour{0x00FF00});
        QCOMPARE(background, control<ColourSwatch>(qPrintable(backgroundSwatch))->colour());
        QCOMPARE(canvas().width(), 240); // nothing drawn
    }

    void browse_data() {
        QTest::addColumn<bool>("plugIn");
        QTest::addColumn<int>("types");
        QTest::newRow("with the plug-in") << true << 7;
        QTest::newRow("without it") << false << 6;
    }
    void browse() {
        QFETCH(bool, plugIn);
        QFETCH(int, types);
        QTemporaryDir noPlugIn;
        if (!plugIn)
            openWindow(noPlugIn.path().toStdString());
        QTemporaryDir folder;
        // Longer than any fixed-size path buffer.
        const QString longName(150, QLatin1Char('p'));
        QVERIFY(QDir(folder.path()).mkdir(longName));
        const QString picture = folder.filePath(longName + "/" + longName + ".bmp");
        QVERIFY(QFile(picture).open(QIODevice::WriteOnly));
        script.openAnswer = OpenDialogAnswer{picture, 3};
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(script.openFilters.size(), types);
        QCOMPARE(script.openFilters.filter("PNG").isEmpty(), !plugIn);
        QCOMPARE(script.openFolder, startFolder);
        QCOMPARE(field("Text3")->text(), QDir::toNativeSeparators(picture));
        QCOMPARE(QApplication::focusWidget(), control("Command1"));
        QVERIFY(control<QRadioButton>("Option2(0)")->isChecked());
        QCOMPARE(QDir::currentPath(), QDir(folder.filePath(longName)).canonicalPath());

        // A cancelled browse changes nothing; the type chosen last is offered again.
        script.openAnswer.reset();
        control("Text1(0)")->setFocus();
        control<QPushButton>("Command2")->click();
        control<QPushButton>("Command2")->click();
        QCOMPARE(script.openSelected, (std::vector<int>{1, 3, 3}));
        QCOMPARE(field("Text3")->text(), QDir::toNativeSeparators(picture));
        QCOMPARE(QApplication::focusWidget(), control("Text1(0)"));
    }

    // A name the dialog gave for a file that is not there (gone meanwhile) is put in the field
    // as any answer is, but its folder does not become the starting point.
    void browseOfAMissingFileLeavesTheFolder() {
        QTemporaryDir folder;
        script.openAnswer = OpenDialogAnswer{folder.filePath("gone.bmp"), 1};
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(field("Text3")->text(), QDir::toNativeSeparators(folder.filePath("gone.bmp")));
        QCOMPARE(QDir::currentPath(), startFolder);
    }

    // With the desktop's own dialog, used as a user uses it: the type chosen there is the one
    // offered at the next browse.
    void desktopOpenDialogRemembersTheType() {
        QTemporaryDir folder;
        const QString picture = folder.filePath("sea.gif");
        QVERIFY(QFile(picture).open(QIODevice::WriteOnly));
        MainWindowServices services = scriptedServices();
        services.open = DesktopOpenFilePrompt();
        window.reset();
        window = std::make_unique<MainWindow>(*render, *codec, services);
        window->show();
        // Closes a dialog left open by a failure, so that it cannot hang the suite.
        QTimer guard;
        connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(5000);

        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* types = dialog ? dialog->findChild<QComboBox*>("fileTypeCombo") : nullptr;
            auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            if (types == nullptr || name == nullptr)
                return;
            types->setFocus();
            for (int step = 0; step < 3; ++step) // past the bitmaps and JPEG to GIF
                QTest::keyClick(types, Qt::Key_Down);
            // Pasted rather than typed, so that the completer's popup does not take the Enter.
            name->setFocus();
            name->setText(picture);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(field("Text3")->text(), QDir::toNativeSeparators(picture));

        QString offered;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (auto* types = dialog ? dialog->findChild<QComboBox*>("fileTypeCombo") : nullptr)
                offered = types->currentText();
            if (dialog != nullptr)
                dialog->close();
        });
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(offered, QStringLiteral("GIF (*.GIF)"));
    }

    void enterAfterBrowsingDraws() {
        QTemporaryDir folder;
        script.openAnswer = OpenDialogAnswer{folder.filePath("sea.bmp"), 1};
        field("Text1(0)")->setText("100");
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(canvas().width(), 100);
        QVERIFY(script.messages.empty()); // the picture is not used until chosen to be
    }

    // A drop carrying files puts the first one's path into the field; anything else is refused
    // and leaves the field as it was. A drop never moves the user's file.
    void drops_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::newRow("one file") << QList<QUrl>{QUrl::fromLocalFile("/p/sea.png")} << QString()
                                  << QDir::toNativeSeparators("/p/sea.png");
        QTest::newRow("three files")
            << QList<QUrl>{QUrl::fromLocalFile("/p/b.jpg"), QUrl::fromLocalFile("/p/a.bmp"),
                           QUrl::fromLocalFile("/p/c.gif")}
            << QString() << QDir::toNativeSeparators("/p/b.jpg");
        QTest::newRow("plain text") << QList<QUrl>{} << "/p/sea.png" << QString();
    }
    void drops() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(QString, path);
        QLineEdit* pathField = field("Text3");
        pathField->setText("before");
        control("Text1(0)")->setFocus();
        QMimeData data;
        data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        const QPoint at = pathField->rect().center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, {});
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(pathField, &enter);
        QDropEvent drop(at, offered, &data, Qt::LeftButton, {});
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(pathField, &drop);

        const bool taken = !path.isEmpty();
        QCOMPARE(enter.isAccepted(), taken);
        QCOMPARE(drop.isAccepted(), taken);
        if (taken)
            QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(pathField->text(), taken ? path : QStringLiteral("before"));
        QCOMPARE(QApplication::focusWidget(), control("Text1(0)"));
        QVERIFY(control<QRadioButton>("Option2(0)")->isChecked());
        QCOMPARE(canvas().width(), 240);
    }

    void windowsSideBySide() {
        PreviewWindow& preview = window->preview();
        QVERIFY(preview.isVisible());
        QCOMPARE(preview.windowTitle(), QStringLiteral("ピクチャー"));
        QCOMPARE(preview.frameGeometry().left(), window->frameGeometry().right() + 1);
        QCOMPARE(preview.frameGeometry().top(), window->frameGeometry().top());
    }

    // The windows are placed again as the window manager's frames become known, and then left
    // where the user puts them.
    void placedAgainOnceFramed() {
        QWidget main, preview;
        QMargins mainFrame, previewFrame;
        int placements = 0;
        FramePlacement placement(
            {&main, &preview}, [&] { ++placements; },
            [&](const QWidget& w) { return &w == &main ? mainFrame : previewFrame; }, nullptr);
        placement.placeNow();
        placement.checkFrames();
        QCOMPARE(placements, 1);
        previewFrame = QMargins(1, 20, 1, 5);
        placement.checkFrames();
        QCOMPARE(placements, 2);
        QVERIFY(placement.watching());
        mainFrame = QMargins(1, 20, 1, 1);
        placement.checkFrames();
        QCOMPARE(placements, 3);
        QVERIFY(!placement.watching());
    }

    void closing_data() {
        QTest::addColumn<bool>("closePreview");
        QTest::newRow("main window") << false;
        QTest::newRow("preview window") << true;
    }
    void closing() {
        QFETCH(bool, closePreview);
        if (closePreview)
            window->preview().close();
        else
            control<QAction>("MNU_Exit")->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->preview().isVisible());
    }

    // Typed into the width field and drawn with Enter, as a user draws.
    void drawWidth(const QString& width) {
        field("Text1(0)")->setText(width);
        QTest::keyClick(field("Text1(0)"), Qt::Key_Return);
    }

    // The fields are corrected at once; the canvas comes once drawn, the window answering
    // meanwhile, and the focus is back on "描画(&G)".
    void drawingRunsBesideTheWindow() {
        field("Text1(0)")->setText("5");
        control("Command1")->setFocus();
        QTest::keyClick(control("Command1"), Qt::Key_Space);
        QCOMPARE(field("Text1(0)")->text(), QStringLiteral("16"));
        QCOMPARE(window->preview().canvas().width(), 240);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        QCOMPARE(canvas().width(), 16);
        QVERIFY(control("Command1")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), control("Command1"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // What the job leaves in the render settings outlives the drawing: the fixed-colour dialog's
    // sample and the next drawing read it.
    void drawingLeavesItsRenderState() {
        control<QRadioButton>("Option4(1)")->setChecked(true);
        control<QCheckBox>("Check3(0)")->setChecked(false);
        control<ColourSwatch>("Picture7(0)")->setColour(0x123456);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QVERIFY(workEnded());
        QCOMPARE(render->UseFixedColours, std::int16_t{1});
        QCOMPARE(render->themes[render->themes.frameIndex()].Foreground, Colour{0x123456});
    }

    // Drawings asked for while one runs: the newest is drawn next, the ones between never.
    void newestSettingsDrawnNext() {
        std::vector<int> shown;
        connect(window.get(), &MainWindow::drawn,
                [&] { shown.push_back(window->preview().canvas().width()); });
        for (const char* width : {"100", "200", "300"})
            drawWidth(width);
        QVERIFY(workEnded());
        QCOMPARE(shown, (std::vector<int>{100, 300}));
    }

    // "保存(&S)" at once after a drawing saves that drawing; a failing one says so.
    void saveAfterDrawing_data() {
        QTest::addColumn<bool>("fails");
        QTest::newRow("saved") << false;
        QTest::newRow("failing") << true;
    }
    void saveAfterDrawing() {
        QFETCH(bool, fails);
        QTemporaryDir folder;
        const QString file = fails ? "/no/such/folder/photo.bmp" : folder.filePath("photo.bmp");
        script.saveAnswer = SaveDialogAnswer{file, 1};
        drawWidth("100");
        control<QAction>("MNU_Save")->trigger();
        QVERIFY(workEnded());
        QCOMPARE(canvas().width(), 100);
        QCOMPARE(QImage(file).width(), fails ? 0 : 100);
        QCOMPARE(script.messages.size(), fails ? 1u : 0u);
        QCOMPARE(QDir::currentPath(), fails ? startFolder : QDir(folder.path()).canonicalPath());
    }

    // Closing while a save runs finishes it; one still waiting for its drawing is not made.
    // Either way nothing but a whole file is left.
    void closingWhileSaving_data() {
        QTest::addColumn<bool>("drawing");
        QTest::newRow("saving") << false;
        QTest::newRow("drawing, then saving") << true;
    }
    void closingWhileSaving() {
        QFETCH(bool, drawing);
        QTemporaryDir folder;
        script.saveAnswer = SaveDialogAnswer{folder.filePath("photo.bmp"), 1};
        if (drawing)
            drawWidth("2400");
        control<QAction>("MNU_Save")->trigger();
        window->close();
        window.reset();
        const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, drawing ? QStringList() : QStringList{"photo.bmp"});
        if (!drawing)
            QCOMPARE(QImage(folder.filePath("photo.bmp")).size(), QSize(240, 320));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Text that arrives whole, from the clipboard or a drop, meets the same rule as typed text,
    // and the length limit counts only what the rule keeps.
    void pastedAndDroppedTextIsFiltered_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        for (const char* way : {"Ctrl+V", "menu", "drop"}) {
            const auto row = [way](const char* what) -> QTestData& {
                return QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(way, what)));
            };
            row("width, a letter") << "Text1(0)" << way << "640f"
                                   << "640";
            row("width, a thousands comma") << "Text1(0)" << way << "1,024"
                                            << "1024";
            row("magnification, a minus") << "Text2(0)" << way << "-1.5"
                                          << "1.5";
            row("shift, a point") << "Text5(1)" << way << "-3.5"
                                  << "-35";
            row("eye shift, full-width") << "Text6" << way << "２"
                                         << "2";
            // The path field takes only dropped files (see drops).
            if (QLatin1String(way) != "drop")
                row("picture path, anything") << "Text3" << way << "a b;$`c.png"
                                              << "a b;$`c.png";
        }
    }
    void pastedAndDroppedTextIsFiltered() {
        QFETCH(QString, name);
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QLineEdit* target = field(qPrintable(name));
        target->clear();
        QTest::mouseClick(target, Qt::LeftButton);
        if (way == "drop") {
            DropText(target, text);
        } else {
            QGuiApplication::clipboard()->setText(text);
            if (way == "menu")
                PasteFromContextMenu(target);
            else
                PressCtrlV(target);
        }
        QCOMPARE(target->text(), kept);
    }

    // A screen reader can name every control that takes the focus, and tell the fields apart.
    void everyFocusableControlHasAName() {
        QCOMPARE(testing::FocusableWithoutName(window.get()), QStringList());
        QCOMPARE(testing::FocusableWithoutName(&window->preview()), QStringList());
        QStringList fieldNames;
        for (const ControlPlace& place : kMainWindowControls)
            if (place.kind == ControlKind::Text)
                fieldNames << testing::AccessibleName(field(place.objectName.data()));
        fieldNames.removeDuplicates();
        QCOMPARE(fieldNames.size(), 10);
        QCOMPARE(testing::AccessibleName(field("Text2(0)")), QStringLiteral("倍率"));
        QCOMPARE(testing::AccessibleName(control("Picture7(2)")), QStringLiteral("背景色"));
        QCOMPARE(testing::AccessibleName(
                     window->preview().findChild<QWidget*>(QStringLiteral("Picture1"))),
                 QStringLiteral("ピクチャー"));
        // Captions stay as they are.
        QCOMPARE(control<QLabel>("Label1(2)")->text(), QStringLiteral("倍率"));
    }

    // Real keyboards send Delete and Ctrl+Backspace with the DEL character (127) as their text,
    // which QTest::keyClick leaves out; the filters must let it through as they do Backspace.
    void deleteCharacterEdits_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("left");
        QTest::newRow("width: Delete")
            << "Text1(0)" << int(Qt::Key_Delete) << int(Qt::NoModifier) << "2";
        QTest::newRow("magnification: Delete")
            << "Text2(0)" << int(Qt::Key_Delete) << int(Qt::NoModifier) << "2";
        QTest::newRow("shift: Delete")
            << "Text5(1)" << int(Qt::Key_Delete) << int(Qt::NoModifier) << "2";
        QTest::newRow("width: Ctrl+Backspace")
            << "Text1(0)" << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << "";
    }
    void deleteCharacterEdits() {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, left);
        QLineEdit* text = field(qPrintable(name));
        text->clear();
        QTest::mouseClick(text, Qt::LeftButton);
        QTest::keyClicks(text, "12");
        QTest::keyClick(text, key == Qt::Key_Delete ? Qt::Key_Home : Qt::Key_End);
        const auto sent = Qt::KeyboardModifiers(modifiers);
        QTest::sendKeyEvent(QTest::Press, text, Qt::Key(key), QStringLiteral("\x7f"), sent);
        QTest::sendKeyEvent(QTest::Release, text, Qt::Key(key), QStringLiteral("\x7f"), sent);
        QCOMPARE(text->text(), left);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
