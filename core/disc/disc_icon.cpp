// The icon the project shows for the disc, read from the disc folder for the preview.
#include <algorithm>

#include "disc/disc_check.h"
#include "disc/disc_files.h"
#include "platform/file_read.h"

namespace kmr::disc {
namespace {

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string iconFailure(IconStatus status, const std::string& file, int number) {
    switch (status) {
        case IconStatus::Ok: break;
        case IconStatus::NotAnIcon:
            return "El fichero " + inQuotes(file) + " no es un icono, un programa ni una biblioteca.";
        case IconStatus::Unreadable: return "No se pueden leer los iconos de " + inQuotes(file) + ".";
        case IconStatus::PastEnd:
            return "El fichero " + inQuotes(file) + " no tiene el icono número " + std::to_string(number) + ".";
    }
    return {};
}

}  // namespace

DiscIcon discIcon(const Project& project, const DiscTarget& disc) {
    DiscIcon icon;
    const auto it = std::find_if(project.objects.begin(), project.objects.end(),
                                 [](const ProjectObject& o) { return o.kind == Kind::Icon; });
    if (it == project.objects.end()) {
        icon.reason = "El proyecto no muestra ningún icono.";
        return icon;
    }
    const DiscFolder folder(disc.folder);
    if (!folder.exists()) {
        icon.reason = disc.folder.empty() ? "No se ha elegido la carpeta del disco."
                                          : "No se encuentra la carpeta del disco " + inQuotes(disc.folder) + ".";
        return icon;
    }
    const IconReference ref = parseIconReference(it->value(0));
    const auto path = folder.find(ref.file);
    if (ref.file.empty() || !path) {
        icon.reason = "No se encuentra el fichero " + inQuotes(ref.file) + " en la carpeta del disco.";
        return icon;
    }
    icon.path = *path;
    if (!isRegularFile(*path)) {
        icon.reason = notARegularFile(*path);
        return icon;
    }
    const io::ReadResult file = io::readFile(*path);
    if (!file.ok()) {
        icon.reason = file.message;
        return icon;
    }
    IconPick pick = pickIcon(file.bytes, ref.number);
    if (pick.status == IconStatus::Ok)
        icon.ico = std::move(pick.ico);
    else
        icon.reason = iconFailure(pick.status, ref.file, ref.number);
    return icon;
}

}  // namespace kmr::disc
