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
    const std::vector<Case> cases = {
        {{"check", "p.kmr"}, 0, "", ""},
        {{"check", "sub/p.kmr"}, 0, "", ""},  // a relative folder is taken from the project file's folder
        {{"check", "--disc", "otro", "p.kmr"},
         1,
         "Fichero inexistente en el disco\nFichero inexistente en el disco\n",
         ""},
        {{"check", "--medium", "usb", "p.kmr"}, 1, "Autorun limitado en unidades USB\n", ""},
        {{"check", "--medium", "cd", "solo.kmr"}, 2, "", "kmrc: --medium necesita la carpeta del disco"},
        {{"check", "--medium", "disquete", "p.kmr"}, 2, "", "kmrc: soporte desconocido: disquete"},
        {{"check", "--disc", "no-existe", "p.kmr"}, 3, "", "kmrc: no-existe: no es una carpeta"},
        {{"check", "--disc", "otro", "solo.kmr"}, 1, "No hay recurso\nFichero inexistente en el disco\n", ""},
        {{"check", "--disc"}, 2, "", "kmrc: falta el valor tras --disc"},
        {{"check", "lejos.kmr"}, 1, "Carpeta del disco inexistente\n", ""},
        {{"check", "--disc", "disco", "lejos.kmr"}, 1, "Fichero inexistente en el disco\n", ""},
        {{"check", "--json", "solo.kmr"},
         1,
         "{\n  \"disc\": null,\n  \"medium\": null,\n  \"findings\": [\n    {\"key\": \"no-resource\", \"title\": "
         "\"No hay recurso\", \"image\": 28, \"explanation\": [\"  No existe ningún objeto de recurso o programa "
         "autoejecutable.\", \"  Como consecuencia, el CD que albergue este autorun NO autoejecutará ningún "
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
    EXPECT_EQ(kmrc({"check", "p.kmr"}).out, "autorun.inf distinto del proyecto\n");
}

// What xorriso prints about an image; with `paths`, only the quoted paths of -find, one a line.
std::string listing(const std::vector<std::string>& args, bool paths = true) {
    std::string lines;
    runChild("xorriso", args, [&](std::string_view l) {
        if (!paths || l.starts_with('\'')) lines.append(l).append("\n");
    });
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
    EXPECT_NE(missing.err.find("no se pudo ejecutar xorriso (no está instalado)"), std::string::npos) << missing.err;
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
    EXPECT_EQ(r.err, "kmrc: no se pudo ejecutar xorriso (no está instalado); no se ha creado la imagen\n");
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

}  // namespace
}  // namespace kmr::cli
