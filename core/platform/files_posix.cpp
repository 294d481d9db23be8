#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "platform/files.h"
#include "platform/io_result.h"

namespace kmr::platform {

std::string folderUnreadable(const std::string& folder) {
    int err = 0;
    if (DIR* dir = ::opendir(folder.c_str())) {
        ::closedir(dir);
        if (::faccessat(AT_FDCWD, folder.c_str(), R_OK | X_OK, AT_EACCESS) != 0) err = errno;
    } else {
        err = errno;
    }
    return err == 0 ? std::string() : io::systemErrorText(err);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace kmr::platform
