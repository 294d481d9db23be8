#pragma once
// The settings store: keys holding named text, integer and boolean values under three roots.

#include <QSettings>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace kmr::gui {

// The three roots: machine-wide settings, file-type classes and the current user's settings.
enum class SettingsRoot { Machine, Classes, CurrentUser };

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

private:
    SettingsStore* m_store;
    SettingsRoot m_root;
    QString m_path;
};

// The store as INI files ("machine.ini", "classes.ini", "user.ini") in one folder, written for a
// person to read: one section per key with its path as written ("[Software\Brenlowe\KMR]"), values as
// "Name=text" with their names as written, a key's default value as "@" (as in exported registry
// files), a key without values as its bare section. QSettings does the file work and locks the
// files, so two running instances can share them; outside a batch every read first picks up what
// another process wrote, and every write reaches the file at once. Files in the older layout (names
// folded to lower case, marker entries for keys and default values) are converted when opened.
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
    void beginBatch() override;
    void endBatch() override;

    // How many times the files were saved since the store was made.
    int saves() const { return m_saves; }

private:
    QSettings& file(SettingsRoot root);
    // Picks up other processes' writes, outside a batch.
    QSettings& fresh(SettingsRoot root);
    void written(SettingsRoot root);
    void save(std::size_t index);

    std::array<std::unique_ptr<QSettings>, 3> m_files;
    std::array<bool, 3> m_pending{};
    int m_batchDepth = 0;
    int m_saves = 0;
};

}  // namespace kmr::gui
