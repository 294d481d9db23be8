#include "settings_options.h"

#include <algorithm>
#include <ostream>

#include "json.h"
#include "project/profile.h"

namespace kmr::cli {

std::string applySettingsOptions(const ParsedArgs& p, DiscSettings& s) {
    if (std::string repeated = repeatedOption(p, OptionGroup::DiscEntries); !repeated.empty()) return repeated;
    if (p.has("--use-autoplay")) s.useAutoPlay = "1";
    if (const auto v = p.value("--action")) s.action = *v;
    if (const auto v = p.value("--custom-event")) s.customEvent = *v;
    for (const std::string& value : p.values("--content")) {
        const auto eq = value.find('=');
        const std::string type = value.substr(0, eq);
        const std::string set = eq == std::string::npos ? "true" : value.substr(eq + 1);
        if (type == "music")
            s.content.music = set;
        else if (type == "pictures")
            s.content.pictures = set;
        else if (type == "video")
            s.content.video = set;
        else
            return "--content espera music, pictures o video: " + value;
    }
    for (const std::string& v : p.values("--exclusive-path")) s.exclusiveContentPaths.push_back(v);
    for (const std::string& v : p.values("--ignore-path")) s.ignoreContentPaths.push_back(v);
    for (const std::string& v : p.values("--driver-path")) s.driverPaths.push_back(v);
    for (const std::string& value : p.values("--platform-entry")) {
        const auto colon = value.find(':');
        const auto eq = value.find('=', colon == std::string::npos ? 0 : colon);
        const std::string_view platform =
            colon == std::string::npos ? std::string_view() : platformOfSection("autorun." + value.substr(0, colon));
        if (platform.empty() || eq == std::string::npos || eq == colon + 1)
            return "--platform-entry espera PLATAFORMA:CLAVE=VALOR (x86, Amd64, Alpha, Mips o PPC): " + value;
        auto it = std::find_if(s.platforms.begin(), s.platforms.end(),
                               [&](const PlatformSection& sec) { return sec.platform == platform; });
        if (it == s.platforms.end()) it = s.platforms.insert(s.platforms.end(), {std::string(platform), {}});
        it->entries.push_back({value.substr(colon + 1, eq - colon - 1), value.substr(eq + 1)});
    }
    return {};
}

namespace {

template <class List>
std::string jsonList(const List& list) {
    std::string out = "[";
    for (const std::string_view item : list) out.append(out.size() > 1 ? ", " : "").append(jsonString(item));
    return out + "]";
}

}  // namespace

void writeJsonSettings(std::ostream& out, const DiscSettings& s) {
    bool first = true;
    // Each member on a line of its own; the kept lines, which may be most of a file, are written as
    // they come rather than made into one text first.
    const auto member = [&](std::string_view text) {
        out << (first ? "{\n    " : ",\n    ") << text;
        first = false;
    };
    const auto optional = [&](std::string_view name, const std::optional<std::string>& v) {
        if (v) member(jsonString(name) + ": " + jsonString(*v));
    };
    optional("action", s.action);
    optional("custom_event", s.customEvent);
    optional("use_autoplay", s.useAutoPlay);
    if (s.content.music || s.content.pictures || s.content.video) {
        std::string content;
        const auto type = [&](std::string_view key, const std::optional<std::string>& v) {
            if (v) content += (content.empty() ? "" : ", ") + jsonString(key) + ": " + jsonString(*v);
        };
        type("MusicFiles", s.content.music);
        type("PictureFiles", s.content.pictures);
        type("VideoFiles", s.content.video);
        member("\"content\": {" + content + "}");
    }
    if (!s.exclusiveContentPaths.empty()) member("\"exclusive_content_paths\": " + jsonList(s.exclusiveContentPaths));
    if (!s.ignoreContentPaths.empty()) member("\"ignore_content_paths\": " + jsonList(s.ignoreContentPaths));
    if (!s.driverPaths.empty()) member("\"driver_paths\": " + jsonList(s.driverPaths));
    if (!s.platforms.empty()) {
        std::string platforms = "\"platforms\": [";
        for (std::size_t i = 0; i < s.platforms.size(); ++i) {
            const PlatformSection& p = s.platforms[i];
            platforms +=
                std::string(i > 0 ? ", " : "") + "{\"platform\": " + jsonString(p.platform) + ", \"entries\": [";
            for (std::size_t j = 0; j < p.entries.size(); ++j) {
                platforms += std::string(j > 0 ? ", " : "") + "[" + jsonString(p.entries[j].key) + ", " +
                             jsonString(p.entries[j].value) + "]";
            }
            platforms += "]}";
        }
        member(platforms + "]");
    }
    if (!s.kept.empty()) {
        member("\"kept\": [");
        for (std::size_t i = 0; i < s.kept.size(); ++i) {
            out << (i > 0 ? ", " : "") << "{\"section\": " << jsonString(s.kept[i].name) << ", \"lines\": [";
            bool firstLine = true;
            for (const std::string_view line : s.kept[i].lines) {
                out << (firstLine ? "" : ", ") << jsonString(line);
                firstLine = false;
            }
            out << "]}";
        }
        out << "]";
    }
    out << (first ? "{}" : "\n  }");
}

}  // namespace kmr::cli
