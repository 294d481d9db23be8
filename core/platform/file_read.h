#pragma once
// Whole-file reading within the size limit of the program's inputs, with failures reported as values.
// One file for each system, file_read_posix.cpp and file_read_windows.cpp; what they share is in
// file_read.cpp.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/io_result.h"

namespace kmr::io {

// No project, template or autorun.inf comes near this size: a larger input is refused at once, by
// its size when it is a file, as soon as this much is read when it is a stream (a FIFO, /dev/zero).
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{64} << 20;

// A file over the size limit of the inputs.
IoResult tooLarge(const std::string& path);

struct [[nodiscard]] ReadResult : IoResult {
    std::string bytes;
};

// True when an ordinary file (or anything that is not a directory) exists at the path.
bool fileExists(const std::string& path);

// Reads the whole file; one of more than `limit` bytes is refused (TooLarge) without being read.
ReadResult readFile(const std::string& path, std::uint64_t limit = kMaxInputBytes);

// Reads the whole file as readFile does, without holding it: `sized` is first told the size the system
// states for it (0 when it states none), then `take` gets its bytes in order, a piece at a time. After a
// failure the pieces taken so far are not the whole file.
IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take, std::uint64_t limit = kMaxInputBytes);

// A whole file in memory of its own, of which a part already used can be handed back to the system
// while the rest is still read: a reader that builds something as large as the file then needs
// little more than what it builds.
class FileBuffer {
public:
    FileBuffer() = default;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;
    ~FileBuffer();

    // Reads the whole file (anything that can be read, devices and FIFOs too), up to kMaxInputBytes.
    IoResult load(const std::string& path);
    std::string_view bytes() const { return {m_data, m_size}; }
    // Hands back the whole pages before `upTo`; they read as zeros until reload().
    void release(std::size_t upTo);
    // Reads the file again over what was handed back, for a second pass.
    IoResult reload();

private:
    IoResult fill();

    std::string m_path;
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0;  // bytes of the private mapping, 0 when the bytes live in m_copy
    std::size_t m_released = 0;
    std::string m_copy;
};

// True when a file's bytes are those a write in place left unfinished (see WriteOptions): they begin
// with two NUL bytes (or are one), which no text file does in any encoding the program reads.
bool unfinishedWrite(std::string_view bytes);
// How a reader refuses such a file: Unfinished, naming it.
IoResult unfinishedFailure(const std::string& path);

}  // namespace kmr::io
