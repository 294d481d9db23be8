// Version-2 reader over arbitrary bytes: no crash, and what it reads survives a save and an open.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/project_file.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kmr::ProjectReadResult first = kmr::readProjectV2(kmr::text::decode(bytes).text);
    const std::string written = kmr::projectFileBytes(first.project);
    const kmr::ProjectReadResult second = kmr::readProjectFile(written);
    if (!second.versionOk || !(second.project == first.project)) std::abort();
    return 0;
}
