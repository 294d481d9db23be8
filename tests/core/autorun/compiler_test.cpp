#include "autorun/compiler.h"

#include <gtest/gtest.h>

#include <random>

#include "support/printers.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr {
namespace {

using test::crlf;

Project projectOf(std::vector<ProjectObject> objects) { return Project{std::move(objects)}; }

TEST(AutorunCompiler, LinesForEveryShapeOfList) {
    struct Case {
        const char* name;
        Project project;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"worked example",
         projectOf({makeProgram("setup.exe"), makeIcon("disco.ico"), makeLabel("MiCD"),
                    makeMenu("Instalar", "setup.exe", "instalar", true),
                    makeMenu("Leeme", "notepad leeme.txt", "leeme")}),
         crlf({"[autorun]", "open=setup.exe", "icon=disco.ico", "label=MiCD", "shell=instalar", "",
               "shell\\instalar=Instalar", "shell\\instalar\\command=setup.exe", "", "shell\\leeme=Leeme",
               "shell\\leeme\\command=notepad leeme.txt"})},
        {"only a label", projectOf({makeLabel("Mi disco")}), crlf({"[autorun]", "label=Mi disco"})},
        {"menus without a default", projectOf({makeIcon("i.ico"), makeMenu("A", "a.exe", "a")}),
         crlf({"[autorun]", "icon=i.ico", "", "shell\\a=A", "shell\\a\\command=a.exe"})},
        {"only menus, the default second", projectOf({makeMenu("A", "a.exe", "a"), makeMenu("B", "b.exe", "b", true)}),
         crlf({"[autorun]", "shell=b", "", "shell\\a=A", "shell\\a\\command=a.exe", "", "shell\\b=B",
               "shell\\b\\command=b.exe"})},
        {"resource", projectOf({makeResource("docs\\index.html")}),
         crlf({"[autorun]", "shellexecute=docs\\index.html"})},
        {"empty internal name", projectOf({makeMenu("T", "c", "")}),
         crlf({"[autorun]", "", "shell\\=T", "shell\\\\command=c"})},
        {"values as they stand", projectOf({makeProgram(" \"C:\\Mi programa\\a.exe\" /x=1 "), makeLabel("a=b")}),
         crlf({"[autorun]", "open= \"C:\\Mi programa\\a.exe\" /x=1 ", "label=a=b"})},
        {"names with = and \\ are written as they stand", projectOf({makeMenu("T", "c", "a=b\\d")}),
         crlf({"[autorun]", "", "shell\\a=b\\d=T", "shell\\a=b\\d\\command=c"})},
        {"two defaults and a repeated name",
         projectOf({makeMenu("A", "1", "a", true), makeMenu("B", "2", "a"), makeMenu("C", "3", "c", true)}),
         crlf({"[autorun]", "shell=a", "shell=c", "", "shell\\a=A", "shell\\a\\command=1", "", "shell\\a=B",
               "shell\\a\\command=2", "", "shell\\c=C", "shell\\c\\command=3"})},
        {"a menu before a general object", projectOf({makeMenu("A", "1", "a", true), makeIcon("i.ico")}),
         crlf({"[autorun]", "shell=a", "", "shell\\a=A", "shell\\a\\command=1", "icon=i.ico"})},
        {"a menu with its values missing", projectOf({ProjectObject{"x", Kind::DefaultMenu, {}}}),
         crlf({"[autorun]", "shell=", "", "shell\\=", "shell\\\\command="})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compileAutorun(c.project), c.text) << c.name;
    }
}

TEST(AutorunFile, BytesOnDiskAndFailures) {
    test::TempDir dir;
    const std::string path = dir.file("autorun.inf");
    ASSERT_TRUE(writeAutorunFile(path, projectOf({makeLabel("Menú €")})).ok());
    EXPECT_EQ(test::readBytes(path), "[autorun]\r\nlabel=Men\xFA \x80\r\n");

    // A character outside Windows-1252 turns the whole file into UTF-16 LE rather than losing it.
    ASSERT_TRUE(writeAutorunFile(path, projectOf({makeLabel("Ж")})).ok());
    EXPECT_EQ(test::readBytes(path),
              std::string("\xFF\xFE[\0a\0u\0t\0o\0r\0u\0n\0]\0\r\0\n\0l\0a\0b\0e\0l\0=\0\x16\x04\r\0\n\0", 42));

    const std::string missing = dir.file("no/autorun.inf");
    const io::IoResult failed = writeAutorunFile(missing, projectOf({makeLabel("x")}));
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.message, missing + ": No existe el fichero o la carpeta");
}

TEST(AutorunFile, OnlyTheUsualNamePassesWithoutAWarning) {
    for (const char* ok : {"autorun.inf", "AUTORUN.INF", "/media/cd/AutoRun.inf", "E:\\autorun.inf"}) {
        EXPECT_TRUE(isAutorunFileName(ok)) << ok;
    }
    for (const char* bad : {"autorun.inf.txt", "autorun", "autorun.inf/x", "my autorun.inf", "autorun.ínf"}) {
        EXPECT_FALSE(isAutorunFileName(bad)) << bad;
    }
}

// Written piece by piece or made in one buffer, the file is byte for byte what encoding the whole
// text gives, in both encodings and across pieces.
TEST(AutorunCompiler, PiecesMakeTheSameFile) {
    const std::vector<std::string> values = {"a", "ñ€", "Б", "😀", " x ", "\xED\xA0\x80", ""};
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        Project p;
        if (rng() % 2) p.append(makeProgram(values[rng() % 3]));
        if (rng() % 2) p.append(makeIcon(values[rng() % values.size()]));
        const int menus = round % 50 == 0 ? 3000 : static_cast<int>(rng() % 4);
        for (int k = 0; k < menus; ++k) {
            p.append(makeMenu(values[rng() % 3] + std::to_string(k), values[rng() % values.size()],
                              rng() % 8 == 0 ? values[rng() % values.size()] : "m", rng() % 5 == 0));
        }
        std::string pieces;
        autorunFileBytes(p, [&](std::string_view piece) {
            pieces.append(piece);
            return true;
        });
        ASSERT_EQ(pieces, text::encodeForFile(compileAutorun(p)));
        ASSERT_EQ(autorunFileBytes(p), pieces);  // made in one buffer, encoded where it stands
    }
}

// No file is written that the program's readers would refuse: the size is checked before the
// target is touched, which keeps what it held.
TEST(AutorunCompiler, AFileAboveTheInputLimitIsNotWritten) {
    EXPECT_TRUE(io::checkOutputSize("x", io::kMaxInputBytes).ok());
    EXPECT_EQ(io::checkOutputSize("x", io::kMaxInputBytes + 1).status, io::IoStatus::TooLarge);
    test::TempDir dir;
    test::writeBytes(dir.file("autorun.inf"), "viejo");
    const Project big = projectOf({makeLabel(std::string(io::kMaxInputBytes, 'x'))});
    EXPECT_EQ(writeAutorunFile(dir.file("autorun.inf"), big).status, io::IoStatus::TooLarge);
    EXPECT_EQ(test::readBytes(dir.file("autorun.inf")), "viejo");
}

}  // namespace
}  // namespace kmr
