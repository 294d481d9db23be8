// The write in place of file_in_place.cpp over a POSIX file descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "platform/file_write_internal.h"

namespace kmr::io {

IoResult overwriteExisting(const std::string& path, const std::string& target, const ByteProducer& produce,
                           int tempError) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return systemFailure(path, tempError);
    const auto result = [](auto r) { return r < 0 ? errno : 0; };
    const InPlaceFile file{
        [&](std::uint64_t& size) {
            struct stat st {};
            const int e = result(::fstat(fd, &st));
            size = static_cast<std::uint64_t>(st.st_size);
            return e;
        },
        [&](std::uint64_t at, char* into, std::size_t count) {
            const ssize_t n = ::pread(fd, into, count, static_cast<off_t>(at));
            return n < 0 ? errno : (static_cast<std::size_t>(n) == count ? 0 : EIO);
        },
        [&](std::uint64_t at, std::string_view bytes) {
            while (!bytes.empty()) {
                const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) return errno;
                bytes.remove_prefix(static_cast<std::size_t>(n));
                at += static_cast<std::uint64_t>(n);
            }
            return 0;
        },
        [&](std::uint64_t size) { return result(::ftruncate(fd, static_cast<off_t>(size))); },
        [&](std::uint64_t size) { return ::posix_fallocate(fd, 0, static_cast<off_t>(size)); },
        [&] { return result(::fsync(fd)); },
    };
    InPlaceOutcome outcome;
    try {
        outcome = overwriteInPlace(file, produce);
    } catch (...) {
        ::close(fd);  // the producer ran out of memory
        throw;
    }
    if (::close(fd) != 0 && outcome.error == 0) outcome = {errno, true};
    if (outcome.error == 0) return {};
    return inPlaceFailure(systemFailure(path, outcome.error), outcome.unfinished);
}

}  // namespace kmr::io
