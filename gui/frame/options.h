#pragma once
// The program's options as one plain value, and the table of the settings values that hold them: each
// value's name, type, stored default and the options dialog's state before any value is loaded, written
// once and read by start-up, the options dialog and the frame.

#include <QString>

#include <span>
#include <variant>

namespace kmr::gui {

class SettingsKey;

struct Options {
    bool welcome = false;           // "Mensaje de bienvenida": the splash window at start
    bool centre = false;            // "Centrar ventana": the stored place is not applied
    bool runWizard = false;         // "Ejecutar el asistente" at start when no file is given
    bool showToolBar = false;       // "Barra de iconos"
    bool showStatusBar = false;     // "Barra de estado"
    bool showTips = false;          // "Asistente ide@": the tips panel and its timer
    bool showQuickStart = false;    // "Inicio rápido"
    bool keepImportExtras = false;  // "Conservar al importar las entradas que no son órdenes del proyecto"
    qint32 site = 0;                // the update site, 0 to 4 ("Otro:"); any other value selects none
    QString otherAddress;           // the address typed after "Otro:"

    // The address the update command opens: the selected site's, the typed one for "Otro:", or empty
    // when the selection is outside 0 to 4.
    QString siteAddress() const;

    bool operator==(const Options&) const = default;
};

// A settings value as the key holds it: a boolean (stored 0 or 1), a 32-bit integer or a text.
using OptionValue = std::variant<bool, qint32, const char*>;
// The member of Options that holds it; of the same type as its values.
using OptionField = std::variant<bool Options::*, qint32 Options::*, QString Options::*>;

struct OptionKey {
    const char* name;  // the value's name in the settings key; the dialog's control has it as object name
    OptionField field;
    // Written by start-up when the value is missing (see writtenAtStartUp), and what a missing or
    // unreadable value reads as.
    OptionValue storedDefault;
    // What the options dialog shows before any value is loaded; the frame holds it until the first read.
    OptionValue designState;
    bool writtenAtStartUp = true;
};

// The frame's own values: its place and size (the width only while not maximized) and its state (0
// normal, 1 minimized, 2 maximized) at the last close. Start-up writes 0 for each one missing.
inline const QString kFrameLeft = QStringLiteral("X0");
inline const QString kFrameTop = QStringLiteral("Y0");
inline const QString kFrameWidth = QStringLiteral("X1");
inline const QString kFrameHeight = QStringLiteral("Y1");
inline const QString kFrameState = QStringLiteral("Estado");
// The help file's path.
inline const QString kHelpFileValue = QStringLiteral("Ayuda");
// The recent-files list: "link1" (the newest) to "link5".
inline QString recentFileValue(int slot) { return QStringLiteral("link%1").arg(slot + 1); }

// In the order in which the options are read and stored.
std::span<const OptionKey> optionKeys();
// The name of the value that holds `field`.
QString optionName(const OptionField& field);

// The options as the dialog shows them before any value is loaded.
Options designedOptions();
// Every option from the key; a missing or unreadable value gives its stored default.
Options readOptions(const SettingsKey& key);
// Every option into the key, in one save.
void storeOptions(const SettingsKey& key, const Options& options);
// The stored default of every option that start-up writes, and of the frame's own values, where the
// key lacks them.
void writeMissingDefaults(const SettingsKey& key);

}  // namespace kmr::gui
