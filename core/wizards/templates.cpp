#include "wizards/templates.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_read.h"
#include "platform/path_text.h"
#include "platform/system.h"
#include "project/profile.h"
#include "text/integer.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kHeader = "Brenlowe KMR Template";
constexpr std::string_view kGeneral = "ParametresGenerals";
constexpr text::IntegerSyntax kDecimal{.allowSign = true, .allowHex0x = false, .allowHexDollar = false};
constexpr text::IntegerSyntax kDecimalOrHex{.allowSign = true, .allowHex0x = true, .allowHexDollar = true};

std::string valueOr(const ProfileFile& profile, std::string_view section, std::string_view key,
                    std::string_view fallback) {
    return profile.find(section, key).value_or(std::string(fallback));
}

// A number (zero is no, any other value yes) or the words True and False in any case.
std::optional<bool> parseYesNo(std::string_view value) {
    if (const auto n = text::parseInteger(value, kDecimalOrHex)) return *n != 0;
    const std::string folded = text::asciiLower(value);
    if (folded == "true") return true;
    if (folded == "false") return false;
    return std::nullopt;
}

bool isTemplateFileName(std::string_view name) {
    // Dot-files are hidden; a name that is only the extension is one of them.
    if (name.empty() || name.front() == '.') return false;
    return text::asciiLower(name).ends_with(kTemplateExtension);
}

// The paths of a folder's template files in listing order.
std::vector<std::string> templateFilesOf(const std::string& folder) {
    namespace fs = std::filesystem;
    struct Candidate {
        std::string foldedName;
        std::string name;
        fs::path path;
    };
    std::vector<Candidate> candidates;
    std::error_code ec;
    fs::directory_iterator it(platform::pathOf(folder), ec);
    const fs::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::string name = platform::textOf(entry.path().filename());
        std::error_code typeError;
        if (!isTemplateFileName(name) || !entry.is_regular_file(typeError)) continue;
        candidates.push_back({text::asciiLower(name), std::move(name), entry.path()});
    }
    // Names differing only in case (possible here, not where these discs are read) keep a fixed order.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.foldedName != b.foldedName ? a.foldedName < b.foldedName : a.name < b.name;
    });
    std::vector<std::string> paths;
    paths.reserve(candidates.size());
    for (const Candidate& c : candidates) paths.push_back(platform::textOf(c.path));
    return paths;
}

}  // namespace

std::optional<TemplateRecord> readTemplate(std::string_view bytes, std::size_t fileNumber) {
    const ProfileFile profile(text::decode(bytes).text);
    if (profile.lookup(kHeader, "VersioMajor") != "2" || profile.lookup(kHeader, "VersioMenor") != "3") {
        return std::nullopt;
    }
    TemplateRecord r;
    r.fileNumber = fileNumber;
    r.name = valueOr(profile, kHeader, "Nom", "Modelo " + std::to_string(fileNumber));
    r.picture = text::parseInteger(profile.lookup(kHeader, "Icona"), kDecimalOrHex).value_or(0);
    r.explanation = valueOr(profile, kHeader, "Explicacio", "No hay una definición disponible.");
    r.program = profile.lookup(kGeneral, "Programa");
    r.icon = profile.lookup(kGeneral, "Icona");
    r.label = profile.lookup(kGeneral, "Etiqueta");
    r.resourceText = valueOr(profile, kGeneral, "Recurs", "0");
    r.menuCountText = valueOr(profile, kGeneral, "Menus", "0");
    r.defaultMenuText = valueOr(profile, kGeneral, "MenuPredeterminat", "0");

    // A count that is no whole number, or one far beyond the menu sections the file holds, cannot be
    // meant: such a template is listed without menus rather than read into unbounded memory.
    const auto count = text::parseInteger(r.menuCountText, kDecimal);
    if (count && *count > 0) {
        const ProfileFile::NumberedSections numbered = profile.numberedSections("Menu", *count);
        if (numbered.backed) {
            static constexpr std::array<std::string_view, 3> kKeys = {"Etiqueta", "Comandament", "NomIntern"};
            static constexpr std::array<std::string_view, 3> kDefaults = {"Acción", "programa.exe", "NombreInterno"};
            r.menus.reserve(static_cast<std::size_t>(*count));
            auto next = numbered.sections.begin();
            for (std::int32_t k = 1; k <= *count; ++k) {
                std::array<std::optional<std::string_view>, 3> raw;
                if (next != numbered.sections.end() && next->first == k) (next++)->second.findEach(kKeys, raw);
                auto& menu = r.menus.emplace_back();
                for (std::size_t i = 0; i < 3; ++i)
                    menu[i] = raw[i] ? profileValue(*raw[i]) : std::string(kDefaults[i]);
            }
        }
    }
    return r;
}

std::vector<TemplateRecord> loadTemplates(const std::string& folder) { return listTemplates({folder}); }

std::vector<TemplateRecord> listTemplates(const std::vector<std::string>& folders) {
    std::vector<TemplateRecord> records;
    std::size_t number = 0;
    for (const std::string& folder : folders) {
        for (const std::string& path : templateFilesOf(folder)) {
            const io::ReadResult file = io::readFile(path);
            if (file.ok()) {
                if (auto record = readTemplate(file.bytes, number)) {
                    record->folder = folder;
                    record->path = path;
                    records.push_back(std::move(*record));
                }
            }
            ++number;
        }
    }
    return records;
}

TemplateEnvironment templateEnvironmentOfProcess() {
    return {platform::environmentValue("XDG_DATA_HOME"), platform::environmentValue("HOME")};
}

std::vector<std::string> templateFolders(const std::string& programDir, const TemplateEnvironment& env) {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    if (!programDir.empty()) {
        candidates.push_back(platform::pathOf(programDir));
        candidates.push_back(platform::pathOf(programDir) / ".." / "share" / "kmr" / "templates");
    }
    // A relative $XDG_DATA_HOME is invalid and is ignored, as an unset one.
    const fs::path dataHome = platform::pathOf(env.xdgDataHome);
    if (dataHome.is_absolute()) {
        candidates.push_back(dataHome / "kmr" / "templates");
    } else if (!env.home.empty()) {
        candidates.push_back(platform::pathOf(env.home) / ".local" / "share" / "kmr" / "templates");
    }

    std::vector<std::string> folders;
    for (const fs::path& candidate : candidates) {
        std::error_code ec;
        fs::path canonical = fs::weakly_canonical(candidate, ec);
        if (ec) canonical = candidate.lexically_normal();
        std::string folder = platform::textOf(canonical);
        // weakly_canonical keeps a trailing separator when the path ended in one.
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
    }
    return folders;
}

WizardData applyTemplate(const TemplateRecord& record) {
    WizardData data;
    data.runCommand = record.program;
    data.icon = record.icon;
    data.label = record.label;
    data.resource = parseYesNo(record.resourceText).value_or(false);
    const std::int32_t defaultMenu = text::parseInteger(record.defaultMenuText, kDecimal).value_or(0);
    data.menus.reserve(record.menus.size());
    for (std::size_t i = 0; i < record.menus.size(); ++i) {
        const auto& [menuText, command, name] = record.menus[i];
        const bool isDefault = defaultMenu > 0 && static_cast<std::size_t>(defaultMenu) == i + 1;
        data.menus.push_back({menuText, command, name, isDefault ? Kind::DefaultMenu : Kind::PlainMenu});
    }
    return data;
}

}  // namespace kmr
