#include "platform/data_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace kmr::platform {
namespace {

namespace fs = std::filesystem;

TEST(DataPaths, InstalledTreeOrTheProgramsFolder) {
    test::TempDir dir;
    const fs::path root = fs::weakly_canonical(dir.path());
    const fs::path installedData = (root / "usr/bin" / dataFolderFromPrograms()).lexically_normal();
    for (const char* folder : {"usr/bin", "build/bin", "odd/bin", "odd/share", "linked"})
        fs::create_directories(root / folder);
    fs::create_directories(installedData);
    test::writeBytes(root / "usr/bin/kmr", "");
    test::writeBytes(root / "build/bin/kmr", "");
    test::writeBytes(root / "odd/bin/kmr", "");
    test::writeBytes(root / "odd/share/kmr", "");  // a file where the folder would be
    fs::create_symlink(root / "usr/bin/kmr", root / "linked/kmr");

    const struct {
        const char* what;
        fs::path program;
        fs::path data;
    } cases[] = {
        {"installed", root / "usr/bin/kmr", installedData},
        {"build tree", root / "build/bin/kmr", root / "build/bin"},
        {"no folder where the data would be", root / "odd/bin/kmr", root / "odd/bin"},
        {"dots in the program's path", root / "build/./bin/../bin/kmr", root / "build/bin"},
        {"a link to an installed program", root / "linked/kmr", installedData},
        {"a program that is gone", root / "gone/bin/kmr", root / "gone/bin"},
    };
    for (const auto& c : cases) EXPECT_EQ(dataFolder(c.program), c.data) << c.what;

    // A relative program path is taken from the current folder.
    const fs::path before = fs::current_path();
    fs::current_path(root / "usr");
    const fs::path relative = dataFolder("bin/kmr");
    fs::current_path(before);
    EXPECT_EQ(relative, installedData);
}

}  // namespace
}  // namespace kmr::platform
