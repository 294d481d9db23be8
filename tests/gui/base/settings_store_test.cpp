#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "base/settings_store.h"

namespace kmr::gui {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    IniSettingsStore m_store{m_dir.path()};
};

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

}  // namespace
}  // namespace kmr::gui
