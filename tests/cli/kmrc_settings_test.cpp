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

class KmrcSettings : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
    }
    void TearDown() override { std::filesystem::current_path(m_old); }

    test::TempDir m_dir;
    std::filesystem::path m_old;
};

// kmrc new takes the documented entries; show lists them; compile writes them after the objects.
TEST_F(KmrcSettings, NewShowAndCompile) {
    const KmrcRun made = kmrc({"new",
                               "--program",
                               "setup.exe",
                               "--action",
                               " Instalar =",
                               "--use-autoplay",
                               "--custom-event",
                               "MiEvento",
                               "--content",
                               "music",
                               "--content",
                               "video=false",
                               "--exclusive-path",
                               "\\musica",
                               "--ignore-path",
                               "\\tmp",
                               "--driver-path",
                               "drivers",
                               "--platform-entry",
                               "amd64:open=setup64.exe",
                               "-o",
                               "p.kmr"});
    ASSERT_EQ(made.code, kDone) << made.err;
    const KmrcRun shown = kmrc({"show", "p.kmr"});
    EXPECT_EQ(shown.out,
              "{\n  \"format\": 2,\n  \"errors\": false,\n  \"objects\": [\n"
              "    {\"kind\": 21, \"caption\": \"Ejecutar programa \\\"setup.exe\\\"\", \"values\": [\"setup.exe\"]}\n"
              "  ],\n  \"settings\": {\n"
              "    \"action\": \" Instalar =\",\n"
              "    \"custom_event\": \"MiEvento\",\n"
              "    \"use_autoplay\": \"1\",\n"
              "    \"content\": {\"MusicFiles\": \"true\", \"VideoFiles\": \"false\"},\n"
              "    \"exclusive_content_paths\": [\"\\\\musica\"],\n"
              "    \"ignore_content_paths\": [\"\\\\tmp\"],\n"
              "    \"driver_paths\": [\"drivers\"],\n"
              "    \"platforms\": [{\"platform\": \"Amd64\", \"entries\": [[\"open\", \"setup64.exe\"]]}]\n"
              "  }\n}\n");
    const KmrcRun compiled = kmrc({"compile", "p.kmr", "-o", "-"});
    EXPECT_EQ(compiled.out, crlf({"[autorun]",
                                  "open=setup.exe",
                                  "action= Instalar =",
                                  "CustomEvent=MiEvento",
                                  "UseAutoPlay=1",
                                  "",
                                  "[Content]",
                                  "MusicFiles=true",
                                  "VideoFiles=false",
                                  "",
                                  "[ExclusiveContentPaths]",
                                  "\\musica",
                                  "",
                                  "[IgnoreContentPaths]",
                                  "\\tmp",
                                  "",
                                  "[DeviceInstall]",
                                  "DriverPath=drivers",
                                  "",
                                  "[AutoRun.Amd64]",
                                  "open=setup64.exe"}));

    struct Bad {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Bad> bad = {
        {{"--content", "sonido"}, "--content espera music, pictures o video: sonido"},
        {{"--platform-entry", "arm:open=a.exe"}, "--platform-entry espera PLATAFORMA:CLAVE=VALOR"},
        {{"--platform-entry", "x86:=a.exe"}, "--platform-entry espera PLATAFORMA:CLAVE=VALOR"},
        {{"--action", "a", "--action", "b"}, "--action se da más de una vez"},
    };
    for (const Bad& b : bad) {
        std::vector<std::string> args = {"new", "--label", "x"};
        args.insert(args.end(), b.args.begin(), b.args.end());
        args.insert(args.end(), {"-o", "mal.kmr"});
        const KmrcRun r = kmrc(args);
        EXPECT_EQ(r.code, kUsage) << b.message;
        EXPECT_NE(r.err.find(b.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists("mal.kmr"));
    }
}

// kmrc check sees the settings with and without the disc folder; an imported file is what its
// project compiles to.
TEST_F(KmrcSettings, CheckSeesTheSettings) {
    std::filesystem::create_directory("disco");
    const std::string original = crlf({"[AutoRun]", "open=setup.exe", "lable=Mi disco", "action=Instalar", "[Content]",
                                       "PictureFiles=true", "[DeviceInstall]", "DriverPath=drv"});
    test::writeBytes("disco/autorun.inf", original);
    test::writeBytes("disco/setup.exe", "MZ");
    ASSERT_EQ(kmrc({"import", "disco/autorun.inf", "-o", "p.kmr"}).code, kDone);

    const KmrcRun alone = kmrc({"check", "--explain", "p.kmr"});
    EXPECT_EQ(alone.code, kFindings);
    EXPECT_NE(alone.out.find("Entrada desconocida: Windows no conoce la entrada lable: la ignora. ¿Quería decir "
                             "label?\n  Corrija el nombre"),
              std::string::npos)
        << alone.out;

    const KmrcRun onDisc = kmrc({"check", "--disc", "disco", "p.kmr"});
    // One finding a line, each naming what it is about.
    EXPECT_EQ(onDisc.out,
              "Entrada desconocida: Windows no conoce la entrada lable: la ignora. ¿Quería decir label?\n"
              "Texto de Reproducción automática en un CD o DVD: Windows solo usa action en unidades extraíbles y "
              "fijas, desde Windows XP SP2; en un CD o DVD no la usa.\n"
              "Tipo de contenido sin ficheros: [Content] indica que el disco lleva imágenes (PictureFiles), pero la "
              "carpeta del disco no contiene ningún fichero de ese tipo.\n"
              "Carpeta inexistente en el disco: DriverPath nombra la carpeta \"drv\", que no se encuentra en la "
              "carpeta del disco.\n");
    const KmrcRun usb = kmrc({"check", "--json", "--disc", "disco", "--medium", "usb", "p.kmr"});
    EXPECT_EQ(usb.out.find("autorun-differs"), std::string::npos) << usb.out;
    EXPECT_EQ(usb.out.find("action-"), std::string::npos) << usb.out;  // a program is there for the text

    // Without the extras, the project no longer says what the file says.
    ASSERT_EQ(kmrc({"import", "--sin-extras", "disco/autorun.inf", "-o", "solo.kmr"}).code, kDone);
    const KmrcRun bare = kmrc({"check", "--explain", "--disc", "disco", "solo.kmr"});
    EXPECT_NE(bare.out.find("no coincide con lo que se obtiene al compilar este proyecto: sobra la entrada "
                            "lable=Mi disco de [autorun]."),
              std::string::npos)
        << bare.out;
}

}  // namespace
}  // namespace kmr::cli
