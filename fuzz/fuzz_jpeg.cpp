// Decodes JPEG pictures: a broken picture must come back as an error, never a crash, and a whole one
// as its pixels. Arbitrary bytes seldom get past a JPEG header, so most inputs are recipes: a picture
// is made with libjpeg's own encoder in the form the recipe asks for (size, colour space, Adobe mark,
// progressive scans up to many hundreds, restarts, declared size) and then damaged where the recipe
// says, so that the decoder meets whole, cut and corrupt pictures of every kind. An input that starts
// like a JPEG file (FF D8) is decoded as it stands, so real pictures serve as seeds.
//
// Recipe: byte 0 width and byte 1 height (1–64 pixels), byte 2 the colour space (grey, RGB, YCbCr,
// CMYK, YCCK), byte 3 the flags (progressive, Adobe mark, optimised tables, restarts, a scan for every
// coefficient and bit when the quality byte is a multiple of 8, a declared size past the decoder's
// bounds, the picture cut short), byte 4 the quality, bytes 5–6 where to damage (in 65536ths of the length) and byte 7
// how (XOR); the rest are the pixels, repeated.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "image/jpeg.h"

namespace {

enum Flag : unsigned {
    kProgressive = 1,
    kAdobe = 2,
    kOptimize = 4,
    kRestarts = 8,
    kManyScans = 16,
    kHugeSize = 32,
    kCut = 64,
};

// Every coefficient of the first component in a scan of its own, each bit in a refinement of its own,
// and one scan for the DC of each other component: more scans than the decoder allows (500), in a
// stream that is otherwise valid.
std::vector<jpeg_scan_info> manyScans(int components) {
    std::vector<jpeg_scan_info> scans;
    for (int c = 1; c < components; ++c) {
        jpeg_scan_info dc{};
        dc.comps_in_scan = 1;
        dc.component_index[0] = c;
        scans.push_back(dc);
    }
    for (int al = 10; al >= 0; --al) {
        jpeg_scan_info dc{};
        dc.comps_in_scan = 1;
        dc.Ah = al == 10 ? 0 : al + 1;
        dc.Al = al;
        scans.push_back(dc);
        for (int k = 1; k < 64; ++k) {
            jpeg_scan_info ac = dc;
            ac.Ss = k;
            ac.Se = k;
            scans.push_back(ac);
        }
    }
    return scans;
}

void onError(j_common_ptr cinfo) {
    (void)cinfo;
    std::abort();  // the encoder never fails on a recipe: a failure is the fuzzer's own fault
}

// The picture the recipe describes, encoded.
std::vector<unsigned char> encode(const std::uint8_t* recipe, std::span<const std::uint8_t> pixels) {
    static constexpr J_COLOR_SPACE kSpaces[] = {JCS_GRAYSCALE, JCS_RGB, JCS_YCbCr, JCS_CMYK, JCS_YCCK};
    static constexpr int kComponents[] = {1, 3, 3, 4, 4};
    const unsigned space = recipe[2] % 5;
    const unsigned flags = recipe[3];
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = onError;
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = recipe[0] % 64 + 1;
    cinfo.image_height = recipe[1] % 64 + 1;
    cinfo.input_components = kComponents[space];
    cinfo.in_color_space = kSpaces[space] == JCS_YCCK ? JCS_CMYK : kSpaces[space];
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, kSpaces[space]);
    jpeg_set_quality(&cinfo, recipe[4] % 100 + 1, TRUE);
    cinfo.optimize_coding = (flags & kOptimize) != 0 ? TRUE : FALSE;
    cinfo.write_Adobe_marker = (flags & kAdobe) != 0 ? TRUE : FALSE;
    if ((flags & kRestarts) != 0) cinfo.restart_in_rows = 1;
    std::vector<jpeg_scan_info> scans;
    // Seldom: such a picture takes far longer to make than the others.
    if ((flags & kManyScans) != 0 && recipe[4] % 8 == 0) {
        scans = manyScans(cinfo.num_components);
        cinfo.scan_info = scans.data();
        cinfo.num_scans = static_cast<int>(scans.size());
    } else if ((flags & kProgressive) != 0) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowSize = std::size_t{cinfo.image_width} * static_cast<std::size_t>(cinfo.input_components);
    std::vector<unsigned char> row(rowSize);
    std::size_t at = 0;
    while (cinfo.next_scanline < cinfo.image_height) {
        for (unsigned char& b : row)
            b = pixels.empty() ? static_cast<unsigned char>(at++ * 37) : pixels[at++ % pixels.size()];
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> bytes(out, out + outSize);
    std::free(out);
    return bytes;
}

// Writes a declared size past the decoder's bounds into the frame header.
void declareHugeSize(std::vector<unsigned char>& jpeg, unsigned side) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF || (jpeg[i + 1] != 0xC0 && jpeg[i + 1] != 0xC1 && jpeg[i + 1] != 0xC2)) continue;
        jpeg[i + 5] = static_cast<unsigned char>(side >> 8);  // height
        jpeg[i + 6] = static_cast<unsigned char>(side);
        jpeg[i + 7] = static_cast<unsigned char>(side >> 8);  // width
        jpeg[i + 8] = static_cast<unsigned char>(side);
        return;
    }
}

void check(std::span<const unsigned char> bytes) {
    const auto result = kmr::image::decodeJpeg(bytes);
    if (result.ok) {
        const auto& img = result.image;
        if (img.width <= 0 || img.height <= 0) __builtin_trap();
        if (img.rgb.size() != static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height) * 3)
            __builtin_trap();
    } else if (result.error.empty() || !result.image.rgb.empty()) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8 || (data[0] == 0xFF && data[1] == 0xD8)) {
        check(std::span<const unsigned char>(data, size));
        return 0;
    }
    std::vector<unsigned char> jpeg = encode(data, std::span<const std::uint8_t>(data + 8, size - 8));
    const unsigned flags = data[3];
    if ((flags & kHugeSize) != 0) declareHugeSize(jpeg, 4097 + data[7] * 16u);
    const std::size_t at = (data[5] | (data[6] << 8)) * jpeg.size() / 65536;
    if ((flags & kCut) != 0) {
        jpeg.resize(at);
    } else if (at < jpeg.size()) {
        jpeg[at] ^= data[7];
    }
    check(jpeg);
    return 0;
}
