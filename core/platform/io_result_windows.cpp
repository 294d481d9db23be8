// The failures of Windows' own error codes, in the Spanish texts of io_result.cpp.
#include <windows.h>

#include <cerrno>

#include "platform/io_result.h"
#include "platform/wide_text.h"

namespace kmr::platform {
namespace {

// The errno that stands for a system error code, so that both speak with the same Spanish texts.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE: return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_NOT_SAME_DEVICE: return EXDEV;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PARAMETER: return EINVAL;
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST: return ENODEV;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA: return EPIPE;
        default: return 0;
    }
}

}  // namespace

io::IoResult windowsFailure(const std::string& path, DWORD error) {
    const int err = errnoOf(error);
    if (err != 0) return io::systemFailure(path, err);
    return io::failureWithReason(path, io::IoStatus::Failed, 0, "Error del sistema " + std::to_string(error));
}

}  // namespace kmr::platform
