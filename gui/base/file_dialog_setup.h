#pragma once
// What the real file dialogs add to Qt's own: Spanish dates and sizes whatever LANG says, columns wide
// enough for their Spanish headers, and the folder each kind of file was last taken from.

#include <QHash>
#include <QIdentityProxyModel>
#include <QString>

class QFileDialog;

namespace kmr::gui {

struct FileDialogOptions;

// Shows the file list's sizes and dates in Spanish: Qt writes them in the system's language.
class SpanishFileListModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

// Puts the Spanish file list into a (non-native) dialog and widens the columns of its detail view to
// their headers.
void prepareFileDialog(QFileDialog& dialog);

// The folder a file dialog starts in: the one its proposed name holds when that is absolute, else the
// one the command names (the project's own folder), else the one last used for that kind of file;
// empty for the dialog's own default.
QString startFolder(const FileDialogOptions& options, const QString& lastUsed);

// The folders last used, by kind of file (its filter pattern), for this run of the program.
class RecentFolders {
public:
    QString folderFor(const QString& kind) const { return m_folders.value(kind); }
    void remember(const QString& kind, const QString& chosenPath, bool isFolder);

private:
    QHash<QString, QString> m_folders;
};

}  // namespace kmr::gui
