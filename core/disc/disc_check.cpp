#include "disc/disc_check.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unordered_map>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "autorun/kept_entries.h"
#include "disc/disc_files.h"
#include "disc/settings_check.h"
#include "disc/windows_preview.h"
#include "platform/file_read.h"
#include "platform/path_text.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

struct FindingInfo {
    std::string_view key;
    std::string_view title;
    int image;
};

constexpr std::array<FindingInfo, 14> kFindings = {{
    {"folder-missing", "Carpeta del disco inexistente", kWarningImage},
    {"missing-file", "Fichero inexistente en el disco", kWarningImage},
    {"absolute-path", "Referencia a una ruta absoluta", kInformationImage},
    {"document-as-program", "Documento ejecutado como programa", kWarningImage},
    {"interpreter-command", "Orden del intérprete de comandos", kWarningImage},
    {"not-an-icon", "Fichero de icono no válido", kWarningImage},
    {"unreadable-icon", "Icono ilegible", kWarningImage},
    {"icon-number-past-end", "Número de icono inexistente", kWarningImage},
    {"menu-names-clash", "Menús con el mismo nombre interno", kWarningImage},
    {"bad-menu-name", "Nombre interno de menú no válido", kWarningImage},
    {"blanks-dropped", "Espacios que Windows eliminará", kInformationImage},
    {"autorun-differs", "autorun.inf distinto del proyecto", kWarningImage},
    {"autorun-misread", "autorun.inf que Windows leerá mal", kWarningImage},
    {"usb-ignores-entries", "Autorun limitado en unidades USB", kInformationImage},
}};

constexpr std::array<std::string_view, 6> kConflictKeys = {"incompatible-objects", "no-resource",
                                                           "icon-drive-reference", "run-drive-reference",
                                                           "menu-drive-reference", "xp-only-resource"};

// Files bigger than this are not read to look for icons; no icon file or program on a CD comes near.
constexpr std::uintmax_t kMaxIconFileSize = 256u << 20;

const FindingInfo& infoOf(DiscFinding f) { return kFindings.at(static_cast<std::size_t>(f)); }

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

// How a report names the object a value belongs to.
std::string subjectOf(const ProjectObject& o) {
    switch (o.kind) {
        case Kind::RunEntry: return "El programa o recurso a ejecutar";
        case Kind::Icon: return "El icono";
        case Kind::Label: return "La etiqueta";
        case Kind::PlainMenu:
        case Kind::DefaultMenu: break;
    }
    return "El comando del menú " + inQuotes(o.value(0));
}

enum class Where { OnDisc, System, Interpreter, Elsewhere, Missing };

struct Lookup {
    Where where = Where::Missing;
    std::string name;  // the candidate found, or the one a report names when none is
    std::string path;  // on this machine, when on the disc
};

// Looks up the file a command starts with, trying its candidates in Windows' order. A program
// without extension is also tried with ".exe"; "%1" at the start is the root of the disc, as in the
// command of a drive's menu.
Lookup lookUp(const DiscFolder& folder, std::string_view command, bool program) {
    std::vector<std::string> candidates = programCandidates(command);
    for (std::string& c : candidates) {
        if (c.starts_with("%1")) c.erase(0, 2);
    }
    for (const std::string& c : candidates) {
        if (c.starts_with('%') || isDriveReference(c) || c.starts_with("\\\\")) return {Where::Elsewhere, c, {}};
        if (const auto path = folder.find(c)) return {Where::OnDisc, c, *path};
        if (program && text::fileNameOf(c).find('.') == std::string_view::npos) {
            if (const auto path = folder.find(c + ".exe")) return {Where::OnDisc, c + ".exe", *path};
        }
        if (program && isSystemProgram(c)) return {Where::System, c, {}};
        if (program && isInterpreterCommand(c)) return {Where::Interpreter, c, {}};
    }
    // Nothing found: a report names the first of the names tried that looks like a file name.
    const auto named = std::find_if(candidates.begin(), candidates.end(), [](const std::string& c) {
        return text::fileNameOf(c).find('.') != std::string_view::npos;
    });
    if (named != candidates.end()) return {Where::Missing, *named, {}};
    return {Where::Missing, candidates.empty() ? std::string() : candidates.front(), {}};
}

class DiscChecker {
public:
    // Without `readFiles` the checker only looks files up, as discProblem does.
    DiscChecker(const Project& project, const DiscTarget& disc, bool readFiles = true)
        : m_project(project), m_disc(disc), m_folder(disc.folder), m_readFiles(readFiles) {}

    const std::string& problem() const { return m_folder.problem(); }

    std::vector<CheckItem> run() {
        if (m_project.empty()) return {};
        const bool folder = m_folder.exists();
        if (!folder) {
            add(DiscFinding::FolderMissing,
                "  No se encuentra la carpeta del disco " + inQuotes(m_disc.folder) +
                    ". Sin ella no se puede comprobar qué ficheros llevará el CD.",
                "  Elija la carpeta cuyo contenido se va a grabar en el CD.");
        }
        for (const ProjectObject& o : m_project.objects) {
            switch (o.kind) {
                case Kind::RunEntry: checkCommand(o, o.value(0), !isResourceEntry(o), folder); break;
                case Kind::Icon: checkIcon(o, folder); break;
                case Kind::Label: break;
                case Kind::PlainMenu:
                case Kind::DefaultMenu:
                    checkCommand(o, o.value(1), true, folder);
                    checkMenuName(o);
                    break;
            }
            checkBlanks(o);
        }
        if (folder) checkAutorunFile();
        if (m_disc.medium == Medium::Usb) checkUsb();

        // A line said twice (two menus with the same text and blanks, say) is listed once.
        std::vector<CheckItem> items;
        std::set<std::string> seen;
        for (auto& bucket : m_items) {
            for (auto& item : bucket) {
                if (seen.insert(std::string(item.key) + '\n' + item.explanation[0]).second)
                    items.push_back(std::move(item));
            }
        }
        return items;
    }

private:
    void add(DiscFinding f, std::string first, std::string second) {
        const FindingInfo& info = infoOf(f);
        m_items.at(static_cast<std::size_t>(f)).push_back({info.key, info.title, info.image, {first, second}});
    }

    void checkCommand(const ProjectObject& o, std::string_view command, bool program, bool folder) {
        if (isDriveReference(command)) return;  // the conflict check speaks of it
        if (const std::string path = absolutePathIn(command); !path.empty()) {
            add(DiscFinding::AbsolutePath,
                "  " + subjectOf(o) + " contiene la ruta absoluta " + inQuotes(path) +
                    ", que solo existe en los ordenadores que tengan esa unidad o ese recurso de red.",
                "  Siempre es recomendable copiar el fichero al CD compilado y referenciar respecto a la unidad de "
                "CD.");
        }
        if (!program && isAddress(command)) return;  // a web address opened as a resource is fine
        if (program && isAddress(command)) {
            documentAsProgram(o, text::trim(command));
            return;
        }
        const Lookup found = lookUp(m_folder, command, program);
        if (found.where == Where::Interpreter) {
            interpreterCommand(o, command, found.name);
            return;
        }
        if (found.where == Where::Missing && folder && !found.name.empty()) {
            add(DiscFinding::MissingFile,
                "  " + subjectOf(o) + " hace referencia a " + inQuotes(found.name) +
                    ", que no se encuentra en la carpeta del disco. Windows lo busca respecto a la raíz del CD, sin "
                    "distinguir mayúsculas de minúsculas.",
                "  Copie el fichero a la carpeta del disco o corrija la referencia.");
        }
        if (program && (found.where == Where::OnDisc || found.where == Where::Missing) && !found.name.empty() &&
            roleOf(found.name) != FileRole::Program) {
            documentAsProgram(o, found.name);
        }
    }

    void documentAsProgram(const ProjectObject& o, const std::string& name) {
        const bool web = roleOf(name) == FileRole::WebPage;
        const std::string example = "explorer " + (name.find(' ') == std::string::npos ? name : inQuotes(name));
        add(DiscFinding::DocumentAsProgram,
            "  " + subjectOf(o) + " empieza por " + inQuotes(name) + ", que es " +
                (web ? "una página web" : "un documento") +
                " y no un programa. Windows no lo abrirá: solo puede ejecutar programas.",
            o.kind == Kind::RunEntry ? "  Ejecútelo como recurso (\"recurso asociado a programa\") o escriba delante "
                                       "el programa que debe abrirlo, por ejemplo: " +
                                           example
                                     : "  Escriba delante el programa que debe abrirlo, por ejemplo: " + example);
    }

    // Only the command interpreter knows such an order, so the command must start it: "cmd /c"
    // runs the rest of the line and ends. start takes a first quoted argument for the window's
    // title, so the example gives it an empty one before a quoted file.
    void interpreterCommand(const ProjectObject& o, std::string_view command, const std::string& order) {
        const std::string_view line = text::trimView(command);
        std::string example = "cmd /c " + std::string(line);
        const std::string_view rest =
            line.starts_with(order) ? text::trimLeftView(line.substr(order.size())) : std::string_view();
        if (text::asciiLower(order) == "start" && rest.starts_with('"'))
            example = "cmd /c " + std::string(line.substr(0, order.size())) + " \"\" " + std::string(rest);
        add(DiscFinding::InterpreterCommand,
            "  " + subjectOf(o) + " empieza por " + inQuotes(order) +
                ", que es una orden del intérprete de comandos y no un programa. Windows no la encontrará.",
            "  Escriba delante cmd /c para que la ejecute el intérprete, por ejemplo: " + example);
    }

    void checkIcon(const ProjectObject& o, bool folder) {
        const std::string_view value = o.value(0);
        if (isDriveReference(value)) return;
        if (const std::string path = absolutePathIn(value); !path.empty()) {
            add(DiscFinding::AbsolutePath,
                "  El icono contiene la ruta absoluta " + inQuotes(path) +
                    ", que solo existe en los ordenadores que tengan esa unidad o ese recurso de red.",
                "  Siempre es recomendable copiar el fichero de icono al CD compilado y referenciar respecto a la "
                "unidad de CD.");
            return;
        }
        const IconReference ref = parseIconReference(value);
        if (!folder || ref.file.empty()) return;
        const auto path = m_folder.find(ref.file);
        if (!path) {
            add(DiscFinding::MissingFile,
                "  El icono hace referencia a " + inQuotes(ref.file) +
                    ", que no se encuentra en la carpeta del disco. Windows lo busca respecto a la raíz del CD, sin "
                    "distinguir mayúsculas de minúsculas.",
                "  Copie el fichero de icono a la carpeta del disco o corrija la referencia.");
            return;
        }
        std::error_code ec;
        // A FIFO or a device is never read: it could keep the check waiting for ever.
        if (!m_readFiles || !isRegularFile(*path)) return;
        if (std::filesystem::file_size(platform::pathOf(*path), ec) > kMaxIconFileSize || ec) return;
        const io::ReadResult file = io::readFile(*path);
        if (!file.ok()) return;
        const IconPick pick = pickIcon(file.bytes, ref.number);
        switch (pick.status) {
            case IconStatus::Ok: break;
            case IconStatus::NotAnIcon:
                add(DiscFinding::NotAnIcon,
                    "  El icono " + inQuotes(ref.file) +
                        " no es un fichero de icono (.ico), ni un programa (.exe) ni una biblioteca (.dll), así que "
                        "Windows mostrará el icono estándar del CD.",
                    "  Referencie un fichero .ico, o un programa o biblioteca que contenga iconos.");
                break;
            case IconStatus::Unreadable:
                add(DiscFinding::UnreadableIcon,
                    "  No se pueden leer los iconos de " + inQuotes(ref.file) +
                        ": el fichero está dañado o es un programa de un formato antiguo.",
                    "  Referencie un fichero .ico, o un programa de Windows de 32 o 64 bits que contenga iconos.");
                break;
            case IconStatus::PastEnd:
                add(DiscFinding::IconNumberPastEnd,
                    "  El icono pide el número " + std::to_string(ref.number) + " de " + inQuotes(ref.file) + ", que " +
                        iconCountText(pick.iconCount) + ".",
                    "  Los iconos se numeran desde 0; un número negativo es el identificador del icono dentro del "
                    "programa. Corrija el número o Windows mostrará el icono estándar del CD.");
                break;
        }
    }

    static std::string iconCountText(std::size_t n) {
        if (n == 0) return "no contiene ningún icono";
        if (n == 1) return "solo contiene un icono";
        return "solo contiene " + std::to_string(n) + " iconos";
    }

    void checkMenuName(const ProjectObject& o) {
        const std::string_view name = o.value(2);
        const std::string menu = inQuotes(o.value(0));
        std::string what;
        if (name.empty())
            what = "está vacío";
        else if (name.find('\\') != std::string_view::npos)
            what = "contiene una barra invertida";
        else if (name.find('=') != std::string_view::npos)
            what = "contiene un signo igual";
        else if (text::isBlank(name.front()) || text::isBlank(name.back()))
            what = "empieza o termina con espacios";
        if (!what.empty()) {
            add(DiscFinding::BadMenuName,
                "  El nombre interno " + inQuotes(name) + " del menú " + menu + " " + what +
                    ", lo que rompe la clave shell\\" + std::string(name) + "\\command del autorun.",
                "  Utilice como nombre interno una sola palabra, sin barras invertidas ni signos igual.");
        }
        const std::string folded = text::asciiLower(name);
        const auto [first, inserted] = m_menuNames.try_emplace(folded, &o);
        if (inserted) return;
        add(DiscFinding::MenuNamesClash,
            "  Los menús " + inQuotes(first->second->value(0)) + " y " + menu + " tienen los nombres internos " +
                inQuotes(first->second->value(2)) + " y " + inQuotes(name) +
                ", que Windows considera iguales porque no distingue mayúsculas de minúsculas.",
            "  Dé a cada menú un nombre interno distinto, o Windows solo verá uno de ellos.");
    }

    void checkBlanks(const ProjectObject& o) {
        const auto check = [&](std::string_view value, const std::string& subject) {
            if (value.empty() || (!text::isBlank(value.front()) && !text::isBlank(value.back()))) return;
            add(DiscFinding::BlanksDropped,
                "  " + subject + " " + inQuotes(value) +
                    " empieza o termina con espacios, que Windows quita al leer el "
                    "autorun.",
                "  Quite esos espacios, o el CD no mostrará ni ejecutará el valor tal como lo ha escrito.");
        };
        if (isMenu(o.kind)) {
            check(o.value(0), "El texto del menú");
            check(o.value(1), subjectOf(o));
        } else {
            check(o.value(0), subjectOf(o));
        }
    }

    void checkAutorunFile() {
        const auto path = m_folder.find(kAutorunFileName);
        if (!path || !m_readFiles || !isRegularFile(*path)) return;
        // What counts is what Windows reads: the entries, not blank lines, comments, letter case of keys or
        // the order of the lines. The file is decoded as an import decodes it; its lines are cut as Windows
        // cuts them, a lone CR ending one too (an import keeps such a CR inside a value, and says so).
        const AutorunSource source = readAutorunFile(*path);
        std::string difference;
        if (source.ok()) {
            // Its entries as they were meant (UTF-8 read as UTF-8), and apart from that, how Windows reads them.
            if (source.form != text::UnmarkedForm::Cp1252) {
                add(DiscFinding::AutorunMisread,
                    "  El fichero " + inQuotes(text::fileNameOf(*path)) + " de la carpeta del disco está en " +
                        std::string(formName(source.form)) +
                        (source.form == text::UnmarkedForm::Utf8 ? ", que Windows leerá como «" + source.windowsWord +
                                                                       "» en lugar de «" + source.word + "»."
                                                                 : ", que Windows no leerá."),
                    "  Compile el proyecto en la carpeta del disco: KMR escribe el autorun.inf en una forma que "
                    "Windows lee.");
            }
            const auto d = firstMeaningDifference(source.text, compileAutorun(m_project));
            if (!d) return;
            difference = ": " + *d;
        }
        add(DiscFinding::AutorunDiffers,
            "  El fichero " + inQuotes(text::fileNameOf(*path)) +
                " de la carpeta del disco no coincide con lo que se obtiene al compilar este proyecto" + difference +
                ".",
            "  Compile el proyecto en la carpeta del disco antes de grabarlo, o el disco llevará el autorun "
            "anterior.");
    }

    // What the rules of every Windows say of the project's entries on this drive; the preview reads the
    // same rules.
    void checkUsb() {
        const std::string said = entriesNotRunOn(m_project, driveOf(m_disc.medium));
        if (said.empty()) return;
        add(DiscFinding::UsbIgnoresEntries, "  " + said,
            "  En una unidad USB el usuario tendrá que abrir el programa por sí mismo; grabe un CD o DVD si necesita "
            "que arranque solo.");
    }

    const Project& m_project;
    const DiscTarget& m_disc;
    DiscFolder m_folder;
    bool m_readFiles;
    std::array<std::vector<CheckItem>, kFindings.size()> m_items;
    std::unordered_map<std::string, const ProjectObject*> m_menuNames;
};

}  // namespace

std::string_view findingKey(DiscFinding finding) { return infoOf(finding).key; }
std::string_view findingTitle(DiscFinding finding) { return infoOf(finding).title; }
int findingImage(DiscFinding finding) { return infoOf(finding).image; }

std::vector<CheckItem> checkDisc(const Project& project, const DiscTarget& disc) {
    return DiscChecker(project, disc).run();
}

std::string discProblem(const Project& project, const DiscTarget& disc) {
    const DiscFolder folder(disc.folder);
    if (std::string unreadable = folder.readError(); !unreadable.empty()) return unreadable;
    if (!folder.exists()) return {};
    DiscChecker objects(project, disc, false);
    objects.run();
    if (!objects.problem().empty()) return objects.problem();
    return settingsProblem(project, disc);
}

std::vector<CheckItem> conflictItems(const Project& project) {
    std::vector<CheckItem> items;
    for (const Finding f : checkConflicts(project)) {
        const FindingText& t = findingText(f);
        items.push_back({kConflictKeys.at(static_cast<std::size_t>(f)),
                         t.title,
                         t.image,
                         {std::string(t.explanation[0]), std::string(t.explanation[1])}});
    }
    return items;
}

std::vector<CheckItem> checkProjectOnDisc(const Project& project, const DiscTarget& disc) {
    std::vector<CheckItem> items = conflictItems(project);
    for (CheckItem& item : checkDisc(project, disc)) items.push_back(std::move(item));
    for (CheckItem& item : checkSettings(project, &disc)) items.push_back(std::move(item));
    return items;
}

}  // namespace kmr::disc
