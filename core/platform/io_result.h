#pragma once
// How a file operation ends, as a value: the status, and on failure the file and the system's reason
// in the program's Spanish.

#include <string>

namespace kmr::io {

// TooLarge: an input above the size limit, refused before it is read whole. InPlaceOnly: a write that
// could only overwrite the file where it stands (see WriteOptions), not allowed by the caller.
// Unfinished: a file that a write in place left half done, refused by the readers of the formats.
enum class IoStatus { Ok, NotFound, Failed, TooLarge, InPlaceOnly, Unfinished };

// Outcome of a file operation. On failure `message` names the file and the system's reason, and
// `reason` is the reason alone; `error` is the system's error number (ENOMEM: out of memory).
struct [[nodiscard]] IoResult {
    IoStatus status = IoStatus::Ok;
    std::string message;
    std::string reason;
    int error = 0;
    bool ok() const { return status == IoStatus::Ok; }
};

// What a system error number means, in Spanish as the rest of the program speaks; an error this
// table does not know is described by the C library.
std::string systemErrorText(int err);

// The failure of an operation on `path` with the system error number `err`.
IoResult systemFailure(const std::string& path, int err);

// A failure for a reason of the program's own wording: the message is the path and the reason.
IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason);

}  // namespace kmr::io
