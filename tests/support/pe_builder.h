#pragma once
// Small PE files built byte by byte: a header, one ".rsrc" section, and icon resources.

#include <cstdint>
#include <string>
#include <vector>

namespace kmr::test {

struct PeGroup {
    std::string name;  // a named group when not empty, else numbered by `id`
    std::uint16_t id = 0;
    std::vector<std::uint16_t> images;  // RT_ICON ids in the group's order
};

struct PeImage {
    std::uint16_t id = 0;
    std::string bytes;
};

// A PE32 (or PE32+) file whose resources hold the groups (named ones first, as stored by a linker) and
// the images. With no groups and no images the file has no resource directory at all.
std::string buildPe(const std::vector<PeGroup>& groups, const std::vector<PeImage>& images, bool pe32plus = false);

// An .ico file of images with the given contents.
std::string buildIco(const std::vector<std::string>& images);

// Offsets inside a file made by buildPe, for tests that break it on purpose.
inline constexpr std::size_t kPeHeaderOffset = 0x40;
inline constexpr std::size_t kResourceOffset = 0x200;

void putLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t size);

}  // namespace kmr::test
