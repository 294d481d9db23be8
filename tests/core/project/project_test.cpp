#include "project/project.h"

#include <gtest/gtest.h>

#include "support/printers.h"
#include "support/project_lists.h"

namespace kmr {
namespace {

using test::listOf;

using test::kindsOf;

TEST(Captions, PrefixThenValueInQuotes) {
    EXPECT_EQ(makeProgram("setup.exe").caption(), "Ejecutar programa \"setup.exe\"");
    EXPECT_EQ(makeResource("a b.html").caption(), "Ejecutar recurso \"a b.html\"");
    EXPECT_EQ(makeIcon("").caption(), "Mostrar icono \"\"");
    EXPECT_EQ(makeLabel("MiCD").caption(), "Mostrar texto \"MiCD\"");
    const auto menu = makeMenu("Instalar", "setup.exe", "instalar", true);
    EXPECT_EQ(menu.caption(), "Mostrar menú \"Instalar\"");
    EXPECT_EQ(menu.caption(), makeMenu("Instalar", "x", "y").caption());  // plain and default look alike
    EXPECT_EQ(valuesOf(menu), (std::vector<std::string>{"Instalar", "setup.exe", "instalar"}));
}

TEST(Captions, ResourceOrProgramIsReadFromTheFirstTenCharacters) {
    ProjectObject o = makeProgram("x");
    EXPECT_TRUE(isProgramEntry(o));
    EXPECT_FALSE(isResourceEntry(o));
    o.setCaption("Ejecutar rlo que sea");
    EXPECT_TRUE(isResourceEntry(o));
    o.setCaption("ejecutar recurso \"x\"");  // the test is case-sensitive
    EXPECT_FALSE(isResourceEntry(o));
    EXPECT_FALSE(isProgramEntry(o));
}

TEST(Captions, ChangingTheValueRebuildsTheCaptionInItsForm) {
    ProjectObject r = makeResource("a");
    setFirstValue(r, "b");
    EXPECT_EQ(r.caption(), "Ejecutar recurso \"b\"");
    ProjectObject m = makeMenu("a", "c", "n", true);
    setFirstValue(m, "Nuevo");
    EXPECT_EQ(m.caption(), "Mostrar menú \"Nuevo\"");
    EXPECT_EQ(m.menuCommand(), "c");
}

// Objects made by one reader share blocks of text: a change to one object, a copy or the end of
// the maker must leave every other object's texts as they were.
TEST(ObjectTexts, SharedBlocksNeverChangeUnderAnotherObject) {
    std::vector<ProjectObject> read;
    {
        ObjectMaker maker;
        // Enough objects for several blocks, with one too big to share a block.
        for (int k = 0; k < 3000; ++k) {
            const std::string n = std::to_string(k);
            read.push_back(maker.menu("Menú " + n, k == 1500 ? std::string(40000, 'x') : "cmd" + n, "m" + n, k == 7));
        }
        read.push_back(maker.quoted(Kind::RunEntry, kResourcePrefix, {"a.html"}));
    }
    std::vector<ProjectObject> copies = read;
    const auto expectMenu = [](const ProjectObject& o, int k) {
        const std::string n = std::to_string(k);
        EXPECT_EQ(o, makeMenu("Menú " + n, k == 1500 ? std::string(40000, 'x') : "cmd" + n, "m" + n, k == 7)) << k;
    };
    setFirstValue(read[10], "Otro");
    read[11].setValue(2, read[11].value(0));  // a value taken from the object itself
    read[12] = read[13];
    read[14].setCaption("x");
    read.erase(read.begin() + 20, read.begin() + 2000);
    for (int k = 0; k < 3000; ++k) expectMenu(copies[static_cast<std::size_t>(k)], k);
    EXPECT_EQ(read[10].caption(), "Mostrar menú \"Otro\"");
    EXPECT_EQ(valuesOf(read[10]), (std::vector<std::string>{"Otro", "cmd10", "m10"}));
    EXPECT_EQ(valuesOf(read[11]), (std::vector<std::string>{"Menú 11", "cmd11", "Menú 11"}));
    EXPECT_EQ(read[12], copies[13]);
    EXPECT_EQ(read[14].caption(), "x");
    EXPECT_EQ(read[14].menuName(), "m14");
    expectMenu(read[20], 2000);
    EXPECT_EQ(read.back().caption(), "Ejecutar recurso \"a.html\"");
    EXPECT_TRUE(isResourceEntry(read.back()));
}

TEST(ObjectTexts, MissingValuesReadEmptyAndSettingOneFillsTheGap) {
    struct Case {
        const char* name;
        ProjectObject object;
        std::size_t set;
        std::vector<std::string> values;  // after setting value `set` to "v"
    };
    const Case cases[] = {
        {"no values", ProjectObject("c", Kind::PlainMenu, {}), 2, {"", "", "v"}},
        {"one value", ProjectObject("c", Kind::Label, {"a"}), 0, {"v"}},
        {"a middle value", ProjectObject("c", Kind::DefaultMenu, {"t", "c", "n"}), 1, {"t", "v", "n"}},
        {"more than three are dropped", ProjectObject("c", Kind::PlainMenu, {"1", "2", "3", "4"}), 0, {"v", "2", "3"}},
    };
    for (const Case& c : cases) {
        ProjectObject o = c.object;
        EXPECT_EQ(o.value(c.values.size()), "") << c.name;
        o.setValue(c.set, "v");
        EXPECT_EQ(valuesOf(o), c.values) << c.name;
        EXPECT_EQ(o.caption(), "c") << c.name;
        EXPECT_NE(o, c.object) << c.name;
    }
    ProjectObject o;
    EXPECT_THROW(o.setValue(ProjectObject::kMaxValues, "x"), std::out_of_range);
    EXPECT_EQ(o, ProjectObject());
}

// Most captions are made from a prefix and the first value rather than kept; whichever way an
// object holds its caption, it reads and compares the same.
TEST(ObjectTexts, MadeAndKeptCaptionsReadAndCompareAlike) {
    ProjectObject kept("Mostrar menú \"Uno\"", Kind::PlainMenu, {"Uno", "a.exe", "uno"});
    EXPECT_EQ(kept, makeMenu("Uno", "a.exe", "uno"));
    ProjectObject other("Mostrar menú \"Dos\"", Kind::PlainMenu, {"Uno", "a.exe", "uno"});
    EXPECT_NE(other, kept);
    EXPECT_EQ(other.caption(), "Mostrar menú \"Dos\"");
    // A first value changed on its own leaves the caption as it was; setFirstValue remakes it.
    ProjectObject program = makeProgram("a.exe");
    program.setValue(0, "b.exe");
    EXPECT_EQ(program.caption(), "Ejecutar programa \"a.exe\"");
    EXPECT_TRUE(isProgramEntry(program));
    setFirstValue(program, "c.exe");
    EXPECT_EQ(program, makeProgram("c.exe"));
    // A caption with another prefix, or none, is kept exactly.
    for (const char* caption : {"Ejecutar otra cosa \"x\"", "x", "", "Mostrar menú x", "\"x\""}) {
        const ProjectObject o(caption, Kind::RunEntry, {"x"});
        EXPECT_EQ(o.caption(), caption);
        EXPECT_EQ(o.value(0), "x");
    }
}

TEST(InsertPosition, FollowsTheOrderRules) {
    struct Case {
        std::string list;
        Kind kind;
        std::size_t position;
    };
    const std::vector<Case> cases = {
        {"", Kind::RunEntry, 0},      {"ILM", Kind::RunEntry, 0},      {"", Kind::Icon, 0},    {"L", Kind::Icon, 0},
        {"P", Kind::Icon, 1},         {"PLM", Kind::Icon, 1},          {"M", Kind::Icon, 0},   {"", Kind::Label, 0},
        {"P", Kind::Label, 1},        {"I", Kind::Label, 1},           {"PI", Kind::Label, 2}, {"PIMM", Kind::Label, 2},
        {"M", Kind::Label, 0},        {"MI", Kind::Label, 2},          {"PM", Kind::Label, 1}, {"", Kind::PlainMenu, 0},
        {"PILM", Kind::PlainMenu, 4}, {"PILMD", Kind::DefaultMenu, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(listOf(c.list).insertPosition(c.kind), c.position) << c.list << " " << static_cast<int>(c.kind);
    }
}

TEST(InsertPosition, InsertingEveryKindInAnyOrderGivesTheCanonicalOrder) {
    const std::vector<ProjectObject> all = {makeLabel("l"), makeMenu("m1", "", ""), makeIcon("i"), makeResource("r"),
                                            makeMenu("m2", "", "")};
    std::vector<int> order = {0, 1, 2, 3, 4};
    do {
        Project p;
        for (const int i : order) p.insert(all[static_cast<std::size_t>(i)]);
        const std::string kinds = kindsOf(p);
        EXPECT_EQ(kinds, "RILMM");
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(Defaults, AtMostOneDefaultMenu) {
    Project p = listOf("PMDM");
    EXPECT_TRUE(p.makeDefault(3));
    EXPECT_EQ(kindsOf(p), "PMMD");
    EXPECT_TRUE(p.toggleDefault(3));
    EXPECT_EQ(kindsOf(p), "PMMM");
    EXPECT_TRUE(p.toggleDefault(1));
    EXPECT_EQ(kindsOf(p), "PDMM");
    EXPECT_FALSE(p.makeDefault(0));  // not a menu
    EXPECT_FALSE(p.toggleDefault(9));
    EXPECT_EQ(kindsOf(p), "PDMM");
}

TEST(Moving, OnlyAmongMenusAndTheObjectStaysWhole) {
    Project p = listOf("PIMDM");
    EXPECT_FALSE(p.canMoveUp(2));  // the object before is an icon
    EXPECT_TRUE(p.canMoveDown(2));
    EXPECT_FALSE(p.canMoveDown(4));
    EXPECT_FALSE(p.canMoveUp(1));
    const ProjectObject moving = p.objects[3];
    EXPECT_EQ(p.moveUp(3), 2U);
    EXPECT_EQ(p.objects[2], moving);
    EXPECT_EQ(kindsOf(p), "PIDMM");
    EXPECT_EQ(p.moveDown(2), 3U);
    EXPECT_EQ(kindsOf(p), "PIMDM");
    EXPECT_EQ(p.moveUp(2), 2U);  // refused: stays
    Project menusOnly = listOf("MM");
    EXPECT_EQ(menusOnly.moveDown(0), 1U);
    EXPECT_EQ(menusOnly.objects[1].value(), "a");
}

TEST(Counts, ByKind) {
    const Project p = listOf("PPILMDM");
    EXPECT_EQ(p.count(Kind::RunEntry), 2U);
    EXPECT_EQ(p.count(Kind::DefaultMenu), 1U);
    EXPECT_EQ(p.menuCount(), 3U);
    EXPECT_TRUE(p.contains(Kind::Label));
    EXPECT_FALSE(listOf("M").contains(Kind::Icon));
}

TEST(Wizard, FillOrderAndKindsKept) {
    WizardData d;
    d.runCommand = "docs\\index.html";
    d.resource = true;
    d.label = "MiCD";
    d.menus = {{"Uno", "a.exe", "uno", Kind::PlainMenu}, {"Dos", "b.exe", "dos", Kind::DefaultMenu}};
    const Project p = buildProject(d);
    EXPECT_EQ(kindsOf(p), "RLMD");
    EXPECT_EQ(p.objects[0].caption(), "Ejecutar recurso \"docs\\index.html\"");
    EXPECT_EQ(p.objects[3].caption(), "Mostrar menú \"Dos\"");
    EXPECT_TRUE(buildProject(WizardData{}).empty());
    d.resource = false;
    d.icon = "i.ico";
    EXPECT_EQ(kindsOf(buildProject(d)), "PILMD");
}

}  // namespace
}  // namespace kmr
