#include "cli/options.h"

#include "cli/option_table.h"

#include <CLI/CLI.hpp>
#include <map>
#include <optional>
#include <sstream>

namespace tidepool::cli {
namespace {

constexpr const char* kDescription =
    "Draws a Tidepool (ぺたもぐ) crab wallpaper and writes it to a file, puts it on the "
    "desktop, or both. "
    "Every setting starts as the main window starts; out-of-range values are corrected as the "
    "window corrects them.";
constexpr const char* kFooter =
    "--set-wallpaper repeats the wallpaper over every screen from the desktop's top-left corner "
    "and hands it over, first that works and is seen to take: the desktop's own tool (gsettings, "
    "xfconf-query, plasmashell's script, pcmanfm-qt, swaymsg) where XDG_CURRENT_DESKTOP "
    "names a known desktop, outside a Flatpak or Snap sandbox; the desktop portal; or the X11 "
    "root window where nothing covers it. "
    "The pictures are kept in $XDG_DATA_HOME/tidepool.\n\n"
    "Exit status: 0 done; 1 the file could not be written; 2 bad command line, nothing written; "
    "3 written, but without the background picture; 4 drawn, but not put on the desktop (each "
    "way tried is reported on stderr).";

// Which rule each option registered with CLI11 follows.
using BoundOptions = std::map<const CLI::Option*, const RequestOption*>;

Command Failure(std::string text) {
    return {CommandKind::Fail, std::move(text), {}};
}

BoundOptions AddRequestOptions(CLI::App& app) {
    BoundOptions bound;
    for (const RequestOption& rule : RequestOptions()) {
        const std::string help(rule.help);
        CLI::Option* option = app.add_option(std::string(rule.names), help);
        option->type_name(std::string(rule.valueName));
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        bound.emplace(option, &rule);
    }
    return bound;
}

// Applies the values of one pass in command-line order; the error of the first bad value.
std::optional<std::string> ApplyPass(const std::vector<CLI::Option*>& order,
                                     const BoundOptions& bound, bool firstPass,
                                     RenderRequest& request) {
    std::map<const CLI::Option*, std::size_t> seen;
    for (const CLI::Option* option : order) {
        const auto found = bound.find(option);
        if (found == bound.end())
            continue;
        const std::string& value = option->results().at(seen[option]++);
        const RequestOption& rule = *found->second;
        if (rule.appliedFirst != firstPass)
            continue;
        if (!rule.apply(request, value))
            return option->get_name() + " \"" + value + "\": expected " +
                   std::string(rule.expected);
    }
    return std::nullopt;
}

std::optional<std::string> ApplyInOrder(const CLI::App& app, const BoundOptions& bound,
                                        RenderRequest& request) {
    if (auto error = ApplyPass(app.parse_order(), bound, true, request))
        return error;
    return ApplyPass(app.parse_order(), bound, false, request);
}

} // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
    CLI::App app{kDescription, "tidepool-render"};
    app.footer(kFooter);
    app.get_formatter()->column_width(34);
    const BoundOptions bound = AddRequestOptions(app);
    bool listThemes = false;
    app.add_flag("--list-themes", listThemes, "Print the 20 themes with their colours");
    bool setWallpaper = false;
    app.add_flag("--set-wallpaper", setWallpaper,
                 "Put the wallpaper on the desktop, tiled over every screen; -o is then optional");
    double wallpaperSeconds = RenderRequest::kDefaultWallpaperSeconds;
    std::ostringstream byDefault;
    byDefault << wallpaperSeconds;
    app.add_option("--wallpaper-timeout", wallpaperSeconds,
                   "Seconds --set-wallpaper may take in all, every way and check together "
                   "(default " +
                       byDefault.str() +
                       "); a question the desktop portal asks gets up to a minute more")
        ->type_name("SECONDS")
        ->check(CLI::Range(0.1, 600.0));
    app.set_version_flag("--version", "tidepool-render " TIDEPOOL_VERSION);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(std::move(reversed));
    } catch (const CLI::CallForHelp&) {
        return {CommandKind::ShowText, app.help(), {}};
    } catch (const CLI::CallForVersion& version) {
        return {CommandKind::ShowText, std::string(version.what()) + "\n", {}};
    } catch (const CLI::ParseError& error) {
        return Failure(error.what());
    }
    if (listThemes)
        return {CommandKind::ListThemes, {}, {}};

    Command command{CommandKind::Render, {}, {}};
    if (auto error = ApplyInOrder(app, bound, command.request))
        return Failure(std::move(*error));
    command.request.setWallpaper = setWallpaper;
    command.request.wallpaperSeconds = wallpaperSeconds;
    if (command.request.output.empty() && !setWallpaper)
        return Failure("no output file given; use -o FILE or --set-wallpaper");
    return command;
}

} // namespace tidepool::cli
