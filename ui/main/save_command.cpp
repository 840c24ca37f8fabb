#include "ui/main/save_command.h"

#include "imagefile/codec_library.h"
#include "imagefile/save_image.h"
#include "ui/files/file_type_list.h"
#include "ui/files/folder_memory.h"
#include "ui/files/save_dialog_rules.h"
#include "ui/main/drawing_queue.h"
#include "ui/parts/error_message.h"

#include <QDir>

#include <system_error>

namespace tidepool {

namespace {

// Writes the canvas with a codec plug-in of its own, which leaves the current folder alone: a
// drawing meanwhile takes a relative picture path from it. Safe on any thread.
SaveOutcome SaveCanvas(const DrawingSurface& canvas, const std::filesystem::path& file,
                       const std::filesystem::path& programFolder) {
    CodecLibrary codec(programFolder, CodecLibrary::CallFolder::Current);
    return {file, SaveImage(canvas, file, codec).ok()};
}

} // namespace

SaveCommand::SaveCommand(QWidget* owner, CodecLibrary& codec, SaveDialogPrompts prompts,
                         ShowMessage showMessage, DrawingQueue& drawings, ShownCanvas shown)
    : owner_(owner), codec_(codec), prompts_(std::move(prompts)),
      showMessage_(std::move(showMessage)), drawings_(drawings), shown_(std::move(shown)),
      task_(OnClose::Finish, [this](const SaveOutcome& outcome) { saved(outcome); }) {}

void SaveCommand::run() {
    if (asked_)
        return;
    asked_ = true;
    drawingsShown_ = false;
    drawings_.afterOutstanding([this] { drawingsShown(); });
}

void SaveCommand::drawingsShown() {
    drawingsShown_ = true;
    askWhenReady();
}

void SaveCommand::askWhenReady() {
    if (!asked_ || !drawingsShown_ || task_.running())
        return;
    asked_ = false;
    // Asked at every save: the types offered follow the plug-in's presence.
    const std::string fileTypes = SaveFileTypeList(codec_.present());
    const QString path =
        ShowSaveDialog(owner_, fileTypes, QDir::currentPath(), QString::fromUtf8(kSaveProposedName),
                       filterIndex_, prompts_);
    if (path.isEmpty())
        return;
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(path.toStdU16String(), error);
    if (error)
        file = path.toStdU16String();
    // The canvas shown as the name is given; a drawing that ends meanwhile makes a new one.
    task_.start([canvas = shown_(), file, folder = codec_.programFolder()] {
        return SaveCanvas(*canvas, file, folder);
    });
}

void SaveCommand::saved(const SaveOutcome& outcome) {
    if (outcome.saved)
        EnterFolderOf(outcome.file);
    else
        showMessage_(owner_, WindowMessage(kSaveFailedMessage));
    askWhenReady();
}

} // namespace tidepool
