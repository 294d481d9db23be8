#include "project/disc_settings.h"

#include <iterator>

#include "project/profile.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void writeKey(std::string& out, std::string_view key, std::string_view value) { appendProfileKeyLine(out, key, value); }

void writeOptional(std::string& out, std::string_view key, const std::optional<std::string>& value) {
    if (value) writeKey(out, key, *value);
}

}  // namespace

// A line's length before it: seven bits a byte, low bits first, the high bit set on every byte but the
// last, so that the short lines of real files take one byte more than their text.
std::string_view KeptLines::Iterator::operator*() const {
    std::size_t length = 0;
    const char* p = m_at;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
    return {p, length};
}

KeptLines::Iterator& KeptLines::Iterator::operator++() {
    const std::string_view line = **this;
    m_at = line.data() + line.size();
    return *this;
}

KeptLines::KeptLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) push_back(line);
}

KeptLines::KeptLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) push_back(line);
}

std::size_t KeptLines::size() const { return static_cast<std::size_t>(std::distance(begin(), end())); }

std::string_view KeptLines::operator[](std::size_t i) const {
    auto it = begin();
    std::advance(it, static_cast<std::ptrdiff_t>(i));
    return *it;
}

void KeptLines::push_back(std::string_view line) {
    std::size_t length = line.size();
    for (; length >= 0x80; length >>= 7) m_text.push_back(static_cast<char>((length & 0x7F) | 0x80));
    m_text.push_back(static_cast<char>(length));
    m_text.append(line);
}

std::string_view familyName(KeyFamily family) {
    switch (family) {
        case KeyFamily::Run: return "open";
        case KeyFamily::Icon: return "icon";
        case KeyFamily::Label: return "label";
        case KeyFamily::DefaultMenu: break;
    }
    return "shell";
}

std::optional<KeyFamily> familyNamed(std::string_view name) {
    for (const KeyFamily f : {KeyFamily::Run, KeyFamily::Icon, KeyFamily::Label, KeyFamily::DefaultMenu}) {
        if (profileNamesEqual(name, familyName(f))) return f;
    }
    return std::nullopt;
}

std::string_view platformOfSection(std::string_view sectionName) {
    constexpr std::string_view kPrefix = "autorun.";
    if (sectionName.size() <= kPrefix.size() || !profileNamesEqual(sectionName.substr(0, kPrefix.size()), kPrefix))
        return {};
    const std::string_view platform = sectionName.substr(kPrefix.size());
    for (const std::string_view p : kAutorunPlatforms) {
        if (profileNamesEqual(platform, p)) return p;
    }
    return {};
}

bool DiscSettings::empty() const {
    return !action && !customEvent && !useAutoPlay && !content.music && !content.pictures && !content.video &&
           exclusiveContentPaths.empty() && ignoreContentPaths.empty() && driverPaths.empty() && platforms.empty() &&
           kept.empty() && importedLines.empty();
}

KeptSection& DiscSettings::keptSection(std::string_view name) {
    for (KeptSection& k : kept) {
        if (profileNamesEqual(k.name, name)) return k;
    }
    return kept.emplace_back(KeptSection{std::string(name), {}});
}

const KeptSection* DiscSettings::findKept(std::string_view name) const {
    for (const KeptSection& k : kept) {
        if (profileNamesEqual(k.name, name)) return &k;
    }
    return nullptr;
}

bool contentTypeOn(std::string_view value) {
    const std::string v = text::asciiLower(text::trimView(value));
    return v == "1" || v == "true" || v == "y" || v == "yes";
}

bool settingsFitCp1252(const DiscSettings& s) {
    const auto fits = [](const std::optional<std::string>& v) { return !v || text::fitsCp1252(*v); };
    const auto allFit = [](const auto& list) {
        for (const std::string_view v : list) {
            if (!text::fitsCp1252(v)) return false;
        }
        return true;
    };
    if (!fits(s.action) || !fits(s.customEvent) || !fits(s.useAutoPlay) || !fits(s.content.music) ||
        !fits(s.content.pictures) || !fits(s.content.video))
        return false;
    if (!allFit(s.exclusiveContentPaths) || !allFit(s.ignoreContentPaths) || !allFit(s.driverPaths)) return false;
    for (const PlatformSection& p : s.platforms) {
        if (!text::fitsCp1252(p.platform)) return false;
        for (const AutorunEntry& e : p.entries) {
            if (!text::fitsCp1252(e.key) || !text::fitsCp1252(e.value)) return false;
        }
    }
    for (const KeptSection& k : s.kept) {
        if (!text::fitsCp1252(k.name) || !allFit(k.lines)) return false;
    }
    for (const FamilyLines& f : s.importedLines) {
        if (!allFit(f.lines)) return false;
    }
    return true;
}

void writeSettingsSection(std::string& out, const DiscSettings& s, const std::function<bool()>& flush) {
    if (s.empty()) return;
    out.append(kCrLf).append("[").append(kSettingsSection).append("]").append(kCrLf);
    writeOptional(out, "Accion", s.action);
    writeOptional(out, "Evento", s.customEvent);
    writeOptional(out, "UsarReproduccion", s.useAutoPlay);
    writeOptional(out, "Musica", s.content.music);
    writeOptional(out, "Imagenes", s.content.pictures);
    writeOptional(out, "Videos", s.content.video);
    for (const std::string& p : s.exclusiveContentPaths) writeKey(out, "RutaExclusiva", p);
    for (const std::string& p : s.ignoreContentPaths) writeKey(out, "RutaIgnorada", p);
    for (const std::string& p : s.driverPaths) writeKey(out, "Controlador", p);
    for (const PlatformSection& p : s.platforms) {
        writeKey(out, "Plataforma", p.platform);
        for (const AutorunEntry& e : p.entries) writeKey(out, "Entrada", e.key + "=" + e.value);
    }
    for (const KeptSection& k : s.kept) {
        writeKey(out, "Seccion", k.name);
        for (const std::string_view line : k.lines) {
            writeKey(out, "Linea", line);
            if (flush && !flush()) return;
        }
    }
    for (const FamilyLines& f : s.importedLines) {
        writeKey(out, "Objeto", familyName(f.family));
        for (const std::string& line : f.lines) writeKey(out, "Compilado", line);
    }
}

void SettingsSectionReader::take(std::string_view key, std::string_view value) {
    DiscSettings& s = m_settings;
    const auto is = [key](std::string_view name) { return profileNamesEqual(key, name); };
    const auto once = [value](std::optional<std::string>& v) {
        if (!v) v = std::string(value);  // the first line of a key wins, as in the rest of the file
    };
    if (is("Accion")) {
        once(s.action);
    } else if (is("Evento")) {
        once(s.customEvent);
    } else if (is("UsarReproduccion")) {
        once(s.useAutoPlay);
    } else if (is("Musica")) {
        once(s.content.music);
    } else if (is("Imagenes")) {
        once(s.content.pictures);
    } else if (is("Videos")) {
        once(s.content.video);
    } else if (is("RutaExclusiva")) {
        s.exclusiveContentPaths.emplace_back(value);
    } else if (is("RutaIgnorada")) {
        s.ignoreContentPaths.emplace_back(value);
    } else if (is("Controlador")) {
        s.driverPaths.emplace_back(value);
    } else if (is("Plataforma")) {
        m_platform = s.platforms.size();
        s.platforms.push_back({std::string(value), {}});
    } else if (is("Entrada")) {
        // The key holds no '='; an entry before any platform has nowhere to go.
        const auto eq = value.find('=');
        if (m_platform && eq != std::string_view::npos)
            s.platforms[*m_platform].entries.push_back(
                {std::string(value.substr(0, eq)), std::string(value.substr(eq + 1))});
    } else if (is("Seccion")) {
        m_kept = s.kept.size();
        s.kept.push_back({std::string(value), {}});
    } else if (is("Linea")) {
        if (m_kept) s.kept[*m_kept].lines.emplace_back(value);
    } else if (is("Objeto")) {
        // A family this program does not know has nowhere to go, nor have its lines.
        m_family.reset();
        if (const auto family = familyNamed(value)) {
            m_family = s.importedLines.size();
            s.importedLines.push_back({*family, {}});
        }
    } else if (is("Compilado")) {
        if (m_family) s.importedLines[*m_family].lines.emplace_back(value);
    }
}

}  // namespace kmr
