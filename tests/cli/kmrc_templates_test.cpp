#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kmrc.h"
#include "project/project_file.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"
#include "wizards/templates.h"

namespace kmr::cli {
namespace {

namespace fs = std::filesystem;
using test::KmrcRun;

const std::string kHeader = "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\n";

// Two template folders: "a" with a named template of two menus and a rejected file, "b" with one
// unnamed template and a file of the wrong version.
class KmrcTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir.path() / "a");
        fs::create_directories(m_dir.path() / "b");
        test::writeBytes(m_dir.path() / "a/Instalar.kmrt",
                         kHeader + test::crlf({"Nom=Instalaci\xF3n", "Explicacio=Un \"CD\" de instalaci\xF3n",
                                               "[ParametresGenerals]", "Programa=index.html", "Recurs=1",
                                               "Icona=cd.ico", "Etiqueta=Disco", "Menus=2", "MenuPredeterminat=2",
                                               "[Menu1]", "Etiqueta=Leer", "Comandament=leer.exe", "NomIntern=Menu1",
                                               "[Menu2]", "Etiqueta=Ver", "Comandament=ver.exe", "NomIntern=ver"}));
        test::writeBytes(m_dir.path() / "a/viejo.kmrt", "[Brenlowe KMR Template]\r\nVersioMajor=1\r\n");
        test::writeBytes(m_dir.path() / "b/sin-nombre.KMRT", kHeader);
        test::writeBytes(m_dir.path() / "b/version.kmrt",
                         "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=4\r\n");
        m_setup.templateFolders = {folder("a"), folder("b")};
    }

    std::string folder(const std::string& name) const { return (m_dir.path() / name).generic_string(); }
    KmrcRun run(const std::vector<std::string>& args) const { return test::kmrc(args, {}, m_setup); }
    Project projectIn(const std::string& file) const {
        return readProjectFile(test::readBytes(m_dir.path() / file)).project;
    }

    test::TempDir m_dir;
    KmrcSetup m_setup;
};

TEST_F(KmrcTemplates, ListsTheEditorsTemplatesInOrder) {
    const KmrcRun text = run({"templates"});
    EXPECT_EQ(text.code, kDone);
    EXPECT_EQ(text.out,
              folder("a") + "\tInstalar.kmrt\tInstalación\t2\n" + folder("b") + "\tsin-nombre.KMRT\tModelo 2\t0\n");
    const KmrcRun json = run({"templates", "--json"});
    EXPECT_EQ(json.code, kDone);
    EXPECT_EQ(json.out, "{\n  \"folders\": [\"" + folder("a") + "\", \"" + folder("b") + "\"],\n  \"templates\": [\n" +
                            "    {\"folder\": \"" + folder("a") +
                            "\", \"file\": \"Instalar.kmrt\", \"name\": \"Instalación\", \"menus\": 2, "
                            "\"explanation\": \"Un \\\"CD\\\" de instalación\"},\n" +
                            "    {\"folder\": \"" + folder("b") +
                            "\", \"file\": \"sin-nombre.KMRT\", \"name\": \"Modelo 2\", \"menus\": 0, "
                            "\"explanation\": \"No hay una definición disponible.\"}\n  ]\n}\n");
    EXPECT_EQ(test::kmrc({"templates", "--json"}).out, "{\n  \"folders\": [],\n  \"templates\": []\n}\n");
    const KmrcRun none = test::kmrc({"templates"});
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("no hay plantillas"), std::string::npos);
    EXPECT_EQ(run({"templates", "x"}).code, kUsage);
}

TEST_F(KmrcTemplates, NewWritesTheWizardsProject) {
    const KmrcRun r = run({"new", "--template", "Instalación", "--icon", "", "--label", "Nuevo", "--menu",
                           "Ayuda=explorer \"%1\\a=b.html\"=", "--menu", "Web=http://x", "-o", folder("p.kmr")});
    ASSERT_EQ(r.code, kDone) << r.err;
    EXPECT_EQ(r.err, "");
    // The template's menu already holds Menu1, so the new menus take the next free numbers.
    EXPECT_EQ(test::readBytes(folder("p.kmr")), test::crlf({"[Brenlowe KMR File]",
                                                            "Version=2.0",
                                                            "Ejecutar=index.html",
                                                            "Etiqueta=Nuevo",
                                                            "Menus=4",
                                                            "Predeterminado=2",
                                                            "",
                                                            "[Menu1]",
                                                            "Texto=Leer",
                                                            "Comando=leer.exe",
                                                            "Nombre=Menu1",
                                                            "",
                                                            "[Menu2]",
                                                            "Texto=Ver",
                                                            "Comando=ver.exe",
                                                            "Nombre=ver",
                                                            "",
                                                            "[Menu3]",
                                                            "Texto=Ayuda",
                                                            "Comando=explorer \"%1\\a=b.html\"",
                                                            "Nombre=Menu2",
                                                            "",
                                                            "[Menu4]",
                                                            "Texto=Web",
                                                            "Comando=http://x",
                                                            "Nombre=Menu3"}));

    struct Case {
        const char* what;
        std::vector<std::string> args;
        WizardData data;
    };
    const std::vector<WizardMenu> templateMenus = {{"Leer", "leer.exe", "Menu1", Kind::PlainMenu},
                                                   {"Ver", "ver.exe", "ver", Kind::DefaultMenu}};
    auto withDefault = [&](int index) {
        std::vector<WizardMenu> menus = templateMenus;
        for (std::size_t i = 0; i < menus.size(); ++i) {
            menus[i].kind = static_cast<int>(i) == index ? Kind::DefaultMenu : Kind::PlainMenu;
        }
        return menus;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, {}},
        {"a program", {"--program", "setup.exe", "--label", "-X-"}, {"setup.exe", false, "", "-X-", {}}},
        {"a resource", {"--program", "a.html", "--resource"}, {"a.html", true, "", "", {}}},
        {"menus named in turn",
         {"--menu", "A=a.exe=Menu2", "--menu", "B=b.exe", "--menu", "C=c.exe", "--default", "3"},
         {"",
          false,
          "",
          "",
          {{"A", "a.exe", "Menu2"}, {"B", "b.exe", "Menu1"}, {"C", "c.exe", "Menu3", Kind::DefaultMenu}}}},
        {"template by file name", {"--template", "instalar"}, {"index.html", true, "cd.ico", "Disco", templateMenus}},
        {"template by path",
         {"--template", folder("a") + "/Instalar.kmrt", "--default", "1"},
         {"index.html", true, "cd.ico", "Disco", withDefault(0)}},
        {"a program replaces the template's resource",
         {"--template", "Instalar.KMRT", "--program", "setup.exe", "--default", "0"},
         {"setup.exe", false, "cd.ico", "Disco", withDefault(-1)}},
        {"an unnamed template by its path", {"--template", folder("b") + "/sin-nombre.KMRT"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"new"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--force", "-o", folder("q.kmr")});
        const KmrcRun q = run(args);
        ASSERT_EQ(q.code, kDone) << q.err;
        EXPECT_EQ(projectIn("q.kmr"), buildProject(c.data));
    }
}

TEST_F(KmrcTemplates, NewRefusesBadInputAndWritesNothing) {
    test::writeBytes(folder("keep.kmr"), "old");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string errContains;
    };
    const std::vector<Case> cases = {
        {{"--template", "Nada"}, kUsage, "plantilla desconocida: Nada"},
        {{"--template", "Modelo 1"}, kUsage, "plantilla desconocida"},  // the rejected file has no name
        {{"--template", "version"}, kUsage, "plantilla desconocida"},
        {{"--template", folder("b") + "/version.kmrt"}, kRefused, "no es una plantilla de la versión 2.3"},
        {{"--template", folder("a")}, kFileError, "Es una carpeta"},
        {{"--template", folder("falta.kmrt")}, kFileError, "No existe el fichero o la carpeta"},
        {{"--template", "Instalación", "--template", "Instalación"}, kUsage, "--template se da más de una vez"},
        {{"--resource"}, kUsage, "--resource va con --program"},
        {{"--menu", "sin igual"}, kUsage, "--menu espera TEXTO=COMANDO[=NOMBRE]"},
        {{"--menu", "=cmd"}, kUsage, "Debe rellenar todas las casillas."},
        {{"--menu", "Texto="}, kUsage, "Debe rellenar todas las casillas."},
        {{"--template", "Instalación", "--menu", "X=x.exe=ver"}, kRefused, "No puede utilizar el mismo nombre"},
        {{"--menu", "A=a", "--default", "2"}, kUsage, "de 1 a 1"},
        {{"--default", "5"}, kUsage, "--default 5: el proyecto no tiene menús"},
        {{"--medium", "usb"}, kUsage, "--medium va con --disc"},
        {{"--disc", "d", "--medium", "disquete"}, kUsage, "--medium espera cd o usb"},
        {{"--default", "-1"}, kUsage, "--default espera"},
        {{"--default", "uno"}, kUsage, "--default espera"},
        {{"suelto"}, kUsage, "argumento de más: suelto"},
        {{"--nope"}, kUsage, "opción desconocida: --nope"},
        {{"--label"}, kUsage, "falta el valor tras --label"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"new"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args != std::vector<std::string>{"--label"}) args.insert(args.end(), {"-o", folder("keep.kmr")});
        const KmrcRun r = run(args);
        EXPECT_EQ(r.code, c.code) << testing::PrintToString(c.args) << r.err;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
        EXPECT_EQ(test::readBytes(folder("keep.kmr")), "old");
    }
    EXPECT_NE(run({"new"}).err.find("falta -o PROYECTO"), std::string::npos);
    EXPECT_EQ(run({"new", "-o", folder("no/such/p.kmr")}).code, kFileError);
    EXPECT_FALSE(fs::exists(folder("no")));
}

// What a user of the shipped templates gets: a project that passes the check (but for the finding
// that a resource run entry always raises) and compiles.
TEST(KmrcShippedTemplates, EachGivesAProjectThatChecksAndCompiles) {
    test::TempDir dir;
    const KmrcSetup setup{{KMR_SHIPPED_TEMPLATES_DIR}};
    const auto records = listTemplates(setup.templateFolders);
    ASSERT_GE(records.size(), 6U);
    for (const TemplateRecord& r : records) {
        SCOPED_TRACE(r.name);
        const bool resource = applyTemplate(r).resource;
        ASSERT_EQ(test::kmrc({"new", "--template", r.name, "--force", "-o", dir.file("p.kmr")}, {}, setup).code, kDone);
        const KmrcRun check = test::kmrc({"check", dir.file("p.kmr")});
        EXPECT_EQ(check.out, resource ? "Autorun válido solo para Windows XP\n" : "");
        const KmrcRun compile = test::kmrc({"compile", dir.file("p.kmr"), "-o", dir.file("autorun.inf")});
        EXPECT_EQ(compile.code, kDone) << compile.err;
    }
}

}  // namespace
}  // namespace kmr::cli
