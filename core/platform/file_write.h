#pragma once
// Safe whole-file writing, and the staged file that another program fills, with failures reported as
// values. One file for each system: file_write_posix.cpp, file_write_windows.cpp; what they share is in
// file_write.cpp.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_read.h"  // the size limit the writers keep to is the readers'
#include "platform/io_result.h"

namespace kmr::io {

// Replaces the file's contents: writes a temporary file in the same folder, flushes it to disk and
// renames it over the target. On any failure the target keeps its old contents and the temporary
// file is removed. The temporary file is unnamed while it is written where the system allows (a
// killed write leaves nothing), and named ".kmr-XXXXXX" only for the rename; a successful write
// removes such files of this user that earlier killed writes left in the folder and that no process
// holds open.
//
// A symbolic link is followed: the file it leads to is replaced, in its own folder, and the link
// stays. An existing target that is not a regular file (a device, a FIFO) is written directly, as it
// is not a file to replace; a FIFO that no program reads is refused at once instead of waiting, and
// a reader that closes it early is a failure (EPIPE), never a SIGPIPE. A replaced file keeps its
// permissions and, where the process may, its owner and group. A file this user may not write (read
// only) is refused, as a direct write would be, and left as it is.
// A folder that refuses the temporary file while the target itself is writable can only have the target
// overwritten in place, which a write cut short would leave half done: that is refused (InPlaceOnly)
// unless `options.inPlace`. Then the space for the whole new content is reserved first (when it
// cannot be, the old file stays whole and the failure is reported), and the file begins with two NUL
// bytes from before its first change until its last, so that a write cut short leaves a file that
// every reader of the program refuses as unfinished (io::unfinishedWrite) instead of a silent mix.
struct WriteOptions {
    bool inPlace = false;
};
IoResult writeFileAtomic(const std::string& path, std::string_view bytes, WriteOptions options = {});

// Bytes handed over piece by piece: the producer calls `write` with each piece in order and may stop
// when it returns false (the write failed). It may be run twice for one write.
using ByteProducer = std::function<void(const std::function<bool(std::string_view)>& write)>;

// The same safe write for bytes that are made as they are written, so that they are never all in
// memory at once.
IoResult writeFileAtomic(const std::string& path, const ByteProducer& produce, WriteOptions options = {});

// No writer makes a file that the program's readers refuse: `size` bytes for `path` above
// kMaxInputBytes are refused (TooLarge, the limit named) before the target is touched; Ok otherwise.
IoResult checkOutputSize(const std::string& path, std::uint64_t size);
// The number of bytes a producer makes, counted only until they pass kMaxInputBytes (the producer is
// stopped there), for checkOutputSize.
std::uint64_t producedSize(const ByteProducer& produce);

// A file that another program writes by its name (the ISO image xorriso makes) and that replaces the
// target only once it is complete, with the same care as writeFileAtomic: a link is followed and the
// file it leads to replaced in its own folder, a replaced file keeps its permissions and owner, a
// read-only file is refused. A device, a FIFO or a folder is refused: a file made elsewhere cannot be
// put in its place. The hidden file is named ".kmr-XXXXXX" beside the target and held open until it
// is committed or discarded; one that a killed run left is removed by the next write in the folder.
struct [[nodiscard]] StagedFile {
    std::string tempPath;  // the file to write; empty when nothing could be staged
    std::string target;    // the file it will replace, links followed
    int fd = -1;
    bool existed = false;
    unsigned mode = 0;  // the permissions the file gets
    long long uid = -1, gid = -1;
    IoResult result;  // why nothing could be staged
};
StagedFile stageFile(const std::string& path);
// Flushes the finished file and renames it over the target; `path` is the name given to stageFile.
IoResult commitStagedFile(const StagedFile& staged, const std::string& path);
// Removes the file of a cancelled or failed run.
void discardStagedFile(const StagedFile& staged);

}  // namespace kmr::io
