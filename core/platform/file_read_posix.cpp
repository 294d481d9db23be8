// Reading files on POSIX systems: in pieces, or into a buffer that gives its pages back, within the size
// limit.
#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace kmr::io {

// The bytes are handed to `take` in pieces of up to 64 KiB.
IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take, std::uint64_t limit) {
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

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace kmr::io
