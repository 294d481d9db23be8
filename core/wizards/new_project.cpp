#include "wizards/new_project.h"

#include <algorithm>

namespace kmr {
namespace {

std::string quoted(std::string_view prefix, std::string_view value) {
    std::string line(prefix);
    line += '"';
    line += value;
    line += '"';
    return line;
}

}  // namespace

std::string newMenuName(const std::vector<WizardMenu>& menus) {
    // Among n = 1 … size + 1 at least one name is free, so the loop always ends there.
    for (std::size_t n = 1;; ++n) {
        std::string name = "Menu" + std::to_string(n);
        const bool taken = std::any_of(menus.begin(), menus.end(), [&](const WizardMenu& m) { return m.name == name; });
        if (!taken) return name;
    }
}

bool toggleDefaultMenu(std::vector<WizardMenu>& menus, std::size_t index) {
    if (index >= menus.size()) return false;
    if (menus[index].kind == Kind::DefaultMenu) {
        menus[index].kind = Kind::PlainMenu;
        return false;
    }
    for (WizardMenu& m : menus) m.kind = Kind::PlainMenu;
    menus[index].kind = Kind::DefaultMenu;
    return true;
}

std::vector<std::string> wizardSummaryLines(const WizardData& data) {
    std::vector<std::string> lines;
    if (!data.runCommand.empty()) {
        lines.push_back(quoted(data.resource ? "  Ejecutar fichero automáticamente " : "  Ejecutar automáticamente ",
                               data.runCommand));
    }
    if (!data.icon.empty()) lines.push_back(quoted("  Mostrar icono ", data.icon));
    if (!data.label.empty()) lines.push_back(quoted("  Mostrar etiqueta ", data.label));
    for (const WizardMenu& menu : data.menus) {
        lines.push_back(quoted("  Mostrar el menú ", menu.text));
        lines.push_back(quoted("que ejecutará el comando ", menu.command));
        if (menu.kind == Kind::DefaultMenu) lines.emplace_back("y será el menú predeterminado");
    }
    if (lines.empty()) lines.emplace_back("  No ha introducido datos. El proyecto está en blanco.");
    return lines;
}

std::string wizardSummary(const WizardData& data) {
    std::string text;
    for (const std::string& line : wizardSummaryLines(data)) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

}  // namespace kmr
