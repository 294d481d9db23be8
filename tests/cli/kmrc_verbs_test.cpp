// kmrc's verbs as their descriptions declare them: the descriptions hold together, the usage errors
// follow them, and the manual page and the help page carry what they say.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "command_line.h"
#include "kmrc.h"
#include "manual.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

std::vector<std::string> words(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

TEST(KmrcVerbs, DescriptionsHoldTogether) {
    const std::filesystem::path help = std::filesystem::path(KMR_RESOURCES_DIR) / "help";
    for (const Verb& v : verbs()) {
        const std::string name(v.name);
        EXPECT_FALSE(v.text.empty()) << name;
        EXPECT_NE(v.run, nullptr) << name;
        std::set<std::string_view> names;
        int outputs = 0;
        for (const VerbOption& o : v.options) {
            EXPECT_TRUE(optionName(o).starts_with('-')) << name << " " << o.form;
            EXPECT_TRUE(names.insert(optionName(o)).second) << name << " repeats " << o.form;
            outputs += o.output;
            if (o.needs.empty()) continue;
            const VerbOption* needed = findOption(v, o.needs);
            ASSERT_NE(needed, nullptr) << name << " " << o.form << " needs " << o.needs;
            EXPECT_TRUE(needed->needs.empty()) << name << " " << o.form << ": brackets nest one deep";
        }
        EXPECT_LE(outputs, 1) << name;
        EXPECT_FALSE(v.examples.empty()) << name;
        for (const std::string_view example : v.examples) {
            EXPECT_EQ(parseVerbLine(v, words(example)).error, "") << name << " " << example;
        }
        for (const VerbLink& link : v.links) {
            EXPECT_TRUE(std::filesystem::exists(help / link.page)) << name << " " << link.page;
        }
    }
}

// The first fault of a line is the one reported, with the usage line its verb's description gives.
TEST(KmrcVerbs, UsageErrorsNameTheFirstFaultAndTheVerbsUsage) {
    test::TempDir dir;
    const std::string project = dir.file("p.kmr");
    test::writeBytes(project, "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=0\r\n");
    const std::string check =
        "uso: kmrc check [--force] [--explain] [--json] [--disc CARPETA] [--medium cd|usb] "
        "PROYECTO\n";
    const std::string iso =
        "uso: kmrc iso [--force] [--disc CARPETA] [--label ETIQUETA] [--verbose] [--in-place] PROYECTO -o IMAGEN.iso\n";
    const std::string newUsage = "uso: kmrc new [--template NOMBRE|FICHERO] [--program P [--resource]] [--icon I] ";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;  // the whole of it, or its start when it ends in the new's usage
    };
    const std::vector<Case> cases = {
        {{"show"}, kUsage, "kmrc: se espera un fichero de proyecto\nuso: kmrc show [--force] FICHERO\n"},
        {{"compile", project, "-o"},
         kUsage,
         "kmrc: falta el fichero tras -o\nuso: kmrc compile [--force] [--strict] [--in-place] PROYECTO [-o "
         "SALIDA|-]\n"},
        {{"convert", "-o", "x"},
         kUsage,
         "kmrc: opción desconocida: -o\nuso: kmrc convert [--force] [--in-place] ENTRADA SALIDA\n"},
        {{"import", "a", "b"},
         kUsage,
         "kmrc: se espera un fichero autorun\nuso: kmrc import [--force] [--json] [--sin-extras] [--in-place] AUTORUN "
         "[-o PROYECTO]\n"},
        {{"templates", "x"}, kUsage, "kmrc: no se esperan ficheros\nuso: kmrc templates [--json]\n"},
        {{"iso", "a", "b"}, kUsage, "kmrc: se espera un fichero de proyecto\n" + iso},
        {{"iso", project}, kUsage, "kmrc: falta la imagen que se va a crear (-o IMAGEN.iso)\n" + iso},
        {{"iso", "--medium", "usb", project}, kUsage, "kmrc: opción desconocida: --medium\n" + iso},
        // A value option given twice: the last one counts.
        {{"check", "--medium", "disquete", "--medium", "cd", project},
         kUsage,
         "kmrc: --medium necesita la carpeta del disco (--disc CARPETA)\n" + check},
        {{"check", "--medium", "cd", "--medium", "disquete", "--disc", dir.path().string(), project},
         kUsage,
         "kmrc: soporte desconocido: disquete (cd o usb)\n" + check},
        // An argument too many comes before the missing -o, a repeated option before one given without
        // the one it needs, and a repeated disc entry only after a wrong template.
        {{"new", "suelto"}, kUsage, "kmrc: argumento de más: suelto\n" + newUsage},
        {{"new", "--resource", "--icon", "a", "--icon", "b", "-o", "n.kmr"},
         kUsage,
         "kmrc: --icon se da más de una vez\n" + newUsage},
        {{"new", "--action", "a", "--action", "b", "--template", "nada", "-o", dir.file("n.kmr")},
         kUsage,
         "kmrc: plantilla desconocida: nada (kmrc templates lista las plantillas)\n"},
        {{"new", "--action", "a", "--action", "b", "-o", dir.file("n.kmr")},
         kUsage,
         "kmrc: --action se da más de una vez\n" + newUsage},
    };
    for (const Case& c : cases) {
        const test::KmrcRun r = test::kmrc(c.args);
        const std::string what = c.args[0] + " " + c.args.back();
        EXPECT_EQ(r.code, c.code) << what << ": " << r.err;
        EXPECT_EQ(c.err.ends_with(newUsage) ? r.err.substr(0, c.err.size()) : r.err, c.err) << what;
    }
}

TEST(KmrcVerbs, PagesCarryTheDescriptions) {
    const std::pair<const char*, PageKind> pages[] = {{"/man/kmrc.1", PageKind::Manual},
                                                      {"/help/kmrc.html", PageKind::HelpPage},
                                                      {"/help/vista_previa.html", PageKind::HelpPage}};
    for (const auto& [name, kind] : pages) {
        const std::string page = test::readBytes(std::string(KMR_RESOURCES_DIR) + name);
        const RewrittenPage r = rewritePage(page, kind);
        EXPECT_EQ(r.error, "") << name;
        // When this fails, `cmake --build build --target kmrc_pages` writes the page anew.
        EXPECT_EQ(r.text, page) << name << " differs from the verbs' descriptions";
    }
    struct Broken {
        std::string page;
        std::string error;
    };
    const std::vector<Broken> broken = {
        {"a\n<!-- begin: verbs -->\nb\n", "no end mark for the section verbs"},
        {"a\n<!-- begin: verbs -->\n<!-- end: exit-codes -->\n", "no end mark for the section verbs"},
        {"a\n<!-- begin: nada -->\n<!-- end: nada -->\n", "no such section: nada"},
        {"a\n<!-- begin: synopsis -->\n<!-- end: synopsis -->\n", "no such section: synopsis"},
    };
    for (const Broken& b : broken) EXPECT_EQ(rewritePage(b.page, PageKind::HelpPage).error, b.error) << b.page;
    // A mark inside a line is text, and a page without marks stays as it is.
    const std::string plain = "<p>see <!-- begin: verbs --></p>\n";
    EXPECT_EQ(rewritePage(plain, PageKind::HelpPage).text, plain);
}

}  // namespace
}  // namespace kmr::cli
