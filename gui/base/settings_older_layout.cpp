#include "base/settings_older_layout.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

#include <utility>

namespace kmr::gui::ini {

// The older layout: QSettings' own INI files with names folded to lower case and a marker entry
// "@Key" in every key ("%40Key" in the file), the default value as "@Default". The new layout
// writes "%" as "%25", so "%40" never starts a name there.
bool isOlderLayout(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QByteArray name = line.left(line.indexOf('=')).trimmed().toLower();
        const QByteArray last = name.mid(name.lastIndexOf('\\') + 1);
        if (last == "%40key" || last == "%40default") return true;
    }
    return false;
}

std::vector<OlderEntry> readOlderLayout(const QString& path) {
    // QSettings shares its parse of a file between its objects, so the old file is read from a copy
    // that no object of the new layout ever opens.
    QTemporaryFile copy;
    QFile original(path);
    if (!copy.open() || !original.open(QIODevice::ReadOnly)) return {};
    copy.write(original.readAll());
    copy.close();
    std::vector<OlderEntry> entries;
    const QSettings old(copy.fileName(), QSettings::IniFormat);
    for (const QString& stored : old.allKeys()) {
        const qsizetype slash = stored.lastIndexOf(QLatin1Char('/'));
        OlderEntry e;
        e.key = slash < 0 ? QString() : stored.left(slash);
        e.name = stored.mid(slash + 1);
        const QVariant v = old.value(stored);
        e.value = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
        if (e.name.compare(QStringLiteral("@Key"), Qt::CaseInsensitive) == 0) {
            e.bare = true;
        } else if (e.name.compare(QStringLiteral("@Default"), Qt::CaseInsensitive) == 0) {
            e.name.clear();
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace kmr::gui::ini
