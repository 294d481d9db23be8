#pragma once
// UTF-8 and the UTF-16 of Windows' wide functions, and the failures they report. Only the Windows
// side of the platform layer uses these.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/io_result.h"

namespace kmr::platform {

inline std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

inline std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

// The failure of an operation on `path` with the system error code `error`, in the words of
// io::systemFailure (io_result_windows.cpp).
io::IoResult windowsFailure(const std::string& path, DWORD error);

}  // namespace kmr::platform
