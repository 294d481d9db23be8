// What the readers of both systems share: a whole file read into one string.
#include "platform/file_read.h"

namespace kmr::io {

ReadResult readFile(const std::string& path, std::uint64_t limit) {
    ReadResult r;
    static_cast<IoResult&>(r) = readFileInPieces(
        path,
        [&](std::size_t size) {
            if (size > 0) r.bytes.reserve(size);
        },
        [&](std::string_view piece) { r.bytes.append(piece); }, limit);
    if (!r.ok()) r.bytes.clear();
    return r;
}

}  // namespace kmr::io
