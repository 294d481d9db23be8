#include "frame/editor_arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kmr::gui {
namespace {

// The options QGuiApplication and QApplication read, with one dash or two; the first ones take a value,
// as the next argument or after "=".
constexpr std::array<std::string_view, 26> kQtValueOptions = {"platform",
                                                              "platformpluginpath",
                                                              "platformtheme",
                                                              "plugin",
                                                              "qmljsdebugger",
                                                              "qwindowgeometry",
                                                              "qwindowicon",
                                                              "qwindowtitle",
                                                              "session",
                                                              "style",
                                                              "stylesheet",
                                                              "display",
                                                              "geometry",
                                                              "title",
                                                              "name",
                                                              "dialogs",
                                                              "fn",
                                                              "font",
                                                              "bg",
                                                              "background",
                                                              "fg",
                                                              "foreground",
                                                              "btn",
                                                              "button",
                                                              "visual",
                                                              "im"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "nograb",
                                                      "dograb",  "sync",        "testability"};

// 0 when `a` is no Qt option, else how many arguments it takes up.
int qtOptionLength(std::string_view a) {
    a.remove_prefix(a.starts_with("--") ? 2 : 1);
    const std::size_t equals = a.find('=');
    const std::string_view name = a.substr(0, equals);
    if (std::find(kQtValueOptions.begin(), kQtValueOptions.end(), name) != kQtValueOptions.end()) {
        return equals == std::string_view::npos ? 2 : 1;
    }
    if (equals == std::string_view::npos && std::find(kQtFlags.begin(), kQtFlags.end(), name) != kQtFlags.end()) {
        return 1;
    }
    return 0;
}

}  // namespace

EditorArguments parseEditorArguments(const std::vector<std::string>& args) {
    EditorArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a.size() > 1 && a[0] == '-' && a != "--") {
            if (const int length = qtOptionLength(a); length > 0) {
                i += static_cast<std::size_t>(length - 1);
                continue;
            }
        }
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (a == "--help" || a == "-h")) {
            return {EditorArguments::Action::Help, {}, {}};
        } else if (!optionsEnded && a == "--version") {
            return {EditorArguments::Action::Version, {}, {}};
        } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
            // Reported only once the line is known to hold no question about the program.
            if (parsed.error.empty()) parsed.error = "opción desconocida: " + a;
        } else if (parsed.project.empty()) {
            parsed.project = a;
        } else if (parsed.error.empty()) {
            parsed.error = "sobra el argumento: " + a + " (se abre un proyecto cada vez)";
        }
    }
    if (!parsed.error.empty()) {
        parsed.action = EditorArguments::Action::UsageError;
        parsed.project.clear();
    }
    return parsed;
}

std::string editorHelpText() {
    return "uso: kmr [OPCIONES] [PROYECTO.kmr]\n"
           "\n"
           "Quillmere, el editor de KMR: prepara el arranque automático (autorun.inf) de un\n"
           "CD. Abre la ventana principal y, si se da, el proyecto; si otro kmr está\n"
           "abierto, le pasa el proyecto para que lo abra él.\n"
           "\n"
           "Opciones:\n"
           "  -h, --help          muestra esta ayuda\n"
           "  --version           muestra la versión\n"
           "  --                  lo que sigue es el proyecto, aunque empiece por un guion\n"
           "\n"
           "Admite además las opciones de Qt, como -platform o -style. kmrc hace lo mismo\n"
           "desde la línea de órdenes (kmrc --help).\n";
}

std::string editorVersionText() {
#ifdef KMR_VERSION
    return "kmr (KMR) " KMR_VERSION "\n";
#else
    return "kmr (KMR)\n";
#endif
}

}  // namespace kmr::gui
