#include "ui/main/drawing_work.h"

#include "imagefile/codec_library.h"
#include "imagefile/load_picture.h"
#include "imagefile/ordinary_file.h"

namespace tidepool {

DrawingOutcome RunDrawing(DrawingRequest request, const DrawingSurface& shown,
                          std::shared_ptr<DrawingSurface> spare, WorkBuffers buffers) {
    DrawingOutcome outcome;
    CodecLibrary codec(request.programFolder, CodecLibrary::CallFolder::Current);
    // An absolute path stays as it is; an empty one names the folder, which is no file.
    const auto inFolder = [&request](const std::string& path) {
        return (request.folder / path).string();
    };
    DrawJobServices services;
    services.fileExists = [&](const std::string& path) { return IsOrdinaryFile(inFolder(path)); };
    services.loadPicture = [&](DrawingSurface& target, const std::string& path) {
        return static_cast<int>(LoadPictureFile(target, inFolder(path), codec));
    };
    services.showMessage = [&outcome](std::string_view text) {
        outcome.messages.emplace_back(text);
    };

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
