#include "kmrc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <tuple>

#include "guarded_run.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

using test::kmrc;
using test::KmrcRun;

const std::string kVersion1 =
    test::crlf({"[dantreva kmr file]", "version=1.0", "programa=setup.exe", "icono=cd.ico", "menus=1",
                "menu1.texto=L\xE9"
                "eme",
                "menu1.comando=notepad \"a b.txt\"", "menu1.nombre=leeme"});

TEST(Kmrc, ShowPrintsJson) {
    test::TempDir dir;
    test::writeBytes(dir.file("v1.kmr"), kVersion1);
    const KmrcRun r = kmrc({"show", dir.file("v1.kmr")});
    EXPECT_EQ(r.code, kDone);
    EXPECT_EQ(r.out,
              "{\n  \"format\": 1,\n  \"errors\": false,\n  \"objects\": [\n"
              "    {\"kind\": 21, \"caption\": \"Ejecutar programa \\\"setup.exe\\\"\", \"values\": [\"setup.exe\"]},\n"
              "    {\"kind\": 22, \"caption\": \"Mostrar icono \\\"cd.ico\\\"\", \"values\": [\"cd.ico\"]},\n"
              "    {\"kind\": 6, \"caption\": \"Mostrar menú \\\"Léeme\\\"\", \"values\": [\"Léeme\", "
              "\"notepad \\\"a b.txt\\\"\", \"leeme\"]}\n  ]\n}\n");
    EXPECT_EQ(r.err, "");
}

TEST(Kmrc, ShowOfAnEmptyVersion2Project) {
    test::TempDir dir;
    test::writeBytes(dir.file("e.kmr"), "[Brenlowe KMR File]\r\nVersion=2.0\r\n");
    EXPECT_EQ(kmrc({"show", dir.file("e.kmr")}).out,
              "{\n  \"format\": 2,\n  \"errors\": false,\n  \"objects\": []\n}\n");
}

TEST(Kmrc, VersionMismatchIsRefusedUnlessForced) {
    test::TempDir dir;
    test::writeBytes(dir.file("v3.kmr"), "[Brenlowe KMR File]\r\nVersion=3.0\r\nEtiqueta=X\r\n");
    const KmrcRun refused = kmrc({"show", dir.file("v3.kmr")});
    EXPECT_EQ(refused.code, kRefused);
    EXPECT_EQ(refused.out, "");
    // One message, the command line's own, without the editor's question.
    EXPECT_EQ(refused.err,
              "kmrc: " + dir.file("v3.kmr") + ": versión no reconocida (use --force para seguir igualmente)\n");
    const KmrcRun forced = kmrc({"show", "--force", dir.file("v3.kmr")});
    EXPECT_EQ(forced.code, kDone);
    EXPECT_NE(forced.out.find("\"Mostrar texto \\\"X\\\"\""), std::string::npos);
    EXPECT_EQ(kmrc({"convert", dir.file("v3.kmr"), dir.file("out.kmr")}).code, kRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.kmr")));
}

TEST(Kmrc, ConvertWritesVersion2) {
    test::TempDir dir;
    test::writeBytes(dir.file("v1.kmr"), kVersion1);
    test::writeBytes(dir.file("out.kmr"), "old");
    const KmrcRun r = kmrc({"convert", dir.file("v1.kmr"), dir.file("out.kmr")});
    EXPECT_EQ(r.code, kDone) << r.err;
    EXPECT_EQ(test::readBytes(dir.file("out.kmr")),
              test::crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=setup.exe", "Icono=cd.ico", "Menus=1", "",
                          "[Menu1]",
                          "Texto=L\xE9"
                          "eme",
                          "Comando=notepad \"a b.txt\"", "Nombre=leeme"}));
}

TEST(Kmrc, ExitCodes) {
    test::TempDir dir;
    test::writeBytes(dir.file("a.kmr"), "[Brenlowe KMR File]\r\nVersion=2.0\r\n");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string errContains;
    };
    const std::vector<Case> cases = {
        {{}, kUsage, "falta la orden"},
        {{"fly"}, kUsage, "orden desconocida: fly"},
        {{"show"}, kUsage, "uso: kmrc show"},
        {{"show", "--nope", dir.file("a.kmr")}, kUsage, "opción desconocida: --nope"},
        {{"show", dir.file("a.kmr"), dir.file("a.kmr")}, kUsage, "uso:"},
        {{"convert", dir.file("a.kmr")}, kUsage, "uso: kmrc convert"},
        {{"show", dir.file("missing.kmr")},
         kFileError,
         dir.file("missing.kmr") + ": No existe el fichero o la carpeta"},
        {{"show", dir.path().string()}, kFileError, "Es una carpeta"},
        {{"convert", dir.file("a.kmr"), dir.file("no/such/out.kmr")},
         kFileError,
         dir.file("no/such/out.kmr") + ": No existe el fichero o la carpeta"},
    };
    for (const auto& c : cases) {
        const KmrcRun r = kmrc(c.args);
        EXPECT_EQ(r.code, c.code) << (c.args.empty() ? "" : c.args[0]) << " " << r.err;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
    }
    const KmrcRun help = kmrc({"--help"});
    EXPECT_EQ(help.code, kDone);
    EXPECT_NE(help.out.find("kmrc convert"), std::string::npos);
}

// Whatever escapes a command is one Spanish message and exit 4, never the runtime's English abort.
TEST(Kmrc, EscapedExceptionsBecomeOneSpanishMessage) {
    const std::vector<std::tuple<std::function<int()>, int, std::string_view>> cases = {
        {[] { return kFileError; }, kFileError, ""},
        {[]() -> int { throw std::bad_alloc(); }, kRefused, kOutOfMemory},
        {[]() -> int { throw std::filesystem::filesystem_error("Cannot convert", std::error_code()); }, kRefused,
         kUnexpectedFailure},
    };
    for (const auto& [body, code, message] : cases) {
        std::string said;
        EXPECT_EQ(runGuarded(body, [&](std::string_view m) { said += m; }), code);
        EXPECT_EQ(said, message);
    }
}

}  // namespace
}  // namespace kmr::cli
