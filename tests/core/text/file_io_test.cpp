#include "text/file_io.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>

#include "support/test_files.h"
#include "support/unprivileged.h"

namespace kmr::io {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(FileIo, WriteReplacesAndKeepsPermissions) {
    test::TempDir dir;
    const std::string path = dir.file("a.kmr");
    test::writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomic(path, "new contents").ok());
    EXPECT_EQ(test::readBytes(path), "new contents");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640U);
    EXPECT_EQ(entriesIn(dir.path()), 1U);  // no temporary file left behind
}

TEST(FileIo, FailuresNameTheFileAndTheReason) {
    test::TempDir dir;
    const std::string missingFolder = dir.file("nope/a.kmr");
    const IoResult w = writeFileAtomic(missingFolder, "x");
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(w.message, missingFolder + ": No such file or directory");

    const ReadResult r = readFile(dir.file("missing.kmr"));
    EXPECT_EQ(r.status, IoStatus::NotFound);
    EXPECT_EQ(r.message, dir.file("missing.kmr") + ": No such file or directory");

    const ReadResult d = readFile(dir.path().string());
    EXPECT_EQ(d.status, IoStatus::Failed);
    EXPECT_FALSE(writeFileAtomic(dir.path().string(), "x").ok());
    EXPECT_FALSE(fileExists(dir.path().string()));
}

// A folder that refuses new files: a writable file in it is overwritten in place; a read-only file
// or a new name fails with the path and the reason, and nothing is left behind either way.
TEST(FileIo, ReadOnlyFolderOverwritesAWritableFileInPlace) {
    const struct {
        const char* name;
        int fileMode;  // -1: no file
        bool ok;
        const char* after;
    } cases[] = {
        {"writable file", 0646, true, "new"},
        {"read-only file", 0444, false, "old"},
        {"no file yet", -1, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.file("autorun.inf");
        if (c.fileMode >= 0) {
            test::writeBytes(path, "old");
            ::chmod(path.c_str(), static_cast<mode_t>(c.fileMode));
        }
        ::chmod(dir.path().c_str(), 0555);
        const std::string report = test::runUnprivileged([&] {
            const IoResult w = writeFileAtomic(path, "new");
            return w.ok() ? std::string("ok") : w.message;
        });
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(report, c.ok ? "ok" : path + ": Permission denied");
        if (c.after != nullptr) {
            EXPECT_EQ(test::readBytes(path), c.after);
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, static_cast<unsigned>(c.fileMode)) << "the file keeps its permissions";
        }
        EXPECT_EQ(entriesIn(dir.path()), c.fileMode >= 0 ? 1U : 0U) << "no temporary file left behind";
    }
}

// A write that fails half-way (here: the process may not write files larger than 1 KiB) leaves the
// old file whole and removes the temporary one. Runs in a child so the limit stays there.
TEST(FileIo, WriteFailingHalfWayKeepsTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.file("autorun.inf");
    test::writeBytes(path, "[autorun]\r\nopen=old.exe\r\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const IoResult w = writeFileAtomic(path, std::string(100000, 'x'));
        const bool named = w.message.find(path) != std::string::npos && w.message.find("large") != std::string::npos;
        ::_exit(!w.ok() && named ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported with the path and the reason";
    EXPECT_EQ(test::readBytes(path), "[autorun]\r\nopen=old.exe\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 1U);
}

}  // namespace
}  // namespace kmr::io
