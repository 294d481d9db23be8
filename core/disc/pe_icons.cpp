#include "disc/pe_icons.h"

#include <algorithm>
#include <optional>

namespace kmr::disc {
namespace {

constexpr std::uint32_t kIconType = 3;        // RT_ICON
constexpr std::uint32_t kGroupIconType = 14;  // RT_GROUP_ICON
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kMaxSections = 96;  // the loader's own limit
constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kIcoEntrySize = 16;

// Little-endian reads that say when they would leave the bytes.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    bool has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= m_bytes.size() && size <= m_bytes.size() - offset;
    }
    std::optional<std::uint32_t> u16(std::uint64_t offset) const { return read(offset, 2); }
    std::optional<std::uint32_t> u32(std::uint64_t offset) const { return read(offset, 4); }
    std::string_view slice(std::uint64_t offset, std::uint64_t size) const {
        return has(offset, size) ? m_bytes.substr(offset, size) : std::string_view();
    }

private:
    std::optional<std::uint32_t> read(std::uint64_t offset, std::size_t size) const {
        if (!has(offset, size)) return std::nullopt;
        std::uint32_t v = 0;
        for (std::size_t i = size; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(m_bytes[offset + i]);
        return v;
    }

    std::string_view m_bytes;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

// Where in the file the bytes at an address of the loaded image are, when all `size` of them are
// stored in one section.
std::optional<std::uint64_t> fileOffsetOf(const std::vector<Section>& sections, std::uint32_t rva, std::uint32_t size) {
    for (const Section& s : sections) {
        const std::uint64_t extent = std::max(s.virtualSize, s.rawSize);
        if (rva < s.virtualAddress || rva - s.virtualAddress >= extent) continue;
        const std::uint64_t within = rva - s.virtualAddress;
        if (within + size > s.rawSize) return std::nullopt;  // not stored in the file
        return std::uint64_t{s.rawOffset} + within;
    }
    return std::nullopt;
}

// One entry of a resource directory: the name or id, and the subdirectory or data entry it leads to
// (both offsets from the start of the resource area).
struct DirEntry {
    bool named = false;
    std::uint32_t id = 0;
    bool subdirectory = false;
    std::uint32_t target = 0;
};

std::optional<std::vector<DirEntry>> readDirectory(const Reader& r, std::uint64_t base, std::uint64_t offset) {
    const auto named = r.u16(base + offset + 12);
    const auto ids = r.u16(base + offset + 14);
    if (!named || !ids) return std::nullopt;
    const std::uint64_t count = *named + *ids;
    const std::uint64_t first = base + offset + 16;
    if (!r.has(first, count * 8)) return std::nullopt;
    std::vector<DirEntry> entries;
    entries.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t name = *r.u32(first + i * 8);
        const std::uint32_t data = *r.u32(first + i * 8 + 4);
        entries.push_back({(name & kHighBit) != 0, name & ~kHighBit, (data & kHighBit) != 0, data & ~kHighBit});
    }
    return entries;
}

// The data of a resource's first language: its file offset and size. Only the first entry of the
// language directory is read, so a directory that many names share costs nothing more.
std::optional<std::pair<std::uint32_t, std::uint32_t>> firstLanguageData(const Reader& r,
                                                                         const std::vector<Section>& sections,
                                                                         std::uint64_t base, const DirEntry& e) {
    if (!e.subdirectory) return std::nullopt;
    const auto named = r.u16(base + e.target + 12);
    const auto ids = r.u16(base + e.target + 14);
    const auto language = r.u32(base + e.target + 20);
    if (!named || !ids || *named + *ids == 0 || !language || (*language & kHighBit) != 0) return std::nullopt;
    const std::uint64_t dataEntry = base + *language;
    const auto rva = r.u32(dataEntry);
    const auto size = r.u32(dataEntry + 4);
    if (!rva || !size) return std::nullopt;
    const auto offset = fileOffsetOf(sections, *rva, *size);
    if (!offset || !r.has(*offset, *size) || *offset > UINT32_MAX) return std::nullopt;
    return std::make_pair(static_cast<std::uint32_t>(*offset), *size);
}

std::optional<std::vector<Section>> readSections(const Reader& r, std::uint64_t table, std::uint32_t count) {
    if (count > kMaxSections || !r.has(table, std::uint64_t{count} * 40)) return std::nullopt;
    std::vector<Section> sections;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t s = table + std::uint64_t{i} * 40;
        sections.push_back({*r.u32(s + 12), *r.u32(s + 8), *r.u32(s + 16), *r.u32(s + 20)});
    }
    return sections;
}

void appendLe(std::string& out, std::uint32_t v, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

PeIcons readPeIcons(std::string_view bytes) {
    const Reader r(bytes);
    PeIcons result;
    if (bytes.size() < 2 || bytes.substr(0, 2) != "MZ") return result;
    result.status = PeStatus::OldStyle;
    const auto peOffset = r.u32(0x3C);
    if (!peOffset || r.slice(*peOffset, 4) != std::string_view("PE\0\0", 4)) return result;

    result.status = PeStatus::Broken;
    const std::uint64_t coff = std::uint64_t{*peOffset} + 4;
    const auto sectionCount = r.u16(coff + 2);
    const auto optionalSize = r.u16(coff + 16);
    const std::uint64_t optional = coff + 20;
    const auto magic = r.u16(optional);
    if (!sectionCount || !optionalSize || !magic) return result;
    std::uint64_t directories = 0;
    if (*magic == 0x10B)
        directories = 96;  // PE32
    else if (*magic == 0x20B)
        directories = 112;  // PE32+
    else
        return result;
    const auto directoryCount = r.u32(optional + directories - 4);
    if (!directoryCount || directories > *optionalSize) return result;
    const auto sections = readSections(r, optional + *optionalSize, *sectionCount);
    if (!sections) return result;

    result.status = PeStatus::Ok;
    // A program without a resource directory simply has no icons.
    if (*directoryCount < 3 || directories + 3 * 8 > *optionalSize) return result;
    const auto resourceRva = r.u32(optional + directories + 16);
    const auto resourceSize = r.u32(optional + directories + 20);
    if (!resourceRva || !resourceSize) return result;
    if (*resourceRva == 0 && *resourceSize == 0) return result;
    const auto base = fileOffsetOf(*sections, *resourceRva, 16);
    if (!base) {
        result.status = PeStatus::Broken;
        return result;
    }
    const auto types = readDirectory(r, *base, 0);
    if (!types) {
        result.status = PeStatus::Broken;
        return result;
    }
    // Entries are read as the directory stores them (named ones first, then ids in increasing
    // order), which is the order in which Windows numbers icon groups. Three levels and no more:
    // type, name, language.
    bool seenIcons = false;
    bool seenGroups = false;
    for (const DirEntry& type : *types) {
        if (type.named || !type.subdirectory || (type.id != kIconType && type.id != kGroupIconType)) continue;
        bool& seen = type.id == kIconType ? seenIcons : seenGroups;
        if (seen) continue;  // the first entry of a type is the one Windows finds
        seen = true;
        const auto names = readDirectory(r, *base, type.target);
        if (!names) {
            return {PeStatus::Broken, {}, {}};  // nothing half read
        }
        for (const DirEntry& name : *names) {
            const auto data = firstLanguageData(r, *sections, *base, name);
            if (!data) continue;  // a resource that cannot be read is no icon
            if (type.id == kGroupIconType) {
                result.groups.push_back(
                    {name.named, static_cast<std::uint16_t>(name.named ? 0 : name.id), data->first, data->second});
            } else if (!name.named && name.id <= 0xFFFF) {
                result.images.push_back({static_cast<std::uint16_t>(name.id), data->first, data->second});
            }
        }
    }
    // By id for the look-up of a group's images; of two images with one id the first stored counts.
    std::stable_sort(result.images.begin(), result.images.end(),
                     [](const IconImage& a, const IconImage& b) { return a.id < b.id; });
    return result;
}

long groupForIconNumber(const PeIcons& icons, int number) {
    if (number >= 0) return static_cast<std::size_t>(number) < icons.groups.size() ? number : -1;
    const long id = -static_cast<long>(number);
    for (std::size_t i = 0; i < icons.groups.size(); ++i) {
        if (!icons.groups[i].named && icons.groups[i].id == id) return static_cast<long>(i);
    }
    return -1;
}

std::string groupAsIco(std::string_view bytes, const PeIcons& icons, std::size_t group) {
    if (group >= icons.groups.size()) return {};
    const Reader r(bytes);
    const IconGroup& g = icons.groups[group];
    const auto count = r.u16(std::uint64_t{g.dataOffset} + 4);
    if (!count || kGroupHeaderSize + std::uint64_t{*count} * kGroupEntrySize > g.dataSize) return {};

    struct Picked {
        std::string_view header;  // width, height, colours, reserved, planes, bits
        std::string_view image;
    };
    std::vector<Picked> picked;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint64_t entry = g.dataOffset + kGroupHeaderSize + std::uint64_t{i} * kGroupEntrySize;
        const std::uint32_t id = *r.u16(entry + 12);
        const auto image = std::lower_bound(icons.images.begin(), icons.images.end(), id,
                                            [](const IconImage& m, std::uint32_t v) { return m.id < v; });
        if (image == icons.images.end() || image->id != id || image->dataSize == 0) continue;
        picked.push_back({r.slice(entry, 8), r.slice(image->dataOffset, image->dataSize)});
    }
    if (picked.empty()) return {};

    std::string ico;
    appendLe(ico, 0, 2);
    appendLe(ico, 1, 2);
    appendLe(ico, static_cast<std::uint32_t>(picked.size()), 2);
    std::uint64_t offset = kGroupHeaderSize + picked.size() * kIcoEntrySize;
    for (const Picked& p : picked) {
        ico.append(p.header);
        appendLe(ico, static_cast<std::uint32_t>(p.image.size()), 4);
        appendLe(ico, static_cast<std::uint32_t>(offset), 4);
        offset += p.image.size();
    }
    for (const Picked& p : picked) ico.append(p.image);
    return ico;
}

std::size_t icoImageCount(std::string_view bytes) {
    const Reader r(bytes);
    const auto reserved = r.u16(0);
    const auto type = r.u16(2);
    const auto count = r.u16(4);
    if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0) return 0;
    if (!r.has(kGroupHeaderSize, std::uint64_t{*count} * kIcoEntrySize)) return 0;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint64_t entry = kGroupHeaderSize + std::uint64_t{i} * kIcoEntrySize;
        const std::uint32_t size = *r.u32(entry + 8);
        if (size == 0 || !r.has(*r.u32(entry + 12), size)) return 0;
    }
    return *count;
}

IconPick pickIcon(std::string_view fileBytes, int number) {
    IconPick pick;
    if (icoImageCount(fileBytes) > 0) {
        pick.type = IconFileType::Ico;
        pick.iconCount = 1;
        if (number != 0) {
            pick.status = IconStatus::PastEnd;
        } else {
            pick.status = IconStatus::Ok;
            pick.ico = std::string(fileBytes);
        }
        return pick;
    }
    const PeIcons icons = readPeIcons(fileBytes);
    if (icons.status == PeStatus::NotPe) return pick;
    pick.type = IconFileType::Program;
    if (icons.status != PeStatus::Ok) {
        pick.status = IconStatus::Unreadable;
        return pick;
    }
    pick.iconCount = icons.groups.size();
    const long group = groupForIconNumber(icons, number);
    if (group < 0) {
        pick.status = IconStatus::PastEnd;
        return pick;
    }
    pick.ico = groupAsIco(fileBytes, icons, static_cast<std::size_t>(group));
    pick.status = pick.ico.empty() ? IconStatus::Unreadable : IconStatus::Ok;
    return pick;
}

}  // namespace kmr::disc
