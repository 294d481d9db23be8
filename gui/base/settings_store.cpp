#include "base/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

#include "base/settings_ini_layout.h"
#include "base/settings_older_layout.h"

namespace kmr::gui {

using namespace ini;

namespace {

// Settings files hold a few kilobytes; a larger one is not read.
constexpr qint64 kMaxSettingsFile = qint64{4} << 20;

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

std::optional<QString> SettingsKey::updateText(const QString& name,
                                               const std::function<QString(const QString&)>& change) const {
    return m_store->updateText(m_root, m_path, name, change);
}

IniSettingsStore::IniSettingsStore(const QString& folder) : m_folder(QDir(folder).absolutePath()) {
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir()) {
        fail(QStringLiteral("\"%1\" no es una carpeta").arg(info.fileName()), false);
    } else if (!QDir().mkpath(m_folder)) {
        fail(QStringLiteral("no se puede crear la carpeta"), false);
    }
    const QDir dir(m_folder);
    const char* names[] = {"machine.ini", "classes.ini", "user.ini"};
    // One file that cannot be used makes all three stand-ins: the user is told that nothing is kept,
    // so nothing is written, not even a file that is not there yet.
    bool usable = QFileInfo(m_folder).isDir();
    for (const char* name : names) usable = usableFile(dir.filePath(QLatin1String(name))) && usable;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const QString path =
            usable ? dir.filePath(QLatin1String(names[i])) : standIn(i, dir.filePath(QLatin1String(names[i])));
        const bool older = isOlderLayout(path);
        const std::vector<OlderEntry> entries = older ? readOlderLayout(path) : std::vector<OlderEntry>{};
        m_files[i] = std::make_unique<QSettings>(path, readableFormat());
        if (!older) continue;
        QSettings& s = *m_files[i];
        s.clear();
        for (const OlderEntry& e : entries) {
            s.setValue(joined(groupOf(e.key), e.bare ? kBareKey : escapeName(e.name)), e.value);
        }
        s.sync();
        ++m_saves;
    }
}

bool IniSettingsStore::usableFile(const QString& path) {
    const QFileInfo info(path);
    const QString name = QStringLiteral("\"%1\"").arg(info.fileName());
    // When the folder itself is unusable, so is every file in it; it said so already.
    if (!QFileInfo(m_folder).isDir()) return false;
    if (info.exists() && !info.isFile()) {
        // A folder, a pipe or a device where the file should be: never read, never replaced.
        fail(QStringLiteral("%1 no es un fichero").arg(name), false);
        return false;
    }
    if (info.exists() && info.size() > kMaxSettingsFile) {
        // The program's own settings take a few kilobytes: such a file is not theirs to read at every
        // start (it would cost seconds and hundreds of megabytes), nor to write over.
        fail(QStringLiteral("%1 ocupa más de %2 MiB").arg(name).arg(kMaxSettingsFile >> 20), false);
        return false;
    }
    if (info.exists()) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            // Written over, the user's settings would be lost for good; they stay as they are.
            fail(QStringLiteral("no se puede leer %1").arg(name), false);
            return false;
        }
        if (!info.isWritable() || !QFileInfo(m_folder).isWritable()) {
            fail(QStringLiteral("no se puede escribir %1").arg(name), true);
            return false;
        }
    } else if (!QFileInfo(m_folder).isWritable()) {
        fail(QStringLiteral("no se puede escribir en ella"), true);
        return false;
    }
    return true;
}

QString IniSettingsStore::standIn(std::size_t index, const QString& path) {
    // A stand-in for the run: what could be read, changed in memory and on a private copy only.
    QByteArray readable;
    const QFileInfo info(path);
    if (info.isFile() && info.size() <= kMaxSettingsFile) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) readable = f.readAll();
    }
    if (!m_standIns) m_standIns = std::make_unique<QTemporaryDir>();
    const QString standIn = m_standIns->filePath(QString::number(index) + QStringLiteral(".ini"));
    QFile copy(standIn);
    if (copy.open(QIODevice::WriteOnly)) copy.write(readable);
    return standIn;
}

void IniSettingsStore::fail(const QString& detail, bool readable) {
    if (!m_failure) m_failure = SettingsFailure{m_folder, detail, readable};
    m_failure->readable = m_failure->readable && readable;
}

IniSettingsStore::~IniSettingsStore() {
    // Writes of an unfinished batch are not lost.
    m_batchDepth = 0;
    for (std::size_t i = 0; i < m_files.size(); ++i) save(i);
}

QString IniSettingsStore::defaultFolder() {
    const QString moved = qEnvironmentVariable("KMR_SETTINGS_DIR");
    if (!moved.isEmpty()) return moved;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("kmr"));
}

QSettings& IniSettingsStore::file(SettingsRoot root) { return *m_files[static_cast<std::size_t>(root)]; }

QSettings& IniSettingsStore::fresh(SettingsRoot root) {
    QSettings& s = file(root);
    if (m_batchDepth == 0) s.sync();
    return s;
}

void IniSettingsStore::written(SettingsRoot root) {
    m_pending[static_cast<std::size_t>(root)] = true;
    if (m_batchDepth == 0) save(static_cast<std::size_t>(root));
}

void IniSettingsStore::save(std::size_t index) {
    if (!m_pending[index]) return;
    m_pending[index] = false;
    QSettings& s = *m_files[index];
    // This process's own save changes nothing that the index does not hold already.
    const bool indexed = indexCurrent(index);
    s.sync();
    if (indexed) stamp(index);
    ++m_saves;
    if (s.status() != QSettings::NoError) {
        fail(QStringLiteral("no se puede escribir \"%1\"").arg(QFileInfo(s.fileName()).fileName()), true);
    }
}

bool IniSettingsStore::indexCurrent(std::size_t index) {
    NameIndex& idx = m_indexes[index];
    const QFileInfo info(m_files[index]->fileName());
    if (idx.valid && (info.size() != idx.size || info.lastModified() != idx.modified)) idx.valid = false;
    return idx.valid;
}

void IniSettingsStore::stamp(std::size_t index) {
    NameIndex& idx = m_indexes[index];
    const QFileInfo info(m_files[index]->fileName());
    idx.size = info.size();
    idx.modified = info.lastModified();
}

const IniSettingsStore::NameIndex& IniSettingsStore::index(SettingsRoot root) {
    const auto i = static_cast<std::size_t>(root);
    NameIndex& idx = m_indexes[i];
    // Made again only when another process changed the file since.
    if (indexCurrent(i)) return idx;
    idx = NameIndex{};
    idx.valid = true;
    stamp(i);
    for (const QString& k : file(root).allKeys()) remember(root, k);
    return idx;
}

void IniSettingsStore::remember(SettingsRoot root, const QString& stored) {
    NameIndex& idx = m_indexes[static_cast<std::size_t>(root)];
    if (!idx.valid) return;
    // What exists keeps the spelling it was first written with.
    idx.names.insert(folded(stored), stored);
    for (qsizetype slash = stored.indexOf(QLatin1Char('/')); slash > 0;
         slash = stored.indexOf(QLatin1Char('/'), slash + 1)) {
        const QString group = stored.left(slash);
        idx.groups.insert(folded(group), group);
    }
}

QString IniSettingsStore::storedGroup(SettingsRoot root, const QString& group) {
    if (group.isEmpty()) return group;
    const NameIndex& idx = index(root);
    return idx.groups.value(folded(group), group);
}

QString IniSettingsStore::storedName(SettingsRoot root, const QString& key, const QString& name) {
    const QString group = groupOf(key);
    const QString wanted = joined(group, escapeName(name));
    if (file(root).contains(wanted)) return wanted;
    const NameIndex& idx = index(root);
    if (const auto it = idx.names.constFind(folded(wanted)); it != idx.names.cend()) return *it;
    return joined(storedGroup(root, group), escapeName(name));
}

void IniSettingsStore::beginBatch() { ++m_batchDepth; }

void IniSettingsStore::endBatch() {
    if (m_batchDepth == 0 || --m_batchDepth > 0) return;
    for (std::size_t i = 0; i < m_files.size(); ++i) save(i);
}

bool IniSettingsStore::keyExists(SettingsRoot root, const QString& key) {
    fresh(root);
    const QString group = groupOf(key);
    const NameIndex& idx = index(root);
    return group.isEmpty() ? !idx.names.isEmpty() : idx.groups.contains(folded(group));
}

void IniSettingsStore::createKey(SettingsRoot root, const QString& key) {
    if (keyExists(root, key)) return;
    const QString stored = joined(groupOf(key), kBareKey);
    file(root).setValue(stored, QString());
    remember(root, stored);
    written(root);
}

bool IniSettingsStore::deleteKey(SettingsRoot root, const QString& key) {
    const QString group = groupOf(key);
    if (group.isEmpty() || !keyExists(root, key)) return false;
    QSettings& s = file(root);
    const QString stored = storedGroup(root, group);
    m_indexes[static_cast<std::size_t>(root)].valid = false;
    for (const QString& k : entriesOf(s, group)) s.remove(k);
    // The parent stays, even when the deleted key was all it held.
    const qsizetype slash = stored.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && entriesOf(s, stored.left(slash)).isEmpty())
        s.setValue(joined(stored.left(slash), kBareKey), QString());
    written(root);
    return s.status() == QSettings::NoError;
}

bool IniSettingsStore::valueExists(SettingsRoot root, const QString& key, const QString& name) {
    const QSettings& s = fresh(root);
    return s.contains(storedName(root, key, name));
}

std::optional<QString> IniSettingsStore::readText(SettingsRoot root, const QString& key, const QString& name) {
    const QSettings& s = fresh(root);
    const QVariant v = s.value(storedName(root, key, name));
    if (!v.isValid()) return std::nullopt;
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
    QSettings& s = file(root);
    const QString stored = storedName(root, key, name);
    s.setValue(stored, value);
    remember(root, stored);
    written(root);
}

void IniSettingsStore::writeInt(SettingsRoot root, const QString& key, const QString& name, qint32 value) {
    writeText(root, key, name, QString::number(value));
}

std::optional<QString> IniSettingsStore::updateText(SettingsRoot root, const QString& key, const QString& name,
                                                    const std::function<QString(const QString&)>& change) {
    const auto i = static_cast<std::size_t>(root);
    QSettings& s = *m_files[i];
    // What this process holds back goes first, or its next save would undo the change.
    save(i);
    // The file is read, changed and written under the lock that every save of the file takes, so
    // no other process reads or writes it in between.
    const QString path = s.fileName();
    const bool indexed = indexCurrent(i);
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) return std::nullopt;
    QSettings::SettingsMap map;
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
        readLayout(in, map);
        in.close();
    }
    const QString group = groupOf(key);
    QString stored = joined(group, escapeName(name));
    if (!map.contains(stored)) {
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (it.key().compare(stored, Qt::CaseInsensitive) == 0) {
                stored = it.key();
                break;
            }
        }
    }
    const auto found = map.constFind(stored);
    const QString current = found == map.cend() ? QString() : found->toString();
    const QString next = change(current);
    if (found != map.cend() && next == current) return current;
    map.insert(stored, next);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !writeLayout(out, map) || !out.commit()) {
        fail(QStringLiteral("no se puede escribir \"%1\"").arg(QFileInfo(path).fileName()), true);
        return std::nullopt;
    }
    lock.unlock();
    // This process reads the file again at once, in a batch too.
    s.sync();
    remember(root, stored);
    if (indexed) stamp(i);
    return current;
}

}  // namespace kmr::gui
