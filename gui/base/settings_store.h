#pragma once
// The settings store: keys holding named text, integer and boolean values under three roots.

#include <QDateTime>
#include <QHash>
#include <QSettings>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;

namespace kmr::gui {

// The three roots: machine-wide settings, file-type classes and the current user's settings.
enum class SettingsRoot { Machine, Classes, CurrentUser };

// Why the settings cannot be kept: the folder they live in, what is wrong with it, and whether the
// values could at least be read (when not, the program runs on the defaults).
struct SettingsFailure {
    QString folder;
    QString detail;  // Spanish, for the user: "«machine.ini» es una carpeta"
    bool readable = false;
};

// What the application needs from a settings store. Key paths use "\" between their parts; key and
// value names compare without regard to letter case. The empty value name is the key's default value.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool keyExists(SettingsRoot root, const QString& key) = 0;
    virtual void createKey(SettingsRoot root, const QString& key) = 0;
    // Deletes the key with its subkeys; false when it did not exist or could not be deleted.
    virtual bool deleteKey(SettingsRoot root, const QString& key) = 0;
    virtual bool valueExists(SettingsRoot root, const QString& key, const QString& name) = 0;
    // Missing values, and integers stored as something else than a 32-bit integer, read as nullopt.
    virtual std::optional<QString> readText(SettingsRoot root, const QString& key, const QString& name) = 0;
    virtual std::optional<qint32> readInt(SettingsRoot root, const QString& key, const QString& name) = 0;
    virtual void writeText(SettingsRoot root, const QString& key, const QString& name, const QString& value) = 0;
    virtual void writeInt(SettingsRoot root, const QString& key, const QString& name, qint32 value) = 0;
    // Reads a text value (a missing one reads empty) and writes what `change` makes of it, in one step
    // that no other process sharing the store can split; a missing value is written even when
    // unchanged. Returns the value found, or nullopt when the store could not do it.
    virtual std::optional<QString> updateText(SettingsRoot root, const QString& key, const QString& name,
                                              const std::function<QString(const QString&)>& change) = 0;
    // The first reason found why the settings cannot be read or kept; nullopt while they can.
    virtual std::optional<SettingsFailure> failure() const { return std::nullopt; }

    // Between beginBatch and the matching endBatch, writes are held and reach the files in one save at
    // the end; reads see them at once but no longer pick up what another process wrote meanwhile.
    // Batches nest; the outermost end saves.
    virtual void beginBatch() {}
    virtual void endBatch() {}
};

// The writes of one operation as one save: a batch for the scope's lifetime.
class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore& store) : m_store(store) { m_store.beginBatch(); }
    ~SettingsBatch() { m_store.endBatch(); }
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& m_store;
};

// An open key: a root and a path with the value operations bound to them. Booleans are integers
// 0 and 1, read as true when not 0.
class SettingsKey {
public:
    SettingsKey(SettingsStore& store, SettingsRoot root, QString path);

    // Opens a key; without `create`, nullopt when it does not exist.
    static std::optional<SettingsKey> open(SettingsStore& store, SettingsRoot root, const QString& path, bool create);

    const QString& path() const { return m_path; }
    SettingsStore& store() const { return *m_store; }
    bool valueExists(const QString& name) const;
    QString readText(const QString& name, const QString& fallback = {}) const;
    qint32 readInt(const QString& name, qint32 fallback = 0) const;
    bool readBool(const QString& name, bool fallback = false) const;
    void writeText(const QString& name, const QString& value) const;
    void writeInt(const QString& name, qint32 value) const;
    void writeBool(const QString& name, bool value) const;
    std::optional<QString> updateText(const QString& name, const std::function<QString(const QString&)>& change) const;

private:
    SettingsStore* m_store;
    SettingsRoot m_root;
    QString m_path;
};

// The store as INI files ("machine.ini", "classes.ini", "user.ini") in one folder, written for a
// person to read: one section per key with its path as written ("[Software\Brenlowe\KMR]"), values as
// "Name=text" with their names as written, a key's default value as "@" (as in exported registry
// files), a key without values as its bare section (the layout: settings_ini_layout.h). QSettings does
// the file work and locks the files, so two running instances can share them; outside a batch every
// read first picks up what another process wrote, and every write reaches the file at once. Files in
// the older layout (settings_older_layout.h) are converted when opened.
// A value is looked up by its name as written, else in an index of the names regardless of case
// that is built again only when the file changed, so a read costs the same whatever the file holds.
// A file that cannot be read or written, or one over 4 MiB, is left alone: the store then works on
// copies of what could be read of all three files (or on nothing) for the run, and failure() says why.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& folder);
    ~IniSettingsStore() override;

    // $KMR_SETTINGS_DIR when set, else $XDG_CONFIG_HOME/kmr (~/.config/kmr).
    static QString defaultFolder();

    bool keyExists(SettingsRoot root, const QString& key) override;
    void createKey(SettingsRoot root, const QString& key) override;
    bool deleteKey(SettingsRoot root, const QString& key) override;
    bool valueExists(SettingsRoot root, const QString& key, const QString& name) override;
    std::optional<QString> readText(SettingsRoot root, const QString& key, const QString& name) override;
    std::optional<qint32> readInt(SettingsRoot root, const QString& key, const QString& name) override;
    void writeText(SettingsRoot root, const QString& key, const QString& name, const QString& value) override;
    void writeInt(SettingsRoot root, const QString& key, const QString& name, qint32 value) override;
    std::optional<QString> updateText(SettingsRoot root, const QString& key, const QString& name,
                                      const std::function<QString(const QString&)>& change) override;
    std::optional<SettingsFailure> failure() const override { return m_failure; }
    void beginBatch() override;
    void endBatch() override;

    // How many times the files were saved since the store was made.
    int saves() const { return m_saves; }

private:
    // The names of one file regardless of letter case: folded name or key path -> as stored.
    struct NameIndex {
        bool valid = false;
        qint64 size = -1;
        QDateTime modified;
        QHash<QString, QString> names;
        QHash<QString, QString> groups;
    };

    QSettings& file(SettingsRoot root);
    // Picks up other processes' writes, outside a batch.
    QSettings& fresh(SettingsRoot root);
    void written(SettingsRoot root);
    void save(std::size_t index);
    // Whether the user's file can be read and kept where it is; says why not (fail).
    bool usableFile(const QString& path);
    // A private copy of what could be read of the user's file (nothing when it cannot be read, or is
    // over the size limit), used for the run in its place.
    QString standIn(std::size_t index, const QString& path);
    void fail(const QString& detail, bool readable);
    const NameIndex& index(SettingsRoot root);
    // Whether the index still matches the file; stamp() makes it match the file as it is now.
    bool indexCurrent(std::size_t index);
    void stamp(std::size_t index);
    void remember(SettingsRoot root, const QString& stored);
    QString storedGroup(SettingsRoot root, const QString& group);
    QString storedName(SettingsRoot root, const QString& key, const QString& name);

    QString m_folder;
    std::array<std::unique_ptr<QSettings>, 3> m_files;
    std::array<NameIndex, 3> m_indexes;
    std::array<bool, 3> m_pending{};
    int m_batchDepth = 0;
    int m_saves = 0;
    std::optional<SettingsFailure> m_failure;
    std::unique_ptr<QTemporaryDir> m_standIns;
};

}  // namespace kmr::gui
