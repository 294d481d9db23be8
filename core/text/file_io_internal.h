#pragma once
// What the reading and the writing of file_io.h share, on every system; only they include this file.

#include <string>

#include "text/file_io.h"

namespace kmr::io {

// A failure for a reason of the program's own wording: the message is the path and the reason.
IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason);
// A file over the size limit of the inputs.
IoResult tooLarge(const std::string& path);

}  // namespace kmr::io
