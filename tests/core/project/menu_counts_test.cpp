// Menu counts against what the file holds: a count far beyond the menus the file holds makes a broken
// file that keeps the menus it holds, not a list of empty menus; a few missing menus are read as empty ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "project/profile.h"
#include "project/project_file.h"
#include "support/printers.h"
#include "support/test_files.h"
#include "text/text.h"
#include "wizards/templates.h"

namespace kmr {
namespace {

std::string repeat(std::string_view piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

std::string menuSections(int from, int to) {
    std::string s;
    for (int k = from; k <= to; ++k) s += "[Menu" + std::to_string(k) + "]\nTexto=t\n";
    return s;
}

TEST(MenuCounts, Version2AndTemplates) {
    struct Case {
        const char* name;
        int count;
        std::string body;        // after the count line
        bool broken;             // else `count` menus
        std::size_t filled = 0;  // of which have their section; a broken file keeps only these
    };
    const std::vector<Case> cases = {
        {"missing sections up to 64", 65, menuSections(1, 1) + repeat(";\n", 70), false, 1},
        {"65 missing", 66, menuSections(1, 1) + repeat(";\n", 70), true, 1},
        {"half of them missing", 300, menuSections(1, 150), false, 150},
        {"more than half missing", 301, menuSections(1, 150), true, 150},
        {"sections out of range do not count", 100, menuSections(101, 200) + menuSections(1, 30), true, 30},
        {"sections out of order count", 100, menuSections(31, 100) + menuSections(1, 2) + repeat(";\n", 10), false, 72},
        {"a repeated section counts once", 100, repeat("[menu1]\nTexto=t\n", 40) + repeat("[Menu01]\n", 40), true, 1},
        {"blank lines back nothing", 100000, repeat("\n", 100000), true},
        {"more menus than the file has lines", 9, ";\n;\n;\n", false, 0},
        {"64 missing and none found", 64, "", false, 0},
        {"65 missing and none found", 65, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string count = std::to_string(c.count);
        const ProjectReadResult r = readProjectFile("[Brenlowe KMR File]\nVersion=2.0\nMenus=" + count + "\n" + c.body);
        EXPECT_EQ(r.errors, c.broken);
        EXPECT_EQ(r.project.size(), c.broken ? c.filled : static_cast<std::size_t>(c.count));
        EXPECT_EQ(std::count(r.project.objects.begin(), r.project.objects.end(), makeMenu("t", "", "")), c.filled);

        const auto t =
            readTemplate("[Brenlowe KMR Template]\nVersioMajor=2\nVersioMenor=3\n[ParametresGenerals]\nMenus=" + count +
                             "\n" + c.body,
                         0);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->menus.size(), c.broken ? 0U : static_cast<std::size_t>(c.count));
        // No section holds the template's keys, so every menu takes the defaults.
        const std::array<std::string, 3> defaults = {"Acción", "programa.exe", "NombreInterno"};
        EXPECT_EQ(std::count(t->menus.begin(), t->menus.end(), defaults), static_cast<std::ptrdiff_t>(t->menus.size()));
    }
}

TEST(MenuCounts, Version1EndingEarlyGivesEmptyMenusAsFarAsTheCountIsBacked) {
    const std::string head = "[dantreva kmr file]\nversion=1.0\nprograma=p\nicono=i\n";
    const std::string twoMenus = "menu1.texto=a\nmenu1.comando=b\nmenu1.nombre=c\n\n\nmenu2.texto=d\n";
    struct Case {
        const char* name;
        std::string file;
        bool errors;
        std::size_t menus;
        std::size_t empty;  // menus with no value at all, at the end of the list
    };
    const std::vector<Case> cases = {
        {"count met", head + "menus=2\n" + twoMenus + "menu2.comando=e\nmenu2.nombre=f\n", false, 2, 0},
        {"last menu cut short", head + "menus=2\n" + twoMenus, true, 2, 0},
        {"menus without any line", head + "menus=5\n" + twoMenus + repeat("\r\n", 50), true, 5, 3},
        {"64 missing, none held", head + "menus=64\n", true, 64, 64},
        {"65 missing, none held", head + "menus=65\n", true, 0, 0},
        {"past the bound the menus held stay", head + "menus=67\n" + twoMenus, true, 2, 0},
        {"blank lines back nothing", head + "menus=100000\n" + repeat("\n", 100000), true, 0, 0},
        {"huge count", head + "menus=2147483647\n" + twoMenus, true, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProjectReadResult r = readProjectFile(c.file);
        EXPECT_EQ(r.errors, c.errors);
        ASSERT_EQ(r.project.menuCount(), c.menus);
        const auto& objects = r.project.objects;
        const auto empty =
            static_cast<std::size_t>(std::find_if(objects.rbegin(), objects.rend(),
                                                  [](const ProjectObject& o) { return o != makeMenu("", "", ""); }) -
                                     objects.rbegin());
        EXPECT_EQ(empty, c.empty);
    }
}

// The reader goes through a file once, in file order; what it makes of any layout is what the
// look-up rules give: the first section of a name, the first line of a key.
TEST(ProjectReader, OnePassAgreesWithTheLookUps) {
    const auto byLookUps = [](const std::string& bytes) {
        const ProfileFile f(text::decode(bytes).text);
        ProjectReadResult r;
        const auto g = f.section("Brenlowe KMR File");
        r.versionOk = g && g->lookup("Version") == "2.0";
        if (!g) return r;
        if (auto v = g->lookup("Programa"); !v.empty()) r.project.append(makeProgram(v));
        if (auto v = g->lookup("Ejecutar"); !v.empty()) r.project.append(makeResource(v));
        if (auto v = g->lookup("Icono"); !v.empty()) r.project.append(makeIcon(v));
        if (auto v = g->lookup("Etiqueta"); !v.empty()) r.project.append(makeLabel(v));
        const std::int32_t defaultMenu = g->lookupInt("Predeterminado");
        const std::int32_t menus = g->lookupInt("Menus");
        const auto numbered = f.numberedSections("Menu", menus);
        r.errors = !numbered.backed;
        const auto append = [&](std::int32_t k) {
            const std::string name = "Menu" + std::to_string(k);
            r.project.append(makeMenu(f.lookup(name, "Texto"), f.lookup(name, "Comando"), f.lookup(name, "Nombre"),
                                      k == defaultMenu));
        };
        // Past the bound, only the sections that are there.
        for (const auto& [k, section] : numbered.sections) {
            if (!numbered.backed) append(k);
        }
        for (std::int32_t k = 1; numbered.backed && k <= menus; ++k) append(k);
        return r;
    };
    const std::vector<std::string> pool = {"[Brenlowe KMR File]",
                                           " [brenlowe kmr FILE] x",
                                           "Version=2.0",
                                           "Version = 2.0 ",
                                           "Menus=3",
                                           "Menus=70",
                                           "Menus=-1",
                                           "Menus=0x2",
                                           "Predeterminado=2",
                                           "Programa=a",
                                           "Etiqueta= \"q\" ",
                                           "Icono=\xE9\xED\xA0\x80",
                                           "[Menu1]",
                                           "[Menu2]",
                                           "[menu3",
                                           "[Menu01]",
                                           "[Menu 2]",
                                           "Texto=t\xE9",
                                           "texto = u",
                                           "Comando=c",
                                           "NOMBRE=n",
                                           "",
                                           ";Texto=no",
                                           "x",
                                           "[Otra]",
                                           "=",
                                           "Texto"};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    std::mt19937 rng(2026);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = rng() % 4 == 0 ? "\xEF\xBB\xBF" : "";
        const int lines = static_cast<int>(rng() % 30);
        for (int i = 0; i < lines; ++i) bytes += pool[rng() % pool.size()] + ends[rng() % ends.size()];
        const ProjectReadResult got = readProjectFile(bytes);
        const ProjectReadResult want = byLookUps(bytes);
        ASSERT_EQ(got.project, want.project) << bytes;
        ASSERT_EQ(got.versionOk, want.versionOk) << bytes;
        ASSERT_EQ(got.errors, want.errors) << bytes;
    }
}

// Read from its path, a file's bytes are handed back as they are used; a layout that needs the
// second reader reads them again, and both roads give what the bytes give.
TEST(ProjectReader, FromThePathAsFromTheBytes) {
    test::TempDir dir;
    std::string inOrder = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=40000\r\nPredeterminado=7\r\n";
    std::string moved;
    for (int k = 1; k <= 40000; ++k) {
        const std::string section = "\r\n[Menu" + std::to_string(k) + "]\r\nTexto=Men\xFA " + std::to_string(k) +
                                    "\r\nComando=c\r\nNombre=n" + std::to_string(k) + "\r\n";
        inOrder += section;
        if (k == 30000) moved = section;  // taken out of its place below, after a few megabytes
    }
    std::string outOfOrder = inOrder;
    outOfOrder.erase(outOfOrder.find(moved), moved.size());
    outOfOrder += moved;
    for (const std::string& bytes : {inOrder, outOfOrder, "\xEF\xBB\xBF" + outOfOrder}) {
        test::writeBytes(dir.file("p.kmr"), bytes);
        const ProjectFileRead got = readProjectPath(dir.file("p.kmr"));
        ASSERT_TRUE(got.ok()) << got.message;
        const ProjectReadResult want = readProjectFile(bytes);
        ASSERT_EQ(want.project.size(), 40000U);
        ASSERT_EQ(got.read.project.size(), want.project.size());
        for (std::size_t i = 0; i < want.project.size(); ++i)
            ASSERT_EQ(got.read.project.objects[i], want.project.objects[i]) << i;
        EXPECT_EQ(got.read.project.objects[29999], makeMenu("Menú 30000", "c", "n30000"));
    }
    EXPECT_EQ(readProjectPath(dir.file("missing.kmr")).message,
              dir.file("missing.kmr") + ": No existe el fichero o la carpeta");
}

}  // namespace
}  // namespace kmr
