#include "ui/main/main_window.h"

#include "imagefile/codec_library.h"
#include "imagefile/ordinary_file.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "ui/files/file_type_list.h"
#include "ui/files/folder_memory.h"
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

#include <system_error>

namespace tidepool {

namespace {

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

MainWindowServices DesktopServices() {
    return MainWindowServices{ShowErrorMessage,           PickColour,
                              DesktopSaveDialogPrompts(), DesktopOpenFilePrompt(),
                              SetDesktopWallpaper,        DesktopWallpaperMemory(ProgramFolder())};
}

MainWindow::MainWindow(RenderSettings& render, CodecLibrary& codec, MainWindowServices services)
    : render_(render), codec_(codec), services_(std::move(services)),
      drawings_([this] { return preview_->sharedCanvas(); },
                [this](DrawingOutcome& outcome) { presentDrawing(outcome); }),
      save_(this, codec_, services_.save, services_.showMessage, drawings_,
            [this] { return preview_->sharedCanvas(); }),
      wallpaper_(OnClose::Abandon,
                 [this](const WallpaperOutcome& outcome) { wallpaperFinished(outcome); }) {
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
    setStartValues();
    createPreview();
    controls_.sizePresets[0]->setFocus();
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
        menuBar(), services_.memory, [this] { return setAsWallpaper(true); },
        [this](std::string_view text) { services_.showMessage(this, text); }, this);
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
        QWidget* control = controls_.byRole[static_cast<std::size_t>(place.role)];
        switch (place.kind) {
        case ControlKind::Option:
        case ControlKind::Check:
        case ControlKind::Text:
            keyboard_->watch(control, {KeyCommand::Draw, place.filter});
            if (place.filter != CharacterFilter::None)
                new NumericFieldInput(qobject_cast<QLineEdit*>(control), place.filter);
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

void MainWindow::setStartValues() {
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
}

// The preview opens on a blank canvas of the start values' size.
void MainWindow::createPreview() {
    render_.palette = DesktopPalette(palette());
    drawnRecipe_ = RecipeOf(ReadSettings(controls_), render_, false);
    preview_ =
        std::make_unique<PreviewWindow>(CreateCanvas(ReadSettings(controls_), render_.palette));
    connect(preview_.get(), &PreviewWindow::closed, this, &QWidget::close);
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

void MainWindow::drawWallpaper() {
    disableDrawing();
    MainSettings settings = ReadSettings(controls_);
    render_.palette = DesktopPalette(palette());
    WallpaperRecipe recipe = RecipeOf(settings, render_, true);
    CorrectFields(settings);
    WriteTexts(controls_, settings);
    std::error_code noFolder;
    drawings_.request({std::move(settings), render_, std::filesystem::current_path(noFolder),
                       codec_.programFolder(), std::move(recipe)});
}

void MainWindow::disableDrawing() {
    if (!controls_.draw->isEnabled())
        return;
    const bool focused = focusWidget() == controls_.draw;
    controls_.draw->setEnabled(false);
    if (focused)
        focusMovedTo_ = QPointer<QWidget>(focusWidget());
}

void MainWindow::presentDrawing(DrawingOutcome& outcome) {
    for (const std::string& message : outcome.messages)
        services_.showMessage(this, WindowMessage(message));
    KeepJobState(render_, outcome.render);
    drawnRecipe_ = std::move(outcome.recipe);
    preview_->showCanvas(std::move(outcome.canvas));
    emit drawn();
    if (drawings_.waiting())
        return;
    controls_.draw->setEnabled(true);
    // Disabling the button moved the focus on; a click on it leaves the focus on it, unless the
    // user has moved the focus since.
    if (focusMovedTo_ && focusWidget() == focusMovedTo_->data())
        controls_.draw->setFocus();
    focusMovedTo_.reset();
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
    const std::int32_t chosen =
        services_.pickColour(this, box->colour(), DesktopPalette(palette()));
    if (chosen >= 0)
        box->setColour(static_cast<Colour>(chosen));
}

void MainWindow::browsePicture() {
    // Asked at every browse: PNG is only offered while the plug-in that reads it is there.
    const std::string fileTypes = OpenFileTypeList(codec_.present());
    const QString path =
        ShowOpenDialog(this, fileTypes, QDir::currentPath(), openFilterIndex_, services_.open);
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
    FixedColourDialog dialog(render_, ReadSettings(controls_), services_.pickColour, this);
    dialog.exec();
}

bool MainWindow::setAsWallpaper(bool keep) {
    // One application at a time: the command does nothing while one runs.
    if (wallpaper_.running())
        return false;
    wallpaperCutoff_ = std::make_shared<Cutoff>();
    // The screens are asked for here, on the window's thread, which alone may ask Qt for them.
    wallpaper_.start([set = services_.setWallpaper, canvas = preview_->sharedCanvas(),
                      folder = codec_.programFolder(), screens = DesktopScreens(),
                      cutoff = wallpaperCutoff_, memory = keeping_->memory(), recipe = drawnRecipe_,
                      keep] {
        return RememberApplication(set(*canvas, folder, screens, cutoff), memory, recipe, keep,
                                   cutoff);
    });
    return true;
}

void MainWindow::wallpaperFinished(const WallpaperOutcome& outcome) {
    // One the closing window cut short has nobody left to tell.
    const bool cutShort = wallpaperCutoff_->requested();
    wallpaperCutoff_.reset();
    if (cutShort)
        return;
    if (!outcome.report.applied())
        services_.showMessage(this, WallpaperNotSetMessage(outcome.report));
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
    save_.run();
}

} // namespace tidepool
