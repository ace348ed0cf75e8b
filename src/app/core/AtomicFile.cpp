#include "app/core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tintara {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, const fs::path& path, int errorNumber)
{
    if (!error)
        return;
    std::string message = "Cannot create file \"";
    message += path.string();
    message += "\". ";
    message += std::strerror(errorNumber);
    *error = std::move(message);
}

// The file a save really replaces: renaming over a symbolic link would turn the link itself into a
// plain file, so write next to the file it points to instead.
fs::path resolvedTarget(const fs::path& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path; // a dangling link: creating through it is what opening the path would do
    return fs::path(resolved);
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int createTemporary(const fs::path& folder, const fs::path& target, fs::path& temporary)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string name(1, '.');
        name += target.filename().string();
        name += ".tmp-";
        name += std::to_string(::getpid());
        name += '-';
        name += std::to_string(counter.fetch_add(1));
        name += '-';
        name += std::to_string(stamp % 1000000);
        temporary = folder / name;
        // 0666 under the umask: the same permissions a plain create of a new file would give.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename is done; failing to persist the folder entry is not worth a failure
    ::close(fd);
}

bool writeImpl(const fs::path& path, std::string_view bytes, std::string* error)
{
    const fs::path target = resolvedTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            setError(error, path, EISDIR);
            return false;
        }
        // Writing in place would fail on a read-only file, so replacing it must fail too.
        if (::access(target.c_str(), W_OK) != 0) {
            setError(error, path, errno);
            return false;
        }
    }

    fs::path temporary;
    const int fd = createTemporary(folder, target, temporary);
    if (fd < 0) {
        setError(error, path, errno);
        return false;
    }

    auto fail = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        setError(error, path, errorNumber);
        return false;
    };

    if (exists) {
        // Owner first: changing it may clear the set-id bits that the mode then restores. Either can
        // fail for an ordinary user on someone else's file; the content is what matters.
        [[maybe_unused]] const int chownResult = ::fchown(fd, existing.st_uid, existing.st_gid);
        [[maybe_unused]] const int chmodResult = ::fchmod(fd, existing.st_mode & 07777);
    }

    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int e = errno;
        ::close(fd);
        return fail(e);
    }
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);
    syncFolder(folder);
    return true;
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes, std::string* error)
{
    try {
        return writeImpl(path, bytes, error);
    } catch (...) {
        // Only memory exhaustion can throw here; the caller treats it like any failed save.
        if (error) {
            try {
                std::string message = "Cannot create file \"";
                message += path.string();
                message += "\". Out of memory";
                *error = std::move(message);
            } catch (...) {
            }
        }
        return false;
    }
}

} // namespace tintara
