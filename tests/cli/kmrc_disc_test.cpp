#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>
#include <filesystem>

#include "child_process.h"
#include "kmrc.h"
#include "support/kmrc_runner.h"
#include "support/pe_builder.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::kmrc;

// A project whose disc folder, "disco" beside it, holds everything it names.
const std::string kProject = crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=disco", "Soporte=CD/DVD",
                                   "Programa=setup.exe", "Icono=disco.ico", "Etiqueta=Mi CD", "Menus=1", "", "[Menu1]",
                                   "Texto=Leeme", "Comando=notepad leeme.txt", "Nombre=leeme"});
const std::string kAutorun = crlf({"[autorun]", "open=setup.exe", "icon=disco.ico", "label=Mi CD", "",
                                   "shell\\leeme=Leeme", "shell\\leeme\\command=notepad leeme.txt"});

class KmrcDisc : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = fs::current_path();
        fs::current_path(m_dir.path());
        fs::create_directories("disco/docs");
        test::writeBytes("p.kmr", kProject);
        test::writeBytes("disco/SETUP.EXE", test::buildPe({{"", 1, {1}}}, {{1, "img"}}));
        test::writeBytes("disco/disco.ico", test::buildIco({"img"}));
        test::writeBytes("disco/leeme.txt", "hola");
    }
    void TearDown() override {
        fs::current_path(m_old);
        ::setenv("PATH", m_path.c_str(), 1);
    }

    test::TempDir m_dir;
    fs::path m_old;
    std::string m_path = ::getenv("PATH");
};

TEST_F(KmrcDisc, CheckOnTheProjectsFolderOrTheOneGiven) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
        std::string err;  // the start of the error output
    };
    fs::create_directories("otro");
    test::writeBytes("lejos.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=../ya-no-esta", "Programa=a"}));
    test::writeBytes("solo.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Menus=1", "", "[Menu1]", "Texto=T",
                                       "Comando=x.exe", "Nombre=t"}));
    fs::create_directories("sub");
    test::writeBytes("sub/p.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=../disco", "Programa=setup"}));
    const std::string kNotThere =
        ", que no se encuentra en la carpeta del disco. Windows lo busca respecto a la raíz del CD, sin distinguir "
        "mayúsculas de minúsculas.\n";
    const std::vector<Case> cases = {
        {{"check", "p.kmr"}, 0, "", ""},
        {{"check", "sub/p.kmr"}, 0, "", ""},  // a relative folder is taken from the project file's folder
        {{"check", "--disc", "otro", "p.kmr"},
         1,
         // Each line names its file, so the same title twice still tells what it is about.
         "Fichero inexistente en el disco: El programa o recurso a ejecutar hace referencia a \"setup.exe\"" +
             kNotThere + "Fichero inexistente en el disco: El icono hace referencia a \"disco.ico\"" + kNotThere,
         ""},
        {{"check", "--medium", "usb", "p.kmr"},
         1,
         "Autorun limitado en unidades USB: Desde Windows 7 la Reproducción automática no presenta la orden de "
         "autoarranque en las unidades que no son CD ni DVD; la actualización KB971029 hace lo mismo en Windows XP y "
         "Vista. No se ofrecerá: open. Si Windows usa en una unidad USB los menús del autorun.inf (shell\\leeme) no "
         "está documentado.\n",
         ""},
        {{"check", "--medium", "cd", "solo.kmr"}, 2, "", "kmrc: --medium necesita la carpeta del disco"},
        {{"check", "--medium", "disquete", "p.kmr"}, 2, "", "kmrc: soporte desconocido: disquete"},
        {{"check", "--disc", "no-existe", "p.kmr"}, 3, "", "kmrc: no-existe: no es una carpeta"},
        {{"check", "--disc", "otro", "solo.kmr"},
         1,
         "No hay recurso\nFichero inexistente en el disco: El comando del menú \"T\" hace referencia a \"x.exe\"" +
             kNotThere,
         ""},
        {{"check", "--disc"}, 2, "", "kmrc: falta el valor tras --disc"},
        {{"check", "lejos.kmr"},
         1,
         "Carpeta del disco inexistente: No se encuentra la carpeta del disco \"../ya-no-esta\". Sin ella no se puede "
         "comprobar qué ficheros llevará el CD.\n",
         ""},
        {{"check", "--disc", "disco", "lejos.kmr"},
         1,
         "Fichero inexistente en el disco: El programa o recurso a ejecutar hace referencia a \"a\"" + kNotThere,
         ""},
        {{"check", "--json", "solo.kmr"},
         1,
         "{\n  \"disc\": null,\n  \"medium\": null,\n  \"findings\": [\n    {\"key\": \"no-resource\", \"title\": "
         "\"No hay recurso\", \"image\": 28, \"explanation\": [\"No existe ningún objeto de recurso o programa "
         "autoejecutable.\", \"Como consecuencia, el CD que albergue este autorun NO autoejecutará ningún "
         "programa. Asegúrese de que es lo que desea.\"]}\n  ]\n}\n",
         ""},
        {{"check", "--json", "p.kmr"},
         0,
         "{\n  \"disc\": \"disco\",\n  \"medium\": \"CD/DVD\",\n  \"findings\": []\n}\n",
         ""},
    };
    for (const Case& c : cases) {
        const test::KmrcRun r = kmrc(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.back() << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
    }
    // The project's own autorun.inf in the folder passes; another one is a finding.
    test::writeBytes("disco/Autorun.INF", kAutorun);
    EXPECT_EQ(kmrc({"check", "p.kmr"}).code, 0);
    test::writeBytes("disco/Autorun.INF", crlf({"[autorun]", "open=otro.exe"}));
    EXPECT_EQ(
        kmrc({"check", "p.kmr"}).out,
        "autorun.inf distinto del proyecto: El fichero \"Autorun.INF\" de la carpeta del disco no coincide con lo "
        "que se obtiene al compilar este proyecto: la entrada open de [autorun] vale \"otro.exe\" en lugar de "
        "\"setup.exe\".\n");
}

// What xorriso prints about an image; with `paths`, only the quoted paths of -find, one a line.
std::string listing(const std::vector<std::string>& args, bool paths = true) {
    std::string lines;
    const ChildResult ran = runChild("xorriso", args, [&](std::string_view l) {
        if (!paths || l.starts_with('\'')) lines.append(l).append("\n");
    });
    EXPECT_TRUE(ran.succeeded()) << lines;
    return lines;
}

bool haveXorriso() { return std::system("command -v xorriso >/dev/null 2>&1") == 0; }

TEST_F(KmrcDisc, IsoImageHoldsTheCompiledAutorunAndTheVolumeName) {
    if (!haveXorriso()) GTEST_SKIP() << "xorriso is not installed";
    const test::KmrcRun r = kmrc({"iso", "p.kmr", "-o", "disco.iso", "--label", "Mi disco"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("Aviso: La etiqueta \"Mi disco\" no cabe tal cual"), std::string::npos) << r.err;
    EXPECT_EQ(test::readBytes("disco/autorun.inf"), kAutorun);
    for (const auto& e : fs::directory_iterator(".")) EXPECT_FALSE(e.path().filename().string().starts_with(".kmr"));

    const std::string rockRidge = listing({"-indev", "disco.iso", "-find", "/", "-type", "f"});
    EXPECT_EQ(rockRidge, "'/SETUP.EXE'\n'/autorun.inf'\n'/disco.ico'\n'/leeme.txt'\n") << rockRidge;
    const std::string iso9660 = listing({"-read_fs", "ecma119", "-indev", "disco.iso", "-find", "/", "-maxdepth", "1"});
    EXPECT_NE(iso9660.find("'/AUTORUN.INF'\n"), std::string::npos) << iso9660;
    // Without Rock Ridge the names come from the Joliet tree, in their own letter case.
    const std::string joliet = listing({"-read_fs", "norock", "-indev", "disco.iso", "-find", "/", "-maxdepth", "1"});
    EXPECT_NE(joliet.find("'/autorun.inf'\n"), std::string::npos) << joliet;
    const std::string pvd = listing({"-indev", "disco.iso", "-pvd_info"}, false);
    EXPECT_NE(pvd.find("Volume Id    : MI_DISCO\n"), std::string::npos) << pvd;
}

TEST_F(KmrcDisc, FailedBuildLeavesNoImage) {
    // A stand-in for xorriso that writes half an image and fails.
    fs::create_directories("bin");
    test::writeBytes("bin/xorriso",
                     "#!/bin/sh\nwhile [ \"$1\" != -outdev ]; do shift; done\n"
                     "printf medio > \"${2#stdio:}\"\necho 'FAILURE : sin espacio' >&2\nexit 5\n");
    fs::permissions("bin/xorriso", fs::perms::owner_all);
    const std::string oldPath = ::getenv("PATH");
    ::setenv("PATH", (fs::current_path() / "bin").string().c_str(), 1);
    test::writeBytes("viejo.iso", "imagen anterior");
    const test::KmrcRun failed = kmrc({"iso", "p.kmr", "-o", "viejo.iso"});
    const test::KmrcRun fresh = kmrc({"iso", "p.kmr", "-o", "nuevo.iso"});
    ::setenv("PATH", "/nonexistent", 1);
    const test::KmrcRun missing = kmrc({"iso", "p.kmr", "-o", "nuevo.iso"});
    ::setenv("PATH", oldPath.c_str(), 1);

    EXPECT_EQ(failed.code, kToolFailed);
    EXPECT_NE(failed.err.find("FAILURE : sin espacio\nkmrc: xorriso terminó con el código 5; no se ha creado la "
                              "imagen\n"),
              std::string::npos)
        << failed.err;
    EXPECT_EQ(test::readBytes("viejo.iso"), "imagen anterior");
    EXPECT_EQ(fresh.code, kToolFailed);
    EXPECT_FALSE(fs::exists("nuevo.iso"));
    EXPECT_EQ(missing.code, kToolFailed);
    EXPECT_EQ(missing.err, "kmrc: no se encuentra xorriso (no está instalado); no se ha cambiado nada\n");
    for (const auto& e : fs::directory_iterator(".")) EXPECT_FALSE(e.path().filename().string().starts_with(".kmr"));
}

// Without xorriso nothing is written, not even the disc's autorun.inf, on Windows as on Linux.
TEST_F(KmrcDisc, IsoWithoutXorrisoChangesNothing) {
    const std::string oldPath = ::getenv("PATH");
    ::setenv("PATH", (fs::current_path() / "no-hay").string().c_str(), 1);
    fs::create_directories("no-hay");
    test::writeBytes("no-hay/xorriso", "no es un programa\n");  // not executable, so not xorriso
    const test::KmrcRun r = kmrc({"iso", "p.kmr", "-o", "disco.iso"});
    const bool found = programInstalled("xorriso");
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_FALSE(found);
    EXPECT_EQ(r.code, kToolFailed);
    EXPECT_EQ(r.err, "kmrc: no se encuentra xorriso (no está instalado); no se ha cambiado nada\n");
    EXPECT_FALSE(fs::exists("disco/autorun.inf"));
    EXPECT_FALSE(fs::exists("disco.iso"));
}

TEST_F(KmrcDisc, IsoRefusals) {
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    test::writeBytes("sin.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=x.exe"}));
    test::writeBytes("lejos.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=../ya-no-esta", "Programa=a"}));
    const std::vector<Case> cases = {
        {{"iso", "p.kmr"}, kUsage},
        {{"iso", "sin.kmr", "-o", "x.iso"}, kUsage},
        {{"iso", "p.kmr", "-o", "disco/x.iso"}, kUsage},
        {{"iso", "p.kmr", "-o", "disco/docs/../x.iso"}, kUsage},
        {{"iso", "p.kmr", "-o", "-"}, kUsage},
        {{"iso", "--disc", "no-existe", "p.kmr", "-o", "x.iso"}, kFileError},
        {{"iso", "lejos.kmr", "-o", "x.iso"}, kFileError},
    };
    for (const Case& c : cases) EXPECT_EQ(kmrc(c.args).code, c.code) << c.args.back();
    EXPECT_FALSE(fs::exists("disco/autorun.inf"));
}

// Puts a stand-in for xorriso first on PATH (the fixture puts PATH back). It talks as the real one does,
// writes a small image where it is told and exits with `exitCode`; when KMR_FAKE_PID names a file, it
// writes its process number there and waits instead.
void useFakeXorriso(const std::string& exitCode = "0") {
    fs::create_directories("bin");
    test::writeBytes("bin/xorriso",
                     "#!/bin/sh\necho 'xorriso 1.5 : RockRidge filesystem manipulator'\n"
                     "while [ \"$1\" != -outdev ]; do shift; done\n"
                     "if [ -n \"$KMR_FAKE_PID\" ]; then echo $$ > \"$KMR_FAKE_PID\"; exec sleep 60; fi\n"
                     "printf imagen > \"${2#stdio:}\"\necho \"Writing to '$2' completed\"\nexit " +
                         exitCode + "\n");
    fs::permissions("bin/xorriso", fs::perms::owner_all);
    ::setenv("PATH", ((fs::current_path() / "bin").string() + ":" + ::getenv("PATH")).c_str(), 1);
}

TEST_F(KmrcDisc, IsoKeepsXorrisosTalkUnlessAskedOrFailed) {
    useFakeXorriso();
    const test::KmrcRun quiet = kmrc({"iso", "p.kmr", "-o", "a.iso"});
    const test::KmrcRun verbose = kmrc({"iso", "--verbose", "p.kmr", "-o", "b.iso"});
    useFakeXorriso("3");
    const test::KmrcRun failed = kmrc({"iso", "p.kmr", "-o", "c.iso"});

    EXPECT_EQ(quiet.code, kDone) << quiet.err;
    EXPECT_EQ(quiet.err.find("xorriso 1.5"), std::string::npos) << quiet.err;
    EXPECT_EQ(quiet.err.find("Writing to"), std::string::npos) << quiet.err;
    EXPECT_NE(quiet.err.find("Imagen creada: a.iso"), std::string::npos) << quiet.err;
    EXPECT_EQ(test::readBytes("a.iso"), "imagen");
    EXPECT_NE(verbose.err.find("xorriso 1.5 : RockRidge filesystem manipulator\n"), std::string::npos) << verbose.err;
    EXPECT_EQ(failed.code, kToolFailed);
    EXPECT_NE(failed.err.find("xorriso 1.5 : RockRidge filesystem manipulator\n"), std::string::npos) << failed.err;
}

TEST_F(KmrcDisc, IsoWithoutXorrisoChangesNothingAndReportsFindingsAsCheckDoes) {
    fs::remove("disco/disco.ico");
    ::setenv("PATH", "/nonexistent", 1);
    const test::KmrcRun missing = kmrc({"iso", "p.kmr", "-o", "x.iso"});
    EXPECT_FALSE(fs::exists("disco/autorun.inf"));
    EXPECT_FALSE(fs::exists("x.iso"));
    useFakeXorriso();
    const test::KmrcRun made = kmrc({"iso", "p.kmr", "-o", "x.iso"});

    EXPECT_EQ(missing.code, kToolFailed);
    EXPECT_EQ(missing.err, "kmrc: no se encuentra xorriso (no está instalado); no se ha cambiado nada\n");
    EXPECT_EQ(made.code, kDone) << made.err;
    EXPECT_NE(made.err.find("\nFichero inexistente en el disco: El icono hace referencia a \"disco.ico\""),
              std::string::npos)
        << made.err;
}

// kmrc preview: each version and drive says what the rules say of this project, as JSON; the text
// form and the wrong lines.
TEST_F(KmrcDisc, PreviewByVersionAndDrive) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> says;  // parts of the standard output, or of the errors when it fails
    };
    const std::string json = "--json";
    const std::string offered =
        "{\"text\": \"setup.exe\", \"detail\": \"Orden de autoarranque del disco; el texto de "
        "la opción: no documentado\", \"from_disc\": true}";
    const std::string cdMenu =
        "\"context_menu\": {\"documented\": true, \"entries\": [{\"text\": \"Reproducción "
        "automática\", \"default\": true, \"windows\": false, \"uncertain\": false}";
    const std::string usbMenu =
        "\"context_menu\": {\"documented\": false, \"entries\": [{\"text\": \"Reproducción "
        "automática\", \"default\": false, \"windows\": false, \"uncertain\": true}";
    const std::vector<Case> cases = {
        {{"preview", json, "--windows", "xp", "--medium", "cd", "p.kmr"},
         0,
         {"\"windows\": \"xp\", \"windows_name\": \"Windows XP\"", "\"medium\": \"cd\"",
          "\"arrival\": \"runs-program\"", "\"summary\": \"Windows ejecuta «setup.exe» sin preguntar.\"",
          "\"sizes\": [16, 32, 48]", "\"icon\": \"disco.ico\"", cdMenu}},
        {{"preview", json, "--windows", "7", "--medium", "cd", "p.kmr"},
         0,
         {"\"arrival\": \"autoplay\", \"presentation\": \"window\"", offered, "\"sizes\": [16, 32, 48, 256]",
          "\"sources\": [\"autorun-policy\"", cdMenu}},
        {{"preview", json, "--windows", "10", "--medium", "cd", "p.kmr"},
         0,
         {"\"presentation\": \"panel\"", offered, "\"No documentado: si Windows avisa"}},
        {{"preview", json, "--windows", "10", "--medium", "usb", "p.kmr"},
         0,
         {"\"medium\": \"usb\", \"medium_name\": \"Memoria USB\"", "\"arrival\": \"undocumented\"",
          "\"label\": \"Mi CD\"", "\"double_click\": {\"documented\": false", usbMenu}},
        {{"preview", json, "--windows", "7", "--medium", "usb-disk", "p.kmr"},
         0,
         {"\"medium_name\": \"Disco duro USB\"", "presentaría el programa con un texto propio de Windows",
          "\"kb971029\"", usbMenu}},
        {{"preview", "p.kmr"},
         0,
         {"Windows XP, CD o DVD\nAl insertar el disco: Windows ejecuta «setup.exe» sin preguntar.\n",
          "\nWindows Vista y 7, CD o DVD\n", "\nWindows 8, 10 y 11, CD o DVD\n", "  * Reproducción automática\n"}},
        {{"preview", "--windows", "8", "p.kmr"}, 2, {"kmrc: versión de Windows desconocida: 8 (xp, 7 o 10)"}},
        {{"preview", "--medium", "dvd", "p.kmr"}, 2, {"kmrc: soporte desconocido: dvd (cd, usb o usb-disk)"}},
        {{"preview", "--disc", "no-existe", "p.kmr"}, 3, {"kmrc: no-existe: no es una carpeta"}},
    };
    for (const Case& c : cases) {
        const test::KmrcRun r = kmrc(c.args);
        const std::string what = c.args[c.args.size() - 2] + " " + c.args[1];
        EXPECT_EQ(r.code, c.code) << what << ": " << r.err;
        for (const std::string& part : c.says) {
            EXPECT_NE((c.code == 0 ? r.out : r.err).find(part), std::string::npos) << what << ": " << part;
        }
    }
    // Every version and drive: on a CD the program runs or is offered; elsewhere it is not offered, and a
    // disc without content then leaves what happens undocumented.
    const std::pair<std::string, std::string> arrivals[] = {
        {"xp", "runs-program"}, {"7", "autoplay"}, {"10", "autoplay"}};
    for (const auto& [version, onCd] : arrivals) {
        for (const std::string medium : {"cd", "usb", "usb-disk"}) {
            const std::string out = kmrc({"preview", json, "--windows", version, "--medium", medium, "p.kmr"}).out;
            const std::string arrival = "\"arrival\": \"" + (medium == "cd" ? onCd : "undocumented") + "\"";
            EXPECT_NE(out.find(arrival), std::string::npos) << version << " " << medium;
            EXPECT_NE(out.find("\"medium\": \"" + medium + "\""), std::string::npos) << version << " " << medium;
        }
    }
    // Without --windows, the three versions in their order.
    const std::string all = kmrc({"preview", json, "p.kmr"}).out;
    EXPECT_LT(all.find("\"windows\": \"xp\""), all.find("\"windows\": \"7\""));
    EXPECT_LT(all.find("\"windows\": \"7\""), all.find("\"windows\": \"10\""));
}

}  // namespace
}  // namespace kmr::cli
