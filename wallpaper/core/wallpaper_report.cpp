#include "wallpaper/core/wallpaper_report.h"

#include <QCoreApplication>

#include <string_view>

namespace tidepool {

namespace {

// A fixed text of the report: in English for the command line, and as the window's text, which is
// written in Japanese and shown in the application's language.
struct Words {
    std::string_view english;
    const char* japanese;
};

constexpr Words kApplied{"applied", QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "設定しました")};
constexpr Words kChecked{" (checked: %1)",
                         QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "（確認: %1）")};
constexpr Words kDetail{": %1", QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "（%1）")};

// Which of a fixed text's two forms a line is made of.
enum class Reader { CommandLine, Window };

std::string Said(const Words& words, Reader reader) {
    if (reader == Reader::CommandLine)
        return std::string(words.english);
    return QCoreApplication::translate("tidepool::WallpaperReport", words.japanese).toStdString();
}

// A text with "%1" in it, the place of what came from outside.
std::string Filled(const Words& frame, const std::string& text, Reader reader) {
    std::string filled = Said(frame, reader);
    const std::size_t at = filled.find("%1");
    return at == std::string::npos ? filled : filled.replace(at, 2, text);
}

Words WayWords(Way way) {
    switch (way) {
    case Way::Portal:
        return {"the desktop portal",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "デスクトップポータル")};
    case Way::DesktopTool:
        return {"the desktop's own tool",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "デスクトップの設定ツール")};
    case Way::RootWindow:
        return {"the X11 root window",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "X11 のルートウィンドウ")};
    }
    return {"", ""};
}

Words ReasonWords(WayReason reason) {
    switch (reason) {
    case WayReason::None:
        return {"not applied",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "設定できませんでした")};
    case WayReason::SeveralScreens:
        return {"not used with several screens, over which it would scale one picture",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                                  "複数の画面では使いません（1 枚の絵が引き伸ばされるため）")};
    case WayReason::NoSessionBus:
        return {"no session bus",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "セッションバスがありません")};
    case WayReason::NoPortal:
        return {"no wallpaper portal on the session bus",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                                  "セッションバスに壁紙のポータルがありません")};
    case WayReason::PortalDeclined:
        return {"the portal did not set it",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "ポータルが設定しませんでした")};
    case WayReason::NoAnswer:
        return {"no answer in time",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "時間内に応答がありません")};
    case WayReason::NoToolForDesktop:
        return {"no tool is known for this desktop",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                                  "このデスクトップの設定ツールはわかりません")};
    case WayReason::Sandboxed:
        return {"not run inside a sandbox (Flatpak or Snap), where it would change the sandbox's "
                "own settings, not the desktop's",
                QT_TRANSLATE_NOOP(
                    "tidepool::WallpaperReport",
                    "サンドボックス（Flatpak や Snap）の中では使いません（デスクトップではなく"
                    "サンドボックス自身の設定が変わるため）")};
    case WayReason::NoDesktop:
        return {
            "no desktop is named (XDG_CURRENT_DESKTOP is empty)",
            QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                              "デスクトップの名前がありません（XDG_CURRENT_DESKTOP が空です）")};
    case WayReason::ToolMissing:
        return {"not installed",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "インストールされていません")};
    case WayReason::ToolFailed:
        return {"failed", QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "失敗しました")};
    case WayReason::NotKept:
        return {"the desktop did not keep the setting",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                                  "デスクトップが設定を保持しませんでした")};
    case WayReason::NothingDraws:
        return {
            "nothing draws the background",
            QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "背景を描くプログラムが動いていません")};
    case WayReason::UnsafePath:
        return {"the picture's path cannot be handed over safely",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "絵のパスを安全に渡せません")};
    case WayReason::WaylandSession:
        return {"not used in a Wayland session, which shows no X11 root window",
                QT_TRANSLATE_NOOP(
                    "tidepool::WallpaperReport",
                    "Wayland のセッションでは使いません（X11 のルートウィンドウが見えないため）")};
    case WayReason::DesktopDrawsItsOwn:
        return {"not used, as the desktop draws its own background",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport",
                                  "デスクトップが自分で背景を描くので使いません")};
    case WayReason::NoDisplay:
        return {"no X11 display",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "X11 のディスプレイがありません")};
    case WayReason::DisplayRefused:
        return {"the X server refused it",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "X サーバーが受け付けませんでした")};
    case WayReason::NoScreens:
        return {"no picture could be made for the screens",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "画面に合う絵を作れませんでした")};
    case WayReason::CannotStore:
        return {"the picture could not be written",
                QT_TRANSLATE_NOOP("tidepool::WallpaperReport", "絵を書き込めませんでした")};
    }
    return {"", ""};
}

std::string WayName(const WayResult& result, Reader reader) {
    std::string name = Said(WayWords(result.way), reader);
    if (!result.tool.empty())
        name += " (" + result.tool + ")";
    return name;
}

std::string Line(const WayResult& result, Reader reader) {
    std::string line = WayName(result, reader) + ": ";
    if (result.applied) {
        line += Said(kApplied, reader);
        if (!result.checked.empty())
            line += Filled(kChecked, result.checked, reader);
        return line;
    }
    line += Said(ReasonWords(result.reason), reader);
    if (!result.detail.empty())
        line += Filled(kDetail, result.detail, reader);
    return line;
}

std::vector<std::string> Lines(const WallpaperReport& report, Reader reader) {
    std::vector<std::string> lines;
    for (const WayResult& result : report.tried)
        lines.push_back(Line(result, reader));
    return lines;
}

} // namespace

std::string AppliedLine(const WayResult& result) {
    std::string line = "applied through " + WayName(result, Reader::CommandLine);
    if (!result.checked.empty())
        line += Filled(kChecked, result.checked, Reader::CommandLine);
    return line;
}

std::vector<std::string> ReportLines(const WallpaperReport& report) {
    return Lines(report, Reader::CommandLine);
}

std::vector<std::string> WindowReportLines(const WallpaperReport& report) {
    return Lines(report, Reader::Window);
}

} // namespace tidepool
