#include "disc/content_types.h"

#include <algorithm>
#include <filesystem>

#include "disc/disc_files.h"
#include "platform/path_text.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMusic[] = {".mp3", ".wma", ".wav",  ".m4a", ".aac",  ".flac",
                                       ".ogg", ".mid", ".midi", ".aif", ".aiff", ".opus"};
constexpr std::string_view kPictures[] = {".jpg", ".jpeg", ".png",  ".bmp",  ".gif",
                                          ".tif", ".tiff", ".heic", ".webp", ".raw"};
constexpr std::string_view kVideo[] = {".avi", ".mpg", ".mpeg", ".wmv", ".mp4",  ".mov",
                                       ".mkv", ".m4v", ".vob",  ".asf", ".webm", ".3gp"};

// No more entries than this are looked at when a disc folder is searched for content.
constexpr std::size_t kMaxEntries = 200000;

std::size_t indexOf(ContentKind kind) { return static_cast<std::size_t>(kind); }

// True when `path` is one of the `skipped` folders or lies below one.
bool under(const fs::path& path, std::span<const std::string> skipped) {
    return std::any_of(skipped.begin(), skipped.end(), [&](const std::string& s) {
        const fs::path relative = path.lexically_normal().lexically_relative(platform::pathOf(s).lexically_normal());
        return !relative.empty() && *relative.begin() != "..";
    });
}

}  // namespace

std::string_view contentKey(ContentKind kind) {
    constexpr std::string_view keys[] = {"MusicFiles", "PictureFiles", "VideoFiles"};
    return keys[indexOf(kind)];
}

std::string_view contentWhat(ContentKind kind) {
    constexpr std::string_view what[] = {"música", "imágenes", "vídeo"};
    return what[indexOf(kind)];
}

std::string_view contentEvent(ContentKind kind) {
    constexpr std::string_view events[] = {"PlayMusicFilesOnArrival", "ShowPicturesOnArrival",
                                           "PlayVideoFilesOnArrival"};
    return events[indexOf(kind)];
}

std::span<const std::string_view> contentExtensions(ContentKind kind) {
    switch (kind) {
        case ContentKind::Music: return kMusic;
        case ContentKind::Pictures: return kPictures;
        case ContentKind::Video: break;
    }
    return kVideo;
}

const std::optional<std::string>& declaredContent(const ContentTypes& content, ContentKind kind) {
    switch (kind) {
        case ContentKind::Music: return content.music;
        case ContentKind::Pictures: return content.pictures;
        case ContentKind::Video: break;
    }
    return content.video;
}

std::array<bool, 3> kindsHeld(const std::string& root, std::span<const std::string> skipped) {
    std::array<bool, 3> held{};
    std::error_code ec;
    fs::recursive_directory_iterator it(platform::pathOf(root), fs::directory_options::skip_permission_denied, ec);
    std::size_t seen = 0;
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (++seen > kMaxEntries) return {true, true, true};
        if (!skipped.empty() && it->is_directory(ec) && under(it->path(), skipped)) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string ext = text::asciiLower(platform::textOf(it->path().extension()));
        for (const ContentKind kind : kContentKinds) {
            const auto extensions = contentExtensions(kind);
            if (std::find(extensions.begin(), extensions.end(), ext) != extensions.end()) held[indexOf(kind)] = true;
        }
        if (held == std::array<bool, 3>{true, true, true}) break;
    }
    return held;
}

std::array<bool, 3> contentFound(const std::string& folder, const DiscSettings& settings, bool readsSections) {
    std::array<bool, 3> found{};
    bool lookFor = false;
    for (const ContentKind kind : kContentKinds) {
        const auto& declared = declaredContent(settings.content, kind);
        if (readsSections && declared) {
            found[indexOf(kind)] = contentTypeOn(*declared);
        } else {
            lookFor = true;
        }
    }
    const DiscFolder disc(folder);
    if (!lookFor || folder.empty() || !disc.exists()) return found;

    std::vector<std::string> roots{folder};
    std::vector<std::string> skipped;
    if (readsSections) {
        for (const std::string& p : settings.ignoreContentPaths) {
            if (const auto f = disc.findFolder(p); f && !text::trimView(p).empty()) skipped.push_back(*f);
        }
        if (std::any_of(settings.exclusiveContentPaths.begin(), settings.exclusiveContentPaths.end(),
                        [](const std::string& p) { return !text::trimView(p).empty(); })) {
            roots.clear();
            for (const std::string& p : settings.exclusiveContentPaths) {
                if (const auto f = disc.findFolder(p); f && !text::trimView(p).empty()) roots.push_back(*f);
            }
        }
    }
    std::array<bool, 3> held{};
    for (const std::string& root : roots) {
        if (under(platform::pathOf(root), skipped)) continue;
        const std::array<bool, 3> in = kindsHeld(root, skipped);
        for (std::size_t i = 0; i < held.size(); ++i) held[i] = held[i] || in[i];
    }
    for (const ContentKind kind : kContentKinds) {
        const auto& declared = declaredContent(settings.content, kind);
        if (!(readsSections && declared)) found[indexOf(kind)] = held[indexOf(kind)];
    }
    return found;
}

}  // namespace kmr::disc
