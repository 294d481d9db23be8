// kmrc's help: every command answers --help, -h and --version within 80 columns, the options the help
// lists are the ones the commands take, and the manual page and the help page say the same.
#include <gtest/gtest.h>

#include <sstream>

#include "help.h"
#include "kmrc.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

using test::kmrc;

std::size_t columns(std::string_view line) {
    std::size_t n = 0;
    for (const char c : line) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string longLines(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::string found;
    while (std::getline(in, line)) {
        if (columns(line) > kHelpColumns) found += line + "\n";
    }
    return found;
}

TEST(KmrcHelp, EveryCommandAnswersHelpAndVersion) {
    std::vector<std::vector<std::string>> lines = {{"--help"}, {"-h"}, {"help"}, {"--version"}};
    for (const CommandHelp& c : commandHelp()) {
        const std::string name(c.name);
        for (const char* ask : {"--help", "-h", "--version"}) lines.push_back({name, ask});
        lines.push_back({name, "no-existe.kmr", "--help"});  // after other arguments too
    }
    for (const auto& args : lines) {
        const test::KmrcRun r = kmrc(args);
        const std::string what = args.front() + " " + args.back();
        EXPECT_EQ(r.code, kDone) << what << ": " << r.err;
        EXPECT_EQ(r.err, "") << what;
        EXPECT_EQ(longLines(r.out), "") << what;
        if (args.back() == "--version") {
            EXPECT_TRUE(r.out.starts_with("kmrc (KMR) 2.")) << r.out;
        } else if (args.size() > 1) {
            EXPECT_TRUE(r.out.starts_with("uso: kmrc " + args.front() + " ")) << r.out;
        } else {
            for (const CommandHelp& c : commandHelp()) {
                EXPECT_NE(r.out.find("  kmrc " + std::string(c.name) + " "), std::string::npos) << c.name;
            }
        }
    }
}

TEST(KmrcHelp, HelpAfterAnOptionsValueOrTwoDashesIsAnArgument) {
    test::TempDir dir;
    // "-h" is the label here, and "--help" after "--" a file name.
    const test::KmrcRun label = kmrc({"new", "--label", "-h", "-o", dir.file("p.kmr")});
    EXPECT_EQ(label.code, kDone) << label.err;
    EXPECT_NE(test::readBytes(dir.file("p.kmr")).find("Etiqueta=-h"), std::string::npos);
    const test::KmrcRun file = kmrc({"show", "--", "--help"});
    EXPECT_EQ(file.code, kFileError) << file.err;
}

// Every option the help lists is one its command takes: whatever else goes wrong, it is not unknown.
TEST(KmrcHelp, ListedOptionsAreTakenByTheirCommand) {
    test::TempDir dir;
    for (const CommandHelp& c : commandHelp()) {
        for (const HelpOption& o : c.options) {
            EXPECT_NE(c.synopsis.find(optionName(o)), std::string_view::npos) << c.name << " " << o.form;
            std::vector<std::string> args = {std::string(c.name), std::string(optionName(o))};
            if (optionTakesValue(o)) args.push_back(optionName(o) == "--medium" ? "cd" : dir.file("valor"));
            const test::KmrcRun r = kmrc(args);
            EXPECT_EQ(r.err.find("desconocid"), std::string::npos) << c.name << " " << o.form << ": " << r.err;
        }
        const test::KmrcRun unknown = kmrc({std::string(c.name), "--no-existe"});
        EXPECT_EQ(unknown.code, kUsage) << c.name;
    }
}

// The manual page's synopsis as a reader sees it: font macros joined, "\-" as "-", one line per
// ".br".
std::vector<std::string> manSynopsis(const std::string& page) {
    std::istringstream in(page);
    std::string line;
    bool inside = false;
    std::vector<std::string> out;
    std::string current;
    auto finish = [&] {
        if (!current.empty()) out.push_back(current);
        current.clear();
    };
    while (std::getline(in, line)) {
        if (line.starts_with(".SH")) {
            if (inside) break;
            inside = line == ".SH SINOPSIS";
            continue;
        }
        if (!inside) continue;
        if (line == ".br") {
            finish();
            continue;
        }
        for (std::size_t at = line.find("\\-"); at != std::string::npos; at = line.find("\\-", at)) line.erase(at, 1);
        const std::size_t space = line.find(' ');
        const std::string macro = line.substr(0, space);
        // Words are parted by blanks outside double quotes.
        std::vector<std::string> words(1);
        bool quoted = false;
        for (const char ch : space == std::string::npos ? std::string() : line.substr(space + 1)) {
            if (ch == '"') {
                quoted = !quoted;
            } else if (ch == ' ' && !quoted) {
                if (!words.back().empty()) words.emplace_back();
            } else {
                words.back() += ch;
            }
        }
        std::string joined;
        for (const std::string& w : words) {
            // .B and .I join their words with blanks; the alternating ones (.RB, .IR…) without.
            if (!joined.empty() && (macro == ".B" || macro == ".I")) joined += ' ';
            joined += w;
        }
        if (!current.empty()) current += ' ';
        current += joined;
    }
    finish();
    return out;
}

std::string collapsed(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n' || c == ' ') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

TEST(KmrcHelp, ManualAndHelpPageSayWhatTheHelpSays) {
    const std::string man = test::readBytes(std::string(KMR_RESOURCES_DIR) + "/man/kmrc.1");
    const std::string page = collapsed(test::readBytes(std::string(KMR_RESOURCES_DIR) + "/help/kmrc.html"));
    std::vector<std::string> wanted;
    for (const CommandHelp& c : commandHelp()) wanted.push_back("kmrc " + std::string(c.synopsis));
    wanted.emplace_back("kmrc [ORDEN] --help | --version");
    EXPECT_EQ(manSynopsis(man), wanted);

    for (const CommandHelp& c : commandHelp()) {
        const std::string synopsis = "<code>kmrc " + std::string(c.synopsis) + "</code>";
        EXPECT_NE(page.find(synopsis), std::string::npos) << "kmrc.html lacks " << synopsis;
        EXPECT_NE(man.find(".B " + std::string(c.name) + "\n"), std::string::npos) << "kmrc.1 lacks " << c.name;
    }
    const std::size_t exitCodes = man.find(".SH ESTADO DE SALIDA");
    ASSERT_NE(exitCodes, std::string::npos);
    for (const ExitCodeHelp& e : exitCodeHelp()) {
        EXPECT_NE(man.find(".B " + std::to_string(e.code) + "\n", exitCodes), std::string::npos) << e.code;
        EXPECT_NE(page.find("<tr><td>" + std::to_string(e.code) + "</td>"), std::string::npos) << e.code;
    }
    for (const std::string_view option : {"--version", "--help"}) {
        EXPECT_NE(page.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace kmr::cli
