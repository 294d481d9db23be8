#include "autorun/kept_entries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <tuple>

#include "autorun/compiler.h"
#include "autorun/importer.h"
#include "project/object_lines.h"
#include "project/project_file.h"
#include "support/printers.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;
using test::crlf;

// The entries of `original` that `compiled` does not hold as often (section, key and value; section
// and key in any letter case), one per line.
std::string lostEntries(std::string_view original, std::string_view compiled) {
    std::vector<InfEntry> left = infEntries(compiled);
    std::string lost;
    for (const InfEntry& e : infEntries(original)) {
        const auto it = std::find(left.begin(), left.end(), e);
        if (it == left.end())
            lost += "[" + e.section + "] " + e.key + "=" + e.value + "\n";
        else
            left.erase(it);
    }
    return lost;
}

std::string compiledText(const Project& p) { return text::decode(autorunFileBytes(p)).text; }

// Over every real file: import and compile lose nothing once the extras are kept, the objects and the
// count of unrecognised lines are those of the plain import, and the compiled file means to Windows
// what the original meant.
TEST(KeptEntriesCorpus, ImportThenCompileLosesNoEntry) {
    const fs::path dir = fs::path(KMR_CORPUS_DIR) / "autorun";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    std::size_t files = 0, lostBefore = 0, lostAfter = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".inf") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const AutorunSource source = readAutorunFile(entry.path().string());
        ASSERT_TRUE(source.ok()) << source.message;
        const ImportResult plain = importAutorun(source.text, {.keepExtras = false});
        const ImportResult kept = importAutorun(source.text, ImportOptions{});
        EXPECT_EQ(kept.project.objects, plain.project.objects);
        EXPECT_EQ(kept.unrecognised, plain.unrecognised);
        EXPECT_EQ(importReportText(kept.unrecognised), importReportText(plain.unrecognised));
        EXPECT_TRUE(plain.project.settings.empty());
        const std::string compiled = compiledText(kept.project);
        lostBefore += !lostEntries(source.text, compiledText(plain.project)).empty();
        const std::string lost = lostEntries(source.text, compiled);
        lostAfter += !lost.empty();
        EXPECT_EQ(lost, "");
        // One file holds only [AutoRun.Amd64], whose icon the importer turns into the icon of the project:
        // its compiled file shows that icon in [autorun] too.
        if (entry.path().filename() != "080.inf") {
            EXPECT_EQ(firstMeaningDifference(source.text, compiled), std::nullopt);
        }
        // The project file keeps every kept entry, and the reopened project compiles to the same lines: an
        // empty "label=" or "open=" (an object the file cannot hold) once, not lost and not twice.
        const Project reopened = readProjectFile(projectFileBytes(kept.project)).project;
        EXPECT_EQ(reopened.settings, settingsToStore(kept.project).value_or(kept.project.settings));
        EXPECT_EQ(lostEntries(compiled, compiledText(reopened)), "");
        EXPECT_EQ(lostEntries(compiledText(reopened), compiled), "");
        ++files;
    }
    std::cout << "[ corpus ] " << files << " files; losing an entry: " << lostBefore << " without the extras, "
              << lostAfter << " with them\n";
    EXPECT_GT(lostBefore, 0U);
    EXPECT_EQ(lostAfter, 0U);
}

// The [autorun] entries of a compiled text in one family of keys, as Windows reads them.
std::vector<InfEntry> familyEntries(std::string_view compiled, KeyFamily family) {
    std::vector<InfEntry> entries = infEntries(compiled);
    std::erase_if(entries, [&](const InfEntry& e) { return e.section != "autorun" || keyFamilyOf(e.key) != family; });
    return entries;
}

// What the user sets through the objects wins over the kept lines: after a change of the default menu,
// label, program or icon of a real file, its family of keys says exactly what the objects say (also
// after a save and an open), and only lines of that family are left out.
TEST(KeptEntriesCorpus, ChangedObjectsWinOverKeptLines) {
    const fs::path dir = fs::path(KMR_CORPUS_DIR) / "autorun";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    const auto set = [](ProjectObject o) {
        return [o](Project& p) {
            const auto at = std::find_if(p.objects.begin(), p.objects.end(), [&](auto& x) { return x.kind == o.kind; });
            at == p.objects.end() ? void(p.insert(o)) : void(*at = o);
        };
    };
    const auto toggleDefault = [](Project& p) {  // the default mark taken away, or given to the first menu
        const bool had = p.contains(Kind::DefaultMenu);
        for (ProjectObject& o : p.objects) {
            if (isMenu(o.kind))
                o.kind = !had && &o == &p.objects[p.size() - p.menuCount()] ? Kind::DefaultMenu : Kind::PlainMenu;
        }
    };
    const std::vector<std::pair<KeyFamily, std::function<void(Project&)>>> changes = {
        {KeyFamily::DefaultMenu, toggleDefault},
        {KeyFamily::Label, set(makeLabel("Etiqueta nueva"))},
        {KeyFamily::Run, set(makeProgram("nuevo.exe"))},
        {KeyFamily::Icon, set(makeIcon("nuevo.ico"))},
    };
    std::size_t withFamilyLinesKept = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".inf") continue;
        const AutorunSource source = readAutorunFile(entry.path().string());
        const Project imported = importAutorun(source.text, ImportOptions{}).project;
        withFamilyLinesKept += !imported.settings.importedLines.empty();
        for (const auto& [family, change] : changes) {
            SCOPED_TRACE(entry.path().filename().string() + ", " + std::string(familyName(family)));
            Project changed = imported;
            change(changed);
            if (changed.objects == imported.objects) continue;  // no menu to mark
            std::string own = "[autorun]\r\n";
            for (const std::string& line : familyLines(changed.objects, family)) own += line + "\r\n";
            const Project reopened = readProjectFile(projectFileBytes(changed)).project;
            for (const std::string& compiled : {compiledText(changed), compiledText(reopened)}) {
                EXPECT_EQ(familyEntries(compiled, family), familyEntries(own, family));
                for (const InfEntry& e : infEntries(lostEntries(source.text, compiled))) {
                    EXPECT_EQ(keyFamilyOf(e.key), family) << e.key;
                }
            }
        }
    }
    std::cout << "[ corpus ] " << withFamilyLinesKept << " files keep lines of the objects' keys\n";
    EXPECT_GT(withFamilyLinesKept, 0U);
}

// A kept line that differs from its object only in letter case or in blanks at its ends is the object's
// own: a change of the object leaves no line behind that says the old value.
TEST(KeptEntries, LinesOfTheObjectsMatchInAnyCase) {
    const std::vector<std::tuple<std::string, std::function<void(Project&)>, std::string>> cases = {
        {"[AutoRun]\nshell=Instalar\nshell\\instalar=I\nshell\\instalar\\command=a.exe",
         [](Project& p) { p.objects[0].kind = Kind::PlainMenu; },
         "[autorun]\r\n\r\nshell\\instalar=I\r\nshell\\instalar\\command=a.exe\r\n"},
        {"[AutoRun]\nLABEL = Disco \nlabel=Otro", [](Project&) {}, "[autorun]\r\nlabel=Disco\r\nlabel=Otro\r\n"},
        {"[AutoRun]\nlabel=Disco\nlabel=Otro", [](Project& p) { p.objects.clear(); }, "[autorun]\r\n"},
    };
    for (const auto& [file, change, compiled] : cases) {
        Project p = importAutorun(file, ImportOptions{}).project;
        change(p);
        EXPECT_EQ(compileAutorun(p), compiled) << file;
    }
}

TEST(KeptEntries, WhereEachLineOfAnImportGoes) {
    const std::string text = crlf({
        "[AutoRun]",
        "open=setup.exe",
        "OPEN=otro.exe",
        "Action = Instalar el programa ",
        "UseAutoPlay=1",
        "CustomEvent=MiEvento",
        "shellstart=x.exe",
        "; un comentario",
        "shell=nada",
        "",
        "[Content]",
        "MusicFiles=true",
        "VideoFiles=0",
        "Extra=1",
        "[ExclusiveContentPaths]",
        "\\musica",
        "\\fotos\\2020",
        "[DeviceInstall]",
        "DriverPath=drivers\\video",
        "DriverPath=drivers\\red",
        "[autorun.AMD64]",
        "open=setup64.exe",
        "; de 64 bits",
        "[Strings]",
        "Nombre=\"Mi disco\"",
        "a=1\rb=2",
    });
    const ImportResult r = importAutorun(text, ImportOptions{});
    const DiscSettings& s = r.project.settings;
    EXPECT_EQ(r.project.objects, (std::vector<ProjectObject>{makeProgram("setup.exe")}));
    EXPECT_EQ(r.unrecognised, 22U);
    EXPECT_EQ(s.action, "Instalar el programa");
    EXPECT_EQ(s.useAutoPlay, "1");
    EXPECT_EQ(s.customEvent, "MiEvento");
    EXPECT_EQ(s.content.music, "true");
    EXPECT_EQ(s.content.pictures, std::nullopt);
    EXPECT_EQ(s.content.video, "0");
    EXPECT_EQ(s.exclusiveContentPaths, (std::vector<std::string>{"\\musica", "\\fotos\\2020"}));
    EXPECT_EQ(s.driverPaths, (std::vector<std::string>{"drivers\\video", "drivers\\red"}));
    ASSERT_EQ(s.platforms.size(), 1U);
    EXPECT_EQ(s.platforms[0].platform, "Amd64");
    EXPECT_EQ(s.platforms[0].entries, (std::vector<AutorunEntry>{{"open", "setup64.exe"}}));
    const std::vector<KeptSection> kept = {
        {"AutoRun", {"OPEN=otro.exe", "shellstart=x.exe", "; un comentario", "shell=nada"}},
        {"Content", {"Extra=1"}},
        {"autorun.AMD64", {"; de 64 bits"}},
        {"Strings", {"Nombre=\"Mi disco\"", "a=1", "b=2"}},
    };
    EXPECT_EQ(s.kept, kept);
    // Compiled in the documented order, after the lines of the objects.
    EXPECT_EQ(compileAutorun(r.project), crlf({
                                             "[autorun]",
                                             "open=setup.exe",
                                             "action=Instalar el programa",
                                             "CustomEvent=MiEvento",
                                             "UseAutoPlay=1",
                                             "OPEN=otro.exe",
                                             "shellstart=x.exe",
                                             "; un comentario",
                                             "shell=nada",
                                             "",
                                             "[Content]",
                                             "MusicFiles=true",
                                             "VideoFiles=0",
                                             "Extra=1",
                                             "",
                                             "[ExclusiveContentPaths]",
                                             "\\musica",
                                             "\\fotos\\2020",
                                             "",
                                             "[DeviceInstall]",
                                             "DriverPath=drivers\\video",
                                             "DriverPath=drivers\\red",
                                             "",
                                             "[AutoRun.Amd64]",
                                             "open=setup64.exe",
                                             "; de 64 bits",
                                             "",
                                             "[Strings]",
                                             "Nombre=\"Mi disco\"",
                                             "a=1",
                                             "b=2",
                                         }));
    EXPECT_EQ(lostEntries(text, compileAutorun(r.project)), "");
    EXPECT_EQ(readProjectFile(projectFileBytes(r.project)).project, r.project);
    // Without the extras, exactly the plain import.
    const ImportResult plain = importAutorun(text, {.keepExtras = false});
    EXPECT_EQ(plain.project, importAutorun(text).project);  // the importer of old
}

// The lines of a kept section come back as they were put in, whatever their length or characters.
TEST(KeptEntries, KeptLinesHoldAnyLine) {
    const std::vector<std::string> lines = {"",
                                            "a",
                                            std::string(127, 'x'),
                                            std::string(128, 'y'),
                                            std::string(16384, 'z'),
                                            std::string("nul\0dentro", 10),
                                            std::string(70000, 'w')};
    KeptLines kept;
    for (const std::string& line : lines) kept.push_back(line);
    EXPECT_EQ(static_cast<std::vector<std::string>>(kept), lines);
    EXPECT_EQ(kept.size(), lines.size());
    EXPECT_EQ(kept[5], lines[5]);
    EXPECT_EQ(kept, KeptLines(lines));
    EXPECT_NE(kept, KeptLines({"", "a"}));
}

// Values that the profile rules would change, characters outside Windows-1252 and long lines come back
// from a project file exactly; projects without settings are written as before.
TEST(KeptEntries, ProjectFileKeepsEverySettingExactly) {
    const std::string longLine = "clave=" + std::string(3000, 'x');
    struct Case {
        const char* name;
        DiscSettings settings;
    };
    const std::vector<Case> cases = {
        {"blanks at the ends", {.action = "  Instalar  ", .customEvent = " Evento"}},
        {"quotes", {.action = "\"Instalar\"", .useAutoPlay = "'1'", .exclusiveContentPaths = {"\"\\a b\""}}},
        {"equals signs", {.platforms = {{"x86", {{"shell\\a\\command", "x.exe a=b"}, {"label", "=="}}}}}},
        {"empty values", {.action = "", .content = {.music = "", .pictures = "", .video = ""}}},
        {"outside Windows-1252", {.customEvent = "事件", .kept = {{"Strings", {"Nombre=Диск ✓"}}}}},
        {"long line", {.kept = {{"autorun", {longLine, "", "  ; sangrado  "}}}}},
        {"lists",
         {.exclusiveContentPaths = {"\\a", "\\a"},
          .ignoreContentPaths = {"\\b"},
          .driverPaths = {"d1", " d2 "},
          .kept = {{"Strings", {}}, {"Version", {"Signature=\"$CHICAGO$\""}}}}},
        {"platforms in order", {.platforms = {{"PPC", {}}, {"Alpha", {{"open", "a.exe"}}}, {"x86", {}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p({makeLabel("Disco"), makeMenu("Leeme", "notepad leeme.txt", "leeme")});
        p.settings = c.settings;
        const std::string bytes = projectFileBytes(p);
        EXPECT_EQ(readProjectFile(bytes).project, p);
        // The reader of files in any other layout too: the general section last.
        std::string text = projectV2Text(p);
        const auto menu = text.find("\r\n[Menu1]");
        text = text.substr(menu) + "\r\n" + text.substr(0, menu);
        EXPECT_EQ(readProjectV2(text).project, p);
    }
    Project plain({makeLabel("Disco")});
    EXPECT_EQ(projectV2Text(plain), crlf({"[Brenlowe KMR File]", "Version=2.0", "Etiqueta=Disco"}));
    EXPECT_EQ(compileAutorun(plain), crlf({"[autorun]", "label=Disco"}));
}

TEST(KeptEntries, MeaningComparison) {
    struct Case {
        const char* actual;
        const char* expected;
        std::optional<std::string> difference;
    };
    const std::vector<Case> cases = {
        {"[autorun]\r\nopen=a.exe\r\n\r\n;x\r\nicon=a.ico", "[AUTORUN]\r\nICON = a.ico\r\nOpen=a.exe\r\n", {}},
        {"[autorun]\nopen=a.exe\nopen=b.exe", "[autorun]\nopen=a.exe", {}},
        {"[autorun]\nshell=Instalar", "[autorun]\nshell=instalar", {}},
        {"[autorun]\nopen=a.exe", "[autorun]\nopen=b.exe",
         "la entrada open de [autorun] vale \"a.exe\" en lugar de \"b.exe\""},
        {"[autorun]\nopen=a.exe", "[autorun]\nopen=a.exe\naction=Instalar",
         "falta la entrada action=Instalar de [autorun]"},
        {"[autorun]\nopen=a.exe\n[Content]\nMusicFiles=1", "[autorun]\nopen=a.exe",
         "sobra la entrada musicfiles=1 de [content]"},
        {"[autorun]\nlabel=A", "[autorun]\nlabel=a", "la entrada label de [autorun] vale \"A\" en lugar de \"a\""},
    };
    for (const Case& c : cases) EXPECT_EQ(firstMeaningDifference(c.actual, c.expected), c.difference) << c.actual;
}

TEST(KeptEntries, NearestKnownKey) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"lable", "label"}, {"shellexecut", "shellexecute"},
        {"ICONO", "icon"},  {"customevents", "CustomEvent"},
        {"shellstart", ""}, {"xyz", ""},
        {"opne", "open"},   {"useautplay", "UseAutoPlay"},
    };
    for (const auto& [key, nearest] : cases) EXPECT_EQ(nearestAutorunKey(key), nearest) << key;
    for (const char* known : {"open", "ShellExecute", "shell\\a\\command", "useautoplay", "Action"})
        EXPECT_TRUE(isKnownAutorunKey(known)) << known;
    EXPECT_FALSE(isKnownAutorunKey("shellstart"));
}

}  // namespace
}  // namespace kmr
