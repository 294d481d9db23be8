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

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// The first object that cannot be written as it stands.
CompileResult refusalOf(const Project& project) {
    CompileResult r;
    for (std::size_t i = 0; i < project.objects.size(); ++i) {
        const ProjectObject& o = project.objects[i];
        for (const std::string& v : o.values) {
            if (hasLineBreak(v)) {
                r.status = CompileStatus::LineBreakInValue;
                r.objectIndex = i;
                return r;
            }
        }
        if (isMenu(o.kind) && valueAt(o, 2).find_first_of("=\\") != std::string_view::npos) {
            r.status = CompileStatus::BadMenuName;
            r.objectIndex = i;
            return r;
        }
    }
    return r;
}

void line(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {},
          std::string_view d = {}) {
    out.append(a).append(b).append(c).append(d).append(kEol);
}

}  // namespace

CompileResult compileAutorun(const Project& project) {
    CompileResult r = refusalOf(project);
    if (!r.ok()) return r;

    std::string& out = r.text;
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
    return r;
}

std::string compileRefusalMessage(const CompileResult& result, const Project& project) {
    const std::size_t i = result.objectIndex;
    switch (result.status) {
        case CompileStatus::Ok: break;
        case CompileStatus::LineBreakInValue:
            return "El objeto número " + std::to_string(i + 1) +
                   " contiene un salto de línea en uno de sus valores. Corríjalo antes de compilar.";
        case CompileStatus::BadMenuName: {
            const std::string name =
                i < project.objects.size() ? std::string(valueAt(project.objects[i], 2)) : std::string();
            return "El nombre interno del menú \"" + name +
                   "\" contiene \"=\" o \"\\\", que inutilizarían el fichero. Cámbielo antes de compilar.";
        }
    }
    return {};
}

AutorunWriteResult writeAutorunFile(const std::string& path, const Project& project) {
    AutorunWriteResult w;
    const CompileResult r = compileAutorun(project);
    w.compile = r.status;
    w.objectIndex = r.objectIndex;
    if (!r.ok()) return w;
    w.io = io::writeFileAtomic(path, text::encodeForFile(r.text));
    return w;
}

bool isAutorunFileName(std::string_view path) { return text::asciiLower(text::fileNameOf(path)) == kAutorunFileName; }

}  // namespace kmr
