#include "help.h"

#include <algorithm>

namespace kmr::cli {
namespace {

// A command's options and paragraphs; add a line to a command here and its help, its usage and the
// manual page's check follow.
constexpr std::string_view kForceVersion =
    "acepta un proyecto de la versión 2 cuya versión no es \"2.0\", como si se respondiera Sí";
constexpr std::string_view kInPlace =
    "si la carpeta no deja crear ficheros nuevos, sobrescribe el fichero en su sitio; si esa escritura se "
    "interrumpe, el fichero queda a medias y kmrc lo rechaza al leerlo";

constexpr HelpOption kShowOptions[] = {
    {"--force", kForceVersion},
};
constexpr std::string_view kShowText[] = {
    "Lee un proyecto (.kmr de la versión 1 o 2) y escribe sus objetos en JSON (UTF-8): {\"format\": 1|2, "
    "\"errors\": true|false, \"objects\": [{\"kind\": 21, \"caption\": \"...\", \"values\": [\"...\"]}]}.",
    "\"errors\" indica un fichero con errores: líneas incorrectas en la versión 1, un número de menús que el "
    "fichero no respalda o una segunda sección [Entradas del autorun] (sus líneas se leen tras las de la primera).",
    "Un fichero que una escritura en su sitio interrumpida dejó a medias se rechaza (sale con 4).",
};

constexpr HelpOption kConvertOptions[] = {
    {"--force", "acepta un proyecto cuya versión no es \"2.0\" y sustituye un proyecto que ya existe en SALIDA"},
    {"--in-place", kInPlace},
};
constexpr std::string_view kConvertText[] = {
    "Lee un proyecto de cualquier versión y lo escribe en SALIDA en la versión 2.",
};

constexpr HelpOption kCompileOptions[] = {
    {"--force", "acepta un proyecto cuya versión no es \"2.0\" y escribe SALIDA aunque sea un proyecto"},
    {"--strict", "si hay conflictos, no escribe nada y sale con 1"},
    {"--in-place", kInPlace},
    {"-o SALIDA",
     "el fichero que se escribe (por omisión autorun.inf en la carpeta actual; \"-\": la salida "
     "estándar)"},
};
constexpr std::string_view kCompileText[] = {
    "Compila el proyecto en un fichero autorun. Los conflictos encontrados se escriben en la salida de errores, "
    "uno por línea.",
    "Un valor de más de una línea (que puede venir de una importación) no se escribe: sale con 4 diciendo cuál.",
};

constexpr HelpOption kCheckOptions[] = {
    {"--force", kForceVersion},
    {"--explain", "añade bajo cada hallazgo sus dos líneas de explicación"},
    {"--json",
     "escribe {\"disc\": ..., \"medium\": ..., \"findings\": [{\"key\", \"title\", \"image\", "
     "\"explanation\"}]}"},
    {"--disc CARPETA",
     "la carpeta que se va a grabar (por omisión, la que nombra el proyecto, relativa al fichero "
     "del proyecto)"},
    {"--medium cd|usb",
     "el soporte (por omisión, el del proyecto); con usb dice qué entradas ignora Windows en una "
     "unidad USB"},
};
constexpr std::string_view kCheckText[] = {
    "Escribe los conflictos del proyecto, uno por línea y en su orden. Sale con 0 si no hay ninguno y con 1 si "
    "los hay.",
    "Con la carpeta del disco añade lo que se ve en ella, cada hallazgo con el fichero o el objeto al que se "
    "refiere: ficheros que faltan (buscados como Windows, desde la raíz y sin distinguir mayúsculas), rutas "
    "absolutas, documentos ejecutados como programas, iconos no válidos, nombres internos de menú repetidos o no "
    "válidos, espacios que Windows quitará y un autorun.inf distinto del proyecto.",
    "Las entradas del disco se comprueban también: claves que Windows no conoce en [autorun] o en una sección de "
    "plataforma, el nombre de CustomEvent, UseAutoPlay junto a un programa y, con la carpeta del disco, action, los "
    "tipos de [Content] sin ficheros y las carpetas de DriverPath y de contenido que faltan. El autorun.inf de la "
    "carpeta se compara por sus entradas, no byte a byte.",
    "También dice qué valores tienen un salto de línea o un carácter nulo (Windows corta el valor ahí) y qué "
    "secciones de plataforma están repetidas.",
    "Una carpeta del disco que no se puede leer (o una subcarpeta en el camino de un fichero del proyecto), o un "
    "fichero del proyecto que es una FIFO, un dispositivo o un enlace a uno, detiene la comprobación (sale con 3).",
};

constexpr HelpOption kImportOptions[] = {
    {"--force", "acepta un fichero sin la línea \"[autorun]\" al principio y sustituye un proyecto que ya existe"},
    {"--json", "escribe el proyecto en JSON, como show, más \"unrecognised\": N (las órdenes no reconocidas)"},
    {"--sin-extras", "importa solo los objetos, sin las demás entradas"},
    {"--in-place", kInPlace},
    {"-o PROYECTO", "guarda el proyecto importado en la versión 2"},
};
constexpr std::string_view kImportText[] = {
    "Importa un fichero autorun. El resultado de la importación va a la salida de errores; sin -o ni --json no "
    "se guarda nada, y así se dice.",
    "Las entradas que no dan objetos (action, [Content], las secciones de plataforma, las desconocidas...) se "
    "conservan en el proyecto y se compilan de nuevo.",
    "Las líneas terminan en CR LF o LF: un CR solo queda dentro del valor. Se dice en la salida de errores, como "
    "un carácter nulo en un valor, y un proyecto con un valor de varias líneas no se guarda (sale con 4). De un "
    "fichero cuyas líneas terminan solo en CR se dice que se lee como una sola línea.",
};

constexpr HelpOption kTemplatesOptions[] = {
    {"--json",
     "escribe {\"folders\": [...], \"templates\": [{\"folder\", \"file\", \"name\", \"menus\", "
     "\"explanation\"}]}"},
};
constexpr std::string_view kTemplatesText[] = {
    "Lista las plantillas del asistente de nuevo proyecto, en su orden: una por línea con su carpeta, su "
    "fichero, su nombre y su número de menús, separados por tabuladores.",
    "Las carpetas son, por orden: la del programa, ../share/kmr/templates junto a ella y la del usuario, "
    "$XDG_DATA_HOME/kmr/templates (o ~/.local/share/kmr/templates).",
};

constexpr HelpOption kNewOptions[] = {
    {"--template NOMBRE|FICHERO",
     "la plantilla: su nombre, su fichero en las carpetas de plantillas o la ruta de "
     "un fichero .kmrt"},
    {"--program P", "el programa o documento que se ejecuta"},
    {"--resource", "el programa es un recurso que abre su programa asociado"},
    {"--icon I", "el icono"},
    {"--label L", "la etiqueta"},
    {"--menu TEXTO=COMANDO[=NOMBRE]",
     "añade un menú al final; sin NOMBRE, el nombre interno es \"Menu\" y el "
     "primer número libre (si el comando lleva \"=\", termine con \"=NOMBRE\" "
     "o con un \"=\" final)"},
    {"--default N", "hace predeterminado el menú N (desde 1; 0: ninguno)"},
    {"--disc CARPETA", "la carpeta del disco que nombrará el proyecto"},
    {"--medium cd|usb", "el soporte del disco (con --disc)"},
    {"--action TEXTO", "el texto con que la Reproducción automática presenta el programa (action)"},
    {"--custom-event NOMBRE", "el evento de Reproducción automática (CustomEvent)"},
    {"--use-autoplay", "usa la Reproducción automática en lugar del programa (UseAutoPlay=1)"},
    {"--content TIPO[=VALOR]", "un tipo de [Content]: music, pictures o video (por omisión, true)"},
    {"--exclusive-path CARPETA", "una carpeta de [ExclusiveContentPaths]"},
    {"--ignore-path CARPETA", "una carpeta de [IgnoreContentPaths]"},
    {"--driver-path CARPETA", "una carpeta de controladores (DriverPath de [DeviceInstall])"},
    {"--platform-entry PLATAFORMA:CLAVE=VALOR", "una entrada de [AutoRun.PLATAFORMA] (x86, Amd64, Alpha, Mips o PPC)"},
    {"--force", "sustituye un proyecto que ya existe"},
    {"--in-place", kInPlace},
    {"-o PROYECTO", "el proyecto que se crea (versión 2)"},
};
constexpr std::string_view kNewText[] = {
    "Crea el proyecto que crearía el asistente con los mismos datos: la plantilla los rellena y las demás "
    "opciones los sustituyen o añaden menús.",
    "Las opciones de las entradas del disco (de --action a --platform-entry) las guardan en el proyecto; "
    "--content y las de carpetas y de plataforma pueden repetirse.",
    "Ningún valor puede ocupar más de una línea (sale con 2).",
};

constexpr HelpOption kIsoOptions[] = {
    {"--force", kForceVersion},
    {"--disc CARPETA", "la carpeta que se graba (por omisión, la que nombra el proyecto)"},
    {"--label ETIQUETA", "el nombre de volumen (por omisión, la etiqueta del proyecto o el nombre de la carpeta)"},
    {"--verbose", "muestra lo que escribe xorriso"},
    {"--in-place", "escribe el autorun.inf de la carpeta del disco en su sitio si la carpeta no deja crear ficheros"},
    {"-o IMAGEN.iso", "la imagen que se crea"},
};
constexpr std::string_view kIsoText[] = {
    "Compila el proyecto en el autorun.inf de la carpeta del disco, escribe los hallazgos como check --disc y "
    "crea con xorriso una imagen ISO 9660 con nombres Joliet y Rock Ridge. El nombre de volumen se recorta a lo "
    "que admite ISO 9660 (32 letras A-Z, cifras y _), con un aviso.",
    "Sin xorriso no se cambia nada, ni si IMAGEN.iso no puede escribirse (un dispositivo, una FIFO o un fichero de "
    "solo lectura: sale con 3). La imagen se escribe en un fichero temporal oculto junto a IMAGEN.iso que solo la "
    "sustituye si xorriso termina bien; si falla, se muestra lo que escribió. xorriso termina con kmrc.",
    "IMAGEN.iso no puede estar dentro de la carpeta del disco, tampoco a través de un enlace (sale con 2). Lo que "
    "detiene check detiene también iso, antes de escribir nada.",
};

constexpr CommandHelp kCommands[] = {
    {"show", "show [--force] PROYECTO", kShowOptions, kShowText},
    {"convert", "convert [--force] [--in-place] ENTRADA SALIDA", kConvertOptions, kConvertText},
    {"compile", "compile [--force] [--strict] [--in-place] PROYECTO [-o SALIDA|-]", kCompileOptions, kCompileText},
    {"check", "check [--force] [--explain] [--json] [--disc CARPETA] [--medium cd|usb] PROYECTO", kCheckOptions,
     kCheckText},
    {"import", "import [--force] [--json] [--sin-extras] [--in-place] AUTORUN [-o PROYECTO]", kImportOptions,
     kImportText},
    {"templates", "templates [--json]", kTemplatesOptions, kTemplatesText},
    {"new",
     "new [--template NOMBRE|FICHERO] [--program P [--resource]] [--icon I] [--label L] "
     "[--menu TEXTO=COMANDO[=NOMBRE]]... [--default N] [--disc CARPETA [--medium cd|usb]] [--action TEXTO] "
     "[--custom-event NOMBRE] [--use-autoplay] [--content TIPO[=VALOR]]... [--exclusive-path CARPETA]... "
     "[--ignore-path CARPETA]... [--driver-path CARPETA]... [--platform-entry PLATAFORMA:CLAVE=VALOR]... [--force] "
     "[--in-place] -o PROYECTO",
     kNewOptions, kNewText},
    {"iso", "iso [--force] [--disc CARPETA] [--label ETIQUETA] [--verbose] [--in-place] PROYECTO -o IMAGEN.iso",
     kIsoOptions, kIsoText},
};

constexpr ExitCodeHelp kExitCodes[] = {
    {0, "hecho"},
    {1, "se encontraron conflictos o hallazgos (check, compile --strict)"},
    {2, "uso incorrecto, o un proyecto que se sustituiría sin --force"},
    {3,
     "un fichero no existe o no se puede leer o escribir (el mensaje dice cuál y por qué), un destino de solo "
     "lectura o que solo se podría sobrescribir en su sitio (sin --in-place), una carpeta del disco que no se puede "
     "leer o un fichero suyo que es una FIFO o un dispositivo, o no se pudo escribir la salida estándar o una FIFO"},
    {4,
     "entrada rechazada (versión no reconocida, encabezado incorrecto, plantilla que no es de la versión 2.3, "
     "nombre interno de menú repetido, más de 64 MiB, un fichero que quedó a medias, un valor de más de una línea "
     "que no se puede escribir) o sin memoria para leerla"},
    {5, "xorriso no está instalado o falló (iso)"},
};

constexpr std::string_view kHelpOption = "-h, --help";
constexpr std::string_view kVersionOption = "--version";

// Characters of UTF-8 text: every byte that does not continue a character.
std::size_t columnsOf(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A list of options, their forms in one column.
std::string optionList(std::span<const HelpOption> options) {
    constexpr std::size_t kFormColumn = 20;
    std::string out;
    auto item = [&](std::string_view form, std::string_view text) {
        std::string line = "  " + std::string(form);
        if (columnsOf(line) + 2 <= kFormColumn) {
            line.append(kFormColumn - columnsOf(line), ' ');
            const std::string wrapped = wrapText(text, kFormColumn);
            out += line + wrapped.substr(kFormColumn);
        } else {
            out += line + "\n" + wrapText(text, kFormColumn);
        }
    };
    for (const HelpOption& o : options) item(o.form, o.text);
    item(kHelpOption, "muestra esta ayuda");
    item(kVersionOption, "muestra la versión");
    return out;
}

std::string synopsisOf(const CommandHelp& c, std::string_view lead) {
    // A bracketed option stays on one line: its blanks are held apart while the line is wrapped.
    constexpr char kHeld = '\x01';
    std::string held(c.synopsis);
    int depth = 0;
    for (char& ch : held) {
        depth += ch == '[' ? 1 : ch == ']' ? -1 : 0;
        if (ch == ' ' && depth > 0) ch = kHeld;
    }
    // So does "-o FICHERO".
    for (std::size_t at = held.find(" -o "); at != std::string::npos; at = held.find(" -o ", at + 1)) {
        held[at + 3] = kHeld;
    }
    // Continuation lines start under the command's first option.
    const std::size_t indent = columnsOf(lead) + c.name.size() + 1;
    std::string wrapped = wrapText(held, indent);
    std::replace(wrapped.begin(), wrapped.end(), kHeld, ' ');
    return std::string(lead) + wrapped.substr(indent);
}

}  // namespace

std::span<const CommandHelp> commandHelp() { return kCommands; }
std::span<const ExitCodeHelp> exitCodeHelp() { return kExitCodes; }

const CommandHelp* findCommandHelp(std::string_view name) {
    for (const CommandHelp& c : kCommands) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

std::string_view optionName(const HelpOption& option) { return option.form.substr(0, option.form.find(' ')); }
bool optionTakesValue(const HelpOption& option) { return option.form.find(' ') != std::string_view::npos; }

std::string wrapText(std::string_view text, std::size_t indent, std::size_t columns) {
    std::string out;
    std::string line(indent, ' ');
    std::size_t width = indent;
    bool empty = true;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', i), text.size());
        const std::string_view word = text.substr(i, end - i);
        const std::size_t w = columnsOf(word);
        if (!empty && width + 1 + w > columns) {
            out += line + "\n";
            line.assign(indent, ' ');
            width = indent;
            empty = true;
        }
        if (!empty) {
            line += ' ';
            ++width;
        }
        line += word;
        width += w;
        empty = false;
        i = end;
    }
    out += line + "\n";
    return out;
}

std::string programHelpText() {
    std::string out = "kmrc: proyectos KMR desde la línea de órdenes\n\nUso:\n";
    for (const CommandHelp& c : kCommands) {
        out += synopsisOf(c, "  kmrc ");
        for (const std::string_view paragraph : c.text) out += wrapText(paragraph, 6);
    }
    out += "  kmrc --help | --version\n";
    out += wrapText("Muestra esta ayuda o la versión. \"kmrc ORDEN --help\" explica cada opción de una orden.", 6);
    out += "\n";
    out += wrapText(
        "Los ficheros se escriben en un fichero temporal que después sustituye al destino: si algo falla, el fichero "
        "anterior queda intacto. Un destino de solo lectura se rechaza y queda como estaba. Un proyecto que ya existe "
        "solo se sustituye con --force. Ninguna entrada puede pasar de 64 MiB.",
        0);
    out += "\n";
    out += wrapText(
        "Tipos de objeto: 21 programa o recurso a ejecutar, 22 icono, 23 etiqueta, 6 menú, 20 menú "
        "predeterminado.",
        0);
    out += "\nCódigos de salida:\n";
    for (const ExitCodeHelp& e : kExitCodes) {
        const std::string text = wrapText(e.text, 5);
        out += "  " + std::to_string(e.code) + text.substr(3);
    }
    return out;
}

std::string commandHelpText(const CommandHelp& c) {
    std::string out = synopsisOf(c, "uso: kmrc ") + "\n";
    for (const std::string_view paragraph : c.text) out += wrapText(paragraph, 0);
    out += "\nOpciones:\n" + optionList(c.options);
    return out;
}

std::string versionText() {
#ifdef KMR_VERSION
    return "kmrc (KMR) " KMR_VERSION "\n";
#else
    return "kmrc (KMR)\n";
#endif
}

HelpRequest helpRequest(const CommandHelp& command, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") break;
        if (a == "--help" || a == "-h") return HelpRequest::Help;
        if (a == "--version") return HelpRequest::Version;
        const auto takesValue = std::find_if(command.options.begin(), command.options.end(), [&](const HelpOption& o) {
            return optionName(o) == a && optionTakesValue(o);
        });
        if (takesValue != command.options.end()) ++i;
    }
    return HelpRequest::None;
}

}  // namespace kmr::cli
