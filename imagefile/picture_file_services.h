#pragma once

#include "imagefile/codec_library.h"
#include "render/draw_job.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace tidepool {

// The drawing job's services as the window and the command line both give them: the picture path
// is taken from folder when it is relative (an empty folder leaves that to the process's current
// folder), tested for an ordinary file and loaded through codec; the job's messages go to
// showMessage, which tells the user in the caller's own way. codec must outlive the services.
DrawJobServices PictureFileServices(CodecLibrary& codec, std::filesystem::path folder,
                                    std::function<void(std::string_view)> showMessage);

} // namespace tidepool
