#include "disc/disc_view.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "disc/iso_image.h"
#include "platform/path_text.h"
#include "text/text.h"

namespace kmr::disc {

namespace fs = std::filesystem;

std::string discName(const Project& project, const DiscTarget& disc) {
    for (const ProjectObject& o : project.objects) {
        if (o.kind != Kind::Label || o.valueCount() == 0) continue;
        const std::string_view label = text::trimView(o.value(0));
        if (!label.empty()) return std::string(label);
    }
    if (disc.medium == Medium::Usb) {
        fs::path folder = platform::pathOf(disc.folder).lexically_normal();
        if (folder.filename().empty()) folder = folder.parent_path();
        const std::string name = platform::textOf(folder.filename());
        return name.empty() ? "Unidad USB" : name;
    }
    if (disc.folder.empty()) return "CDROM";
    return isoVolumeName(imageLabel(project, disc.folder, std::nullopt)).id;
}

std::vector<MenuEntry> discContextMenu(const Project& project, WindowsVersion version, DriveType drive) {
    const bool documented = ruleFor(Topic::ContextMenu, version, drive).effect == Effect::FromAutorun;
    std::vector<MenuEntry> entries;
    const auto& objects = project.objects;
    const bool runs =
        std::any_of(objects.begin(), objects.end(), [](const ProjectObject& o) { return o.kind == Kind::RunEntry; });
    if (runs) entries.push_back({"Reproducción automática", false, false, !documented});
    const std::size_t autoPlay = entries.size();
    bool defaultSeen = false;
    for (const ProjectObject& o : objects) {
        if (!isMenu(o.kind)) continue;
        // Of several "shell=" lines Windows reads the first.
        const bool isDefault = documented && o.kind == Kind::DefaultMenu && !defaultSeen;
        defaultSeen = defaultSeen || isDefault;
        entries.push_back({shownMenuText(o.menuText()), isDefault, false, !documented});
    }
    if (documented && runs && !defaultSeen) entries[autoPlay - 1].isDefault = true;
    const bool openIsDefault =
        documented && std::none_of(entries.begin(), entries.end(), [](const MenuEntry& e) { return e.isDefault; });
    entries.push_back({"Abrir", openIsDefault, true});
    for (const char* own : {"Explorar", "Expulsar", "Propiedades"}) entries.push_back({own, false, true});
    return entries;
}

std::string shownMenuText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // '&' takes the next character as it is (so "&&" is one '&'); a last '&' marks nothing.
        if (text[i] == '&' && ++i == text.size()) break;
        shown += text[i];
    }
    return shown;
}

}  // namespace kmr::disc
