// Reading files on Windows: the same promises as file_read_posix.cpp, with the wide (UTF-16) calls, so
// that any name the program is given reaches the disc whole.
#include <windows.h>

#include <cerrno>
#include <vector>

#include "platform/file_read.h"
#include "platform/wide_text.h"
#include "platform/windows_files.h"

namespace kmr::io {

using platform::Handle;

IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take, std::uint64_t limit) {
    const std::wstring wide = platform::widen(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return systemFailure(path, EISDIR);
    Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return platform::windowsFailure(path, ::GetLastError());
    LARGE_INTEGER size{};
    const bool disk = ::GetFileType(file.get()) == FILE_TYPE_DISK && ::GetFileSizeEx(file.get(), &size);
    if (disk && static_cast<std::uint64_t>(size.QuadPart) > limit) return tooLarge(path);
    sized(disk && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) : 0);
    std::vector<char> buffer(65536);
    std::uint64_t total = 0;
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF) break;  // the writer is done
            return platform::windowsFailure(path, err);
        }
        if (n == 0) break;
        // A stream (a pipe, a device) has no size: it is cut off as soon as it passes the limit.
        total += n;
        if (total > limit) return tooLarge(path);
        take(std::string_view(buffer.data(), n));
    }
    return {};
}

bool fileExists(const std::string& path) {
    const std::wstring wide = platform::widen(path);
    if (platform::isDeviceName(wide)) return true;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Here the whole file is held in a string: nothing is handed back before the end.
FileBuffer::~FileBuffer() = default;

IoResult FileBuffer::load(const std::string& path) {
    m_path = path;
    ReadResult r = readFile(path);
    if (!r.ok()) return r;
    m_copy = std::move(r.bytes);
    m_data = m_copy.data();
    m_size = m_copy.size();
    return {};
}

IoResult FileBuffer::reload() { return {}; }

IoResult FileBuffer::fill() { return {}; }

void FileBuffer::release(std::size_t) {}

}  // namespace kmr::io
