#include "disc/settings_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "autorun/compiler.h"
#include "autorun/importer.h"
#include "support/test_files.h"
#include "text/text.h"
#include "wizards/new_project.h"
#include "wizards/templates.h"

namespace kmr::disc {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Project baseProject() { return Project({makeProgram("setup.exe"), makeIcon("setup.exe,0"), makeLabel("MiCD")}); }

std::vector<std::string> keysOf(const std::vector<CheckItem>& items) {
    std::vector<std::string> keys;
    for (const CheckItem& i : items) keys.emplace_back(i.key);
    return keys;
}

TEST(SettingsCheck, FindingsOnSmallDiscFolders) {
    struct Case {
        const char* name;
        std::function<void(Project&, Files&)> change;
        std::vector<std::string> keys;
        std::string mention;  // in the first finding's first line
    };
    const std::vector<Case> cases = {
        {"nothing set", [](Project&, Files&) {}, {}, ""},
        {"a lone CR in a menu's command",
         [](Project& p, Files&) { p.append(makeMenu("Abrir", "setup.exe\rIcono=x.ico", "abrir")); },
         {"value-line-break"},
         "  El comando del menú \"Abrir\" tiene un salto de línea (CR) tras \"setup.exe\": en el fichero, "
         "\"Icono=x.ico\" sería otra línea."},
        {"an LF in a kept line",
         [](Project& p, Files&) { p.settings.keptSection("Strings").lines = {"a=b\nc=d"}; },
         {"value-line-break"},
         "  Una línea de [Strings] tiene un salto de línea (LF) tras \"a=b\""},
        {"a CR LF in a platform entry",
         [](Project& p, Files&) {
             p.settings.platforms = {{"x86", {{"open", "a.exe\r\n[autorun]"}}}};
         },
         {"value-line-break"},
         "  La entrada open de [AutoRun.x86] tiene un salto de línea (CR LF) tras \"a.exe\": en el fichero, "
         "\"[autorun]\" sería otra línea."},
        {"a NUL in the label",
         [](Project& p, Files&) { p.objects[2].setValue(0, std::string("Mi\0CD", 5)); },
         {"value-nul"},
         "  La etiqueta tiene un carácter nulo (código 0) tras \"Mi\": Windows lee el valor solo hasta ahí."},
        {"a NUL in the action",
         [](Project& p, Files&) { p.settings.action = std::string("Inst\0alar", 9); },
         {"value-nul", "action-on-cd"},
         "  La entrada action tiene un carácter nulo"},
        {"one platform in two sections",
         [](Project& p, Files&) {
             p.settings.platforms = {{"x86", {{"open", "a.exe"}}}, {"X86", {{"icon", "a.ico"}}}};
         },
         {"platform-repeated"},
         "  La sección [AutoRun.x86] está 2 veces en las entradas del disco; Windows solo leería la primera"},
        {"unknown key of [AutoRun]",
         [](Project& p, Files&) {
             p.settings.keptSection("autorun").lines = {"shellstart=x.exe", "; nota", "basura"};
         },
         {"unknown-entry"},
         "  Windows no conoce la entrada shellstart: la ignora."},
        {"a near key",
         [](Project& p, Files&) { p.settings.keptSection("AutoRun").lines = {" lable = Disco"}; },
         {"unknown-entry"},
         "la entrada lable: la ignora. ¿Quería decir label?"},
        {"known keys that made no object",
         [](Project& p, Files&) {
             p.settings.keptSection("autorun").lines = {"OPEN=otro.exe", "shell\\x=X"};
         },
         {},
         ""},
        {"unknown key of a platform section",
         [](Project& p, Files&) {
             p.settings.platforms = {{"Amd64", {{"open", "a.exe"}, {"iocn", "a.ico"}}}};
         },
         {"unknown-entry"},
         "la entrada iocn de [AutoRun.Amd64]: la ignora. ¿Quería decir icon?"},
        {"other sections are not checked",
         [](Project& p, Files&) { p.settings.keptSection("Strings").lines = {"x=y"}; },
         {},
         ""},
        {"action on USB without a program",
         [](Project& p, Files&) {
             p.objects.erase(p.objects.begin());
             p.disc.medium = Medium::Usb;
             p.settings.action = "Instalar";
         },
         {"action-without-program"},
         "open o shellexecute"},
        {"action on USB with a program",
         [](Project& p, Files&) {
             p.disc.medium = Medium::Usb;
             p.settings.action = "Instalar";
         },
         {},
         ""},
        {"action on a CD", [](Project& p, Files&) { p.settings.action = "Instalar"; }, {"action-on-cd"}, "CD o DVD"},
        {"action text from a file on the disc",
         [](Project& p, Files& f) {
             p.disc.medium = Medium::Usb;
             p.settings.action = "@Bin\\Textos.DLL,-101";
             f["bin/textos.dll"] = "MZ";
         },
         {},
         ""},
        {"action text from a missing file",
         [](Project& p, Files&) {
             p.disc.medium = Medium::Usb;
             p.settings.action = "@textos.dll,-101";
         },
         {"action-file-missing"},
         "\"textos.dll\""},
        {"custom event", [](Project& p, Files&) { p.settings.customEvent = "MiEvento2"; }, {}, ""},
        {"custom event with a blank",
         [](Project& p, Files&) { p.settings.customEvent = "Mi Evento"; },
         {"custom-event-name"},
         "\"Mi Evento\""},
        {"custom event too long",
         [](Project& p, Files&) { p.settings.customEvent = std::string(101, 'a'); },
         {"custom-event-name"},
         "100 letras"},
        {"UseAutoPlay beside a program",
         [](Project& p, Files&) { p.settings.useAutoPlay = "1"; },
         {"autoplay-hides-program"},
         "UseAutoPlay=1"},
        {"UseAutoPlay without a program",
         [](Project& p, Files&) {
             p.objects.erase(p.objects.begin());
             p.settings.useAutoPlay = "1";
         },
         {},
         ""},
        {"content types the disc holds",
         [](Project& p, Files& f) {
             p.settings.content = {.music = "true", .pictures = "1", .video = "Y"};
             f["Musica/Tema 1.MP3"] = "x";
             f["fotos/a/b/foto.Jpeg"] = "x";
             f["peli.mkv"] = "x";
         },
         {},
         ""},
        {"content types the disc lacks",
         [](Project& p, Files& f) {
             p.settings.content = {.music = "true", .pictures = "false", .video = "1"};
             f["foto.jpg"] = "x";
         },
         {"content-without-files", "content-without-files"},
         "música (MusicFiles)"},
        {"folders there and missing",
         [](Project& p, Files& f) {
             f["Drivers/Video/x.inf"] = "x";
             f["musica/a.mp3"] = "x";
             p.settings.driverPaths = {"drivers\\video", "drivers\\red"};
             p.settings.exclusiveContentPaths = {"\\MUSICA", "\\"};
             p.settings.ignoreContentPaths = {"\\setup.exe"};
         },
         {"folder-missing-on-disc", "folder-missing-on-disc"},
         "DriverPath nombra la carpeta \"drivers\\red\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempDir dir;
        Project p = baseProject();
        p.disc.folder = dir.path().string();
        Files files = {{"setup.exe", "MZ"}};
        c.change(p, files);
        for (const auto& [path, bytes] : files) {
            fs::create_directories((dir.path() / path).parent_path());
            test::writeBytes(dir.path() / path, bytes);
        }
        const std::vector<CheckItem> items = checkSettings(p, &p.disc);
        EXPECT_EQ(keysOf(items), c.keys);
        if (!c.mention.empty() && !items.empty()) {
            EXPECT_NE(items[0].explanation[0].find(c.mention), std::string::npos) << items[0].explanation[0];
        }
        // The whole report of the disc check ends with them.
        const std::vector<CheckItem> report = checkProjectOnDisc(p, p.disc);
        ASSERT_GE(report.size(), items.size());
        EXPECT_EQ(keysOf({report.end() - static_cast<std::ptrdiff_t>(items.size()), report.end()}), c.keys);
    }
}

TEST(SettingsCheck, WithoutADiscOnlyWhatTheProjectShows) {
    Project p = baseProject();
    p.settings.action = "Instalar";
    p.settings.useAutoPlay = "1";
    p.settings.content.music = "1";
    p.settings.driverPaths = {"no-hay"};
    p.settings.keptSection("autorun").lines = {"lable=x"};
    EXPECT_EQ(keysOf(checkSettings(p, nullptr)), (std::vector<std::string>{"unknown-entry", "autoplay-hides-program"}));
}

// The shipped templates make projects with no settings, so the new findings say nothing of them.
TEST(SettingsCheck, SilentOnTheShippedTemplates) {
    const test::TempDir dir;
    std::size_t seen = 0;
    for (const TemplateRecord& t : listTemplates({KMR_SHIPPED_TEMPLATES_DIR})) {
        Project p = buildProject(applyTemplate(t));
        p.disc.folder = dir.path().string();
        EXPECT_TRUE(checkSettings(p, &p.disc).empty()) << t.name;
        ++seen;
    }
    EXPECT_GT(seen, 0U);
}

// Right after an import, the autorun.inf that was imported is what the project compiles to; a change
// names the first entry that differs.
TEST(SettingsCheck, DiscCheckComparesMeaningNotBytes) {
    const test::TempDir dir;
    const std::string original = test::crlf({"; disco de prueba", "[AutoRun]", "Label = MiCD", "ICON=setup.exe,0",
                                             "open=setup.exe", "action=Instalar", "[Content]", "MusicFiles=0"});
    test::writeBytes(dir.path() / "autorun.inf", original);
    test::writeBytes(dir.path() / "setup.exe", "MZ");
    Project p = importAutorun(original, ImportOptions{}).project;
    p.disc.folder = dir.path().string();
    p.disc.medium = Medium::Usb;
    const auto differs = [&] {
        for (const CheckItem& i : checkProjectOnDisc(p, p.disc)) {
            if (i.key == "autorun-differs") return i.explanation[0];
        }
        return std::string();
    };
    EXPECT_NE(text::encodeForFile(compileAutorun(p)), original);
    EXPECT_EQ(differs(), "");
    p.settings.content.music = "1";
    EXPECT_NE(differs().find("la entrada musicfiles de [content] vale \"0\" en lugar de \"1\""), std::string::npos)
        << differs();
    p.settings.content.music = "0";
    p.objects.erase(p.objects.begin());
    EXPECT_NE(differs().find("sobra la entrada open=setup.exe de [autorun]"), std::string::npos) << differs();
}

}  // namespace
}  // namespace kmr::disc
