#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "base/settings_store.h"

namespace kmr::gui {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QByteArray bytesOf(const char* file) const {
        QFile f(QDir(m_dir.path()).filePath(QLatin1String(file)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    IniSettingsStore m_store{m_dir.path()};
};

// The files read as a person would expect: one section per key, names as the program spells them.
TEST_F(SettingsStoreTest, FilesHoldKeysAndNamesAsWritten) {
    const QString kmr = QStringLiteral("Software\\Brenlowe\\KMR");
    m_store.writeText(SettingsRoot::Machine, kmr, QStringLiteral("Otro"), QStringLiteral("http://"));
    m_store.writeInt(SettingsRoot::Machine, kmr, QStringLiteral("Vericonos"), 1);
    m_store.writeInt(SettingsRoot::Machine, kmr, QStringLiteral("X1"), 626);
    m_store.writeText(SettingsRoot::Machine, kmr, QStringLiteral("Ayuda"), QStringLiteral("/usr/share/kmr/kmr.hlp"));
    m_store.writeInt(SettingsRoot::Machine, kmr, QStringLiteral("inicio"), 1);
    m_store.createKey(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR2"));
    // Another spelling is the same value: it changes it and adds no line.
    m_store.writeInt(SettingsRoot::Machine, QStringLiteral("SOFTWARE\\brenlowe\\kmr"), QStringLiteral("VERICONOS"), 0);
    EXPECT_EQ(bytesOf("machine.ini"), QByteArray("[Software\\Brenlowe\\KMR]\n"
                                                 "Ayuda=/usr/share/kmr/kmr.hlp\n"
                                                 "Otro=http://\n"
                                                 "Vericonos=0\n"
                                                 "X1=626\n"
                                                 "inicio=1\n"
                                                 "\n"
                                                 "[Software\\Brenlowe\\KMR2]\n"));
    m_store.writeText(SettingsRoot::Classes, QStringLiteral(".kmr"), QString(), QStringLiteral("kmrautofile"));
    m_store.writeText(SettingsRoot::Classes, QStringLiteral("kmrautofile\\shell\\Open\\Command"), QString(),
                      QStringLiteral("/usr/bin/kmr \"%1\""));
    EXPECT_EQ(bytesOf("classes.ini"), QByteArray("[.kmr]\n"
                                                 "@=kmrautofile\n"
                                                 "\n"
                                                 "[kmrautofile\\shell\\Open\\Command]\n"
                                                 "@=/usr/bin/kmr \"%1\"\n"));
}

// Texts and names of every shape come back as they went in, through the file.
TEST_F(SettingsStoreTest, OddTextsAndNamesRoundTrip) {
    const QString key = QStringLiteral("Software\\Brenlowe\\KMR");
    const QString cases[][2] = {
        {QStringLiteral("vacío"), QString()},
        {QStringLiteral("blancos"), QStringLiteral("  a ambos lados  ")},
        {QStringLiteral("comillas"), QStringLiteral("\"entre comillas\"")},
        {QStringLiteral("líneas"), QStringLiteral("una\r\ndos\tcon tabulador\x01")},
        {QStringLiteral("signos"), QStringLiteral("a=b; c, d # e [f] %41 \\\\servidor\\disco")},
        {QStringLiteral("a=b"), QStringLiteral("nombre con igual")},
        {QStringLiteral("x/y"), QStringLiteral("nombre con barra")},
        {QStringLiteral("@"), QStringLiteral("nombre arroba, no el valor por defecto")},
        {QStringLiteral("%"), QStringLiteral("nombre por ciento")},
        {QStringLiteral(" [raro;"), QStringLiteral("nombre que empieza como una sección")},
        {QString(), QStringLiteral("el valor por defecto")},
    };
    for (const auto& c : cases) m_store.writeText(SettingsRoot::Machine, key, c[0], c[1]);
    IniSettingsStore reader(m_dir.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0].toStdString());
        EXPECT_EQ(reader.readText(SettingsRoot::Machine, key, c[0]), c[1]);
    }
    EXPECT_FALSE(reader.keyExists(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR\\x")))
        << "a name with a slash makes no subkey";
}

// A file of an older build: names folded to lower case, a marker entry in every key, the default
// value under a marker name. Its values read as before and the file is rewritten in the new layout.
TEST_F(SettingsStoreTest, FilesOfAnOlderBuildAreReadAndConverted) {
    QTemporaryDir older;
    for (const char* file : {"machine.ini", "classes.ini"}) {
        QSettings s(QDir(older.path()).filePath(QLatin1String(file)), QSettings::IniFormat);
        if (QByteArray(file) == "machine.ini") {
            s.setValue(QStringLiteral("software/brenlowe/kmr/@Key"), 1);
            s.setValue(QStringLiteral("software/brenlowe/kmr/vericonos"), 0);
            s.setValue(QStringLiteral("software/brenlowe/kmr/otro"), QStringLiteral("http://a, b"));
            s.setValue(QStringLiteral("software/brenlowe/kmr/ayuda"), QStringLiteral("C:\\KMR\\kmr.hlp"));
            s.setValue(QStringLiteral("software/brenlowe/kmr2/@Key"), 1);
        } else {
            s.setValue(QStringLiteral(".kmr/@Key"), 1);
            s.setValue(QStringLiteral(".kmr/@Default"), QStringLiteral("kmrautofile"));
            s.setValue(QStringLiteral("kmrautofile/shell/open/command/@Key"), 1);
            s.setValue(QStringLiteral("kmrautofile/shell/open/command/@Default"),
                       QStringLiteral("/usr/bin/kmr \"%1\""));
        }
        s.sync();
        QFile::copy(s.fileName(), QDir(m_dir.path()).filePath(QLatin1String(file)));
    }
    ASSERT_TRUE(bytesOf("machine.ini").contains("%40Key")) << "the older layout as it was written";

    IniSettingsStore store(m_dir.path());
    const QString kmr = QStringLiteral("Software\\Brenlowe\\KMR");
    EXPECT_EQ(store.readInt(SettingsRoot::Machine, kmr, QStringLiteral("Vericonos")), 0);
    EXPECT_EQ(store.readText(SettingsRoot::Machine, kmr, QStringLiteral("Otro")), QStringLiteral("http://a, b"));
    EXPECT_EQ(store.readText(SettingsRoot::Machine, kmr, QStringLiteral("Ayuda")), QStringLiteral("C:\\KMR\\kmr.hlp"));
    EXPECT_FALSE(store.valueExists(SettingsRoot::Machine, kmr, QStringLiteral("@Key")));
    EXPECT_TRUE(store.keyExists(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR2")));
    EXPECT_EQ(store.readText(SettingsRoot::Classes, QStringLiteral(".kmr"), QString()), QStringLiteral("kmrautofile"));
    EXPECT_EQ(store.readText(SettingsRoot::Classes, QStringLiteral("kmrautofile\\shell\\Open\\Command"), QString()),
              QStringLiteral("/usr/bin/kmr \"%1\""));
    EXPECT_EQ(bytesOf("classes.ini"), QByteArray("[.kmr]\n"
                                                 "@=kmrautofile\n"
                                                 "\n"
                                                 "[kmrautofile\\shell\\open\\command]\n"
                                                 "@=/usr/bin/kmr \"%1\"\n"));
    EXPECT_FALSE(bytesOf("machine.ini").contains("%40"));
}

// The writes of one batch reach the file in one save, at the batch's end.
TEST_F(SettingsStoreTest, ABatchSavesOnceAtItsEnd) {
    const QString key = QStringLiteral("Software\\Brenlowe\\KMR");
    IniSettingsStore other(m_dir.path());
    const int before = m_store.saves();
    {
        const SettingsBatch batch(m_store);
        for (int i = 0; i < 5; ++i) m_store.writeInt(SettingsRoot::Machine, key, QStringLiteral("link%1").arg(i), i);
        m_store.writeText(SettingsRoot::Classes, QStringLiteral(".kmr"), QString(), QStringLiteral("kmrautofile"));
        {
            const SettingsBatch inner(m_store);
            m_store.writeInt(SettingsRoot::Machine, key, QStringLiteral("X0"), 7);
        }
        EXPECT_EQ(m_store.saves(), before) << "an inner batch does not save";
        EXPECT_EQ(m_store.readInt(SettingsRoot::Machine, key, QStringLiteral("link4")), 4);
        EXPECT_FALSE(bytesOf("machine.ini").contains("link4")) << "nothing reaches the file before the end";
    }
    EXPECT_EQ(m_store.saves() - before, 2) << "one save per file written";
    EXPECT_EQ(other.readInt(SettingsRoot::Machine, key, QStringLiteral("X0")), 7);
    EXPECT_EQ(other.readText(SettingsRoot::Classes, QStringLiteral(".kmr"), QString()), QStringLiteral("kmrautofile"));
}

TEST_F(SettingsStoreTest, NamesCompareWithoutLetterCaseAndRootsStaySeparate) {
    m_store.writeText(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR"), QStringLiteral("Otro"),
                      QStringLiteral("http://x"));
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::Machine, QStringLiteral("SOFTWARE\\brenlowe\\kmr")));
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::Machine, QStringLiteral("software\\Brenlowe")));
    EXPECT_EQ(
        m_store.readText(SettingsRoot::Machine, QStringLiteral("software\\BRENLOWE\\Kmr"), QStringLiteral("OTRO")),
        QStringLiteral("http://x"));
    EXPECT_FALSE(m_store.keyExists(SettingsRoot::CurrentUser, QStringLiteral("Software\\Brenlowe\\KMR")));
    EXPECT_FALSE(m_store.keyExists(SettingsRoot::Classes, QStringLiteral("Software\\Brenlowe\\KMR")));
    EXPECT_FALSE(
        m_store.valueExists(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR"), QStringLiteral("Otra")));
}

TEST_F(SettingsStoreTest, TypesDefaultValuesAndEmptyKeys) {
    const QString key = QStringLiteral("a\\b");
    SettingsKey k = *SettingsKey::open(m_store, SettingsRoot::Machine, key, true);
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::Machine, key)) << "a created key exists even without values";
    k.writeInt(QStringLiteral("n"), -7);
    k.writeBool(QStringLiteral("b"), true);
    k.writeText(QStringLiteral("t"), QStringLiteral("uno, dos = tres; \"cuatro\" \\ ñ"));
    k.writeText(QString(), QStringLiteral("por defecto"));
    EXPECT_EQ(k.readInt(QStringLiteral("n")), -7);
    EXPECT_EQ(k.readInt(QStringLiteral("b")), 1);
    EXPECT_TRUE(k.readBool(QStringLiteral("b")));
    EXPECT_EQ(k.readText(QStringLiteral("t")), QStringLiteral("uno, dos = tres; \"cuatro\" \\ ñ"));
    EXPECT_EQ(k.readText(QString()), QStringLiteral("por defecto"));
    EXPECT_FALSE(k.valueExists(QStringLiteral("@key"))) << "a value the store did not get";
    // A text where an integer is expected, and a missing value, read as the fallback.
    EXPECT_EQ(k.readInt(QStringLiteral("t"), 42), 42);
    EXPECT_EQ(k.readInt(QStringLiteral("nada"), 5), 5);
    EXPECT_TRUE(k.readBool(QStringLiteral("nada"), true));
    EXPECT_FALSE(SettingsKey::open(m_store, SettingsRoot::Machine, QStringLiteral("a\\c"), false).has_value());
}

TEST_F(SettingsStoreTest, DeletingAKeyTakesItsSubkeysAndNothingElse) {
    m_store.writeText(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo\\Config"),
                      QStringLiteral("Ayuda"), QStringLiteral("x"));
    m_store.writeText(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Otro"), QStringLiteral("v"),
                      QStringLiteral("y"));
    m_store.writeText(SettingsRoot::Machine, QStringLiteral("Software\\Dantreva\\Vostrelo\\Config"),
                      QStringLiteral("Ayuda"), QStringLiteral("z"));
    EXPECT_TRUE(m_store.deleteKey(SettingsRoot::CurrentUser, QStringLiteral("software\\dantreva\\VOSTRELO")));
    EXPECT_FALSE(m_store.keyExists(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo\\Config")));
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Otro")));
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::Machine, QStringLiteral("Software\\Dantreva\\Vostrelo\\Config")));
    EXPECT_FALSE(m_store.deleteKey(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo")))
        << "deleting a key that is gone fails";
}

TEST_F(SettingsStoreTest, TwoStoresOnOneFolderSeeEachOthersWrites) {
    // Two running instances each hold their own store over the same files.
    IniSettingsStore other(m_dir.path());
    const QString key = QStringLiteral("Software\\Brenlowe\\KMR");
    m_store.writeText(SettingsRoot::Machine, key, QStringLiteral("Archivo"), QStringLiteral("/discos/uno.kmr"));
    EXPECT_EQ(other.readText(SettingsRoot::Machine, key, QStringLiteral("Archivo")), QStringLiteral("/discos/uno.kmr"));
    other.writeText(SettingsRoot::Machine, key, QStringLiteral("Archivo"), QString());
    other.writeInt(SettingsRoot::Machine, key, QStringLiteral("X0"), 12);
    EXPECT_EQ(m_store.readText(SettingsRoot::Machine, key, QStringLiteral("Archivo")), QString());
    m_store.writeInt(SettingsRoot::Machine, key, QStringLiteral("Y0"), 34);
    EXPECT_EQ(other.readInt(SettingsRoot::Machine, key, QStringLiteral("X0")), 12);
    EXPECT_EQ(other.readInt(SettingsRoot::Machine, key, QStringLiteral("Y0")), 34) << "writes merge, none is lost";
}

// Names are found regardless of case also after another process changed the file, and within a
// batch that has not reached the file yet.
TEST_F(SettingsStoreTest, NamesInAnotherSpellingAreFoundAfterEveryChange) {
    IniSettingsStore other(m_dir.path());
    const QString key = QStringLiteral("Software\\Brenlowe\\KMR");
    m_store.writeInt(SettingsRoot::Machine, key, QStringLiteral("X0"), 1);
    EXPECT_FALSE(m_store.valueExists(SettingsRoot::Machine, key, QStringLiteral("OTRO")));
    EXPECT_FALSE(m_store.keyExists(SettingsRoot::Machine, QStringLiteral("software\\otros")));
    other.writeText(SettingsRoot::Machine, QStringLiteral("software\\brenlowe\\kmr"), QStringLiteral("otro"),
                    QStringLiteral("http://y"));
    other.createKey(SettingsRoot::Machine, QStringLiteral("Software\\Otros"));
    EXPECT_EQ(m_store.readText(SettingsRoot::Machine, key, QStringLiteral("OTRO")), QStringLiteral("http://y"));
    EXPECT_TRUE(m_store.keyExists(SettingsRoot::Machine, QStringLiteral("software\\otros")));
    {
        SettingsBatch batch(m_store);
        m_store.writeText(SettingsRoot::Machine, key, QStringLiteral("Nuevo"), QStringLiteral("n"));
        EXPECT_EQ(m_store.readText(SettingsRoot::Machine, key, QStringLiteral("NUEVO")), QStringLiteral("n"));
        m_store.writeText(SettingsRoot::Machine, key, QStringLiteral("nuevo"), QStringLiteral("m"));
    }
    EXPECT_EQ(other.readText(SettingsRoot::Machine, key, QStringLiteral("Nuevo")), QStringLiteral("m"));
    EXPECT_EQ(bytesOf("machine.ini").count("uevo="), 1) << "one value, in the spelling first written";
}

}  // namespace
}  // namespace kmr::gui
