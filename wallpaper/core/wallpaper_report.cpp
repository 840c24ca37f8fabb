#include "wallpaper/core/wallpaper_report.h"

#include <string_view>

namespace tidepool {

namespace {

struct Words {
    std::string_view english;
    std::string_view japanese;
};

Words WayWords(Way way) {
    switch (way) {
    case Way::Portal:
        return {"the desktop portal", "デスクトップポータル"};
    case Way::DesktopTool:
        return {"the desktop's own tool", "デスクトップの設定ツール"};
    case Way::RootWindow:
        return {"the X11 root window", "X11 のルートウィンドウ"};
    }
    return {"", ""};
}

Words ReasonWords(WayReason reason) {
    switch (reason) {
    case WayReason::None:
        return {"not applied", "設定できませんでした"};
    case WayReason::SeveralScreens:
        return {"not used with several screens, over which it would scale one picture",
                "複数の画面では使いません（1 枚の絵が引き伸ばされるため）"};
    case WayReason::NoSessionBus:
        return {"no session bus", "セッションバスがありません"};
    case WayReason::NoPortal:
        return {"no wallpaper portal on the session bus",
                "セッションバスに壁紙のポータルがありません"};
    case WayReason::PortalDeclined:
        return {"the portal did not set it", "ポータルが設定しませんでした"};
    case WayReason::NoAnswer:
        return {"no answer in time", "時間内に応答がありません"};
    case WayReason::NoToolForDesktop:
        return {"no tool is known for this desktop", "このデスクトップの設定ツールはわかりません"};
    case WayReason::Sandboxed:
        return {"not run inside a sandbox (Flatpak or Snap), where it would change the sandbox's "
                "own settings, not the desktop's",
                "サンドボックス（Flatpak や Snap）の中では使いません（デスクトップではなく"
                "サンドボックス自身の設定が変わるため）"};
    case WayReason::NoDesktop:
        return {"no desktop is named (XDG_CURRENT_DESKTOP is empty)",
                "デスクトップの名前がありません（XDG_CURRENT_DESKTOP が空です）"};
    case WayReason::ToolMissing:
        return {"not installed", "インストールされていません"};
    case WayReason::ToolFailed:
        return {"failed", "失敗しました"};
    case WayReason::NotKept:
        return {"the desktop did not keep the setting", "デスクトップが設定を保持しませんでした"};
    case WayReason::NothingDraws:
        return {"nothing draws the background", "背景を描くプログラムが動いていません"};
    case WayReason::UnsafePath:
        return {"the picture's path cannot be handed over safely", "絵のパスを安全に渡せません"};
    case WayReason::WaylandSession:
        return {"not used in a Wayland session, which shows no X11 root window",
                "Wayland のセッションでは使いません（X11 のルートウィンドウが見えないため）"};
    case WayReason::DesktopDrawsItsOwn:
        return {"not used, as the desktop draws its own background",
                "デスクトップが自分で背景を描くので使いません"};
    case WayReason::NoDisplay:
        return {"no X11 display", "X11 のディスプレイがありません"};
    case WayReason::DisplayRefused:
        return {"the X server refused it", "X サーバーが受け付けませんでした"};
    case WayReason::NoScreens:
        return {"no picture could be made for the screens", "画面に合う絵を作れませんでした"};
    case WayReason::CannotStore:
        return {"the picture could not be written", "絵を書き込めませんでした"};
    }
    return {"", ""};
}

std::string WayName(const WayResult& result, bool japanese) {
    const Words words = WayWords(result.way);
    std::string name(japanese ? words.japanese : words.english);
    if (!result.tool.empty())
        name += " (" + result.tool + ")";
    return name;
}

std::string Line(const WayResult& result, bool japanese) {
    std::string line = WayName(result, japanese) + ": ";
    if (result.applied) {
        line += japanese ? "設定しました" : "applied";
        if (!result.checked.empty())
            line += japanese ? "（確認: " + result.checked + "）"
                             : " (checked: " + result.checked + ")";
        return line;
    }
    const Words reason = ReasonWords(result.reason);
    line += japanese ? reason.japanese : reason.english;
    if (!result.detail.empty())
        line += japanese ? "（" + result.detail + "）" : ": " + result.detail;
    return line;
}

std::vector<std::string> Lines(const WallpaperReport& report, bool japanese) {
    std::vector<std::string> lines;
    for (const WayResult& result : report.tried)
        lines.push_back(Line(result, japanese));
    return lines;
}

} // namespace

std::string AppliedLine(const WayResult& result) {
    std::string line = "applied through " + WayName(result, false);
    if (!result.checked.empty())
        line += " (checked: " + result.checked + ")";
    return line;
}

std::vector<std::string> ReportLines(const WallpaperReport& report) {
    return Lines(report, false);
}

std::vector<std::string> JapaneseReportLines(const WallpaperReport& report) {
    return Lines(report, true);
}

} // namespace tidepool
