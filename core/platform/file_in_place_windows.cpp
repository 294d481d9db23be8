// The write in place of file_in_place.cpp over a Windows handle.
#include <windows.h>

#include <algorithm>

#include "platform/file_write_internal.h"
#include "platform/wide_text.h"

namespace kmr::io {

IoResult overwriteExisting(const std::string& path, const std::string& target, const ByteProducer& produce,
                           int tempError) {
    const HANDLE h =
        ::CreateFileW(platform::widen(target).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return platform::windowsFailure(path, static_cast<DWORD>(tempError));
    const auto error = [](bool ok) { return ok ? 0 : static_cast<int>(::GetLastError()); };
    const auto seek = [h](std::uint64_t at) {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(at);
        return ::SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != 0;
    };
    const auto sizeOf = [&](std::uint64_t& size) {
        LARGE_INTEGER s{};
        const int e = error(::GetFileSizeEx(h, &s) != 0);
        size = static_cast<std::uint64_t>(s.QuadPart);
        return e;
    };
    const auto resize = [&](std::uint64_t size) { return error(seek(size) && ::SetEndOfFile(h) != 0); };
    const InPlaceFile file{
        sizeOf,
        [&](std::uint64_t at, char* into, std::size_t count) {
            DWORD got = 0;
            if (!seek(at) || !::ReadFile(h, into, static_cast<DWORD>(count), &got, nullptr))
                return static_cast<int>(::GetLastError());
            return got == count ? 0 : static_cast<int>(ERROR_HANDLE_EOF);
        },
        [&](std::uint64_t at, std::string_view bytes) {
            if (!seek(at)) return static_cast<int>(::GetLastError());
            while (!bytes.empty()) {
                DWORD written = 0;
                const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
                if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) return static_cast<int>(::GetLastError());
                bytes.remove_prefix(written);
            }
            return 0;
        },
        resize,
        // Growing the file takes its space at once: a disc that cannot hold it says so here.
        [&](std::uint64_t size) {
            std::uint64_t now = 0;
            const int e = sizeOf(now);
            return e != 0 || size <= now ? e : resize(size);
        },
        [&] { return error(::FlushFileBuffers(h) != 0); },
    };
    InPlaceOutcome outcome;
    try {
        outcome = overwriteInPlace(file, produce);
    } catch (...) {
        ::CloseHandle(h);  // the producer ran out of memory
        throw;
    }
    if (!::CloseHandle(h) && outcome.error == 0) outcome = {static_cast<int>(::GetLastError()), true};
    if (outcome.error == 0) return {};
    return inPlaceFailure(platform::windowsFailure(path, static_cast<DWORD>(outcome.error)), outcome.unfinished);
}

}  // namespace kmr::io
