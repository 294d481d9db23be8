#pragma once
// The hand-off mailbox "Archivo": a starting instance leaves a project path there for a running one.

#include <QString>

#include "base/settings_store.h"

namespace kmr::gui {

// Every step reads and writes the value in one go under the settings file's lock, so a path is
// taken by exactly one instance: by a running one, or back by the start that left it.
class HandOffMailbox {
public:
    explicit HandOffMailbox(SettingsKey key) : m_key(std::move(key)) {}

    // The path that waits there, left where it is; empty when none.
    QString waiting() const;
    // A running instance: the path that waits there, emptied in the same step; empty when none.
    QString take() const;
    // A starting instance: leaves `path` when the mailbox is empty; false while another start's
    // path waits there (or the settings cannot be written).
    bool offer(const QString& path) const;
    // Whether the offered `path` is gone, taken by a running instance.
    bool taken(const QString& path) const;
    // At the end of the wait: takes `path` back unless a running instance took it first; true when
    // it was taken.
    bool withdraw(const QString& path) const;
    // A start alone: empties the mailbox when it still holds `left`, a path that waited there
    // before this instance took the instance lock, which nobody will ever take.
    void discard(const QString& left) const;
    // Writes the empty mailbox when it is missing, without touching one that holds a path.
    void create() const;

private:
    SettingsKey m_key;
};

}  // namespace kmr::gui
