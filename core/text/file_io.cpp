#include "text/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace kmr::io {
namespace {

constexpr std::string_view kTempPrefix = ".kmr-";
// The name the ISO images of earlier versions were made under.
constexpr std::string_view kOldImagePrefix = ".kmr-iso-";
constexpr std::size_t kTempRandomChars = 6;  // as mkstemp's XXXXXX

IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason) {
    IoResult r;
    r.status = status;
    r.error = err;
    r.reason = std::move(reason);
    r.message = path + ": " + r.reason;
    return r;
}

IoResult tooLarge(const std::string& path) {
    return failureWithReason(path, IoStatus::TooLarge, EFBIG,
                             "El fichero es demasiado grande (más de " + std::to_string(kMaxInputBytes >> 20) +
                                 " MiB); ningún proyecto, plantilla ni autorun.inf ocupa tanto");
}

IoResult readOnly(const std::string& path, int err) {
    return failureWithReason(
        path, IoStatus::Failed, err,
        err == EROFS ? systemErrorText(EROFS) : "No tiene permiso para escribir en este fichero (es de solo lectura)");
}

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

// A folder that refuses new files may still hold a file that can be written: then the file is
// overwritten where it is, as a save without the temporary file. The space for the whole new content
// is reserved first, so that a full disk (or a file size limit) leaves the old contents whole.
bool tempRefusedByFolder(int err) { return err == EACCES || err == EPERM; }

IoResult overwriteExisting(const std::string& path, const std::string& target, const ByteProducer& produce,
                           int tempError) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return systemFailure(path, tempError);
    int err = 0;
    try {
        // A first run of the producer only counts the bytes.
        off_t size = 0;
        produce([&](std::string_view piece) {
            size += static_cast<off_t>(piece.size());
            return true;
        });
        struct stat before {};
        err = ::fstat(fd, &before) == 0 ? 0 : errno;
        if (err == 0 && size > 0) {
            err = ::posix_fallocate(fd, 0, size);
            // A reservation that failed half-way may have made the file longer; its contents are intact.
            struct stat after {};
            if (err != 0 && ::fstat(fd, &after) == 0 && after.st_size != before.st_size) {
                [[maybe_unused]] const int ignored = ::ftruncate(fd, before.st_size);
            }
        }
        if (err == 0) err = writeProduced(fd, produce);
        if (err == 0 && ::ftruncate(fd, size) != 0) err = errno;
    } catch (...) {
        ::close(fd);  // the producer ran out of memory
        throw;
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (err != 0) {
        ::close(fd);
        return systemFailure(path, err);
    }
    if (::close(fd) != 0) return systemFailure(path, errno);
    return {};
}

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
    std::string name = folder + "/" + std::string(kTempPrefix);
    for (std::size_t i = 0; i < kTempRandomChars; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        name.push_back(kLetters[(seed >> 33) % kLetters.size()]);
    }
    return name;
}

bool isTempName(std::string_view name) {
    const std::size_t prefix = name.starts_with(kOldImagePrefix) ? kOldImagePrefix.size() : kTempPrefix.size();
    if (name.size() != prefix + kTempRandomChars || !name.starts_with(kTempPrefix)) return false;
    for (const char c : name.substr(prefix)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
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
    file.tempPath = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
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
        file.tempPath = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
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

// A folder being read, closed however the reading ends (a list that cannot grow throws).
using OpenFolder = std::unique_ptr<DIR, int (*)(DIR*)>;

OpenFolder openFolder(const char* path) { return OpenFolder(::opendir(path), ::closedir); }

struct StaleCandidate {
    std::string name;
    dev_t dev;
    ino_t ino;
    std::time_t modified;
    bool held = false;
};

// Marks the candidates that some process holds open. False when no process could be inspected;
// `allInspected` is false when the descriptors of some process (another user's) could not be read.
bool markHeld(std::vector<StaleCandidate>& candidates, bool& allInspected) {
    const OpenFolder proc = openFolder("/proc");
    if (proc == nullptr) return false;
    allInspected = true;
    while (const dirent* p = ::readdir(proc.get())) {
        if (p->d_name[0] < '0' || p->d_name[0] > '9') continue;
        const std::string fdFolder = std::string("/proc/") + p->d_name + "/fd";
        const OpenFolder fds = openFolder(fdFolder.c_str());
        if (fds == nullptr) {
            if (errno != ENOENT) allInspected = false;  // a process that ended is no loss
            continue;
        }
        while (const dirent* f = ::readdir(fds.get())) {
            if (f->d_name[0] == '.') continue;
            struct stat st {};
            if (::fstatat(::dirfd(fds.get()), f->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            for (auto& c : candidates) {
                if (c.dev == st.st_dev && c.ino == st.st_ino) c.held = true;
            }
        }
    }
    return true;
}

// Removes the temporary files that writes killed before their rename left in the folder: regular
// files of this user named like ours that no process holds open. When some process could not be
// inspected, a file also has to be a minute old.
void removeStaleTemporaries(const std::string& folder) {
    const OpenFolder dir = openFolder(folder.c_str());
    if (dir == nullptr) return;
    std::vector<StaleCandidate> candidates;
    while (const dirent* e = ::readdir(dir.get())) {
        if (!isTempName(e->d_name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        candidates.push_back({e->d_name, st.st_dev, st.st_ino, st.st_mtime});
    }
    bool allInspected = false;
    if (!candidates.empty() && markHeld(candidates, allInspected)) {
        const std::time_t now = std::time(nullptr);
        for (const auto& c : candidates) {
            if (c.held || (!allInspected && now - c.modified < 60)) continue;
            struct stat st {};
            // Still the same file: a name can be taken again between the look and the removal.
            if (::fstatat(::dirfd(dir.get()), c.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_ino == c.ino &&
                st.st_dev == c.dev) {
                ::unlinkat(::dirfd(dir.get()), c.name.c_str(), 0);
            }
        }
    }
}

}  // namespace

IoResult systemFailure(const std::string& path, int err) {
    return failureWithReason(path, err == ENOENT ? IoStatus::NotFound : IoStatus::Failed, err, systemErrorText(err));
}

std::string systemErrorText(int err) {
    switch (err) {
        case ENOENT: return "No existe el fichero o la carpeta";
        case EACCES:
        case EPERM: return "Permiso denegado";
        case EISDIR: return "Es una carpeta";
        case ENOTDIR: return "Una parte de la ruta no es una carpeta";
        case ENOSPC: return "No queda espacio en el disco";
        case EDQUOT: return "Se ha superado la cuota de disco";
        case EROFS: return "El disco es de solo lectura";
        case ENOMEM: return "No hay memoria suficiente";
        case EEXIST: return "El fichero ya existe";
        case ENAMETOOLONG: return "El nombre es demasiado largo";
        case ELOOP: return "Hay demasiados enlaces simbólicos en la ruta";
        case EIO: return "Error de entrada/salida";
        case EMFILE:
        case ENFILE: return "Hay demasiados ficheros abiertos";
        case EFBIG: return "El fichero es demasiado grande";
        case ETXTBSY:
        case EBUSY: return "El fichero está en uso";
        case ENXIO:
        case ENODEV: return "No existe el dispositivo";
        case EXDEV: return "No se puede mover entre discos distintos";
        case EINVAL: return "Argumento no válido";
        case EPIPE: return "El programa que leía la tubería la cerró antes de terminar";
        default: return std::strerror(err);
    }
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// Reads the whole file: `sized` is told the size the system states for it (0 when none), then `take`
// gets its bytes in order, in pieces of up to 64 KiB.
template <class Sized, class Take>
IoResult readPieces(const std::string& path, std::uint64_t limit, Sized&& sized, Take&& take) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemFailure(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return systemFailure(path, EISDIR);
    }
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        return tooLarge(path);
    }
    std::uint64_t total = 0;
    bool over = false;
    int err = 0;
    // `sized` and `take` may run out of memory: the file is closed before the exception goes on.
    try {
        sized(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                err = errno;
                break;
            }
            total += static_cast<std::uint64_t>(n);
            if (total > limit) {
                over = true;
                break;
            }
            take(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    if (over) return tooLarge(path);
    if (err != 0) return systemFailure(path, err);
    return {};
}

}  // namespace

ReadResult readFile(const std::string& path, std::uint64_t limit) {
    ReadResult r;
    static_cast<IoResult&>(r) = readPieces(
        path, limit,
        [&](std::size_t size) {
            if (size > 0) r.bytes.reserve(size);
        },
        [&](std::string_view piece) { r.bytes.append(piece); });
    if (!r.ok()) r.bytes.clear();
    return r;
}

IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take) {
    return readPieces(path, kMaxInputBytes, sized, take);
}

FileBuffer::~FileBuffer() {
    if (m_mapped > 0) ::munmap(m_data, m_mapped);
}

IoResult FileBuffer::load(const std::string& path) {
    m_path = path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemFailure(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return systemFailure(path, err);
    }
    ::close(fd);
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > kMaxInputBytes) return tooLarge(path);
    if (!S_ISREG(st.st_mode) || st.st_size <= 0) {
        // A stream has no size to map: it is read into a string, which is not handed back.
        ReadResult r = readFile(path);
        if (!r.ok()) return r;
        m_copy = std::move(r.bytes);
        m_data = m_copy.data();
        m_size = m_copy.size();
        return {};
    }
    m_size = static_cast<std::size_t>(st.st_size);
    void* mapping = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return systemFailure(path, errno);
    m_data = static_cast<char*>(mapping);
    m_mapped = m_size;
    return fill();
}

IoResult FileBuffer::reload() {
    if (m_mapped == 0 || m_released == 0) return {};
    return fill();
}

IoResult FileBuffer::fill() {
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemFailure(m_path, errno);
    std::size_t done = 0;
    while (done < m_size) {
        const ssize_t n = ::pread(fd, m_data + done, m_size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A file that shrinks while it is read cannot be read whole.
            const int err = n < 0 ? errno : EIO;
            ::close(fd);
            return systemFailure(m_path, err);
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    m_released = 0;
    return {};
}

void FileBuffer::release(std::size_t upTo) {
    if (m_mapped == 0) return;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(upTo, m_size) / page * page;
    if (end <= m_released) return;
    ::madvise(m_data + m_released, end - m_released, MADV_DONTNEED);
    m_released = end;
}

IoResult writeFileAtomic(const std::string& path, std::string_view bytes) {
    return writeFileAtomic(path, [bytes](const std::function<bool(std::string_view)>& write) { write(bytes); });
}

IoResult writeFileAtomic(const std::string& path, const ByteProducer& produce) {
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
        return overwriteExisting(path, target, produce, err);
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
        staged.result = failureWithReason(path, IoStatus::Failed, EINVAL,
                                          "No es un fichero normal (es un dispositivo, una tubería o un socket); "
                                          "escriba la imagen en un fichero");
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
    std::string temp = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
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
