// What the writers of both systems share: the write of bytes held whole, the size limit of the outputs
// and the refusals in the program's own words.
#include "platform/file_write.h"

#include <cerrno>

#include "platform/file_read.h"

namespace kmr::io {

IoResult writeFileAtomic(const std::string& path, std::string_view bytes, WriteOptions options) {
    return writeFileAtomic(
        path, [bytes](const std::function<bool(std::string_view)>& write) { write(bytes); }, options);
}

IoResult readOnly(const std::string& path, int err) {
    return failureWithReason(
        path, IoStatus::Failed, err,
        err == EROFS ? systemErrorText(EROFS) : "No tiene permiso para escribir en este fichero (es de solo lectura)");
}

IoResult notARegularFile(const std::string& path) {
    return failureWithReason(path, IoStatus::Failed, EINVAL,
                             "No es un fichero normal (es un dispositivo, una tubería o un socket); "
                             "escriba la imagen en un fichero");
}

IoResult checkOutputSize(const std::string& path, std::uint64_t size) {
    if (size <= kMaxInputBytes) return {};
    return failureWithReason(path, IoStatus::TooLarge, EFBIG,
                             "El fichero ocuparía más de " + std::to_string(kMaxInputBytes >> 20) +
                                 " MiB, y KMR no abre un proyecto ni un autorun.inf tan grande; no se ha escrito");
}

std::uint64_t producedSize(const ByteProducer& produce) {
    std::uint64_t size = 0;
    produce([&size](std::string_view piece) {
        size += piece.size();
        return size <= kMaxInputBytes;
    });
    return size;
}

}  // namespace kmr::io
