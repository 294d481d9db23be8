#include "text/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kmr::io {
namespace {

IoResult failure(const std::string& path, int err) {
    IoResult r;
    r.status = err == ENOENT ? IoStatus::NotFound : IoStatus::Failed;
    r.message = path + ": " + std::strerror(err);
    return r;
}

std::string folderOf(const std::string& path) {
    const auto pos = path.find_last_of('/');
    if (pos == std::string::npos) return ".";
    if (pos == 0) return "/";
    return path.substr(0, pos);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A folder that refuses new files may still hold a file that can be written: then the file is
// overwritten where it is, as a save without the temporary file. What fails half-way is reported
// like any other failure; the old contents cannot be kept in this case.
bool tempRefusedByFolder(int err) { return err == EACCES || err == EPERM; }

IoResult overwriteExisting(const std::string& path, std::string_view bytes, int tempError) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return failure(path, tempError);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return failure(path, tempError);
    const bool written = ::ftruncate(fd, 0) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    if (!written) {
        ::close(fd);
        return failure(path, err);
    }
    if (::close(fd) != 0) return failure(path, errno);
    return {};
}

}  // namespace

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

ReadResult readFile(const std::string& path) {
    ReadResult r;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        static_cast<IoResult&>(r) = failure(path, errno);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        static_cast<IoResult&>(r) = failure(path, EISDIR);
        return r;
    }
    if (st.st_size > 0) r.bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            r.bytes.clear();
            static_cast<IoResult&>(r) = failure(path, err);
            return r;
        }
        r.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return r;
}

IoResult writeFileAtomic(const std::string& path, std::string_view bytes) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return failure(path, EISDIR);
    const bool targetExists = ::stat(path.c_str(), &target) == 0;

    std::string tmp = folderOf(path) + "/.kmr-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        const int err = errno;
        if (targetExists && tempRefusedByFolder(err)) return overwriteExisting(path, bytes, err);
        return failure(path, err);
    }

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return failure(path, err);
    };
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    const mode_t mode = targetExists ? (target.st_mode & 07777) : 0666 & ~[] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    if (::fchmod(fd, mode) != 0) return abandon(errno);
    if (!writeAll(fd, bytes)) return abandon(errno);
    if (::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return failure(path, err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return failure(path, err);
    }
    return {};
}

}  // namespace kmr::io
