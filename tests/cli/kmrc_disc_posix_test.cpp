// kmrc iso and check against what only POSIX systems have: FIFOs, file modes, a stand-in xorriso
// written as a shell script, and a kmrc killed by a signal.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <functional>

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

// A project whose disc folder, "disco" beside it, holds what it names.
class KmrcDiscPosix : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = fs::current_path();
        fs::current_path(m_dir.path());
        fs::create_directories("disco");
        test::writeBytes("p.kmr",
                         crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=disco", "Soporte=CD/DVD", "Etiqueta=Mi CD",
                               "Menus=1", "", "[Menu1]", "Texto=Leeme", "Comando=notepad leeme.txt", "Nombre=leeme"}));
        test::writeBytes("disco/leeme.txt", "hola");
    }
    void TearDown() override {
        fs::current_path(m_old);
        ::setenv("PATH", m_path.c_str(), 1);
    }

    test::TempDir m_dir;
    fs::path m_old;
    std::string m_path = ::getenv("PATH");
};

// Puts a stand-in for xorriso first on PATH (the fixture puts PATH back): it writes a small image
// where it is told or, when KMR_FAKE_PID names a file, writes its process number there and waits.
void useFakeXorriso() {
    fs::create_directories("bin");
    test::writeBytes("bin/xorriso",
                     "#!/bin/sh\nwhile [ \"$1\" != -outdev ]; do shift; done\n"
                     "if [ -n \"$KMR_FAKE_PID\" ]; then echo $$ > \"$KMR_FAKE_PID\"; exec sleep 60; fi\n"
                     "printf imagen > \"${2#stdio:}\"\n");
    fs::permissions("bin/xorriso", fs::perms::owner_all);
    ::setenv("PATH", ((fs::current_path() / "bin").string() + ":" + ::getenv("PATH")).c_str(), 1);
}

// compile and iso against the same targets: the node named is never replaced by another kind of file.
TEST_F(KmrcDiscPosix, IsoTreatsSpecialTargetsAsCompileDoes) {
    useFakeXorriso();
    fs::create_directories("real");
    test::writeBytes("real/img", "old");
    ::chmod("real/img", 0640);
    fs::create_symlink("real/img", "link");
    fs::create_symlink("/dev/null", "null");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    const auto linkKept = [] {
        struct stat st {};
        return fs::is_symlink("link") && ::stat("real/img", &st) == 0 && (st.st_mode & 0777) == 0640 &&
               test::readBytes("real/img") != "old";
    };
    const struct {
        const char* target;  // a link is followed, a device written (iso refuses it), a lone FIFO refused
        int compileCode, isoCode;
        std::function<bool()> kept;
    } cases[] = {
        {"link", kDone, kDone, linkKept},
        {"null", kDone, kFileError, [] { return fs::is_character_file("/dev/null") && fs::is_symlink("null"); }},
        {"fifo", kFileError, kFileError, [] { return fs::is_fifo("fifo"); }},
    };
    for (const auto& c : cases) {
        for (const std::string verb : {"compile", "iso"}) {
            SCOPED_TRACE(verb + " " + c.target);
            const test::KmrcRun r = kmrc({verb, "p.kmr", "-o", c.target});
            EXPECT_EQ(r.code, verb == "iso" ? c.isoCode : c.compileCode) << r.err;
            EXPECT_TRUE(c.kept());
            EXPECT_TRUE(r.code == kDone || r.err.find("kmrc: " + std::string(c.target) + ": ") != std::string::npos);
            for (const auto& e : fs::directory_iterator("."))
                EXPECT_FALSE(e.path().filename().string().starts_with(".kmr"));
        }
    }
}

// A disc folder that cannot be read is an error, not a list of missing files.
TEST_F(KmrcDiscPosix, UnreadableDiscFolderIsAnError) {
    ::chmod(m_dir.path().c_str(), 0755);
    ::chmod("disco", 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", "--disc", "disco", "p.kmr"}, {"iso", "p.kmr", "-o", "x.iso"}}) {
        const std::string report = test::runUnprivileged([&] {
            const test::KmrcRun r = kmrc(args);
            return std::to_string(r.code) + " " + r.err;
        });
        EXPECT_TRUE(report.starts_with("3 kmrc: disco: no se puede leer la carpeta del disco (Permiso denegado)"))
            << report;
    }
}

// What the readers of the disc folder cannot read stops check and iso at once, with exit 3 and what it
// is: a FIFO or a device (or a link to one) among the files the project names, or a folder on the way
// to one that the user may not read (which would make the file look missing).
TEST_F(KmrcDiscPosix, ReadersOfTheDiscFolderStopAtWhatTheyCannotRead) {
    useFakeXorriso();
    const std::string withIcon =
        crlf({"[Brenlowe KMR File]", "Version=2.0", "Disco=disco", "Icono=icono.ico", "Menus=1", "", "[Menu1]",
              "Texto=Instalar", "Comando=sub\\setup.exe", "Nombre=instalar"});
    const struct {
        const char* name;
        std::function<void()> make;
        std::string said;
        bool unprivileged = false;
    } cases[] = {
        {"autorun.inf a FIFO", [] { ::mkfifo("disco/autorun.inf", 0666); },
         "disco/autorun.inf: no es un fichero normal"},
        {"icon a link to a FIFO",
         [] {
             ::mkfifo("tuberia", 0666);
             fs::create_symlink("../tuberia", "disco/icono.ico");
         },
         "disco/icono.ico: no es un fichero normal"},
        {"icon a link to a device", [] { fs::create_symlink("/dev/zero", "disco/icono.ico"); },
         "disco/icono.ico: no es un fichero normal"},
        {"program in an unreadable folder",
         [] {
             fs::create_directories("disco/sub");
             test::writeBytes("disco/sub/setup.exe", "MZ");
             ::chmod("disco/sub", 0);
         },
         "disco/sub: no se puede leer esta carpeta del disco (Permiso denegado); compruebe sus permisos", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("disco");
        fs::remove("tuberia");
        fs::create_directories("disco");
        ::chmod(m_dir.path().c_str(), 0777);
        test::writeBytes("p.kmr", withIcon);
        c.make();
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"check", "p.kmr"}, {"iso", "p.kmr", "-o", "x.iso"}}) {
            const auto run = [&] {
                const test::KmrcRun r = kmrc(args);
                return std::to_string(r.code) + " " + r.err;
            };
            const std::string report = c.unprivileged ? test::runUnprivileged(run) : run();
            EXPECT_TRUE(report.starts_with("3 kmrc: " + c.said)) << args[0] << ": " << report;
            EXPECT_FALSE(fs::exists("x.iso"));
        }
        ::chmod("disco/sub", 0755);
    }
}

// An image named through a link that leads into the disc folder is refused as one named there.
TEST_F(KmrcDiscPosix, ImageThroughALinkIntoTheDiscFolderIsRefused) {
    useFakeXorriso();
    fs::create_symlink("disco/x.iso", "via.iso");
    fs::create_directories("fuera");
    fs::create_symlink(fs::absolute("disco"), "fuera/enlace");
    for (const std::string image : {"via.iso", "fuera/enlace/y.iso"}) {
        const test::KmrcRun r = kmrc({"iso", "p.kmr", "-o", image});
        EXPECT_EQ(r.code, kUsage) << image << ": " << r.err;
        EXPECT_NE(r.err.find("dentro de la carpeta del disco"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists("disco/x.iso"));
    EXPECT_FALSE(fs::exists("disco/y.iso"));
}

// A killed iso takes xorriso with it, and the next run removes the hidden image it left.
TEST_F(KmrcDiscPosix, KilledIsoLeavesNothingBehind) {
    useFakeXorriso();
    ::setenv("KMR_FAKE_PID", "xorriso.pid", 1);
    const std::string program = test::kmrcProgram();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program.c_str(), program.c_str(), "iso", "p.kmr", "-o", "x.iso", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::unsetenv("KMR_FAKE_PID");
    for (int tries = 0; tries < 1000 && test::readBytes("xorriso.pid").empty(); ++tries) ::usleep(10000);
    ASSERT_FALSE(test::readBytes("xorriso.pid").empty()) << "the stand-in never ran";
    const int xorriso = std::stoi(test::readBytes("xorriso.pid"));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    bool gone = false;  // gone, or a zombie that no one has reaped yet
    for (int tries = 0; tries < 500 && !gone; ++tries) {
        const std::string stat = test::readBytes("/proc/" + std::to_string(xorriso) + "/stat");
        gone = stat.empty() || stat.find(") Z") != std::string::npos;
        if (!gone) ::usleep(10000);
    }
    if (!gone) ::kill(xorriso, SIGKILL);
    EXPECT_TRUE(gone) << "xorriso outlived kmrc";

    const test::KmrcRun again = kmrc({"iso", "p.kmr", "-o", "x.iso"});
    EXPECT_EQ(again.code, kDone) << again.err;
    for (const auto& e : fs::directory_iterator(".")) EXPECT_FALSE(e.path().filename().string().starts_with(".kmr"));
}

}  // namespace
}  // namespace kmr::cli
