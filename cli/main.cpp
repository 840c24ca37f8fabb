#include "cli/desktop_connection.h"
#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/run_render.h"
#include "cli/theme_listing.h"
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"

#include <QLoggingCategory>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace tidepool::cli;
    // An unreadable picture is reported in one line of the program's own; the decoders' remarks
    // on what exactly was wrong with the file would only bury it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    Command command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
    case CommandKind::Render: {
        tidepool::CodecLibrary codec(tidepool::ProgramFolder());
        const auto setWallpaper = [&](const tidepool::DrawingSurface& canvas) {
            DesktopConnection desktop = ConnectToDesktop(argc, argv);
            desktop.session.limit = std::chrono::milliseconds(
                static_cast<long long>(command.request.wallpaperSeconds * 1000));
            return tidepool::ApplyWallpaper(canvas, codec, desktop.session);
        };
        return RunRender(command.request, std::cout, std::cerr, codec, setWallpaper);
    }
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
