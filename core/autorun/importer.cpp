#include "autorun/importer.h"

#include <optional>
#include <vector>

#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kShellPrefix = "shell\\";
constexpr std::string_view kCommandSuffix = "\\command";

// One line of a menu: "shell\NAME=text" or "shell\NAME\command=command".
struct ShellLine {
    std::string_view name;
    std::string_view value;
    bool isCommand = false;
};

bool startsWithShellPrefix(std::string_view trimmed) {
    return trimmed.size() >= kShellPrefix.size() &&
           text::asciiLower(trimmed.substr(0, kShellPrefix.size())) == kShellPrefix;
}

// Splits a trimmed "shell\..." line. Blanks around the name and before '=' are ignored, as for every
// other key. A line without '=', or one for another sub-key (shell\NAME\ddeexec, shell\NAME\Default),
// describes no menu.
std::optional<ShellLine> parseShellLine(std::string_view trimmed) {
    const std::string_view rest = trimmed.substr(kShellPrefix.size());
    const auto eq = rest.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    ShellLine s;
    s.value = text::trimView(rest.substr(eq + 1));
    std::string_view key = text::trimView(rest.substr(0, eq));
    if (key.size() >= kCommandSuffix.size() &&
        text::asciiLower(key.substr(key.size() - kCommandSuffix.size())) == kCommandSuffix) {
        s.isCommand = true;
        key = text::trimView(key.substr(0, key.size() - kCommandSuffix.size()));
    }
    if (key.find('\\') != std::string_view::npos) return std::nullopt;
    s.name = key;
    return s;
}

// The key of an entry line: what stands before the first '=', without any character of code 32 or
// lower, A–Z folded.
std::string keyOf(std::string_view line) {
    const std::string_view raw = line.substr(0, line.find('='));
    std::string key;
    key.reserve(raw.size());
    for (const char c : raw) {
        if (!text::isBlank(c)) key.push_back(c);
    }
    return text::asciiLower(key);
}

std::string valueOf(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string() : text::trim(line.substr(eq + 1));
}

// The first line as the line reader gives it: up to the first LF, without the CR before it.
std::string_view firstLineOf(std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    if (line.size() < text.size() && line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

bool isHeader(std::string_view firstLine) { return text::asciiLower(firstLine) == "[autorun]"; }

// The folded name of a section header line ("[ AutoRun ]" gives "autorun").
std::string sectionNameOf(std::string_view trimmed) {
    const auto close = trimmed.find(']', 1);
    const std::string_view name =
        trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    return text::asciiLower(text::trimView(name));
}

class Importer {
public:
    explicit Importer(std::string_view text)
        : m_lines(text::splitLines(text, false)), m_hasHeader(hasAutorunHeader(text)) {}

    ImportResult run() {
        std::size_t i = 0;
        if (m_hasHeader) {
            m_sectionSeen = true;
            i = 1;
        }
        for (; i < m_lines.size(); ++i) i = handle(i);
        markDefaultMenus();
        return std::move(m_result);
    }

private:
    // Handles the line at i and returns the index of the last line it used.
    std::size_t handle(std::size_t i) {
        const std::string_view line = text::trimView(m_lines[i]);
        if (line.empty()) return i;
        if (line.front() == '[') {
            // Only a header that repeats the section is an unused line; the file's own header, even
            // spelled with blanks or capitals, is not.
            const bool autorun = sectionNameOf(line) == "autorun";
            if (!autorun || m_sectionSeen) ++m_result.unrecognised;
            m_sectionSeen = true;
            m_inAutorun = autorun;
            return i;
        }
        if (!m_inAutorun) {
            ++m_result.unrecognised;  // a key of another section says nothing about the disc
            return i;
        }
        const std::string key = keyOf(line);
        Project& p = m_result.project;
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
        } else if (key == "shell" && !m_defaultVerb) {
            m_defaultVerb = text::asciiLower(valueOf(line));
        } else if (startsWithShellPrefix(line)) {
            return handleMenu(i, line);
        } else {
            ++m_result.unrecognised;
        }
        return i;
    }

    // A menu is a text line and a command line for the same name, next to each other (empty lines
    // between them aside) in either order. A line that does not pair is counted and the line after it
    // is left to be read on its own, so one stray line never takes a good one with it.
    std::size_t handleMenu(std::size_t i, std::string_view line) {
        const auto first = parseShellLine(line);
        std::size_t j = i + 1;
        while (j < m_lines.size() && text::trimView(m_lines[j]).empty()) ++j;
        std::optional<ShellLine> second;
        if (first && j < m_lines.size()) {
            const std::string_view next = text::trimView(m_lines[j]);
            if (startsWithShellPrefix(next)) second = parseShellLine(next);
        }
        if (!second || second->name != first->name || second->isCommand == first->isCommand) {
            ++m_result.unrecognised;
            return i;
        }
        const ShellLine& textLine = first->isCommand ? *second : *first;
        const ShellLine& commandLine = first->isCommand ? *first : *second;
        m_result.project.append(
            makeMenu(std::string(textLine.value), std::string(commandLine.value), std::string(first->name)));
        return j;
    }

    // The default verb holds wherever its line stands, before or after the menus.
    void markDefaultMenus() {
        if (!m_defaultVerb) return;
        for (ProjectObject& o : m_result.project.objects) {
            if (isMenu(o.kind) && text::asciiLower(o.menuName()) == *m_defaultVerb) o.kind = Kind::DefaultMenu;
        }
    }

    std::vector<std::string_view> m_lines;
    bool m_hasHeader = false;
    ImportResult m_result;
    bool m_sectionSeen = false;  // a section header has been met (the first one is the file's own)
    bool m_inAutorun = true;     // lines before any header are read as entries
    bool m_runSeen = false;
    bool m_iconSeen = false;
    bool m_labelSeen = false;
    std::optional<std::string> m_defaultVerb;  // from the first "shell" line, A–Z folded
};

}  // namespace

AutorunSource readAutorunFile(const std::string& path) {
    AutorunSource source;
    io::ReadResult read = io::readFile(path);
    static_cast<io::IoResult&>(source) = read;
    if (read.ok()) source.text = text::decode(read.bytes).text;
    return source;
}

bool hasAutorunHeader(std::string_view text) { return isHeader(firstLineOf(text)); }

ImportResult importAutorun(std::string_view text) { return Importer(text).run(); }

std::string importReportText(std::size_t unrecognised) {
    if (unrecognised == 0) return std::string(kImportedMessage);
    return "No se han reconocido " + std::to_string(unrecognised) + " órdenes del fichero.";
}

}  // namespace kmr
