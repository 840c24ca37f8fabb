#include "ui/main/main_window.h"

#include "imagefile/codec_library.h"
#include "imagefile/load_picture.h"
#include "imagefile/ordinary_file.h"
#include "imagefile/program_folder.h"
#include "imagefile/save_image.h"
#include "render/settings/render_settings.h"
#include "ui/files/file_type_list.h"
#include "ui/files/folder_memory.h"
#include "ui/files/save_dialog_rules.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/main/control_inventory.h"
#include "ui/main/keyboard_handler.h"
#include "ui/main/numeric_field_input.h"
#include "ui/main/picture_path_drop.h"
#include "ui/main/settings_binding.h"
#include "ui/main/theme_captions.h"
#include "ui/parts/caption_room.h"
#include "ui/parts/colour_swatch.h"
#include "ui/parts/desktop_palette.h"
#include "ui/parts/error_message.h"
#include "ui/parts/frame_placement.h"
#include "ui/parts/pick_colour.h"
#include "ui/parts/window_fonts.h"
#include "ui/parts/window_placement.h"
#include "ui/preview/preview_window.h"
#include "wallpaper/apply_wallpaper.h"
#include "wallpaper/core/qt_screens.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace tidepool {

namespace {

// Which character filter each text field has; every other field takes any character.
CharacterFilter FilterOf(std::string_view name) {
    if (name == "Text1(0)" || name == "Text1(1)" || name == "Text6")
        return CharacterFilter::Digits;
    if (name == "Text2(0)" || name == "Text2(1)" || name == "Text4" || name == "Text5(0)")
        return CharacterFilter::DigitsAndPoint;
    if (name == "Text5(1)" || name == "Text5(2)")
        return CharacterFilter::DigitsAndMinus;
    return CharacterFilter::None;
}

// What the window says when no way put the wallpaper on the desktop: each way tried, and why not.
std::string WallpaperNotSetMessage(const WallpaperReport& report) {
    QString text =
        QCoreApplication::translate("tidepool::MainWindow", "壁紙に設定できませんでした。") +
        QLatin1Char('\n');
    for (const std::string& line : WindowReportLines(report))
        text += QLatin1Char('\n') + QCoreApplication::translate("tidepool::MainWindow", "・%1")
                                        .arg(QString::fromStdString(line));
    return text.toStdString();
}

// How long an application still running when the window closes may go on: long enough for the
// step under way (a tool, a bus call) to end as it usually does rather than be broken off, short
// enough that the program ends within a second, a portal's request closed included.
constexpr std::chrono::milliseconds kWallpaperEndingTime{500};

// Hands the picture to the desktop this program runs on. Runs on a worker thread, with a codec
// plug-in of its own (the window's loads it lazily and is not to be shared across threads) that
// leaves the process's current folder to the window.
WallpaperReport SetDesktopWallpaper(const DrawingSurface& canvas,
                                    const std::filesystem::path& programFolder,
                                    const std::vector<Screen>& screens,
                                    std::shared_ptr<const Cutoff> cutoff) {
    CodecLibrary codec(programFolder, CodecLibrary::CallFolder::Current);
    DesktopSession session;
    session.environment = ProcessEnvironment();
    session.screens = screens;
    session.cutoff = std::move(cutoff);
    return ApplyWallpaper(canvas, codec, session);
}

} // namespace

MainWindowDialogs DesktopDialogs() {
    return MainWindowDialogs{ShowErrorMessage,           PickColour,
                             DesktopSaveDialogPrompts(), DesktopOpenFilePrompt(),
                             SetDesktopWallpaper,        DesktopWallpaperMemory(ProgramFolder())};
}

MainWindow::MainWindow(RenderSettings& render, CodecLibrary& codec, MainWindowDialogs dialogs)
    : render_(render), codec_(codec), dialogs_(std::move(dialogs)) {
    // A fixed single frame: it can be minimised and closed, but neither resized nor maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("ぺたもぐ"));
    setFont(WindowFont());

    auto* client = new QWidget(this);
    client->setFixedSize(kMainClientWidth, kMainClientHeight);
    setCentralWidget(client);
    controls_ = BuildMainWindowControls(client);
    createMenu();

    connectControls();
    watchKeys();
    loadStep();
    // Where a caption or a theme's name is too wide for its place in this language and font, the
    // controls beside it move over and the window grows to make room, as it does for the menu bar.
    MakeRoomForCaptions(*client, keeping_->menuBarWidth());
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    endWallpaperSoon();
}

void MainWindow::createMenu() {
    const auto addCommand = [this](const char* name, const QString& caption) {
        QAction* action = menuBar()->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    connect(addCommand("MNU_Exit", tr("終了(&X)")), &QAction::triggered, this, &QWidget::close);
    connect(addCommand("MNU_Save", tr("保存(&S)")), &QAction::triggered, this,
            &MainWindow::saveWallpaper);
    connect(addCommand("MNU_Option", tr("オプション(&O)")), &QAction::triggered, this,
            &MainWindow::changeFixedColours);
    connect(addCommand("MNU_Wallpaper", tr("壁紙に設定(&W)")), &QAction::triggered, this,
            [this] { setAsWallpaper(); });
    keeping_ = new KeepWallpaperCommand(
        menuBar(), dialogs_.memory, [this] { return setAsWallpaper(true); },
        [this](std::string_view text) { dialogs_.showMessage(this, text); }, this);
    wallpaperJob_ = new QFutureWatcher<WallpaperOutcome>(this);
    connect(wallpaperJob_, &QFutureWatcher<WallpaperOutcome>::finished, this,
            &MainWindow::wallpaperFinished);
}

void MainWindow::connectControls() {
    for (int i = 0; i < static_cast<int>(controls_.sizePresets.size()); ++i)
        connect(controls_.sizePresets[i], &QRadioButton::clicked, this,
                [this, i] { selectSizePreset(i); });
    connect(controls_.draw, &QPushButton::clicked, this, &MainWindow::drawWallpaper);
    connect(controls_.browse, &QPushButton::clicked, this, &MainWindow::browsePicture);
    new PicturePathDrop(controls_.picturePath);
    connect(controls_.themes, &QListWidget::doubleClicked, this, &MainWindow::applyTheme);
    for (int i = 0; i < static_cast<int>(controls_.swatches.size()); ++i)
        connect(controls_.swatches[i], &ColourSwatch::clicked, this,
                [this, i] { pickSwatchColour(i); });
}

void MainWindow::watchKeys() {
    keyboard_ = new KeyboardHandler([this] { drawWallpaper(); }, [this] { applyTheme(); }, this);
    for (const ControlPlace& place : kMainWindowControls) {
        QWidget* control = centralWidget()->findChild<QWidget*>(QString::fromUtf8(place.name));
        switch (place.kind) {
        case ControlKind::Option:
        case ControlKind::Check:
        case ControlKind::Text:
            keyboard_->watch(control, {KeyCommand::Draw, FilterOf(place.name)});
            if (FilterOf(place.name) != CharacterFilter::None)
                new NumericFieldInput(qobject_cast<QLineEdit*>(control), FilterOf(place.name));
            break;
        case ControlKind::List:
            keyboard_->watch(control, {KeyCommand::ApplyTheme, CharacterFilter::None});
            break;
        case ControlKind::Panel:
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::Swatch:
            break;
        }
    }
}

void MainWindow::loadStep() {
    // The render settings are made with the program, so the fixed colours and the theme table
    // already hold their start values, and the save type starts at the first.
    for (const std::string& name : render_.themes.listNames())
        controls_.themes->addItem(ThemeCaption(name));

    controls_.sizePresets[0]->setChecked(true);
    selectSizePreset(0);
    controls_.background[0]->setChecked(true);
    controls_.layout[1]->setChecked(true);
    controls_.mode[0]->setChecked(true);
    controls_.bubbles[1]->setChecked(true);
    controls_.colourRoles[0]->setChecked(true);
    for (QCheckBox* box : {controls_.fixedColours, controls_.eyeShapes[0], controls_.crabShadow,
                           controls_.bubbleShadow})
        box->setChecked(true);
    // Only the selection: the swatches keep the desktop's colours until a theme is applied.
    controls_.themes->setCurrentRow(0);

    const MainSettings defaults;
    controls_.magnification->setText(QString::fromStdString(defaults.magnification));
    controls_.spacing->setText(QString::fromStdString(defaults.spacing));
    controls_.picturePath->clear();
    controls_.shadowWidth->setText(QString::fromStdString(defaults.shadowWidth));
    controls_.bubbleSpacing->setText(QString::fromStdString(defaults.bubbleSpacing));
    controls_.bubbleShiftX->setText(QString::fromStdString(defaults.bubbleShiftX));
    controls_.bubbleShiftY->setText(QString::fromStdString(defaults.bubbleShiftY));
    for (std::size_t i = 0; i < controls_.swatches.size(); ++i)
        controls_.swatches[i]->setColour(defaults.swatches[i]);

    render_.palette = DesktopPalette(palette());
    drawnRecipe_ = RecipeOf(ReadSettings(controls_), render_, false);
    preview_ =
        std::make_unique<PreviewWindow>(CreateCanvas(ReadSettings(controls_), render_.palette));
    connect(preview_.get(), &PreviewWindow::closed, this, &QWidget::close);
    controls_.sizePresets[0]->setFocus();
}

void MainWindow::selectSizePreset(int preset) {
    const SizePreset& size = kSizePresets[static_cast<std::size_t>(preset)];
    controls_.width->setText(QString::number(size.width));
    controls_.height->setText(QString::number(size.height));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placement_ != nullptr)
        return;
    preview_->setWindowIcon(windowIcon());
    // Both windows are placed once both are on their way to the screen, so that a window manager
    // treats their frames alike and their tops line up.
    preview_->show();
    placement_ = new FramePlacement(
        {this, preview_.get()}, [this] { placeWindows(); }, this);
    placement_->placeNow();
    activateWindow();
}

void MainWindow::placeWindows() {
    const QRect screenArea = screen()->geometry();
    const QSize main = OuterSize(*this);
    const SideBySide placed = PlaceSideBySide(screenArea.width(), screenArea.height(), main.width(),
                                              main.height(), OuterSize(*preview_).width());
    MoveFrameTo(*this, screenArea.topLeft() + QPoint(placed.main.x, placed.main.y));
    MoveFrameTo(*preview_, screenArea.topLeft() + QPoint(placed.preview.x, placed.preview.y));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    endWallpaperSoon();
    preview_->close();
    event->accept();
}

DrawJobServices MainWindow::drawJobServices() {
    DrawJobServices services;
    services.loadPicture = [this](DrawingSurface& target, const std::string& path) {
        return static_cast<int>(LoadPictureFile(target, path, codec_));
    };
    services.fileExists = [](const std::string& path) { return IsOrdinaryFile(path); };
    services.showMessage = [this](std::string_view message) {
        dialogs_.showMessage(this, WindowMessage(message));
    };
    return services;
}

void MainWindow::drawWallpaper() {
    QWidget* focused = QApplication::focusWidget();
    controls_.draw->setEnabled(false);
    MainSettings settings = ReadSettings(controls_);
    render_.palette = DesktopPalette(palette());
    drawnRecipe_ = RecipeOf(settings, render_, true);
    DrawJob(settings, render_, preview_->canvas(), buffers_, drawJobServices());
    WriteTexts(controls_, settings);
    preview_->Form_Resize();
    controls_.draw->setEnabled(true);
    // Disabling the button moved the focus on; a click on it leaves the focus on it.
    if (focused == controls_.draw)
        controls_.draw->setFocus();
}

void MainWindow::applyTheme() {
    const int theme = controls_.themes->currentRow() + 1;
    if (theme < 1 || theme > render_.themes.ThemeCount - 2)
        return;
    controls_.swatches[0]->setColour(render_.themes[theme].Foreground);
    controls_.swatches[1]->setColour(render_.themes[theme].Middle);
    controls_.swatches[2]->setColour(render_.themes[theme].Background);
    drawWallpaper();
}

void MainWindow::pickSwatchColour(int swatch) {
    ColourSwatch* box = controls_.swatches[static_cast<std::size_t>(swatch)];
    const std::int32_t chosen = dialogs_.pickColour(this, box->colour(), DesktopPalette(palette()));
    if (chosen >= 0)
        box->setColour(static_cast<Colour>(chosen));
}

void MainWindow::browsePicture() {
    // Asked at every browse: PNG is only offered while the plug-in that reads it is there.
    const std::string fileTypes = OpenFileTypeList(codec_.present());
    const QString path =
        ShowOpenDialog(this, fileTypes, QDir::currentPath(), openFilterIndex_, dialogs_.open);
    if (path.isEmpty())
        return;
    controls_.picturePath->setText(path);
    if (IsOrdinaryFile(path.toStdU16String()))
        EnterFolderOf(path.toStdU16String());
    // Enter or Space now starts a drawing.
    controls_.draw->setFocus();
}

void MainWindow::changeFixedColours() {
    // The sample resolves the swatches' system colours as the desktop has them now.
    render_.palette = DesktopPalette(palette());
    FixedColourDialog dialog(render_, ReadSettings(controls_), dialogs_.pickColour, this);
    dialog.exec();
}

bool MainWindow::setAsWallpaper(bool keep) {
    // One application at a time: the command does nothing while one runs.
    if (wallpaperRunning_)
        return false;
    wallpaperRunning_ = true;
    wallpaperCutoff_ = std::make_shared<Cutoff>();
    // The busy cursor with its arrow: the window stays usable meanwhile.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // The screens are asked for here, on the window's thread, which alone may ask Qt for them;
    // the canvas is copied, as a drawing meanwhile changes it.
    wallpaperJob_->setFuture(QtConcurrent::run(
        [set = dialogs_.setWallpaper, canvas = preview_->canvas(), folder = codec_.programFolder(),
         screens = DesktopScreens(), cutoff = wallpaperCutoff_, memory = keeping_->memory(),
         recipe = drawnRecipe_, keep] {
            return RememberApplication(set(canvas, folder, screens, cutoff), memory, recipe, keep,
                                       cutoff);
        }));
    return true;
}

void MainWindow::wallpaperFinished() {
    QApplication::restoreOverrideCursor();
    wallpaperRunning_ = false;
    // One the closing window cut short has nobody left to tell.
    const bool cutShort = wallpaperCutoff_->requested();
    wallpaperCutoff_.reset();
    const WallpaperOutcome outcome = wallpaperJob_->result();
    if (cutShort)
        return;
    if (!outcome.report.applied())
        dialogs_.showMessage(this, WallpaperNotSetMessage(outcome.report));
    keeping_->applicationFinished(outcome);
}

void MainWindow::endWallpaperSoon() {
    // The application would otherwise go on to its own time limit, and the program, waiting for
    // its worker at the end, with it.
    if (wallpaperCutoff_)
        wallpaperCutoff_->request(kWallpaperEndingTime);
    keeping_->endSoon(kWallpaperEndingTime);
}

void MainWindow::saveWallpaper() {
    const std::string fileTypes = SaveFileTypeList(codec_.present());
    const QString path =
        ShowSaveDialog(this, fileTypes, QDir::currentPath(), QString::fromUtf8(kSaveProposedName),
                       saveFilterIndex_, dialogs_.save);
    if (path.isEmpty())
        return;
    if (!SaveImage(preview_->canvas(), path.toStdU16String(), codec_).ok()) {
        dialogs_.showMessage(this, WindowMessage(kSaveFailedMessage));
        return;
    }
    EnterFolderOf(path.toStdU16String());
}

} // namespace tidepool
