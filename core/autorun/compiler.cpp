#include "autorun/compiler.h"

#include <cstring>

#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kEol = "\r\n";

// A malformed object may carry fewer values than its kind needs; it is written with empty ones
// rather than refused, as the values are written unchecked anyway.
std::string_view valueAt(const ProjectObject& o, std::size_t i) { return o.value(i); }

void line(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {},
          std::string_view d = {}) {
    // One size check for the whole line rather than one per piece.
    const std::size_t at = out.size();
    out.resize(at + a.size() + b.size() + c.size() + d.size() + kEol.size());
    char* p = out.data() + at;
    for (const std::string_view piece : {a, b, c, d, kEol}) {
        if (!piece.empty()) std::memcpy(p, piece.data(), piece.size());
        p += piece.size();
    }
}

// A menu's internal name stands in both of its lines, and a default menu's once more in "shell=".
std::size_t repeatedSize(const ProjectObject& o) {
    if (!isMenu(o.kind)) return 0;
    return valueAt(o, 2).size() + (o.kind == Kind::DefaultMenu ? 8 + valueAt(o, 2).size() : 0);
}

}  // namespace

void compileAutorun(const Project& project, const std::function<bool(std::string_view)>& sink) {
    // Lines gather in a piece of about 64 KiB at a time; whole lines, so whole characters.
    constexpr std::size_t kPiece = 1u << 16;
    std::string out;
    out.reserve(kPiece + 256);
    const auto flush = [&](bool last) {
        if (out.size() < kPiece && !last) return true;
        const bool ok = sink(out);
        out.clear();
        return ok;
    };
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
        if (!flush(false)) return;
    }
    flush(true);
}

namespace {

// Room for the whole text: the values and at most 40 bytes of keys and line ends per object.
std::size_t compiledSize(const Project& project) {
    std::size_t size = 16;
    for (const auto& o : project.objects) {
        size += 40 + repeatedSize(o);
        for (std::size_t i = 0; i < o.valueCount(); ++i) size += o.value(i).size();
    }
    return size;
}

}  // namespace

std::string compileAutorun(const Project& project) {
    std::string out;
    out.reserve(compiledSize(project));
    compileAutorun(project, [&](std::string_view piece) {
        out.append(piece);
        return true;
    });
    return out;
}

void autorunFileBytes(const Project& project, const std::function<bool(std::string_view)>& write) {
    // Every character of the file that is not ASCII comes from a value.
    text::FileEncoder encoder(valuesFitCp1252(project));
    compileAutorun(project, [&](std::string_view piece) { return write(encoder.encode(piece)); });
}

std::string autorunFileBytes(const Project& project) {
    // Encoded a piece at a time into the one buffer: the UTF-8 text as a whole is never held.
    std::string out;
    out.reserve(compiledSize(project));
    autorunFileBytes(project, [&](std::string_view piece) {
        out.append(piece);
        return true;
    });
    return out;
}

io::IoResult writeAutorunFile(const std::string& path, const Project& project) {
    return io::writeFileAtomic(path, [&](const auto& write) { autorunFileBytes(project, write); });
}

bool isAutorunFileName(std::string_view path) { return text::asciiLower(text::fileNameOf(path)) == kAutorunFileName; }

}  // namespace kmr
