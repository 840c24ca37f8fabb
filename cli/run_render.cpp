#include "cli/run_render.h"

#include "cli/corrections.h"
#include "cli/exit_status.h"
#include "imagefile/picture_file_services.h"
#include "imagefile/save_image.h"
#include "render/draw_job.h"

namespace tidepool::cli {
namespace {

constexpr std::string_view kPrefix = "tidepool-render: ";

// The terminal is told in English what the window says in Japanese; the window's words follow,
// so the two can be matched.
std::string PictureProblemLine(std::string_view message, const std::string& path) {
    std::string english;
    if (message == kPictureMissingMessage)
        english = "the background picture \"" + path + "\" does not exist";
    else if (message == kPictureUnreadableMessage)
        english = "the background picture \"" + path + "\" could not be read";
    else
        return std::string(message);
    return english + " (" + std::string(message) + ")";
}

// The window's services, a relative picture path taken from the current folder, with its message
// boxes turned into lines on err.
DrawJobServices CommandLineServices(std::ostream& err, CodecLibrary& codec,
                                    const std::string& picturePath, bool& pictureMessageShown) {
    return PictureFileServices(
        codec, {}, [&err, &picturePath, &pictureMessageShown](std::string_view message) {
            err << kPrefix << PictureProblemLine(message, picturePath) << '\n';
            pictureMessageShown = true;
        });
}

} // namespace

int RunRender(RenderRequest& request, std::ostream& out, std::ostream& err, CodecLibrary& codec,
              const SessionWallpaperSetter& setWallpaper) {
    const bool writeFile = !request.output.empty();
    // Refused before drawing, so that a wrong name or a missing plug-in costs no drawing time.
    if (writeFile) {
        if (const WriterChoice choice = ChooseImageWriter(request.output, codec); !choice.write) {
            err << kPrefix << choice.error << '\n';
            return choice.knownFormat ? kExitWriteFailed : kExitUsage;
        }
    }

    bool pictureMessageShown = false;
    const MainSettings typed = request.settings;
    DrawingSurface canvas = CreateCanvas(request.settings, request.render.palette);
    WorkBuffers buffers;
    if (request.drawn) {
        DrawJob(request.settings, request.render, canvas, buffers,
                CommandLineServices(err, codec, typed.picturePath, pictureMessageShown));
        for (const std::string& line : DescribeCorrections(typed, request.settings))
            err << kPrefix << line << '\n';
    }

    if (writeFile) {
        if (const WriteResult written = SaveImage(canvas, request.output, codec); !written.ok()) {
            err << kPrefix << written.error() << '\n';
            return kExitWriteFailed;
        }
    }
    if (request.setWallpaper) {
        const WallpaperReport report = setWallpaper(canvas);
        if (!report.applied()) {
            err << kPrefix << "the wallpaper was drawn but not put on the desktop:\n";
            for (const std::string& line : ReportLines(report))
                err << kPrefix << "  " << line << '\n';
            return kExitNotApplied;
        }
        out << AppliedLine(report.tried.back()) << '\n';
    }
    return pictureMessageShown ? kExitPictureProblem : kExitSuccess;
}

} // namespace tidepool::cli
