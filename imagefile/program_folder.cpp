#include "imagefile/program_folder.h"

#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tidepool {

std::filesystem::path ProgramFolder() {
#if defined(_WIN32)
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
#endif
}

std::vector<std::filesystem::path> PlugInFolders(const std::filesystem::path& programFolder) {
    if (programFolder.empty())
        return {};
    return {(programFolder / TIDEPOOL_PLUGIN_FOLDER_FROM_PROGRAM).lexically_normal(),
            programFolder};
}

} // namespace tidepool
