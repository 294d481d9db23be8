// Every reader of outside input keeps to a small multiple of the file's size, whatever counts and
// runs of lines the file holds. Each case runs in a child whose address space may grow by 96 MiB
// only; the files are 5 MB, and a reader that fills a count with empty entries needs gigabytes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "autorun/importer.h"
#include "project/project_file.h"
#include "support/child_process.h"
#include "text/text.h"
#include "wizards/templates.h"

namespace kmr {
namespace {

constexpr std::size_t kHeadroom = 96u << 20;
constexpr int kLines = 5000000;

std::string withLines(std::string head, std::string_view line, int times = kLines) {
    head.reserve(head.size() + line.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) head += line;
    return head;
}

TEST(ReadersMemory, BigCountsAndLongRunsOfLines) {
    if (!test::memoryLimitsWork()) GTEST_SKIP() << "address-space limits mean nothing under the sanitizers";
    const std::string count = std::to_string(kLines);
    struct Case {
        const char* name;
        std::string file;
        std::function<bool(const std::string&)> readsAsBroken;
    };
    const auto version2 = [](const std::string& bytes) {
        const ProjectReadResult r = readProjectFile(bytes);
        return r.errors && r.project.size() <= 1;  // the one section that is there, at most
    };
    const auto version1 = [](const std::string& bytes) {
        const ProjectReadResult r = readProjectFile(bytes);
        return r.errors && r.project.menuCount() == 0;
    };
    const auto templ = [](const std::string& bytes) {
        const auto t = readTemplate(bytes, 0);
        return t && t->menus.empty();
    };
    const auto autorun = [](const std::string& bytes) {
        const ImportResult r = importAutorun(text::decode(bytes).text);
        return r.project.empty() && r.unrecognised <= 1;
    };
    const std::vector<Case> cases = {
        {"version 2, blank lines", withLines("[Brenlowe KMR File]\nVersion=2.0\nMenus=" + count + "\n", "\n"),
         version2},
        {"version 2, other sections", withLines("[Brenlowe KMR File]\nMenus=" + count + "\n", "[a]\n", kLines / 4),
         version2},
        {"version 2, one section repeated",
         withLines("[Brenlowe KMR File]\nMenus=" + count + "\n", "[Menu1]\n", kLines / 8), version2},
        {"version 1, blank lines",
         withLines("[dantreva kmr file]\nversion=1.0\nprograma=p\nicono=i\nmenus=" + count + "\n", "\n"), version1},
        {"template, blank lines",
         withLines("[Brenlowe KMR Template]\nVersioMajor=2\nVersioMenor=3\n[ParametresGenerals]\nMenus=" + count + "\n",
                   "\n"),
         templ},
        {"autorun, blank lines", withLines("[autorun]\n", "\n"), autorun},
        {"autorun, a text line without its partner", withLines("[autorun]\nshell\\a=b\n", "\r\n"), autorun},
    };
    for (const auto& c : cases) {
        const test::ChildOutcome outcome = test::runInChild([&] { return c.readsAsBroken(c.file) ? 0 : 1; }, kHeadroom);
        EXPECT_EQ(outcome.exitCode, 0) << c.name << (outcome.exitCode == 3 ? ": out of memory" : ": read wrongly");
    }
}

// An import, with the entries that make no object kept, grows by less than ten times its text on the
// shapes that cost most per byte: many small sections, lines of two bytes, very long lines, many menus.
TEST(ReadersMemory, ImportKeepsUnderTenTimesItsText) {
    if (!test::memoryLimitsWork()) GTEST_SKIP() << "address-space limits mean nothing under the sanitizers";
    const auto numbered = [](std::string head, int times, const auto& line) {
        for (int i = 0; i < times; ++i) head += line(i);
        return head;
    };
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"many sections", numbered("[autorun]\n", 400000, [](int i) { return "[" + std::to_string(i) + "]\nk\n"; })},
        {"lines of two bytes", withLines("[autorun]\n", "k\n", 2000000)},
        {"long lines", withLines("[autorun]\n", "x=" + std::string(1000000, 'v') + "\n", 4)},
        {"many menus", numbered("[autorun]\r\n", 50000,
                                [](int i) {
                                    const std::string n = std::to_string(i);
                                    return "shell\\m" + n + "=Menu " + n + "\r\nshell\\m" + n + "\\command=a" + n +
                                           ".exe\r\n";
                                })},
    };
    for (const auto& c : cases) {
        const test::ChildOutcome outcome = test::runInChild(
            [&] {
                const ImportResult r = importAutorun(c.text, ImportOptions{});
                return r.project.settings.empty() && r.project.empty() ? 1 : 0;
            },
            10 * c.text.size());
        EXPECT_EQ(outcome.exitCode, 0) << c.name << (outcome.exitCode == 3 ? ": out of memory" : ": nothing imported");
    }
}

}  // namespace
}  // namespace kmr
