// Writing files: a replacement that never leaves half a file (a temporary file renamed over the
// target), the staged file that a caller fills itself, writing in place where no temporary file can
// be made, and the removal of temporary files that killed writes left behind.
#include "platform/file_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/file_write_internal.h"

namespace kmr::io {
namespace {

// A regular file this user may not write is left alone, as a direct write would leave it. The check
// is the system's own for the effective user, so root may still replace a file it could write.
int writeRefusal(const std::string& target) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return 0;
    return errno == EACCES || errno == EPERM || errno == EROFS ? errno : 0;
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

// Hands the producer's pieces to the file: errno when a write failed, else 0.
int writeProduced(int fd, const ByteProducer& produce) {
    int err = 0;
    produce([&](std::string_view piece) {
        if (err == 0 && !writeAll(fd, piece)) err = errno != 0 ? errno : EIO;
        return err == 0;
    });
    return err;
}

// A folder that refuses new files may still hold a file that can be written: then the file can only be
// overwritten where it is, which the caller has to allow.
bool tempRefusedByFolder(int err) { return err == EACCES || err == EPERM; }

// The path a chain of symbolic links leads to (the path itself when it is no link), or an errno.
int followLinks(std::string path, std::string& resolved) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = std::move(path);
            return 0;
        }
        std::string link(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
            if (n < 0) return errno;
            if (static_cast<std::size_t>(n) < link.size()) {
                link.resize(static_cast<std::size_t>(n));
                break;
            }
            link.resize(link.size() * 2);
        }
        if (link.empty()) return ENOENT;
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    return ELOOP;
}

// A device, a FIFO or a socket is written as it is: replacing it would replace the device itself. A
// FIFO is opened without waiting for a reader, and a reader that goes away is an EPIPE failure: the
// SIGPIPE it raises is held back while this thread writes and then taken, so it ends no program.
IoResult writeInPlace(const std::string& path, const std::string& target, bool fifo, const ByteProducer& produce) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (fifo ? O_NONBLOCK : 0));
    if (fd < 0 && fifo && errno == ENXIO) {
        return failureWithReason(path, IoStatus::Failed, ENXIO,
                                 "Ningún programa está leyendo de esta tubería (FIFO); abra primero el que la lee");
    }
    if (fd < 0) return systemFailure(path, errno);
    if (fifo) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    sigset_t pipeSignal;
    sigset_t previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const auto restoreSignals = [&](int err) {
        if (err == EPIPE) {
            const struct timespec now {};
            while (::sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    };
    int err = 0;
    try {
        err = writeProduced(fd, produce);
    } catch (...) {
        restoreSignals(0);
        ::close(fd);  // the producer ran out of memory
        throw;
    }
    restoreSignals(err);
    if (err != 0) {
        ::close(fd);
        return systemFailure(path, err);
    }
    if (::close(fd) != 0) return systemFailure(path, errno);
    return {};
}

std::string randomTempName(const std::string& folder) {
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter = 0;
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<unsigned long long>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    std::string name = folder + "/" + std::string(kTempFilePrefix);
    for (std::size_t i = 0; i < kTempFileRandomChars; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        name.push_back(kLetters[(seed >> 33) % kLetters.size()]);
    }
    return name;
}

// An open file that is given its name only when it is complete.
struct PendingFile {
    int fd = -1;
    bool unnamed = false;  // an O_TMPFILE file, linked in at the end
    std::string tempPath;  // the name it has (mkstemp) or is given before the rename
};

int openPending(const std::string& folder, PendingFile& file) {
#ifdef O_TMPFILE
    file.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (file.fd >= 0) {
        file.unnamed = true;
        return 0;
    }
    // Older kernels and some file systems have no unnamed files: fall back to a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
#endif
    file.tempPath = folder + "/" + std::string(kTempFilePrefix) + "XXXXXX";
    file.fd = ::mkstemp(file.tempPath.data());
    return file.fd < 0 ? errno : 0;
}

// Gives an unnamed file the name `name`; EEXIST when the name is taken.
int linkUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    int err = errno;
#ifdef AT_EMPTY_PATH
    if (err != EEXIST && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (err != EEXIST) err = errno;
#endif
    return err;
}

mode_t currentUmask() {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

// The whole write of a regular file: 0 or an errno. `linkFailed` tells that only naming the unnamed
// file failed, so that the caller may try again with a named temporary file.
int writeRegular(const std::string& target, const struct stat* existing, const ByteProducer& produce, bool forceNamed,
                 bool& linkFailed) {
    const std::string folder = folderOf(target);
    PendingFile file;
    int err = 0;
    if (forceNamed) {
        file.tempPath = folder + "/" + std::string(kTempFilePrefix) + "XXXXXX";
        file.fd = ::mkstemp(file.tempPath.data());
        err = file.fd < 0 ? errno : 0;
    } else {
        err = openPending(folder, file);
    }
    if (err != 0) return err;
    const auto abandon = [&](int e) {
        ::close(file.fd);
        if (!file.unnamed) ::unlink(file.tempPath.c_str());
        return e;
    };
    // The producer, or the naming of the file, may run out of memory: the file goes before the
    // exception goes on.
    try {
        // Keep the owner (where the process may) and the permissions of the file being replaced; a new
        // file gets the usual ones.
        if (existing != nullptr && ::fchown(file.fd, existing->st_uid, existing->st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(file.fd, static_cast<uid_t>(-1), existing->st_gid);
        }
        const mode_t mode = existing != nullptr ? (existing->st_mode & 07777) : (0666 & ~currentUmask());
        if (::fchmod(file.fd, mode) != 0) return abandon(errno);
        if (const int e = writeProduced(file.fd, produce); e != 0) return abandon(e);
        if (::fsync(file.fd) != 0) return abandon(errno);

        if (file.unnamed) {
            // A new target is linked in under its own name at once; an existing one needs a temporary
            // name for the rename, which it keeps only for the moment between the two calls.
            if (existing == nullptr) {
                err = linkUnnamed(file.fd, target);
                if (err == 0) return ::close(file.fd) != 0 ? errno : 0;
                if (err != EEXIST) {
                    ::close(file.fd);
                    linkFailed = true;
                    return err;
                }
            }
            for (int attempt = 0;; ++attempt) {
                file.tempPath = randomTempName(folder);
                err = linkUnnamed(file.fd, file.tempPath);
                if (err == 0) break;
                if (err != EEXIST || attempt == 100) {
                    ::close(file.fd);
                    linkFailed = true;
                    return err;
                }
            }
            file.unnamed = false;
        }
        // The file stays open until it has its final name, so that no other save takes it for the
        // leftover of a killed one.
        if (::rename(file.tempPath.c_str(), target.c_str()) != 0) return abandon(errno);
        return ::close(file.fd) != 0 ? errno : 0;
    } catch (...) {
        abandon(0);
        throw;
    }
}

}  // namespace

IoResult writeFileAtomic(const std::string& path, const ByteProducer& produce, WriteOptions options) {
    std::string target;
    if (const int err = followLinks(path, target); err != 0) return systemFailure(path, err);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return systemFailure(path, EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) return writeInPlace(path, target, S_ISFIFO(existing.st_mode), produce);
    if (exists) {
        if (const int refused = writeRefusal(target); refused != 0) return readOnly(path, refused);
    }

    bool linkFailed = false;
    int err = writeRegular(target, exists ? &existing : nullptr, produce, false, linkFailed);
    // Unnamed files that cannot be given a name (no /proc, say) leave the named way.
    if (err != 0 && linkFailed) err = writeRegular(target, exists ? &existing : nullptr, produce, true, linkFailed);
    if (err != 0 && exists && tempRefusedByFolder(err) && ::access(folderOf(target).c_str(), W_OK) != 0)
        return options.inPlace ? overwriteExisting(path, target, produce, err) : inPlaceOnly(path);
    if (err != 0) return systemFailure(path, err);
    removeStaleTemporaries(folderOf(target));
    return {};
}

StagedFile stageFile(const std::string& path) {
    StagedFile staged;
    if (const int err = followLinks(path, staged.target); err != 0) {
        staged.result = systemFailure(path, err);
        return staged;
    }
    struct stat existing {};
    staged.existed = ::stat(staged.target.c_str(), &existing) == 0;
    if (staged.existed && S_ISDIR(existing.st_mode)) {
        staged.result = systemFailure(path, EISDIR);
        return staged;
    }
    if (staged.existed && !S_ISREG(existing.st_mode)) {
        staged.result = notARegularFile(path);
        return staged;
    }
    if (staged.existed) {
        if (const int refused = writeRefusal(staged.target); refused != 0) {
            staged.result = readOnly(path, refused);
            return staged;
        }
    }
    const std::string folder = folderOf(staged.target);
    removeStaleTemporaries(folder);
    std::string temp = folder + "/" + std::string(kTempFilePrefix) + "XXXXXX";
    staged.fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (staged.fd < 0) {
        staged.result = systemFailure(path, errno);
        return staged;
    }
    staged.tempPath = std::move(temp);
    staged.mode = staged.existed ? (existing.st_mode & 07777) : (0666 & ~currentUmask());
    if (staged.existed) {
        staged.uid = existing.st_uid;
        staged.gid = existing.st_gid;
    }
    return staged;
}

IoResult commitStagedFile(const StagedFile& staged, const std::string& path) {
    const auto fail = [&](int err) {
        discardStagedFile(staged);
        return systemFailure(path, err);
    };
    // The file may have been written through its name: its own descriptor still reaches it.
    if (staged.existed && ::fchown(staged.fd, static_cast<uid_t>(staged.uid), static_cast<gid_t>(staged.gid)) != 0) {
        [[maybe_unused]] const int ignored =
            ::fchown(staged.fd, static_cast<uid_t>(-1), static_cast<gid_t>(staged.gid));
    }
    if (::fchmod(staged.fd, static_cast<mode_t>(staged.mode)) != 0) return fail(errno);
    if (::fsync(staged.fd) != 0) return fail(errno);
    if (::rename(staged.tempPath.c_str(), staged.target.c_str()) != 0) return fail(errno);
    if (::close(staged.fd) != 0) return systemFailure(path, errno);
    return {};
}

void discardStagedFile(const StagedFile& staged) {
    if (staged.tempPath.empty()) return;
    ::unlink(staged.tempPath.c_str());
    ::close(staged.fd);
}

}  // namespace kmr::io
