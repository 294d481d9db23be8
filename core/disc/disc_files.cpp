#include "disc/disc_files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/io_result.h"
#include "platform/path_text.h"
#include "text/integer.h"
#include "text/text.h"

namespace kmr::disc {
namespace fs = std::filesystem;

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> discComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();  // the root's parent is the root
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::string_view extensionOf(std::string_view name) {
    const std::string_view file = text::fileNameOf(name);
    const auto dot = file.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : file.substr(dot);
}

constexpr std::array<std::string_view, 6> kProgramExtensions = {".exe", ".com", ".bat", ".cmd", ".pif", ".scr"};
constexpr std::array<std::string_view, 5> kAddressPrefixes = {"http:", "https:", "ftp:", "www.", "mailto:"};

// Programs of Windows itself that a command may name without a folder. Most lie in the system
// folders (System32 and the Windows folder), which are on the search path; iexplore, wordpad and
// wmplayer lie elsewhere and are registered by name. command.com is left out: 64-bit Windows has
// none. Orders of the command interpreter (start, dir, copy…) are no programs and are not here.
constexpr std::array<std::string_view, 25> kSystemPrograms = {
    "attrib",   "calc",     "cmd",     "control",    "cscript", "explorer", "hh",       "iexplore", "msiexec",
    "mshta",    "mspaint",  "notepad", "powershell", "reg",     "regedit",  "regsvr32", "robocopy", "rundll32",
    "winhlp32", "wmplayer", "wordpad", "write",      "wscript", "wusa",     "xcopy",
};

// Orders that the command interpreter (cmd.exe) carries out itself: no file holds them, so Windows
// cannot start them as programs.
constexpr std::array<std::string_view, 43> kInterpreterCommands = {
    "assoc", "break",    "call",  "cd",    "chdir",  "cls",   "color", "copy", "date",   "del",    "dir",
    "echo",  "endlocal", "erase", "exit",  "for",    "ftype", "goto",  "if",   "md",     "mkdir",  "mklink",
    "move",  "path",     "pause", "popd",  "prompt", "pushd", "rd",    "rem",  "ren",    "rename", "rmdir",
    "set",   "setlocal", "shift", "start", "time",   "title", "type",  "ver",  "verify", "vol",
};

bool startsAPath(std::string_view before) {
    if (before.empty()) return true;
    const char c = before.back();
    return text::isBlank(c) || c == '"' || c == '=' || c == ',';
}

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

// The entry of a folder whose name matches, exact spelling first, then with A–Z folded. The answer
// carries the spelling on the disc, also where the file system itself ignores case.
std::optional<fs::path> DiscFolder::findEntry(const fs::path& folder, const std::string& name) const {
    std::error_code ec;
    const std::string wanted = text::asciiLower(name);
    std::optional<fs::path> found;
    fs::directory_iterator it(folder, ec);
    const std::error_code listing = ec;
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = platform::textOf(it->path().filename());
        if (candidate == name) return it->path();
        // Of several spellings the first in name order, so that the answer does not depend on the
        // order in which the system lists the folder.
        if (text::asciiLower(candidate) == wanted && (!found || candidate < platform::textOf(found->filename()))) {
            found = it->path();
        }
    }
    // A folder that may be entered but not listed still has the files it has.
    const fs::path exact = folder / platform::pathOf(name);
    if (!found && fs::exists(exact, ec)) return exact;
    // One that cannot be read at all may hold it too: not found is then no answer.
    if (!found && listing && listing != std::errc::no_such_file_or_directory && listing != std::errc::not_a_directory &&
        m_problem.empty()) {
        m_problem = platform::textOf(folder) + ": no se puede leer esta carpeta del disco (" +
                    io::systemErrorText(listing.value()) + "); compruebe sus permisos";
    }
    return found;
}

bool DiscFolder::exists() const {
    std::error_code ec;
    return !m_root.empty() && fs::is_directory(platform::pathOf(m_root), ec);
}

std::string DiscFolder::readError() const {
    if (!exists()) return {};
    const std::string reason = platform::folderUnreadable(m_root);
    if (reason.empty()) return {};
    return m_root + ": no se puede leer la carpeta del disco (" + reason + "); compruebe sus permisos";
}

std::optional<std::string> DiscFolder::find(std::string_view discPath) const {
    if (!exists()) return std::nullopt;
    const std::vector<std::string> parts = discComponents(discPath);
    if (parts.empty()) return std::nullopt;
    fs::path at = platform::pathOf(m_root);
    for (const std::string& part : parts) {
        const auto next = findEntry(at, part);
        if (!next) return std::nullopt;
        at = *next;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(at, ec);
    if (fs::is_directory(status)) return std::nullopt;
    if (fs::exists(status) && !fs::is_regular_file(status) && m_problem.empty())
        m_problem = notARegularFile(platform::textOf(at));
    return platform::textOf(at);
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(platform::pathOf(path), ec);
}

std::string notARegularFile(const std::string& path) {
    return path +
           ": no es un fichero normal (es una tubería, un dispositivo o un socket, o un enlace a uno); "
           "la carpeta del disco solo puede llevar ficheros y carpetas";
}

std::optional<std::string> DiscFolder::findFolder(std::string_view discPath) const {
    if (!exists()) return std::nullopt;
    fs::path at = platform::pathOf(m_root);
    for (const std::string& part : discComponents(discPath)) {
        const auto next = findEntry(at, part);
        if (!next) return std::nullopt;
        at = *next;
    }
    std::error_code ec;
    if (!fs::is_directory(at, ec)) return std::nullopt;
    return platform::textOf(at);
}

std::string resolveDiscFolder(std::string_view projectPath, std::string_view folder) {
    const fs::path f = platform::pathOf(folder);
    if (f.empty() || f.is_absolute()) return platform::textOf(f);
    return platform::textOf((platform::pathOf(projectPath).parent_path() / f).lexically_normal());
}

std::string autorunPathIn(const std::string& folder) {
    if (auto existing = DiscFolder(folder).find("autorun.inf")) return *existing;
    return platform::textOf(platform::pathOf(folder) / "autorun.inf");
}

std::vector<std::string> programCandidates(std::string_view command) {
    const std::string_view c = text::trimView(command);
    if (c.empty()) return {};
    if (c.front() == '"') {
        const auto close = c.find('"', 1);
        return {std::string(c.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1))};
    }
    std::vector<std::string> candidates;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (text::isBlank(c[i]) && i > 0 && !text::isBlank(c[i - 1])) candidates.emplace_back(c.substr(0, i));
    }
    candidates.emplace_back(c);
    return candidates;
}

bool isSystemProgram(std::string_view name) {
    if (name.find_first_of("\\/:") != std::string_view::npos) return false;
    std::string n = text::asciiLower(name);
    for (const std::string_view ext : {".exe", ".com"}) {
        if (n.ends_with(ext)) n.resize(n.size() - ext.size());
    }
    return std::find(kSystemPrograms.begin(), kSystemPrograms.end(), n) != kSystemPrograms.end();
}

bool isInterpreterCommand(std::string_view name) {
    const std::string n = text::asciiLower(name);
    return std::find(kInterpreterCommands.begin(), kInterpreterCommands.end(), n) != kInterpreterCommands.end();
}

bool isAddress(std::string_view value) {
    const std::string v = text::asciiLower(text::left(text::trimView(value), 8));
    return std::any_of(kAddressPrefixes.begin(), kAddressPrefixes.end(),
                       [&v](std::string_view p) { return v.starts_with(p); });
}

FileRole roleOf(std::string_view name) {
    if (isAddress(name)) return FileRole::WebPage;
    const std::string ext = text::asciiLower(extensionOf(name));
    if (ext.empty() || std::find(kProgramExtensions.begin(), kProgramExtensions.end(), ext) != kProgramExtensions.end())
        return FileRole::Program;
    if (ext == ".htm" || ext == ".html" || ext == ".url" || ext == ".mht") return FileRole::WebPage;
    return FileRole::Document;
}

std::string absolutePathIn(std::string_view value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!startsAPath(value.substr(0, i))) continue;
        const std::string_view rest = value.substr(i);
        const bool drive = rest.size() >= 3 && isLetter(rest[0]) && rest[1] == ':' && isSeparator(rest[2]);
        const bool network = rest.size() >= 3 && rest.starts_with("\\\\") && !isSeparator(rest[2]);
        if (!drive && !network) continue;
        const bool quoted = i > 0 && value[i - 1] == '"';
        return std::string(rest.substr(0, rest.find_first_of(quoted ? "\"" : " \t\",")));
    }
    return {};
}

IconReference parseIconReference(std::string_view value) {
    IconReference r;
    std::string_view file = text::trimView(value);
    if (const auto comma = file.find_last_of(','); comma != std::string_view::npos) {
        if (const auto n = text::parseInteger(text::trimView(file.substr(comma + 1)), {.allowHex0x = false})) {
            r.number = *n;
            file = text::trimView(file.substr(0, comma));
        }
    }
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    r.file = std::string(file);
    return r;
}

}  // namespace kmr::disc
