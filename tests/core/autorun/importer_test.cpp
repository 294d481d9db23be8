#include "autorun/importer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "autorun/compiler.h"
#include "support/printers.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;
using test::crlf;

ProjectObject defaultMenu(std::string text, std::string command, std::string name) {
    return makeMenu(std::move(text), std::move(command), std::move(name), true);
}

TEST(AutorunImporter, WhatEachLineGives) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<ProjectObject> objects;
        std::size_t unrecognised;
    };
    const std::vector<Case> cases = {
        {"header only", crlf({"[autorun]"}), {}, 0},
        {"keys in any case with blanks anywhere",
         crlf({"[AUTORUN]", "  ICON = x.ico ", "shell execute=doc.htm", "\tLaBeL=  Mi  CD\t"}),
         {makeResource("doc.htm"), makeIcon("x.ico"), makeLabel("Mi  CD")},
         0},
        {"open without a value", "[autorun]\nopen\n", {makeProgram("")}, 0},
        {"first run entry wins",
         crlf({"[autorun]", "shellexecute=a.html", "open=b.exe", "open=c.exe"}),
         {makeResource("a.html")},
         2},
        {"order of the general objects",
         crlf({"[autorun]", "label=L", "icon=I", "open=O"}),
         {makeProgram("O"), makeIcon("I"), makeLabel("L")},
         0},
        {"unknown keys, comments, a repeated header",
         crlf({"[autorun]", "action=Instalar", "; open=no.exe", "[autorun]", "UseAutoPlay=1"}),
         {},
         4},
        {"a value keeps what follows its first =", "[autorun]\nopen=a.exe /x=1\n", {makeProgram("a.exe /x=1")}, 0},
        {"pair in either order, empty lines between",
         crlf({"[autorun]", "shell\\b\\command=b.exe", "", "", "shell\\b=B", "shell\\a= A ",
               "shell\\a\\command= a.exe"}),
         {makeMenu("B", "b.exe", "b"), makeMenu("A", "a.exe", "a")},
         0},
        {"a line of blanks is the partner, and pairs with nothing",
         crlf({"[autorun]", "shell\\a=A", "   ", "shell\\a\\command=a"}),
         {},
         2},
        {"blanks before = do not break the pair",
         crlf({"[autorun]", "shell\\i = I", "shell\\i\\command \t= i.exe", "Shell\\j\\Command =j.exe", "Shell\\j  =J"}),
         {makeMenu("I", "i.exe", "i"), makeMenu("J", "j.exe", "j")},
         0},
        {"blanks before the command line's = are not part of its command",
         crlf({"[autorun]", "shell\\a=A", "shell\\a\\command = a.exe"}),
         {makeMenu("A", "a.exe", "a")},
         0},
        {"a name that ends in blanks, as compiled, still pairs",
         crlf({"[autorun]", "shell\\a =A", "shell\\a \\command=a.exe"}),
         {makeMenu("A", "a.exe", "a")},
         0},
        {"an indented command line does not pair",
         crlf({"[autorun]", "shell\\i=I", "   shell\\i\\command=i.exe", "shell\\j = J", "  shell\\j\\command = j"}),
         {},
         2},
        {"the default verb holds for the pairs after it, the last shell line wins",
         crlf({"[autorun]", "shell\\a=A", "shell\\a\\command=1", "shell=A", "shell=b", "shell\\b=B",
               "shell\\b\\command=2", "shell\\a=A2", "shell\\a\\command=3"}),
         {makeMenu("A", "1", "a"), defaultMenu("B", "2", "b"), makeMenu("A2", "3", "a")},
         0},
        {"a verb for two pairs of the same name",
         crlf({"[autorun]", "Shell = X", "shell\\x=1", "shell\\x\\command=a", "shell\\X=2", "shell\\X\\command=b"}),
         {defaultMenu("1", "a", "x"), defaultMenu("2", "b", "X")},
         0},
        {"names differ in letter case", crlf({"[autorun]", "shell\\Abrir=A", "shell\\abrir\\command=a"}), {}, 1},
        {"an unpaired line takes the next one with it",
         crlf({"[autorun]", "shell\\a=A", "icon=i.ico", "shell\\x=X", "shell\\b=B", "shell\\b\\command=b"}),
         {},
         3},
        {"two text lines, then two command lines",
         crlf({"[autorun]", "shell\\a=A", "shell\\b=B", "shell\\a\\command=a", "shell\\b\\command=b"}),
         {},
         2},
        {"the nine characters after the name are skipped unexamined",
         crlf({"[autorun]", "shell\\x\\ddeexec=[open]", "shell\\x=X"}),
         {makeMenu("X", "[open]", "x")},
         0},
        {"other sub-keys and a last line without partner",
         crlf({"[autorun]", "shell\\o=O", "shell\\o\\command=o", "shell\\o\\Default=1", "shell\\p", "shell\\"}),
         {makeMenu("O", "o", "o")},
         2},
        {"empty internal name, before and after the verb",
         crlf({"[autorun]", "shell\\=T", "shell\\\\command=c", "shell=", "shell\\\\command=d", "shell\\=U"}),
         {makeMenu("T", "c", ""), defaultMenu("U", "d", "")},
         0},
        {"lines of other sections are read like any other",
         crlf({"[autorun]", "label=L", "[Content]", "icon=x.ico", "shell\\a=A", "shell\\a\\command=a", "[ AutoRun ]",
               "icon=y.ico"}),
         {makeIcon("x.ico"), makeLabel("L"), makeMenu("A", "a", "a")},
         3},
        {"no header: the first line is read as an entry",
         crlf({"open=a.exe", "icon=a.exe,0"}),
         {makeProgram("a.exe"), makeIcon("a.exe,0")},
         0},
        {"no header: an unused first line is dropped, later ones are counted",
         crlf({"; leeme", "", "[AutoRun] ", "open=a.exe"}),
         {makeProgram("a.exe")},
         1},
        {"no header: a header with a blank after it", crlf({"[AutoRun] ", "label=L"}), {makeLabel("L")}, 0},
        {"no header: another section's header", crlf({"[Content]", "x=1"}), {}, 1},
        {"no header: a first line that starts a pair is a pair",
         crlf({"shell\\a = A", "shell\\a\\command=a"}),
         {makeMenu("A", "a", "a")},
         0},
        {"no header: an unpaired first line counts", crlf({"shell\\a=A", "icon=i.ico"}), {}, 1},
        {"no header: a first shell line sets the verb",
         crlf({"shell=a", "shell\\a=A", "shell\\a\\command=a"}),
         {defaultMenu("A", "a", "a")},
         0},
        {"a lone CR does not end a line", "[autorun]\nlabel=a\rb\n", {makeLabel("a\rb")}, 0},
    };
    for (const Case& c : cases) {
        const ImportResult r = importAutorun(c.text);
        EXPECT_EQ(r.project, Project{c.objects}) << c.name;
        EXPECT_EQ(r.unrecognised, c.unrecognised) << c.name;
    }
}

TEST(AutorunImporter, HeaderIsTheExactFirstLine) {
    for (const char* yes : {"[autorun]", "[AutoRun]\r\nopen=a", "[AUTORUN]\n"})
        EXPECT_TRUE(hasAutorunHeader(yes)) << yes;
    for (const char* no : {"", "\r\n[autorun]", "[autorun] ", " [autorun]", "[autorun]\rx", "open=a.exe"}) {
        EXPECT_FALSE(hasAutorunHeader(no)) << no;
    }
}

TEST(AutorunImporter, ReportTexts) {
    EXPECT_EQ(importReportText(0), "El fichero se ha importado con éxito.");
    EXPECT_EQ(importReportText(12), "No se han reconocido 12 órdenes del fichero.");
}

TEST(AutorunImporter, ReadsFilesByTheirEncoding) {
    test::TempDir dir;
    const AutorunSource missing = readAutorunFile(dir.file("autorun.inf"));
    EXPECT_EQ(missing.status, io::IoStatus::NotFound);
    EXPECT_EQ(readAutorunFile(dir.path().string()).status, io::IoStatus::Failed);

    test::writeBytes(dir.file("a.inf"), "[autorun]\r\nlabel=Men\xFA\r\n");
    EXPECT_EQ(readAutorunFile(dir.file("a.inf")).text, "[autorun]\r\nlabel=Menú\r\n");
    test::writeBytes(dir.file("b.inf"), text::toUtf16LeWithBom("[autorun]\r\nlabel=Ж\r\n"));
    const AutorunSource b = readAutorunFile(dir.file("b.inf"));
    EXPECT_TRUE(b.ok());
    EXPECT_EQ(importAutorun(b.text).project, Project{{makeLabel("Ж")}});

    // Files read in many pieces, with characters cut where one piece ends: the text is the whole
    // file's, decoded at once.
    std::mt19937 rng(5);
    for (const std::string mark : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        std::string bytes = mark;
        while (bytes.size() < 300000) {
            bytes += rng() % 2 == 0 ? "shell\\m=Men\xC3\xBA\r\n" : "\xE2\x82\xAC\x9D\r";
            if (rng() % 3 == 0) bytes.push_back(static_cast<char>(rng()));
        }
        test::writeBytes(dir.file("c.inf"), bytes);
        const AutorunSource c = readAutorunFile(dir.file("c.inf"));
        ASSERT_TRUE(c.ok());
        EXPECT_EQ(c.text, text::decode(bytes).text) << mark;
    }
}

// Random projects that keep the order rules: compiled, written as bytes, read and imported, they come
// back whole. Values avoid blanks at their ends (the reader trims them) and names are unique in any
// letter case (the disc does not tell Open from open).
TEST(AutorunRoundTrip, CompiledProjectsImportBackWhole) {
    std::mt19937 rng(20240611);
    const std::vector<std::string> pieces = {"a",   "Z", " ", "=", "\"",      "\\", ";",
                                             "[x]", "ñ", "€", "Ж", "shell\\", "\t"};
    const auto value = [&](std::size_t maxPieces) {
        std::string s;
        const std::size_t n = rng() % (maxPieces + 1);
        for (std::size_t i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
        return text::trim(s);
    };
    for (int round = 0; round < 300; ++round) {
        Project p;
        if (rng() % 2 != 0) p.append(makeRunEntry(value(4), rng() % 2 != 0));
        if (rng() % 2 != 0) p.append(makeIcon(value(3)));
        if (rng() % 2 != 0) p.append(makeLabel(value(3)));
        const std::size_t menus = rng() % 4;
        const std::size_t defaultAt = rng() % 6;
        for (std::size_t m = 0; m < menus; ++m) {
            std::string name = "m" + std::to_string(m) + value(2);
            std::erase_if(name, [](char c) { return c == '=' || c == '\\'; });
            p.append(makeMenu(value(3), value(4), text::trim(name), m == defaultAt));
        }
        const std::string compiled = compileAutorun(p);
        const ImportResult back = importAutorun(text::decode(text::encodeForFile(compiled)).text);
        ASSERT_EQ(back.project, p) << compiled;
        ASSERT_EQ(back.unrecognised, 0U) << compiled;
    }
}

// Each golden case holds an input file, the objects it imports to with the count of unused lines,
// and the bytes that compiling those objects gives.
std::string describe(const ImportResult& r) {
    std::string s;
    for (const ProjectObject& o : r.project.objects) {
        s += std::to_string(static_cast<int>(o.kind)) + "\t" + std::string(o.caption());
        for (const std::string& v : valuesOf(o)) s += "\t[" + v + "]";
        s += "\n";
    }
    return s + "sin reconocer: " + std::to_string(r.unrecognised) + "\n";
}

TEST(AutorunGolden, ImportAndCompileCases) {
    const fs::path root = fs::path(KMR_TEST_DATA_DIR) / "autorun";
    std::size_t seen = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        const fs::path dir = entry.path();
        SCOPED_TRACE(dir.filename().string());
        const ImportResult r = importAutorun(text::decode(test::readBytes(dir / "input.inf")).text);
        EXPECT_EQ(describe(r), test::readBytes(dir / "expected.txt"));
        EXPECT_EQ(text::encodeForFile(compileAutorun(r.project)), test::readBytes(dir / "compiled.inf"));
        ++seen;
    }
    EXPECT_GE(seen, 5U);
}

// Files in a form that Windows would misread are read in their own form and the user is told once;
// what has a mark, or is no well-formed UTF-8, is read as before.
TEST(AutorunImporter, FormsWindowsMisreadsAreReadAsTheyAre) {
    const std::string utf8 = "[autorun]\r\nlabel=Canción\r\n";
    const std::string le = text::toUtf16LeWithBom(utf8).substr(2);
    std::string be = le;
    for (std::size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    const std::string utf16 =
        ", que Windows no leería; se ha leído como tal y al compilar se escribirá en una forma "
        "que Windows lee";
    struct Case {
        const char* name;
        std::string bytes;
        std::string label;
        std::string notice;
    };
    const std::vector<Case> cases = {
        {"Windows-1252", "[autorun]\r\nlabel=Canci\xF3n\r\n", "Canción", ""},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, "Canción", ""},
        {"UTF-16 with its mark", "\xFF\xFE" + le, "Canción", ""},
        {"UTF-8 without a mark", utf8, "Canción",
         "El fichero está en UTF-8, que Windows leería como «CanciÃ³n»; se ha leído como UTF-8 y al compilar se "
         "escribirá para que Windows lea «Canción»"},
        {"UTF-16 without its mark", le, "Canción",
         "El fichero está en UTF-16 little-endian sin marca de orden de bytes" + utf16},
        {"UTF-16 big-endian", "\xFE\xFF" + be, "Canción", "El fichero está en UTF-16 big-endian" + utf16},
        {"UTF-16 big-endian without its mark", be, "Canción", "El fichero está en UTF-16 big-endian" + utf16},
        {"an overlong form is no UTF-8", "[autorun]\nlabel=\xC0\xAF", "À¯", ""},
        {"a surrogate is no UTF-8", "[autorun]\nlabel=\xED\xA0\x80", "í\xC2\xA0€", ""},
        {"a sequence cut short is no UTF-8", "[autorun]\nlabel=Canci\xC3", "CanciÃ", ""},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes(dir.file("autorun.inf"), c.bytes);
        for (const AutorunSource& source : {decodeAutorun(c.bytes), readAutorunFile(dir.file("autorun.inf"))}) {
            EXPECT_EQ(readingNotice(source), c.notice);
            EXPECT_EQ(importAutorun(source.text).project.objects, std::vector<ProjectObject>{makeLabel(c.label)});
        }
    }
    // Compiled, the label is what Windows reads as "Canción".
    EXPECT_EQ(autorunFileBytes(importAutorun(decodeAutorun(utf8).text).project), "[autorun]\r\nlabel=Canci\xF3n\r\n");
}

// Real files that no one here wrote: each imports to a list that keeps the order rules, and its
// compiled form imports back to the same list with nothing left over.
TEST(AutorunCorpus, RealFilesImportAndCompileBack) {
    const fs::path dir = fs::path(KMR_CORPUS_DIR) / "autorun";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    std::size_t files = 0;
    std::size_t menus = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".inf") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const AutorunSource source = readAutorunFile(entry.path().string());
        ASSERT_TRUE(source.ok()) << source.message;
        const ImportResult r = importAutorun(source.text);
        const auto& objects = r.project.objects;
        const auto firstMenu = std::find_if(objects.begin(), objects.end(), [](auto& o) { return isMenu(o.kind); });
        EXPECT_TRUE(std::all_of(firstMenu, objects.end(), [](auto& o) { return isMenu(o.kind); }));
        for (const Kind k : {Kind::RunEntry, Kind::Icon, Kind::Label}) EXPECT_LE(r.project.count(k), 1U);
        const ImportResult back = importAutorun(text::decode(text::encodeForFile(compileAutorun(r.project))).text);
        EXPECT_EQ(back.project, r.project);
        EXPECT_EQ(back.unrecognised, 0U);
        menus += r.project.menuCount();
        ++files;
    }
    EXPECT_GT(files, 0U);
    EXPECT_GT(menus, 0U);
}

// Real files with a header that carries a blank, a first line that is no header at all, or menus written
// with blanks around their '=': what each gives.
TEST(AutorunCorpus, HeadersAndSpacedMenus) {
    const fs::path dir = fs::path(KMR_CORPUS_DIR) / "autorun";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    struct Case {
        const char* file;
        std::vector<std::string> menuNames;
        std::size_t unrecognised;
    };
    const std::vector<Case> cases = {
        {"002.inf", {"open", "opennewwindow", "pintohome"}, 8},  // the other sections' eight lines
        {"027.inf", {"Open"}, 2},
        {"094.inf", {}, 3},
        {"038.inf", {"install", "relnotes"}, 0},
        {"105.inf", {"_TCM"}, 0},
    };
    for (const Case& c : cases) {
        const AutorunSource source = readAutorunFile((dir / c.file).string());
        if (!source.ok()) continue;  // a corpus without this file
        const ImportResult r = importAutorun(source.text);
        std::vector<std::string> names;
        for (const ProjectObject& o : r.project.objects) {
            if (isMenu(o.kind)) names.emplace_back(o.menuName());
        }
        EXPECT_EQ(names, c.menuNames) << c.file;
        EXPECT_EQ(r.unrecognised, c.unrecognised) << c.file;
    }
}

}  // namespace
}  // namespace kmr
