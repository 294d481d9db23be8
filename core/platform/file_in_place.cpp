// Overwriting a file where it stands, on every system: the one write the program cannot make safe
// by renaming, made so that a write cut short is never taken for a whole file.
#include <algorithm>
#include <cerrno>

#include "platform/file_read.h"
#include "platform/file_write_internal.h"

namespace kmr::io {
namespace {

// Two NUL bytes: UTF-16 text without a mark starts with one at most, every other encoding with none.
constexpr std::string_view kUnfinishedMark("\0\0", 2);

}  // namespace

bool unfinishedWrite(std::string_view bytes) {
    return bytes.starts_with(kUnfinishedMark) || bytes == kUnfinishedMark.substr(0, 1);
}

IoResult unfinishedFailure(const std::string& path) {
    return failureWithReason(path, IoStatus::Unfinished, EIO,
                             "El fichero quedó a medias: se estaba sobrescribiendo en su sitio y la escritura se "
                             "interrumpió (empieza por dos bytes nulos); no se puede leer");
}

IoResult inPlaceFailure(IoResult failed, bool unfinished) {
    if (unfinished) {
        failed.reason += "; el fichero ha quedado a medias";
        failed.message += "; el fichero ha quedado a medias";
    }
    return failed;
}

IoResult inPlaceOnly(const std::string& path) {
    return failureWithReason(path, IoStatus::InPlaceOnly, EACCES,
                             "La carpeta no permite crear ficheros nuevos, así que el fichero solo se puede "
                             "sobrescribir en su sitio, y una escritura interrumpida lo dejaría a medias");
}

// The order is what makes it safe against a kill or a power cut at any moment:
//   1. the first two bytes become the mark (one small write, whole or not at all);
//   2. the space for the new content is reserved; when it cannot be, the old file is put back whole;
//   3. the new content is written after its first two bytes, and the file cut to its length;
//   4. the first two bytes are written last, again in one small write.
// Between 1 and 4 the file begins with the mark, which every reader refuses.
InPlaceOutcome overwriteInPlace(const InPlaceFile& file, const ByteProducer& produce) {
    const std::uint64_t markSize = kUnfinishedMark.size();
    std::uint64_t newSize = 0;
    produce([&](std::string_view piece) {
        newSize += piece.size();
        return true;
    });
    std::uint64_t oldSize = 0;
    if (const int e = file.size(oldSize)) return {e, false};
    char oldHead[2] = {};
    const auto oldHeadSize = static_cast<std::size_t>(std::min(oldSize, markSize));
    if (const int e = file.readAt(0, oldHead, oldHeadSize)) return {e, false};

    // Puts back the head and the length of the old file; its body has not been touched yet.
    const auto putBack = [&](int error) -> InPlaceOutcome {
        const bool back = file.resize(oldSize) == 0 && file.writeAt(0, std::string_view(oldHead, oldHeadSize)) == 0 &&
                          file.sync() == 0;
        return {error, !back};
    };
    if (const int e = file.writeAt(0, kUnfinishedMark)) return putBack(e);
    if (const int e = file.sync()) return putBack(e);
    if (const int e = file.reserve(std::max(newSize, markSize))) return putBack(e);

    std::string head;
    std::uint64_t at = 0;
    int error = 0;
    produce([&](std::string_view piece) {
        if (error != 0) return false;
        const std::size_t toHead = std::min<std::size_t>(piece.size(), markSize - std::min(at, markSize));
        head.append(piece.substr(0, toHead));
        if (toHead < piece.size()) error = file.writeAt(at + toHead, piece.substr(toHead));
        at += piece.size();
        return error == 0;
    });
    if (error == 0) error = file.resize(std::max(at, markSize));
    if (error == 0) error = file.sync();
    // The last step: a new content shorter than the mark is cut first, leaving one NUL at most.
    if (error == 0 && at < markSize) error = file.resize(at);
    if (error == 0 && !head.empty()) error = file.writeAt(0, head);
    if (error == 0) error = file.sync();
    return {error, error != 0};
}

}  // namespace kmr::io
