#include "help.h"

#include <algorithm>

namespace kmr::cli {
namespace {

constexpr std::string_view kHelpOption = "-h, --help";
constexpr std::string_view kVersionOption = "--version";

// A list of options, their forms in one column.
std::string optionList(std::span<const VerbOption> options) {
    constexpr std::size_t kFormColumn = 20;
    std::string out;
    auto item = [&](std::string_view form, std::string_view text) {
        std::string line = "  " + std::string(form);
        if (columnsOf(line) + 2 <= kFormColumn) {
            line.append(kFormColumn - columnsOf(line), ' ');
            const std::string wrapped = wrapText(text, kFormColumn);
            out += line + wrapped.substr(kFormColumn);
        } else {
            out += line + "\n" + wrapText(text, kFormColumn);
        }
    };
    for (const VerbOption& o : options) item(o.form, o.text);
    item(kHelpOption, "muestra esta ayuda");
    item(kVersionOption, "muestra la versión");
    return out;
}

// The synopsis after `lead`, wrapped between its pieces; continuation lines start under the verb's
// first option.
std::string wrappedSynopsis(const Verb& verb, std::string_view lead) {
    // A piece's own blanks are held apart while the line is wrapped.
    constexpr char kHeld = '\x01';
    std::string held(verb.name);
    for (std::string piece : synopsisPieces(verb)) {
        std::replace(piece.begin(), piece.end(), ' ', kHeld);
        held += ' ' + piece;
    }
    const std::size_t indent = columnsOf(lead) + verb.name.size() + 1;
    std::string wrapped = wrapText(held, indent);
    std::replace(wrapped.begin(), wrapped.end(), kHeld, ' ');
    return std::string(lead) + wrapped.substr(indent);
}

}  // namespace

std::span<const CommandHelp> commandHelp() {
    static const std::vector<CommandHelp> all = [] {
        std::vector<CommandHelp> out;
        for (const Verb& v : verbs()) out.push_back({v.name, synopsis(v), v.options, &v});
        return out;
    }();
    return all;
}

std::vector<std::string> synopsisPieces(const Verb& verb) {
    std::vector<std::string> pieces;
    std::vector<std::string> outputs;
    for (const VerbOption& o : verb.options) {
        if (!o.needs.empty()) continue;  // inside the brackets of the one it needs
        std::string piece(o.form);
        if (o.dash) piece += "|-";
        for (const VerbOption& inner : verb.options) {
            if (inner.needs == optionName(o)) piece += " [" + std::string(inner.form) + "]";
        }
        if (!o.required) piece = "[" + piece + "]";
        if (o.repeat == Repeat::Each) piece += "...";
        (o.output ? outputs : pieces).push_back(std::move(piece));
    }
    for (const VerbArgument& a : verb.arguments) pieces.emplace_back(a.name);
    pieces.insert(pieces.end(), outputs.begin(), outputs.end());
    return pieces;
}

std::string synopsis(const Verb& verb) {
    std::string out(verb.name);
    for (const std::string& piece : synopsisPieces(verb)) out += " " + piece;
    return out;
}

std::size_t columnsOf(std::string_view s) {
    // Every byte that does not continue a character.
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string wrapText(std::string_view text, std::size_t indent, std::size_t columns) {
    std::string out;
    std::string line(indent, ' ');
    std::size_t width = indent;
    bool empty = true;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', i), text.size());
        const std::string_view word = text.substr(i, end - i);
        const std::size_t w = columnsOf(word);
        if (!empty && width + 1 + w > columns) {
            out += line + "\n";
            line.assign(indent, ' ');
            width = indent;
            empty = true;
        }
        if (!empty) {
            line += ' ';
            ++width;
        }
        line += word;
        width += w;
        empty = false;
        i = end;
    }
    out += line + "\n";
    return out;
}

std::string programHelpText() {
    std::string out = "kmrc: proyectos KMR desde la línea de órdenes\n\nUso:\n";
    for (const Verb& v : verbs()) {
        out += wrappedSynopsis(v, "  kmrc ");
        for (const std::string_view paragraph : v.text) out += wrapText(paragraph, 6);
    }
    out += "  kmrc --help | --version\n";
    out += wrapText("Muestra esta ayuda o la versión. \"kmrc ORDEN --help\" explica cada opción de una orden.", 6);
    out += "\n";
    out += wrapText(
        "Los ficheros se escriben en un fichero temporal que después sustituye al destino: si algo falla, el fichero "
        "anterior queda intacto. Un destino de solo lectura se rechaza y queda como estaba. Un proyecto que ya existe "
        "solo se sustituye con --force, y ninguna orden escribe el fichero que lee, ni con --force. Ninguna entrada "
        "puede pasar de 64 MiB, ni se escribe un fichero mayor. En Windows, una carpeta se da también como E: o con "
        "el prefijo \\\\?\\.",
        0);
    out += "\n";
    out += wrapText(
        "Tipos de objeto: 21 programa o recurso a ejecutar, 22 icono, 23 etiqueta, 6 menú, 20 menú "
        "predeterminado.",
        0);
    out += "\nCódigos de salida:\n";
    for (const ExitCodeHelp& e : exitCodeHelp()) {
        const std::string text = wrapText(e.text, 5);
        out += "  " + std::to_string(e.code) + text.substr(3);
    }
    return out;
}

std::string commandHelpText(const Verb& verb) {
    std::string out = wrappedSynopsis(verb, "uso: kmrc ") + "\n";
    for (const std::string_view paragraph : verb.text) out += wrapText(paragraph, 0);
    out += "\nOpciones:\n" + optionList(verb.options);
    return out;
}

std::string versionText() {
#ifdef KMR_VERSION
    return "kmrc (KMR) " KMR_VERSION "\n";
#else
    return "kmrc (KMR)\n";
#endif
}

HelpRequest helpRequest(const Verb& verb, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") break;
        if (a == "--help" || a == "-h") return HelpRequest::Help;
        if (a == "--version") return HelpRequest::Version;
        const VerbOption* o = findOption(verb, a);
        if (o != nullptr && optionTakesValue(*o)) ++i;
    }
    return HelpRequest::None;
}

}  // namespace kmr::cli
