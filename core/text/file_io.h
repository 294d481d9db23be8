#pragma once
// Whole-file reading and safe whole-file writing, with failures reported as values.

#include <string>
#include <string_view>

namespace kmr::io {

enum class IoStatus { Ok, NotFound, Failed };

// Outcome of a file operation. On failure `message` names the file and the system's reason.
struct IoResult {
    IoStatus status = IoStatus::Ok;
    std::string message;
    bool ok() const { return status == IoStatus::Ok; }
};

struct ReadResult : IoResult {
    std::string bytes;
};

// True when an ordinary file (or anything that is not a directory) exists at the path.
bool fileExists(const std::string& path);

// Reads the whole file.
ReadResult readFile(const std::string& path);

// Replaces the file's contents: writes a temporary file in the same folder, flushes it to disk and
// renames it over the target. On any failure the target keeps its old contents and the temporary
// file is removed. A folder that refuses the temporary file while the target itself is writable
// gets the target overwritten in place instead; a failure then is reported the same way.
IoResult writeFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace kmr::io
