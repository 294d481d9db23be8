#include "wizards/new_project.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kmr {
namespace {

std::vector<WizardMenu> menusNamed(const std::vector<std::string>& names) {
    std::vector<WizardMenu> menus;
    for (const std::string& n : names) menus.push_back({"Texto", "programa.exe", n, Kind::PlainMenu});
    return menus;
}

TEST(NewMenuName, SmallestFreeNumber) {
    const struct {
        std::vector<std::string> names;
        const char* next;
    } cases[] = {
        {{}, "Menu1"},
        {{"Menu1"}, "Menu2"},
        {{"Menu1", "Menu2"}, "Menu3"},
        {{"Menu7", "Menu2"}, "Menu1"},  // the first renamed: its number is free again
        {{"Menu2", "Menu1"}, "Menu3"},
        {{"menu1", "MENU1", "Menu 1", "Menu01", " Menu1"}, "Menu1"},  // only the exact name takes a number
        {{"Menu1", "Menu3", "Menu2", "Menu5"}, "Menu4"},
        {{"Menu1", "Menu1"}, "Menu2"},
        {{"Menu3", "Menu4", "Menu5"}, "Menu1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.names));
        EXPECT_EQ(newMenuName(menusNamed(c.names)), c.next);
    }
}

TEST(ToggleDefaultMenu, LikeTheClaveButton) {
    // Kinds written as P (plain) and D (default).
    const auto kinds = [](const std::vector<WizardMenu>& menus) {
        std::string s;
        for (const WizardMenu& m : menus) s += m.kind == Kind::DefaultMenu ? 'D' : 'P';
        return s;
    };
    const struct {
        const char* before;
        std::size_t index;
        bool isDefault;
        const char* after;
    } cases[] = {
        {"PPP", 1, true, "PDP"},  {"DPP", 2, true, "PPD"}, {"PDP", 1, false, "PPP"},
        {"DPD", 2, false, "DPP"},  // two defaults (a list from elsewhere): only the toggled one changes
        {"DPD", 1, true, "PDP"},  {"PP", 2, false, "PP"},  {"", 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        std::vector<WizardMenu> menus;
        for (const char* k = c.before; *k != 0; ++k) {
            menus.push_back({"T", "c", "n", *k == 'D' ? Kind::DefaultMenu : Kind::PlainMenu});
        }
        EXPECT_EQ(toggleDefaultMenu(menus, c.index), c.isDefault);
        EXPECT_EQ(kinds(menus), c.after);
    }
}

TEST(WizardSummary, LinesInOrder) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* what;
        WizardData data;
        Lines lines;
    } cases[] = {
        {"untouched", {}, {"  No ha introducido datos. El proyecto está en blanco."}},
        {"a resource flag alone is no data",
         {"", true, "", "", {}},
         {"  No ha introducido datos. El proyecto está en blanco."}},
        {"program", {"setup.exe", false, "", "", {}}, {"  Ejecutar automáticamente \"setup.exe\""}},
        {"resource", {"docs\\a b.html", true, "", "", {}}, {"  Ejecutar fichero automáticamente \"docs\\a b.html\""}},
        {"blanks are data, kept as they are",
         {" ", false, "", " x ", {}},
         {"  Ejecutar automáticamente \" \"", "  Mostrar etiqueta \" x \""}},
        {"everything",
         {"setup.exe",
          false,
          "cd.ico,1",
          "Mi \"CD\"",
          {{"Léeme", "explorer \"%1\\leeme.txt\"", "leeme", Kind::PlainMenu},
           {"Instalar", "setup.exe /s", "instalar", Kind::DefaultMenu},
           {"", "", "", Kind::PlainMenu}}},
         {"  Ejecutar automáticamente \"setup.exe\"", "  Mostrar icono \"cd.ico,1\"",
          "  Mostrar etiqueta \"Mi \"CD\"\"", "  Mostrar el menú \"Léeme\"",
          "que ejecutará el comando \"explorer \"%1\\leeme.txt\"\"", "  Mostrar el menú \"Instalar\"",
          "que ejecutará el comando \"setup.exe /s\"", "y será el menú predeterminado", "  Mostrar el menú \"\"",
          "que ejecutará el comando \"\""}},
        {"menus only",
         {"", false, "", "", {{"A", "a.exe", "Menu1", Kind::DefaultMenu}}},
         {"  Mostrar el menú \"A\"", "que ejecutará el comando \"a.exe\"", "y será el menú predeterminado"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(wizardSummaryLines(c.data), c.lines);
    }
    EXPECT_EQ(wizardSummary({"p.exe", false, "i.ico", "", {}}),
              "  Ejecutar automáticamente \"p.exe\"\n  Mostrar icono \"i.ico\"");
    EXPECT_EQ(wizardSummary({}), "  No ha introducido datos. El proyecto está en blanco.");
}

}  // namespace
}  // namespace kmr
