#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <tuple>

#include "kmrc.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

using test::crlf;
using test::kmrc;
using test::KmrcRun;

const std::string kExampleProject =
    crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe", "Icono=disco.ico", "Etiqueta=MiCD", "Menus=2",
          "Predeterminado=1", "", "[Menu1]", "Texto=Instalar", "Comando=setup.exe", "Nombre=instalar", "", "[Menu2]",
          "Texto=Leeme", "Comando=notepad leeme.txt", "Nombre=leeme"});

const std::string kExampleAutorun = crlf(
    {"[autorun]", "open=setup.exe", "icon=disco.ico", "label=MiCD", "shell=instalar", "", "shell\\instalar=Instalar",
     "shell\\instalar\\command=setup.exe", "", "shell\\leeme=Leeme", "shell\\leeme\\command=notepad leeme.txt"});

// Runs in a temporary folder, so that a command's default output lands there.
class KmrcAutorun : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
        test::writeBytes("example.kmr", kExampleProject);
    }
    void TearDown() override { std::filesystem::current_path(m_old); }

    test::TempDir m_dir;
    std::filesystem::path m_old;
};

TEST_F(KmrcAutorun, CompileWritesAutorunInfByDefaultAndReportsFindings) {
    const KmrcRun r = kmrc({"compile", "example.kmr"});
    EXPECT_EQ(r.code, kDone);
    EXPECT_EQ(test::readBytes("autorun.inf"), kExampleAutorun);
    EXPECT_EQ(r.err, "Objetos incompatibles\nEl fichero ha sido compilado con éxito.\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(KmrcAutorun, CompileOptions) {
    const KmrcRun toStdout = kmrc({"compile", "-o", "-", "example.kmr"});
    EXPECT_EQ(toStdout.code, kDone);
    EXPECT_EQ(toStdout.out, kExampleAutorun);
    EXPECT_EQ(toStdout.err, "Objetos incompatibles\n");

    const KmrcRun strict = kmrc({"compile", "--strict", "example.kmr", "-o", "out.inf"});
    EXPECT_EQ(strict.code, kFindings);
    EXPECT_EQ(strict.err, "Objetos incompatibles\n");
    EXPECT_FALSE(std::filesystem::exists("out.inf"));

    const KmrcRun named = kmrc({"compile", "example.kmr", "-o", "disco.txt"});
    EXPECT_EQ(named.code, kDone);
    EXPECT_EQ(named.err,
              "Objetos incompatibles\nGuardar con este nombre podría inutilizar el fichero.\nEl fichero ha sido "
              "compilado con éxito.\n");
    EXPECT_EQ(test::readBytes("disco.txt"), kExampleAutorun);

    test::writeBytes("clean.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe"}));
    const KmrcRun clean = kmrc({"compile", "--strict", "clean.kmr", "-o", "AUTORUN.INF"});
    EXPECT_EQ(clean.code, kDone);
    EXPECT_EQ(test::readBytes("AUTORUN.INF"), crlf({"[autorun]", "open=setup.exe"}));

    test::writeBytes("v9.kmr", crlf({"[Brenlowe KMR File]", "Version=9", "Etiqueta=x"}));
    EXPECT_EQ(kmrc({"compile", "v9.kmr", "-o", "-"}).code, kRefused);
    EXPECT_EQ(kmrc({"compile", "--force", "v9.kmr", "-o", "-"}).out, crlf({"[autorun]", "label=x"}));
    EXPECT_EQ(kmrc({"compile", "missing.kmr"}).code, kFileError);
    EXPECT_EQ(kmrc({"compile", "example.kmr", "-o"}).code, kUsage);
}

TEST_F(KmrcAutorun, CheckListsFindingsInOrder) {
    test::writeBytes("risky.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Icono=D:\\a.ico", "Menus=2",
                                        "Predeterminado=1", "[Menu1]", "Texto=a", "Comando=E:\\a.exe", "Nombre=a",
                                        "[Menu2]", "Texto=b", "Comando=E:\\b.exe", "Nombre=b"}));
    const KmrcRun r = kmrc({"check", "risky.kmr"});
    EXPECT_EQ(r.code, kFindings);
    EXPECT_EQ(r.out, "Referencia peligrosa a icono\nReferencia peligrosa a comando de menú\n");

    const KmrcRun explained = kmrc({"check", "--explain", "example.kmr"});
    EXPECT_EQ(explained.out,
              "Objetos incompatibles\n"
              "  Se han encontrado dos objetos incompatibles. No debería colocar un \"menú predeterminado\" cuando "
              "tiene un programa o recurso para ejecutar o biceversa.\n"
              "  Quite la propiedad de predeterminado del menú predeterminado o elimine el recurso o programa a "
              "ejecutar.\n");

    test::writeBytes("fine.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe"}));
    const KmrcRun fine = kmrc({"check", "fine.kmr"});
    EXPECT_EQ(fine.code, kDone);
    EXPECT_EQ(fine.out, "");
}

TEST_F(KmrcAutorun, ImportToJsonAndToAProject) {
    // The file is Windows-1252, and so is the project written from it.
    test::writeBytes("autorun.inf", crlf({"[AutoRun]", "open=setup.exe", "action=Instalar", "shell=leeme",
                                          "shell\\leeme=L\xE9"
                                          "eme",
                                          "shell\\leeme\\command=notepad leeme.txt"}));
    const KmrcRun json = kmrc({"import", "--json", "autorun.inf"});
    EXPECT_EQ(json.code, kDone);
    EXPECT_EQ(json.out,
              "{\n  \"format\": 2,\n  \"errors\": false,\n  \"objects\": [\n"
              "    {\"kind\": 21, \"caption\": \"Ejecutar programa \\\"setup.exe\\\"\", \"values\": [\"setup.exe\"]},\n"
              "    {\"kind\": 20, \"caption\": \"Mostrar menú \\\"Léeme\\\"\", \"values\": [\"Léeme\", \"notepad "
              "leeme.txt\", \"leeme\"]}\n  ],\n  \"settings\": {\n    \"action\": \"Instalar\"\n  },\n"
              "  \"unrecognised\": 1\n}\n");

    const KmrcRun saved = kmrc({"import", "autorun.inf", "-o", "nuevo.kmr"});
    EXPECT_EQ(saved.code, kDone);
    EXPECT_EQ(saved.out, "");
    EXPECT_EQ(saved.err, "No se han reconocido 1 órdenes del fichero.\n");
    const std::string objectsOnly =
        crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe", "Menus=1", "Predeterminado=1", "", "[Menu1]",
              "Texto=L\xE9"
              "eme",
              "Comando=notepad leeme.txt", "Nombre=leeme"});
    // The AutoPlay text is kept beside the objects; with --sin-extras the project holds the objects alone.
    EXPECT_EQ(test::readBytes("nuevo.kmr"), objectsOnly + crlf({"", "[Entradas del autorun]", "Accion=Instalar"}));
    const KmrcRun bare = kmrc({"import", "--sin-extras", "autorun.inf", "-o", "solo.kmr"});
    EXPECT_EQ(bare.err, saved.err);
    EXPECT_EQ(test::readBytes("solo.kmr"), objectsOnly);

    test::writeBytes("clean.inf", kExampleAutorun);
    // Nothing kept, and said so.
    EXPECT_EQ(kmrc({"import", "clean.inf"}).err,
              "El fichero se ha importado con éxito.\nkmrc: no se ha guardado nada (-o PROYECTO lo guarda, --json lo "
              "muestra)\n");
}

TEST_F(KmrcAutorun, ImportRefusesAFileWithoutItsHeader) {
    test::writeBytes("plain.inf", crlf({"open=setup.exe", "label=CD"}));
    const KmrcRun refused = kmrc({"import", "--json", "plain.inf"});
    EXPECT_EQ(refused.code, kRefused);
    EXPECT_EQ(refused.out, "");
    // One message, the command line's own, saying what the first line is.
    EXPECT_EQ(refused.err,
              "kmrc: plain.inf: la primera línea es «open=setup.exe» y no exactamente «[autorun]»; use "
              "--force para importarlo igualmente\n");
    // Accepted, the first line is read like every other one.
    const KmrcRun forced = kmrc({"import", "--force", "--json", "plain.inf"});
    EXPECT_EQ(forced.code, kDone);
    EXPECT_NE(forced.out.find("\"setup.exe\""), std::string::npos);
    EXPECT_NE(forced.out.find("\"unrecognised\": 0"), std::string::npos);

    // What the refusal says of the first lines of real files; files Windows would misread are read as
    // written, and said so first.
    const std::string tail = "; use --force para importarlo igualmente\n",
                      line = "kmrc: first.inf: la primera línea es «";
    const std::vector<std::tuple<std::string, int, std::string>> firstLines = {
        {"[AutoRun] \r\nopen=a.exe\r\n", kRefused, line + "[AutoRun] » y no exactamente «[autorun]»" + tail},
        {"; Autorun\r\n[autorun]\r\n", kRefused, line + "; Autorun» y no exactamente «[autorun]»" + tail},
        {"\r\n[autorun]\r\n", kRefused, line + "» y no exactamente «[autorun]»" + tail},
        {"\x01" + std::string(70, 'x'), kRefused,
         line + "?" + std::string(59, 'x') + "…» y no exactamente «[autorun]»" + tail},
        {"", kRefused, "kmrc: first.inf: el fichero está vacío" + tail},
        {"[autorun]\nlabel=Canción\n", kDone,
         "El fichero está en UTF-8, que Windows leería como «CanciÃ³n»; se ha leído como UTF-8 y al compilar se "
         "escribirá para que Windows lea «Canción»\nEl fichero se ha importado con éxito.\n"},
        {std::string("[\0a\0u\0t\0o\0r\0u\0n\0]\0\r\0\n\0", 22), kDone, "El fichero está en UTF-16 little-endian"},
    };
    for (const auto& [bytes, code, said] : firstLines) {
        test::writeBytes("first.inf", bytes);
        const KmrcRun r = kmrc({"import", "first.inf"});
        EXPECT_EQ(r.code, code);
        EXPECT_TRUE(r.err.starts_with(said)) << r.err;
    }

    const KmrcRun missing = kmrc({"import", "none.inf"});
    EXPECT_EQ(missing.code, kFileError);
    EXPECT_EQ(missing.err, "kmrc: none.inf: No existe el fichero o la carpeta\n");
}

}  // namespace
}  // namespace kmr::cli
