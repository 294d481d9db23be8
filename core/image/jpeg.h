#pragma once
// Decoding a JPEG picture into plain RGB bytes with libjpeg; a broken picture is reported, never fatal.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace kmr::image {

// Three bytes per pixel (red, green, blue), rows top to bottom without padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

struct [[nodiscard]] JpegResult {
    bool ok = false;
    RgbImage image;     // empty unless ok
    std::string error;  // libjpeg's own words, when not ok
};

// The program shows pictures of a window's size: one whose header declares a side longer than this,
// or more pixels than this, is refused before anything is allocated for it.
inline constexpr unsigned kMaxJpegSide = 4096;
inline constexpr std::size_t kMaxJpegPixels = std::size_t{12} * 1000 * 1000;

// Any corruption that libjpeg notices, warnings included (a truncated file, bad Huffman data), makes the
// whole picture count as broken: a half-grey banner is not a picture worth showing.
JpegResult decodeJpeg(std::span<const unsigned char> bytes);

}  // namespace kmr::image
