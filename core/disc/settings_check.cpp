#include "disc/settings_check.h"

#include <algorithm>
#include <array>
#include <optional>

#include "autorun/conflicts.h"
#include "autorun/kept_entries.h"
#include "disc/content_types.h"
#include "disc/disc_files.h"
#include "disc/windows_rules.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

class SettingsChecker {
public:
    SettingsChecker(const Project& project, const DiscTarget* disc)
        : m_project(project), m_settings(project.settings), m_disc(disc && !disc->folder.empty() ? disc : nullptr) {}

    std::vector<CheckItem> run() {
        checkUnknownKeys();
        if (m_disc) checkAction();
        checkCustomEvent();
        checkUseAutoPlay();
        if (m_disc && DiscFolder(m_disc->folder).exists()) {
            checkActionFile();
            checkContent();
            checkFolders();
        }
        return std::move(m_items);
    }

private:
    void add(std::string_view key, std::string_view title, int image, std::string first, std::string second) {
        m_items.push_back({key, title, image, {std::move(first), std::move(second)}});
    }

    bool hasRunEntry() const { return m_project.contains(Kind::RunEntry); }

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
            for (const std::string& line : k.lines) {
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
        if (file.empty() || isDriveReference(file) || file.starts_with("\\\\") || DiscFolder(m_disc->folder).find(file))
            return;
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
        const DiscFolder folder(m_disc->folder);
        const auto check = [&](const std::vector<std::string>& list, std::string_view entry) {
            for (const std::string& path : list) {
                if (text::trimView(path).empty() || folder.findFolder(path)) continue;
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
    std::vector<CheckItem> m_items;
};

}  // namespace

std::vector<CheckItem> checkSettings(const Project& project, const DiscTarget* disc) {
    if (project.settings.empty()) return {};
    return SettingsChecker(project, disc).run();
}

}  // namespace kmr::disc
