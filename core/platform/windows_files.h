#pragma once
// What the Windows side of the file layer shares: a handle closed however its block ends, and the
// names that Windows gives to devices. Only the *_windows.cpp files of the file layer include this.

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <string>
#include <string_view>

namespace kmr::platform {

// Closes a handle however the block it belongs to ends.
class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }
    // The error of the close itself, or 0.
    DWORD close() {
        if (!valid()) return 0;
        const BOOL ok = ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
        return ok ? 0 : ::GetLastError();
    }

private:
    HANDLE m_h;
};

// The last part of a path: what follows its last "\", "/" or drive colon.
inline std::wstring nameOf(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

// A name that Windows gives to a device in every folder (NUL, CON, COM1...), whatever extension
// follows, or a path of the device space (\\.\...): written as it is, never replaced.
inline bool isDeviceName(const std::wstring& path) {
    if (path.starts_with(L"\\\\.\\") || path.starts_with(L"//./")) return true;
    std::wstring stem = nameOf(path);
    stem = stem.substr(0, stem.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(std::towupper(c));
    static constexpr std::wstring_view kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices)) return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1' &&
           stem[3] <= L'9';
}

}  // namespace kmr::platform
