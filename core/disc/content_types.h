#pragma once
// The kinds of content a disc may carry (music, pictures, video): the [Content] key of each, the
// extensions of its files and the AutoPlay event it raises, and whether a disc folder holds files of a
// kind where Windows would look for them.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "project/disc_settings.h"

namespace kmr::disc {

enum class ContentKind { Music, Pictures, Video };
inline constexpr std::array<ContentKind, 3> kContentKinds = {ContentKind::Music, ContentKind::Pictures,
                                                             ContentKind::Video};

// "MusicFiles", "PictureFiles", "VideoFiles".
std::string_view contentKey(ContentKind kind);
// "música", "imágenes", "vídeo".
std::string_view contentWhat(ContentKind kind);
// The AutoPlay content event: "PlayMusicFilesOnArrival", "ShowPicturesOnArrival", "PlayVideoFilesOnArrival".
std::string_view contentEvent(ContentKind kind);
// The extensions of the kind's files, lower case, with their dot.
std::span<const std::string_view> contentExtensions(ContentKind kind);
// The [Content] value set for the kind, if any.
const std::optional<std::string>& declaredContent(const ContentTypes& content, ContentKind kind);

// Which kinds the folder `root` holds files of, in it or below it, leaving out the folders of
// `skipped` (paths on this machine) and what is below them. After too many entries to look at, every
// kind still unseen counts as held: too big to tell.
std::array<bool, 3> kindsHeld(const std::string& root, std::span<const std::string> skipped = {});

// The kinds of content Windows finds on the disc in `folder`. With `readsSections` (Windows Vista and
// later), a kind set in [Content] is held or not as it says, and the others are looked for only in the
// folders of [ExclusiveContentPaths] (all the disc when there are none) outside those of
// [IgnoreContentPaths]; without it, every kind is looked for in the whole disc. Without a folder only
// what [Content] says is known.
std::array<bool, 3> contentFound(const std::string& folder, const DiscSettings& settings, bool readsSections);

}  // namespace kmr::disc
