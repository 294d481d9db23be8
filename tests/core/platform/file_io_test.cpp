#include "platform/file_read.h"
#include "platform/file_write_internal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <functional>
#include <new>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

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
    EXPECT_EQ(w.message, missingFolder + ": No existe el fichero o la carpeta");

    const ReadResult r = readFile(dir.file("missing.kmr"));
    EXPECT_EQ(r.status, IoStatus::NotFound);
    EXPECT_EQ(r.message, dir.file("missing.kmr") + ": No existe el fichero o la carpeta");

    const ReadResult d = readFile(dir.path().string());
    EXPECT_EQ(d.status, IoStatus::Failed);
    EXPECT_FALSE(writeFileAtomic(dir.path().string(), "x").ok());
    EXPECT_FALSE(fileExists(dir.path().string()));
}

// A folder that refuses new files: a writable file in it is overwritten in place when the caller allows
// it, and refused as such otherwise; a read-only file or a new name fails with the path and the reason,
// and nothing is left behind either way.
TEST(FileIo, ReadOnlyFolderOverwritesAWritableFileInPlace) {
    const struct {
        const char* name;
        int fileMode;  // -1: no file
        bool inPlace;
        bool ok;
        const char* after;
        const char* reason;
    } cases[] = {
        {"writable file, in place allowed", 0646, true, true, "new", nullptr},
        {"writable file", 0646, false, false, "old",
         "La carpeta no permite crear ficheros nuevos, así que el fichero solo se puede sobrescribir en su sitio, y "
         "una escritura interrumpida lo dejaría a medias"},
        {"read-only file", 0444, true, false, "old",
         "No tiene permiso para escribir en este fichero (es de solo lectura)"},
        {"no file yet", -1, true, false, nullptr, "Permiso denegado"},
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
            const IoResult w = writeFileAtomic(path, "new", {.inPlace = c.inPlace});
            return w.ok() ? std::string("ok") : w.message;
        });
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(report, c.ok ? "ok" : path + ": " + c.reason);
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
        const bool named =
            w.message.find(path) != std::string::npos && w.message.find("demasiado grande") != std::string::npos;
        ::_exit(!w.ok() && named ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported with the path and the reason";
    EXPECT_EQ(test::readBytes(path), "[autorun]\r\nopen=old.exe\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 1U);
}

// The descriptor the next open gets: the lowest free one, which a descriptor left open would take.
int nextDescriptor() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(fd);
    return fd;
}

// A reader's consumer or a writer's producer that runs out of memory half-way leaves no file open
// behind it, and a replaced file keeps its old contents with no temporary file beside it.
TEST(FileIo, RunningOutOfMemoryHalfWayLeavesNoFileOpen) {
    test::TempDir dir;
    const std::string path = dir.file("autorun.inf");
    test::writeBytes(path, std::string(200000, 'x'));
    const auto outOfMemory = [] { throw std::bad_alloc(); };
    const ByteProducer failing = [](const std::function<bool(std::string_view)>& write) {
        write("[autorun]\r\n");
        throw std::bad_alloc();
    };
    const struct {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        {"sized",
         [&] {
             (void)readFileInPieces(
                 path, [&](std::size_t) { outOfMemory(); }, [](std::string_view) {});
         }},
        {"take",
         [&] {
             (void)readFileInPieces(
                 path, [](std::size_t) {}, [&](std::string_view) { outOfMemory(); });
         }},
        {"replaced", [&] { (void)writeFileAtomic(path, failing); }},
        {"new", [&] { (void)writeFileAtomic(dir.file("new.inf"), failing); }},
        {"device", [&] { (void)writeFileAtomic("/dev/null", failing); }},
    };
    for (const auto& c : cases) {
        const int before = nextDescriptor();
        EXPECT_THROW(c.run(), std::bad_alloc) << c.name;
        EXPECT_EQ(nextDescriptor(), before) << c.name;
    }
    EXPECT_EQ(test::readBytes(path), std::string(200000, 'x'));
    EXPECT_EQ(entriesIn(dir.path()), 1U);
}

// Links are followed and what is not a regular file is written, never replaced.
TEST(FileIo, SpecialTargetsAreWrittenNotReplaced) {
    test::TempDir dir;
    const fs::path real = dir.path() / "real";
    fs::create_directory(real);
    test::writeBytes(real / "a.kmr", "old");
    ::chmod((real / "a.kmr").c_str(), 0640);
    fs::create_symlink("real/a.kmr", dir.path() / "link.kmr");
    fs::create_symlink("link.kmr", dir.path() / "link-to-link.kmr");
    fs::create_symlink("real/new.kmr", dir.path() / "dangling.kmr");
    fs::create_symlink("/dev/null", dir.path() / "null");
    fs::create_symlink("/dev/full", dir.path() / "full");
    fs::create_symlink("loop2", dir.path() / "loop1");
    fs::create_symlink("loop1", dir.path() / "loop2");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);

    EXPECT_TRUE(writeFileAtomic(dir.file("link.kmr"), "new").ok());
    EXPECT_TRUE(writeFileAtomic(dir.file("link-to-link.kmr"), "newer").ok());
    EXPECT_EQ(test::readBytes(real / "a.kmr"), "newer");
    struct stat st {};
    ASSERT_EQ(::stat((real / "a.kmr").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640U);
    EXPECT_TRUE(writeFileAtomic(dir.file("dangling.kmr"), "made").ok());
    EXPECT_EQ(test::readBytes(real / "new.kmr"), "made");
    EXPECT_EQ(entriesIn(real), 2U);
    for (const char* link : {"link.kmr", "link-to-link.kmr", "dangling.kmr", "null"}) {
        EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
    }

    EXPECT_TRUE(writeFileAtomic(dir.file("null"), "nothing").ok());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const IoResult full = writeFileAtomic(dir.file("full"), "x");
    EXPECT_EQ(full.message, dir.file("full") + ": No queda espacio en el disco");
    EXPECT_EQ(writeFileAtomic(dir.file("loop1"), "x").message,
              dir.file("loop1") + ": Hay demasiados enlaces simbólicos en la ruta");

    // The reader is there first: a FIFO that no one reads is refused.
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const IoResult toFifo = writeFileAtomic(dir.file("fifo"), "through the pipe");
    std::string received(64, '\0');
    const ssize_t n = ::read(reader, received.data(), received.size());
    received.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    ::close(reader);
    EXPECT_TRUE(toFifo.ok()) << toFifo.message;
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(dir.file("fifo")));
    EXPECT_EQ(entriesIn(dir.path()), 9U);  // nothing added beside the links
}

TEST(FileIo, ReplacedFileKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    test::TempDir dir;
    const std::string path = dir.file("a.kmr");
    test::writeBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321U);
    EXPECT_EQ(st.st_gid, 4322U);
    EXPECT_EQ(st.st_mode & 0777, 0604U);
}

// Writers killed at any moment leave nothing that outlives the next save, and that save removes the
// temporary files of killed writes of our own, but none that a process holds open and nothing else.
TEST(FileIo, LeftoversOfKilledWritesGoAtTheNextSave) {
    test::TempDir dir;
    const std::string path = dir.file("autorun.inf");
    const std::string payload(4 << 20, 'x');
    std::mt19937 rng(3);
    for (int kill = 0; kill < 30; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) (void)writeFileAtomic(path, payload);
        }
        ::usleep(static_cast<useconds_t>(rng() % 8000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    for (const char* name : {".kmr-Stale1", ".kmr-toolong1", "keep.txt", ".kmr-Held01"}) {
        test::writeBytes(dir.file(name), "left");
    }
    fs::create_directory(dir.file(".kmr-dir123"));
    const int held = ::open(dir.file(".kmr-Held01").c_str(), O_RDONLY);
    ASSERT_TRUE(writeFileAtomic(path, "[autorun]\r\n").ok());
    ::close(held);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"autorun.inf", ".kmr-Held01", ".kmr-toolong1", ".kmr-dir123", "keep.txt"}));
}

std::string outcome(const IoResult& r) { return r.ok() ? "ok" : r.reason; }

// A file this user may not write is refused, as a direct write would be, and keeps its contents, mode
// and owner; one it may write is replaced.
TEST(FileIo, ReadOnlyTargetsAreRefused) {
    constexpr const char* kRefused = "No tiene permiso para escribir en este fichero (es de solo lectura)";
    const struct {
        mode_t mode;
        uid_t owner, ownerAfter;  // a user may not give a file away: a replaced file becomes its own
        const char* expected;
    } cases[] = {
        {0444, 0, 0, kRefused}, {0644, 0, 0, kRefused}, {0444, 65534, 65534, kRefused}, {0666, 0, 65534, "ok"}};
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string path = dir.file("target");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.owner));
        test::writeBytes(path, "old");
        ::chmod(path.c_str(), c.mode);
        ::chown(path.c_str(), c.owner, c.owner);
        // The image's writer refuses the same files: it leaves "new" in its staged file.
        const std::string report = test::runUnprivileged([&] {
            const StagedFile s = stageFile(path);
            if (s.result.ok()) test::writeBytes(s.tempPath, "new");
            return outcome(s.result.ok() ? commitStagedFile(s, path) : s.result) + "|" +
                   outcome(writeFileAtomic(path, "new"));
        });
        EXPECT_EQ(report, c.expected + std::string("|") + c.expected);
        EXPECT_EQ(test::readBytes(path), report.starts_with("ok") ? "new" : "old");
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, c.ownerAfter);
        EXPECT_EQ(st.st_mode & 0777, c.mode);
        std::filesystem::remove(path);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "nothing left beside it";
    }
}

// In a folder that refuses new files a writable file is overwritten in place, only once the whole
// new content is sure to fit: past a file size limit the old file stays whole.
TEST(FileIo, OverwriteInPlaceNeverTears) {
    for (const std::size_t newSize : {900, 10, 5000}) {
        SCOPED_TRACE(newSize);
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
            return outcome(writeFileAtomic(path, std::string(newSize, 'n'), {.inPlace = true}));
        });
        EXPECT_EQ(report, newSize < 1000 ? "ok" : "El fichero es demasiado grande");
        EXPECT_EQ(test::readBytes(path), report == "ok" ? std::string(newSize, 'n') : old);
    }
}

// A file in memory whose operations stop for good after `limit` of them, as a killed process stops:
// what it holds then is what the disc would hold.
struct KilledFile {
    std::string bytes;
    std::size_t limit = SIZE_MAX;
    std::size_t done = 0;
    int reserveError = 0;

    InPlaceFile file() {
        const auto step = [this] {
            if (done++ >= limit) throw std::runtime_error("killed");
        };
        return {
            [this, step](std::uint64_t& size) {
                step();
                size = bytes.size();
                return 0;
            },
            [this, step](std::uint64_t at, char* into, std::size_t count) {
                step();
                bytes.copy(into, count, at);
                return 0;
            },
            [this, step](std::uint64_t at, std::string_view piece) {
                step();
                if (bytes.size() < at + piece.size()) bytes.resize(at + piece.size(), '\0');
                bytes.replace(at, piece.size(), piece);
                return 0;
            },
            [this, step](std::uint64_t size) {
                step();
                bytes.resize(size, '\0');
                return 0;
            },
            [this, step](std::uint64_t size) {
                step();
                if (reserveError == 0 && bytes.size() < size) bytes.resize(size, '\0');
                return reserveError;
            },
            [step] {
                step();
                return 0;
            },
        };
    }
};

// A write in place cut after any of its steps leaves the old file, the new one, or one that every
// reader refuses as unfinished; a disc that cannot hold the new content leaves the old file whole.
TEST(FileIo, WriteInPlaceCutAtAnyStepIsNeverAMix) {
    const struct {
        const char* name;
        std::string old, next;
    } cases[] = {
        {"longer", "[autorun]\r\nopen=a.exe\r\n", "[autorun]\r\nopen=b.exe\r\nlabel=Nuevo\r\n"},
        {"shorter", "[autorun]\r\nopen=b.exe\r\nlabel=Viejo\r\n", "[autorun]\r\n"},
        {"same head", "[Brenlowe KMR File]\r\nIcono=a\r\n", "[Brenlowe KMR File]\r\nIcono=b\r\n"},
        {"one byte", "viejo", "n"},
        {"empty", "viejo", ""},
        {"from empty", "", "nuevo"},
        {"UTF-16", std::string("\xFF\xFE[\0a\0", 6), std::string("\xFF\xFE[\0b\0c\0", 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteProducer produce = [&](const std::function<bool(std::string_view)>& write) {
            // In two pieces, the first shorter than the mark: the head is gathered across pieces.
            write(std::string_view(c.next).substr(0, 1));
            write(std::string_view(c.next).substr(std::min<std::size_t>(1, c.next.size())));
        };
        KilledFile whole{c.old};
        const InPlaceOutcome finished = overwriteInPlace(whole.file(), produce);
        EXPECT_EQ(finished.error, 0);
        EXPECT_EQ(whole.bytes, c.next);
        for (std::size_t limit = 0; limit < whole.done; ++limit) {
            KilledFile cut{c.old, limit};
            EXPECT_THROW((void)overwriteInPlace(cut.file(), produce), std::runtime_error);
            EXPECT_TRUE(cut.bytes == c.old || cut.bytes == c.next || unfinishedWrite(cut.bytes))
                << "cut after " << limit << " steps: " << testing::PrintToString(cut.bytes);
        }
        KilledFile full{c.old};
        full.reserveError = ENOSPC;
        const InPlaceOutcome refused = overwriteInPlace(full.file(), produce);
        EXPECT_EQ(refused.error, ENOSPC);
        EXPECT_FALSE(refused.unfinished);
        EXPECT_EQ(full.bytes, c.old);
    }
}

// What tells an unfinished file: two NUL bytes at its start, which no text begins with, UTF-16 included.
TEST(FileIo, UnfinishedFilesAreKnownByTheirFirstBytes) {
    const struct {
        std::string bytes;
        bool unfinished;
    } cases[] = {
        {std::string("\0\0utorun]", 10), true}, {std::string("\0", 1), true}, {std::string("\0[\0a", 4), false},
        {std::string("[\0a\0", 4), false},      {"\xFF\xFE[", false},         {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(unfinishedWrite(c.bytes), c.unfinished) << testing::PrintToString(c.bytes);
}

}  // namespace
}  // namespace kmr::io
