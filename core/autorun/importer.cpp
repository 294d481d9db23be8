#include "autorun/importer.h"

#include <algorithm>
#include <optional>

#include "platform/file_read.h"
#include "project/profile.h"
#include "text/text.h"

namespace kmr {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the text, A–Z folded, is `lower` (which holds no capitals).
bool equalsFolded(std::string_view s, std::string_view lower) {
    if (s.size() != lower.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (lowerAscii(s[i]) != lower[i]) return false;
    }
    return true;
}

// The keys that mean something to the importer.
enum class Key { Other, Open, Icon, Label, ShellExecute, Shell };

// The key of an entry line: what stands before the first '=' (the whole line without one), with every
// character of code 32 or lower removed wherever it stands, A–Z folded. Only the keys above are told
// apart, so no copy of a longer key is made.
Key keyOf(std::string_view line) {
    constexpr std::size_t kLongest = 12;  // "shellexecute"
    char key[kLongest];
    std::size_t n = 0;
    for (const char c : line) {
        if (c == '=') break;
        if (text::isBlank(c)) continue;
        if (n == kLongest || c == '\\') return Key::Other;  // no key is longer, nor holds a backslash
        key[n++] = lowerAscii(c);
    }
    const std::string_view k(key, n);
    if (k == "open") return Key::Open;
    if (k == "icon") return Key::Icon;
    if (k == "label") return Key::Label;
    if (k == "shellexecute") return Key::ShellExecute;
    if (k == "shell") return Key::Shell;
    return Key::Other;
}

// The value: what follows the first '=', trimmed; empty without one.
std::string_view valueOf(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : text::trimView(line.substr(eq + 1));
}

bool startsWithShellPrefix(std::string_view trimmed) {
    return trimmed.size() >= 6 && equalsFolded(trimmed.substr(0, 6), "shell\\");
}

// The line without the blanks that stand directly before its first '=': "shell\x = Texto" reads as
// "shell\x= Texto", as the system that reads the disc takes it. The line itself when there are none;
// otherwise the shortened line, kept in `storage` (reused from line to line).
std::string_view withoutBlanksBeforeEquals(std::string_view line, std::string& storage) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0 || !text::isBlank(line[eq - 1])) return line;
    storage.assign(text::trimRightView(line.substr(0, eq)));
    storage.append(line.substr(eq));
    return storage;
}

// The three values of a menu, pointing into the two lines.
struct MenuPair {
    std::string_view name;
    std::string_view text;
    std::string_view command;
};

// Pairs two lines: a menu is written as "shell\NAME=text" and "shell\NAME\command=command", in either
// order. The first remainder is the first line after "shell\"; the second is the partner without its
// first six characters, unexamined, so an indented partner does not pair. The pair is told apart by the
// first character at which the two remainders differ: '=' in the text line where the command line has '\'.
std::optional<MenuPair> pairOf(std::string_view firstLine, std::string_view secondLine) {
    const std::string_view first = text::trimView(text::trimView(firstLine).substr(6));
    const std::string_view second = text::from(secondLine, 6);
    const std::size_t shorter = std::min(first.size(), second.size());
    const std::size_t p = static_cast<std::size_t>(
        std::mismatch(first.begin(), first.begin() + shorter, second.begin()).first - first.begin());
    // Bytes below 128 never occur inside a multi-byte character, so when the first difference is
    // '=' against '\' it stands at the same character position in both lines.
    if (p == shorter) return std::nullopt;
    if (first[p] == '=' && second[p] == '\\') {
        // "\command=" is skipped unexamined.
        return MenuPair{text::trimView(first.substr(0, p)), text::trimView(first.substr(p + 1)),
                        text::trimView(text::from(second.substr(p), 9))};
    }
    if (first[p] == '\\' && second[p] == '=') {
        return MenuPair{text::trimView(first.substr(0, p)), text::trimView(second.substr(p + 1)),
                        text::trimView(text::from(first.substr(p), 9))};
    }
    return std::nullopt;
}

class Importer {
public:
    explicit Importer(std::string_view content) : m_lines(content, false) {
        // Room for as many menus as a text of this size holds when each takes 64 bytes, as most do
        // (the two shortest lines of a menu take 26): the list seldom has to grow, and room that
        // stays unused is never touched.
        m_result.project.objects.reserve(content.size() / 64);
    }

    ImportResult run(bool hasHeader) {
        if (!m_lines.atEnd()) {
            // The first line is the header. In a file without one it may be an entry, which is kept; what
            // no rule takes there (a header with a blank after it, a comment, another section) is dropped
            // uncounted, as the header would have been.
            const std::string_view first = m_lines.next();
            if (!hasHeader) handle(first, false);
        }
        while (!m_lines.atEnd()) handle(m_lines.next(), true);
        return std::move(m_result);
    }

private:
    using MakeSingle = ProjectObject (*)(std::string_view);

    // The objects are made here and in handlePair only: each value is copied once, into its object.
    void insertSingle(MakeSingle make, std::string_view value) { m_result.project.insert(make(value)); }

    void handle(std::string_view line, bool countUnused) {
        const std::string_view trimmed = text::trimView(line);
        if (trimmed.empty()) return;
        const Key key = keyOf(line);
        // The rules in their order; a key whose condition fails falls through to the later ones.
        if (key == Key::Open && !m_runSeen) {
            m_runSeen = true;
            insertSingle(makeProgram, valueOf(line));
        } else if (key == Key::Icon && !m_iconSeen) {
            m_iconSeen = true;
            insertSingle(makeIcon, valueOf(line));
        } else if (key == Key::Label && !m_labelSeen) {
            m_labelSeen = true;
            insertSingle(makeLabel, valueOf(line));
        } else if (key == Key::ShellExecute && !m_runSeen) {
            m_runSeen = true;
            insertSingle(makeResource, valueOf(line));
        } else if (key == Key::Shell) {
            m_defaultVerb.assign(valueOf(line));
            for (char& c : m_defaultVerb) c = lowerAscii(c);
            m_defaultVerbSet = true;
        } else if (startsWithShellPrefix(trimmed)) {
            handlePair(line);
        } else if (countUnused) {
            ++m_result.unrecognised;
        }
    }

    // A "shell\" line and its partner, the next line that has any character at all (used up by the
    // pair). Blanks before each line's first '=' do not stand in the way; a pair that only the lines as
    // written make (a name that ends in blanks, as the compiler writes it) still pairs.
    void handlePair(std::string_view line) {
        if (!m_lines.skipEmpty()) {
            ++m_result.unrecognised;
            return;
        }
        const std::string_view partner = m_lines.next();
        const std::string_view first = withoutBlanksBeforeEquals(line, m_firstStorage);
        const std::string_view second = withoutBlanksBeforeEquals(partner, m_secondStorage);
        std::optional<MenuPair> pair = pairOf(first, second);
        if (!pair && (first.size() != line.size() || second.size() != partner.size())) pair = pairOf(line, partner);
        if (!pair) {
            ++m_result.unrecognised;
            return;
        }
        const bool isDefault = m_defaultVerbSet && equalsFolded(pair->name, m_defaultVerb);
        m_result.project.append(m_maker.menu(pair->text, pair->command, pair->name, isDefault));
    }

    text::LineCursor m_lines;  // read as they come: no list of every line
    ImportResult m_result;
    ObjectMaker m_maker;  // the menus' texts in shared blocks
    bool m_runSeen = false;
    bool m_iconSeen = false;
    bool m_labelSeen = false;
    // The value of the last "shell" line so far, A–Z folded. Unset until such a line comes, so that a
    // menu with an empty internal name is not taken for the default one.
    bool m_defaultVerbSet = false;
    std::string m_defaultVerb;
    // The lines of a pair without the blanks before their '=', when they had any; kept from pair to pair
    // so that their room is made once.
    std::string m_firstStorage;
    std::string m_secondStorage;
};

// The first line as the line reader gives it: up to the first LF, without the CR before it.
std::string_view firstLineOf(std::string_view content) {
    std::string_view line = content.substr(0, content.find('\n'));
    if (line.size() < content.size() && line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

// A letter or digit of a word, or a byte of a character beyond ASCII.
bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= '0' && u <= '9') || ((u | 0x20) >= 'a' && (u | 0x20) <= 'z');
}

// Takes the bytes of a file without a mark in their form; for UTF-8, the word the notice shows.
void takeForm(AutorunSource& source, std::string bytes) {
    source.form = text::guessUnmarkedForm(bytes);
    if (source.form != text::UnmarkedForm::Utf8) {
        source.text = text::decodeUnmarked(bytes, source.form);
        return;
    }
    // Everything before the first byte beyond ASCII is ASCII, so the word starts on a character.
    const std::size_t at = static_cast<std::size_t>(
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
        bytes.begin());
    std::size_t begin = at, end = at;
    while (begin > 0 && at - begin < 20 && isWordByte(bytes[begin - 1])) --begin;
    while (end < bytes.size() && isWordByte(bytes[end]) && end - begin < 40) ++end;
    while (end < bytes.size() && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) --end;  // whole characters
    source.word = bytes.substr(begin, end - begin);
    source.windowsWord = text::fromCp1252(source.word);
    source.text = std::move(bytes);
}

}  // namespace

AutorunSource decodeAutorun(std::string_view bytes) {
    AutorunSource source;
    std::size_t mark = 0;
    const text::Encoding encoding = text::detectEncoding(bytes, mark);
    if (encoding == text::Encoding::Cp1252) {
        takeForm(source, std::string(bytes));
    } else {
        source.text = text::decodeAs(bytes.substr(mark), encoding);
    }
    return source;
}

std::string_view formName(text::UnmarkedForm form) {
    switch (form) {
        case text::UnmarkedForm::Cp1252: return "Windows-1252";
        case text::UnmarkedForm::Utf8: return "UTF-8";
        case text::UnmarkedForm::Utf16Le: return "UTF-16 little-endian sin marca de orden de bytes";
        case text::UnmarkedForm::Utf16Be: break;
    }
    return "UTF-16 big-endian";
}

std::string readingNotice(const AutorunSource& source) {
    if (source.form == text::UnmarkedForm::Cp1252) return {};
    if (source.form == text::UnmarkedForm::Utf8) {
        return "El fichero está en UTF-8, que Windows leería como «" + source.windowsWord +
               "»; se ha leído como UTF-8 y al compilar se escribirá para que Windows lea «" + source.word + "»";
    }
    return "El fichero está en " + std::string(formName(source.form)) +
           ", que Windows no leería; se ha leído como tal y al compilar se escribirá en una forma que Windows lee";
}

AutorunSource readAutorunFile(const std::string& path) {
    AutorunSource source;
    // Decoded as it is read: the file's bytes are never all in memory beside the text.
    text::PieceDecoder decoder(source.text);
    std::string head;  // the first two bytes, which tell a file that a write in place left unfinished
    static_cast<io::IoResult&>(source) = io::readFileInPieces(
        path, [&](std::size_t size) { decoder.expect(size); },
        [&](std::string_view piece) {
            head.append(piece.substr(0, 2 - std::min<std::size_t>(head.size(), 2)));
            decoder.add(piece);
        });
    if (source.ok() && io::unfinishedWrite(head)) static_cast<io::IoResult&>(source) = io::unfinishedFailure(path);
    if (source.ok()) {
        if (decoder.finish() == text::Encoding::Cp1252 &&
            (!text::isAscii(source.text) || source.text.find('\0') != std::string::npos)) {
            // The file's own bytes again, where they stand (every byte has a character of its own), to
            // be read in the form they have.
            text::toCp1252InPlace(source.text);
            takeForm(source, std::move(source.text));
        }
    } else {
        source.text = std::string();
    }
    return source;
}

bool crOnlyLineEnds(std::string_view content) {
    return content.find('\r') != std::string_view::npos && content.find('\n') == std::string_view::npos;
}

bool hasAutorunHeader(std::string_view content) { return equalsFolded(firstLineOf(content), "[autorun]"); }

bool looksLikeAutorun(std::string_view content) {
    text::LineCursor lines(content, true);
    while (!lines.atEnd()) {
        const auto name = profileHeaderName(lines.next());
        if (name &&
            (equalsFolded(*name, "autorun") || (name->size() > 8 && equalsFolded(name->substr(0, 8), "autorun."))))
            return true;
    }
    return false;
}

std::string firstLineShown(std::string_view content) {
    constexpr std::size_t kShown = 60;
    const std::string_view line = firstLineOf(content);
    std::string shown(text::left(line, kShown));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 32 && c != '\t') c = '?';
    }
    if (text::length(line) > kShown) shown += "…";
    return shown;
}

ImportResult importAutorun(std::string_view content) { return Importer(content).run(hasAutorunHeader(content)); }

std::string importReportText(std::size_t unrecognised) {
    if (unrecognised == 0) return std::string(kImportedMessage);
    return "No se han reconocido " + std::to_string(unrecognised) + " órdenes del fichero.";
}

}  // namespace kmr
