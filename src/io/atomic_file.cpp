#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tesvid {
namespace {

namespace fs = std::filesystem;

std::string Reason(const char* action, const std::string& path, int error) {
    return std::string("cannot ") + action + " " + path + ": " + std::strerror(error);
}

// The file that is to be replaced: the target, or what a symbolic link target points to.
fs::path ResolveTarget(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

// Creates a new file next to the target with a name no other file has.
int CreateTemporary(const fs::path& target, fs::path& tempPath, int& error) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name(1, '.');
        name.append(target.filename().string());
        name.append(".tmp-");
        name.append(std::to_string(static_cast<long>(::getpid())));
        name.push_back('-');
        name.append(std::to_string(counter.fetch_add(1)));
        tempPath = folder / name;
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size, int& error) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void SyncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, const void* data,
                                               std::size_t size) {
    if (path.empty()) {
        return std::string("cannot create a file without a name");
    }
    const fs::path target = ResolveTarget(fs::path(path));

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Reason("write", path, EISDIR);
    }

    fs::path tempPath;
    int error = 0;
    const int fd = CreateTemporary(target, tempPath, error);
    if (fd < 0) {
        return Reason("create", path, error);
    }

    const char* failedAction = nullptr;
    if (!WriteAll(fd, static_cast<const unsigned char*>(data), size, error)) {
        failedAction = "write";
    }
    if (failedAction == nullptr && exists) {
        // Keeping the old file's permissions is best effort (it may have another owner).
        [[maybe_unused]] const int kept = ::fchmod(fd, existing.st_mode & 07777);
    }
    if (failedAction == nullptr && ::fsync(fd) != 0) {
        error = errno;
        failedAction = "write";
    }
    if (::close(fd) != 0 && failedAction == nullptr) {
        error = errno;
        failedAction = "write";
    }
    if (failedAction == nullptr && std::rename(tempPath.c_str(), target.c_str()) != 0) {
        error = errno;
        failedAction = "replace";
    }
    if (failedAction != nullptr) {
        ::unlink(tempPath.c_str());
        return Reason(failedAction, path, error);
    }
    SyncFolder(target);
    return std::nullopt;
}

}  // namespace tesvid
