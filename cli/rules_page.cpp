#include "rules_page.h"

#include "disc/windows_rules.h"
#include "help.h"

namespace kmr::cli {
namespace {

using namespace kmr::disc;

constexpr std::size_t kSourceColumns = 110;

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// "todas", or the names of those the rule covers joined by " y ".
template <class T, std::size_t N, class Name>
std::string covered(std::uint8_t bits, const std::array<T, N>& all, Name name) {
    std::string out;
    std::size_t count = 0;
    for (const T item : all) {
        if ((bits & (1u << static_cast<unsigned>(item))) == 0) continue;
        out.append(out.empty() ? "" : "; ").append(name(item));
        ++count;
    }
    return count == N ? "todas" : out;
}

std::string link(Source source) {
    const std::string key(sourceInfo(source).key);
    return "<a href=\"#" + key + "\">" + key + "</a>";
}

}  // namespace

std::string previewRulesSection() {
    std::string out =
        "<table>\n<tr><th>Regla</th><th>Windows</th><th>Unidad</th><th>Qué dice la documentación</th>"
        "<th>Fuente</th></tr>\n";
    for (const Rule& r : windowsRules()) {
        if (r.effect == Effect::DoesNotApply) continue;
        std::string row = "<tr><td>" + escaped(topicName(r.topic)) + "</td><td>" +
                          escaped(covered(r.versions, kWindowsVersions, versionName)) + "</td><td>" +
                          escaped(covered(r.drives, kDriveTypes, driveName)) + "</td><td>" +
                          (r.effect == Effect::Undocumented ? "<b>No documentado</b>: " : "") + escaped(r.text) +
                          "</td><td>" + link(r.source) + (r.also == Source::None ? "" : ", " + link(r.also)) +
                          "</td></tr>";
        out += wrapText(row, 0, kSourceColumns);
    }
    return out + "</table>\n";
}

std::string previewSourcesSection() {
    std::string out = "<ul>\n";
    for (const SourceInfo& s : ruleSources()) {
        std::string item =
            "<li><a name=\"" + std::string(s.key) + "\"></a><b>" + std::string(s.key) + "</b>: " + escaped(s.title);
        item += s.address.empty() ? std::string(" (sin dirección estable)")
                                  : ", <a href=\"" + std::string(s.address) + "\">" + std::string(s.address) + "</a>";
        out += wrapText(item + "</li>", 0, kSourceColumns);
    }
    return out + "</ul>\n";
}

}  // namespace kmr::cli
