#include "disc/disc_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "autorun/compiler.h"
#include "disc/disc_files.h"
#include "support/pe_builder.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

const std::string kIco = test::buildIco({"img"});
const std::string kProgram =
    test::buildPe({{"", 1, {1}}, {"", 7, {2}}}, {{1, "uno"}, {2, "dos"}});  // two icons, ids 1 and 7

// The project every case starts from: nothing in it is wrong on the clean disc below.
Project cleanProject() {
    Project p;
    p.append(makeProgram("setup.exe"));
    p.append(makeIcon("disco.ico"));
    p.append(makeLabel("MiCD"));
    p.append(makeMenu("Leeme", "notepad leeme.txt", "leeme"));
    p.append(makeMenu("Web", "explorer \"%1\\docs\\index.html\"", "web"));
    return p;
}

using Files = std::map<std::string, std::string>;
const Files kCleanDisc = {
    {"setup.exe", kProgram}, {"disco.ico", kIco}, {"leeme.txt", "hola"}, {"docs/index.html", "<html>"}};

struct Case {
    const char* name;
    std::function<void(Project&, Files&)> change;
    std::vector<std::string_view> keys;  // the whole report, conflict findings first
    std::string mention;                 // a text the first disc finding's explanation (either line) holds
};

void setValue(Project& p, std::size_t i, std::size_t value, std::string v) {
    if (value == 0)
        setFirstValue(p.objects.at(i), std::move(v));
    else
        p.objects.at(i).setValue(value, v);
}

TEST(DiscCheck, EachFolderRaisesItsFindings) {
    const std::vector<Case> cases = {
        {"clean", [](Project&, Files&) {}, {}, ""},
        {"letter case ignored",
         [](Project&, Files& f) {
             f = {{"SETUP.EXE", kProgram}, {"Disco.Ico", kIco}};
         },
         {},
         ""},
        {"folders and dots inside the disc",
         [](Project& p, Files& f) {
             setValue(p, 1, 0, "\\Iconos\\..\\..\\iconos\\.\\disco.ico");
             f["ICONOS/disco.ico"] = kIco;
         },
         {},
         ""},
        {"program without extension is tried with .exe",
         [](Project& p, Files&) { setValue(p, 0, 0, "setup"); },
         {},
         ""},
        {"system programs",
         [](Project& p, Files&) {
             setValue(p, 3, 1, "NOTEPAD.EXE leeme.txt");
             p.append(makeMenu("a", "cmd /c start leeme.txt", "a"));
             p.append(makeMenu("b", "cmd /c dir", "b"));
             p.append(makeMenu("c", "explorer", "c"));
         },
         {},
         ""},
        {"order of the command interpreter",
         [](Project& p, Files&) { p.append(makeMenu("a", "start leeme.txt", "a")); },
         {"interpreter-command"},
         "por ejemplo: cmd /c start leeme.txt"},
        {"start gives a quoted file a title before it",
         [](Project& p, Files&) { p.append(makeMenu("a", "START \"docs\\index.html\"", "a")); },
         {"interpreter-command"},
         "por ejemplo: cmd /c START \"\" \"docs\\index.html\""},
        {"order as the run entry",
         [](Project& p, Files&) { setValue(p, 0, 0, "Dir /s"); },
         {"interpreter-command"},
         "El programa o recurso a ejecutar empieza por \"Dir\", que es una orden del intérprete de comandos"},
        {"a program of that name on the disc",
         [](Project& p, Files& f) {
             p.append(makeMenu("a", "copy leeme.txt", "a"));
             f["COPY.EXE"] = kProgram;
         },
         {},
         ""},
        {"an order's name with an extension is a program",
         [](Project& p, Files&) { p.append(makeMenu("a", "start.exe leeme.txt", "a")); },
         {"missing-file"},
         "\"start.exe\""},
        {"quoted path with blanks",
         [](Project& p, Files& f) {
             setValue(p, 0, 0, "\"programas\\mi setup.exe\" /s");
             f["Programas/Mi Setup.exe"] = kProgram;
         },
         {},
         ""},
        {"unquoted path with blanks, as Windows tries it",
         [](Project& p, Files& f) {
             setValue(p, 0, 0, "mi programa.exe /s");
             f["mi programa.exe"] = kProgram;
         },
         {},
         ""},
        {"root of the disc and system folders in menu commands",
         [](Project& p, Files&) {
             setValue(p, 3, 1, "\"%1\\SETUP.exe\" /x");
             setValue(p, 4, 1, "%windir%\\notepad.exe leeme.txt");
         },
         {},
         ""},
        {"missing program under the root of the disc",
         [](Project& p, Files&) { setValue(p, 3, 1, "\"%1\\otro.exe\""); },
         {"missing-file"},
         "\"\\otro.exe\""},
        {"missing program", [](Project&, Files& f) { f.erase("setup.exe"); }, {"missing-file"}, "\"setup.exe\""},
        {"missing icon", [](Project&, Files& f) { f.erase("disco.ico"); }, {"missing-file"}, "El icono"},
        {"missing menu program",
         [](Project& p, Files&) { setValue(p, 4, 1, "herramientas\\util.exe /x"); },
         {"missing-file"},
         "El comando del menú \"Web\" hace referencia a \"herramientas\\util.exe\""},
        {"missing quoted program",
         [](Project& p, Files&) { setValue(p, 0, 0, "\"mi setup.exe\" /s"); },
         {"missing-file"},
         "\"mi setup.exe\""},
        {"drive path already said by the conflict check",
         [](Project& p, Files&) { setValue(p, 0, 0, "C:\\setup.exe"); },
         {"run-drive-reference"},
         ""},
        {"quoted drive path",
         [](Project& p, Files&) { setValue(p, 4, 1, "\"D:\\Archivos de programa\\x.exe\""); },
         {"absolute-path"},
         "\"D:\\Archivos de programa\\x.exe\""},
        {"drive path as an argument",
         [](Project& p, Files&) { setValue(p, 3, 1, "notepad e:/leeme.txt"); },
         {"absolute-path"},
         "\"e:/leeme.txt\""},
        {"network path",
         [](Project& p, Files&) { setValue(p, 0, 0, "\\\\servidor\\cd\\setup.exe"); },
         {"absolute-path"},
         "\"\\\\servidor\\cd\\setup.exe\""},
        {"document as program",
         [](Project& p, Files&) { setValue(p, 0, 0, "leeme.txt"); },
         {"document-as-program"},
         "\"leeme.txt\", que es un documento"},
        {"web page as menu program",
         [](Project& p, Files&) { setValue(p, 4, 1, "docs\\index.html"); },
         {"document-as-program"},
         "una página web"},
        {"address as program",
         [](Project& p, Files&) { setValue(p, 0, 0, "http://www.ejemplo.es"); },
         {"document-as-program"},
         "\"http://www.ejemplo.es\""},
        {"missing document as program",
         [](Project& p, Files&) { setValue(p, 0, 0, "manual ahora.pdf"); },
         {"missing-file", "document-as-program"},
         "\"manual ahora.pdf\""},
        {"document with blanks as menu program",
         [](Project& p, Files& f) {
             setValue(p, 4, 1, "Manual de uso.PDF");
             f["manual de uso.pdf"] = "%PDF";
         },
         {"document-as-program"},
         "por ejemplo: explorer \"Manual de uso.PDF\""},
        {"document as resource",
         [](Project& p, Files&) { p.objects[0] = makeResource("docs\\INDEX.html"); },
         {"xp-only-resource"},
         ""},
        {"address as resource",
         [](Project& p, Files&) { p.objects[0] = makeResource("www.ejemplo.es"); },
         {"xp-only-resource"},
         ""},
        {"missing resource",
         [](Project& p, Files&) { p.objects[0] = makeResource("docs\\otro.html"); },
         {"xp-only-resource", "missing-file"},
         "\"docs\\otro.html\""},
        {"icon that is no icon",
         [](Project&, Files& f) { f["disco.ico"] = "GIF89a"; },
         {"not-an-icon"},
         "\"disco.ico\""},
        {"icon of a program by position and by id",
         [](Project& p, Files&) {
             setValue(p, 1, 0, "setup.exe,1");
             p.append(makeMenu("x", "setup.exe", "x"));
         },
         {},
         ""},
        {"icon id", [](Project& p, Files&) { setValue(p, 1, 0, "SETUP.EXE, -7"); }, {}, ""},
        {"icon number past the program's icons",
         [](Project& p, Files&) { setValue(p, 1, 0, "setup.exe,2"); },
         {"icon-number-past-end"},
         "solo contiene 2 iconos"},
        {"icon id the program lacks",
         [](Project& p, Files&) { setValue(p, 1, 0, "setup.exe,-2"); },
         {"icon-number-past-end"},
         "el número -2"},
        {"an .ico holds one icon",
         [](Project& p, Files&) { setValue(p, 1, 0, "disco.ico,1"); },
         {"icon-number-past-end"},
         "solo contiene un icono"},
        {"program without icons",
         [](Project& p, Files& f) {
             setValue(p, 1, 0, "setup.exe");
             f["setup.exe"] = test::buildPe({}, {});
         },
         {"icon-number-past-end"},
         "no contiene ningún icono"},
        {"old program",
         [](Project& p, Files& f) {
             setValue(p, 1, 0, "viejo.exe");
             f["viejo.exe"] = "MZ" + std::string(80, '\0');
         },
         {"unreadable-icon"},
         "\"viejo.exe\""},
        {"menu names differing in case",
         [](Project& p, Files&) { setValue(p, 4, 2, "LeeMe"); },
         {"menu-names-clash"},
         "\"leeme\" y \"LeeMe\""},
        {"names that break the key",
         [](Project& p, Files&) {
             setValue(p, 3, 2, "a\\b");
             setValue(p, 4, 2, "a=b");
             p.append(makeMenu("c", "explorer", " c"));
             p.append(makeMenu("d", "explorer", ""));
         },
         {"bad-menu-name", "bad-menu-name", "bad-menu-name", "bad-menu-name"},
         "shell\\a\\b\\command"},
        {"blanks Windows drops",
         [](Project& p, Files&) {
             setValue(p, 2, 0, " MiCD");
             setValue(p, 3, 0, "Leeme\t");
         },
         {"blanks-dropped", "blanks-dropped"},
         "La etiqueta \" MiCD\""},
        {"autorun.inf of the project",
         [](Project& p, Files& f) { f["AUTORUN.INF"] = text::encodeForFile(compileAutorun(p)); },
         {},
         ""},
        {"autorun.inf of the project in UTF-8 without a mark",
         [](Project& p, Files& f) {
             setValue(p, 2, 0, "Canción");
             f["autorun.inf"] = compileAutorun(p);
         },
         {"autorun-misread"},
         "está en UTF-8, que Windows leerá como «CanciÃ³n» en lugar de «Canción»."},
        {"autorun.inf of another project",
         [](Project&, Files& f) { f["Autorun.inf"] = "[autorun]\r\nopen=x.exe\r\n"; },
         {"autorun-differs"},
         "\"Autorun.inf\""},
        {"usb drive",
         [](Project& p, Files&) { p.disc.medium = Medium::Usb; },
         {"usb-ignores-entries"},
         "Se ignorarán: open, shell\\leeme, shell\\web."},
        {"usb drive showing only icon and label",
         [](Project& p, Files&) {
             p.disc.medium = Medium::Usb;
             p.objects.erase(p.objects.begin() + 3, p.objects.end());
             p.objects.erase(p.objects.begin());
         },
         {"no-resource"},
         ""},
        {"folder missing", [](Project& p, Files&) { p.disc.folder += "/no-existe"; }, {"folder-missing"}, "no-existe"},
    };
    for (const Case& c : cases) {
        const test::TempDir dir;
        Project project = cleanProject();
        project.disc.folder = dir.path().string();
        Files files = kCleanDisc;
        c.change(project, files);
        for (const auto& [path, bytes] : files) {
            std::filesystem::create_directories((dir.path() / path).parent_path());
            test::writeBytes(dir.path() / path, bytes);
        }
        const std::vector<CheckItem> items = checkProjectOnDisc(project, project.disc);
        std::vector<std::string_view> keys;
        for (const CheckItem& i : items) keys.push_back(i.key);
        EXPECT_EQ(keys, c.keys) << c.name;
        if (c.mention.empty()) continue;
        const auto disc =
            std::find_if(items.begin(), items.end(), [](const CheckItem& i) { return i.key != "xp-only-resource"; });
        ASSERT_NE(disc, items.end()) << c.name;
        const std::string explanation = disc->explanation[0] + "\n" + disc->explanation[1];
        EXPECT_NE(explanation.find(c.mention), std::string::npos) << c.name << ": " << explanation;
        for (const CheckItem& i : items) {
            EXPECT_TRUE(i.explanation[0].starts_with("  ") && i.explanation[1].starts_with("  ")) << c.name;
        }
    }
}

// What Windows starts by a bare name: its own programs, not the orders of its command interpreter.
TEST(DiscCheck, WindowsProgramsAndInterpreterOrders) {
    const std::vector<std::string_view> programs = {"notepad",  "NOTEPAD.EXE", "cmd",        "Explorer.exe",
                                                    "regsvr32", "xcopy",       "powershell", "rundll32.exe"};
    const std::vector<std::string_view> orders = {"start", "START", "dir", "copy", "del", "echo", "type", "cd"};
    const std::vector<std::string_view> neither = {"start.exe",       "command",       "command.com",
                                                   "dir.com",         "setup",         "",
                                                   "C:\\notepad.exe", "system32\\cmd", "notepad leeme.txt"};
    for (const std::string_view name : programs)
        EXPECT_TRUE(isSystemProgram(name) && !isInterpreterCommand(name)) << name;
    for (const std::string_view name : orders)
        EXPECT_TRUE(isInterpreterCommand(name) && !isSystemProgram(name)) << name;
    for (const std::string_view name : neither)
        EXPECT_FALSE(isSystemProgram(name) || isInterpreterCommand(name)) << name;
}

TEST(DiscCheck, ConflictFindingsComeFirstAsTheCompileCommandShowsThem) {
    Project p = cleanProject();
    p.objects[0] = makeResource("D:\\x.html");
    p.disc.folder = "/no/hay/tal/carpeta";
    const std::vector<CheckItem> items = checkProjectOnDisc(p, p.disc);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "Referencia peligrosa a programa o recurso");
    EXPECT_EQ(items[0].explanation[1],
              "  Siempre es recomendable, si es posible, copiar el fichero de programa o recurso al CD compilado y "
              "referenciar respecto a la unidad de CD.");
    EXPECT_EQ(items[1].title, "Autorun válido solo para Windows XP");
    EXPECT_EQ(items[2].title, "Carpeta del disco inexistente");
    EXPECT_EQ(items[2].image, 29);
    EXPECT_TRUE(checkProjectOnDisc(Project{}, p.disc).empty());
}

TEST(DiscCheck, PreviewIconOrTheReasonForTheStandardPicture) {
    const test::TempDir dir;
    test::writeBytes(dir.path() / "Disco.ico", kIco);
    test::writeBytes(dir.path() / "setup.exe", kProgram);
    test::writeBytes(dir.path() / "nota.txt", "x");
    const DiscTarget disc{dir.path().string(), Medium::CdDvd};
    struct Case {
        std::string icon;
        bool shown;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"disco.ico", true, ""},
        {"setup.exe,-7", true, ""},
        {"", false, "El proyecto no muestra ningún icono."},
        {"falta.ico", false, "No se encuentra el fichero \"falta.ico\" en la carpeta del disco."},
        {"nota.txt", false, "El fichero \"nota.txt\" no es un icono, un programa ni una biblioteca."},
        {"setup.exe,5", false, "El fichero \"setup.exe\" no tiene el icono número 5."},
    };
    for (const Case& c : cases) {
        Project p;
        if (!c.icon.empty()) p.append(makeIcon(c.icon));
        const DiscIcon icon = discIcon(p, disc);
        EXPECT_EQ(!icon.ico.empty(), c.shown) << c.icon;
        EXPECT_EQ(icon.reason, c.reason) << c.icon;
    }
    Project p;
    p.append(makeIcon("setup.exe,-7"));
    EXPECT_EQ(discIcon(p, disc).ico.substr(6 + 16), "dos");
    EXPECT_EQ(discIcon(p, {}).reason, "No se ha elegido la carpeta del disco.");
}

}  // namespace
}  // namespace kmr::disc
