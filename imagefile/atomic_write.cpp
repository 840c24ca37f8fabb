#include "imagefile/atomic_write.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tidepool {
namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// An open descriptor, closed on every path out; close() reports what a last failed write-back
// would otherwise hide.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int get() const { return fd_; }
    // 0 on success, otherwise the errno of the failed close.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

// Removes the temporary unless the rename has made it the target.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }

    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    std::filesystem::path path_;
    bool kept_ = false;
};

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A hidden name beside the target; the random part keeps two writers from sharing one.
std::filesystem::path TemporaryName(const std::filesystem::path& target, std::mt19937& random) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = ".";
    name += target.filename().string();
    name += ".tmp-";
    for (int i = 0; i < 8; ++i)
        name += kHex[random() % 16];
    return FolderOf(target) / name;
}

// Creates the temporary exclusively, so an existing file of that name is never touched.
// The mode leaves the usual umask to decide the permissions, as for any new file.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& created) {
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = TemporaryName(target, random);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

WriteResult AtomicWrite(const std::filesystem::path& target, const FileWriter& write) {
    const auto fail = [&](const std::string& reason) {
        return WriteResult::Failure("cannot write " + target.string() + ": " + reason);
    };
    if (!target.has_filename())
        return fail("not a file name");
    std::filesystem::path temporaryPath;
    FileDescriptor fd(CreateTemporary(target, temporaryPath));
    if (fd.get() < 0)
        return fail("cannot create a file in " + FolderOf(target).string() + ": " + Reason(errno));
    TemporaryFile temporary(temporaryPath);

    const WriteResult written = write(temporary.path());
    if (!written.ok())
        return fail(written.error());
    if (::fsync(fd.get()) != 0)
        return fail(Reason(errno));
    if (const int error = fd.close(); error != 0)
        return fail(Reason(error));

    std::error_code renameError;
    std::filesystem::rename(temporary.path(), target, renameError);
    if (renameError)
        return fail(renameError.message());
    temporary.keep();
    return WriteResult::Success();
}

} // namespace tidepool
