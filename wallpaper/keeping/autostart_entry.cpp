#include "wallpaper/keeping/autostart_entry.h"

#include "wallpaper/core/user_folders.h"

#include <QStringDecoder>

namespace tidepool {

namespace {

bool IsUtf8(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded =
        decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError();
}

} // namespace

EntryLocation FollowerEntryFile(const Environment& environment) {
    const FolderChoice config = ConfigFolder(environment);
    if (!config.error.empty())
        return {{}, config.error + " to keep the autostart entry in"};
    return {config.folder / "autostart" / kFollowerEntryName, ""};
}

std::optional<std::string> ExecArgument(std::string_view argument) {
    if (!IsUtf8(argument))
        return std::nullopt;
    std::string quoted = "\"";
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        // A '%' would be written %%, as the rules say, but GLib, with which GNOME's and
        // Cinnamon's session managers read the entries, looks for the program before it reads
        // %% as %, and so would not start it at all.
        if (byte < 0x20 || byte == 0x7F || c == '%')
            return std::nullopt;
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        if (c == '\\')
            quoted += "\\\\\\";
        quoted += c;
    }
    return quoted + "\"";
}

std::optional<std::string> FollowerEntry(const std::filesystem::path& renderer) {
    if (!renderer.is_absolute())
        return std::nullopt;
    const std::optional<std::string> program = ExecArgument(renderer.string());
    if (!program)
        return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tidepool wallpaper\n"
           "Name[ja]=ぺたもぐの壁紙\n"
           "Comment=Puts the Tidepool wallpaper back at login and whenever the screens change\n"
           "Exec=" +
           *program +
           " --follow-screens\n"
           "Icon=tidepool\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace tidepool
