// A few thousand random events over the program's windows, the dialogs among them, to find what
// no planned test thought of: a crash, a hang, or (on the sanitizer build) memory misuse. Runs on
// a real X server with a window manager (tests/support/x_desktop.sh).
//
// Usage: window_monkey_test [--seed N] [--events N]
//
// The program runs as it does for a user, with two exceptions that keep the run inside its own
// scratch folder: the file dialogs answer with files there (or cancel), and the desktop's
// wallpaper goes to this X server's root window. Closing the main window ends one run of the
// program; the next event finds a fresh one, as a user starting it again would.
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "tests/ui/main/random_input.h"
#include "ui/main/main_window.h"
#include "ui/preview/preview_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <list>
#include <memory>
#include <random>
#include <vector>

using namespace tidepool;

namespace {

// Pictures a user might pick or drop, good and bad, under names a shell would trip over.
QStringList MakePictures(const QDir& folder) {
    QImage tile(37, 23, QImage::Format_RGB32);
    tile.fill(QColor(0x40, 0x90, 0xC0));
    QStringList paths;
    for (const char* name :
         {"tile.bmp", "tile.png", "tile.jpg", "tile.gif", "タイル $`;'\" x.bmp"}) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        tile.save(path);
        paths << path;
    }
    QFile broken(folder.filePath(QStringLiteral("broken.jpg")));
    if (broken.open(QIODevice::WriteOnly))
        broken.write("\xFF\xD8\xFF\xE0 not a picture");
    QFile(folder.filePath(QStringLiteral("empty.png"))).open(QIODevice::WriteOnly);
    paths << broken.fileName() << folder.filePath(QStringLiteral("empty.png"))
          << folder.filePath(QStringLiteral("missing.bmp")) << folder.path();
    return paths;
}

// The file dialogs, answered from the scratch folder; the rest as the desktop has them.
MainWindowServices ScratchServices(const QDir& folder, const QStringList& pictures,
                                   std::mt19937& random) {
    const auto pick = [&random](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    MainWindowServices services = DesktopServices();
    services.save.askName = [=](QWidget*, const QStringList& types, int, const QString&,
                                const QString&) -> std::optional<SaveDialogAnswer> {
        if (pick(3) == 0) {
            std::printf("      save dialog: cancelled\n");
            return std::nullopt;
        }
        const char* names[] = {"wallpaper", "壁紙 $`;'\" x", "wallpaper.png", "sub/none.bmp"};
        const SaveDialogAnswer answer{folder.filePath(QString::fromUtf8(names[pick(4)])),
                                      1 + pick(static_cast<int>(types.size()))};
        std::printf("      save dialog: %s, type %d\n", qPrintable(answer.name),
                    answer.filterIndex);
        return answer;
    };
    services.save.askReplace = [=](QWidget*, const QString&) { return pick(2) == 0; };
    services.open = [=](QWidget*, const QStringList& filters, int,
                        const QString&) -> std::optional<OpenDialogAnswer> {
        if (pick(3) == 0) {
            std::printf("      open dialog: cancelled\n");
            return std::nullopt;
        }
        const OpenDialogAnswer answer{pictures.at(pick(static_cast<int>(pictures.size()))),
                                      1 + pick(static_cast<int>(filters.size()))};
        std::printf("      open dialog: %s\n", qPrintable(answer.path));
        return answer;
    };
    return services;
}

// The program as a user runs it, started again whenever its main window has been closed.
class Program {
  public:
    Program(QDir folder, QStringList pictures, std::uint32_t seed)
        : folder_(std::move(folder)), pictures_(std::move(pictures)), random_(seed),
          codec_(ProgramFolder()) {}

    QList<QWidget*> windows() {
        if (!window_ || !window_->isVisible())
            startAgain();
        return {window_.get(), &window_->preview()};
    }

    void end() {
        window_.reset();
        ended_.clear();
    }

  private:
    void startAgain() {
        if (window_) {
            std::printf("      the program ended; starting it again\n");
            // Kept until the end: it may still be on the stack of the event that closed it.
            ended_.push_back(std::move(window_));
        }
        // Each run of the program starts from its own render settings, as a new process would.
        renders_.emplace_back();
        window_ = std::make_unique<MainWindow>(renders_.back(), codec_,
                                               ScratchServices(folder_, pictures_, random_));
        window_->show();
    }

    QDir folder_;
    QStringList pictures_;
    std::mt19937 random_;
    CodecLibrary codec_;
    std::list<RenderSettings> renders_; // the windows of earlier runs may still refer to theirs
    std::unique_ptr<MainWindow> window_;
    std::vector<std::unique_ptr<MainWindow>> ended_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A closed main window ends only this run of the program; the test goes on with the next.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("N"),
                       QStringLiteral("18")});
    options.addOption({QStringLiteral("events"), QStringLiteral("Events to send."),
                       QStringLiteral("N"), QStringLiteral("5000")});
    options.process(app);
    const auto seed = options.value(QStringLiteral("seed")).toUInt();
    const int events = options.value(QStringLiteral("events")).toInt();

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    // Saves and relative picture paths land in the scratch folder, and so do the desktop's
    // wallpaper files, the saved wallpaper, the autostart entry and a follower's lock (a follower
    // started by "壁紙を保つ(&K)" ends with this X server).
    QDir::setCurrent(scratch.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(scratch.filePath(QStringLiteral("run"))));
    const QStringList pictures = MakePictures(QDir(scratch.path()));

    std::printf("window monkey: seed %u, %d events\n", seed, events);
    Program program(QDir(scratch.path()), pictures, seed);
    testing::RandomInput input(
        seed, events, [&program] { return program.windows(); }, pictures);
    input.start([&] {
        program.end();
        QApplication::quit();
    });
    const int status = QApplication::exec();
    std::printf("window monkey: %s\n", status == 0 ? "done, no crash" : "the event loop failed");
    return status;
}
