#include "json.h"

#include <cstdio>
#include <ostream>

#include "settings_options.h"
#include "text/text.h"

namespace kmr::cli {

std::string jsonString(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out.push_back('"');
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // Character by character, so that whatever the bytes the output is valid UTF-8.
        const char32_t cp = text::nextCodePoint(s, i);
        switch (cp) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            default:
                if (cp < 0x20 || text::isSurrogate(cp)) {
                    // A lone surrogate (kept from a UTF-16 file) has no UTF-8 form; JSON spells it.
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(cp));
                    out.append(buf);
                } else {
                    text::appendUtf8(out, cp);
                }
        }
    }
    out.push_back('"');
    return out;
}

namespace {

void writeObject(std::string& out, const ProjectObject& o) {
    out.append("{\"kind\": ").append(std::to_string(static_cast<int>(o.kind)));
    out.append(", \"caption\": ").append(jsonString(o.caption()));
    out.append(", \"values\": [");
    for (std::size_t i = 0; i < o.valueCount(); ++i) {
        if (i > 0) out.append(", ");
        out.append(jsonString(o.value(i)));
    }
    out.append("]}");
}

std::string head(int format, bool errors) {
    return "{\n  \"format\": " + std::to_string(format) + ",\n  \"errors\": " + (errors ? "true" : "false") +
           ",\n  \"objects\": ";
}

std::string tail(std::optional<std::size_t> unrecognised) {
    std::string out;
    if (unrecognised) out += ",\n  \"unrecognised\": " + std::to_string(*unrecognised);
    return out + "\n}\n";
}

}  // namespace

void writeJsonProject(std::ostream& out, int format, bool errors, const Project& project,
                      std::optional<std::size_t> unrecognised) {
    out << head(format, errors) << "[";
    std::string piece;
    bool first = true;
    for (const auto& o : project.objects) {
        piece.assign(first ? "\n    " : ",\n    ");
        first = false;
        writeObject(piece, o);
        out << piece;
    }
    out << (first ? "]" : "\n  ]");
    // The disc settings, only when the project has some: the output of other projects stays as it was.
    if (!project.settings.empty()) {
        out << ",\n  \"settings\": ";
        writeJsonSettings(out, project.settings);
    }
    out << tail(unrecognised);
}

}  // namespace kmr::cli
