// Big counts and long runs of lines against every reader: the input is a recipe, not a file. It
// names a reader, the count its file states, and a piece of text repeated up to 2 MB, so that a
// reader that fills a count the text cannot back is found as an out-of-memory finding (run with
// -rss_limit_mb=512: a sound reader needs a small multiple of 2 MB).
//
// Recipe: byte 0 the reader (version 1, version 2, template, autorun), bytes 1–4 the count, bytes
// 5–7 the repetitions (little endian; never beyond 2 MB of text), the rest the piece.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "autorun/importer.h"
#include "project/project_file.h"
#include "text/text.h"
#include "wizards/templates.h"

namespace {

constexpr std::size_t kMaxFile = 2u << 20;

std::uint32_t little(const std::uint8_t* p, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    const unsigned reader = data[0] % 4;
    const auto count = static_cast<std::int32_t>(little(data + 1, 4));
    std::size_t repeats = little(data + 5, 3);
    const std::string_view piece(reinterpret_cast<const char*>(data + 8), size - 8);
    if (piece.size() * repeats > kMaxFile) repeats = kMaxFile / piece.size();

    const std::string n = std::to_string(count);
    std::string file;
    switch (reader) {
        case 0: file = "[dantreva kmr file]\r\nversion=1.0\r\nprograma=p\r\nicono=i\r\nmenus=" + n + "\r\n"; break;
        case 1: file = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=" + n + "\r\nPredeterminado=1\r\n"; break;
        case 2:
            file = "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\n[ParametresGenerals]\r\nMenus=" + n +
                   "\r\n";
            break;
        default: file = "[autorun]\r\n"; break;
    }
    file.reserve(file.size() + piece.size() * repeats);
    for (std::size_t i = 0; i < repeats; ++i) file.append(piece);

    // Beyond the memory limit, a plain bound: a reader makes at most one object per two bytes of the
    // file, and empty menus for missing ones only up to as many as it found or 64 (countBacked).
    std::size_t objects = 0;
    switch (reader) {
        case 0:
        case 1: objects = kmr::readProjectFile(file).project.size(); break;
        case 2:
            if (const auto t = kmr::readTemplate(file, 0)) objects = t->menus.size();
            break;
        default: objects = kmr::importAutorun(kmr::text::decode(file).text).project.size(); break;
    }
    if (objects > file.size() + 72) std::abort();
    return 0;
}
