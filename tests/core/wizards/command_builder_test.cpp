#include "wizards/command_builder.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kmr {

// Readable failures: the fields a page shows.
static void PrintTo(const BuilderFields& f, std::ostream* os) {
    *os << "{name=" << f.name << " drive=" << f.drive << " folder=" << f.folder << " path=" << f.path
        << " address=" << f.address << " inCompilation=" << f.inCompilation << " email=" << f.email
        << " multipleIcons=" << f.multipleIcons << " iconCode=" << f.iconCode << " internetEmail=" << f.internetEmail
        << " compatibility=" << f.compatibility << "}";
}

namespace {

constexpr const char* kMissing = "Faltan casillas por rellenar.";
constexpr const char* kDrive = "El formato de la unidad es incorrecto. Escriba unidad y dos puntos.";
constexpr const char* kNoAddress = "Introduzca el dato requerido.";
constexpr const char* kCheck = "Compruebe los datos. Si se han corregido correctamente pulse sobre \"Insertar\".";

BuilderFields pathPage(std::string name, std::string drive, std::string folder, bool inCompilation = false) {
    BuilderFields f;
    f.name = std::move(name);
    f.drive = std::move(drive);
    f.folder = std::move(folder);
    f.inCompilation = inCompilation;
    return f;
}

BuilderFields icon(std::string name, std::string drive, std::string folder, bool multiple, int code) {
    BuilderFields f = pathPage(std::move(name), std::move(drive), std::move(folder));
    f.multipleIcons = multiple;
    f.iconCode = code;
    return f;
}

BuilderFields explorar(std::string path, std::string drive, bool inCompilation, bool email = false) {
    BuilderFields f;
    f.path = std::move(path);
    f.drive = std::move(drive);
    f.inCompilation = inCompilation;
    f.email = email;
    return f;
}

BuilderFields internet(std::string address, bool email = false, bool compatibility = false) {
    BuilderFields f;
    f.address = std::move(address);
    f.internetEmail = email;
    f.compatibility = compatibility;
    return f;
}

struct Accepted {
    const char* what;
    BuilderPage page;
    BuilderFields in;
    std::string result;
    std::optional<bool> flag;
    BuilderFields out;  // the fields as written back
};

TEST(CommandBuilderCompose, AcceptedCompositions) {
    const std::vector<Accepted> cases = {
        {"program, one-letter drive", BuilderPage::Programa, pathPage("setup.exe", "d", "instal"),
         "d:\\instal\\setup.exe", false, pathPage("setup.exe", "d:", "instal\\")},
        {"program, backslashes removed once", BuilderPage::Programa,
         pathPage("\\setup.exe", "c:\\", "\\juegos\\demo\\"), "c:\\juegos\\demo\\setup.exe", false,
         pathPage("setup.exe", "c:", "juegos\\demo\\")},
        {"program in the compilation, empty drive stays empty", BuilderPage::Programa,
         pathPage("setup.exe", "", "", true), "setup.exe", false, pathPage("setup.exe", "", "", true)},
        {"program, no folder", BuilderPage::Programa, pathPage("calc.exe", "c:", ""), "c:\\calc.exe", false,
         pathPage("calc.exe", "c:", "")},
        {"program, blanks and control characters trimmed", BuilderPage::Programa,
         pathPage(" \tsetup.exe\r\n", "  d ", "\x01instal "), "d:\\instal\\setup.exe", false,
         pathPage("setup.exe", "d:", "instal\\")},
        {"program, double backslashes keep one", BuilderPage::Programa, pathPage("a.exe", "d", "\\\\juegos\\\\"),
         "d:\\\\juegos\\\\a.exe", false, pathPage("a.exe", "d:", "\\juegos\\\\")},
        {"program, two characters pass unchanged", BuilderPage::Programa, pathPage("a.exe", "dd", ""), "dd\\a.exe",
         false, pathPage("a.exe", "dd", "")},
        {"program, drive counted in characters", BuilderPage::Programa, pathPage("a.exe", "ñ", ""), "ñ:\\a.exe", false,
         pathPage("a.exe", "ñ:", "")},
        {"program, two non-ASCII characters pass", BuilderPage::Programa, pathPage("a.exe", "ñé", ""), "ñé\\a.exe",
         false, pathPage("a.exe", "ñé", "")},
        {"program in the compilation, long drive not examined", BuilderPage::Programa,
         pathPage("a.exe", "abc", "bin", true), "bin\\a.exe", false, pathPage("a.exe", "abc", "bin\\", true)},
        {"program, blanks inside a path get no quotes", BuilderPage::Programa,
         pathPage("mi programa.exe", "d:", "Archivos de programa"), "d:\\Archivos de programa\\mi programa.exe", false,
         pathPage("mi programa.exe", "d:", "Archivos de programa\\")},
        {"document in the compilation, empty drive becomes a colon", BuilderPage::Recursos,
         pathPage("manual.pdf", "", "docs", true), "docs\\manual.pdf", true,
         pathPage("manual.pdf", ":", "docs\\", true)},
        {"document, drive with backslash", BuilderPage::Recursos, pathPage("index.html", "e:\\", "web"),
         "e:\\web\\index.html", true, pathPage("index.html", "e:", "web\\")},
        {"media, one-letter drive", BuilderPage::Multimedia, pathPage("cancion.mp3", "f", ""), "f:\\cancion.mp3", true,
         pathPage("cancion.mp3", "f:", "")},
        {"media in the compilation", BuilderPage::Multimedia, pathPage("pelicula.avi", "", "video", true),
         "video\\pelicula.avi", true, pathPage("pelicula.avi", ":", "video\\", true)},
        {"icon with several icons", BuilderPage::Icono, icon("iconos.dll", "d:", "", true, 3), "d:\\iconos.dll,3",
         std::nullopt, icon("iconos.dll", "d:", "", true, 3)},
        {"icon, code ignored while the box is unchecked", BuilderPage::Icono, icon("autorun.ico", "d", "", false, 7),
         "d:\\autorun.ico", std::nullopt, icon("autorun.ico", "d:", "", false, 7)},
        {"icon code kept in its range", BuilderPage::Icono, icon("a.dll", "d:", "", true, 5000), "d:\\a.dll,999",
         std::nullopt, icon("a.dll", "d:", "", true, 5000)},
        {"explorer in the compilation", BuilderPage::Explorar, explorar("docs\\present.ppt", "", true),
         "explorer \"%1\\docs\\present.ppt\"", false, explorar("docs\\present.ppt", ":", true)},
        {"explorer on a drive", BuilderPage::Explorar, explorar("\\prog\\carpeta", "d", false),
         "explorer \"d:\\prog\\carpeta\"", false, explorar("prog\\carpeta", "d:", false)},
        {"explorer, drive with backslash", BuilderPage::Explorar, explorar("x", "d:\\", false), "explorer \"d:\\x\"",
         false, explorar("x", "d:", false)},
        {"explorer e-mail without prefix", BuilderPage::Explorar, explorar("ana@example.com", "", false, true),
         "explorer mailto:ana@example.com", false, explorar("ana@example.com", "", false, true)},
        {"explorer e-mail with prefix gets quotes", BuilderPage::Explorar,
         explorar(" mailto:ana@example.com ", "", false, true), "explorer \"mailto:ana@example.com\"", false,
         explorar("mailto:ana@example.com", "", false, true)},
        {"program, a lone backslash is the current drive's root", BuilderPage::Programa,
         pathPage("setup.exe", " \\ ", "instal"), "\\instal\\setup.exe", false,
         pathPage("setup.exe", "\\", "instal\\")},
        {"explorer, the root of the disc", BuilderPage::Explorar, explorar(" \\ ", "", true), "explorer \"%1\\\"",
         false, explorar("\\", ":", true)},
        {"explorer, the root of a drive", BuilderPage::Explorar, explorar("\\", "d", false), "explorer \"d:\\\"", false,
         explorar("\\", "d:", false)},
        {"explorer in the compilation, long drive not examined", BuilderPage::Explorar, explorar("x", "abc", true),
         "explorer \"%1\\x\"", false, explorar("x", "abc", true)},
        {"web beginning with www", BuilderPage::Internet, internet("www.example.com"), "http://www.example.com", true,
         internet("www.example.com")},
        {"ftp host with a file path", BuilderPage::Internet, internet("ftp.example.com/pub/f.zip"),
         "ftp://ftp.example.com/pub/f.zip", true, internet("ftp.example.com/pub/f.zip")},
        {"ftp2 host", BuilderPage::Internet, internet("ftp2.example.com"), "ftp://ftp2.example.com", true,
         internet("ftp2.example.com")},
        {"ftp- host", BuilderPage::Internet, internet("ftp-x.example.com"), "ftp://ftp-x.example.com", true,
         internet("ftp-x.example.com")},
        {"http address unchanged", BuilderPage::Internet, internet("  http://example.com/a "), "http://example.com/a",
         true, internet("http://example.com/a")},
        {"ftp address unchanged", BuilderPage::Internet, internet("ftp://example.com/f"), "ftp://example.com/f", true,
         internet("ftp://example.com/f")},
        {"web with compatibility", BuilderPage::Internet, internet("www.example.com", false, true),
         "explorer \"http://www.example.com\"", false, internet("www.example.com", false, true)},
        {"e-mail without prefix", BuilderPage::Internet, internet("ana@example.com", true), "mailto:ana@example.com",
         true, internet("ana@example.com", true)},
        {"e-mail with prefix", BuilderPage::Internet, internet("mailto:ana@example.com", true),
         "mailto:ana@example.com", true, internet("mailto:ana@example.com", true)},
        {"e-mail with compatibility", BuilderPage::Internet, internet("ana@example.com", true, true),
         "explorer \"mailto:ana@example.com\"", false, internet("ana@example.com", true, true)},
        {"e-mail mode does not test web prefixes", BuilderPage::Internet, internet("example.com", true),
         "mailto:example.com", true, internet("example.com", true)},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.what);
        const CompositionResult r = composeCommand(c.page, c.in);
        EXPECT_TRUE(r.accepted);
        EXPECT_FALSE(r.message.has_value());
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.resourceFlag, c.flag);
        EXPECT_EQ(r.fields, c.out);
    }
}

struct Refused {
    const char* what;
    BuilderPage page;
    BuilderFields in;
    const char* text;
    BuilderFields out;
};

TEST(CommandBuilderCompose, MessagesKeepTheDialogOpenWithTrimmedFields) {
    const std::vector<Refused> cases = {
        {"name missing", BuilderPage::Programa, pathPage(" \t", " d ", " x "), kMissing, pathPage("", "d", "x")},
        {"drive missing", BuilderPage::Recursos, pathPage(" a.pdf ", " ", ""), kMissing, pathPage("a.pdf", "", "")},
        {"a lone backslash is no name", BuilderPage::Programa, pathPage(" \\ ", "d", ""), kMissing,
         pathPage("\\", "d", "")},
        {"a lone backslash is no document's drive", BuilderPage::Recursos, pathPage("a.pdf", "\\", "docs"), kMissing,
         pathPage("a.pdf", "\\", "docs")},
        {"a lone backslash is no icon's drive", BuilderPage::Icono, icon("a.ico", "\\", "", false, 0), kMissing,
         icon("a.ico", "\\", "", false, 0)},
        {"explorer, a lone backslash is no address", BuilderPage::Explorar, explorar("\\", "", false, true), kMissing,
         explorar("\\", "", false, true)},
        {"explorer, a lone backslash is no drive", BuilderPage::Explorar, explorar("x", "\\", false), kMissing,
         explorar("x", "\\", false)},
        {"name missing in the compilation", BuilderPage::Multimedia, pathPage("", "", "", true), kMissing,
         pathPage("", "", "", true)},
        {"icon name missing", BuilderPage::Icono, icon("", "d:", "", true, 2), kMissing, icon("", "d:", "", true, 2)},
        {"drive too long, nothing normalised", BuilderPage::Programa, pathPage("\\a.exe", " c:\\x ", "\\f\\"), kDrive,
         pathPage("\\a.exe", "c:\\x", "\\f\\")},
        {"only one trailing backslash is not counted", BuilderPage::Icono, icon("a.ico", "d:\\\\", "", false, 0),
         kDrive, icon("a.ico", "d:\\\\", "", false, 0)},
        {"explorer path missing", BuilderPage::Explorar, explorar("  ", "d:", false), kMissing,
         explorar("", "d:", false)},
        {"explorer e-mail missing", BuilderPage::Explorar, explorar("", "", false, true), kMissing,
         explorar("", "", false, true)},
        {"explorer drive missing", BuilderPage::Explorar, explorar("x", "", false), kMissing, explorar("x", "", false)},
        {"explorer e-mail with a long drive", BuilderPage::Explorar, explorar("ana@example.com", "abc", false, true),
         kDrive, explorar("ana@example.com", "abc", false, true)},
        {"explorer drive too long", BuilderPage::Explorar, explorar("\\x", "d:\\x", false), kDrive,
         explorar("\\x", "d:\\x", false)},
        {"address missing", BuilderPage::Internet, internet("\r\n "), kNoAddress, internet("")},
        {"e-mail address missing", BuilderPage::Internet, internet("", true, true), kNoAddress,
         internet("", true, true)},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        const CompositionResult r = composeCommand(c.page, c.in);
        EXPECT_FALSE(r.accepted);
        ASSERT_TRUE(r.message.has_value());
        EXPECT_EQ(*r.message, (BuilderMessage{c.text, "Atención", MessageIcon::Warning}));
        EXPECT_EQ(r.result, "");
        EXPECT_EQ(r.resourceFlag, std::nullopt);
        EXPECT_EQ(r.fields, c.out);
    }
}

TEST(CommandBuilderCompose, UnrecognisedWebAddressIsCorrectedThenAccepted) {
    const struct {
        const char* typed;
        const char* corrected;
    } cases[] = {
        {" example.com ", "http://example.com"},
        {"HTTP://example.com", "http://HTTP://example.com"},  // the prefixes are case-sensitive
        {"Www.example.com", "http://Www.example.com"},
        {"ftp:/example.com", "http://ftp:/example.com"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const CompositionResult first = composeCommand(BuilderPage::Internet, internet(c.typed));
        EXPECT_FALSE(first.accepted);
        ASSERT_TRUE(first.message.has_value());
        EXPECT_EQ(*first.message, (BuilderMessage{kCheck, "Información", MessageIcon::Information}));
        EXPECT_EQ(first.fields.address, c.corrected);
        EXPECT_EQ(first.resourceFlag, std::nullopt);

        const CompositionResult second = composeCommand(BuilderPage::Internet, first.fields);
        EXPECT_TRUE(second.accepted);
        EXPECT_EQ(second.result, c.corrected);
        EXPECT_EQ(second.resourceFlag, true);
    }
}

TEST(CommandBuilderCompose, ChooserPageComposesNothing) {
    const BuilderFields f = pathPage("a.exe", "d", "x");
    const CompositionResult r = composeCommand(BuilderPage::Nuevo, f);
    EXPECT_FALSE(r.accepted);
    EXPECT_FALSE(r.message.has_value());
    EXPECT_EQ(r.fields, f);
}

TEST(CommandBuilderCompose, NormalisedFieldsComposeTheSameAgain) {
    // The fields keep their written-back contents for the next opening; composing them again must
    // not strip or add anything more.
    const std::vector<std::pair<BuilderPage, BuilderFields>> cases = {
        {BuilderPage::Programa, pathPage("\\setup.exe", "c:\\", "\\juegos\\demo\\")},
        {BuilderPage::Recursos, pathPage("manual.pdf", "", "docs", true)},
        {BuilderPage::Icono, icon("iconos.dll", "d", "\\i\\", true, 3)},
        {BuilderPage::Explorar, explorar("\\prog\\carpeta", "d\\", false)},
        {BuilderPage::Explorar, explorar("docs", "", true)},
        {BuilderPage::Multimedia, pathPage("a.mp3", " ", "", true)},
        {BuilderPage::Programa, pathPage("setup.exe", "\\", "\\instal")},
        {BuilderPage::Explorar, explorar("\\", "", true)},
        {BuilderPage::Explorar, explorar("\\", "d:", false)},
    };
    for (const auto& [page, fields] : cases) {
        const CompositionResult once = composeCommand(page, fields);
        const CompositionResult twice = composeCommand(page, once.fields);
        ASSERT_TRUE(once.accepted);
        EXPECT_EQ(twice.result, once.result);
        EXPECT_EQ(twice.fields, once.fields);
    }
}

TEST(CommandBuilderReactions, IconNameSetsSeveralIcons) {
    const struct {
        const char* name;
        IconCheck expected;
    } cases[] = {
        {"autorun.ico", IconCheck::Uncheck},
        {"fondo.bmp", IconCheck::Uncheck},
        {"shell32.dll", IconCheck::Check},
        {"iconos.res", IconCheck::Check},
        {"programa.exe", IconCheck::Check},
        {"d:\\carpeta\\programa.exe", IconCheck::Check},
        {"d:/carpeta/autorun.ico", IconCheck::Uncheck},
        {"programa.exe.ico", IconCheck::Uncheck},
        {".exe", IconCheck::Check},
        {"AUTORUN.ICO", IconCheck::Leave},  // compared exactly
        {"programa.Exe", IconCheck::Leave},
        {"programa.exe ", IconCheck::Leave},
        {"readme.txt", IconCheck::Leave},
        {"autorun", IconCheck::Leave},
        {"c:\\iconos.dll\\autorun", IconCheck::Leave},  // a dot in the folder is no extension
        {"c:\\iconos.ico\\programa.exe", IconCheck::Check},
        {"", IconCheck::Leave},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(iconNameReaction(c.name), c.expected);
    }
}

TEST(CommandBuilderReactions, DriveFieldFollowsTheBoxes) {
    const struct {
        BuilderPage page;
        bool inCompilation, email;
        DriveControls expected;  // drive enabled, button face, in-compilation box enabled
    } cases[] = {
        {BuilderPage::Programa, false, false, {true, false, true}},
        {BuilderPage::Programa, true, false, {false, true, true}},
        {BuilderPage::Icono, true, true, {false, true, true}},  // only Explorar has an e-mail box
        {BuilderPage::Recursos, false, true, {true, false, true}},
        {BuilderPage::Explorar, false, false, {true, false, true}},
        {BuilderPage::Explorar, true, false, {false, true, true}},
        {BuilderPage::Explorar, false, true, {false, true, false}},
        {BuilderPage::Explorar, true, true, {false, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page) * 4 + c.inCompilation * 2 + c.email);
        EXPECT_EQ(driveControls(c.page, c.inCompilation, c.email), c.expected);
    }
}

TEST(CommandBuilderReactions, AtSignInThePathChecksTheEmailBox) {
    const struct {
        char32_t key;
        bool fieldEmpty, box, expected;
    } cases[] = {
        {U'@', false, false, true}, {U'@', false, true, true}, {U'@', true, false, false},  // "@" first: unchecked
        {U'a', true, true, false},  {U'a', false, true, true}, {U'a', false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(emailBoxAfterKey(c.key, c.fieldEmpty, c.box), c.expected)
            << static_cast<char>(c.key) << c.fieldEmpty << c.box;
    }
}

TEST(CommandBuilderReactions, LabelsOfTheModes) {
    EXPECT_EQ(explorarTexts(false).pathLabel, "Ruta y nombre del recurso o carpeta:");
    EXPECT_EQ(explorarTexts(false).example, "Por ejemplo: \"docs\\present.ppt\", \"prog\\carpeta\"");
    EXPECT_EQ(explorarTexts(true).pathLabel, "Dirección de correo electrónico:");
    EXPECT_EQ(internetTexts(false).addressLabel, "Dirección de la página web, ruta del fichero a descargar:");
    EXPECT_EQ(internetTexts(true).addressLabel, "Dirección de correo electrónico:");
    // The text each choice puts into the field is accepted by that choice without a correction.
    for (const bool email : {false, true}) {
        const CompositionResult r =
            composeCommand(BuilderPage::Internet, internet(std::string(internetTexts(email).address), email));
        EXPECT_TRUE(r.accepted) << email;
    }
}

}  // namespace
}  // namespace kmr
