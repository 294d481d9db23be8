// Version-1 reader over arbitrary bytes: no crash, no unbounded menus, and its project can be saved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "project/project_file.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Most inputs should reach the menu loop: put the version-1 header in front.
    bytes.insert(0, "[dantreva kmr file]\r\nversion=1.0\r\n");
    const kmr::ProjectReadResult r = kmr::readProjectFile(bytes);
    if (r.format != kmr::ProjectFormat::Version1) std::abort();
    // One menu per non-empty line at most, and for a file that ends early up to 64 empty menus more,
    // or as many as it held (countBacked).
    if (r.project.size() > bytes.size() + 64 + 2) std::abort();
    (void)kmr::projectFileBytes(r.project);
    return 0;
}
