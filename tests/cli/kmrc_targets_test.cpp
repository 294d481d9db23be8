// Every output of kmrc, the ISO image included, is written with the same care: links followed,
// devices and FIFOs never replaced, read-only files refused, oversized inputs refused at once.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "kmrc.h"
#include "support/child_process.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

namespace kmr::cli {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::kmrc;

const std::string kProject = crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=disco", "Programa=setup.exe"});

// A stand-in for xorriso that writes a small image where it is told, or, when KMR_FAKE_PID names a
// file, writes its process number there and waits.
constexpr const char* kFakeXorriso =
    "#!/bin/sh\nwhile [ \"$1\" != -outdev ]; do shift; done\n"
    "if [ -n \"$KMR_FAKE_PID\" ]; then echo $$ > \"$KMR_FAKE_PID\"; exec sleep 60; fi\n"
    "printf imagen > \"${2#stdio:}\"\n";

class KmrcTargets : public ::testing::Test {
protected:
    void SetUp() override {
        ::chmod(m_dir.path().c_str(), 0777);  // an unprivileged run may make its files here
        m_old = fs::current_path();
        fs::current_path(m_dir.path());
        fs::create_directories("disco");
        fs::create_directories("bin");
        test::writeBytes("p.kmr", kProject);
        test::writeBytes("disco/setup.exe", "MZ");
        test::writeBytes("bin/xorriso", kFakeXorriso);
        ::chmod("bin/xorriso", 0755);
        m_path = ::getenv("PATH");
        ::setenv("PATH", ((fs::current_path() / "bin").string() + ":" + m_path).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", m_path.c_str(), 1);
        fs::current_path(m_old);
    }

    test::TempDir m_dir;
    fs::path m_old;
    std::string m_path;
};

std::vector<std::string> writing(bool iso, const std::string& target) {
    if (iso) return {"iso", "p.kmr", "-o", target};
    return {"compile", "p.kmr", "-o", target};
}

// compile and iso against the same targets: the node named is never replaced by another kind of file.
TEST_F(KmrcTargets, IsoTreatsSpecialTargetsAsCompileDoes) {
    fs::create_directories("real");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    const struct {
        const char* name;
        std::function<void()> make;
        const char* target;
        int compileCode, isoCode;
        std::function<bool()> after;
    } cases[] = {
        {"a link is followed and its file replaced in its own folder",
         [] {
             test::writeBytes("real/img", "old");
             ::chmod("real/img", 0640);
             fs::create_symlink("real/img", "link");
         },
         "link", kDone, kDone,
         [] {
             struct stat st {};
             return fs::is_symlink("link") && ::stat("real/img", &st) == 0 && (st.st_mode & 0777) == 0640 &&
                    test::readBytes("real/img") != "old";
         }},
        {"a character device is written, never replaced", [] { fs::create_symlink("/dev/null", "null"); }, "null",
         kDone, kFileError, [] { return fs::is_character_file("/dev/null"); }},
        {"a folder is refused", [] { fs::create_directories("folder"); }, "folder", kFileError, kFileError,
         [] { return fs::is_directory("folder"); }},
        {"a FIFO without a reader is refused at once", [] {}, "fifo", kFileError, kFileError,
         [] { return fs::is_fifo("fifo"); }},
    };
    for (const auto& c : cases) {
        c.make();
        for (const bool iso : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (iso ? " (iso)" : " (compile)"));
            const test::KmrcRun r = kmrc(writing(iso, c.target));
            EXPECT_EQ(r.code, iso ? c.isoCode : c.compileCode) << r.err;
            EXPECT_TRUE(c.after());
            if (r.code == kFileError) {
                EXPECT_NE(r.err.find(std::string("kmrc: ") + c.target + ": "), std::string::npos);
            }
            for (const auto& e : fs::directory_iterator("."))
                EXPECT_NE(e.path().filename().string().rfind(".kmr", 0), 0U);
        }
    }
}

// A target the user may not write is refused, as a direct write would be, and left whole.
TEST_F(KmrcTargets, ReadOnlyTargetsAreRefused) {
    ::chmod("disco", 0777);  // iso compiles into it first
    for (const bool iso : {false, true}) {
        SCOPED_TRACE(iso ? "iso" : "compile");
        test::writeBytes("ro.out", "old");
        ::chmod("ro.out", 0444);
        test::writeBytes("mine.out", "old");
        ::chown("mine.out", 65534, 65534);
        const std::string report = test::runUnprivileged([&] {
            const test::KmrcRun ro = kmrc(writing(iso, "ro.out"));
            const test::KmrcRun mine = kmrc(writing(iso, "mine.out"));
            return std::to_string(ro.code) + " " + ro.err.substr(ro.err.rfind("kmrc: ")) + std::to_string(mine.code);
        });
        EXPECT_EQ(report, "3 kmrc: ro.out: No tiene permiso para escribir en este fichero (es de solo lectura)\n0");
        EXPECT_EQ(test::readBytes("ro.out"), "old");
        struct stat st {};
        ASSERT_EQ(::stat("ro.out", &st), 0);
        EXPECT_EQ(st.st_uid, 0U) << "the file keeps its owner";
        EXPECT_NE(test::readBytes("mine.out"), "old");
        fs::remove("ro.out");
        fs::remove("mine.out");
    }
}

// A disc folder that cannot be read is an error, not a list of missing files.
TEST_F(KmrcTargets, UnreadableDiscFolderIsAnError) {
    ::chmod("disco", 0);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"check", "p.kmr"}, {"check", "--disc", "disco", "p.kmr"}, {"iso", "p.kmr", "-o", "x.iso"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const std::string report = test::runUnprivileged([&] {
            const test::KmrcRun r = kmrc(args);
            return std::to_string(r.code) + " " + r.err;
        });
        EXPECT_TRUE(report.starts_with("3 kmrc: disco: no se puede leer la carpeta del disco (Permiso denegado)"))
            << report;
    }
    ::chmod("disco", 0755);
}

// Inputs larger than any project, template or autorun.inf are refused before they are read.
TEST_F(KmrcTargets, OversizedInputsAreRefusedAtOnce) {
    { std::ofstream huge("huge.kmr"); }
    fs::resize_file("huge.kmr", std::uintmax_t{2} << 30);  // sparse: no disk is used
    const std::string tooLarge = ": El fichero es demasiado grande (más de 64 MiB)";
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"show", "--force", "huge.kmr"}, "huge.kmr"},  {{"convert", "huge.kmr", "out.kmr"}, "huge.kmr"},
        {{"import", "--json", "huge.kmr"}, "huge.kmr"}, {{"import", "--json", "/dev/zero"}, "/dev/zero"},
        {{"show", "/dev/zero"}, "/dev/zero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const test::KmrcRun r = kmrc(c.args);
        EXPECT_EQ(r.code, kRefused);
        EXPECT_NE(r.err.find(std::string("kmrc: ") + c.named + tooLarge), std::string::npos) << r.err;
    }
    // A template folder with an oversized file still lists the others.
    fs::create_directories("plantillas");
    fs::rename("huge.kmr", "plantillas/enorme.kmrt");
    KmrcSetup setup;
    setup.templateFolders.push_back((fs::current_path() / "plantillas").string());
    const test::KmrcRun listed = kmrc({"templates"}, {}, setup);
    EXPECT_EQ(listed.code, kDone) << listed.err;
}

// A reader that closes the pipe early ends kmrc with a message, never with SIGPIPE.
TEST_F(KmrcTargets, ClosedPipeIsAFailedWrite) {
    std::string big = "[Brenlowe KMR File]\r\nVersion=2.0\r\nMenus=20000\r\n";
    for (int k = 1; k <= 20000; ++k) big += "\r\n[Menu" + std::to_string(k) + "]\r\nTexto=t\r\nComando=c\r\n";
    test::writeBytes("big.kmr", big);
    ASSERT_EQ(::mkfifo("out.fifo", 0600), 0);
    const int reader = ::open("out.fifo", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::thread closer([&] {
        // Takes a little, then goes away.
        char some[16];
        for (int tries = 0; tries < 500 && ::read(reader, some, sizeof some) <= 0; ++tries) ::usleep(10000);
        ::close(reader);
    });
    const test::ChildOutcome r = test::runProgram(test::kmrcProgram(), {"convert", "big.kmr", "out.fifo"}, "/dev/null");
    closer.join();
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, kFileError);
    EXPECT_NE(r.err.find("out.fifo: El programa que leía la tubería la cerró antes de terminar"), std::string::npos)
        << r.err;
}

// A killed iso takes xorriso with it, and the next run removes the image it left.
TEST_F(KmrcTargets, KilledIsoLeavesNothingBehind) {
    ::setenv("KMR_FAKE_PID", "xorriso.pid", 1);
    const std::string program = test::kmrcProgram();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(program.c_str(), program.c_str(), "iso", "p.kmr", "-o", "x.iso", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::unsetenv("KMR_FAKE_PID");
    for (int tries = 0; tries < 1000 && test::readBytes("xorriso.pid").empty(); ++tries) ::usleep(10000);
    const std::string pidText = test::readBytes("xorriso.pid");
    ASSERT_FALSE(pidText.empty()) << "the stand-in never ran";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // Gone, or a zombie that no one has reaped yet.
    const std::string stat = "/proc/" + std::to_string(std::stoi(pidText)) + "/stat";
    bool gone = false;
    for (int tries = 0; tries < 500 && !gone; ++tries) {
        const std::string s = test::readBytes(stat);
        gone = s.empty() || s.find(") Z") != std::string::npos;
        if (!gone) ::usleep(10000);
    }
    if (!gone) ::kill(std::stoi(pidText), SIGKILL);
    EXPECT_TRUE(gone) << "xorriso outlived kmrc";

    const test::KmrcRun again = kmrc({"iso", "p.kmr", "-o", "x.iso"});
    EXPECT_EQ(again.code, kDone) << again.err;
    for (const auto& e : fs::directory_iterator(".")) EXPECT_NE(e.path().filename().string().rfind(".kmr", 0), 0U);
}

}  // namespace
}  // namespace kmr::cli
