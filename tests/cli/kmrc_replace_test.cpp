// kmrc never replaces a project file unless told to, and kmrc new names the disc of its project.
#include <gtest/gtest.h>

#include <filesystem>

#include "kmrc.h"
#include "platform/path_text.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::kmrc;

const std::string kProject = crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe", "Etiqueta=Viejo"});
// Another project, which each refused command would replace.
const std::string kOther = crlf({"[Brenlowe KMR File]", "Version=2.0", "Etiqueta=Otro"});
const std::string kAutorun = crlf({"[autorun]", "open=otro.exe"});
// The same project saved as UTF-16 LE, under a name that does not say what it is.
constexpr char kUtf16Bytes[] = "\xFF\xFE[\0B\0r\0e\0n\0l\0o\0w\0e\0 \0K\0M\0R\0 \0F\0i\0l\0e\0]\0\r\0\n\0";
const std::string kUtf16Project(kUtf16Bytes, sizeof kUtf16Bytes - 1);

TEST(KmrcReplace, AProjectIsReplacedOnlyWithForce) {
    test::TempDir dir;
    test::writeBytes(dir.file("p.kmr"), kProject);
    test::writeBytes(dir.file("autorun.inf"), kAutorun);
    auto at = [&](const char* name) { return dir.file(name); };
    struct Case {
        std::vector<std::string> args;  // without --force
        std::string target;
        std::string before;
        bool refused;
    };
    const std::vector<Case> cases = {
        {{"new", "--label", "Nuevo", "-o", at("old.kmr")}, at("old.kmr"), kOther, true},
        {{"new", "--label", "Nuevo", "-o", at("old.dat")}, at("old.dat"), kUtf16Project, true},
        {{"convert", at("p.kmr"), at("old.kmr")}, at("old.kmr"), kOther, true},
        {{"compile", at("p.kmr"), "-o", at("old.kmr")}, at("old.kmr"), kOther, true},
        {{"import", at("autorun.inf"), "-o", at("old.kmr")}, at("old.kmr"), kOther, true},
        // What is not a project is written as before: an autorun.inf, a file of other content.
        {{"compile", at("p.kmr"), "-o", at("old.inf")}, at("old.inf"), kAutorun, false},
        {{"convert", at("p.kmr"), at("old.kmr")}, at("old.kmr"), "", false},
    };
    for (const Case& c : cases) {
        const std::string what = testing::PrintToString(c.args);
        test::writeBytes(c.target, c.before);
        const test::KmrcRun r = kmrc(c.args);
        if (!c.refused) {
            EXPECT_EQ(r.code, kDone) << what << r.err;
            EXPECT_NE(test::readBytes(c.target), c.before) << what;
            continue;
        }
        EXPECT_EQ(r.code, kUsage) << what;
        EXPECT_EQ(r.err, "kmrc: " + c.target + ": ya existe un proyecto con ese nombre; use --force para sustituirlo\n")
            << what;
        EXPECT_EQ(test::readBytes(c.target), c.before) << what;
        std::vector<std::string> forced = c.args;
        forced.insert(forced.begin() + 1, "--force");
        const test::KmrcRun f = kmrc(forced);
        EXPECT_EQ(f.code, kDone) << what << f.err;
        EXPECT_NE(test::readBytes(c.target), c.before) << what;
    }
}

// No verb writes the file it reads, by its own name, another name or a link, whatever --force says;
// and a file that is no project is named for what it is.
TEST(KmrcReplace, NoVerbWritesTheFileItReads) {
    test::TempDir dir;
    const auto at = [&](const char* name) { return dir.file(name); };
    const std::string templ = crlf({"[Brenlowe KMR Template]", "VersioMajor=2", "VersioMenor=3"});
    std::error_code linked;
    fs::create_symlink(at("p.kmr"), at("enlace.kmr"), linked);
    // Where compile writes by default.
    struct InFolder {
        fs::path old = fs::current_path();
        explicit InFolder(const fs::path& dir) { fs::current_path(dir); }
        ~InFolder() { fs::current_path(old); }
    } inFolder(dir.path());
    fs::create_directories(dir.path() / "disco");
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        // the command, the file it reads
        {{"compile", "--force", "autorun.inf"}, "autorun.inf"},  // a user who meant import
        {{"compile", "--force", at("p.kmr"), "-o", at("p.kmr")}, at("p.kmr")},
        {{"convert", "--force", at("p.kmr"), dir.path().string() + "/./p.kmr"}, at("p.kmr")},
        {{"import", "--force", at("autorun.inf"), "-o", at("autorun.inf")}, at("autorun.inf")},
        {{"new", "--force", "--template", at("t.kmrt"), "-o", at("t.kmrt")}, at("t.kmrt")},
        {{"iso", "--force", at("disco/autorun.inf"), "--disc", at("disco"), "-o", at("x.iso")},
         at("disco/autorun.inf")},
    };
    if (!linked)
        cases.emplace_back(std::vector<std::string>{"convert", "--force", at("p.kmr"), at("enlace.kmr")}, at("p.kmr"));
    for (const auto& [args, input] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        test::writeBytes(at("p.kmr"), kProject);
        test::writeBytes(at("autorun.inf"), kAutorun);
        test::writeBytes(at("disco/autorun.inf"), kAutorun);
        test::writeBytes(at("t.kmrt"), templ);
        const std::string before = test::readBytes(input);
        const test::KmrcRun r = kmrc(args);
        EXPECT_EQ(r.code, kUsage);
        EXPECT_NE(r.err.find(": es el mismo fichero que la entrada " + input + "; no se ha escrito nada\n"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(test::readBytes(input), before);
    }

    // Without --force, the version check says what a file that is no project is; --force still reads it.
    test::writeBytes(at("otro.txt"), "hola\r\n");
    const std::vector<std::pair<std::string, std::string>> said = {
        {at("autorun.inf"),
         "no es un proyecto de KMR, sino un autorun.inf: use kmrc import para importarlo (o --force para leerlo "
         "igualmente como proyecto)"},
        {at("otro.txt"), "no es un proyecto de KMR (use --force para leerlo igualmente)"},
    };
    for (const auto& [file, message] : said) {
        const test::KmrcRun r = kmrc({"compile", file, "-o", at("salida.inf")});
        EXPECT_EQ(r.code, kRefused);
        EXPECT_EQ(r.err, "kmrc: " + file + ": " + message + "\n");
        EXPECT_EQ(kmrc({"show", "--force", file}).code, kDone);
    }
}

TEST(KmrcReplace, NewNamesTheDiscFolderAndMedium) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "disco");
    const test::KmrcRun r = kmrc({"new", "--program", "setup.exe", "--disc", dir.file("disco") + "/", "--medium", "usb",
                                  "-o", dir.file("p.kmr")});
    ASSERT_EQ(r.code, kDone) << r.err;
    const std::string saved = test::readBytes(dir.file("p.kmr"));
    // The folder as the system writes it: with "\\" on Windows.
    const std::string folder = platform::textOf(platform::pathOf(dir.file("disco")).make_preferred());
    EXPECT_NE(saved.find("\r\nDisco=" + folder + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nSoporte=USB\r\n"), std::string::npos) << saved;
    // check and iso find the folder without --disc.
    const test::KmrcRun check = kmrc({"check", dir.file("p.kmr")});
    EXPECT_NE(check.out.find("Fichero inexistente en el disco: El programa o recurso a ejecutar hace referencia a "
                             "\"setup.exe\""),
              std::string::npos)
        << check.out;
    EXPECT_NE(check.out.find("Autorun limitado en unidades USB"), std::string::npos) << check.out;
}

}  // namespace
}  // namespace kmr::cli
