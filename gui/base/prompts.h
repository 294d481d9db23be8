#pragma once
// Message boxes and file dialogs behind one interface, so that tests can script the answers.

#include <QString>

#include <optional>

#include "base/file_dialog_setup.h"

class QWidget;

namespace kmr::gui {

enum class MessageIcon { Warning, Information, Question, Error };
enum class MessageButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

// What a file dialog shows: an empty title means the system's default title.
struct FileDialogOptions {
    QString title;
    QString filterName;     // "Proyecto KMR"
    QString filterPattern;  // "*.kmr"
    QString fileName;       // proposed name, may hold a folder
    QString defaultSuffix;  // added when the user types a name without extension
    QString folder = {};    // where to start when `fileName` names no folder: the project's own folder
};

// Every question, message and file dialog of the application goes through here.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) = 0;
    // The chosen path, or nullopt when the user cancels.
    virtual std::optional<QString> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFile(const FileDialogOptions& options) = 0;
    // An existing folder, starting at `start` (empty: the folder chosen last); nullopt when the user
    // cancels.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& start) = 0;
};

// The real dialogs, with Spanish button captions. The save dialog never asks about overwriting:
// the commands ask themselves.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& start) override;

private:
    std::optional<QString> runFileDialog(const FileDialogOptions& options, bool save);

    QWidget* m_parent;
    RecentFolders m_recent;
};

}  // namespace kmr::gui
