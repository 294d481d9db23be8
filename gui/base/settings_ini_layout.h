#pragma once
// How the settings files are laid out, for a person to read: one section per key with its path as
// written ("[Software\Brenlowe\KMR]"), values as "Name=text" with their names as written, a key's
// default value as "@", a key without values as its bare section. QSettings keeps a file as a map from
// "group/name" to value; these are the names it is given and the reading and writing of a whole file.

#include <QSettings>
#include <QString>
#include <QStringList>

class QIODevice;

namespace kmr::gui::ini {

// The default (unnamed) value of a key, and the entry that keeps a key without values: neither can
// be the escaped form of a name, which never is "@" and never is a lone "%".
inline const QString kDefaultValue = QStringLiteral("@");
inline const QString kBareKey = QStringLiteral("%");

// A value name as the file holds it: as written, except for the few characters that would end it
// early or cannot stand in a line, which are written as %XX; the empty name is the default value.
QString escapeName(const QString& name);
// "a\b/c" -> "a/b/c": QSettings' groups, one per part of the key path.
QString groupOf(const QString& key);
QString joined(const QString& group, const QString& stored);
// A name or path as the index of names regardless of case holds it.
QString folded(const QString& name);
// Every entry of the key `group` and of its subkeys, as stored.
QStringList entriesOf(const QSettings& s, const QString& group);

// A whole file into QSettings' map and back, in the layout above.
bool readLayout(QIODevice& device, QSettings::SettingsMap& map);
bool writeLayout(QIODevice& device, const QSettings::SettingsMap& map);
// The format that reads and writes that layout.
QSettings::Format readableFormat();

}  // namespace kmr::gui::ini
