#include "project/project_values.h"

#include <cstring>

#include "project/messages.h"

namespace kmr {
namespace {

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

// Two searches that glibc makes many bytes at a time: a save of a million menus checks its values in a few
// milliseconds.
bool holdsLineBreak(std::string_view value) {
    return !value.empty() && (std::memchr(value.data(), '\n', value.size()) != nullptr ||
                              std::memchr(value.data(), '\r', value.size()) != nullptr);
}

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

std::optional<std::string> lineBreakRefusal(const Project& project) {
    std::optional<std::string> refusal;
    forEachValue(project, [&](const ValuePlace& place, std::string_view value) {
        if (refusal || !holdsLineBreak(value)) return;
        refusal = subjectOf(place) + std::string(msg::kValueOfLines);
    });
    return refusal;
}

}  // namespace kmr
