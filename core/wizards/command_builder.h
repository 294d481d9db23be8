#pragma once
// The command builder's rules: composing a command line, a document path, an explorer command, an
// address or an icon reference from a few plain fields, and how the builder's controls react.

#include <optional>
#include <string>
#include <string_view>

namespace kmr {

// The builder's pages; the number is the one callers and the chooser use.
enum class BuilderPage { Programa = 0, Recursos = 1, Multimedia = 2, Explorar = 3, Internet = 4, Icono = 5, Nuevo = 6 };

// Highest value of the icon code ("Código:").
inline constexpr int kMaxIconCode = 999;

// The texts, boxes and choices of one page. Each page reads only its own members:
// Programa, Recursos, Multimedia: name, drive, folder, inCompilation;
// Icono: the same plus multipleIcons and iconCode;
// Explorar: path, drive, email, inCompilation;
// Internet: address, internetEmail, compatibility.
struct BuilderFields {
    std::string name;
    std::string drive;
    std::string folder;
    bool inCompilation = false;  // "... se encontrará en la futura compilación"
    bool email = false;          // Explorar: "Se trata de una dirección de correo electrónico"
    bool multipleIcons = false;  // Icono: "Recurso con varios iconos."
    int iconCode = 0;            // Icono: "Código:", 0 to kMaxIconCode
    bool internetEmail = false;  // Internet: "Enviar correo electrónico" instead of "Visitar web, descargar fichero"
    bool compatibility = false;  // Internet: "Compatibilidad con Windows 95 (utilizar explorer)"
    std::string path;            // Explorar: "Ruta y nombre del recurso o carpeta:"
    std::string address;         // Internet: the address field

    bool operator==(const BuilderFields&) const = default;
};

enum class MessageIcon { Warning, Information };

// A message box the builder shows instead of closing.
struct BuilderMessage {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::Warning;

    bool operator==(const BuilderMessage&) const = default;
};

// What one press of "Insertar" does: either a message (the dialog stays open) or a composed result
// (the dialog closes). `fields` always holds what the page's controls must show afterwards.
struct [[nodiscard]] CompositionResult {
    BuilderFields fields;
    std::optional<BuilderMessage> message;
    std::string result;
    std::optional<bool> resourceFlag;  // nullopt: the resource flag keeps its value
    bool accepted = false;             // true: store `result` (and the flag) and close
};

// Runs the composition of a page. The chooser page composes nothing: not accepted, no message.
CompositionResult composeCommand(BuilderPage page, const BuilderFields& fields);

// How a change of the icon name sets "Recurso con varios iconos.".
enum class IconCheck { Check, Uncheck, Leave };

// ".ico"/".bmp" uncheck, ".dll"/".res"/".exe" check (compared exactly, on the extension of the
// file-name part); anything else, or an empty name, leaves the box as it is.
IconCheck iconNameReaction(std::string_view name);

// The state of the drive field of a page and of its in-compilation box.
struct DriveControls {
    bool driveEnabled = true;      // the drive field and its "Unidad:" label
    bool driveButtonFace = false;  // button-face colour instead of the window colour
    bool compilationBoxEnabled = true;

    bool operator==(const DriveControls&) const = default;
};

// Drive controls from the in-compilation box and, on Explorar, the e-mail box (ignored elsewhere).
DriveControls driveControls(BuilderPage page, bool inCompilation, bool email);

// Label and example line of the Explorar path field for the state of the e-mail box.
struct ExplorarTexts {
    std::string_view pathLabel;
    std::string_view example;
};
ExplorarTexts explorarTexts(bool email);

// The e-mail box after a key is typed into the Explorar path field (before the key is inserted):
// an "@" checks it; then an empty field unchecks it.
bool emailBoxAfterKey(char32_t key, bool pathFieldEmpty, bool emailBox);

// Label, text put into the address field and example line of the Internet page for a radio choice.
struct InternetTexts {
    std::string_view addressLabel;
    std::string_view address;
    std::string_view example;
};
InternetTexts internetTexts(bool email);

}  // namespace kmr
