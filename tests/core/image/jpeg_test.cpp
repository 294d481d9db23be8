#include "image/jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<unsigned char>& banner() {
    static const std::vector<unsigned char> bytes = readFile(KMR_RESOURCES_DIR "/pictures/banner.jpg");
    return bytes;
}

TEST(Jpeg, TheShippedBannerDecodesAtItsSize) {
    ASSERT_FALSE(banner().empty());
    const auto r = kmr::image::decodeJpeg(banner());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.image.width, 600);
    EXPECT_EQ(r.image.height, 129);
    ASSERT_EQ(r.image.rgb.size(), 600u * 129u * 3u);
    // The band is dark blue at its top left corner and the disc is light: real pixels, not a grey fill.
    const unsigned char* topLeft = r.image.rgb.data();
    EXPECT_LT(topLeft[0], 40);
    EXPECT_GT(topLeft[2], topLeft[0] + 40);
    const unsigned char* disc = r.image.rgb.data() + (64 * 600 + 480) * 3;
    EXPECT_GT(disc[0], 120);
}

// Grey and CMYK pictures come out as RGB too, with their colours.
TEST(Jpeg, OtherColourSpacesComeOutAsRgb) {
    const struct {
        const char* file;
        int width, height;
        int red, green, blue;  // at the centre, within a small tolerance
    } cases[] = {
        {"gradient.jpg", 16, 8, 128, 0, 127},
        {"cmyk.jpg", 10, 10, 255, 165, 0},
    };
    for (const auto& c : cases) {
        const auto r = kmr::image::decodeJpeg(readFile(std::string(KMR_FUZZ_SEEDS_DIR "/jpeg/") + c.file));
        ASSERT_TRUE(r.ok) << c.file << ": " << r.error;
        EXPECT_EQ(r.image.width, c.width) << c.file;
        EXPECT_EQ(r.image.height, c.height) << c.file;
        const unsigned char* p = r.image.rgb.data() + ((c.height / 2) * c.width + c.width / 2) * 3;
        EXPECT_NEAR(p[0], c.red, 24) << c.file;
        EXPECT_NEAR(p[1], c.green, 24) << c.file;
        EXPECT_NEAR(p[2], c.blue, 24) << c.file;
    }
    const auto grey = kmr::image::decodeJpeg(readFile(KMR_FUZZ_SEEDS_DIR "/jpeg/grey_progressive.jpg"));
    ASSERT_TRUE(grey.ok) << grey.error;
    for (std::size_t i = 0; i < grey.image.rgb.size(); i += 3) {
        ASSERT_EQ(grey.image.rgb[i], grey.image.rgb[i + 1]);
        ASSERT_EQ(grey.image.rgb[i], grey.image.rgb[i + 2]);
    }
}

TEST(Jpeg, BrokenBytesAreReportedNotDecoded) {
    const auto& good = banner();
    ASSERT_GT(good.size(), 1000u);
    auto withoutEnd = good;
    withoutEnd.resize(good.size() / 2);
    auto scrambled = good;
    for (std::size_t i = 700; i < scrambled.size() - 2; i += 7) scrambled[i] ^= 0x5A;
    const std::vector<unsigned char> garbage(4096, 0x41);
    const std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 20);
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"empty", {}},
        {"truncated in the middle", withoutEnd},
        {"only the start of the header", headerOnly},
        {"scrambled entropy data", scrambled},
        {"no JPEG at all", garbage},
        {"a lone start-of-image marker", {0xFF, 0xD8}},
    };
    for (const auto& c : cases) {
        const auto r = kmr::image::decodeJpeg(c.bytes);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_FALSE(r.error.empty()) << c.name;
        EXPECT_TRUE(r.image.rgb.empty()) << c.name;
    }
}

}  // namespace

// A small file may declare a huge picture: it is refused by its declared size, before any pixel
// buffer is made for it.
TEST(Jpeg, DeclaredSizeBeyondWhatIsShownIsRefused) {
    std::vector<unsigned char> bytes = banner();
    std::size_t sof = 2;  // the frame header: FF C0..C2, length, precision, height, width
    while (sof + 9 < bytes.size() && !(bytes[sof] == 0xFF && bytes[sof + 1] >= 0xC0 && bytes[sof + 1] <= 0xC2)) ++sof;
    ASSERT_LT(sof + 9, bytes.size());
    for (const auto& [width, height] : {std::pair{6300u, 6300u}, {5000u, 100u}, {100u, 5000u}, {4096u, 4000u}}) {
        const unsigned char size[] = {static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height),
                                      static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width)};
        std::copy(std::begin(size), std::end(size), bytes.begin() + static_cast<std::ptrdiff_t>(sof + 5));
        const auto r = kmr::image::decodeJpeg(bytes);
        EXPECT_EQ(r.error, "imagen demasiado grande (" + std::to_string(width) + "x" + std::to_string(height) + ")");
    }
}
