#pragma once

#include "imgctl/imgctl.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLibrary;

namespace tidepool {

#if defined(_WIN32)
inline constexpr std::string_view kCodecLibraryFileName = "imgctl.dll";
#else
inline constexpr std::string_view kCodecLibraryFileName = "imgctl.so";
#endif

// The plug-in's eight operations, bound by name.
struct CodecFunctions {
    ImgctlPNGtoDIB PNGtoDIB;
    ImgctlHeadDIB HeadDIB;
    ImgctlDIBtoDC DIBtoDC;
    ImgctlDCtoDIB DCtoDIB;
    ImgctlDIBtoJPG DIBtoJPG;
    ImgctlDIBtoGIF DIBtoGIF;
    ImgctlDIBtoPNG DIBtoPNG;
    ImgctlDeleteDIB DeleteDIB;
};

// The optional codec plug-in, looked for in PlugInFolders() of the program's folder. Whether it is
// there is asked anew at every use, since the user may add or remove the file while the program
// runs; it is only loaded when an operation is first needed, and stays loaded from then on.
class CodecLibrary {
  public:
    // Calls into the plug-in run with the program's folder made current, so that anything it looks
    // for beside the program is found. The process has one current folder for all its threads, so
    // a copy used off the window's thread keeps the current one: the window's relative picture
    // path and the next file dialog's folder must not change under it.
    enum class CallFolder { Program, Current };

    explicit CodecLibrary(std::filesystem::path programFolder,
                          CallFolder callFolder = CallFolder::Program);
    ~CodecLibrary();
    CodecLibrary(const CodecLibrary&) = delete;
    CodecLibrary& operator=(const CodecLibrary&) = delete;

    const std::filesystem::path& programFolder() const { return folder_; }
    // The folder to make current around a call into the plug-in; empty to keep the current one.
    std::filesystem::path callFolder() const {
        return callFolder_ == CallFolder::Program ? folder_ : std::filesystem::path();
    }
    const std::vector<std::filesystem::path>& searchFolders() const { return searchFolders_; }
    // The plug-in in the first search folder that has it now; the one beside the program when
    // none has.
    std::filesystem::path file() const;

    // Whether an ordinary file of the plug-in's name is in one of the search folders now.
    bool present() const;

    // The operations, loading the plug-in on first use; null when it cannot be loaded or lacks an
    // operation, and bindError() says why.
    const CodecFunctions* functions();
    const std::string& bindError() const { return bindError_; }

  private:
    std::filesystem::path folder_;
    CallFolder callFolder_;
    std::vector<std::filesystem::path> searchFolders_;
    std::unique_ptr<QLibrary> library_;
    std::optional<CodecFunctions> functions_;
    std::string bindError_;
};

// Owns one DIB handle and releases it on every way out. Handle 0 stands for none.
class DibHandle {
  public:
    DibHandle(const CodecFunctions& codec, std::int32_t handle) : codec_(codec), handle_(handle) {}
    ~DibHandle() {
        if (handle_ != 0)
            codec_.DeleteDIB(handle_);
    }
    DibHandle(const DibHandle&) = delete;
    DibHandle& operator=(const DibHandle&) = delete;

    std::int32_t get() const { return handle_; }

  private:
    const CodecFunctions& codec_;
    std::int32_t handle_;
};

} // namespace tidepool
