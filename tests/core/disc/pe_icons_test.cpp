#include "disc/pe_icons.h"

#include <gtest/gtest.h>

#include "support/pe_builder.h"

namespace kmr::disc {
namespace {

using test::buildIco;
using test::buildPe;
using test::PeGroup;
using test::PeImage;
using test::putLe;

std::uint32_t le(const std::string& b, std::size_t at, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = size; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
    return v;
}

// The images of an .ico file, in its order, read through its directory.
std::vector<std::string> imagesOf(const std::string& ico) {
    std::vector<std::string> images;
    for (std::size_t i = 0; i < le(ico, 4, 2); ++i) {
        images.push_back(ico.substr(le(ico, 6 + 16 * i + 12, 4), le(ico, 6 + 16 * i + 8, 4)));
    }
    return images;
}

const std::vector<PeImage> kImages = {{1, "one"}, {2, "two!"}, {3, "three"}, {9, "nine"}};

TEST(PeIcons, PicksTheGroupAWindowsIconNumberNames) {
    struct Case {
        const char* name;
        std::string file;
        int number;
        IconStatus status;
        std::size_t count;
        std::vector<std::string> images;  // of the picked icon
    };
    const std::vector<PeGroup> several = {{"", 5, {3}}, {"", 7, {9, 1}}, {"MAINICON", 0, {2}}};
    const std::string severalPe = buildPe(several, kImages);
    const std::vector<Case> cases = {
        {"one group", buildPe({{"", 1, {1, 2}}}, kImages), 0, IconStatus::Ok, 1, {"one", "two!"}},
        {"one group, PE32+", buildPe({{"", 1, {1, 2}}}, kImages, true), 0, IconStatus::Ok, 1, {"one", "two!"}},
        {"one group, number 1", buildPe({{"", 1, {1}}}, kImages), 1, IconStatus::PastEnd, 1, {}},
        {"named group counts first", severalPe, 0, IconStatus::Ok, 3, {"two!"}},
        {"then ids in order", severalPe, 1, IconStatus::Ok, 3, {"three"}},
        {"last", severalPe, 2, IconStatus::Ok, 3, {"nine", "one"}},
        {"past the end", severalPe, 3, IconStatus::PastEnd, 3, {}},
        {"negative is a resource id", severalPe, -7, IconStatus::Ok, 3, {"nine", "one"}},
        {"id 5", severalPe, -5, IconStatus::Ok, 3, {"three"}},
        {"no group of that id", severalPe, -6, IconStatus::PastEnd, 3, {}},
        {"no icons at all", buildPe({}, {}), 0, IconStatus::PastEnd, 0, {}},
        {"images without groups", buildPe({}, kImages), 0, IconStatus::PastEnd, 0, {}},
        {"missing image is left out", buildPe({{"", 1, {4, 3}}}, kImages), 0, IconStatus::Ok, 1, {"three"}},
        {"no image of the group exists", buildPe({{"", 1, {4}}}, kImages), 0, IconStatus::Unreadable, 1, {}},
        {"ico file", buildIco({"a", "bc"}), 0, IconStatus::Ok, 1, {"a", "bc"}},
        {"ico file holds one icon", buildIco({"a", "bc"}), 1, IconStatus::PastEnd, 1, {}},
        {"ico file, negative", buildIco({"a"}), -1, IconStatus::PastEnd, 1, {}},
        {"text file", "[autorun]\r\n", 0, IconStatus::NotAnIcon, 0, {}},
        {"cursor file", std::string("\0\0\2\0\1\0", 6) + buildIco({"a"}).substr(6), 0, IconStatus::NotAnIcon, 0, {}},
        {"DOS program", "MZ" + std::string(100, '\0'), 0, IconStatus::Unreadable, 0, {}},
    };
    for (const Case& c : cases) {
        const IconPick pick = pickIcon(c.file, c.number);
        EXPECT_EQ(pick.status, c.status) << c.name;
        EXPECT_EQ(pick.iconCount, c.count) << c.name;
        if (c.status != IconStatus::Ok) continue;
        ASSERT_EQ(icoImageCount(pick.ico), c.images.size()) << c.name;
        EXPECT_EQ(imagesOf(pick.ico), c.images) << c.name;
    }
}

TEST(PeIcons, BrokenFilesGiveAStatusAndReadNothingOutside) {
    const std::string good = buildPe({{"", 1, {1, 2}}, {"", 2, {3}}}, kImages);
    ASSERT_EQ(readPeIcons(good).groups.size(), 2u);
    const std::size_t optional = test::kPeHeaderOffset + 24;
    const std::size_t resourceDir = optional + 96 + 16;
    const std::size_t section = optional + 224;
    const auto broken = [&](std::size_t at, std::uint32_t v, std::size_t size) {
        std::string b = good;
        putLe(b, at, v, size);
        return b;
    };
    // Groups stored before the images, whose directory then points outside: nothing is half read.
    std::string groupsFirst = good;
    const std::size_t root = test::kResourceOffset + 16;
    putLe(groupsFirst, root, 14, 4);
    putLe(groupsFirst, root + 4, le(good, root + 12, 4), 4);
    putLe(groupsFirst, root + 8, 3, 4);
    putLe(groupsFirst, root + 12, 0x8FFFFFFFu, 4);
    struct Case {
        const char* name;
        std::string file;
        PeStatus status;
        std::size_t groups;
    };
    const std::vector<Case> cases = {
        {"empty", "", PeStatus::NotPe, 0},
        {"MZ only", "MZ", PeStatus::OldStyle, 0},
        {"header offset past the end", broken(0x3C, 0xFFFFFFF0u, 4), PeStatus::OldStyle, 0},
        {"unknown optional header", broken(optional, 0x107, 2), PeStatus::Broken, 0},
        {"optional header too small", broken(test::kPeHeaderOffset + 20, 8, 2), PeStatus::Broken, 0},
        {"too many sections", broken(test::kPeHeaderOffset + 6, 0xFFFF, 2), PeStatus::Broken, 0},
        {"resources outside every section", broken(resourceDir, 0x90000, 4), PeStatus::Broken, 0},
        {"section data past the end", broken(section + 20, 0xFFFFFF00u, 4), PeStatus::Broken, 0},
        {"directory count past the end", broken(test::kResourceOffset + 14, 0xFFFF, 2), PeStatus::Broken, 0},
        {"name directory past the end", broken(test::kResourceOffset + 20, 0x8FFFFFFFu, 4), PeStatus::Broken, 0},
        {"images directory broken after the groups", groupsFirst, PeStatus::Broken, 0},
        {"one group's data cut off", good.substr(0, good.size() - 8), PeStatus::Ok, 1},
    };
    for (const Case& c : cases) {
        const PeIcons icons = readPeIcons(c.file);
        EXPECT_EQ(icons.status, c.status) << c.name;
        EXPECT_EQ(icons.groups.size(), c.groups) << c.name;
    }
    // Every cut of a good file, and a directory entry that leads back to the top: no fault, no hang.
    for (std::size_t n = 0; n < good.size(); ++n) (void)pickIcon(good.substr(0, n), 0);
    std::string loop = good;
    putLe(loop, test::kResourceOffset + 16 + 8 + 4, 0x80000000u, 4);  // groups: the top again
    EXPECT_TRUE(readPeIcons(loop).groups.empty());
}

TEST(PeIcons, IcoFilesAreWholeOrNothing) {
    const std::string ico = buildIco({"ab", "cde"});
    std::string entryPastEnd = ico;
    putLe(entryPastEnd, 6 + 16 + 12, 1000, 4);
    std::string emptyImage = ico;
    putLe(emptyImage, 6 + 8, 0, 4);
    std::string notReserved = ico;
    putLe(notReserved, 0, 1, 2);
    EXPECT_EQ(icoImageCount(ico), 2u);
    EXPECT_EQ(icoImageCount(entryPastEnd), 0u);
    EXPECT_EQ(icoImageCount(emptyImage), 0u);
    EXPECT_EQ(icoImageCount(notReserved), 0u);
    EXPECT_EQ(icoImageCount(ico.substr(0, ico.size() - 1)), 0u);
    EXPECT_EQ(icoImageCount(std::string("\0\0\1\0\0\0", 6)), 0u);
}

}  // namespace
}  // namespace kmr::disc
