#include "base/file_dialog_setup.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

#include "base/prompts.h"

namespace kmr::gui {
namespace {

// The columns of Qt's file list.
enum Column { kName = 0, kSize = 1, kType = 2, kDate = 3 };

}  // namespace

QVariant SpanishFileListModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || (index.column() != kSize && index.column() != kDate)) {
        return QIdentityProxyModel::data(index, role);
    }
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    const QModelIndex source = mapToSource(index);
    const QFileInfo info = files->fileInfo(source);
    if (index.column() == kDate) return spanish.toString(info.lastModified(), QLocale::ShortFormat);
    // Folders have no size in the list.
    if (files->isDir(source)) return QIdentityProxyModel::data(index, role);
    return spanish.formattedDataSize(info.size());
}

void prepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* spanish = new SpanishFileListModel(&dialog);
    dialog.setProxyModel(spanish);
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (list == nullptr) return;
    QHeaderView* header = list->header();
    const QFontMetrics metrics(header->font());
    for (int column = 0; column < header->count(); ++column) {
        const QString title = list->model()->headerData(column, Qt::Horizontal).toString();
        // Room for the text, the margins and the sort arrow.
        const int wanted = metrics.horizontalAdvance(title) + 2 * metrics.averageCharWidth() + 24;
        if (header->sectionSize(column) < wanted) header->resizeSection(column, wanted);
    }
}

QString startFolder(const FileDialogOptions& options, const QString& lastUsed) {
    const QFileInfo proposed(options.fileName);
    if (!options.fileName.isEmpty() && proposed.isAbsolute()) return proposed.absolutePath();
    if (!options.folder.isEmpty()) return options.folder;
    return lastUsed;
}

void RecentFolders::remember(const QString& kind, const QString& chosenPath, bool isFolder) {
    const QFileInfo info(chosenPath);
    m_folders.insert(kind, isFolder ? info.absoluteFilePath() : info.absolutePath());
}

}  // namespace kmr::gui
