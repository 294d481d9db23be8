#include "autorun/conflicts.h"

#include <gtest/gtest.h>

namespace kmr {
namespace {

using F = Finding;

TEST(ConflictCheck, FindingsInTheirFixedOrderOnceEach) {
    struct Case {
        const char* name;
        std::vector<ProjectObject> objects;
        std::vector<Finding> findings;
    };
    ProjectObject capitalResource = makeProgram("a.html");
    capitalResource.setCaption("EJECUTAR RECURSO \"a.html\"");
    const std::vector<Case> cases = {
        {"empty project", {}, {}},
        {"only a plain menu", {makeMenu("A", "a.exe", "a")}, {F::NoResource}},
        {"only a label", {makeLabel("C:")}, {F::NoResource}},
        {"program on a drive", {makeProgram("C:\\setup.exe")}, {F::RunDriveReference}},
        {"quoted drive path", {makeProgram("\"C:\\Program Files\\a.exe\"")}, {}},
        {"resource, icon, plain menu",
         {makeResource("docs\\index.html"), makeIcon("icono.ico"), makeMenu("N", "notepad.exe", "n")},
         {F::XpOnlyResource}},
        {"caption in capitals still a resource", {capitalResource}, {F::XpOnlyResource}},
        {"default menu first, run entry after",
         {makeMenu("A", "a", "a", true), makeProgram("b.exe")},
         {F::IncompatibleObjects}},
        {"icon and two menu commands on drives",
         {makeIcon("D:\\a.ico"), makeMenu("A", "E:\\a.exe", "a", true), makeMenu("B", "E:b.exe", "b")},
         {F::IconDriveReference, F::MenuDriveReference}},
        {"everything at once",
         {makeResource(":x"), makeIcon("c:"), makeMenu("A", "e:", "a", true)},
         {F::IncompatibleObjects, F::IconDriveReference, F::RunDriveReference, F::MenuDriveReference,
          F::XpOnlyResource}},
        {"a menu with no command", {ProjectObject{"m", Kind::DefaultMenu, {"A"}}}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(checkConflicts(Project{c.objects}), c.findings) << c.name;
}

TEST(ConflictCheck, DriveReferenceLooksAtTheFirstTwoCharacters) {
    for (const char* yes : {":", ":x", "C:", "C:\\a.exe", "ñ:\\a"}) EXPECT_TRUE(isDriveReference(yes)) << yes;
    for (const char* no : {"", "C", "\"C:\\a\"", "ab:", "\\\\srv\\a", "ññ:"}) EXPECT_FALSE(isDriveReference(no)) << no;
}

TEST(ConflictCheck, ReportTexts) {
    EXPECT_EQ(findingText(F::IncompatibleObjects).title, "Objetos incompatibles");
    EXPECT_EQ(findingText(F::IncompatibleObjects).image, 29);
    EXPECT_EQ(findingText(F::XpOnlyResource).title, "Autorun válido solo para Windows XP");
    EXPECT_EQ(findingText(F::XpOnlyResource).image, 28);
    EXPECT_EQ(explanationOf(F::XpOnlyResource),
              "  Es posible que el CD que albergue este autorun sólo funcione bajo Windows XP en la ejecución del "
              "recurso.\n  Para evitar esto utilice la compatibilidad con Windows 95 (no utilizando \"recurso "
              "asociado a programa\").");
    EXPECT_EQ(findingText(F::MenuDriveReference).explanation[0].substr(0, 46),
              "  Ha referenciado el comando de un menu a una ");
}

}  // namespace
}  // namespace kmr
