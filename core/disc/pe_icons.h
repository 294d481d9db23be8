#pragma once
// Icons of a disc: the icon groups of a program or library (its RT_GROUP_ICON and RT_ICON resources),
// the images of an .ico file, and the icon that an autorun "icon=" entry names, as an .ico file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::disc {

// One icon group of a program, in the order Windows numbers them.
struct IconGroup {
    bool named = false;  // named groups come before numbered ones
    std::uint16_t id = 0;
    std::uint32_t dataOffset = 0;  // the group's GRPICONDIR in the file
    std::uint32_t dataSize = 0;
};

enum class PeStatus {
    Ok,        // a PE program or library; `groups` holds its icon groups (possibly none)
    NotPe,     // not a program at all
    OldStyle,  // an "MZ" program without a PE header (DOS or 16-bit Windows): icons not read
    Broken,    // a PE header whose sections or resources point outside the file
};

// One RT_ICON image: its resource id and where its bytes are in the file.
struct IconImage {
    std::uint16_t id = 0;
    std::uint32_t dataOffset = 0;
    std::uint32_t dataSize = 0;
};

struct PeIcons {
    PeStatus status = PeStatus::NotPe;
    std::vector<IconGroup> groups;
    std::vector<IconImage> images;  // numbered images only, first language of each, by id
};

// Reads the icon resources of a program or library. Every offset is checked against the bytes, so
// any input, however broken, gives a status and never reads outside them.
PeIcons readPeIcons(std::string_view bytes);

// The group an icon number picks as Windows does: 0, 1, 2… by position, -N the group whose
// resource id is N. -1 when there is none.
long groupForIconNumber(const PeIcons& icons, int number);

// The group as the bytes of an .ico file (its images that the file holds, in the group's order);
// empty when the group holds no readable image.
std::string groupAsIco(std::string_view bytes, const PeIcons& icons, std::size_t group);

// The number of images of an .ico file, or 0 when the bytes are not a whole .ico file (a header of
// type 1, at least one entry, every image inside the file).
std::size_t icoImageCount(std::string_view bytes);

// What a file named by "icon=" is, and the icon that the entry's number picks in it.
enum class IconFileType { Ico, Program, Other };

enum class IconStatus {
    Ok,          // `ico` holds the icon
    NotAnIcon,   // neither an .ico file nor a program or library
    PastEnd,     // the number picks no icon of the file
    Unreadable,  // a program whose icons cannot be read (old style or broken)
};

struct IconPick {
    IconStatus status = IconStatus::NotAnIcon;
    IconFileType type = IconFileType::Other;
    std::size_t iconCount = 0;  // icons the file holds: 1 for an .ico file, the groups of a program
    std::string ico;
};

// An .ico file holds one icon (in one or more sizes), so only number 0 picks it; a program's icons
// are picked by groupForIconNumber.
IconPick pickIcon(std::string_view fileBytes, int number);

}  // namespace kmr::disc
