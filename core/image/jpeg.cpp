#include "image/jpeg.h"

#include <csetjmp>
#include <cstdio>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace kmr::image {

namespace {

// An error manager that jumps back to the decoder instead of calling exit(), as libjpeg's default does.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Progressive files may hold thousands of tiny scans; no real picture needs more than a few dozen.
constexpr int kMaxScans = 500;

[[noreturn]] void failJump(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (level -1) mean corrupt data: treat them as errors. Trace messages (level >= 0) are dropped.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) failJump(cinfo);
}

void onProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "demasiadas pasadas progresivas");
        std::longjmp(err->jump, 1);
    }
}

// Adobe writes CMYK inverted; libjpeg hands the samples over as stored.
void cmykToRgb(const unsigned char* cmyk, unsigned char* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int i = 0; i < 3; ++i) {
            const unsigned c = inverted ? cmyk[i] : 255u - cmyk[i];
            rgb[i] = static_cast<unsigned char>(c * k / 255u);
        }
    }
}

// The decoder's state lives in `cinfo` and `out`, both owned by the caller, so nothing that matters sits in
// a local variable when libjpeg jumps back here.
bool decodeInto(jpeg_decompress_struct& cinfo, ErrorManager& err, jpeg_progress_mgr& progress,
                std::span<const unsigned char> bytes, RgbImage& out, std::vector<unsigned char>& row) {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = failJump;
    err.pub.emit_message = onMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (cinfo.image_width > kMaxJpegSide || cinfo.image_height > kMaxJpegSide ||
        std::size_t{cinfo.image_width} * cinfo.image_height > kMaxJpegPixels) {
        std::snprintf(err.message, sizeof err.message, "imagen demasiado grande (%ux%u)", cinfo.image_width,
                      cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    out.rgb.resize(std::size_t{width} * cinfo.output_height * 3);
    row.resize(std::size_t{width} * static_cast<std::size_t>(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* target = out.rgb.data() + std::size_t{cinfo.output_scanline} * width * 3;
        JSAMPROW line = cmyk ? row.data() : target;
        jpeg_read_scanlines(&cinfo, &line, 1);
        if (cmyk) cmykToRgb(row.data(), target, width, cinfo.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&cinfo);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

JpegResult decodeJpeg(std::span<const unsigned char> bytes) {
    JpegResult result;
    if (bytes.empty()) {
        result.error = "fichero vacío";
        return result;
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::vector<unsigned char> row;
    if (decodeInto(cinfo, err, progress, bytes, result.image, row)) {
        result.ok = true;
    } else {
        result.error = err.message;
        result.image = RgbImage{};
    }
    return result;
}

}  // namespace kmr::image
