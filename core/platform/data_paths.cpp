#include "platform/data_paths.h"

#include <system_error>

// KMR_DATA_FROM_PROGRAMS and KMR_APP_ID come from the build, which names the installed files by them.

namespace kmr::platform {

std::string_view desktopId() { return KMR_APP_ID; }

std::string_view dataFolderFromPrograms() { return KMR_DATA_FROM_PROGRAMS; }

std::filesystem::path dataFolder(const std::filesystem::path& programFile) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path program = fs::absolute(programFile, ec);
    if (ec) program = programFile;
    // weakly_canonical follows the links and drops "." and "..", and copes with a path that is gone.
    const fs::path resolved = fs::weakly_canonical(program, ec);
    const fs::path programs = (ec ? program.lexically_normal() : resolved).parent_path();
    const fs::path installed = (programs / fs::path(dataFolderFromPrograms())).lexically_normal();
    if (fs::is_directory(installed, ec)) return installed;
    return programs;
}

}  // namespace kmr::platform
