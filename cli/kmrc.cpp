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
  kmrc check [--force] [--explain] [--json] [--disc CARPETA] [--medium cd|usb] PROYECTO
      Escribe los títulos de los conflictos, uno por línea y en su orden; --explain añade bajo cada uno
      sus dos líneas de explicación. Sale con 0 si no hay ninguno y con 1 si los hay.
      Con la carpeta del disco (--disc, o la que nombra el proyecto, relativa al fichero del proyecto)
      añade, tras los conflictos, lo que se ve en el disco: ficheros que faltan (buscados como Windows,
      desde la raíz y sin distinguir mayúsculas), rutas absolutas, documentos ejecutados como programas,
      iconos no válidos o con un número inexistente, nombres internos de menú repetidos o no válidos,
      espacios que Windows quitará y un autorun.inf distinto del proyecto. Con --medium usb (o el
      soporte del proyecto) dice además qué entradas ignora Windows en una unidad USB.
      Las entradas del disco se comprueban también: claves que Windows no conoce en [autorun] o en una
      sección de plataforma, el nombre de CustomEvent, UseAutoPlay junto a un programa y, con la carpeta
      del disco, action, los tipos de [Content] sin ficheros y las carpetas de DriverPath y de contenido
      que faltan. El autorun.inf de la carpeta se compara por sus entradas, no byte a byte.
      --json escribe {"disc": ..., "medium": ..., "findings": [{"key", "title", "image", "explanation"}]}.
  kmrc iso [--force] [--disc CARPETA] [--label ETIQUETA] PROYECTO -o IMAGEN.iso
      Compila el proyecto en el autorun.inf de la carpeta del disco y crea con xorriso una imagen ISO
      9660 con nombres Joliet y Rock Ridge. El nombre de volumen sale de --label, de la etiqueta del
      proyecto o del nombre de la carpeta, recortado a lo que admite ISO 9660 (32 letras A-Z, cifras y _)
      con un aviso. La imagen se escribe en un fichero temporal junto a IMAGEN.iso que solo la sustituye
      si xorriso termina bien.
  kmrc import [--force] [--json] [--sin-extras] AUTORUN [-o PROYECTO]
      Importa un fichero autorun. Con --json escribe el proyecto en JSON, como show, más
      "unrecognised": N (las órdenes no reconocidas); con -o lo guarda como proyecto de la versión 2. Sin
      --json, el mensaje final de la importación va a la salida de errores. Un fichero sin la línea
      "[autorun]" al principio se rechaza salvo con --force. Las entradas que no dan objetos (action,
      [Content], las secciones de plataforma, las desconocidas...) se conservan en el proyecto y se
      compilan de nuevo; con --sin-extras solo se importan los objetos.
  kmrc templates [--json]
      Lista las plantillas que lista el asistente de nuevo proyecto, en su orden: una por línea con su
      carpeta, su fichero, su nombre y su número de menús, separados por tabuladores. Con --json:
      {"folders": ["..."], "templates": [{"folder": "...", "file": "...", "name": "...", "menus": N,
      "explanation": "..."}]}. Las carpetas son, por orden: la del programa, ../share/kmr/templates
      junto a ella y la del usuario, $XDG_DATA_HOME/kmr/templates (o ~/.local/share/kmr/templates).
  kmrc new [--template NOMBRE|FICHERO] [--program P [--resource]] [--icon I] [--label L]
           [--menu TEXTO=COMANDO[=NOMBRE]]... [--default N] -o PROYECTO
      Crea el proyecto que crearía el asistente con los mismos datos y lo guarda en PROYECTO (versión 2).
      La plantilla (por su nombre, su fichero en las carpetas de plantillas o la ruta de un fichero
      .kmrt) rellena los datos; --program, --icon y --label los sustituyen (--resource: el programa es un
      recurso con programa asociado); cada --menu añade un menú al final de la lista, con el nombre
      interno "Menu" y el primer número libre si no se da NOMBRE (si el comando lleva "=", termine con
      "=NOMBRE" o con un "=" final); --default N hace predeterminado el menú N (desde 1; 0: ninguno).
      Entradas del disco: --action TEXTO, --custom-event NOMBRE, --use-autoplay,
      --content music|pictures|video[=VALOR], --exclusive-path, --ignore-path y --driver-path CARPETA
      (repetibles) y --platform-entry PLATAFORMA:CLAVE=VALOR (x86, Amd64, Alpha, Mips o PPC).
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
  4  entrada rechazada (versión no reconocida, encabezado incorrecto, plantilla que no es de la
     versión 2.3, nombre interno de menú repetido) o sin memoria para leerla
  5  xorriso no está instalado o falló (iso)
)";

struct CommandEntry {
    std::string_view name;
    int (*run)(const std::vector<std::string>&, Streams);
};

constexpr CommandEntry kCommands[] = {
    {"show", showCommand},   {"convert", convertCommand}, {"compile", compileCommand},
    {"check", checkCommand}, {"import", importCommand},   {"iso", isoCommand},
};

int runCommand(const std::vector<std::string>& args, Streams io, const KmrcSetup& setup) {
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
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const auto& c : kCommands) {
        if (args[0] == c.name) return c.run(rest, io);
    }
    if (args[0] == "templates") return templatesCommand(rest, io, setup.templateFolders);
    if (args[0] == "new") return newCommand(rest, io, setup.templateFolders);
    err << "kmrc: orden desconocida: " << args[0] << " (kmrc --help muestra la ayuda)\n";
    return kUsage;
}

}  // namespace

int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            const KmrcSetup& setup) {
    int code = kDone;
    try {
        code = runCommand(args, {in, out, err}, setup);
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
