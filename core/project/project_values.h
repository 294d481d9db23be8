#pragma once
// Every text of a project that its files hold as a value, with the name the user knows it by: what
// the writers refuse when a value would change the file's lines, and what the check looks at.

#include <optional>
#include <string>
#include <string_view>

#include "project/project.h"

namespace kmr {

// Where a value stands, to name it when it is reported.
struct ValuePlace {
    enum class What { Object, DiscFolder, Entry, Folder, SectionName, Line };
    What what = What::Object;
    const ProjectObject* object = nullptr;  // Object: the object, and which of its values
    std::size_t index = 0;
    std::string_view key;      // Entry: the key ("action", "MusicFiles"...)
    std::string_view section;  // Entry, Folder, Line: the section it stands in, empty for [autorun]
};

// "El programa o recurso a ejecutar", "El comando del menú \"Instalar\"", "La entrada action",
// "Una carpeta de [ExclusiveContentPaths]", "Una línea de [Strings]"...
std::string subjectOf(const ValuePlace& place);

// Calls `take(place, value)` for every value the project file or autorun.inf holds: the objects' values,
// the disc folder, the disc settings (keys of platform entries and names of kept sections too). A
// template, so that a check of a million menus costs a few nanoseconds a value.
template <class Take>
void forEachValue(const Project& project, Take&& take) {
    using What = ValuePlace::What;
    for (const ProjectObject& o : project.objects) {
        const std::size_t n = isMenu(o.kind) ? 3 : 1;
        for (std::size_t i = 0; i < n; ++i) take(ValuePlace{What::Object, &o, i, {}, {}}, o.value(i));
    }
    take(ValuePlace{What::DiscFolder, nullptr, 0, {}, {}}, std::string_view(project.disc.folder));
    const DiscSettings& s = project.settings;
    const auto entry = [&](std::string_view key, std::string_view section, const std::optional<std::string>& value) {
        if (value) take(ValuePlace{What::Entry, nullptr, 0, key, section}, std::string_view(*value));
    };
    entry("action", {}, s.action);
    entry("CustomEvent", {}, s.customEvent);
    entry("UseAutoPlay", {}, s.useAutoPlay);
    entry("MusicFiles", "Content", s.content.music);
    entry("PictureFiles", "Content", s.content.pictures);
    entry("VideoFiles", "Content", s.content.video);
    const auto folders = [&](std::string_view section, const std::vector<std::string>& list) {
        for (const std::string& f : list) take(ValuePlace{What::Folder, nullptr, 0, {}, section}, std::string_view(f));
    };
    folders("ExclusiveContentPaths", s.exclusiveContentPaths);
    folders("IgnoreContentPaths", s.ignoreContentPaths);
    folders("DeviceInstall", s.driverPaths);
    for (const PlatformSection& p : s.platforms) {
        take(ValuePlace{What::SectionName, nullptr, 0, {}, {}}, std::string_view(p.platform));
        const std::string section = "AutoRun." + p.platform;
        for (const AutorunEntry& e : p.entries) {
            take(ValuePlace{What::Entry, nullptr, 0, e.key, section}, std::string_view(e.key));
            take(ValuePlace{What::Entry, nullptr, 0, e.key, section}, std::string_view(e.value));
        }
    }
    for (const KeptSection& k : s.kept) {
        take(ValuePlace{What::SectionName, nullptr, 0, {}, {}}, std::string_view(k.name));
        for (const std::string_view line : k.lines) take(ValuePlace{What::Line, nullptr, 0, {}, k.name}, line);
    }
}

// The refusal of a writer meeting a value that holds a CR or an LF, which would end its line early
// and make the rest another line: the text that names the first such value; nullopt when there is none.
std::optional<std::string> lineBreakRefusal(const Project& project);

}  // namespace kmr
