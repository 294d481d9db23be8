#include "editing/object_rules.h"

#include <gtest/gtest.h>

#include "support/printers.h"
#include "support/project_lists.h"

namespace kmr {
namespace {

using test::listOf;

// The offered commands as letters, in menu order: a add group, p i l m insert, P I L M modify,
// d default (* when checked), u up, w down, x delete.
std::string offered(const OfferedCommands& c) {
    std::string s;
    const std::pair<bool, char> flags[] = {{c.addGroup, 'a'},    {c.insertProgram, 'p'},  {c.insertIcon, 'i'},
                                           {c.insertLabel, 'l'}, {c.insertMenu, 'm'},     {c.modifyProgram, 'P'},
                                           {c.modifyIcon, 'I'},  {c.modifyLabel, 'L'},    {c.modifyMenu, 'M'},
                                           {c.setDefault, 'd'},  {c.defaultChecked, '*'}, {c.moveUp, 'u'},
                                           {c.moveDown, 'w'},    {c.remove, 'x'}};
    for (const auto& [on, letter] : flags) {
        if (on) s += letter;
    }
    return s;
}

TEST(OfferedCommands, FollowTheProjectAndItsSelection) {
    struct Case {
        std::string list;
        std::optional<std::size_t> selection;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"", std::nullopt, "apilm"}, {"PILM", std::nullopt, "am"},
        {"RILM", 0, "amPx"},         {"PILM", 1, "amIx"},
        {"PILM", 2, "amLx"},         {"PILM", 3, "amMdx"},
        {"PILMDM", 3, "amMdwx"},                              // the first menu after the label moves only down
        {"PILMDM", 4, "amMd*uwx"},                            // the default menu, between two menus
        {"PILMDM", 5, "amMdux"},     {"MM", 0, "apilmMdwx"},  // in a project of menus only, the first menu moves down
        {"I", 0, "aplmIx"},          {"L", 9, "apim"},        // a selection past the end counts as none
    };
    for (const auto& c : cases) {
        const Project p = listOf(c.list);
        EXPECT_EQ(offered(offeredCommands(&p, c.selection)), c.expected) << c.list << " " << c.selection.value_or(99);
    }
    EXPECT_EQ(offered(offeredCommands(nullptr, 0)), "");
}

// A caller that keeps count of the kinds says which it holds; the list is then read only at the
// selection and its neighbours.
TEST(OfferedCommands, HeldKindsDecideTheInsertCommands) {
    const Project menus = listOf("MDM");
    EXPECT_EQ(offered(offeredCommands(&menus, 1, HeldKinds{true, false, true})), "aimMd*uwx");
    EXPECT_EQ(offered(offeredCommands(&menus, std::nullopt, HeldKinds{})), "apilm");
    for (const char* list : {"", "PILM", "RM", "IL", "MM", "L"}) {
        const Project p = listOf(list);
        EXPECT_EQ(offeredCommands(&p, 0, heldKinds(p)), offeredCommands(&p, 0)) << list;
    }
    const HeldKinds held = heldKinds(listOf("RIM"));
    EXPECT_TRUE(held.runEntry);
    EXPECT_TRUE(held.icon);
    EXPECT_FALSE(held.label);
}

TEST(ObjectBuffer, ObjectFromBufferIsWhatAPasteInserts) {
    const ObjectBuffer menu = copyToBuffer(makeMenu("Abrir", "a.exe", "abrir", true));
    EXPECT_EQ(objectFromBuffer(menu, false), makeMenu("Abrir", "a.exe", "abrir", false));
    EXPECT_EQ(objectFromBuffer(menu, true), makeMenu("Abrir", "a.exe", "abrir", true));
    const ObjectBuffer label = copyToBuffer(makeLabel("MiCD"));
    EXPECT_EQ(objectFromBuffer(label, true), makeLabel("MiCD")) << "only a menu can be the default";
    EXPECT_TRUE(pasteReplaces(Kind::Icon));
    EXPECT_FALSE(pasteReplaces(Kind::DefaultMenu));
}

TEST(ObjectBuffer, CopyTakesCaptionKindAndValues) {
    EXPECT_TRUE(ObjectBuffer{}.empty());
    const ObjectBuffer menu = copyToBuffer(makeMenu("Abrir", "a.exe", "abrir", true));
    EXPECT_EQ(menu, (ObjectBuffer{"Mostrar menú \"Abrir\"", Kind::DefaultMenu, "Abrir", "a.exe", "abrir"}));
    EXPECT_FALSE(menu.empty());
    EXPECT_EQ(copyToBuffer(makeResource("i.html")),
              (ObjectBuffer{"Ejecutar recurso \"i.html\"", Kind::RunEntry, "i.html", "", ""}));
}

TEST(ObjectBuffer, PastePositionsFollowTheTargetProject) {
    struct Case {
        std::string list;
        ProjectObject object;
        std::size_t position;
    };
    const std::vector<Case> cases = {
        {"ILM", makeProgram("x"), 0},        {"PLM", makeIcon("x"), 1}, {"LM", makeIcon("x"), 0},
        {"PI", makeLabel("x"), 2},           {"I", makeLabel("x"), 1},  {"", makeLabel("x"), 0},
        {"PIL", makeMenu("x", "c", "n"), 3},
    };
    for (const auto& c : cases) {
        Project p = listOf(c.list);
        const ObjectBuffer b = copyToBuffer(c.object);
        EXPECT_FALSE(pasteReplacementTarget(p, b).has_value()) << c.list;
        const std::size_t at = pasteFromBuffer(p, b, false);
        EXPECT_EQ(at, c.position) << c.list;
        EXPECT_EQ(p.objects[at].caption(), c.object.caption());
        EXPECT_EQ(valuesOf(p.objects[at]), valuesOf(c.object));
    }
}

TEST(ObjectBuffer, SingleInstanceKindsAreReplacedInPlace) {
    Project p = listOf("PILM");
    const ObjectBuffer resource = copyToBuffer(makeResource("nuevo.html"));
    const auto target = pasteReplacementTarget(p, resource);
    ASSERT_EQ(target, 0U);
    replaceFromBuffer(p.objects[*target], resource);
    EXPECT_EQ(p.objects[0], makeResource("nuevo.html"));
    EXPECT_EQ(p.size(), 4U);
    // The last object of the kind is the one found, should a list hold two.
    const Project twoLabels = listOf("LML");
    EXPECT_EQ(pasteReplacementTarget(twoLabels, copyToBuffer(makeLabel("z"))), 2U);
    // Menus are never replaced.
    EXPECT_FALSE(pasteReplacementTarget(listOf("MD"), copyToBuffer(makeMenu("m", "", "m"))).has_value());
}

TEST(ObjectBuffer, PastedMenuAndTheDefault) {
    Project p = listOf("PDM");
    ObjectBuffer b = copyToBuffer(p.objects[1]);
    acceptMenuIntoBuffer(b, "Copia", "copia.exe", "copia");
    EXPECT_EQ(b, (ObjectBuffer{"Mostrar menú \"Copia\"", Kind::DefaultMenu, "Copia", "copia.exe", "copia"}));

    Project plain = p;
    EXPECT_EQ(pasteFromBuffer(plain, b, false), 3U);
    EXPECT_EQ(plain.objects[3], makeMenu("Copia", "copia.exe", "copia"));
    EXPECT_EQ(plain.objects[1].kind, Kind::DefaultMenu);  // the old default stays

    EXPECT_EQ(pasteFromBuffer(p, b, true), 3U);
    EXPECT_EQ(p.objects[3], makeMenu("Copia", "copia.exe", "copia", true));
    EXPECT_EQ(p.count(Kind::DefaultMenu), 1U);
}

}  // namespace
}  // namespace kmr
