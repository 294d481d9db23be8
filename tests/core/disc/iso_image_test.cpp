#include "disc/iso_image.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_files.h"

namespace kmr::disc {
namespace {

TEST(IsoImage, VolumeNameIsWhatIso9660Allows) {
    struct Case {
        std::string label;
        std::string id;
        bool warned;
    };
    const std::vector<Case> cases = {
        {"MICD_2", "MICD_2", false},
        {"MiCD", "MICD", true},
        {"  Mi CD  ", "MI_CD", true},
        {"Año Ñandú ÇÉ", "ANO_NANDU_CE", true},
        {"Диск", "____", true},
        {"instalación-v1.0", "INSTALACION_V1_0", true},
        {std::string(32, 'A'), std::string(32, 'A'), false},
        {std::string(40, 'B'), std::string(32, 'B'), true},
        {std::string(31, 'C') + "é", std::string(31, 'C') + "E", true},
        {"", "CDROM", true},
        {"   ", "CDROM", true},
    };
    for (const Case& c : cases) {
        const VolumeName v = isoVolumeName(c.label);
        EXPECT_EQ(v.id, c.id) << c.label;
        EXPECT_EQ(!v.warning.empty(), c.warned) << c.label;
    }
    EXPECT_EQ(isoVolumeName("Mi CD").warning,
              "La etiqueta \"Mi CD\" no cabe tal cual en el nombre de volumen de ISO 9660 (hasta 32 letras de la A a "
              "la Z, cifras y _): el volumen se llamará \"MI_CD\". Windows muestra la etiqueta del autorun.inf.");
}

TEST(IsoImage, LabelComesFromTheAskOrTheProjectOrTheFolder) {
    Project withLabel;
    withLabel.append(makeProgram("a.exe"));
    withLabel.append(makeLabel("Etiqueta"));
    Project blankLabel;
    blankLabel.append(makeLabel(" "));
    EXPECT_EQ(imageLabel(withLabel, "/x/disco", std::string("Pedida")), "Pedida");
    EXPECT_EQ(imageLabel(withLabel, "/x/disco", std::nullopt), "Etiqueta");
    EXPECT_EQ(imageLabel(blankLabel, "/x/disco/", std::nullopt), "disco");
    EXPECT_EQ(imageLabel(Project{}, "/", std::nullopt), "CDROM");
}

TEST(IsoImage, ProgressLinesOfXorriso) {
    struct Case {
        std::string line;
        std::optional<int> percent;
    };
    const std::vector<Case> cases = {
        {"xorriso : UPDATE : Writing:       1756s   11.8%   fifo   0%  buf  50%", 11},
        {"xorriso : UPDATE : Writing:      14679s  100.0%   fifo 100%  buf 100%", 100},
        {"xorriso : UPDATE : Writing:          0s    0.0%   fifo   0%  buf   0%", 0},
        {"xorriso : UPDATE :       3 files added in 1 seconds", std::nullopt},
        {"Writing to 'stdio:x.iso' completed successfully.", std::nullopt},
        {"xorriso : UPDATE : Writing: % and no number", std::nullopt},
        {"xorriso : UPDATE : Writing:    450.0%", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(xorrisoProgress(c.line), c.percent) << c.line;
}

TEST(IsoImage, ImageMustNotGrowInsideItsFolder) {
    const test::TempDir dir;
    const std::filesystem::path disc = dir.path() / "disco";
    std::filesystem::create_directories(disc / "sub");
    std::filesystem::create_directories(dir.path() / "disco2");
    EXPECT_TRUE(imageInsideFolder((disc / "x.iso").string(), disc.string()));
    EXPECT_TRUE(imageInsideFolder((disc / "sub/x.iso").string(), disc.string() + "/"));
    EXPECT_TRUE(imageInsideFolder((disc / "sub/../x.iso").string(), disc.string()));
    EXPECT_FALSE(imageInsideFolder((dir.path() / "x.iso").string(), disc.string()));
    EXPECT_FALSE(imageInsideFolder((dir.path() / "disco2/x.iso").string(), disc.string()));
}

}  // namespace
}  // namespace kmr::disc
