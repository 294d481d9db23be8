// Running out of memory at any allocation leaves nothing broken: a reader or writer either gives its
// whole result or throws std::bad_alloc, and a change of an object either happens whole or not at all.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "autorun/compiler.h"
#include "autorun/importer.h"
#include "project/project.h"
#include "project/project_file.h"
#include "support/failing_allocations.h"
#include "support/test_files.h"

namespace kmr {
namespace {

// Menus whose values fill more than two of the blocks a reader shares out (64 KiB each).
Project bigProject() {
    Project p;
    p.append(makeProgram("setup.exe"));
    p.append(makeIcon("disco.ico"));
    p.append(makeLabel("Mi CD de año"));
    for (int k = 1; k <= 700; ++k) {
        const std::string n = std::to_string(k);
        p.append(makeMenu("Menú " + n, "notepad " + std::string(200, 'x') + n, "m" + n, k == 5));
    }
    return p;
}

std::string summary(const ProjectReadResult& r) {
    return projectFileBytes(r.project) + (r.versionOk ? "+" : "-") + (r.errors ? "!" : ".");
}

TEST(OutOfMemory, ReadersAndWritersGiveTheirWholeResultOrThrow) {
    if (!test::allocationFailuresWork()) GTEST_SKIP() << "AddressSanitizer owns operator new";
    const Project big = bigProject();
    Project wide = big;
    wide.append(makeMenu("☃", "c", "n"));  // not in Windows-1252: written as UTF-16
    std::string reversed = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=300\r\n";
    for (int k = 300; k >= 1; --k) {
        const std::string n = std::to_string(k);
        reversed +=
            "[Menu" + n + "]\r\nTexto=t" + n + "\r\nComando=" + std::string(200, 'c') + "\r\nNombre=n" + n + "\r\n";
    }
    const std::string data = KMR_TEST_DATA_DIR "/projects/";
    const std::string bigBytes = projectFileBytes(big);
    const std::string wideBytes = projectFileBytes(wide);
    const std::string autorun = compileAutorun(big);
    const std::string v1 = test::readBytes(data + "v1-two-menus.kmr");
    const std::string utf8 = test::readBytes(data + "v2-utf8-mark.kmr");

    struct Case {
        const char* name;
        std::function<std::string()> produce;
    };
    const std::vector<Case> cases = {
        {"read in file order", [&] { return summary(readProjectFile(bigBytes)); }},
        {"read as UTF-16", [&] { return summary(readProjectFile(wideBytes)); }},
        {"read out of order", [&] { return summary(readProjectFile(reversed)); }},
        {"read version 1", [&] { return summary(readProjectFile(v1)); }},
        {"read UTF-8 with its mark", [&] { return summary(readProjectFile(utf8)); }},
        {"import", [&] { return projectFileBytes(importAutorun(autorun).project); }},
        {"project file bytes", [&] { return projectFileBytes(wide); }},
        {"autorun file bytes", [&] { return autorunFileBytes(wide); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string whole = c.produce();
        std::optional<std::string> got;
        std::size_t failures = 0;
        const std::size_t runs = test::failEachAllocationInTurn([&] { got = c.produce(); },
                                                                [&](bool failed) {
                                                                    if (failed)
                                                                        ++failures;
                                                                    else
                                                                        EXPECT_EQ(got, whole);
                                                                    got.reset();
                                                                });
        EXPECT_GT(runs, 1U);
        EXPECT_GT(failures, 0U);
    }
}

TEST(OutOfMemory, AnObjectIsChangedWholeOrNotAtAll) {
    if (!test::allocationFailuresWork()) GTEST_SKIP() << "AddressSanitizer owns operator new";
    // Objects as a reader makes them, sharing their blocks with their neighbours.
    const Project read = readProjectFile(projectFileBytes(bigProject())).project;
    struct Case {
        const char* name;
        std::size_t index;
        std::function<void(ProjectObject&)> change;
    };
    const std::vector<Case> cases = {
        {"first value and caption", 10, [](ProjectObject& o) { setFirstValue(o, "Otro menú"); }},
        {"first value from the object itself", 10, [](ProjectObject& o) { setFirstValue(o, o.value(1)); }},
        {"caption", 11, [](ProjectObject& o) { o.setCaption("Un título propio"); }},
        {"a later value", 12, [](ProjectObject& o) { o.setValue(1, "otro comando"); }},
        {"a value the object did not have", 2, [](ProjectObject& o) { o.setValue(2, "nuevo"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Project done = read;
        c.change(done.objects[c.index]);
        Project p = read;
        test::failEachAllocationInTurn([&] { c.change(p.objects[c.index]); },
                                       [&](bool failed) {
                                           EXPECT_EQ(p, failed ? read : done);
                                           p = read;
                                       });
    }
}

}  // namespace
}  // namespace kmr
