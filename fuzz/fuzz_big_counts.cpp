// Big counts and long runs of lines against every reader: the input is a recipe, not a file. It
// names a reader, the count its file states, how big the file may grow and a piece of text repeated
// up to that size, so that a reader that fills a count the text cannot back, or that amplifies a run
// of lines, is found as an out-of-memory finding (run with -rss_limit_mb=512: a sound reader needs a
// small multiple of 2 MB).
//
// Recipe: byte 0 the reader (version 1, version 2, template, autorun, autorun with the entries that
// make no object kept, the disc settings of a project), bytes 1–4 the count (little endian), byte 5
// the size class (the file stops at 64 bytes << (byte % 16), 2 MB at most: most files stay small, so
// that the fuzzer runs fast and grows its inputs), bytes 6–7 the repetitions (little endian), the
// rest the piece. A '#' in the piece becomes the number of the repetition (1, 2, 3…), so that one piece
// makes numbered sections in order ("[Menu#]" gives [Menu1], [Menu2]…), as the readers meet them in
// real files.
#include <algorithm>
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

// Appends the piece with each '#' replaced by `number`.
void appendNumbered(std::string& file, std::string_view piece, std::size_t number) {
    const std::string n = std::to_string(number);
    for (const char c : piece) {
        if (c == '#')
            file += n;
        else
            file += c;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    const unsigned reader = data[0] % 6;
    const auto count = static_cast<std::int32_t>(little(data + 1, 4));
    const std::size_t limit = std::min(kMaxFile, std::size_t{64} << (data[5] % 16));
    const std::size_t repeats = little(data + 6, 2);
    const std::string_view piece(reinterpret_cast<const char*>(data + 8), size - 8);

    const std::string n = std::to_string(count);
    std::string file;
    switch (reader) {
        case 0: file = "[dantreva kmr file]\r\nversion=1.0\r\nprograma=p\r\nicono=i\r\nmenus=" + n + "\r\n"; break;
        case 1: file = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=" + n + "\r\nPredeterminado=1\r\n"; break;
        case 2:
            file = "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\n[ParametresGenerals]\r\nMenus=" + n +
                   "\r\n";
            break;
        case 5: file = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=" + n + "\r\n\r\n[Entradas del autorun]\r\n"; break;
        default: file = "[autorun]\r\n"; break;
    }
    for (std::size_t i = 1; i <= repeats && file.size() < limit; ++i) appendNumbered(file, piece, i);

    // Beyond the memory limit, a plain bound: a reader makes at most one object per two bytes of the
    // file, and empty menus for missing ones only up to as many as it found or 64 (countBacked); the
    // entries it keeps are no more than the file's lines.
    std::size_t objects = 0;
    std::size_t kept = 0;
    switch (reader) {
        case 0:
        case 1:
        case 5: {
            const kmr::ProjectReadResult r = kmr::readProjectFile(file);
            objects = r.project.size();
            for (const kmr::KeptSection& k : r.project.settings.kept) kept += 1 + k.lines.size();
            break;
        }
        case 2:
            if (const auto t = kmr::readTemplate(file, 0)) objects = t->menus.size();
            break;
        case 3: objects = kmr::importAutorun(kmr::text::decode(file).text).project.size(); break;
        default: {
            const kmr::ImportResult r = kmr::importAutorun(kmr::text::decode(file).text, kmr::ImportOptions{});
            objects = r.project.size();
            for (const kmr::KeptSection& k : r.project.settings.kept) kept += k.lines.size();
            break;
        }
    }
    if (objects > file.size() + 72 || kept > file.size()) std::abort();
    return 0;
}
