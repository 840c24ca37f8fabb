#include "imagefile/atomic_write.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
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

// The file a symlink at target finally leads to, so that the link stays and what it names gets
// the new picture; target itself when it is no link. Links in the folders above are left to the
// kernel, which follows them for the rename too. Empty, with errno set, for a loop.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path target) {
    // The kernel's own limit on links followed in one lookup.
    constexpr int kMaxLinks = 40;
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, error)))
            return target;
        const std::filesystem::path leadsTo = std::filesystem::read_symlink(target, error);
        if (error) {
            errno = error.value();
            return std::nullopt;
        }
        target = leadsTo.is_absolute() ? leadsTo : FolderOf(target) / leadsTo;
    }
    errno = ELOOP;
    return std::nullopt;
}

// Hidden, and of one short length whatever the target is called, so that any name the file
// system takes for the target also fits the temporary beside it. The random part keeps two
// writers from sharing one.
std::filesystem::path TemporaryName(const std::filesystem::path& folder, std::mt19937& random) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = ".tidepool-";
    for (int i = 0; i < 8; ++i)
        name += kHex[random() % 16];
    name += ".tmp";
    return folder / name;
}

// Creates the temporary exclusively, so an existing file of that name is never touched. A new
// file gets the mode the umask leaves, as any new file does; one that replaces another starts
// private and is given the old file's mode once written.
int CreateTemporary(const std::filesystem::path& folder, bool replacing,
                    std::filesystem::path& created) {
    std::mt19937 random{std::random_device{}()};
    const mode_t mode = replacing ? 0600 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = TemporaryName(folder, random);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The ordinary file at path, if there is one, whose owner and permissions the new one takes.
std::optional<struct stat> OrdinaryFileAt(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return info;
}

// 0 or the errno. The group (and, for the superuser, the owner) is kept where the system allows,
// so those who could read the old picture can read the new one; the permission bits always.
int TakeOverOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), old.st_gid));
    return ::fchmod(fd, old.st_mode & 0777) == 0 ? 0 : errno;
}

// 0 or the errno. A file system that cannot sync a folder has nothing more to make last.
int SyncFolder(int folderFd) {
    if (::fsync(folderFd) == 0 || errno == EINVAL || errno == ENOTSUP)
        return 0;
    return errno;
}

} // namespace

WriteResult AtomicWrite(const std::filesystem::path& target, const FileWriter& write) {
    const auto fail = [&](const std::string& reason) {
        return WriteResult::Failure("cannot write " + target.string() + ": " + reason);
    };
    if (!target.has_filename())
        return fail("not a file name");
    const std::optional<std::filesystem::path> destination = FollowLinks(target);
    if (!destination)
        return fail(Reason(errno));
    const std::filesystem::path folder = FolderOf(*destination);

    // Opened first, so a folder whose new entry could not be made to last refuses before
    // anything in it changes. A folder that may be written but not read (a drop box) cannot be
    // opened; its new entry is made to last by syncing the file system it lies on instead.
    FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0 && errno != EACCES)
        return fail("cannot open the folder " + folder.string() + ": " + Reason(errno));
    const std::optional<struct stat> old = OrdinaryFileAt(*destination);
    std::filesystem::path temporaryPath;
    FileDescriptor fd(CreateTemporary(folder, old.has_value(), temporaryPath));
    if (fd.get() < 0)
        return fail("cannot create a file in " + folder.string() + ": " + Reason(errno));
    TemporaryFile temporary(temporaryPath);

    const WriteResult written = write(temporary.path());
    if (!written.ok())
        return fail(written.error());
    if (old) {
        if (const int error = TakeOverOwnerAndMode(fd.get(), *old); error != 0)
            return fail("cannot give it the permissions of the old file: " + Reason(error));
    }
    if (::fsync(fd.get()) != 0)
        return fail(Reason(errno));

    if (::rename(temporary.path().c_str(), destination->c_str()) != 0)
        return fail(Reason(errno));
    temporary.keep();
    const int syncError =
        folderFd.get() >= 0 ? SyncFolder(folderFd.get()) : (::syncfs(fd.get()) == 0 ? 0 : errno);
    const int closeError = fd.close();
    if (syncError != 0)
        return fail("the new file is in place, but the folder could not be written to disk: " +
                    Reason(syncError));
    if (closeError != 0)
        return fail("the new file is in place, but it could not be closed: " + Reason(closeError));
    return WriteResult::Success();
}

WriteResult AtomicWriteText(const std::filesystem::path& target, std::string_view text) {
    return AtomicWrite(target, [text](const std::filesystem::path& path) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        return file.fail() ? WriteResult::Failure(std::string("writing failed: ") + Reason(errno))
                           : WriteResult::Success();
    });
}

} // namespace tidepool
