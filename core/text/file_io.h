#pragma once
// Whole-file reading and safe whole-file writing, with failures reported as values.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kmr::io {

// TooLarge: an input above the size limit, refused before it is read whole. InPlaceOnly: a write that
// could only overwrite the file where it stands (see WriteOptions), not allowed by the caller.
// Unfinished: a file that a write in place left half done, refused by the readers of the formats.
enum class IoStatus { Ok, NotFound, Failed, TooLarge, InPlaceOnly, Unfinished };

// Outcome of a file operation. On failure `message` names the file and the system's reason, and
// `reason` is the reason alone; `error` is the system's error number (ENOMEM: out of memory).
struct IoResult {
    IoStatus status = IoStatus::Ok;
    std::string message;
    std::string reason;
    int error = 0;
    bool ok() const { return status == IoStatus::Ok; }
};

// No project, template or autorun.inf comes near this size: a larger input is refused at once, by
// its size when it is a file, as soon as this much is read when it is a stream (a FIFO, /dev/zero).
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{64} << 20;

struct ReadResult : IoResult {
    std::string bytes;
};

// What a system error number means, in Spanish as the rest of the program speaks; an error this
// table does not know is described by the C library.
std::string systemErrorText(int err);

// The failure of an operation on `path` with the system error number `err`.
IoResult systemFailure(const std::string& path, int err);

// True when an ordinary file (or anything that is not a directory) exists at the path.
bool fileExists(const std::string& path);

// Reads the whole file; one of more than `limit` bytes is refused (TooLarge) without being read.
ReadResult readFile(const std::string& path, std::uint64_t limit = kMaxInputBytes);

// Reads the whole file as readFile does, without holding it: `sized` is first told the size the system
// states for it (0 when it states none), then `take` gets its bytes in order, a piece at a time. After a
// failure the pieces taken so far are not the whole file.
IoResult readFileInPieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                          const std::function<void(std::string_view)>& take);

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
// every reader of the program refuses as unfinished (unfinishedWrite) instead of a silent mix.
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

// True when a file's bytes are those a write in place left unfinished: they begin with two NUL bytes
// (or are one), which no text file does in any encoding the program reads.
bool unfinishedWrite(std::string_view bytes);
// How a reader refuses such a file: Unfinished, naming it.
IoResult unfinishedFailure(const std::string& path);

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
struct StagedFile {
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
