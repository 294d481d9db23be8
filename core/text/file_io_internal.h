#pragma once
// What the reading and the writing of file_io.h share; no other file includes this one.

#include <string>

#include "text/file_io.h"

namespace kmr::io {

// A failure for a reason of the program's own wording: the message is the path and the reason.
IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason);

}  // namespace kmr::io
