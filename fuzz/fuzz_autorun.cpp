// Autorun importer over arbitrary bytes: no crash, the order rules hold, and what it imports compiles
// and imports back to the same objects.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = kmr::text::decode(bytes).text;
    const kmr::ImportResult first = kmr::importAutorun(text);
    const auto& objects = first.project.objects;

    if (first.unrecognised > kmr::text::splitLines(text, false).size()) std::abort();
    const auto firstMenu = std::find_if(objects.begin(), objects.end(), [](auto& o) { return kmr::isMenu(o.kind); });
    if (!std::all_of(firstMenu, objects.end(), [](auto& o) { return kmr::isMenu(o.kind); })) std::abort();
    for (const kmr::Kind k : {kmr::Kind::RunEntry, kmr::Kind::Icon, kmr::Kind::Label}) {
        if (first.project.count(k) > 1) std::abort();
    }
    (void)kmr::checkConflicts(first.project);

    const kmr::CompileResult compiled = kmr::compileAutorun(first.project);
    if (!compiled.ok()) {
        // Only a lone carriage return inside a value can come through the line reader.
        if (compiled.status != kmr::CompileStatus::LineBreakInValue) std::abort();
        const auto& values = objects.at(compiled.objectIndex).values;
        if (std::none_of(values.begin(), values.end(), [](auto& v) { return v.find('\r') != v.npos; })) std::abort();
        return 0;
    }
    const std::string written = kmr::text::encodeForFile(compiled.text);
    const kmr::ImportResult second = kmr::importAutorun(kmr::text::decode(written).text);
    if (!(second.project == first.project)) std::abort();
    // Every default menu writes its own "shell=" line; the first one is the verb, the rest are extra.
    const std::size_t defaults = first.project.count(kmr::Kind::DefaultMenu);
    if (second.unrecognised != (defaults > 1 ? defaults - 1 : 0)) std::abort();
    return 0;
}
