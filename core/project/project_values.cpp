#include "project/project_values.h"

#include "project/messages.h"

namespace kmr {
namespace {

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string inSection(std::string_view section) {
    return section.empty() ? std::string() : " de [" + std::string(section) + "]";
}

}  // namespace

std::string subjectOf(const ValuePlace& place) {
    switch (place.what) {
        case ValuePlace::What::Object: break;
        case ValuePlace::What::DiscFolder: return "La carpeta del disco";
        case ValuePlace::What::Entry: return "La entrada " + std::string(place.key) + inSection(place.section);
        case ValuePlace::What::Folder: return "Una carpeta" + inSection(place.section);
        case ValuePlace::What::SectionName: return "El nombre de una sección";
        case ValuePlace::What::Line: return "Una línea" + inSection(place.section);
    }
    const ProjectObject& o = *place.object;
    switch (o.kind) {
        case Kind::RunEntry: return "El programa o recurso a ejecutar";
        case Kind::Icon: return "El icono";
        case Kind::Label: return "La etiqueta";
        case Kind::PlainMenu:
        case Kind::DefaultMenu: break;
    }
    constexpr std::string_view kMenuValues[] = {"El texto", "El comando", "El nombre interno"};
    return std::string(kMenuValues[place.index < 3 ? place.index : 0]) + " del menú " + inQuotes(o.value(0));
}

void forEachValue(const Project& project, const std::function<void(const ValuePlace&, std::string_view)>& take) {
    using What = ValuePlace::What;
    for (const ProjectObject& o : project.objects) {
        const std::size_t n = isMenu(o.kind) ? 3 : 1;
        for (std::size_t i = 0; i < n; ++i) take({What::Object, &o, i, {}, {}}, o.value(i));
    }
    take({What::DiscFolder, nullptr, 0, {}, {}}, project.disc.folder);
    const DiscSettings& s = project.settings;
    const auto entry = [&](std::string_view key, std::string_view section, const std::optional<std::string>& value) {
        if (value) take({What::Entry, nullptr, 0, key, section}, *value);
    };
    entry("action", {}, s.action);
    entry("CustomEvent", {}, s.customEvent);
    entry("UseAutoPlay", {}, s.useAutoPlay);
    entry("MusicFiles", "Content", s.content.music);
    entry("PictureFiles", "Content", s.content.pictures);
    entry("VideoFiles", "Content", s.content.video);
    const auto folders = [&](std::string_view section, const std::vector<std::string>& list) {
        for (const std::string& f : list) take({What::Folder, nullptr, 0, {}, section}, f);
    };
    folders("ExclusiveContentPaths", s.exclusiveContentPaths);
    folders("IgnoreContentPaths", s.ignoreContentPaths);
    folders("DeviceInstall", s.driverPaths);
    for (const PlatformSection& p : s.platforms) {
        take({What::SectionName, nullptr, 0, {}, {}}, p.platform);
        const std::string section = "AutoRun." + p.platform;
        for (const AutorunEntry& e : p.entries) {
            take({What::Entry, nullptr, 0, e.key, section}, e.key);
            take({What::Entry, nullptr, 0, e.key, section}, e.value);
        }
    }
    for (const KeptSection& k : s.kept) {
        take({What::SectionName, nullptr, 0, {}, {}}, k.name);
        for (const std::string_view line : k.lines) take({What::Line, nullptr, 0, {}, k.name}, line);
    }
}

std::optional<std::string> lineBreakRefusal(const Project& project) {
    std::optional<std::string> refusal;
    forEachValue(project, [&](const ValuePlace& place, std::string_view value) {
        if (refusal || value.find_first_of("\r\n") == std::string_view::npos) return;
        refusal = subjectOf(place) + std::string(msg::kValueOfLines);
    });
    return refusal;
}

}  // namespace kmr
