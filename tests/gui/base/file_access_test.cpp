#include "base/file_access.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_read.h"
#include "support/scripted_prompts.h"
#include "support/unprivileged.h"

namespace kmr::gui {
namespace {

// A folder that refuses new files: a writable project file in it is saved in place once the user,
// told that a write cut short would leave it half done, says Yes; a read-only one, in such a folder or
// in any other, is reported with the file and the reason and keeps its contents.
TEST(FileAccess, ReadOnlyFolderSavesAWritableFileInPlace) {
    const struct {
        const char* name;
        int fileMode;
        int folderMode;
        std::optional<Answer> inPlace;  // the answer to the question, when it comes
        const char* expected;           // the child's report: "ok", "no" or the error message's start
        QByteArray after;
    } cases[] = {
        {"writable file, Yes", 0646, 0555, Answer::Yes, "ok", "nuevo"},
        {"writable file, No", 0646, 0555, Answer::No, "no", "viejo"},
        {"read-only file", 0444, 0555, {}, "Error|No se ha podido escribir el fichero \"", "viejo"},
        {"read-only file in a writable folder",
         0444,
         0777,
         {},
         "Error|No se ha podido escribir el fichero \"",
         "viejo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("proyecto.kmr"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("viejo");
        f.close();
        ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(c.fileMode));
        ::chmod(QFile::encodeName(dir.path()).constData(), static_cast<mode_t>(c.folderMode));
        const std::string report = kmr::test::runUnprivileged([&] {
            test::ScriptedPrompts prompts;
            if (c.inPlace) prompts.answer(*c.inPlace);
            const bool written = writeWholeFile(prompts, path, QByteArrayLiteral("nuevo"));
            const QString question = QStringLiteral(
                "Atención|La carpeta de \"%1\" no permite crear ficheros nuevos, así que el fichero solo se puede "
                "sobrescribir en su sitio. Si la escritura se interrumpe (un corte de luz, el programa cerrado a la "
                "fuerza), el fichero quedará a medias y no se podrá abrir. ¿Desea sobrescribirlo igualmente?");
            if (c.inPlace &&
                (prompts.messages.empty() ||
                 prompts.messages[0].title + QLatin1Char('|') + prompts.messages[0].text != question.arg(path)))
                return std::string("no question");
            if (c.inPlace) return std::string(written ? "ok" : "no");
            if (written || prompts.messages.size() != 1) return std::string("no single message");
            return (prompts.messages[0].title + QLatin1Char('|') + prompts.messages[0].text).toStdString();
        });
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        EXPECT_EQ(report.substr(0, std::string(c.expected).size()), c.expected) << report;
        if (!c.inPlace) {
            EXPECT_NE(report.find(path.toStdString() + "\": "), std::string::npos) << report;
        }
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), c.after);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "nothing left beside it";
    }
}

// A target that is not a regular file is written where it stands, never replaced by a file: here a
// pipe with a reader at its other end.
TEST(FileAccess, APipeIsWrittenNotReplaced) {
    QTemporaryDir dir;
    const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("tuberia")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    test::ScriptedPrompts prompts;
    EXPECT_TRUE(writeWholeFile(prompts, QFile::decodeName(pipe), QByteArrayLiteral("[autorun]\r\n")));
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 11);
    ::close(reader);
    EXPECT_STREQ(got, "[autorun]\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(prompts.messages.empty());
}

// A file that no reader of the program would open again is not written: the editor says why, with
// the limit, and the old file stays whole.
TEST(FileAccess, AFileAboveTheInputLimitIsNotWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("proyecto.kmr"));
    test::ScriptedPrompts prompts;
    ASSERT_TRUE(writeWholeFile(prompts, path, QByteArrayLiteral("viejo")));
    EXPECT_FALSE(writeWholeFile(prompts, path, QByteArray(static_cast<qsizetype>(kmr::io::kMaxInputBytes) + 1, 'x')));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text,
              QStringLiteral("No se ha podido escribir el fichero \"%1\": El fichero ocuparía "
                             "más de 64 MiB, y KMR no abre un proyecto ni un autorun.inf "
                             "tan grande; no se ha escrito")
                  .arg(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArrayLiteral("viejo"));
}

}  // namespace
}  // namespace kmr::gui
