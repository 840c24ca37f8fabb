#include "app/command_line.h"
#include "app/open_window_system.h"
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "ui/main/main_window.h"
#include "ui/parts/window_language.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char** argv) {
    if (const auto early = tidepool::AnswerBeforeWindows(argc, argv)) {
        std::fputs(early->text.c_str(), stdout);
        std::fputs(early->error.c_str(), stderr);
        return early->status;
    }
    const auto app = tidepool::OpenWindowSystem(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tidepool"));
    // Wayland compositors pair a window with its menu entry by the entry's name, not by the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TIDEPOOL_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tidepool.png")));
    // An unreadable picture gets the program's own message; the decoders' remarks on what was
    // wrong with the file would only go to a terminal nobody reads.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));

    // The windows speak Japanese, their own language, unless the user prefers another, when they
    // speak English; Qt's own dialogs and buttons follow them.
    const tidepool::WindowTranslations translations(
        tidepool::ChooseWindowLanguage(QLocale::system().uiLanguages()),
        QApplication::applicationDirPath());
    if (!translations.found())
        std::fputs("tidepool: the English translation is not installed; the windows speak "
                   "Japanese\n",
                   stderr);

    // The render state the windows share for the whole run.
    tidepool::RenderSettings render;
    tidepool::CodecLibrary codec(tidepool::ProgramFolder());
    tidepool::MainWindow window(render, codec, tidepool::DesktopServices());
    window.show();
    return QApplication::exec();
}
