#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "platform/files.h"

namespace kmr::platform {

io::IoResult createUniqueFile(const std::string& folder, std::string_view prefix, std::string& path) {
    std::string temp = folder + "/" + std::string(prefix) + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return io::systemFailure(temp, errno);
    ::close(fd);
    path = temp;
    return {};
}

io::IoResult moveOver(const std::string& from, const std::string& target) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(from.c_str(), 0666 & ~mask) != 0 || ::rename(from.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(from.c_str());
        return io::systemFailure(target, err);
    }
    return {};
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace kmr::platform
