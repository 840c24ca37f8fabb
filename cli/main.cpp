#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/run_render.h"
#include "cli/theme_listing.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace tidepool::cli;
    Command command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
    case CommandKind::Render:
        return RunRender(command.request, std::cerr);
    case CommandKind::ListThemes:
        std::cout << FormatThemeList(command.request.render.themes);
        return kExitSuccess;
    case CommandKind::ShowText:
        std::cout << command.text;
        return kExitSuccess;
    case CommandKind::Fail:
        std::cerr << "tidepool-render: " << command.text << '\n';
        return kExitFailure;
    }
    return kExitFailure;
}
