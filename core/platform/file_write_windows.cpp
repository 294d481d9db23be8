// Safe whole-file writing on Windows: the same promises as file_write_posix.cpp, with the wide (UTF-16)
// calls, so that any name the program is given reaches the disc whole.
#include <windows.h>

#include <io.h>
#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/file_write_internal.h"
#include "platform/wide_text.h"
#include "platform/windows_files.h"

namespace kmr::io {
namespace {

using platform::Handle;

// The temporary files' names of file_write_internal.h, in the wide form of the calls.
constexpr std::wstring_view kTempPrefix = L".kmr-";
static_assert(std::equal(kTempPrefix.begin(), kTempPrefix.end(), kTempFilePrefix.begin(), kTempFilePrefix.end()));
constexpr std::size_t kTempRandomChars = kTempFileRandomChars;

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

}  // namespace

IoResult writeFileAtomic(const std::string& path, const ByteProducer& produce, WriteOptions options) {
    const std::wstring target = platform::widen(path);
    if (platform::isDeviceName(target)) return writeInPlace(path, target, OPEN_EXISTING, produce);
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
        return options.inPlace ? overwriteExisting(path, path, produce, static_cast<int>(err)) : inPlaceOnly(path);
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
    if (platform::isDeviceName(target)) {
        staged.result = notARegularFile(path);
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
