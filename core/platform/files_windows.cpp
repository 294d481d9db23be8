#include <windows.h>

#include <atomic>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace kmr::platform {
io::IoResult createUniqueFile(const std::string& folder, std::string_view prefix, std::string& path) {
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0;; ++attempt) {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        auto seed = static_cast<unsigned long long>(now.QuadPart) ^ (++counter * 0x9E3779B97F4A7C15ULL) ^
                    (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32);
        std::string name = folder + "/" + std::string(prefix);
        for (int i = 0; i < 6; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            name.push_back(kLetters[(seed >> 33) % kLetters.size()]);
        }
        const HANDLE h = ::CreateFileW(widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            path = name;
            return {};
        }
        if (::GetLastError() != ERROR_FILE_EXISTS || attempt == 100) return windowsFailure(name, ::GetLastError());
    }
}

io::IoResult moveOver(const std::string& from, const std::string& target) {
    const std::wstring source = widen(from);
    if (!::MoveFileExW(source.c_str(), widen(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = ::GetLastError();
        ::DeleteFileW(source.c_str());
        return windowsFailure(target, err);
    }
    return {};
}

void removeFile(const std::string& path) { ::DeleteFileW(widen(path).c_str()); }

}  // namespace kmr::platform
