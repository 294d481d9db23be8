#include "disc/disc_view.h"

#include <gtest/gtest.h>

namespace kmr::disc {
namespace {

// The menu as one line: entries separated by '|', the default marked with '*', a '-' before
// Windows' own entries.
std::string menuLine(const Project& project, Medium medium) {
    std::string line;
    bool own = false;
    for (const MenuEntry& e : discContextMenu(project, medium)) {
        if (!line.empty()) line += '|';
        if (e.windows && !own) line += "-|";
        own = own || e.windows;
        line += (e.isDefault ? "*" : "") + e.text;
    }
    return line;
}

TEST(DiscView, ContextMenuKeepsTheProjectsOrderAndMarksWhatWindowsRunsOnADoubleClick) {
    const std::string own = "Explorar|Expulsar|Propiedades";
    struct Case {
        const char* what;
        std::vector<ProjectObject> objects;
        Medium medium;
        std::string menu;
    };
    const std::vector<Case> cases = {
        {"nothing to run", {makeLabel("MiCD")}, Medium::CdDvd, "-|*Abrir|" + own},
        {"a run entry plays automatically",
         {makeProgram("setup.exe")},
         Medium::CdDvd,
         "*Reproducción automática|-|Abrir|" + own},
        {"the default menu wins over the run entry, in its place",
         {makeResource("index.html"), makeMenu("&Leeme", "notepad leeme.txt", "leeme"),
          makeMenu("&Instalar", "setup.exe", "instalar", true)},
         Medium::CdDvd,
         "Reproducción automática|Leeme|*Instalar|-|Abrir|" + own},
        {"of two defaults the first",
         {makeMenu("Uno", "a.exe", "uno", true), makeMenu("Dos", "b.exe", "dos", true)},
         Medium::CdDvd,
         "*Uno|Dos|-|Abrir|" + own},
        {"menus without a default", {makeMenu("Uno", "a.exe", "uno")}, Medium::CdDvd, "Uno|-|*Abrir|" + own},
        {"a USB drive runs nothing from autorun.inf",
         {makeProgram("setup.exe"), makeMenu("Instalar", "setup.exe", "instalar", true)},
         Medium::Usb,
         "-|*Abrir|" + own},
    };
    for (const Case& c : cases) EXPECT_EQ(menuLine(Project(c.objects), c.medium), c.menu) << c.what;
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
