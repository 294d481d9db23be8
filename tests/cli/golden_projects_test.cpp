// Every NAME.kmr in tests/data/projects has NAME.json (what "kmrc show" prints) and NAME.converted
// (the bytes "kmrc convert" writes) beside it.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;

TEST(GoldenProjects, ShowAndConvert) {
    const fs::path folder = fs::path(KMR_TEST_DATA_DIR) / "projects";
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".kmr") continue;
        ++cases;
        const std::string input = entry.path().string();
        fs::path json = entry.path();
        json.replace_extension(".json");
        fs::path converted = entry.path();
        converted.replace_extension(".converted");

        const test::KmrcRun shown = test::kmrc({"show", "--force", input});
        EXPECT_EQ(shown.code, 0) << input << shown.err;
        EXPECT_EQ(shown.out, test::readBytes(json)) << input;

        test::TempDir dir;
        const test::KmrcRun conv = test::kmrc({"convert", "--force", input, dir.file("out.kmr")});
        EXPECT_EQ(conv.code, 0) << input << conv.err;
        EXPECT_EQ(test::readBytes(dir.file("out.kmr")), test::readBytes(converted)) << input;
        // What convert wrote reads back to the same objects.
        const auto objectsOf = [](const std::string& json) { return json.substr(json.find("\"objects\"")); };
        EXPECT_EQ(objectsOf(test::kmrc({"show", dir.file("out.kmr")}).out), objectsOf(shown.out)) << input;
    }
    EXPECT_GE(cases, 5);
}

}  // namespace
}  // namespace kmr
