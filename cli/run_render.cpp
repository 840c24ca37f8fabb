#include "cli/run_render.h"

#include "cli/corrections.h"
#include "cli/exit_status.h"
#include "imagefile/save_image.h"
#include "render/draw_job.h"

#include <filesystem>
#include <system_error>

namespace tidepool::cli {
namespace {

constexpr std::string_view kPrefix = "tidepool-render: ";

// No picture loader is set: until the image-files subsystem provides one, every load fails and
// the job says so, exactly as the window does for an unreadable picture.
DrawJobServices CommandLineServices(std::ostream& err, bool& pictureMessageShown) {
    DrawJobServices services;
    services.fileExists = [](const std::string& path) {
        std::error_code ignored;
        return std::filesystem::is_regular_file(path, ignored);
    };
    services.showMessage = [&err, &pictureMessageShown](std::string_view message) {
        err << kPrefix << message << '\n';
        pictureMessageShown = true;
    };
    return services;
}

} // namespace

int RunRender(RenderRequest& request, std::ostream& err) {
    // Refused before drawing, so that a wrong name costs no drawing time.
    if (const WriterChoice choice = ChooseImageWriter(request.output); !choice.write) {
        err << kPrefix << choice.error << '\n';
        return kExitFailure;
    }

    bool pictureMessageShown = false;
    const MainSettings typed = request.settings;
    DrawingSurface canvas = CreateCanvas(request.settings, request.render.palette);
    WorkBuffers buffers;
    DrawJob(request.settings, request.render, canvas, buffers,
            CommandLineServices(err, pictureMessageShown));
    for (const std::string& line : DescribeCorrections(typed, request.settings))
        err << kPrefix << line << '\n';

    if (const WriteResult written = SaveImage(canvas, request.output); !written.ok()) {
        err << kPrefix << written.error() << '\n';
        return kExitFailure;
    }
    return pictureMessageShown ? kExitPictureProblem : kExitSuccess;
}

} // namespace tidepool::cli
