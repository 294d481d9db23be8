#include "disc/iso_image.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/path_text.h"
#include "text/text.h"

namespace kmr::disc {
namespace fs = std::filesystem;

namespace {

// The plain capital of a Latin-1 letter with an accent, or 0.
char plainLetter(char32_t c) {
    struct Range {
        char32_t from, to;
        char letter;
    };
    static constexpr Range kRanges[] = {
        {U'À', U'Å', 'A'}, {U'Ç', U'Ç', 'C'}, {U'È', U'Ë', 'E'}, {U'Ì', U'Ï', 'I'}, {U'Ñ', U'Ñ', 'N'},
        {U'Ò', U'Ö', 'O'}, {U'Ø', U'Ø', 'O'}, {U'Ù', U'Ü', 'U'}, {U'Ý', U'Ý', 'Y'}, {U'à', U'å', 'A'},
        {U'ç', U'ç', 'C'}, {U'è', U'ë', 'E'}, {U'ì', U'ï', 'I'}, {U'ñ', U'ñ', 'N'}, {U'ò', U'ö', 'O'},
        {U'ø', U'ø', 'O'}, {U'ù', U'ü', 'U'}, {U'ý', U'ý', 'Y'}, {U'ÿ', U'ÿ', 'Y'},
    };
    for (const Range& r : kRanges) {
        if (c >= r.from && c <= r.to) return r.letter;
    }
    return 0;
}

// The code points of a UTF-8 text; a broken sequence counts as one character.
std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
        std::size_t k = 1;
        for (; k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out.push_back(k == n ? c : 0xFFFD);
        i += k;
    }
    return out;
}

}  // namespace

VolumeName isoVolumeName(std::string_view label) {
    VolumeName v;
    for (const char32_t c : codePoints(text::trimView(label))) {
        if (v.id.size() == kMaxVolumeName) break;
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            v.id.push_back(static_cast<char>(c));
        else if (c >= 'a' && c <= 'z')
            v.id.push_back(static_cast<char>(c - 'a' + 'A'));
        else if (const char plain = plainLetter(c))
            v.id.push_back(plain);
        else
            v.id.push_back('_');
    }
    if (v.id.empty()) v.id = "CDROM";
    if (v.id != label) {
        v.warning = "La etiqueta \"" + std::string(label) +
                    "\" no cabe tal cual en el nombre de volumen de ISO 9660 (hasta 32 letras de la A a la Z, "
                    "cifras y _): el volumen se llamará \"" +
                    v.id + "\". Windows muestra la etiqueta del autorun.inf.";
    }
    return v;
}

std::string imageLabel(const Project& project, const std::string& folder, const std::optional<std::string>& asked) {
    if (asked) return *asked;
    for (const ProjectObject& o : project.objects) {
        if (o.kind == Kind::Label && !text::trimView(o.value(0)).empty()) return std::string(o.value(0));
    }
    std::error_code ec;
    fs::path path = fs::absolute(platform::pathOf(folder), ec).lexically_normal();
    if (path.filename().empty()) path = path.parent_path();
    const std::string name = platform::textOf(path.filename());
    return name.empty() ? "CDROM" : name;
}

std::vector<std::string> xorrisoArguments(const std::string& folder, const std::string& image,
                                          const std::string& volumeId) {
    return {"-abort_on", "FAILURE", "-outdev", "stdio:" + image, "-joliet", "on", "-rockridge",
            "on",        "-volid",  volumeId,  "-map",           folder,    "/"};
}

std::optional<int> xorrisoProgress(std::string_view line) {
    if (line.find("UPDATE") == std::string_view::npos) return std::nullopt;
    const auto writing = line.find("Writing:");
    if (writing == std::string_view::npos) return std::nullopt;
    const auto percent = line.find('%', writing);
    if (percent == std::string_view::npos) return std::nullopt;
    std::size_t start = percent;
    while (start > writing && (std::isdigit(static_cast<unsigned char>(line[start - 1])) || line[start - 1] == '.'))
        --start;
    const std::string_view number = line.substr(start, percent - start);
    int whole = 0;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != '.'; ++i) whole = whole * 10 + (number[i] - '0');
    if (i == 0 || whole > 100) return std::nullopt;
    return whole;
}

bool imageInsideFolder(const std::string& image, const std::string& folder) {
    std::error_code ec;
    const fs::path dir = fs::weakly_canonical(platform::pathOf(folder), ec);
    if (ec) return false;
    // The image is written where its links lead, even a link to a file not made yet: a link into the
    // folder is the folder.
    fs::path written = fs::absolute(platform::pathOf(image), ec);
    for (int depth = 0; depth < 40 && fs::is_symlink(written, ec); ++depth) {
        const fs::path link = fs::read_symlink(written, ec);
        if (ec) break;
        written = link.is_absolute() ? link : written.parent_path() / link;
    }
    const fs::path target = fs::weakly_canonical(written.parent_path(), ec);
    if (ec) return false;
    auto d = dir.begin();
    auto t = target.begin();
    for (; d != dir.end() && !d->empty(); ++d, ++t) {
        if (t == target.end() || *d != *t) return false;
    }
    return true;
}

PendingImage reservePendingImage(const std::string& image) {
    PendingImage p;
    p.staged = io::stageFile(image);
    p.path = p.staged.tempPath;
    p.result = p.staged.result;
    return p;
}

io::IoResult finishPendingImage(const PendingImage& pending, const std::string& image) {
    return io::commitStagedFile(pending.staged, image);
}

void discardPendingImage(const PendingImage& pending) { io::discardStagedFile(pending.staged); }

}  // namespace kmr::disc
