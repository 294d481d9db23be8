#pragma once
// Making the ISO image of a disc folder with xorriso: the volume name, the program's arguments, its
// progress lines, and the temporary file beside the image that only a finished build replaces it with.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_write.h"
#include "project/project.h"

namespace kmr::disc {

inline constexpr std::string_view kXorriso = "xorriso";
// The longest volume name of ISO 9660.
inline constexpr std::size_t kMaxVolumeName = 32;

// A volume name as ISO 9660 allows it: the letters A–Z, digits and '_', at most 32 of them. Lower
// case letters become capitals, accented Latin letters their plain letter, every other character
// '_'; blanks at either end are dropped first. `warning` (Spanish) is empty when the label went in
// unchanged.
struct VolumeName {
    std::string id;
    std::string warning;
};
VolumeName isoVolumeName(std::string_view label);

// The text an image is named after: the label asked for, else the project's label, else the disc
// folder's own name, else "CDROM".
std::string imageLabel(const Project& project, const std::string& folder, const std::optional<std::string>& asked);

// The arguments (after the program's name) that make `image` from the folder's contents, with
// Joliet and Rock Ridge names and the volume name. `image` is written from scratch: it must be a new
// or empty file.
std::vector<std::string> xorrisoArguments(const std::string& folder, const std::string& image,
                                          const std::string& volumeId);

// The percentage a progress line of xorriso reports ("xorriso : UPDATE : Writing: ... 11.8% ..."),
// rounded down; nullopt for any other line.
std::optional<int> xorrisoProgress(std::string_view line);

// True when the image would be written inside the folder it is made from (it would then take in
// itself while it grows), links followed as the write follows them.
bool imageInsideFolder(const std::string& image, const std::string& folder);

// An empty hidden file for xorriso to write, which replaces the image only when the build finished,
// as any other output is replaced (io::stageFile): a link is followed, a read-only file, a device or
// a FIFO is refused. `path` is empty on failure, and `result` then names the image and the reason.
struct PendingImage {
    std::string path;
    io::IoResult result;
    io::StagedFile staged;
};
PendingImage reservePendingImage(const std::string& image);
// Renames the finished file over the image; it keeps the permissions of the file it replaces.
io::IoResult finishPendingImage(const PendingImage& pending, const std::string& image);
// Removes the temporary file of a cancelled or failed build.
void discardPendingImage(const PendingImage& pending);

}  // namespace kmr::disc
