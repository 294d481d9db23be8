#include "autorun/importer.h"

#include <optional>

#include "text/text.h"

namespace kmr {
namespace {

// The key of an entry line: what stands before the first '=' (the whole line without one), with every
// character of code 32 or lower removed wherever it stands, A–Z folded.
std::string keyOf(std::string_view line) {
    const std::string_view raw = line.substr(0, line.find('='));
    std::string key;
    key.reserve(raw.size());
    for (const char c : raw) {
        if (!text::isBlank(c)) key.push_back(c);
    }
    return text::asciiLower(key);
}

// The value: what follows the first '=', trimmed; empty without one.
std::string valueOf(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string() : text::trim(line.substr(eq + 1));
}

bool startsWithShellPrefix(std::string_view trimmed) { return text::asciiLower(trimmed.substr(0, 6)) == "shell\\"; }

class Importer {
public:
    explicit Importer(std::string_view content) : m_lines(content, false) {}

    ImportResult run(bool skipFirstLine) {
        // The first line is the header; a file without one had its first line read as an entry.
        if (skipFirstLine) m_lines.next();
        while (!m_lines.atEnd()) handle(m_lines.next());
        return std::move(m_result);
    }

private:
    void handle(std::string_view line) {
        const std::string_view trimmed = text::trimView(line);
        if (trimmed.empty()) return;
        const std::string key = keyOf(line);
        Project& p = m_result.project;
        // The rules in their order; a key whose condition fails falls through to the later ones.
        if (key == "open" && !m_runSeen) {
            m_runSeen = true;
            p.insert(makeProgram(valueOf(line)));
        } else if (key == "icon" && !m_iconSeen) {
            m_iconSeen = true;
            p.insert(makeIcon(valueOf(line)));
        } else if (key == "label" && !m_labelSeen) {
            m_labelSeen = true;
            p.insert(makeLabel(valueOf(line)));
        } else if (key == "shellexecute" && !m_runSeen) {
            m_runSeen = true;
            p.insert(makeResource(valueOf(line)));
        } else if (key == "shell") {
            m_defaultVerb = text::asciiLower(valueOf(line));
        } else if (startsWithShellPrefix(trimmed)) {
            handlePair(trimmed);
        } else {
            ++m_result.unrecognised;
        }
    }

    // A menu is written as two lines, "shell\NAME=text" and "shell\NAME\command=command", in either
    // order. The pair is told apart by the first character at which the two lines differ after
    // "shell\": '=' in the text line where the command line has '\'.
    void handlePair(std::string_view trimmed) {
        const std::string_view first = text::trimView(trimmed.substr(6));
        // The partner is the next line that has any character at all; it is used up by the pair.
        if (!m_lines.skipEmpty()) {
            ++m_result.unrecognised;
            return;
        }
        // Its first six characters are cut unexamined, so an indented partner does not pair.
        const std::string_view second = text::from(m_lines.next(), 6);

        const std::size_t shorter = std::min(first.size(), second.size());
        std::size_t p = 0;
        while (p < shorter && first[p] == second[p]) ++p;
        // Bytes below 128 never occur inside a multi-byte character, so when the first difference is
        // '=' against '\' it stands at the same character position in both lines.
        if (p == shorter) {
            ++m_result.unrecognised;
            return;
        }
        std::string name;
        std::string menuText;
        std::string command;
        if (first[p] == '=' && second[p] == '\\') {
            name = text::trim(first.substr(0, p));
            menuText = text::trim(first.substr(p + 1));
            command = text::trim(text::from(second.substr(p), 9));  // "\command=" is skipped unexamined
        } else if (first[p] == '\\' && second[p] == '=') {
            name = text::trim(first.substr(0, p));
            command = text::trim(text::from(first.substr(p), 9));
            menuText = text::trim(second.substr(p + 1));
        } else {
            ++m_result.unrecognised;
            return;
        }
        const bool isDefault = m_defaultVerb && text::asciiLower(name) == *m_defaultVerb;
        m_result.project.append(makeMenu(std::move(menuText), std::move(command), std::move(name), isDefault));
    }

    text::LineCursor m_lines;  // read as they come: no list of every line
    ImportResult m_result;
    bool m_runSeen = false;
    bool m_iconSeen = false;
    bool m_labelSeen = false;
    // The value of the last "shell" line so far, A–Z folded. Unset until such a line comes, so that a
    // menu with an empty internal name is not taken for the default one.
    std::optional<std::string> m_defaultVerb;
};

// The first line as the line reader gives it: up to the first LF, without the CR before it.
std::string_view firstLineOf(std::string_view content) {
    std::string_view line = content.substr(0, content.find('\n'));
    if (line.size() < content.size() && line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

AutorunSource readAutorunFile(const std::string& path) {
    AutorunSource source;
    io::ReadResult read = io::readFile(path);
    static_cast<io::IoResult&>(source) = read;
    if (read.ok()) source.text = text::decode(read.bytes).text;
    return source;
}

bool hasAutorunHeader(std::string_view content) { return text::asciiLower(firstLineOf(content)) == "[autorun]"; }

ImportResult importAutorun(std::string_view content) { return Importer(content).run(hasAutorunHeader(content)); }

std::string importReportText(std::size_t unrecognised) {
    if (unrecognised == 0) return std::string(kImportedMessage);
    return "No se han reconocido " + std::to_string(unrecognised) + " órdenes del fichero.";
}

}  // namespace kmr
