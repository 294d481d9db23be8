#include "base/settings_store.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace kmr::gui {

namespace {

// QSettings compares names exactly; folding them here makes "Software\Brenlowe\KMR" and
// "software\brenlowe\kmr" the same key. Names are plain ASCII, so a lower-case fold is enough.
QString groupOf(const QString& key) {
    QStringList parts;
    for (const QString& part : QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'))) {
        if (!part.isEmpty()) parts << part.toLower();
    }
    return parts.join(QLatin1Char('/'));
}

// Value names are stored folded to lower case, so names holding capitals can never collide with
// them: the default (unnamed) value and the marker that makes an empty key exist use such names.
const QString kDefaultValue = QStringLiteral("@Default");
const QString kKeyMarker = QStringLiteral("@Key");

QString storedName(const QString& key, const QString& stored) {
    const QString group = groupOf(key);
    return group.isEmpty() ? stored : group + QLatin1Char('/') + stored;
}

QString fullName(const QString& key, const QString& name) {
    return storedName(key, name.isEmpty() ? kDefaultValue : name.toLower());
}

}  // namespace

SettingsKey::SettingsKey(SettingsStore& store, SettingsRoot root, QString path)
    : m_store(&store), m_root(root), m_path(std::move(path)) {}

std::optional<SettingsKey> SettingsKey::open(SettingsStore& store, SettingsRoot root, const QString& path,
                                             bool create) {
    if (!store.keyExists(root, path)) {
        if (!create) return std::nullopt;
        store.createKey(root, path);
    }
    return SettingsKey(store, root, path);
}

bool SettingsKey::valueExists(const QString& name) const { return m_store->valueExists(m_root, m_path, name); }

QString SettingsKey::readText(const QString& name, const QString& fallback) const {
    return m_store->readText(m_root, m_path, name).value_or(fallback);
}

qint32 SettingsKey::readInt(const QString& name, qint32 fallback) const {
    return m_store->readInt(m_root, m_path, name).value_or(fallback);
}

bool SettingsKey::readBool(const QString& name, bool fallback) const {
    const auto v = m_store->readInt(m_root, m_path, name);
    return v ? *v != 0 : fallback;
}

void SettingsKey::writeText(const QString& name, const QString& value) const {
    m_store->writeText(m_root, m_path, name, value);
}

void SettingsKey::writeInt(const QString& name, qint32 value) const { m_store->writeInt(m_root, m_path, name, value); }

void SettingsKey::writeBool(const QString& name, bool value) const { writeInt(name, value ? 1 : 0); }

IniSettingsStore::IniSettingsStore(const QString& folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    const char* names[] = {"machine.ini", "classes.ini", "user.ini"};
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        m_files[i] = std::make_unique<QSettings>(dir.filePath(QLatin1String(names[i])), QSettings::IniFormat);
    }
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::defaultFolder() {
    const QString moved = qEnvironmentVariable("KMR_SETTINGS_DIR");
    if (!moved.isEmpty()) return moved;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("kmr"));
}

QSettings& IniSettingsStore::file(SettingsRoot root) { return *m_files[static_cast<std::size_t>(root)]; }

bool IniSettingsStore::keyExists(SettingsRoot root, const QString& key) {
    QSettings& s = file(root);
    s.sync();
    s.beginGroup(groupOf(key));
    const bool exists = !s.allKeys().isEmpty();
    s.endGroup();
    return exists;
}

void IniSettingsStore::createKey(SettingsRoot root, const QString& key) {
    if (keyExists(root, key)) return;
    QSettings& s = file(root);
    s.setValue(storedName(key, kKeyMarker), 1);
    s.sync();
}

bool IniSettingsStore::deleteKey(SettingsRoot root, const QString& key) {
    if (groupOf(key).isEmpty() || !keyExists(root, key)) return false;
    QSettings& s = file(root);
    s.remove(groupOf(key));
    s.sync();
    return s.status() == QSettings::NoError;
}

bool IniSettingsStore::valueExists(SettingsRoot root, const QString& key, const QString& name) {
    QSettings& s = file(root);
    s.sync();
    return s.contains(fullName(key, name));
}

std::optional<QString> IniSettingsStore::readText(SettingsRoot root, const QString& key, const QString& name) {
    QSettings& s = file(root);
    s.sync();
    const QVariant v = s.value(fullName(key, name));
    if (!v.isValid()) return std::nullopt;
    // A hand-edited value with unquoted commas comes back as a list.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

std::optional<qint32> IniSettingsStore::readInt(SettingsRoot root, const QString& key, const QString& name) {
    const auto text = readText(root, key, name);
    if (!text) return std::nullopt;
    bool ok = false;
    const qint32 v = text->trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

void IniSettingsStore::writeText(SettingsRoot root, const QString& key, const QString& name, const QString& value) {
    createKey(root, key);
    QSettings& s = file(root);
    s.setValue(fullName(key, name), value);
    s.sync();
}

void IniSettingsStore::writeInt(SettingsRoot root, const QString& key, const QString& name, qint32 value) {
    createKey(root, key);
    QSettings& s = file(root);
    s.setValue(fullName(key, name), value);
    s.sync();
}

}  // namespace kmr::gui
