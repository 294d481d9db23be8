// The real file dialogs: Spanish sizes and dates whatever the system's language, headers that fit,
// and the folder each dialog starts in.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>

#include "base/file_dialog_setup.h"
#include "base/prompts.h"

namespace kmr::gui {
namespace {

TEST(FileDialogSetup, StartsWhereTheNameTheProjectOrTheLastChoiceSays) {
    struct Case {
        QString fileName;
        QString folder;
        QString lastUsed;
        QString start;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/discos/uno/autorun.inf"), QStringLiteral("/proyectos"), QStringLiteral("/antes"),
         QStringLiteral("/discos/uno")},
        {QStringLiteral("autorun.inf"), QStringLiteral("/proyectos"), QStringLiteral("/antes"),
         QStringLiteral("/proyectos")},
        {QStringLiteral("autorun.inf"), QString(), QStringLiteral("/antes"), QStringLiteral("/antes")},
        {QString(), QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        FileDialogOptions options;
        options.fileName = c.fileName;
        options.folder = c.folder;
        EXPECT_EQ(startFolder(options, c.lastUsed), c.start) << c.fileName.toStdString();
    }
}

TEST(FileDialogSetup, SizesAndDatesAreSpanishWhateverTheSystemSays) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("datos.bin")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1536 * 1024, 'x'));
    file.close();
    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    files.setRootPath(dir.path());
    ASSERT_TRUE(loaded.wait(5000));
    SpanishFileListModel spanish;
    spanish.setSourceModel(&files);
    const QModelIndex name = spanish.mapFromSource(files.index(file.fileName()));
    ASSERT_TRUE(name.isValid());
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    EXPECT_EQ(spanish.index(name.row(), 1, name.parent()).data().toString(), es.formattedDataSize(1536 * 1024));
    EXPECT_EQ(spanish.index(name.row(), 3, name.parent()).data().toString(),
              es.toString(QFileInfo(file.fileName()).lastModified(), QLocale::ShortFormat));
}

TEST(FileDialogSetup, ColumnsAreWideEnoughForTheirHeaders) {
    QFileDialog dialog;
    prepareFileDialog(dialog);
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    QHeaderView* header = list->header();
    const QFontMetrics metrics(header->font());
    for (int column = 0; column < header->count(); ++column) {
        const QString title = list->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_GT(header->sectionSize(column), metrics.horizontalAdvance(title)) << title.toStdString();
    }
}

}  // namespace
}  // namespace kmr::gui
