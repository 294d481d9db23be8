// kmrc never reports success for output that was lost, and running out of memory is a message and an
// exit code, not an abort.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "kmrc.h"
#include "support/child_process.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr::cli {
namespace {

TEST(KmrcOutput, EveryVerbReportsAStandardOutputThatFailed) {
    test::TempDir dir;
    const std::string project = dir.file("p.kmr");
    // A program tied to one drive: check and compile find something to say.
    test::writeBytes(project, test::crlf({"[Brenlowe KMR File]", "Version=2.0", "Programa=c:\\a.exe", "Menus=1", "",
                                          "[Menu1]", "Texto=t", "Comando=c", "Nombre=n"}));
    test::writeBytes(dir.file("autorun.inf"), test::crlf({"[autorun]", "open=a.exe"}));
    const std::vector<std::vector<std::string>> commands = {
        {"show", project},
        {"check", project},
        {"check", "--explain", project},
        {"compile", project, "-o", "-"},
        {"import", "--json", dir.file("autorun.inf")},
        {"--help"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0] + " " + args[1 % args.size()]);
        std::ofstream full("/dev/full");
        ASSERT_TRUE(full.is_open());
        std::istringstream in;
        std::ostringstream err;
        EXPECT_EQ(runKmrc(args, in, full, err), kFileError);
        EXPECT_TRUE(err.str().ends_with(kStdoutFailed)) << err.str();
        EXPECT_EQ(err.str().find(kStdoutFailed), err.str().size() - kStdoutFailed.size()) << "said twice";
    }
}

TEST(KmrcOutput, TheProgramChecksItsOutputAndItsMemory) {
    test::TempDir dir;
    std::string big = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=150000\r\n";
    for (int k = 1; k <= 150000; ++k) {
        const std::string n = std::to_string(k);
        big += "\r\n[Menu" + n + "]\r\nTexto=Menu " + n + "\r\nComando=notepad " + n + ".txt\r\nNombre=m" + n + "\r\n";
    }
    test::writeBytes(dir.file("big.kmr"), big);

    const test::ChildOutcome full = test::runProgram(test::kmrcProgram(), {"show", dir.file("big.kmr")}, "/dev/full");
    EXPECT_EQ(full.exitCode, kFileError);
    EXPECT_EQ(full.err, kStdoutFailed);

    // A FIFO whose reader goes away early: a message and exit 3, never a death by SIGPIPE.
    ASSERT_EQ(::mkfifo(dir.file("out.fifo").c_str(), 0600), 0);
    const int reader = ::open(dir.file("out.fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::thread closer([&] {  // takes a little, then goes away
        char some[16];
        for (int tries = 0; tries < 500 && ::read(reader, some, sizeof some) <= 0; ++tries) ::usleep(10000);
        ::close(reader);
    });
    const test::ChildOutcome closed =
        test::runProgram(test::kmrcProgram(), {"convert", dir.file("big.kmr"), dir.file("out.fifo")}, "/dev/null");
    closer.join();
    EXPECT_EQ(closed.exitCode, kFileError);
    EXPECT_EQ(closed.err,
              "kmrc: " + dir.file("out.fifo") + ": El programa que leía la tubería la cerró antes de terminar\n");

    if (!test::memoryLimitsWork()) GTEST_SKIP() << "address-space limits mean nothing under the sanitizers";
    // The program and the file's 11 MB fit in about 20 MiB of address space, the project read from it
    // in about 30. Every limit below must end in the message and exit 4, whatever allocation it stops
    // (the file's own buffer included): a reader that fails half-way lets go of what it made.
    int refused = 0;
    for (std::size_t mib = 12; mib <= 40; ++mib) {
        SCOPED_TRACE(std::to_string(mib) + " MiB");
        const test::ChildOutcome limited =
            test::runProgram(test::kmrcProgram(), {"show", dir.file("big.kmr")}, dir.file("out.json"), mib << 20);
        ASSERT_EQ(limited.signal, 0) << limited.err;
        // Too little room even to read the file is running out of memory too.
        if (limited.exitCode != kDone) {
            EXPECT_EQ(limited.exitCode, kRefused) << limited.err;
            EXPECT_EQ(limited.err, kOutOfMemory);
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    const test::ChildOutcome roomy =
        test::runProgram(test::kmrcProgram(), {"show", dir.file("big.kmr")}, dir.file("out.json"), 512u << 20);
    EXPECT_EQ(roomy.exitCode, kDone) << roomy.err;
}

// Inputs larger than any project or autorun.inf are refused before they are read, or as soon as a
// stream passes the limit.
TEST(KmrcOutput, OversizedInputsAreRefusedAtOnce) {
    test::TempDir dir;
    test::writeBytes(dir.file("huge.kmr"), "");
    std::filesystem::resize_file(dir.file("huge.kmr"), std::uintmax_t{2} << 30);  // sparse: no disk is used
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", "--force", dir.file("huge.kmr")},
                                                 {"import", "--json", dir.file("huge.kmr")},
                                                 {"show", "/dev/zero"},
                                                 {"import", "/dev/zero"}}) {
        const test::KmrcRun r = test::kmrc(args);
        EXPECT_EQ(r.code, kRefused);
        EXPECT_EQ(r.err, "kmrc: " + args.back() +
                             ": El fichero es demasiado grande (más de 64 MiB); ningún proyecto, plantilla ni "
                             "autorun.inf ocupa tanto\n");
    }
}

// No verb writes a file that kmrc and the editor then refuse to read. Inputs of 34 MB in UTF-8 that
// hold one letter outside Windows-1252 are written in UTF-16, twice as large: each is refused before
// its output is touched.
TEST(KmrcOutput, OutputsAboveTheInputLimitAreNotWritten) {
    test::TempDir dir;
    const std::string command(2000, 'x');  // a value the profile rules do not cut
    std::string project = "\xEF\xBB\xBF[Brenlowe KMR File]\r\nVersion=2.0\r\nEtiqueta=\xD0\x91\r\nMenus=17000\r\n";
    std::string autorun = "\xEF\xBB\xBF[autorun]\r\nlabel=\xD0\x91\r\n";
    for (int k = 1; k <= 17000; ++k) {
        const std::string n = std::to_string(k);
        project += "[Menu" + n + "]\r\nTexto=t\r\nComando=" + command + "\r\nNombre=m" + n + "\r\n";
        autorun += "shell\\m" + n + "=t\r\nshell\\m" + n + "\\command=" + command + "\r\n";
    }
    test::writeBytes(dir.file("big.kmr"), project);
    test::writeBytes(dir.file("big.inf"), autorun);
    test::writeBytes(dir.file("old"), "viejo");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"convert", dir.file("big.kmr"), dir.file("old")},
          {"compile", dir.file("big.kmr"), "-o", dir.file("old")},
          {"import", dir.file("big.inf"), "-o", dir.file("old")}}) {
        const test::KmrcRun r = test::kmrc(args);
        EXPECT_EQ(r.code, kRefused) << args[0];
        EXPECT_NE(r.err.find("kmrc: " + dir.file("old") + ": El fichero ocuparía más de 64 MiB"), std::string::npos)
            << r.err;
        EXPECT_EQ(test::readBytes(dir.file("old")), "viejo");
    }
}

}  // namespace
}  // namespace kmr::cli
