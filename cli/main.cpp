#include "cli/desktop_connection.h"
#include "cli/exit_status.h"
#include "cli/follow_screens.h"
#include "cli/options.h"
#include "cli/run_render.h"
#include "cli/saved_wallpaper.h"
#include "cli/theme_listing.h"
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "wallpaper/keeping/keep_wallpaper.h"

#include <QLoggingCategory>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace tidepool;
using namespace tidepool::cli;

// Draws what the command asks for (a new wallpaper, or the saved one again), puts it on the
// desktop when asked, and then remembers it and keeps it as asked.
int DrawAndApply(Command& command, int& argc, char** argv) {
    const Environment environment = ProcessEnvironment();
    CodecLibrary codec(ProgramFolder());
    const bool restore = command.kind == CommandKind::Restore;
    const WallpaperRecipe recipe = RecipeOf(command.request.settings, command.request.render, true);
    RenderRequest request = command.request;
    if (restore) {
        SavedRequest saved = LoadSavedRequest(environment);
        if (!saved.request) {
            std::cerr << "tidepool-render: " << saved.error << '\n';
            return kExitUsage;
        }
        request = *saved.request;
        request.wallpaperSeconds = command.request.wallpaperSeconds;
    }
    bool applied = false;
    const auto setWallpaper = [&](const DrawingSurface& canvas) {
        DesktopConnection desktop = ConnectToDesktop(argc, argv);
        desktop.session.limit =
            std::chrono::milliseconds(static_cast<long long>(request.wallpaperSeconds * 1000));
        const WallpaperReport report = ApplyWallpaper(canvas, codec, desktop.session);
        applied = report.applied();
        return report;
    };
    const int status = RunRender(request, std::cout, std::cerr, codec, setWallpaper);
    if (!applied)
        return status;
    return RememberWallpaper(recipe, !restore, command.request.keepWallpaper, status, environment,
                             RendererBeside(ProgramFolder()), std::cout, std::cerr);
}

int Follow(const Command& command, int& argc, char** argv) {
    CodecLibrary codec(ProgramFolder());
    DesktopConnection desktop = ConnectToDesktop(argc, argv);
    return FollowScreens(desktop, codec, command.request, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    // An unreadable picture is reported in one line of the program's own; the decoders' remarks
    // on what exactly was wrong with the file would only bury it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    Command command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
    case CommandKind::Render:
    case CommandKind::Restore:
        return DrawAndApply(command, argc, argv);
    case CommandKind::Follow:
        return Follow(command, argc, argv);
    case CommandKind::Forget:
        return ForgetCommand(ProcessEnvironment(), std::cout, std::cerr);
    case CommandKind::ListThemes:
        std::cout << FormatThemeList(command.request.render.themes);
        return kExitSuccess;
    case CommandKind::ShowText:
        std::cout << command.text;
        return kExitSuccess;
    case CommandKind::Fail:
        std::cerr << "tidepool-render: " << command.text << '\n';
        return kExitUsage;
    }
    return kExitUsage;
}
