#include "manual.h"

#include <algorithm>

#include "help.h"
#include "verb.h"

namespace kmr::cli {
namespace {

// The widest line written into a page, where it can be wrapped.
constexpr std::size_t kSourceColumns = 110;

bool isOptionStart(std::string_view text, std::size_t at) {
    const bool wordStart = at == 0 || text[at - 1] == ' ' || text[at - 1] == '(' || text[at - 1] == '[';
    const std::size_t letter = at + (text.substr(at).starts_with("--") ? 2 : 1);
    return wordStart && text[at] == '-' && letter < text.size() && text[letter] >= 'a' && text[letter] <= 'z';
}

std::size_t optionEnd(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && (text[end] == '-' || (text[end] >= 'a' && text[end] <= 'z'))) ++end;
    return end;
}

// Text for roff: "-" as "\\-", a backslash as "\\e", option names in bold if asked.
std::string roff(std::string_view text, bool boldOptions) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (boldOptions && isOptionStart(text, i)) {
            const std::size_t end = optionEnd(text, i);
            out += "\\fB" + roff(text.substr(i, end - i), false) + "\\fR";
            i = end;
            continue;
        }
        const char c = text[i++];
        out += c == '-' ? "\\-" : c == '\\' ? "\\e" : std::string(1, c);
    }
    return out;
}

// Text on lines of its own, none of which a roff request may take for its own.
std::string roffLines(std::string_view text) {
    std::string out;
    const std::string wrapped = wrapText(roff(text, true), 0, kSourceColumns);
    for (std::size_t at = 0; at < wrapped.size();) {
        const std::size_t end = wrapped.find('\n', at) + 1;
        if (wrapped[at] == '.' || wrapped[at] == '\'') out += "\\&";
        out += wrapped.substr(at, end - at);
        at = end;
    }
    return out;
}

std::string html(std::string_view text, bool codeOptions) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (codeOptions && isOptionStart(text, i)) {
            const std::size_t end = optionEnd(text, i);
            out += "<code>" + std::string(text.substr(i, end - i)) + "</code>";
            i = end;
            continue;
        }
        const char c = text[i++];
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    }
    return out;
}

// The brackets, separators and "..." at the start of `rest`, which a synopsis writes in roman.
std::size_t separatorLength(std::string_view rest) {
    if (rest.starts_with("...")) return 3;
    return !rest.empty() && std::string_view("[]|=:").find(rest[0]) != std::string_view::npos ? 1 : 0;
}

// One word of a synopsis as a roff line: an option's name bold, the names of values italic, the rest
// roman, through the requests that alternate two fonts (".RB [ \\-\\-disc", ".IR cd | usb ]"). A word
// holds an option's name or names of values, never both.
std::string roffSynopsisWord(std::string_view word) {
    std::vector<std::pair<char, std::string>> runs;  // font, text
    for (std::size_t i = 0; i < word.size();) {
        char font = 'I';
        std::size_t end = i + 1;
        if (const std::size_t n = separatorLength(word.substr(i)); n > 0) {
            font = 'R';
            end = i + n;
        } else if (isOptionStart(word, i)) {
            font = 'B';
            end = optionEnd(word, i);
        } else {
            while (end < word.size() && separatorLength(word.substr(end)) == 0) ++end;
        }
        if (runs.empty() || runs.back().first != font) runs.emplace_back(font, "");
        runs.back().second += roff(word.substr(i, end - i), false);
        i = end;
    }
    // ".B" or ".I" for one font; roman alone (no request of its own) as the first of a pair.
    std::string line = {'.', runs[0].first};
    if (runs.size() > 1) {
        line += runs[1].first;
    } else if (runs[0].first == 'R') {
        line += 'B';
    }
    for (const auto& [font, text] : runs) line += " " + text;
    return line + "\n";
}

std::string manualSynopsis() {
    std::string out;
    for (const CommandHelp& c : commandHelp()) {
        out += ".B kmrc " + roff(c.name, false) + "\n";
        for (const std::string& piece : synopsisPieces(*c.verb)) {
            for (std::size_t i = 0; i < piece.size();) {
                const std::size_t end = std::min(piece.find(' ', i), piece.size());
                out += roffSynopsisWord(std::string_view(piece).substr(i, end - i));
                i = end + 1;
            }
        }
        out += ".br\n";
    }
    return out;
}

std::string manualVerbs() {
    std::string out;
    for (const Verb& v : verbs()) {
        out += ".TP\n.B " + roff(v.name, false) + "\n";
        for (std::size_t i = 0; i < v.text.size(); ++i) out += (i > 0 ? ".IP\n" : "") + roffLines(v.text[i]);
        out += ".RS\n";
        for (const VerbOption& o : v.options) {
            out += ".TP\n";
            out += optionTakesValue(o)
                       ? ".BI " + roff(optionName(o), false) + " \" " + roff(optionArgument(o), false) + "\"\n"
                       : ".B " + roff(o.form, false) + "\n";
            out += roffLines(o.text);
        }
        out += ".RE\n";
    }
    return out;
}

std::string helpPageVerbs() {
    std::string out;
    for (const CommandHelp& c : commandHelp()) {
        const Verb& v = *c.verb;
        out += "<h3><a name=\"" + std::string(v.name) + "\"></a><code>kmrc " + std::string(v.name) + "</code></h3>\n";
        out += "<p><code>kmrc " + html(c.synopsis, false) + "</code></p>\n";
        for (const std::string_view paragraph : v.text)
            out += wrapText("<p>" + html(paragraph, true) + "</p>", 0, kSourceColumns);
        out += "<table>\n";
        for (const VerbOption& o : v.options) {
            out += wrapText(
                "<tr><td><code>" + html(o.form, false) + "</code></td><td>" + html(o.text, true) + "</td></tr>", 0,
                kSourceColumns);
        }
        out += "</table>\n";
        if (!v.links.empty()) {
            std::string links = "<p class=\"vease\">Véase también: ";
            for (std::size_t i = 0; i < v.links.size(); ++i) {
                links += i == 0 ? "" : i + 1 == v.links.size() ? " y " : ", ";
                links += "<a href=\"" + std::string(v.links[i].page) + "\">" + html(v.links[i].text, false) + "</a>";
            }
            out += wrapText(links + ".</p>", 0, kSourceColumns);
        }
    }
    return out;
}

std::string exitCodes(PageKind kind) {
    std::string out = kind == PageKind::Manual ? "" : "<table>\n<tr><th>Código</th><th>Significado</th></tr>\n";
    for (const ExitCodeHelp& e : exitCodeHelp()) {
        const std::string code = std::to_string(e.code);
        out += kind == PageKind::Manual
                   ? ".TP\n.B " + code + "\n" + roffLines(e.text)
                   : wrapText("<tr><td>" + code + "</td><td>" + html(e.text, true) + "</td></tr>", 0, kSourceColumns);
    }
    return kind == PageKind::Manual ? out : out + "</table>\n";
}

std::string examples(PageKind kind) {
    std::string out = kind == PageKind::Manual ? ".nf\n" : "<pre>";
    for (const Verb& v : verbs()) {
        for (const std::string_view e : v.examples) {
            const std::string line = "kmrc " + std::string(v.name) + " " + std::string(e);
            out += (kind == PageKind::Manual ? roff(line, false) : html(line, false)) + "\n";
        }
    }
    if (kind == PageKind::Manual) return out + ".fi\n";
    out.pop_back();
    return out + "</pre>\n";
}

}  // namespace

std::string pageSection(PageKind kind, std::string_view name) {
    if (name == "synopsis" && kind == PageKind::Manual) return manualSynopsis();
    if (name == "verbs") return kind == PageKind::Manual ? manualVerbs() : helpPageVerbs();
    if (name == "exit-codes") return exitCodes(kind);
    if (name == "examples") return examples(kind);
    return {};
}

RewrittenPage rewritePage(std::string_view page, PageKind kind) {
    const bool manual = kind == PageKind::Manual;
    // Marks start a line.
    const std::string_view begin = manual ? "\n.\\\"begin:" : "\n<!-- begin: ";
    const std::string_view end = manual ? "\n.\\\"end:" : "\n<!-- end: ";
    const std::string_view close = manual ? "\n" : " -->\n";
    RewrittenPage r;
    std::size_t at = 0;
    for (std::size_t mark = page.find(begin); mark != std::string_view::npos; mark = page.find(begin, at)) {
        const std::size_t nameAt = mark + begin.size();
        const std::size_t nameEnd = page.find(close, nameAt);
        const std::string name(page.substr(nameAt, nameEnd - nameAt));
        const std::string endMark = std::string(end) + name + std::string(close);
        // The section's end is the line break before its end mark.
        const std::size_t endAt = nameEnd == std::string_view::npos ? nameEnd : page.find(endMark, nameEnd);
        const std::string section = pageSection(kind, name);
        if (endAt == std::string_view::npos || section.empty()) {
            r.error =
                endAt == std::string_view::npos ? "no end mark for the section " + name : "no such section: " + name;
            return r;
        }
        r.text += page.substr(at, nameEnd + close.size() - at);
        r.text += section;
        at = endAt + 1;
    }
    r.text += page.substr(at);
    return r;
}

}  // namespace kmr::cli
