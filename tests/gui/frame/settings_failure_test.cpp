#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class SettingsFailureTest : public FrameTest {
protected:
    // Starts, activates, polls and closes a frame on the settings in `folder`: the message comes
    // once, at the start, and the run goes on.
    void runOn(const QString& folder, const QString& expectedText) {
        m_prompts.messages.clear();
        m_store = std::make_unique<IniSettingsStore>(folder);
        MainWindow& f = makeFrame();
        ASSERT_TRUE(f.startUp());
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        const AskedMessage& m = m_prompts.messages.front();
        EXPECT_EQ(m.text, expectedText);
        EXPECT_EQ(m.title, QStringLiteral("Atención"));
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        key().writeBool(QStringLiteral("Asistente"), false);
        f.show();
        f.firstActivation();
        f.pollHandOff();
        key().writeInt(QStringLiteral("X1"), 700);
        f.pollHandOff();
        EXPECT_TRUE(f.close());
        m_frame.reset();
        EXPECT_EQ(m_prompts.messages.size(), 1u) << "once per run";
    }
    static QString unreadable(const QString& folder, const QString& detail) {
        return QStringLiteral(
                   "No se pueden leer las opciones de la carpeta \"%1\" (%2). El programa sigue con los "
                   "valores predeterminados y no guardará las opciones, los últimos ficheros ni el "
                   "tamaño de la ventana.")
            .arg(folder, detail);
    }
    static QString unwritable(const QString& folder, const QString& detail) {
        return QStringLiteral(
                   "No se pueden guardar las opciones en la carpeta \"%1\" (%2). El programa sigue, pero "
                   "las opciones, los últimos ficheros y el tamaño de la ventana de esta sesión no se "
                   "guardarán.")
            .arg(folder, detail);
    }
};

// Settings that no one can use, whoever runs the program: the editor says so once, naming the
// folder, runs on the defaults and leaves what stands in the way as it was.
TEST_F(SettingsFailureTest, SettingsInTheWrongPlaceAreSaidOnceAndTheDefaultsServe) {
    // An .ini that is a folder.
    const QString withFolder = path(QStringLiteral("carpeta-ini"));
    ASSERT_TRUE(QDir().mkpath(withFolder + QStringLiteral("/machine.ini")));
    runOn(withFolder, unreadable(withFolder, QStringLiteral("\"machine.ini\" no es un fichero")));
    EXPECT_TRUE(QFileInfo(withFolder + QStringLiteral("/machine.ini")).isDir());
    EXPECT_EQ(QDir(withFolder).entryList(QDir::Files | QDir::Hidden), QStringList())
        << "nothing is saved, as the message says: no other file is made";

    // A file far larger than any settings (1 000 000 values), read by no start: said, and left as it is.
    const QString huge = path(QStringLiteral("enorme"));
    ASSERT_TRUE(QDir().mkpath(huge));
    QByteArray values = "[Software\\Brenlowe\\KMR]\nVericonos=0\n[Software\\Otros]\n";
    for (int i = 0; i < 1000000; ++i) values += "Valor" + QByteArray::number(i) + "=texto\n";
    writeBytes(huge + QStringLiteral("/user.ini"), values);
    runOn(huge, unreadable(huge, QStringLiteral("\"user.ini\" ocupa más de 4 MiB")));
    EXPECT_EQ(readBytes(huge + QStringLiteral("/user.ini")), values);
    EXPECT_EQ(QDir(huge).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("user.ini")));

    // A settings folder that is a file.
    const QString file = path(QStringLiteral("ajustes"));
    writeBytes(file, "no es una carpeta");
    runOn(file, unreadable(file, QStringLiteral("\"ajustes\" no es una carpeta")));
    EXPECT_EQ(readBytes(file), QByteArray("no es una carpeta"));

    // A settings folder that cannot be created, below a file.
    const QString below = file + QStringLiteral("/kmr");
    runOn(below, unreadable(below, QStringLiteral("no se puede crear la carpeta")));
    EXPECT_FALSE(QFileInfo::exists(below));
}

// Files the user may not read or write. Root reads and writes them all the same, so these cases
// need an ordinary user.
TEST_F(SettingsFailureTest, UnreadableOrReadOnlySettingsAreSaidOnceAndLeftAlone) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads and writes every file";
    const QByteArray mine = "[Software\\Brenlowe\\KMR]\nOtro=http://mio.example\nX1=640\n";
    struct Case {
        const char* name;
        QFileDevice::Permissions file;
        QFileDevice::Permissions folder;
        bool readable;
        const char* detail;
    };
    const QFileDevice::Permissions rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    const Case cases[] = {
        {"sololectura", QFileDevice::ReadOwner, rx | QFileDevice::WriteOwner, true,
         "no se puede escribir \"machine.ini\""},
        {"ilegible", {}, rx | QFileDevice::WriteOwner, false, "no se puede leer \"machine.ini\""},
        {"carpetasololectura", rw, rx, true, "no se puede escribir \"machine.ini\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = path(QLatin1String(c.name));
        const QString ini = folder + QStringLiteral("/machine.ini");
        ASSERT_TRUE(QDir().mkpath(folder));
        writeBytes(ini, mine);
        ASSERT_TRUE(QFile::setPermissions(ini, c.file));
        ASSERT_TRUE(QFile::setPermissions(folder, c.folder));
        const QString detail = QLatin1String(c.detail);
        runOn(folder, c.readable ? unwritable(folder, detail) : unreadable(folder, detail));
        QFile::setPermissions(folder, rx | QFileDevice::WriteOwner);
        QFile::setPermissions(ini, rw);
        EXPECT_EQ(readBytes(ini), mine) << "the user's file stays as it was";
    }
}

// What could be read is used: a read-only file gives its values, not the defaults.
TEST_F(SettingsFailureTest, AReadOnlyFileStillGivesItsValues) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes every file";
    const QString folder = path(QStringLiteral("sololectura"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString ini = folder + QStringLiteral("/machine.ini");
    writeBytes(ini, "[Software\\Brenlowe\\KMR]\nOtro=http://mio.example\n");
    ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner));
    m_store = std::make_unique<IniSettingsStore>(folder);
    ASSERT_TRUE(makeFrame().startUp());
    EXPECT_EQ(key().readText(QStringLiteral("Otro")), QStringLiteral("http://mio.example"));
    EXPECT_TRUE(key().readBool(QStringLiteral("Bienvenida"))) << "what is missing gets its default";
    m_prompts.messages.clear();
}

}  // namespace
}  // namespace kmr::gui::test
