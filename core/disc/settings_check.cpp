#include "disc/settings_check.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <unordered_map>

#include "autorun/conflicts.h"
#include "autorun/kept_entries.h"
#include "disc/content_types.h"
#include "disc/disc_files.h"
#include "disc/windows_rules.h"
#include "project/project_values.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

class SettingsChecker {
public:
    SettingsChecker(const Project& project, const DiscTarget* disc)
        : m_project(project),
          m_settings(project.settings),
          m_disc(disc && !disc->folder.empty() ? disc : nullptr),
          m_folder(m_disc ? m_disc->folder : std::string()) {}

    const std::string& problem() const { return m_folder.problem(); }

    std::vector<CheckItem> run() {
        checkValueCharacters();
        checkRepeatedPlatforms();
        checkUnknownKeys();
        if (m_disc) checkAction();
        checkCustomEvent();
        checkUseAutoPlay();
        if (m_disc && m_folder.exists()) {
            checkActionFile();
            checkContent();
            checkFolders();
        }
        return std::move(m_items);
    }

    std::vector<CheckItem> values() {
        checkValueCharacters();
        return std::move(m_items);
    }

private:
    void add(std::string_view key, std::string_view title, int image, std::string first, std::string second) {
        m_items.push_back({key, title, image, {std::move(first), std::move(second)}});
    }

    bool hasRunEntry() const { return m_project.contains(Kind::RunEntry); }

    // A line break ends the value's line in the file; a NUL ends the value where Windows reads it.
    void checkValueCharacters() {
        forEachValue(m_project, [&](const ValuePlace& place, std::string_view value) {
            const std::size_t brk = value.find_first_of("\r\n");
            if (brk != std::string_view::npos) {
                const bool crLf = value.substr(brk).starts_with("\r\n");
                const std::string_view rest = value.substr(brk + (crLf ? 2 : 1));
                add("value-line-break", "Valor de más de una línea", kWarningImage,
                    "  " + subjectOf(place) + " tiene un salto de línea (" +
                        (crLf                 ? "CR LF"
                         : value[brk] == '\r' ? "CR"
                                              : "LF") +
                        ") tras " + inQuotes(value.substr(0, brk)) + ": en el fichero, " +
                        inQuotes(rest.substr(0, rest.find_first_of("\r\n"))) + " sería otra línea.",
                    "  Corrija el valor: mientras ocupe más de una línea, el proyecto no se puede guardar ni "
                    "compilar.");
            }
            if (const std::size_t nul = value.find('\0'); nul != std::string_view::npos) {
                add("value-nul", "Carácter nulo en un valor", kWarningImage,
                    "  " + subjectOf(place) + " tiene un carácter nulo (código 0) tras " +
                        inQuotes(value.substr(0, nul)) + ": Windows lee el valor solo hasta ahí.",
                    "  Quite ese carácter, o el disco no hará lo que dice el proyecto.");
            }
        });
    }

    void checkRepeatedPlatforms() {
        std::unordered_map<std::string, std::size_t> count;
        for (const PlatformSection& p : m_settings.platforms) ++count[text::asciiLower(p.platform)];
        for (const PlatformSection& p : m_settings.platforms) {
            const auto it = count.find(text::asciiLower(p.platform));
            if (it->second < 2) continue;
            add("platform-repeated", "Sección de plataforma repetida", kInformationImage,
                "  La sección [AutoRun." + p.platform + "] está " + std::to_string(it->second) +
                    " veces en las entradas del disco; Windows solo leería la primera, así que al compilar sus "
                    "entradas se escriben juntas en una sola.",
                "  Quite en \"Propiedades del disco...\" las entradas que no quiera en esa sección.");
            it->second = 0;  // said once
        }
    }

    void unknown(std::string_view key, std::string_view section) {
        const std::string_view near = nearestAutorunKey(key);
        add("unknown-entry", "Entrada desconocida", kWarningImage,
            "  Windows no conoce la entrada " + std::string(key) +
                (section.empty() ? std::string() : " de [" + std::string(section) + "]") + ": la ignora" +
                (near.empty() ? std::string(".") : ". ¿Quería decir " + std::string(near) + "?"),
            "  Corrija el nombre de la entrada o quítela en \"Propiedades del disco...\".");
    }

    void checkUnknownKeys() {
        // Lines of [AutoRun] that made no object and are no setting; those without '=' are no entries.
        for (const KeptSection& k : m_settings.kept) {
            const bool autorun = text::asciiLower(k.name) == "autorun";
            const std::string_view platform = platformOfSection(k.name);
            if (!autorun && platform.empty()) continue;
            for (const std::string_view line : k.lines) {
                const std::string_view t = text::trimView(line);
                const auto eq = t.find('=');
                if (t.empty() || t.front() == ';' || eq == std::string_view::npos) continue;
                const std::string_view key = text::trimView(t.substr(0, eq));
                if (!isKnownAutorunKey(key)) unknown(key, autorun ? std::string_view() : k.name);
            }
        }
        for (const PlatformSection& p : m_settings.platforms) {
            for (const AutorunEntry& e : p.entries) {
                if (!isKnownAutorunKey(e.key)) unknown(e.key, "AutoRun." + p.platform);
            }
        }
    }

    void checkAction() {
        if (!m_settings.action) return;
        if (m_disc->medium == Medium::Usb) {
            if (hasRunEntry()) return;
            add("action-without-program", "Texto de Reproducción automática sin programa", kWarningImage,
                "  La entrada action da el texto con que la Reproducción automática presenta el programa de open o "
                "shellexecute, pero el proyecto no ejecuta ningún programa ni recurso.",
                "  Añada el programa o recurso a ejecutar, o quite el texto de Reproducción automática.");
        } else {
            // The same rule for every Windows; the preview reads it too.
            const Rule& rule = ruleFor(Topic::ActionText, WindowsVersion::Win8to11, DriveType::CdDvd);
            add("action-on-cd", "Texto de Reproducción automática en un CD o DVD", kInformationImage,
                "  " + std::string(rule.text),
                "  Si el disco es un CD o DVD, el texto de Reproducción automática no se mostrará.");
        }
    }

    // "action=@[path\]file,-id" takes the text from a program or library; without a path the file is at
    // the root of the disc.
    void checkActionFile() {
        if (!m_settings.action) return;
        const std::string_view value = text::trimView(*m_settings.action);
        const auto comma = value.rfind(',');
        if (!value.starts_with('@') || comma == std::string_view::npos) return;
        const std::string_view file = text::trimView(value.substr(1, comma - 1));
        if (file.empty() || isDriveReference(file) || file.starts_with("\\\\") || m_folder.find(file)) return;
        add("action-file-missing", "Fichero del texto de Reproducción automática inexistente", kWarningImage,
            "  La entrada action toma su texto de " + inQuotes(file) +
                ", que no se encuentra en la carpeta del disco; sin ruta, Windows lo busca en la raíz del disco.",
            "  Copie el fichero a la carpeta del disco o corrija la referencia.");
    }

    void checkCustomEvent() {
        if (!m_settings.customEvent) return;
        const std::string_view name = *m_settings.customEvent;
        const bool alphanumeric = std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
        if (!name.empty() && alphanumeric && name.size() <= 100) return;
        add("custom-event-name", "Nombre de evento no válido", kWarningImage,
            "  El evento de Reproducción automática " + inQuotes(name) +
                " no es un nombre válido: debe tener como mucho 100 letras y cifras, sin espacios ni otros signos.",
            "  Corrija el nombre del evento: solo las aplicaciones registradas para ese evento se ofrecerán al "
            "insertar el disco.");
    }

    void checkUseAutoPlay() {
        if (!m_settings.useAutoPlay || text::trimView(*m_settings.useAutoPlay) != "1" || !hasRunEntry()) return;
        add("autoplay-hides-program", "Reproducción automática en lugar del programa", kInformationImage,
            "  Con UseAutoPlay=1 Windows usa la Reproducción automática en lugar de ejecutar el programa de open o "
            "shellexecute, y desde Windows Vista no lo ofrece en el cuadro de Reproducción automática.",
            "  Quite \"Usar Reproducción automática\" si el disco debe arrancar el programa.");
    }

    void checkContent() {
        std::optional<std::array<bool, 3>> held;  // the folder is searched once, and only when needed
        for (const ContentKind kind : kContentKinds) {
            const auto& on = declaredContent(m_settings.content, kind);
            if (!on || !contentTypeOn(*on)) continue;
            if (!held) held = kindsHeld(m_disc->folder);
            if ((*held)[static_cast<std::size_t>(kind)]) continue;
            add("content-without-files", "Tipo de contenido sin ficheros", kWarningImage,
                "  [Content] indica que el disco lleva " + std::string(contentWhat(kind)) + " (" +
                    std::string(contentKey(kind)) +
                    "), pero la carpeta del disco no contiene ningún fichero de ese tipo.",
                "  Copie esos ficheros a la carpeta del disco o quite el tipo en \"Propiedades del disco...\".");
        }
    }

    void checkFolders() {
        const auto check = [&](const std::vector<std::string>& list, std::string_view entry) {
            for (const std::string& path : list) {
                if (text::trimView(path).empty() || m_folder.findFolder(path)) continue;
                add("folder-missing-on-disc", "Carpeta inexistente en el disco", kWarningImage,
                    "  " + std::string(entry) + " nombra la carpeta " + inQuotes(path) +
                        ", que no se encuentra en la carpeta del disco.",
                    "  Cree la carpeta en la carpeta del disco o corrija la ruta, que Windows toma desde la raíz del "
                    "disco.");
            }
        };
        check(m_settings.driverPaths, "DriverPath");
        check(m_settings.exclusiveContentPaths, "[ExclusiveContentPaths]");
        check(m_settings.ignoreContentPaths, "[IgnoreContentPaths]");
    }

    const Project& m_project;
    const DiscSettings& m_settings;
    const DiscTarget* m_disc;
    DiscFolder m_folder;
    std::vector<CheckItem> m_items;
};

}  // namespace

std::vector<CheckItem> checkSettings(const Project& project, const DiscTarget* disc) {
    return SettingsChecker(project, disc).run();
}

std::string settingsProblem(const Project& project, const DiscTarget& disc) {
    SettingsChecker checker(project, &disc);
    checker.run();
    return checker.problem();
}

std::vector<CheckItem> checkValues(const Project& project) { return SettingsChecker(project, nullptr).values(); }

}  // namespace kmr::disc
