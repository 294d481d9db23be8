#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "wizards/templates.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;

const std::string kTemplate = "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\n";

TEST(TemplateFolders, ProgramThenInstalledThenUser) {
    test::TempDir dir;
    const std::string root = fs::canonical(dir.path()).string();
    fs::create_directories(root + "/prefix/bin");
    fs::create_directories(root + "/prefix/share/kmr/templates");
    const std::string bin = root + "/prefix/bin";
    const std::string installed = root + "/prefix/share/kmr/templates";
    struct Case {
        const char* what;
        std::string programDir;
        TemplateEnvironment env;
        std::vector<std::string> folders;
    };
    const std::vector<Case> cases = {
        {"XDG_DATA_HOME wins over HOME",
         bin,
         {root + "/datos", root + "/casa"},
         {bin, installed, root + "/datos/kmr/templates"}},
        {"HOME when XDG_DATA_HOME is unset",
         bin,
         {"", root + "/casa"},
         {bin, installed, root + "/casa/.local/share/kmr/templates"}},
        {"a relative XDG_DATA_HOME is ignored",
         bin,
         {"datos", root + "/casa"},
         {bin, installed, root + "/casa/.local/share/kmr/templates"}},
        {"neither variable", bin, {"", ""}, {bin, installed}},
        {"no program folder", "", {root + "/datos", ""}, {root + "/datos/kmr/templates"}},
        {"a trailing slash and dot-dot are resolved", bin + "/../bin/", {"", ""}, {bin, installed}},
        {"the user's folder is the installed one", bin, {root + "/prefix/share/", ""}, {bin, installed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(templateFolders(c.programDir, c.env), c.folders);
    }
}

TEST(TemplateFolders, SymbolicLinksResolveToOneFolder) {
    test::TempDir dir;
    const fs::path root = fs::canonical(dir.path());
    fs::create_directories(root / "real/bin");
    fs::create_directories(root / "home/.local/share");
    fs::create_directory_symlink(root / "real", root / "home/.local/share/kmr");
    fs::create_directory_symlink(root / "real/bin", root / "real/templates");
    // The user's folder is a link to the program's folder: listed once, in the program's place.
    const auto folders = templateFolders((root / "real/bin").string(), {"", (root / "home").string()});
    EXPECT_EQ(folders,
              (std::vector<std::string>{(root / "real/bin").string(), (root / "real/share/kmr/templates").string()}));
}

TEST(TemplateFolders, NumbersRunOnAcrossFolders) {
    test::TempDir dir;
    const fs::path a = dir.path() / "a";
    const fs::path b = dir.path() / "b";
    fs::create_directories(a);
    fs::create_directories(b);
    test::writeBytes(a / "uno.kmrt", kTemplate);
    test::writeBytes(a / "dos.kmrt", "[Brenlowe KMR Template]\r\nVersioMajor=1\r\n");  // rejected, still counted
    test::writeBytes(b / "Tres.kmrt", kTemplate + "Nom=Propio\r\n");
    test::writeBytes(b / "cuatro.kmrt", kTemplate);
    const auto records = listTemplates({a.string(), (dir.path() / "falta").string(), b.string()});
    struct Expected {
        std::string name;
        std::size_t number;
        fs::path folder;
        std::string file;
    };
    const std::vector<Expected> expected = {
        {"Modelo 1", 1, a, "uno.kmrt"},
        {"Modelo 2", 2, b, "cuatro.kmrt"},
        {"Propio", 3, b, "Tres.kmrt"},
    };
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].name, expected[i].name);
        EXPECT_EQ(records[i].fileNumber, expected[i].number);
        EXPECT_EQ(fs::path(records[i].folder), expected[i].folder);
        EXPECT_EQ(fs::path(records[i].path), expected[i].folder / expected[i].file);
    }
}

}  // namespace
}  // namespace kmr
