#include "wizards/command_builder.h"

#include <algorithm>

#include "text/text.h"
#include "web/web_addresses.h"

namespace kmr {
namespace {

constexpr std::string_view kAttention = "Atención";
constexpr std::string_view kInformation = "Información";
constexpr std::string_view kMissingFields = "Faltan casillas por rellenar.";
constexpr std::string_view kBadDrive = "El formato de la unidad es incorrecto. Escriba unidad y dos puntos.";
constexpr std::string_view kMissingAddress = "Introduzca el dato requerido.";
constexpr std::string_view kCheckAddress =
    "Compruebe los datos. Si se han corregido correctamente pulse sobre \"Insertar\".";

CompositionResult refuse(const BuilderFields& fields, std::string_view text, std::string_view title, MessageIcon icon) {
    CompositionResult r;
    r.fields = fields;
    r.message = BuilderMessage{std::string(text), std::string(title), icon};
    return r;
}

CompositionResult accept(const BuilderFields& fields, std::string result, std::optional<bool> resourceFlag) {
    CompositionResult r;
    r.fields = fields;
    r.result = std::move(result);
    r.resourceFlag = resourceFlag;
    r.accepted = true;
    return r;
}

void dropLeadingBackslash(std::string& s) {
    if (!s.empty() && s.front() == '\\') s.erase(0, 1);
}

void dropTrailingBackslash(std::string& s) {
    if (!s.empty() && s.back() == '\\') s.pop_back();
}

bool isEmptyOrBackslash(std::string_view s) { return s.empty() || s == "\\"; }

// A drive is a letter and a colon; the one trailing backslash that is removed anyway, as in d:\, is not
// counted against it.
bool driveTooLong(std::string_view drive) {
    if (!drive.empty() && drive.back() == '\\') drive.remove_suffix(1);
    return text::length(drive) > 2;
}

// The colon after a drive letter. A drive that already is a colon (what an empty drive becomes while the
// file is in the compilation) keeps it, so that composing the kept fields again does not grow the field.
void appendColon(std::string& drive) {
    if (drive.empty() || drive.back() != ':') drive += ':';
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Programa, Recursos y ficheros, Multimedia and Icono.
CompositionResult composePath(BuilderPage page, BuilderFields f) {
    f.name = text::trim(f.name);
    f.drive = text::trim(f.drive);
    f.folder = text::trim(f.folder);
    // A lone backslash as the drive of a program is the root of the current drive: "\instal\setup.exe".
    // The field keeps it, so that the kept fields compose the same again.
    const bool currentDriveRoot = page == BuilderPage::Programa && f.drive == "\\";
    // A lone backslash is removed below and would leave a folder as the name or ":" as the drive of a
    // document, which names nothing.
    if (isEmptyOrBackslash(f.name) || (isEmptyOrBackslash(f.drive) && !currentDriveRoot && !f.inCompilation)) {
        return refuse(f, kMissingFields, kAttention, MessageIcon::Warning);
    }
    // With the file on the disc being built the drive is not used, so it is not examined.
    if (!f.inCompilation && driveTooLong(f.drive)) {
        return refuse(f, kBadDrive, kAttention, MessageIcon::Warning);
    }
    dropLeadingBackslash(f.name);
    dropLeadingBackslash(f.folder);
    dropTrailingBackslash(f.folder);
    if (!currentDriveRoot) {
        dropTrailingBackslash(f.drive);
        const std::size_t driveChars = text::length(f.drive);
        if (page == BuilderPage::Programa ? driveChars == 1 : driveChars < 2) appendColon(f.drive);
    }
    if (!f.folder.empty()) f.folder += '\\';

    std::string path = f.inCompilation    ? f.folder + f.name
                       : currentDriveRoot ? '\\' + f.folder + f.name
                                          : f.drive + '\\' + f.folder + f.name;
    switch (page) {
        case BuilderPage::Programa: return accept(f, std::move(path), false);
        case BuilderPage::Icono: {
            if (f.multipleIcons) path += ',' + std::to_string(std::clamp(f.iconCode, 0, kMaxIconCode));
            return accept(f, std::move(path), std::nullopt);
        }
        default: return accept(f, std::move(path), true);
    }
}

CompositionResult composeExplorar(BuilderFields f) {
    f.path = text::trim(f.path);
    f.drive = text::trim(f.drive);
    // A lone backslash as the path is the root of the disc or of the drive: explorer "%1\". It is no
    // address, and as a drive it would leave ":" alone.
    if (f.path.empty() || (f.email && f.path == "\\") ||
        (isEmptyOrBackslash(f.drive) && !f.inCompilation && !f.email)) {
        return refuse(f, kMissingFields, kAttention, MessageIcon::Warning);
    }
    // The drive's length is tested in e-mail mode too, although an address does not use it.
    if (!f.inCompilation && driveTooLong(f.drive)) {
        return refuse(f, kBadDrive, kAttention, MessageIcon::Warning);
    }
    if (f.email) {
        // The quotes are only needed around the prefixed form that the user typed.
        std::string result = startsWith(f.path, "mailto:") ? "explorer \"" + f.path + '"' : "explorer mailto:" + f.path;
        return accept(f, std::move(result), false);
    }
    // The root keeps its backslash in the field, so that the kept fields compose the same again.
    if (f.path != "\\") dropLeadingBackslash(f.path);
    const std::string_view below = f.path == "\\" ? std::string_view() : std::string_view(f.path);
    dropTrailingBackslash(f.drive);
    if (text::length(f.drive) < 2) appendColon(f.drive);
    // %1 is the root of the disc when the command runs.
    std::string result = f.inCompilation ? "explorer \"%1\\" + std::string(below) + '"'
                                         : "explorer \"" + f.drive + '\\' + std::string(below) + '"';
    return accept(f, std::move(result), false);
}

CompositionResult composeInternet(BuilderFields f) {
    f.address = text::trim(f.address);
    if (f.address.empty()) return refuse(f, kMissingAddress, kAttention, MessageIcon::Warning);
    std::string result;
    if (f.internetEmail) {
        result = startsWith(f.address, "mailto:") ? f.address : "mailto:" + f.address;
    } else if (startsWith(f.address, "http://") || startsWith(f.address, "ftp://")) {
        result = f.address;
    } else if (startsWith(f.address, "www")) {
        result = "http://" + f.address;
    } else if (startsWith(f.address, "ftp.") || startsWith(f.address, "ftp2.") || startsWith(f.address, "ftp-")) {
        result = "ftp://" + f.address;
    } else {
        // Proposed correction: the user checks it and presses "Insertar" again.
        f.address = "http://" + f.address;
        return refuse(f, kCheckAddress, kInformation, MessageIcon::Information);
    }
    if (f.compatibility) return accept(f, "explorer \"" + result + '"', false);
    return accept(f, std::move(result), true);
}

}  // namespace

CompositionResult composeCommand(BuilderPage page, const BuilderFields& fields) {
    switch (page) {
        case BuilderPage::Programa:
        case BuilderPage::Recursos:
        case BuilderPage::Multimedia:
        case BuilderPage::Icono: return composePath(page, fields);
        case BuilderPage::Explorar: return composeExplorar(fields);
        case BuilderPage::Internet: return composeInternet(fields);
        case BuilderPage::Nuevo: break;
    }
    CompositionResult r;
    r.fields = fields;
    return r;
}

IconCheck iconNameReaction(std::string_view name) {
    const std::string_view file = text::fileNameOf(name);
    const auto dot = file.rfind('.');
    if (dot == std::string_view::npos) return IconCheck::Leave;
    const std::string_view ext = file.substr(dot);
    if (ext == ".ico" || ext == ".bmp") return IconCheck::Uncheck;
    if (ext == ".dll" || ext == ".res" || ext == ".exe") return IconCheck::Check;
    return IconCheck::Leave;
}

DriveControls driveControls(BuilderPage page, bool inCompilation, bool email) {
    if (page != BuilderPage::Explorar) email = false;
    DriveControls c;
    c.driveEnabled = !inCompilation && !email;
    c.driveButtonFace = inCompilation || email;
    c.compilationBoxEnabled = !email;
    return c;
}

ExplorarTexts explorarTexts(bool email) {
    if (email)
        return {"Dirección de correo electrónico:", "Por ejemplo: \"usuario@example.com\", \"info@example.org\""};
    return {"Ruta y nombre del recurso o carpeta:", "Por ejemplo: \"docs\\present.ppt\", \"prog\\carpeta\""};
}

bool emailBoxAfterKey(char32_t key, bool pathFieldEmpty, bool emailBox) {
    if (key == U'@') emailBox = true;
    if (pathFieldEmpty) emailBox = false;
    return emailBox;
}

InternetTexts internetTexts(bool email) {
    if (email) {
        return {"Dirección de correo electrónico:", "usuario@example.com",
                "Por ejemplo: \"usuario@example.com\", \"mailto:info@example.org\""};
    }
    // The default web address is the maker's site.
    return {"Dirección de la página web, ruta del fichero a descargar:", web::kMakerSite,
            "Por ejemplo: \"www.example.com\", \"ftp.example.com/descargas/fichero.zip\""};
}

}  // namespace kmr
