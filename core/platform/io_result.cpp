// Failures of file reads and writes in the user's words, on every system (the errors of Windows are
// turned into the same errno values first, in io_result_windows.cpp).
#include "platform/io_result.h"

#include <cerrno>
#include <cstring>

#include "platform/file_read.h"

namespace kmr::io {

IoResult failureWithReason(const std::string& path, IoStatus status, int err, std::string reason) {
    IoResult r;
    r.status = status;
    r.error = err;
    r.reason = std::move(reason);
    r.message = path + ": " + r.reason;
    return r;
}

IoResult tooLarge(const std::string& path) {
    return failureWithReason(path, IoStatus::TooLarge, EFBIG,
                             "El fichero es demasiado grande (más de " + std::to_string(kMaxInputBytes >> 20) +
                                 " MiB); ningún proyecto, plantilla ni autorun.inf ocupa tanto");
}

IoResult systemFailure(const std::string& path, int err) {
    return failureWithReason(path, err == ENOENT ? IoStatus::NotFound : IoStatus::Failed, err, systemErrorText(err));
}

std::string systemErrorText(int err) {
    switch (err) {
        case ENOENT: return "No existe el fichero o la carpeta";
        case EACCES:
        case EPERM: return "Permiso denegado";
        case EISDIR: return "Es una carpeta";
        case ENOTDIR: return "Una parte de la ruta no es una carpeta";
        case ENOSPC: return "No queda espacio en el disco";
#ifdef EDQUOT  // no such error on Windows
        case EDQUOT: return "Se ha superado la cuota de disco";
#endif
        case EROFS: return "El disco es de solo lectura";
        case ENOMEM: return "No hay memoria suficiente";
        case EEXIST: return "El fichero ya existe";
        case ENAMETOOLONG: return "El nombre es demasiado largo";
        case ELOOP: return "Hay demasiados enlaces simbólicos en la ruta";
        case EIO: return "Error de entrada/salida";
        case EMFILE:
        case ENFILE: return "Hay demasiados ficheros abiertos";
        case EFBIG: return "El fichero es demasiado grande";
        case ETXTBSY:
        case EBUSY: return "El fichero está en uso";
        case ENXIO:
        case ENODEV: return "No existe el dispositivo";
        case EXDEV: return "No se puede mover entre discos distintos";
        case EINVAL: return "Argumento no válido";
        case EPIPE: return "El programa que leía la tubería la cerró antes de terminar";
        default: return std::strerror(err);
    }
}

}  // namespace kmr::io
