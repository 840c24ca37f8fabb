#include "imagefile/codec_library.h"

#include "imagefile/ordinary_file.h"
#include "imagefile/program_folder.h"

#include <QLibrary>
#include <QString>

namespace tidepool {
namespace {

template <typename Function>
bool Bind(QLibrary& library, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(library.resolve(name));
    if (function == nullptr && error.empty())
        error = std::string("the codec plug-in has no operation ") + name;
    return function != nullptr;
}

} // namespace

CodecLibrary::CodecLibrary(std::filesystem::path programFolder, CallFolder callFolder)
    : folder_(std::move(programFolder)), callFolder_(callFolder),
      searchFolders_(PlugInFolders(folder_)) {}

// The plug-in is never unloaded: a wallpaper job binds a copy of its own on its thread, and Qt
// unmaps a library when any one of its users unloads it, even with the window's copy bound.
CodecLibrary::~CodecLibrary() = default;

std::filesystem::path CodecLibrary::file() const {
    for (const std::filesystem::path& folder : searchFolders_)
        if (IsOrdinaryFile(folder / kCodecLibraryFileName))
            return folder / kCodecLibraryFileName;
    return folder_ / kCodecLibraryFileName;
}

bool CodecLibrary::present() const {
    return !folder_.empty() && IsOrdinaryFile(file());
}

const CodecFunctions* CodecLibrary::functions() {
    if (functions_)
        return &*functions_;
    bindError_.clear();
    if (!library_) {
        library_ = std::make_unique<QLibrary>();
        library_->setFileName(QString::fromStdU16String(file().u16string()));
    }
    if (!library_->isLoaded() && !library_->load()) {
        bindError_ = "cannot load the codec plug-in " + file().string() + ": " +
                     library_->errorString().toStdString();
        return nullptr;
    }
    CodecFunctions f{};
    const bool complete = Bind(*library_, "PNGtoDIB", f.PNGtoDIB, bindError_) &
                          Bind(*library_, "HeadDIB", f.HeadDIB, bindError_) &
                          Bind(*library_, "DIBtoDC", f.DIBtoDC, bindError_) &
                          Bind(*library_, "DCtoDIB", f.DCtoDIB, bindError_) &
                          Bind(*library_, "DIBtoJPG", f.DIBtoJPG, bindError_) &
                          Bind(*library_, "DIBtoGIF", f.DIBtoGIF, bindError_) &
                          Bind(*library_, "DIBtoPNG", f.DIBtoPNG, bindError_) &
                          Bind(*library_, "DeleteDIB", f.DeleteDIB, bindError_);
    if (!complete)
        return nullptr;
    functions_ = f;
    return &*functions_;
}

} // namespace tidepool
