#include "autorun/compiler.h"

#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kEol = "\r\n";

// A malformed object may carry fewer values than its kind needs; it is written with empty ones
// rather than refused, as the values are written unchecked anyway.
std::string_view valueAt(const ProjectObject& o, std::size_t i) {
    return i < o.values.size() ? std::string_view(o.values[i]) : std::string_view();
}

void line(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {},
          std::string_view d = {}) {
    out.append(a).append(b).append(c).append(d).append(kEol);
}

}  // namespace

std::string compileAutorun(const Project& project) {
    std::string out;
    out.reserve(16 + project.size() * 64);
    line(out, "[autorun]");
    const auto& objects = project.objects;
    std::size_t generalCount = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ProjectObject& o = objects[i];
        switch (o.kind) {
            case Kind::RunEntry:
                line(out, isResourceEntry(o) ? "shellexecute=" : "open=", valueAt(o, 0));
                ++generalCount;
                continue;
            case Kind::Icon:
                line(out, "icon=", valueAt(o, 0));
                ++generalCount;
                continue;
            case Kind::Label:
                line(out, "label=", valueAt(o, 0));
                ++generalCount;
                continue;
            case Kind::PlainMenu:
            case Kind::DefaultMenu: break;
        }
        // The first menu stands where the general objects end: the default verbs go before it.
        if (i == generalCount) {
            for (std::size_t k = i; k < objects.size(); ++k) {
                if (objects[k].kind == Kind::DefaultMenu) line(out, "shell=", valueAt(objects[k], 2));
            }
        }
        out.append(kEol);
        line(out, "shell\\", valueAt(o, 2), "=", valueAt(o, 0));
        line(out, "shell\\", valueAt(o, 2), "\\command=", valueAt(o, 1));
    }
    return out;
}

io::IoResult writeAutorunFile(const std::string& path, const Project& project) {
    return io::writeFileAtomic(path, text::encodeForFile(compileAutorun(project)));
}

bool isAutorunFileName(std::string_view path) { return text::asciiLower(text::fileNameOf(path)) == kAutorunFileName; }

}  // namespace kmr
