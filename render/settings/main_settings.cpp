#include "render/settings/main_settings.h"

namespace tidepool {

void SelectSizePreset(MainSettings& settings, int i) {
    if (i < 0 || i >= static_cast<int>(kSizePresets.size()))
        return;
    settings.sizePreset = i;
    settings.width = std::to_string(kSizePresets[i].width);
    settings.height = std::to_string(kSizePresets[i].height);
}

} // namespace tidepool
