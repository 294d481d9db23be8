#pragma once
// What the writers of file_write.h share among themselves, on every system; only they include this
// file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_write.h"

namespace kmr::io {

// The temporary files of the writes: ".kmr-" and six letters or digits, as mkstemp's XXXXXX.
inline constexpr std::string_view kTempFilePrefix = ".kmr-";
inline constexpr std::size_t kTempFileRandomChars = 6;
// Removes the temporary files that writes killed before their rename left in the folder: regular
// files of this user named like ours that no process holds open. When some process could not be
// inspected, a file also has to be a minute old. (The POSIX side; Windows has its own in
// file_write_windows.cpp, where a file held open cannot be removed at all.)
void removeStaleTemporaries(const std::string& folder);

// The refusal of an existing file this user may not write (`err` EACCES or EPERM), or of one on a read-only
// disc (EROFS).
IoResult readOnly(const std::string& path, int err);
// The refusal to stage a file in place of a device, a FIFO or a socket.
IoResult notARegularFile(const std::string& path);

// The refusal of a write that could only overwrite the file where it stands.
IoResult inPlaceOnly(const std::string& path);

// An open file as the write in place needs it, each operation returning 0 or the system's error
// (an errno, or on Windows its own error number).
struct InPlaceFile {
    std::function<int(std::uint64_t& size)> size;
    std::function<int(std::uint64_t at, char* into, std::size_t count)> readAt;
    std::function<int(std::uint64_t at, std::string_view bytes)> writeAt;
    std::function<int(std::uint64_t size)> resize;
    // Makes sure the file can grow to `size` bytes without running out of space.
    std::function<int(std::uint64_t size)> reserve;
    std::function<int()> sync;
};

// What a write in place came to: `error` 0 when it finished; otherwise `unfinished` tells a file left
// half done (and so marked) from one left as it was.
struct [[nodiscard]] InPlaceOutcome {
    int error = 0;
    bool unfinished = false;
};

// Overwrites the file with the producer's bytes, marked as unfinished while they are written (see
// writeFileAtomic). The producer runs twice: once to count, once to write.
InPlaceOutcome overwriteInPlace(const InPlaceFile& file, const ByteProducer& produce);

// The failure of a write in place, which adds that the file was left half done when it was.
IoResult inPlaceFailure(IoResult failed, bool unfinished);

// Overwrites the existing file `target` (`path` with its links followed) where it stands, over the
// system's own open file (file_in_place_posix.cpp, file_in_place_windows.cpp), for a folder that
// refuses the temporary file; `tempError` is the system's error that the folder gave (an errno, or on
// Windows its own error number), reported when the file cannot be opened either.
IoResult overwriteExisting(const std::string& path, const std::string& target, const ByteProducer& produce,
                           int tempError);

}  // namespace kmr::io
