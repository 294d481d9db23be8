#include "disc/windows_preview.h"

#include <gtest/gtest.h>

#include <functional>

#include "disc/content_types.h"
#include "disc/disc_check.h"
#include "support/test_files.h"

namespace kmr::disc {
namespace {

namespace fs = std::filesystem;

constexpr auto kXp = WindowsVersion::Xp;
constexpr auto k7 = WindowsVersion::Vista7;
constexpr auto k10 = WindowsVersion::Win8to11;
constexpr auto kCd = DriveType::CdDvd;
constexpr auto kUsb = DriveType::Removable;
constexpr auto kUsbDisk = DriveType::Fixed;

void put(const fs::path& file) {
    fs::create_directories(file.parent_path());
    test::writeBytes(file, "x");
}

// What inserting the disc does, as one line: "runs PROGRAM", "undocumented", or the AutoPlay choices
// separated by '|'.
std::string arrivalLine(const InsertionView& in) {
    if (in.arrival == Arrival::RunsProgram) return "runs";
    if (in.arrival == Arrival::Undocumented) return "undocumented";
    std::string line;
    for (const AutoPlayEntry& e : in.entries) line += (line.empty() ? "" : "|") + e.text;
    return line;
}

const std::string kFolder = "Abrir la carpeta para ver los archivos";
const std::string kPictures = "Programas registrados para imágenes";

// The projects of a disc maker, each on the versions and drives where the rules differ. The disc folder
// holds setup.exe and a picture.
TEST(WindowsPreview, RulesAppliedToProjects) {
    struct Case {
        const char* what;
        std::function<void(Project&)> make;
        WindowsVersion version;
        DriveType drive;
        std::string arrival;
        std::string note;   // a part of the notes; empty: there are none
        std::string click;  // the start of what a double click does
    };
    const auto program = [](Project& p) { p.append(makeProgram("setup.exe")); };
    const auto withAction = [](Project& p) {
        p.append(makeProgram("setup.exe"));
        p.settings.action = "Instalar MiCD";
    };
    const auto contentOnly = [](Project& p) {
        p.append(makeLabel("MiCD"));
        p.settings.content.music = "true";
        p.settings.content.pictures = "0";
    };
    const auto useAutoPlay = [](Project& p) {
        p.append(makeProgram("setup.exe"));
        p.settings.useAutoPlay = "1";
    };
    const std::string runs = "Ejecuta la orden de autoarranque: «setup.exe».";
    const std::string unknownClick = "No documentado: qué hace un doble clic";
    const std::vector<Case> cases = {
        {"CD with open and action, XP", withAction, kXp, kCd, "runs", "en un CD o DVD no la usa", runs},
        {"CD with open and action, 7", withAction, k7, kCd, "setup.exe|" + kPictures + "|" + kFolder,
         "en un CD o DVD no la usa", runs},
        {"CD with open, 10: a notice first is not documented", program, k10, kCd,
         "setup.exe|" + kPictures + "|" + kFolder, "No documentado: si Windows avisa", runs},
        {"USB with open, 10", program, k10, kUsb, kPictures + "|" + kFolder, "no presenta la orden de autoarranque",
         unknownClick},
        {"USB with open and no action, 7", program, k7, kUsb, kPictures + "|" + kFolder,
         "tampoco presentaría el programa: en una unidad extraíble hace falta action", unknownClick},
        {"USB with open and action, XP", withAction, kXp, kUsb, kPictures + "|" + kFolder,
         "presentaría primero, marcado, «Instalar MiCD» con el icono del disco", unknownClick},
        {"USB with an action=@file,-id reference, 7",
         [](Project& p) {
             p.append(makeProgram("setup.exe"));
             p.settings.action = "@setup.exe,-101";
         },
         k7, kUsb, kPictures + "|" + kFolder, "marcado, el texto número 101 de «setup.exe»", unknownClick},
        {"USB hard disk without action, 7", program, k7, kUsbDisk, kPictures + "|" + kFolder,
         "presentaría el programa con un texto propio de Windows", unknownClick},
        {"the update is no matter on 10", program, k10, kUsbDisk, kPictures + "|" + kFolder, "no presenta la orden",
         unknownClick},
        {"[Content] only, 7: music said, pictures denied", contentOnly, k7, kCd,
         "Programas registrados para música|" + kFolder, "[Content] dice a la Reproducción automática",
         "Abre la unidad"},
        {"[Content] only, XP looks for itself", contentOnly, kXp, kCd, kPictures + "|" + kFolder,
         "solo se admiten desde Windows Vista", "Abre la unidad"},
        {"UseAutoPlay, XP", useAutoPlay, kXp, kCd, kPictures + "|" + kFolder,
         "Windows XP usa la Reproducción automática en lugar del autoarranque", runs},
        {"UseAutoPlay, 7", useAutoPlay, k7, kCd, kPictures + "|" + kFolder, "no aparece entre las opciones", runs},
        {"a custom event takes the place of the content",
         [](Project& p) {
             p.append(makeProgram("setup.exe"));
             p.settings.customEvent = "MiEvento";
         },
         k10, kCd, "setup.exe|Programas registrados para el evento «MiEvento»|" + kFolder, "No documentado", runs},
        {"the default menu runs on a double click",
         [](Project& p) {
             p.append(makeResource("leeme.html"));
             p.append(makeMenu("Web", "explorer web.html", "web"));
             p.append(makeMenu("&Instalar", "setup.exe /q", "instalar", true));
         },
         kXp, kCd, "runs", "", "Ejecuta el menú «Instalar»: «setup.exe /q»."},
    };
    const test::TempDir dir;
    put(dir.path() / "setup.exe");
    put(dir.path() / "Fotos" / "playa.jpg");
    for (const Case& c : cases) {
        Project p;
        c.make(p);
        const DiscPreview preview = previewDisc(p, dir.path().generic_string(), c.version, c.drive);
        EXPECT_EQ(arrivalLine(preview.insertion), c.arrival) << c.what;
        std::string notes;
        for (const std::string& n : preview.insertion.notes) notes += n + "\n";
        if (c.note.empty()) {
            EXPECT_EQ(notes, "") << c.what;
        } else {
            EXPECT_NE(notes.find(c.note), std::string::npos) << c.what << ": " << notes;
        }
        EXPECT_TRUE(preview.doubleClick.text.starts_with(c.click)) << c.what << ": " << preview.doubleClick.text;
        EXPECT_FALSE(preview.insertion.sources.empty()) << c.what;
    }
}

// The disc check's findings on the medium say what the preview's notes say, from the same rule.
TEST(WindowsPreview, TheCheckSaysWhatThePreviewSays) {
    struct Case {
        Medium medium;
        Topic topic;
        std::string_view finding;
    };
    const Case cases[] = {
        {Medium::Usb, Topic::Insertion, "usb-ignores-entries"},
        {Medium::CdDvd, Topic::ActionText, "action-on-cd"},
    };
    const test::TempDir dir;
    put(dir.path() / "setup.exe");
    Project p;
    p.append(makeProgram("setup.exe"));
    p.settings.action = "Instalar";
    for (const Case& c : cases) {
        p.disc = {dir.path().generic_string(), c.medium};
        const std::string_view rule = ruleFor(c.topic, k10, driveOf(c.medium)).text;
        std::string notes;
        for (const std::string& n : previewDisc(p, p.disc.folder, k10, driveOf(c.medium)).insertion.notes) notes += n;
        EXPECT_NE(notes.find(rule), std::string::npos) << c.finding;
        std::string said;
        for (const CheckItem& i : checkProjectOnDisc(p, p.disc)) {
            if (i.key == c.finding) said = i.explanation[0];
        }
        EXPECT_NE(said.find(rule), std::string::npos) << c.finding << ": " << said;
    }
}

// Nothing to run and nothing to play: what Windows does then is not written anywhere.
TEST(WindowsPreview, ADiscWithNothingToOfferIsUndocumented) {
    Project p;
    p.append(makeLabel("MiCD"));
    for (const WindowsVersion v : kWindowsVersions) {
        const DiscPreview preview = previewDisc(p, "", v, kCd);
        EXPECT_EQ(preview.insertion.arrival, Arrival::Undocumented) << versionName(v);
        EXPECT_TRUE(preview.insertion.summary.starts_with("No documentado")) << preview.insertion.summary;
        EXPECT_EQ(preview.driveView.label, "MiCD");
    }
}

// Where Windows looks for content: Vista and later follow [ExclusiveContentPaths] and
// [IgnoreContentPaths] (an ignored folder wins inside an exclusive one) and take [Content]'s word; XP
// looks everywhere.
TEST(WindowsPreview, ContentIsLookedForWhereTheSectionsSay) {
    struct Case {
        std::vector<std::string> exclusive;
        std::vector<std::string> ignore;
        std::optional<std::string> video;
        bool readsSections;
        std::array<bool, 3> found;  // music, pictures, video
    };
    const std::vector<Case> cases = {
        {{}, {}, {}, true, {true, true, true}},
        {{"\\musica"}, {}, {}, true, {true, false, false}},
        {{}, {"Fotos"}, {}, true, {true, false, true}},
        {{"Videos"}, {"Videos\\Descartes"}, {}, true, {false, false, false}},
        {{"Musica"}, {"Musica"}, {}, true, {false, false, false}},
        {{"Musica"}, {}, "no", false, {true, true, true}},
        {{"Musica"}, {}, "yes", true, {true, false, true}},
        {{"no-existe"}, {}, {}, true, {false, false, false}},
    };
    const test::TempDir dir;
    put(dir.path() / "Musica" / "tema.MP3");
    put(dir.path() / "Fotos" / "playa.jpeg");
    put(dir.path() / "Videos" / "Descartes" / "toma.avi");
    for (const Case& c : cases) {
        DiscSettings s;
        s.exclusiveContentPaths = c.exclusive;
        s.ignoreContentPaths = c.ignore;
        s.content.video = c.video;
        EXPECT_EQ(contentFound(dir.path().generic_string(), s, c.readsSections), c.found)
            << testing::PrintToString(c.exclusive) << " " << testing::PrintToString(c.ignore);
    }
    DiscSettings said;
    said.content.video = "true";
    EXPECT_EQ(contentFound("", said, true), (std::array<bool, 3>{false, false, true})) << "no folder: only [Content]";
}

}  // namespace
}  // namespace kmr::disc
