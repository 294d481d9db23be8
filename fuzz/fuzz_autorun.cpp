// Autorun importer over arbitrary bytes: no crash, the text decoded in pieces is the text decoded whole,
// the order rules hold, and what it imports compiles and imports back to the same objects.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = kmr::text::decode(bytes).text;
    // Decoded as the file reader does, in pieces (their sizes taken from the first byte), the bytes give
    // the same text.
    std::string pieces;
    kmr::text::PieceDecoder decoder(pieces);
    const std::size_t step = size == 0 ? 1 : data[0] % 13 + 1;
    for (std::size_t at = 0; at < size; at += step) decoder.add(bytes.substr(at, step));
    decoder.finish();
    if (pieces != text) std::abort();
    // Read in the form its bytes have, as the editor and kmrc read a file: what Windows reads unless the
    // bytes are in another form.
    const kmr::AutorunSource source = kmr::decodeAutorun(bytes);
    if (source.form == kmr::text::UnmarkedForm::Cp1252 && source.text != text) std::abort();
    (void)kmr::importAutorun(source.text);
    (void)kmr::readingNotice(source);
    const kmr::ImportResult first = kmr::importAutorun(text);
    const auto& objects = first.project.objects;

    if (first.unrecognised > kmr::text::splitLines(text, false).size()) std::abort();
    const auto firstMenu = std::find_if(objects.begin(), objects.end(), [](auto& o) { return kmr::isMenu(o.kind); });
    if (!std::all_of(firstMenu, objects.end(), [](auto& o) { return kmr::isMenu(o.kind); })) std::abort();
    for (const kmr::Kind k : {kmr::Kind::RunEntry, kmr::Kind::Icon, kmr::Kind::Label}) {
        if (first.project.count(k) > 1) std::abort();
    }
    (void)kmr::checkConflicts(first.project);

    const std::string written = kmr::text::encodeForFile(kmr::compileAutorun(first.project));
    const kmr::ImportResult second = kmr::importAutorun(kmr::text::decode(written).text);
    // A project whose menus carry distinct names (A–Z folded) and at most one default comes back whole.
    // With more defaults, or names repeated, the one default verb of the compiled file cannot say
    // which of them were the defaults.
    std::set<std::string> names;
    for (const auto& o : objects) {
        if (kmr::isMenu(o.kind)) names.insert(kmr::text::asciiLower(o.menuName()));
    }
    const bool simple = names.size() == first.project.menuCount() && first.project.count(kmr::Kind::DefaultMenu) <= 1;
    if (simple && (!(second.project == first.project) || second.unrecognised != 0)) std::abort();
    return 0;
}
