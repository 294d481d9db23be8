#include "kmrc.h"

#include <new>
#include <ostream>
#include <string_view>

#include "commands.h"

namespace kmr::cli {
namespace {

constexpr std::string_view kHelp = R"(kmrc: proyectos KMR desde la línea de órdenes

Uso:
  kmrc show [--force] PROYECTO
      Lee un proyecto (.kmr de la versión 1 o 2) y escribe sus objetos en JSON (UTF-8):
      {"format": 1|2, "errors": true|false, "objects": [{"kind": 21, "caption": "...", "values": ["..."]}]}
      "errors" indica un fichero con errores: líneas incorrectas en la versión 1, o un número de menús
      que el fichero no respalda (muchos más menús que secciones, o más que líneas).
  kmrc convert [--force] ENTRADA SALIDA
      Lee un proyecto de cualquier versión y lo escribe en SALIDA en la versión 2.
  kmrc compile [--force] [--strict] PROYECTO [-o SALIDA|-]
      Compila el proyecto en un fichero autorun (por omisión autorun.inf en la carpeta actual; con
      "-o -", en la salida estándar). Los conflictos encontrados se escriben en la salida de errores, un
      título por línea; con --strict, si hay alguno, no se escribe nada y se sale con 1.
  kmrc check [--force] [--explain] PROYECTO
      Escribe los títulos de los conflictos, uno por línea y en su orden; --explain añade bajo cada uno
      sus dos líneas de explicación. Sale con 0 si no hay ninguno y con 1 si los hay.
  kmrc import [--force] [--json] AUTORUN [-o PROYECTO]
      Importa un fichero autorun. Con --json escribe el proyecto en JSON, como show, más
      "unrecognised": N (las órdenes no reconocidas); con -o lo guarda como proyecto de la versión 2. Sin
      --json, el mensaje final de la importación va a la salida de errores. Un fichero sin la línea
      "[autorun]" al principio se rechaza salvo con --force.
  kmrc --help
      Muestra esta ayuda.

Un proyecto de la versión 2 cuya versión no es "2.0" se rechaza salvo con --force, que sigue como si se
hubiera respondido Sí a la pregunta. Los ficheros se escriben en un fichero temporal que después sustituye
al destino: si algo falla, el fichero anterior queda intacto.

Tipos de objeto: 21 programa o recurso a ejecutar, 22 icono, 23 etiqueta, 6 menú, 20 menú predeterminado.

Códigos de salida:
  0  hecho
  1  se encontraron conflictos (check, compile --strict)
  2  uso incorrecto
  3  un fichero no existe o no se puede leer o escribir (el mensaje dice cuál y por qué), o no se pudo
     escribir la salida estándar
  4  entrada rechazada (versión no reconocida, encabezado incorrecto) o sin memoria para leerla
)";

struct CommandEntry {
    std::string_view name;
    int (*run)(const std::vector<std::string>&, Streams);
};

constexpr CommandEntry kCommands[] = {
    {"show", showCommand},   {"convert", convertCommand}, {"compile", compileCommand},
    {"check", checkCommand}, {"import", importCommand},
};

int runCommand(const std::vector<std::string>& args, Streams io) {
    std::ostream& out = io.out;
    std::ostream& err = io.err;
    if (args.empty()) {
        err << "kmrc: falta la orden (kmrc --help muestra la ayuda)\n";
        return kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kHelp;
        return kDone;
    }
    for (const auto& c : kCommands) {
        if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
    }
    err << "kmrc: orden desconocida: " << args[0] << " (kmrc --help muestra la ayuda)\n";
    return kUsage;
}

}  // namespace

int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    int code = kDone;
    try {
        code = runCommand(args, {in, out, err});
    } catch (const std::bad_alloc&) {
        // What the command held is released by now, so the message can still be written.
        err << kOutOfMemory;
        return kRefused;
    }
    // Output that did not reach its destination is a failure, whatever the command made of it.
    out.flush();
    if (!out) {
        err << kStdoutFailed;
        return kFileError;
    }
    return code;
}

}  // namespace kmr::cli
