#include "project/project_file.h"

#include <gtest/gtest.h>

#include <random>

#include "support/printers.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr {
namespace {

using test::crlf;

Project exampleProject() {
    Project p;
    p.append(makeProgram("setup.exe"));
    p.append(makeIcon("disco.ico"));
    p.append(makeLabel("MiCD"));
    p.append(makeMenu("Instalar", "setup.exe", "instalar", true));
    p.append(makeMenu("Leeme", "notepad leeme.txt", "leeme"));
    return p;
}

const std::string kExampleFile =
    crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe", "Icono=disco.ico", "Etiqueta=MiCD", "Menus=2",
          "Predeterminado=1", "", "[Menu1]", "Texto=Instalar", "Comando=setup.exe", "Nombre=instalar", "", "[Menu2]",
          "Texto=Leeme", "Comando=notepad leeme.txt", "Nombre=leeme"});

TEST(ProjectWriter, WorkedExampleByteForByte) { EXPECT_EQ(projectFileBytes(exampleProject()), kExampleFile); }

TEST(ProjectWriter, OddListsAreWrittenAsTheyAre) {
    struct Case {
        const char* name;
        Project project;
        std::string bytes;
    };
    Project twoRuns;
    twoRuns.append(makeProgram("a.exe"));
    twoRuns.append(makeResource("b.html"));
    Project twoDefaults;
    twoDefaults.append(makeLabel("L"));
    twoDefaults.append(makeMenu("x", "1", "a", true));
    twoDefaults.append(makeMenu("y", "2", "b"));
    twoDefaults.append(makeMenu("z", "3", "c", true));
    Project noMenus;
    noMenus.append(makeResource("docs\\i.html"));
    Project menuBeforeIcon;  // only possible by hand; the walk still follows its rules
    menuBeforeIcon.append(makeMenu("m", "c", "n"));
    menuBeforeIcon.append(makeIcon("i.ico"));
    menuBeforeIcon.append(makeMenu("o", "d", "p"));
    const std::vector<Case> cases = {
        {"two run entries", twoRuns, crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=a.exe", "Ejecutar=b.html"})},
        {"two defaults", twoDefaults,
         crlf({"[Brenlowe KMR File]",
               "Version=2.0",
               "Etiqueta=L",
               "Menus=3",
               "Predeterminado=1",
               "Predeterminado=3",
               "",
               "[Menu1]",
               "Texto=x",
               "Comando=1",
               "Nombre=a",
               "",
               "[Menu2]",
               "Texto=y",
               "Comando=2",
               "Nombre=b",
               "",
               "[Menu3]",
               "Texto=z",
               "Comando=3",
               "Nombre=c"})},
        {"no menus", noMenus, crlf({"[Brenlowe KMR File]", "Version=2.0", "Ejecutar=docs\\i.html"})},
        {"menu before icon", menuBeforeIcon,
         crlf({"[Brenlowe KMR File]", "Version=2.0", "Menus=3", "", "[Menu1]", "Texto=m", "Comando=c", "Nombre=n",
               "Icono=i.ico", "", "[Menu2]", "Texto=o", "Comando=d", "Nombre=p"})},
        {"empty project", Project{}, crlf({"[Brenlowe KMR File]", "Version=2.0"})},
    };
    for (const auto& c : cases) EXPECT_EQ(projectFileBytes(c.project), c.bytes) << c.name;
}

TEST(ProjectWriter, ValuesTheReaderWouldChangeGetOneExtraPairOfQuotes) {
    struct Case {
        std::string value;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {"a \"b\" c", "a \"b\" c"},
        {"\"C:\\Program Files\\x.exe\"", "\"\"C:\\Program Files\\x.exe\"\""},
        {"'x'", "\"'x'\""},
        {" lead", "\" lead\""},
        {"trail\t", "\"trail\t\""},
        {"\"", "\""},
        {"\"x'", "\"x'"},
        {"", ""},
        {"a=b", "a=b"},
    };
    for (const auto& c : cases) {
        Project p;
        p.append(makeLabel(c.value));
        // An empty value is kept among the disc settings too (KeptEntries.EmptyValuesSurviveTheProjectFile).
        const std::string written = projectV2Text(p);
        const std::string general = crlf({"[Brenlowe KMR File]", "Version=2.0"}) + "Etiqueta=" + c.written + "\r\n";
        EXPECT_EQ(c.value.empty() ? written.substr(0, general.size()) : written, general) << c.value;
    }
}

TEST(ProjectWriter, TextOutsideTheCodePageMakesAUtf16File) {
    Project p;
    p.append(makeLabel("Диск"));
    const std::string bytes = projectFileBytes(p);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(readProjectFile(bytes).project, p);
    Project latin;
    latin.append(makeLabel("Año €"));
    EXPECT_EQ(projectFileBytes(latin).substr(34), "Etiqueta=A\xF1o \x80\r\n");
}

TEST(ProjectReader, WorkedExample) {
    const ProjectReadResult r = readProjectFile(kExampleFile);
    EXPECT_EQ(r.format, ProjectFormat::Version2);
    EXPECT_TRUE(r.versionOk);
    EXPECT_FALSE(r.errors);
    EXPECT_EQ(r.project, exampleProject());
}

TEST(ProjectReader, Cases) {
    struct Case {
        const char* name;
        std::string file;
        bool versionOk;
        std::vector<ProjectObject> objects;
    };
    const std::vector<Case> cases = {
        {"fixed order whatever the line order",
         "\n\n[Menu1]\nTexto=t\nComando=c\nNombre=n\n[brenlowe kmr file]\nMenus=1\nEtiqueta=L\nIcono=I\n"
         "Ejecutar=R\nPrograma=P\nversion=2.0\n",
         true,
         {makeProgram("P"), makeResource("R"), makeIcon("I"), makeLabel("L"), makeMenu("t", "c", "n")}},
        {"other version still read", "[Brenlowe KMR File]\nVersion=2.1\nEtiqueta=x\n", false, {makeLabel("x")}},
        {"no version", "[Brenlowe KMR File]\nEtiqueta=x\n", false, {makeLabel("x")}},
        {"nothing at all", "", false, {}},
        {"blanks and enclosing quotes lost, inner quotes kept",
         "[Brenlowe KMR File]\nVersion=2.0\nPrograma= \"a b\" \nEtiqueta=x \"y\"\n",
         true,
         {makeProgram("a b"), makeLabel("x \"y\"")}},
        {"empty values make no object",
         "[Brenlowe KMR File]\nVersion=2.0\nPrograma=\nIcono=  \nEtiqueta=\"\"\n",
         true,
         {}},
        {"more menus than sections",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=2\n[Menu1]\nTexto=a\n",
         true,
         {makeMenu("a", "", ""), makeMenu("", "", "")}},
        {"default out of range",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=1\nPredeterminado=2\n[Menu1]\nTexto=a\n",
         true,
         {makeMenu("a", "", "")}},
        {"two default lines: the first counts",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=2\nPredeterminado=2\nPredeterminado=1\n[Menu1]\nTexto=a\n[Menu2]\n"
         "Texto=b\n",
         true,
         {makeMenu("a", "", ""), makeMenu("b", "", "", true)}},
        {"hexadecimal count",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=0x1\n[Menu1]\nTexto=a\n",
         true,
         {makeMenu("a", "", "")}},
        {"negative count", "[Brenlowe KMR File]\nVersion=2.0\nMenus=-1\n[Menu1]\nTexto=a\n", true, {}},
        {"count that is no number", "[Brenlowe KMR File]\nVersion=2.0\nMenus=dos\n[Menu1]\nTexto=a\n", true, {}},
        {"count larger than the file keeps the sections it holds",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=2000000000\nPredeterminado=3\n[Menu3]\nTexto=c\n[Menu1]\nTexto=a\n",
         true,
         {makeMenu("a", "", ""), makeMenu("c", "", "", true)}},
        {"count beyond the bound, sections in order",
         "[Brenlowe KMR File]\nVersion=2.0\nMenus=100\nPredeterminado=2\n[Menu1]\nTexto=a\n[Menu2]\nTexto=b\n",
         true,
         {makeMenu("a", "", ""), makeMenu("b", "", "", true)}},
        {"control characters stay in a value",
         "[Brenlowe KMR File]\nVersion=2.0\nPrograma=\x01a.exe\x0b\n",
         true,
         {makeProgram("\x01a.exe\x0b")}},
        {"value with equals signs",
         "[Brenlowe KMR File]\nVersion=2.0\nPrograma=a.exe /x=1\n",
         true,
         {makeProgram("a.exe /x=1")}},
        {"version line with a leading blank is still version 2", " [dantreva kmr file]\n", false, {}},
    };
    for (const auto& c : cases) {
        const ProjectReadResult r = readProjectFile(c.file);
        EXPECT_EQ(r.format, ProjectFormat::Version2) << c.name;
        EXPECT_EQ(r.versionOk, c.versionOk) << c.name;
        EXPECT_EQ(r.project.objects, c.objects) << c.name;
    }
}

// A file laid out as the writer lays it out is read in one pass; any other layout goes to the
// general reader. Both must take the same keys from the same lines.
TEST(ProjectReader, OnePassAndGeneralReaderTakeTheSameKeys) {
    const char* lines[] = {"Texto=a",     "texto = a",  " TEXTO\t= a ", "Texto x=a",   "Textos=a", "Texto",
                           ";Texto=a",    "Texto==a",   "Tex=to=a",     "Texto=\"a\"", "=Texto",   "Texto\x01=a",
                           "Comando=c=d", "NOMBRE =n ", "Nombre",       "[Texto=a",    "Text=a",   "Texto=á"};
    for (const char* line : lines) {
        const std::string menu = std::string("[Menu1]\r\n") + line + "\r\nTexto=second\r\n";
        const std::string general = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=1\r\n";
        const ProjectReadResult inOrder = readProjectFile(general + menu);
        const ProjectReadResult other = readProjectFile(menu + general);  // a menu before the count
        EXPECT_EQ(inOrder.project, other.project) << line;
        EXPECT_EQ(inOrder.errors, other.errors) << line;
    }
}

TEST(ProjectReader, Version1Cases) {
    struct Case {
        const char* name;
        std::string file;
        bool errors;
        std::vector<ProjectObject> objects;
    };
    const auto menu = [](const char* t, const char* c, const char* n) { return makeMenu(t, c, n); };
    const std::vector<Case> cases = {
        {"well formed, no menus",
         crlf({"[dantreva kmr file]", "version=1.0", "programa=setup.exe", "icono=a.ico", "menus=0"}),
         false,
         {makeProgram("setup.exe"), makeIcon("a.ico")}},
        {"keys in any case, values kept with blanks",
         crlf({"[DANTREVA KMR FILE]", "VERSION=1.0", "PROGRAMA= Setup.EXE ", "Icono=", "Menus=1", "MENU1.TEXTO=Uno ",
               "menu1.comando=a.exe", "menu1.nombre=uno"}),
         false,
         {makeProgram(" Setup.EXE "), makeIcon(""), menu("Uno ", "a.exe", "uno")}},
        {"empty lines skipped after the version line",
         "[dantreva kmr "
         "file]\nversion=1.0\n\n\nprograma=p\n\nicono=i\n\n\nmenus=1\n\nmenu1.texto=t\n\nmenu1.comando=c\n"
         "\nmenu1.nombre=n\n",
         false,
         {makeProgram("p"), makeIcon("i"), menu("t", "c", "n")}},
        {"empty line before the version line",
         crlf({"[dantreva kmr file]", "", "version=1.0", "programa=p", "icono=i", "menus=0"}),
         true,
         {}},  // every later line is read one place too early
        {"blank before programa",
         crlf({"[dantreva kmr file]", "version=1.0", " programa=p", "icono=i", "menus=0"}),
         true,
         {makeIcon("i")}},
        {"values by position whatever the key says",
         crlf({"[dantreva kmr file]", "version=1.0", "programa=p", "icono=i", "menus=1", "menu1.texto=t",
               "menu1.comandx=c", "menu1.nombre=n"}),
         true,
         {makeProgram("p"), makeIcon("i"), menu("t", "c", "n")}},
        {"file ending early: the remaining menus are empty",
         crlf({"[dantreva kmr file]", "version=1.0", "programa=p", "icono=i", "menus=2", "menu1.texto=t"}),
         true,
         {makeProgram("p"), makeIcon("i"), menu("t", "", ""), menu("", "", "")}},
        {"count that is no number",
         crlf({"[dantreva kmr file]", "version=1.0", "programa=p", "icono=i", "menus=x", "menu1.texto=t",
               "menu1.comando=c", "menu1.nombre=n"}),
         true,
         {makeProgram("p"), makeIcon("i")}},
        {"huge count",
         crlf({"[dantreva kmr file]", "version=1.0", "programa=p", "icono=i", "menus=2000000000"}),
         true,
         {makeProgram("p"), makeIcon("i")}},
        {"missing programa line shifts the rest",
         crlf({"[dantreva kmr file]", "version=1.0", "icono=i", "menus=0"}),
         true,
         {}},
        {"Windows-1252 letters",
         "[dantreva kmr file]\r\nversion=1.0\r\nprograma=a\xF1o.exe\r\nicono=\r\nmenus=0\r\n",
         false,
         {makeProgram("año.exe"), makeIcon("")}},
    };
    for (const auto& c : cases) {
        const ProjectReadResult r = readProjectFile(c.file);
        EXPECT_EQ(r.format, ProjectFormat::Version1) << c.name;
        EXPECT_EQ(r.errors, c.errors) << c.name;
        EXPECT_EQ(r.project.objects, c.objects) << c.name;
    }
}

TEST(ProjectReader, Version1KeyLengthFollowsEachMenusOwnDigits) {
    std::string file = crlf({"[dantreva kmr file]", "version=1.0", "programa=p", "icono=i", "menus=11"});
    for (int k = 1; k <= 11; ++k) {
        const std::string n = std::to_string(k);
        file +=
            "menu" + n + ".texto=T" + n + "\r\nmenu" + n + ".comando=C" + n + "\r\nmenu" + n + ".nombre=N" + n + "\r\n";
    }
    const ProjectReadResult r = readProjectFile(file);
    EXPECT_FALSE(r.errors);
    ASSERT_EQ(r.project.size(), 13U);
    EXPECT_EQ(r.project.objects[11], makeMenu("T10", "C10", "N10"));
    EXPECT_EQ(r.project.objects[12], makeMenu("T11", "C11", "N11"));
}

TEST(ProjectFormatDetection, FirstLineOnly) {
    struct Case {
        std::string text;
        ProjectFormat format;
    };
    const std::vector<Case> cases = {
        {"[dantreva kmr file]", ProjectFormat::Version1},
        {"[DanTreva KMR File]\r\nx", ProjectFormat::Version1},
        {"[dantreva kmr file]\rversion=1.0", ProjectFormat::Version1},
        {" [dantreva kmr file]", ProjectFormat::Version2},
        {"[dantreva kmr file] ", ProjectFormat::Version2},
        {"\n[dantreva kmr file]", ProjectFormat::Version2},
        {"[Brenlowe KMR File]", ProjectFormat::Version2},
    };
    for (const auto& c : cases) EXPECT_EQ(detectProjectFormat(c.text), c.format) << c.text;
}

// Random projects survive a save and an open exactly: values with blanks at their ends, quotes,
// equals signs, Windows-1252 letters and letters outside Windows-1252.
TEST(ProjectRoundTrip, RandomProjects) {
    const std::vector<std::string> pieces = {"a", "Z", " ", "\t", "\"", "'",  "=",  ";",   "[",   "]",
                                             "ñ", "€", "ÿ", "Б",  "😀",  "\\", "%1", "x y", "\x01"};
    std::mt19937 rng(20261207);
    const auto randomValue = [&](bool nonEmpty) {
        std::string v;
        const std::size_t n = std::uniform_int_distribution<std::size_t>(nonEmpty ? 1 : 0, 8)(rng);
        for (std::size_t i = 0; i < n; ++i) v += pieces[rng() % pieces.size()];
        return v;
    };
    for (int round = 0; round < 500; ++round) {
        Project p;
        if (rng() % 2) p.append(makeRunEntry(randomValue(true), rng() % 2 == 0));
        if (rng() % 2) p.append(makeIcon(randomValue(true)));
        if (rng() % 2) p.append(makeLabel(randomValue(true)));
        const std::size_t menus = rng() % 4;
        const std::size_t defaultAt = rng() % 5;
        for (std::size_t m = 0; m < menus; ++m) {
            p.append(makeMenu(randomValue(false), randomValue(false), randomValue(false), m == defaultAt));
        }
        const std::string bytes = projectFileBytes(p);
        const ProjectReadResult r = readProjectFile(bytes);
        ASSERT_TRUE(r.versionOk);
        ASSERT_EQ(r.project, p) << text::decode(bytes).text;
        ASSERT_EQ(projectFileBytes(r.project), bytes);
    }
}

// Written piece by piece, the file is byte for byte what encoding the whole text gives.
TEST(ProjectWriter, PiecesMakeTheSameFile) {
    const std::vector<std::string> values = {"a", "ñ€", "Б", " x ", "\"q\"", ""};
    std::mt19937 rng(9);
    for (int round = 0; round < 300; ++round) {
        Project p;
        if (rng() % 2) p.append(makeRunEntry(values[rng() % 3], rng() % 2 == 0));
        if (rng() % 2) p.append(makeLabel(values[rng() % values.size()]));
        if (rng() % 4 == 0) p.append(ProjectObject{"Ejecutar otra cosa", Kind::RunEntry, {"Б"}});  // written as nothing
        const int menus = round % 50 == 0 ? 3000 : static_cast<int>(rng() % 4);
        for (int k = 0; k < menus; ++k) {
            p.append(
                makeMenu(values[rng() % 3] + std::to_string(k), values[rng() % values.size()], "m", rng() % 5 == 0));
        }
        std::string pieces;
        projectFileBytes(p, [&](std::string_view piece) {
            pieces.append(piece);
            return true;
        });
        ASSERT_EQ(pieces, projectFileBytes(p));
    }
}

TEST(ProjectRoundTrip, LongValuesUpToTheCut) {
    Project p;
    p.append(makeLabel(" " + std::string(2045, 'x')));  // 2046 characters and one pair of quotes around them
    p.append(makeMenu(std::string(2047, 'y'), "c", "n"));
    EXPECT_EQ(readProjectFile(projectFileBytes(p)).project, p);
}

TEST(ProjectFile, DiscFolderHasKeysOfItsOwnInTheMainSection) {
    struct Case {
        const char* name;
        DiscTarget disc;
        std::vector<const char*> lines;  // what follows "Version=2.0"
    };
    const std::vector<Case> cases = {
        {"cd", {"/media/cd/disco", Medium::CdDvd}, {"Disco=/media/cd/disco", "Soporte=CD/DVD"}},
        {"usb", {"../usb", Medium::Usb}, {"Disco=../usb", "Soporte=USB"}},
        {"blanks kept", {" disco ", Medium::Usb}, {"Disco=\" disco \"", "Soporte=USB"}},
        {"medium without a folder is not written", {"", Medium::Usb}, {}},
    };
    for (const auto& c : cases) {
        Project p = exampleProject();
        p.disc = c.disc;
        std::string expected = crlf({"[Brenlowe KMR File]", "Version=2.0"});
        for (const char* l : c.lines) expected.append(l).append("\r\n");
        expected += kExampleFile.substr(crlf({"[Brenlowe KMR File]", "Version=2.0"}).size());
        EXPECT_EQ(projectFileBytes(p), expected) << c.name;
        const ProjectReadResult r = readProjectFile(expected);
        EXPECT_EQ(r.project.objects, exampleProject().objects) << c.name;
        EXPECT_EQ(r.project.disc, c.disc.folder.empty() ? DiscTarget{} : c.disc) << c.name;
    }
    // Anywhere in the main section, in any letter case; an unknown medium is a CD.
    const std::string moved = crlf({"[Brenlowe KMR File]", "Version=2.0", "Etiqueta=L", "SOPORTE = usb", "disco=d"});
    EXPECT_EQ(readProjectFile(moved).project.disc, (DiscTarget{"d", Medium::Usb}));
    EXPECT_EQ(readProjectFile(crlf({"[Brenlowe KMR File]", "Disco=d", "Soporte=disquete"})).project.disc,
              (DiscTarget{"d", Medium::CdDvd}));
}

}  // namespace
}  // namespace kmr
