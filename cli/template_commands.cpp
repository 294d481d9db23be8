#include <algorithm>
#include <filesystem>
#include <ostream>

#include "commands.h"
#include "json.h"
#include "kmrc.h"
#include "platform/file_read.h"
#include "platform/path_text.h"
#include "settings_options.h"
#include "text/integer.h"
#include "text/text.h"
#include "wizards/new_project.h"
#include "wizards/templates.h"

namespace kmr::cli {
namespace {

// The template named by --template: a file given by its path, else a listed template by its name,
// its file name or its file name without the extension. Sets `exitCode` when there is none.
std::optional<TemplateRecord> findTemplate(const std::string& wanted, const std::vector<std::string>& folders,
                                           Streams io, int& exitCode) {
    const std::string folded = text::asciiLower(wanted);
    const bool looksLikeFile = wanted.find_first_of("/\\") != std::string::npos || folded.ends_with(kTemplateExtension);
    if (!io::fileExists(wanted) || !looksLikeFile) {
        const std::vector<TemplateRecord> listed = listTemplates(folders);
        const auto byName =
            std::find_if(listed.begin(), listed.end(), [&](const TemplateRecord& r) { return r.name == wanted; });
        if (byName != listed.end()) return *byName;
        const auto byFile = std::find_if(listed.begin(), listed.end(), [&](const TemplateRecord& r) {
            const std::string file = text::asciiLower(text::fileNameOf(r.path));
            return file == folded || file == folded + std::string(kTemplateExtension);
        });
        if (byFile != listed.end()) return *byFile;
        if (!looksLikeFile) {
            io.err << "kmrc: plantilla desconocida: " << wanted << " (kmrc templates lista las plantillas)\n";
            exitCode = kUsage;
            return std::nullopt;
        }
    }
    const auto bytes = readInput(wanted, io, exitCode);
    if (!bytes) return std::nullopt;
    auto record = readTemplate(*bytes, 0);
    if (!record) {
        io.err << "kmrc: " << wanted << ": no es una plantilla de la versión 2.3\n";
        exitCode = kRefused;
        return std::nullopt;
    }
    record->path = wanted;
    return record;
}

// TEXTO=COMANDO[=NOMBRE]: the text runs to the first "=", the name starts after the last one when
// there are two; an empty name (a trailing "=") takes the next Menu<n>.
struct MenuArgument {
    std::string text;
    std::string command;
    std::string name;
};

std::optional<MenuArgument> splitMenuArgument(const std::string& value) {
    const std::size_t first = value.find('=');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = value.rfind('=');
    if (last == first) return MenuArgument{value.substr(0, first), value.substr(first + 1), {}};
    return MenuArgument{value.substr(0, first), value.substr(first + 1, last - first - 1), value.substr(last + 1)};
}

}  // namespace

int templatesCommand(const ParsedArgs& p, Streams io, const KmrcSetup& setup) {
    const std::vector<std::string>& folders = setup.templateFolders;
    const std::vector<TemplateRecord> records = listTemplates(folders);
    if (p.has("--json")) {
        std::string out = "{\n  \"folders\": [";
        for (std::size_t i = 0; i < folders.size(); ++i) out += (i > 0 ? ", " : "") + jsonString(folders[i]);
        out += "],\n  \"templates\": [";
        for (std::size_t i = 0; i < records.size(); ++i) {
            const TemplateRecord& r = records[i];
            out += i > 0 ? ",\n    " : "\n    ";
            out += "{\"folder\": " + jsonString(r.folder) + ", \"file\": " + jsonString(text::fileNameOf(r.path)) +
                   ", \"name\": " + jsonString(r.name) + ", \"menus\": " + std::to_string(r.menus.size()) +
                   ", \"explanation\": " + jsonString(r.explanation) + "}";
        }
        out += records.empty() ? "]\n}\n" : "\n  ]\n}\n";
        io.out << out;
        return kDone;
    }
    if (records.empty()) {
        io.err << "kmrc: no hay plantillas en las carpetas de plantillas (kmrc templates --json las muestra)\n";
    }
    for (const TemplateRecord& r : records) {
        io.out << r.folder << '\t' << text::fileNameOf(r.path) << '\t' << r.name << '\t' << r.menus.size() << '\n';
    }
    return kDone;
}

int newCommand(const ParsedArgs& p, Streams io, const KmrcSetup& setup) {
    const std::vector<std::string>& folders = setup.templateFolders;
    const auto medium = p.value("--medium");
    if (medium && *medium != "cd" && *medium != "usb") return usageError(p, "--medium espera cd o usb: " + *medium, io);
    // A value of two lines would write entries nobody asked for: refused, as the editor's fields refuse it.
    for (const auto& [option, value] : p.given) {
        if (option != "-o" && value.find_first_of("\r\n") != std::string::npos)
            return usageError(p, std::string(option) + ": un valor no puede ocupar más de una línea", io);
    }

    // As in the wizard: the template fills the fields and the menu list, then the fields are edited,
    // new menus are appended and one may be made the default.
    WizardData data;
    int code = kDone;
    std::string templatePath;
    for (const std::string& wanted : p.values("--template")) {
        const auto record = findTemplate(wanted, folders, io, code);
        if (!record) return code;
        data = applyTemplate(*record);
        templatePath = record->path;
    }
    for (const std::string& program : p.values("--program")) {
        data.runCommand = program;
        data.resource = p.has("--resource");
    }
    for (const std::string& icon : p.values("--icon")) data.icon = icon;
    for (const std::string& label : p.values("--label")) data.label = label;
    for (const std::string& value : p.values("--menu")) {
        auto menu = splitMenuArgument(value);
        if (!menu) return usageError(p, "--menu espera TEXTO=COMANDO[=NOMBRE]: " + value, io);
        if (menu->text.empty() || menu->command.empty()) {
            io.err << kMenuFieldsMissing << "\nkmrc: --menu " << value << ": faltan el texto o el comando\n";
            return kUsage;
        }
        if (menu->name.empty()) menu->name = newMenuName(data.menus);
        const bool repeated = std::any_of(data.menus.begin(), data.menus.end(),
                                          [&](const WizardMenu& m) { return m.name == menu->name; });
        if (repeated) {
            io.err << kMenuNameRepeated << "\nkmrc: --menu " << value << ": el nombre interno " << menu->name
                   << " ya existe\n";
            return kRefused;
        }
        data.menus.push_back({std::move(menu->text), std::move(menu->command), std::move(menu->name), Kind::PlainMenu});
    }
    for (const std::string& value : p.values("--default")) {
        constexpr text::IntegerSyntax kDecimal{.allowSign = false, .allowHex0x = false, .allowHexDollar = false};
        const auto n = text::parseInteger(value, kDecimal);
        if (data.menus.empty() && n && *n > 0) {
            return usageError(p, "--default " + value + ": el proyecto no tiene menús (0 deja ninguno)", io);
        }
        if (!n || static_cast<std::size_t>(*n) > data.menus.size()) {
            return usageError(p,
                              "--default espera el número de un menú, de 1 a " + std::to_string(data.menus.size()) +
                                  ", o 0 para ninguno: " + value,
                              io);
        }
        for (WizardMenu& m : data.menus) m.kind = Kind::PlainMenu;
        if (*n > 0) toggleDefaultMenu(data.menus, static_cast<std::size_t>(*n) - 1);
    }
    Project project = buildProject(data);
    if (const auto disc = p.value("--disc")) {
        // Kept whole, as the editor keeps a chosen folder: the project may be saved elsewhere later.
        std::error_code ec;
        std::filesystem::path folder = std::filesystem::absolute(platform::pathOf(*disc), ec).lexically_normal();
        if (!folder.has_filename()) folder = folder.parent_path();
        project.disc.folder = ec ? *disc : platform::textOf(folder);
        project.disc.medium = medium == "usb" ? Medium::Usb : Medium::CdDvd;
    }
    if (const std::string error = applySettingsOptions(p, project.settings); !error.empty())
        return usageError(p, error, io);
    if (!templatePath.empty() && !distinctFromInput(templatePath, *p.output(), io)) return kUsage;
    if (!mayReplace(*p.output(), p.has("--force"), io)) return kUsage;
    if (refuseLineBreaks(project, io)) return kRefused;
    return writeOutput(*p.output(), projectFileBytes(project), io, writeOptions(p));
}

}  // namespace kmr::cli
