#include "wallpaper/desktops/desktop_record.h"

namespace tidepool {

WayResult ToolWayResult(const std::string& tool, const ToolRun& run) {
    WayResult result{Way::DesktopTool, run.ok(), WayReason::None, tool, run.reason, ""};
    switch (run.status) {
    case ToolRun::Status::Succeeded:
        result.detail.clear();
        break;
    case ToolRun::Status::Missing:
        result.reason = WayReason::ToolMissing;
        result.detail.clear();
        break;
    case ToolRun::Status::Failed:
        result.reason = WayReason::ToolFailed;
        break;
    case ToolRun::Status::TimedOut:
        result.reason = WayReason::NoAnswer;
        break;
    }
    return result;
}

WayResult NoPicturesResult(const std::string& tool, const Pictures& pictures) {
    return {Way::DesktopTool, false, pictures.failure, tool, pictures.error, ""};
}

} // namespace tidepool
