#include "ui/main/drawing_work.h"

#include "imagefile/codec_library.h"
#include "imagefile/picture_file_services.h"

namespace tidepool {

DrawingOutcome RunDrawing(DrawingRequest request, const DrawingSurface& shown,
                          std::shared_ptr<DrawingSurface> spare, WorkBuffers buffers) {
    DrawingOutcome outcome;
    CodecLibrary codec(request.programFolder, CodecLibrary::CallFolder::Current);
    const DrawJobServices services =
        PictureFileServices(codec, request.folder, [&outcome](std::string_view text) {
            outcome.messages.emplace_back(text);
        });

    if (spare)
        *spare = shown;
    else
        spare = std::make_shared<DrawingSurface>(shown);
    DrawJob(request.settings, request.render, *spare, buffers, services);
    outcome.canvas = std::move(spare);
    outcome.recipe = std::move(request.recipe);
    outcome.buffers = std::move(buffers);
    outcome.render = std::move(request.render);
    return outcome;
}

} // namespace tidepool
