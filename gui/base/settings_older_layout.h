#pragma once
// The settings files of older versions: QSettings' own INI files with names folded to lower case and
// marker entries for keys and default values. The store converts such a file when it opens it.

#include <QString>

#include <vector>

namespace kmr::gui::ini {

// Whether the file at `path` is in the older layout.
bool isOlderLayout(const QString& path);

// One entry of an older file: a value, a key's default value, or the marker of a key without values.
struct OlderEntry {
    QString key;
    QString name;  // empty: the default value
    QString value;
    bool bare = false;
};

// The entries of the older file at `path`, names as they were written.
std::vector<OlderEntry> readOlderLayout(const QString& path);

}  // namespace kmr::gui::ini
