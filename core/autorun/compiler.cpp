#include "autorun/compiler.h"

#include "autorun/kept_entries.h"
#include "project/project_values.h"

#include "text/pieces.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kEol = "\r\n";

void line(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {},
          std::string_view d = {}) {
    // One size check for the whole line rather than one per piece.
    const std::size_t at = out.size();
    out.resize(at + a.size() + b.size() + c.size() + d.size() + kEol.size());
    char* p = out.data() + at;
    for (const std::string_view piece : {a, b, c, d, kEol}) p = text::put(p, piece);
}

// The fixed pieces of a menu's lines: each line of a menu starts by ending the line before.
constexpr char kMenuKey[] = "\r\nshell\\";
constexpr char kTextEquals[] = "=";
constexpr char kCommandEquals[] = "\\command=";
constexpr char kDefaultKey[] = "shell=";
constexpr char kLineEnd[] = "\r\n";  // kEol, as a literal whose size put() knows

// A menu: an empty line, then "shell\NAME=text" and "shell\NAME\command=command", in one size check.
void menuLines(std::string& out, std::string_view name, std::string_view menuText, std::string_view command) {
    using text::lengthOf;
    const std::size_t at = out.size();
    // The name stands in both lines; the fixed pieces add up to one constant.
    out.resize(at + 2 * name.size() + menuText.size() + command.size() + 2 * lengthOf(kMenuKey) +
               lengthOf(kTextEquals) + lengthOf(kCommandEquals) + lengthOf(kLineEnd));
    char* p = out.data() + at;
    p = text::put(p, kMenuKey);
    p = text::put(p, name);
    p = text::put(p, kTextEquals);
    p = text::put(p, menuText);
    p = text::put(p, kMenuKey);
    p = text::put(p, name);
    p = text::put(p, kCommandEquals);
    p = text::put(p, command);
    text::put(p, kLineEnd);
}

// A menu's internal name stands in both of its lines, and a default menu's once more in "shell=".
std::size_t repeatedSize(const ProjectObject& o) {
    if (!isMenu(o.kind)) return 0;
    const std::size_t name = o.value(2).size();
    return name + (o.kind == Kind::DefaultMenu ? text::lengthOf(kDefaultKey) + name + kEol.size() : 0);
}

}  // namespace

namespace {

// Writes the lines into `out`; after each menu `flush` may hand them on, and stops the writing by
// returning false.
template <class Flush>
void compileInto(const Project& project, std::string& out, Flush&& flush) {
    line(out, "[autorun]");
    const auto& objects = project.objects;
    std::size_t generalCount = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ProjectObject& o = objects[i];
        switch (o.kind) {
            case Kind::RunEntry:
                line(out, isResourceEntry(o) ? "shellexecute=" : "open=", o.value(0));
                ++generalCount;
                continue;
            case Kind::Icon:
                line(out, "icon=", o.value(0));
                ++generalCount;
                continue;
            case Kind::Label:
                line(out, "label=", o.value(0));
                ++generalCount;
                continue;
            case Kind::PlainMenu:
            case Kind::DefaultMenu: break;
        }
        // The first menu stands where the general objects end: the default verbs go before it.
        if (i == generalCount) {
            for (std::size_t k = i; k < objects.size(); ++k) {
                if (objects[k].kind == Kind::DefaultMenu) line(out, kDefaultKey, objects[k].value(2));
            }
        }
        menuLines(out, o.value(2), o.value(0), o.value(1));
        if (!flush()) return;
    }
    // The disc settings after the objects, in their fixed order; nothing without them.
    compileSettings(out, project, flush);
}

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

void compileAutorun(const Project& project, const std::function<bool(std::string_view)>& sink) {
    text::writeInPieces(sink, [&](std::string& out, auto&& flush) { compileInto(project, out, flush); });
}

std::string compileAutorun(const Project& project) {
    std::string out;
    out.reserve(compiledSize(project));
    compileInto(project, out, [] { return true; });
    return out;
}

void autorunFileBytes(const Project& project, const std::function<bool(std::string_view)>& write) {
    // Every character of the file that is not ASCII comes from a value.
    text::FileEncoder encoder(valuesFitCp1252(project));
    compileAutorun(project, [&](std::string_view piece) { return write(encoder.encode(piece)); });
}

std::string autorunFileBytes(const Project& project) {
    // Most projects fit Windows-1252: the text becomes its bytes where it stands, and is made again
    // for UTF-16 only when some character does not fit.
    std::string bytes = compileAutorun(project);
    if (text::toCp1252InPlace(bytes)) return bytes;
    return text::toUtf16LeWithBom(compileAutorun(project));
}

io::IoResult writeAutorunFile(const std::string& path, const Project& project, io::WriteOptions options) {
    if (auto refusal = lineBreakRefusal(project)) {
        io::IoResult r;
        r.status = io::IoStatus::Failed;
        r.message = path + ": " + *refusal;
        r.reason = std::move(*refusal);
        return r;
    }
    const io::ByteProducer produce = [&](const auto& write) { autorunFileBytes(project, write); };
    if (io::IoResult r = io::checkOutputSize(path, io::producedSize(produce)); !r.ok()) return r;
    return io::writeFileAtomic(path, produce, options);
}

bool isAutorunFileName(std::string_view path) { return text::asciiLower(text::fileNameOf(path)) == kAutorunFileName; }

}  // namespace kmr
