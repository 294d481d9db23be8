#pragma once
// What the reading and the writing of file_io.h share, on every system; only they include this file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "text/file_io.h"

namespace kmr::io {

// A failure for a reason of the program's own wording: the message is the path and the reason.
IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason);
// A file over the size limit of the inputs.
IoResult tooLarge(const std::string& path);

// The temporary files of the writes on POSIX systems: ".kmr-" and six letters or digits, as mkstemp's
// XXXXXX.
inline constexpr std::string_view kTempFilePrefix = ".kmr-";
inline constexpr std::size_t kTempFileRandomChars = 6;
// Removes the temporary files that writes killed before their rename left in the folder: regular
// files of this user named like ours that no process holds open. When some process could not be
// inspected, a file also has to be a minute old.
void removeStaleTemporaries(const std::string& folder);

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
struct InPlaceOutcome {
    int error = 0;
    bool unfinished = false;
};

// Overwrites the file with the producer's bytes, marked as unfinished while they are written (see
// writeFileAtomic). The producer runs twice: once to count, once to write.
InPlaceOutcome overwriteInPlace(const InPlaceFile& file, const ByteProducer& produce);

}  // namespace kmr::io
