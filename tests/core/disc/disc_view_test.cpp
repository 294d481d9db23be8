#include "disc/disc_view.h"

#include <gtest/gtest.h>

namespace kmr::disc {
namespace {

// The menu as one line: entries separated by '|', the default marked with '*', an uncertain entry
// with '?', a '-' before Windows' own entries. The menu is the same on every Windows.
std::string menuLine(const Project& project, DriveType drive) {
    std::string line;
    for (const WindowsVersion v : kWindowsVersions) {
        std::string one;
        bool own = false;
        for (const MenuEntry& e : discContextMenu(project, v, drive)) {
            if (!one.empty()) one += '|';
            if (e.windows && !own) one += "-|";
            own = own || e.windows;
            one += (e.isDefault ? "*" : "") + std::string(e.uncertain ? "?" : "") + e.text;
        }
        if (!line.empty() && one != line) return "differs on " + std::string(versionName(v)) + ": " + one;
        line = one;
    }
    return line;
}

TEST(DiscView, ContextMenuKeepsTheProjectsOrderAndMarksWhatWindowsRunsOnADoubleClick) {
    const std::string own = "Explorar|Expulsar|Propiedades";
    struct Case {
        const char* what;
        std::vector<ProjectObject> objects;
        DriveType drive;
        std::string menu;
    };
    const std::vector<Case> cases = {
        {"nothing to run", {makeLabel("MiCD")}, DriveType::CdDvd, "-|*Abrir|" + own},
        {"a run entry plays automatically",
         {makeProgram("setup.exe")},
         DriveType::CdDvd,
         "*Reproducción automática|-|Abrir|" + own},
        {"the default menu wins over the run entry, in its place",
         {makeResource("index.html"), makeMenu("&Leeme", "notepad leeme.txt", "leeme"),
          makeMenu("&Instalar", "setup.exe", "instalar", true)},
         DriveType::CdDvd,
         "Reproducción automática|Leeme|*Instalar|-|Abrir|" + own},
        {"of two defaults the first",
         {makeMenu("Uno", "a.exe", "uno", true), makeMenu("Dos", "b.exe", "dos", true)},
         DriveType::CdDvd,
         "*Uno|Dos|-|Abrir|" + own},
        {"menus without a default", {makeMenu("Uno", "a.exe", "uno")}, DriveType::CdDvd, "Uno|-|*Abrir|" + own},
        {"on a USB drive whether the autorun entries show is not documented, nor which entry is the default",
         {makeProgram("setup.exe"), makeMenu("Instalar", "setup.exe", "instalar", true)},
         DriveType::Removable,
         "?Reproducción automática|?Instalar|-|Abrir|" + own},
    };
    for (const Case& c : cases) EXPECT_EQ(menuLine(Project(c.objects), c.drive), c.menu) << c.what;
}

TEST(DiscView, MenuTextsLoseTheirKeyMarks) {
    const std::pair<std::string, std::string> cases[] = {
        {"&Instalar", "Instalar"},  {"Pan && vino", "Pan & vino"}, {"&&&Menú", "&Menú"}, {"Final&", "Final"}, {"", ""},
        {"Sin marca", "Sin marca"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(shownMenuText(text), shown) << text;
}

TEST(DiscView, NameUnderTheIconIsTheLabelElseTheVolumesName) {
    struct Case {
        std::vector<ProjectObject> objects;
        DiscTarget disc;
        std::string name;
    };
    const std::vector<Case> cases = {
        {{makeLabel("  Mi CD ")}, {"/tmp/disco", Medium::CdDvd}, "Mi CD"},
        {{makeLabel("Mi USB")}, {"/tmp/disco", Medium::Usb}, "Mi USB"},
        {{makeLabel("   "), makeProgram("setup.exe")}, {"/tmp/Instalación 2", Medium::CdDvd}, "INSTALACION_2"},
        {{makeProgram("setup.exe")}, {"/media/Pendrive/", Medium::Usb}, "Pendrive"},
        {{makeProgram("setup.exe")}, {"", Medium::Usb}, "Unidad USB"},
        {{makeProgram("setup.exe")}, {"", Medium::CdDvd}, "CDROM"},
    };
    for (const Case& c : cases) EXPECT_EQ(discName(Project(c.objects), c.disc), c.name) << c.disc.folder;
}

}  // namespace
}  // namespace kmr::disc
