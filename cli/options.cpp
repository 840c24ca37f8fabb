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
    "The pictures are kept in $XDG_DATA_HOME/tidepool, and what was applied in "
    "$XDG_CONFIG_HOME/tidepool/wallpaper.conf, which --restore-wallpaper and --follow-screens "
    "draw again. --keep-wallpaper writes $XDG_CONFIG_HOME/autostart/"
    "org.example.Tidepool.Follow.desktop, which runs --follow-screens at every login, and starts "
    "a follower now; on sway, which runs no autostart entries, add "
    "`exec tidepool-render --follow-screens` to its config instead.\n\n"
    "Exit status: 0 done; 1 the file could not be written; 2 bad command line, nothing written "
    "(or no readable saved wallpaper to restore); 3 written, but without the background picture; "
    "4 drawn, but not put on the desktop (each way tried is reported on stderr); 5 put on the "
    "desktop, but it could not be kept.";

// Which rule each option registered with CLI11 follows.
using BoundOptions = std::map<const CLI::Option*, const RequestOption*>;

Command Failure(std::string text) {
    return {CommandKind::Fail, std::move(text), {}};
}

// The first drawing option or -o given, which a command that draws the saved wallpaper refuses.
const CLI::Option* FirstDrawingOption(const BoundOptions& bound) {
    for (const auto& [option, rule] : bound)
        if (option->count() > 0)
            return option;
    return nullptr;
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

// The command that works on the saved wallpaper rather than drawing one, if one is asked for;
// it takes no drawing options, no -o and no --set-wallpaper.
std::optional<Command> SavedWallpaperCommand(bool restore, bool follow, bool forget,
                                             bool setWallpaper, const BoundOptions& bound) {
    const char* name = restore  ? "--restore-wallpaper"
                       : follow ? "--follow-screens"
                       : forget ? "--forget-wallpaper"
                                : nullptr;
    if (name == nullptr)
        return std::nullopt;
    if (int{restore} + int{follow} + int{forget} > 1)
        return Failure("--restore-wallpaper, --follow-screens and --forget-wallpaper go alone");
    if (setWallpaper)
        return Failure(std::string(name) + " does not go with --set-wallpaper");
    if (const CLI::Option* drawing = FirstDrawingOption(bound))
        return Failure(std::string(name) + " draws nothing new and takes no " +
                       drawing->get_name());
    const CommandKind kind = restore  ? CommandKind::Restore
                             : follow ? CommandKind::Follow
                                      : CommandKind::Forget;
    return Command{kind, {}, {}};
}

} // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
    CLI::App app{kDescription, "tidepool-render"};
    app.footer(kFooter);
    app.get_formatter()->column_width(34);
    const BoundOptions bound = AddRequestOptions(app);
    bool listThemes = false;
    app.add_flag("--list-themes", listThemes,
                 "Print the 20 themes with their colours and English and Japanese names");
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
    bool restore = false;
    app.add_flag("--restore-wallpaper", restore,
                 "Put the wallpaper last put on the desktop back, drawn again from what was saved");
    bool keep = false;
    app.add_flag("--keep-wallpaper", keep,
                 "With --set-wallpaper or --restore-wallpaper: put it back at every login and "
                 "whenever the screens change, starting a follower now");
    bool follow = false;
    app.add_flag(
        "--follow-screens", follow,
        "Stay running, and put the saved wallpaper back whenever a screen is added, removed, "
        "moved, or changes its mode or scale (one follower per session)");
    bool forget = false;
    app.add_flag("--forget-wallpaper", forget,
                 "Keep the wallpaper no longer: remove the autostart entry and end the followers");
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
    if (auto special = SavedWallpaperCommand(restore, follow, forget, setWallpaper, bound)) {
        if (keep && special->kind != CommandKind::Restore && special->kind != CommandKind::Fail)
            return Failure("--keep-wallpaper goes with --set-wallpaper or --restore-wallpaper");
        special->request.keepWallpaper = keep;
        special->request.wallpaperSeconds = wallpaperSeconds;
        return *special;
    }
    if (keep && !setWallpaper)
        return Failure("--keep-wallpaper goes with --set-wallpaper or --restore-wallpaper");

    Command command{CommandKind::Render, {}, {}};
    if (auto error = ApplyInOrder(app, bound, command.request))
        return Failure(std::move(*error));
    command.request.setWallpaper = setWallpaper;
    command.request.keepWallpaper = keep;
    command.request.wallpaperSeconds = wallpaperSeconds;
    if (command.request.output.empty() && !setWallpaper)
        return Failure("no output file given; use -o FILE or --set-wallpaper");
    return command;
}

} // namespace tidepool::cli
