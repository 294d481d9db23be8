// Reading and writing at the edges: oversized inputs, read-only targets, a full disk during an
// overwrite in place, FIFOs without a reader or with one that goes away, staged files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <thread>

#include "support/test_files.h"
#include "support/unprivileged.h"
#include "text/file_io.h"

namespace kmr::io {
namespace {

namespace fs = std::filesystem;

std::string outcome(const IoResult& r) {
    return r.ok() ? "ok" : r.status == IoStatus::TooLarge ? "too large" : r.reason;
}

// Over the limit by its size: refused without a byte read; a stream: once the limit is passed.
TEST(FileLimits, InputsAboveTheLimitAreRefusedBeforeTheyAreRead) {
    test::TempDir dir;
    const std::string huge = dir.file("huge.kmr");
    test::writeBytes(huge, "");
    fs::resize_file(huge, kMaxInputBytes + 1);  // sparse
    test::writeBytes(dir.file("ten"), "0123456789");
    std::size_t taken = 0;
    const auto pieces = [&](const std::string& path) {
        return readFileInPieces(
            path, [](std::size_t) {}, [&](std::string_view piece) { taken += piece.size(); });
    };
    const struct {
        const char* name;
        std::function<IoResult()> read;
        const char* expected;
    } cases[] = {
        {"whole file", [&] { return static_cast<IoResult>(readFile(huge)); }, "too large"},
        {"in pieces", [&] { return pieces(huge); }, "too large"},
        {"buffer", [&] { return FileBuffer().load(huge); }, "too large"},
        {"stream", [&] { return static_cast<IoResult>(readFile("/dev/zero")); }, "too large"},
        {"stream in pieces", [&] { return pieces("/dev/zero"); }, "too large"},
        {"stream into a buffer", [&] { return FileBuffer().load("/dev/zero"); }, "too large"},
        {"at a limit of its own", [&] { return static_cast<IoResult>(readFile(dir.file("ten"), 10)); }, "ok"},
        {"one byte over it", [&] { return static_cast<IoResult>(readFile(dir.file("ten"), 9)); }, "too large"},
    };
    for (const auto& c : cases) {
        taken = 0;
        const IoResult r = c.read();
        EXPECT_EQ(outcome(r), c.expected) << c.name;
        EXPECT_LE(taken, kMaxInputBytes) << c.name;
    }
    const IoResult r = pieces(huge);
    EXPECT_EQ(taken, 0U) << "a file too large by its size is not read";
    EXPECT_EQ(r.message, huge +
                             ": El fichero es demasiado grande (más de 64 MiB); ningún proyecto, plantilla ni "
                             "autorun.inf ocupa tanto");
}

// A file this user may not write is refused by both writers, as a direct write would be; one that it
// may write is replaced.
TEST(FileLimits, ReadOnlyTargetsAreRefused) {
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const struct {
        const char* name;
        mode_t mode;
        uid_t owner;
        const char* expected;
        uid_t ownerAfter;  // a user may not give a file away: a replaced file becomes its own
    } cases[] = {
        {"read-only", 0444, 0, "No tiene permiso para escribir en este fichero (es de solo lectura)", 0},
        {"another user's", 0644, 0, "No tiene permiso para escribir en este fichero (es de solo lectura)", 0},
        {"writable by all", 0666, 0, "ok", 65534},
        {"own read-only", 0444, 65534, "No tiene permiso para escribir en este fichero (es de solo lectura)", 65534},
    };
    for (const auto& c : cases) {
        for (const bool staged : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (staged ? " (staged)" : ""));
            const std::string path = dir.file("target");
            test::writeBytes(path, "old");
            ::chmod(path.c_str(), c.mode);
            ::chown(path.c_str(), c.owner, c.owner);
            const std::string report = test::runUnprivileged([&] {
                if (!staged) return outcome(writeFileAtomic(path, "new"));
                const StagedFile s = stageFile(path);
                if (!s.result.ok()) return outcome(s.result);
                test::writeBytes(s.tempPath, "new");
                return outcome(commitStagedFile(s, path));
            });
            EXPECT_EQ(report, c.expected);
            EXPECT_EQ(test::readBytes(path), report == "ok" ? "new" : "old");
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, c.ownerAfter);
            EXPECT_EQ(st.st_mode & 0777, c.mode);
            fs::remove(path);
            EXPECT_TRUE(fs::is_empty(dir.path()));
        }
    }
}

// In a folder that refuses new files a writable file is overwritten in place, only once the whole
// new content is sure to fit: past a file size limit the old file stays whole.
TEST(FileLimits, OverwriteInPlaceNeverTears) {
    const struct {
        const char* name;
        std::size_t newSize;
        const char* expected;
    } cases[] = {
        {"longer, fits", 900, "ok"},
        {"shorter", 10, "ok"},
        {"past the limit", 5000, "El fichero es demasiado grande"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.file("autorun.inf");
        const std::string old(300, 'o');
        test::writeBytes(path, old);
        ::chown(path.c_str(), 65534, 65534);
        ::chmod(dir.path().c_str(), 0555);
        const std::string report = test::runUnprivileged([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return outcome(writeFileAtomic(path, std::string(c.newSize, 'n')));
        });
        EXPECT_EQ(report, c.expected);
        EXPECT_EQ(test::readBytes(path), report == "ok" ? std::string(c.newSize, 'n') : old);
    }
}

// A FIFO that no program reads is refused at once; one whose reader goes away is a failed write.
TEST(FileLimits, FifoTargetsNeitherHangNorKill) {
    test::TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(outcome(writeFileAtomic(fifo, "x")),
              "Ningún programa está leyendo de esta tubería (FIFO); abra primero el que la lee");

    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::thread closer([&] {
        char some[16];
        for (int tries = 0; tries < 500 && ::read(reader, some, sizeof some) <= 0; ++tries) ::usleep(10000);
        ::close(reader);
    });
    const IoResult r = writeFileAtomic(fifo, std::string(1 << 20, 'x'));
    closer.join();
    EXPECT_EQ(r.message, fifo + ": El programa que leía la tubería la cerró antes de terminar");
    sigset_t pending;
    ::sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE)) << "the signal was taken";
}

}  // namespace
}  // namespace kmr::io
