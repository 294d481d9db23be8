// kmrc's verbs, each described once: the parser, `--help`, usage errors and the verb sections of the
// manual page and of the help page all read these tables. Add an option to a verb here and all of
// them follow (then `cmake --build build --target kmrc_docs` rewrites the two pages).
#include <algorithm>

#include "commands.h"
#include "verb.h"

namespace kmr::cli {
namespace {

constexpr VerbArgument kProject[] = {{"PROYECTO"}};

constexpr std::string_view kForceVersion =
    "acepta un proyecto de la versión 2 cuya versión no es \"2.0\", como si se respondiera Sí";
constexpr std::string_view kInPlace =
    "si la carpeta no deja crear ficheros nuevos, sobrescribe el fichero en su sitio; si esa escritura se "
    "interrumpe, el fichero queda a medias y kmrc lo rechaza al leerlo";

constexpr VerbOption kShowOptions[] = {
    {"--force", kForceVersion},
};
constexpr std::string_view kShowText[] = {
    "Lee un proyecto (.kmr de la versión 1 o 2) y escribe sus objetos en JSON (UTF-8): {\"format\": 1|2, "
    "\"errors\": true|false, \"objects\": [{\"kind\": 21, \"caption\": \"...\", \"values\": [\"...\"]}]}.",
    "\"errors\" indica un fichero con errores: líneas incorrectas en la versión 1, un número de menús que el "
    "fichero no respalda o una segunda sección [Entradas del autorun] (sus líneas se leen tras las de la primera).",
    "Un fichero que una escritura en su sitio interrumpida dejó a medias se rechaza (sale con 4).",
};
constexpr std::string_view kShowExamples[] = {"disco.kmr"};
constexpr VerbLink kShowLinks[] = {{"proyectos.html", "los ficheros de proyecto"}};

constexpr VerbArgument kConvertArguments[] = {{"ENTRADA"}, {"SALIDA"}};
constexpr VerbOption kConvertOptions[] = {
    {"--force", "acepta un proyecto cuya versión no es \"2.0\" y sustituye un proyecto que ya existe en SALIDA"},
    {"--in-place", kInPlace},
};
constexpr std::string_view kConvertText[] = {
    "Lee un proyecto de cualquier versión y lo escribe en SALIDA en la versión 2.",
};
constexpr std::string_view kConvertExamples[] = {"antiguo.kmr nuevo.kmr"};

constexpr VerbOption kCompileOptions[] = {
    {"--force", "acepta un proyecto cuya versión no es \"2.0\" y escribe SALIDA aunque sea un proyecto"},
    {"--strict", "si hay conflictos, no escribe nada y sale con 1"},
    {"--in-place", kInPlace},
    {.form = "-o SALIDA",
     .text = "el fichero que se escribe (por omisión autorun.inf en la carpeta actual; \"-\": la salida "
             "estándar)",
     .output = true,
     .dash = true},
};
constexpr std::string_view kCompileText[] = {
    "Compila el proyecto en un fichero autorun. Los conflictos encontrados se escriben en la salida de errores, "
    "uno por línea.",
    "Un valor de más de una línea (que puede venir de una importación) no se escribe: sale con 4 diciendo cuál.",
};
constexpr std::string_view kCompileExamples[] = {"--strict disco.kmr -o /media/cd/autorun.inf"};
constexpr VerbLink kCompileLinks[] = {{"compilar.html", "compilar el autorun.inf"}};

constexpr VerbOption kCheckOptions[] = {
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
    "válidos, espacios que Windows quitará y un autorun.inf distinto del proyecto o que Windows leerá mal (en UTF-8 "
    "o en UTF-16 sin marca).",
    "Las entradas del disco se comprueban también: claves que Windows no conoce en [autorun] o en una sección de "
    "plataforma, el nombre de CustomEvent, UseAutoPlay junto a un programa y, con la carpeta del disco, action, los "
    "tipos de [Content] sin ficheros y las carpetas de DriverPath y de contenido que faltan. El autorun.inf de la "
    "carpeta se compara por sus entradas, no byte a byte.",
    "También dice qué valores tienen un salto de línea o un carácter nulo (Windows corta el valor ahí) y qué "
    "secciones de plataforma están repetidas.",
    "Una carpeta del disco que no se puede leer (o una subcarpeta en el camino de un fichero del proyecto), o un "
    "fichero del proyecto que es una FIFO, un dispositivo o un enlace a uno, detiene la comprobación (sale con 3).",
};
constexpr std::string_view kCheckExamples[] = {"--explain disco.kmr", "--json --disc disco disco.kmr"};
constexpr VerbLink kCheckLinks[] = {{"conflictos.html", "la comprobación de conflictos"},
                                    {"disco.html", "el disco"},
                                    {"propiedades.html", "las propiedades del disco"}};

constexpr VerbOption kPreviewOptions[] = {
    {"--force", kForceVersion},
    {"--json",
     "escribe {\"disc\": ..., \"previews\": [{\"windows\", \"medium\", \"insertion\", \"drive\", "
     "\"double_click\", \"context_menu\"}]}, cada parte con sus \"sources\""},
    {"--windows xp|7|10",
     "solo esa versión: xp es Windows XP, 7 es Windows Vista y 7, 10 es Windows 8, 10 y 11 (por omisión, las "
     "tres)"},
    {"--medium cd|usb|usb-disk",
     "la unidad: cd un CD o DVD, usb una memoria USB (unidad extraíble), usb-disk un disco duro USB (unidad fija); "
     "por omisión, el soporte del proyecto"},
    {"--disc CARPETA",
     "la carpeta que se va a grabar, donde se busca el contenido (por omisión, la que nombra el proyecto)"},
};
constexpr std::string_view kPreviewText[] = {
    "Dice qué hará cada versión de Windows con el disco en esa unidad: qué pasa al insertarlo (se ejecuta el "
    "programa, o las opciones de la Reproducción automática en su orden), la unidad como la muestra el explorador "
    "(etiqueta, icono y sus tamaños), qué hace un doble clic y el menú contextual, con la entrada predeterminada "
    "marcada con *.",
    "Cada parte nombra las páginas de Microsoft de las que sale (Fuentes); lo que esas páginas no dicen se escribe "
    "como \"no documentado\". Son los datos de la vista previa del disco del editor.",
};
constexpr std::string_view kPreviewExamples[] = {"disco.kmr", "--json --windows 7 --medium usb disco.kmr"};
constexpr VerbLink kPreviewLinks[] = {{"vista_previa.html", "la vista previa del disco"}};

constexpr VerbArgument kImportArguments[] = {{"AUTORUN"}};
constexpr VerbOption kImportOptions[] = {
    {"--force", "acepta un fichero sin la línea \"[autorun]\" al principio y sustituye un proyecto que ya existe"},
    {"--json", "escribe el proyecto en JSON, como show, más \"unrecognised\": N (las órdenes no reconocidas)"},
    {"--sin-extras", "importa solo los objetos, sin las demás entradas"},
    {"--in-place", kInPlace},
    {.form = "-o PROYECTO", .text = "guarda el proyecto importado en la versión 2", .output = true},
};
constexpr std::string_view kImportText[] = {
    "Importa un fichero autorun. El resultado de la importación va a la salida de errores; sin -o ni --json no "
    "se guarda nada, y así se dice.",
    "Las entradas que no dan objetos (action, [Content], las secciones de plataforma, las desconocidas...) se "
    "conservan en el proyecto y se compilan de nuevo, salvo las de una clave cuyo objeto (programa, icono, "
    "etiqueta, menú predeterminado) se cambie después.",
    "Un fichero en UTF-8 sin marca con letras fuera de ASCII, o en UTF-16 sin marca o big-endian, se lee como está "
    "escrito, y se dice. Sin --force, un fichero cuya primera línea no es exactamente [autorun] se rechaza diciendo "
    "cuál es.",
    "Las líneas terminan en CR LF o LF: un CR solo queda dentro del valor. Se dice en la salida de errores, como "
    "un carácter nulo en un valor, y un proyecto con un valor de varias líneas no se guarda (sale con 4). De un "
    "fichero cuyas líneas terminan solo en CR se dice que se lee como una sola línea.",
};
constexpr std::string_view kImportExamples[] = {"--json autorun.inf", "viejo/autorun.inf -o recuperado.kmr"};
constexpr VerbLink kImportLinks[] = {{"importar.html", "importar un autorun.inf"}};

constexpr VerbOption kTemplatesOptions[] = {
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
constexpr std::string_view kTemplatesExamples[] = {"--json"};
constexpr VerbLink kTemplatesLinks[] = {{"plantillas.html", "las plantillas"}};

constexpr auto kOnce = Repeat::Once;
constexpr auto kEach = Repeat::Each;
constexpr auto kDisc = OptionGroup::DiscEntries;
constexpr VerbOption kNewOptions[] = {
    {.form = "--template NOMBRE|FICHERO",
     .text = "la plantilla: su nombre, su fichero en las carpetas de plantillas o la ruta de "
             "un fichero .kmrt",
     .repeat = kOnce},
    {.form = "--program P", .text = "el programa o documento que se ejecuta", .repeat = kOnce},
    {.form = "--resource", .text = "el programa es un recurso que abre su programa asociado", .needs = "--program"},
    {.form = "--icon I", .text = "el icono", .repeat = kOnce},
    {.form = "--label L", .text = "la etiqueta", .repeat = kOnce},
    {.form = "--menu TEXTO=COMANDO[=NOMBRE]",
     .text = "añade un menú al final; sin NOMBRE, el nombre interno es \"Menu\" y el "
             "primer número libre (si el comando lleva \"=\", termine con \"=NOMBRE\" "
             "o con un \"=\" final)",
     .repeat = kEach},
    {.form = "--default N", .text = "hace predeterminado el menú N (desde 1; 0: ninguno)", .repeat = kOnce},
    {.form = "--disc CARPETA", .text = "la carpeta del disco que nombrará el proyecto", .repeat = kOnce},
    {.form = "--medium cd|usb", .text = "el soporte del disco (con --disc)", .repeat = kOnce, .needs = "--disc"},
    {.form = "--action TEXTO",
     .text = "el texto con que la Reproducción automática presenta el programa (action)",
     .repeat = kOnce,
     .group = kDisc},
    {.form = "--custom-event NOMBRE",
     .text = "el evento de Reproducción automática (CustomEvent)",
     .repeat = kOnce,
     .group = kDisc},
    {.form = "--use-autoplay",
     .text = "usa la Reproducción automática en lugar del programa (UseAutoPlay=1)",
     .group = kDisc},
    {.form = "--content TIPO[=VALOR]",
     .text = "un tipo de [Content]: music, pictures o video (por omisión, true)",
     .repeat = kEach,
     .group = kDisc},
    {.form = "--exclusive-path CARPETA",
     .text = "una carpeta de [ExclusiveContentPaths]",
     .repeat = kEach,
     .group = kDisc},
    {.form = "--ignore-path CARPETA", .text = "una carpeta de [IgnoreContentPaths]", .repeat = kEach, .group = kDisc},
    {.form = "--driver-path CARPETA",
     .text = "una carpeta de controladores (DriverPath de [DeviceInstall])",
     .repeat = kEach,
     .group = kDisc},
    {.form = "--platform-entry PLATAFORMA:CLAVE=VALOR",
     .text = "una entrada de [AutoRun.PLATAFORMA] (x86, Amd64, Alpha, Mips o PPC)",
     .repeat = kEach,
     .group = kDisc},
    {"--force", "sustituye un proyecto que ya existe"},
    {"--in-place", kInPlace},
    {.form = "-o PROYECTO", .text = "el proyecto que se crea (versión 2)", .output = true, .required = true},
};
constexpr std::string_view kNewText[] = {
    "Crea el proyecto que crearía el asistente con los mismos datos: la plantilla los rellena y las demás "
    "opciones los sustituyen o añaden menús.",
    "Las opciones de las entradas del disco (de --action a --platform-entry) las guardan en el proyecto; "
    "--content y las de carpetas y de plataforma pueden repetirse.",
    "Ningún valor puede ocupar más de una línea (sale con 2).",
};
constexpr std::string_view kNewExamples[] = {"--template Instalador --disc disco -o disco.kmr"};
constexpr VerbLink kNewLinks[] = {{"asistente.html", "el asistente de nuevo proyecto"}};

constexpr VerbOption kIsoOptions[] = {
    {"--force", kForceVersion},
    {"--disc CARPETA", "la carpeta que se graba (por omisión, la que nombra el proyecto)"},
    {"--label ETIQUETA", "el nombre de volumen (por omisión, la etiqueta del proyecto o el nombre de la carpeta)"},
    {"--verbose", "muestra lo que escribe xorriso"},
    {"--in-place", "escribe el autorun.inf de la carpeta del disco en su sitio si la carpeta no deja crear ficheros"},
    {.form = "-o IMAGEN.iso",
     .text = "la imagen que se crea",
     .output = true,
     .required = true,
     .whenMissing = "falta la imagen que se va a crear (-o IMAGEN.iso)"},
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
constexpr std::string_view kIsoExamples[] = {"disco.kmr -o disco.iso"};
constexpr VerbLink kIsoLinks[] = {{"disco.html", "el disco"}};

constexpr std::string_view kOneProject = "se espera un fichero de proyecto";

constexpr Verb kVerbs[] = {
    {.name = "show",
     .arguments = kProject,
     .options = kShowOptions,
     .text = kShowText,
     .examples = kShowExamples,
     .links = kShowLinks,
     .run = showCommand,
     .wrongArguments = kOneProject,
     .errorSynopsis = "show [--force] FICHERO"},
    {.name = "convert",
     .arguments = kConvertArguments,
     .options = kConvertOptions,
     .text = kConvertText,
     .examples = kConvertExamples,
     .links = kShowLinks,
     .run = convertCommand,
     .wrongArguments = "se esperan un fichero de entrada y uno de salida"},
    {.name = "compile",
     .arguments = kProject,
     .options = kCompileOptions,
     .text = kCompileText,
     .examples = kCompileExamples,
     .links = kCompileLinks,
     .run = compileCommand,
     .wrongArguments = kOneProject},
    {.name = "check",
     .arguments = kProject,
     .options = kCheckOptions,
     .text = kCheckText,
     .examples = kCheckExamples,
     .links = kCheckLinks,
     .run = checkCommand,
     .wrongArguments = kOneProject},
    {.name = "preview",
     .arguments = kProject,
     .options = kPreviewOptions,
     .text = kPreviewText,
     .examples = kPreviewExamples,
     .links = kPreviewLinks,
     .run = previewCommand,
     .wrongArguments = kOneProject},
    {.name = "import",
     .arguments = kImportArguments,
     .options = kImportOptions,
     .text = kImportText,
     .examples = kImportExamples,
     .links = kImportLinks,
     .run = importCommand,
     .wrongArguments = "se espera un fichero autorun"},
    {.name = "templates",
     .options = kTemplatesOptions,
     .text = kTemplatesText,
     .examples = kTemplatesExamples,
     .links = kTemplatesLinks,
     .run = templatesCommand,
     .wrongArguments = "no se esperan ficheros"},
    {.name = "new",
     .options = kNewOptions,
     .text = kNewText,
     .examples = kNewExamples,
     .links = kNewLinks,
     .run = newCommand},
    {.name = "iso",
     .arguments = kProject,
     .options = kIsoOptions,
     .text = kIsoText,
     .examples = kIsoExamples,
     .links = kIsoLinks,
     .run = isoCommand,
     .wrongArguments = kOneProject},
};

constexpr ExitCodeHelp kExitCodes[] = {
    {0, "hecho"},
    {1, "se encontraron conflictos o hallazgos (check, compile --strict)"},
    {2, "uso incorrecto, un proyecto que se sustituiría sin --force, o una salida que es el fichero de entrada"},
    {3,
     "un fichero no existe o no se puede leer o escribir (el mensaje dice cuál y por qué), un destino de solo "
     "lectura o que solo se podría sobrescribir en su sitio (sin --in-place), una carpeta del disco que no se puede "
     "leer o un fichero suyo que es una FIFO o un dispositivo, o no se pudo escribir la salida estándar o una FIFO"},
    {4,
     "entrada rechazada (versión no reconocida, fichero que no es un proyecto, encabezado incorrecto, plantilla "
     "que no es de la versión 2.3, nombre interno de menú repetido, más de 64 MiB, un fichero que quedó a medias), "
     "salida de más de 64 MiB o con un valor de más de una línea, sin memoria para leerla, o un error inesperado "
     "del sistema"},
    {5, "xorriso no está instalado o falló (iso)"},
};

}  // namespace

std::span<const Verb> verbs() { return kVerbs; }
std::span<const ExitCodeHelp> exitCodeHelp() { return kExitCodes; }

const Verb* findVerb(std::string_view name) {
    const auto it = std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const Verb& v) { return v.name == name; });
    return it == std::end(kVerbs) ? nullptr : &*it;
}

std::string_view optionName(const VerbOption& option) { return option.form.substr(0, option.form.find(' ')); }

std::string_view optionArgument(const VerbOption& option) {
    const std::size_t blank = option.form.find(' ');
    return blank == std::string_view::npos ? std::string_view() : option.form.substr(blank + 1);
}

bool optionTakesValue(const VerbOption& option) { return !optionArgument(option).empty(); }

const VerbOption* findOption(const Verb& verb, std::string_view name) {
    const auto it = std::find_if(verb.options.begin(), verb.options.end(),
                                 [&](const VerbOption& o) { return optionName(o) == name; });
    return it == verb.options.end() ? nullptr : &*it;
}

}  // namespace kmr::cli
