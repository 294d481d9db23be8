#include <windows.h>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace kmr::platform {

std::string folderUnreadable(const std::string& folder) {
    std::wstring pattern = widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
        return {};
    }
    // The root of an empty drive has no entry at all, not even ".".
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_NO_MORE_FILES) return {};
    return windowsFailure(folder, err).reason;
}

namespace {

// The volume and the file index of what a path leads to (links followed), as the system numbers them.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = ::CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::GetFileInformationByHandle(file, &info) != 0;
    ::CloseHandle(file);
    return ok;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return fileIdentity(a, first) && fileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace kmr::platform
