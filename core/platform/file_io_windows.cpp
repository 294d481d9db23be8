// Whole-file reading and safe whole-file writing on Windows: the same promises as on the other
// systems, with the wide (UTF-16) calls, so that any name the program is given reaches the disc whole.
// The failures' Spanish texts are text/file_io.cpp's, which both systems build.
#include <windows.h>

#include <io.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <cwctype>
#include <vector>

#include "platform/wide_text.h"
#include "text/file_io.h"
#include "text/file_io_internal.h"

namespace kmr::io {
namespace {

constexpr std::wstring_view kTempPrefix = L".kmr-";
constexpr std::size_t kTempRandomChars = 6;

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

IoResult readOnly(const std::string& path, int err) {
    return failureWithReason(
        path, IoStatus::Failed, err,
        err == EROFS ? systemErrorText(EROFS) : "No tiene permiso para escribir en este fichero (es de solo lectura)");
}

// An existing file this user may not write (marked read-only, or denied by its permissions) is left
// alone, as a direct write would leave it: replacing it would also lose the mark with the contents.
// A file that another program holds open is no refusal: the replacement says what happens to it.
int writeRefusal(const std::wstring& target, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
    const HANDLE h =
        ::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return 0;
    }
    const DWORD err = ::GetLastError();
    if (err == ERROR_WRITE_PROTECT) return EROFS;
    return err == ERROR_ACCESS_DENIED ? EACCES : 0;
}

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

std::wstring folderOf(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\/");
    if (pos == std::wstring::npos) {
        // "C:name" lies in the current folder of drive C.
        if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
        return L".";
    }
    if (pos == 0 || (pos == 2 && path[1] == L':')) return path.substr(0, pos + 1);
    return path.substr(0, pos);
}

std::wstring nameOf(const std::wstring& path) {
    const auto pos = path.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

// A name that Windows gives to a device in every folder (NUL, CON, COM1...), whatever extension
// follows, or a path of the device space (\\.\...): written as it is, never replaced.
bool isDeviceName(const std::wstring& path) {
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

bool writeAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Hands the producer's pieces to the file: the system's error when a write failed, else 0.
DWORD writeProduced(HANDLE h, const ByteProducer& produce) {
    DWORD err = 0;
    produce([&](std::string_view piece) {
        if (err == 0 && !writeAll(h, piece)) err = std::max<DWORD>(::GetLastError(), ERROR_WRITE_FAULT);
        return err == 0;
    });
    return err;
}

// Writes into an existing file or device as it is, from its start.
IoResult writeInPlace(const std::string& path, const std::wstring& target, DWORD disposition,
                      const ByteProducer& produce) {
    Handle file(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return platform::windowsFailure(path, ::GetLastError());
    DWORD err = writeProduced(file.get(), produce);
    if (err == 0 && disposition == TRUNCATE_EXISTING && !::FlushFileBuffers(file.get())) err = ::GetLastError();
    const DWORD closed = file.close();
    if (err == 0) err = closed;
    return err == 0 ? IoResult{} : platform::windowsFailure(path, err);
}

std::wstring randomTempName(const std::wstring& folder) {
    static constexpr std::wstring_view kLetters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter = 0;
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    auto seed = static_cast<unsigned long long>(now.QuadPart) ^
                (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    std::wstring name = folder;
    if (!name.empty() && name.back() != L'\\' && name.back() != L'/' && name.back() != L':') name += L'\\';
    name += kTempPrefix;
    for (std::size_t i = 0; i < kTempRandomChars; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        name.push_back(kLetters[(seed >> 33) % kLetters.size()]);
    }
    return name;
}

bool isTempName(std::wstring_view name) {
    if (name.size() != kTempPrefix.size() + kTempRandomChars || !name.starts_with(kTempPrefix)) return false;
    return std::all_of(name.begin() + kTempPrefix.size(), name.end(), [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
    });
}

// The temporary file is written, flushed and closed, then moved over the target in one step. While it
// is open no one else may delete it, which is how a later save tells a live write from a killed one.
DWORD writeReplacing(const std::wstring& target, const ByteProducer& produce) {
    const std::wstring folder = folderOf(target);
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = randomTempName(folder);
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
        if (h == INVALID_HANDLE_VALUE && (::GetLastError() != ERROR_FILE_EXISTS || attempt == 100))
            return ::GetLastError();
    }
    Handle file(h);
    const auto abandon = [&](DWORD e) {
        file.close();
        ::DeleteFileW(temp.c_str());
        return e;
    };
    try {
        if (const DWORD e = writeProduced(file.get(), produce); e != 0) return abandon(e);
        if (!::FlushFileBuffers(file.get())) return abandon(::GetLastError());
        if (const DWORD e = file.close(); e != 0) return abandon(e);
        if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return abandon(::GetLastError());
        return 0;
    } catch (...) {
        abandon(0);  // the producer ran out of memory
        throw;
    }
}

// Removes what killed writes left in the folder: files named like ours, a minute old, that no one
// holds open (a live write's file cannot be deleted).
void removeStaleTemporaries(const std::wstring& folder) {
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
        pattern += L'\\';
    const std::wstring prefix = pattern;
    pattern += std::wstring(kTempPrefix) + L"*";
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME nowFile{};
    ::GetSystemTimeAsFileTime(&nowFile);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    constexpr unsigned long long kMinute = 60ULL * 10'000'000ULL;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !isTempName(found.cFileName)) continue;
        if (ticks(nowFile) - ticks(found.ftLastWriteTime) < kMinute) continue;
        ::DeleteFileW((prefix + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

template <class Sized, class Take>
IoResult readPieces(const std::string& path, std::uint64_t limit, Sized&& sized, Take&& take) {
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

}  // namespace

bool fileExists(const std::string& path) {
    const std::wstring wide = platform::widen(path);
    if (isDeviceName(wide)) return true;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ReadResult readFile(const std::string& path, std::uint64_t limit) {
    ReadResult r;
    static_cast<IoResult&>(r) = readPieces(
        path, limit,
        [&](std::size_t size) {
            if (size > 0) r.bytes.reserve(size);
        },
        [&](std::string_view piece) { r.bytes.append(piece); });
    if (!r.ok()) r.bytes.clear();
    return r;
}

IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take) {
    return readPieces(path, kMaxInputBytes, sized, take);
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

IoResult writeFileAtomic(const std::string& path, std::string_view bytes, WriteOptions options) {
    return writeFileAtomic(
        path, [bytes](const std::function<bool(std::string_view)>& write) { write(bytes); }, options);
}

IoResult writeFileAtomic(const std::string& path, const ByteProducer& produce, WriteOptions options) {
    const std::wstring target = platform::widen(path);
    if (isDeviceName(target)) return writeInPlace(path, target, OPEN_EXISTING, produce);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return systemFailure(path, EISDIR);
    if (exists) {
        if (const int refused = writeRefusal(target, attributes); refused != 0) return readOnly(path, refused);
    }

    const DWORD err = writeReplacing(target, produce);
    // A folder that refuses new files may still hold a file that can be written: then it can only be
    // overwritten where it is, which the caller has to allow.
    if (err == ERROR_ACCESS_DENIED && exists)
        return options.inPlace ? platform::overwriteExisting(path, target, produce, err) : inPlaceOnly(path);
    if (err != 0) return platform::windowsFailure(path, err);
    removeStaleTemporaries(folderOf(target));
    return {};
}

// The staged file is held open, without leave to delete it, until it is committed: a later write in
// the folder then sees that it is alive. The handle asks for no access to the contents, so that the
// program that writes the file by its name may open it however it shares it. The handle is kept as a
// C runtime descriptor in `fd`.
StagedFile stageFile(const std::string& path) {
    StagedFile staged;
    staged.target = path;
    const std::wstring target = platform::widen(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    staged.existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (staged.existed && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        staged.result = systemFailure(path, EISDIR);
        return staged;
    }
    if (isDeviceName(target)) {
        staged.result = failureWithReason(path, IoStatus::Failed, EINVAL,
                                          "No es un fichero normal (es un dispositivo, una tubería o un socket); "
                                          "escriba la imagen en un fichero");
        return staged;
    }
    if (staged.existed) {
        if (const int refused = writeRefusal(target, attributes); refused != 0) {
            staged.result = readOnly(path, refused);
            return staged;
        }
    }
    const std::wstring folder = folderOf(target);
    removeStaleTemporaries(folder);
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = randomTempName(folder);
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && (::GetLastError() != ERROR_FILE_EXISTS || attempt == 100)) {
            staged.result = platform::windowsFailure(path, ::GetLastError());
            return staged;
        }
    }
    ::CloseHandle(h);
    h = ::CreateFileW(temp.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        staged.result = platform::windowsFailure(path, ::GetLastError());
        ::DeleteFileW(temp.c_str());
        return staged;
    }
    staged.fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
    if (staged.fd < 0) {
        ::CloseHandle(h);
        ::DeleteFileW(temp.c_str());
        staged.result = systemFailure(path, EMFILE);
        return staged;
    }
    staged.tempPath = platform::narrow(temp);
    return staged;
}

IoResult commitStagedFile(const StagedFile& staged, const std::string& path) {
    // The holding handle does not let the file be renamed: it is closed first.
    ::_close(staged.fd);
    const std::wstring temp = platform::widen(staged.tempPath);
    DWORD err = 0;
    {
        Handle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !::FlushFileBuffers(file.get())) err = ::GetLastError();
    }
    if (err == 0 && !::MoveFileExW(temp.c_str(), platform::widen(staged.target).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        err = ::GetLastError();
    if (err == 0) return {};
    ::DeleteFileW(temp.c_str());
    return platform::windowsFailure(path, err);
}

void discardStagedFile(const StagedFile& staged) {
    if (staged.tempPath.empty()) return;
    ::_close(staged.fd);
    ::DeleteFileW(platform::widen(staged.tempPath).c_str());
}

}  // namespace kmr::io

namespace kmr::platform {

io::IoResult windowsFailure(const std::string& path, DWORD error) {
    const int err = io::errnoOf(error);
    if (err != 0) return io::systemFailure(path, err);
    io::IoResult r;
    r.status = io::IoStatus::Failed;
    r.reason = "Error del sistema " + std::to_string(error);
    r.message = path + ": " + r.reason;
    return r;
}

}  // namespace kmr::platform
