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

}  // namespace kmr::platform
