#include "support/pe_builder.h"

namespace kmr::test {
namespace {

constexpr std::uint32_t kSectionRva = 0x1000;

// `size` little-endian bytes of the value; bytes past the fourth are zero.
void le(std::string& out, std::uint32_t v, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(i < 4 ? static_cast<char>((v >> (8 * i)) & 0xFF) : '\0');
}

std::string directoryHeader(std::size_t named, std::size_t ids) {
    std::string d(12, '\0');
    le(d, static_cast<std::uint32_t>(named), 2);
    le(d, static_cast<std::uint32_t>(ids), 2);
    return d;
}

// One resource: what names it, and its data.
struct Leaf {
    bool named = false;
    std::string name;
    std::uint32_t id = 0;
    std::string data;
};

std::string groupData(const PeGroup& g, const std::vector<PeImage>& images) {
    std::string d;
    le(d, 0, 2);
    le(d, 1, 2);
    le(d, static_cast<std::uint32_t>(g.images.size()), 2);
    for (const std::uint16_t id : g.images) {
        std::uint32_t size = 0;
        for (const PeImage& m : images) {
            if (m.id == id) size = static_cast<std::uint32_t>(m.bytes.size());
        }
        d += std::string{'\x20', '\x20', '\0', '\0'};  // 32 x 32, true colour
        le(d, 1, 2);
        le(d, 32, 2);
        le(d, size, 4);
        le(d, id, 2);
    }
    return d;
}

// The resource section: type directory, one name directory per type, one language directory per
// resource, the data entries, the names and the data, in that order.
std::string resourceSection(const std::vector<std::pair<std::uint32_t, std::vector<Leaf>>>& types) {
    std::size_t size = 16 + 8 * types.size();
    std::vector<std::size_t> nameDirs;
    for (const auto& t : types) {
        nameDirs.push_back(size);
        size += 16 + 8 * t.second.size();
    }
    std::vector<std::vector<std::size_t>> langDirs(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        for (std::size_t k = 0; k < types[i].second.size(); ++k) {
            langDirs[i].push_back(size);
            size += 16 + 8 + 16;  // language directory with its one entry, then the data entry
        }
    }
    std::vector<std::vector<std::size_t>> names(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        for (const Leaf& l : types[i].second) {
            names[i].push_back(size);
            if (l.named) size += 2 + 2 * l.name.size();
        }
    }
    size = (size + 3) & ~std::size_t{3};
    std::vector<std::vector<std::size_t>> data(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        for (const Leaf& l : types[i].second) {
            data[i].push_back(size);
            size += (l.data.size() + 3) & ~std::size_t{3};
        }
    }

    std::string s = directoryHeader(0, types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        le(s, types[i].first, 4);
        le(s, 0x80000000u | static_cast<std::uint32_t>(nameDirs[i]), 4);
    }
    for (std::size_t i = 0; i < types.size(); ++i) {
        std::size_t named = 0;
        for (const Leaf& l : types[i].second) named += l.named ? 1 : 0;
        s += directoryHeader(named, types[i].second.size() - named);
        for (std::size_t k = 0; k < types[i].second.size(); ++k) {
            const Leaf& l = types[i].second[k];
            le(s, l.named ? 0x80000000u | static_cast<std::uint32_t>(names[i][k]) : l.id, 4);
            le(s, 0x80000000u | static_cast<std::uint32_t>(langDirs[i][k]), 4);
        }
    }
    for (std::size_t i = 0; i < types.size(); ++i) {
        for (std::size_t k = 0; k < types[i].second.size(); ++k) {
            s += directoryHeader(0, 1);
            le(s, 0x409, 4);
            le(s, static_cast<std::uint32_t>(langDirs[i][k] + 24), 4);
            le(s, static_cast<std::uint32_t>(kSectionRva + data[i][k]), 4);
            le(s, static_cast<std::uint32_t>(types[i].second[k].data.size()), 4);
            s += std::string(8, '\0');
        }
    }
    for (const auto& t : types) {
        for (const Leaf& l : t.second) {
            if (!l.named) continue;
            le(s, static_cast<std::uint32_t>(l.name.size()), 2);
            for (const char c : l.name) le(s, static_cast<unsigned char>(c), 2);
        }
    }
    s.resize((s.size() + 3) & ~std::size_t{3}, '\0');
    for (const auto& t : types) {
        for (const Leaf& l : t.second) {
            s += l.data;
            s.resize((s.size() + 3) & ~std::size_t{3}, '\0');
        }
    }
    return s;
}

}  // namespace

void putLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string buildPe(const std::vector<PeGroup>& groups, const std::vector<PeImage>& images, bool pe32plus) {
    std::vector<std::pair<std::uint32_t, std::vector<Leaf>>> types;
    if (!images.empty()) {
        std::vector<Leaf> leaves;
        for (const PeImage& m : images) leaves.push_back({false, {}, m.id, m.bytes});
        types.emplace_back(3, std::move(leaves));
    }
    if (!groups.empty()) {
        std::vector<Leaf> leaves;
        for (const PeGroup& g : groups) {
            if (!g.name.empty()) leaves.push_back({true, g.name, 0, groupData(g, images)});
        }
        for (const PeGroup& g : groups) {
            if (g.name.empty()) leaves.push_back({false, {}, g.id, groupData(g, images)});
        }
        types.emplace_back(14, std::move(leaves));
    }
    const std::string rsrc = types.empty() ? std::string(16, '\0') : resourceSection(types);

    std::string f = "MZ";
    f.resize(kPeHeaderOffset, '\0');
    putLe(f, 0x3C, kPeHeaderOffset, 4);
    f += std::string("PE\0\0", 4);
    const std::uint32_t optionalSize = pe32plus ? 240 : 224;
    le(f, pe32plus ? 0x8664 : 0x14C, 2);
    le(f, 1, 2);  // one section
    le(f, 0, 12);
    le(f, optionalSize, 2);
    le(f, 0x2102, 2);
    const std::size_t optional = f.size();
    f.resize(optional + optionalSize, '\0');
    putLe(f, optional, pe32plus ? 0x20B : 0x10B, 2);
    const std::size_t directories = optional + (pe32plus ? 112 : 96);
    putLe(f, directories - 4, 16, 4);
    if (!types.empty()) {
        putLe(f, directories + 16, kSectionRva, 4);
        putLe(f, directories + 20, static_cast<std::uint32_t>(rsrc.size()), 4);
    }
    f += std::string(".rsrc\0\0\0", 8);
    le(f, static_cast<std::uint32_t>(rsrc.size()), 4);
    le(f, kSectionRva, 4);
    le(f, static_cast<std::uint32_t>(rsrc.size()), 4);
    le(f, kResourceOffset, 4);
    f.resize(kResourceOffset, '\0');
    return f + rsrc;
}

std::string buildIco(const std::vector<std::string>& images) {
    std::string f;
    le(f, 0, 2);
    le(f, 1, 2);
    le(f, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const std::string& m : images) {
        f += std::string{'\x10', '\x10', '\0', '\0'};
        le(f, 1, 2);
        le(f, 32, 2);
        le(f, static_cast<std::uint32_t>(m.size()), 4);
        le(f, offset, 4);
        offset += static_cast<std::uint32_t>(m.size());
    }
    for (const std::string& m : images) f += m;
    return f;
}

}  // namespace kmr::test
