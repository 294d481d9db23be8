// Values that would change a file's lines, or that Windows reads otherwise than the project says:
// refused on the command line and by every writer, said at import, found by check.
#include <gtest/gtest.h>

#include <filesystem>

#include "kmrc.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

using test::crlf;
using test::kmrc;
using test::KmrcRun;

class KmrcValues : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
    }
    void TearDown() override { std::filesystem::current_path(m_old); }

    test::TempDir m_dir;
    std::filesystem::path m_old;
};

// A line break in any value given to kmrc new is a usage error, and nothing is written.
TEST_F(KmrcValues, NewRefusesAValueOfTwoLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--program", "a.exe\r\nIcono=evil.ico"},
        {"--label", "L1\nL2"},
        {"--icon", "a.ico\rb"},
        {"--menu", "Abrir=a.exe\n[autorun]"},
        {"--platform-entry", "x86:open=a.exe\r\n[autorun]"},
        {"--action", "Instalar\nopen=evil.exe"},
        {"--disc", "disco\nIcono=x"},
    };
    for (const auto& c : cases) {
        const KmrcRun r = kmrc({"new", c[0], c[1], "-o", "p.kmr"});
        EXPECT_EQ(r.code, kUsage) << c[0];
        EXPECT_NE(r.err.find(c[0] + ": un valor no puede ocupar más de una línea"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists("p.kmr")) << c[0];
    }
    test::writeBytes("p.kmr", crlf({"[Brenlowe KMR File]", "Version=2.0", "Etiqueta=Disco"}));
    EXPECT_EQ(kmrc({"iso", "--label", "A\nB", "--disc", ".", "p.kmr", "-o", "x.iso"}).code, kUsage);
}

// A lone CR stays inside an imported value: the import says so, and no writer writes it.
TEST_F(KmrcValues, ImportSaysWhatNoFileCanHold) {
    const struct {
        const char* name;
        std::string file;
        std::string said;  // a line of what import says
        bool saved;        // whether -o writes the project
    } cases[] = {
        {"a lone CR in the program", "[autorun]\r\nopen=a.exe\rIcono=evil.ico\r\nlabel=L\r\n",
         "Valor de más de una línea: El programa o recurso a ejecutar tiene un salto de línea (CR) tras \"a.exe\": "
         "en el fichero, \"Icono=evil.ico\" sería otra línea.\n",
         false},
        {"a lone CR in a menu's text", "[autorun]\nshell\\m=Uno\rDos\nshell\\m\\command=a.exe\n",
         "Valor de más de una línea: El texto del menú \"Uno\rDos\" tiene un salto de línea (CR) tras \"Uno\": en el "
         "fichero, \"Dos\" sería otra línea.\n",
         false},
        {"a NUL in the label", std::string("[autorun]\nlabel=Mi\0CD\n", 22),
         "Carácter nulo en un valor: La etiqueta tiene un carácter nulo (código 0) tras \"Mi\": Windows lee el valor "
         "solo hasta ahí.\n",
         true},
        {"lines ended by CR alone", "[autorun]\ropen=a.exe\rlabel=L\r",
         "kmrc: cr.inf: sus líneas terminan solo en CR (retorno de carro), que al importar no separa líneas (solo "
         "lo hacen CR LF y LF): todo el fichero se lee como una sola línea\n",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes("cr.inf", c.file);
        const KmrcRun json = kmrc({"import", "--force", "--json", "cr.inf"});
        EXPECT_EQ(json.code, kDone);
        EXPECT_NE(json.err.find(c.said), std::string::npos) << json.err;
        const KmrcRun saved = kmrc({"import", "--force", "cr.inf", "-o", "p.kmr"});
        EXPECT_EQ(saved.code, c.saved ? kDone : kRefused) << saved.err;
        EXPECT_EQ(std::filesystem::exists("p.kmr"), c.saved);
        if (!c.saved) {
            EXPECT_NE(saved.err.find("ocupa más de una línea"), std::string::npos) << saved.err;
        }
        std::filesystem::remove("p.kmr");
    }
}

// Files that a write in place left half done are refused by every reader, with what happened.
TEST_F(KmrcValues, UnfinishedFilesAreRefused) {
    test::writeBytes("p.kmr", std::string("\0\0renlowe KMR File]\r\nVersion=2.0\r\n", 34));
    test::writeBytes("autorun.inf", std::string("\0\0utorun]\r\nopen=a.exe\r\n", 23));
    const std::vector<std::vector<std::string>> cases = {
        {"show", "p.kmr"}, {"convert", "p.kmr", "q.kmr"}, {"check", "p.kmr"}, {"import", "--force", "autorun.inf"}};
    for (const auto& args : cases) {
        const KmrcRun r = kmrc(args);
        EXPECT_EQ(r.code, kRefused) << args[0];
        EXPECT_NE(r.err.find(": El fichero quedó a medias: se estaba sobrescribiendo en su sitio"), std::string::npos)
            << r.err;
    }
}

// What Windows reads otherwise than the project says: a second settings section is read and said, two
// sections of one platform are compiled as one, and check finds them.
TEST_F(KmrcValues, WhatWindowsReadsOtherwiseIsNeverSilent) {
    test::writeBytes("p.kmr",
                     crlf({"[Brenlowe KMR File]", "Version=2.0", "Etiqueta=Disco", "", "[Entradas del autorun]",
                           "Plataforma=x86", "Entrada=open=a.exe", "", "[ENTRADAS DEL AUTORUN]", "Accion=Instalar",
                           "Plataforma=x86", "Entrada=icon=a.ico"}));
    const KmrcRun shown = kmrc({"show", "p.kmr"});
    EXPECT_NE(shown.out.find("\"errors\": true"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"action\": \"Instalar\""), std::string::npos) << shown.out;
    EXPECT_EQ(kmrc({"compile", "p.kmr", "-o", "-"}).out,
              crlf({"[autorun]", "label=Disco", "action=Instalar", "", "[AutoRun.x86]", "open=a.exe", "icon=a.ico"}));
    const KmrcRun checked = kmrc({"check", "p.kmr"});
    EXPECT_EQ(checked.code, kFindings);
    EXPECT_NE(checked.out.find("Sección de plataforma repetida: La sección [AutoRun.x86] está 2 veces"),
              std::string::npos)
        << checked.out;
}

}  // namespace
}  // namespace kmr::cli
