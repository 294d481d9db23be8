#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "autorun/conflicts_dialog.h"
#include "base/image_list.h"

namespace kmr::gui {
namespace {

TEST(ConflictsDialogTest, ListsFindingsWithPicturesAndExplainsTheClickedOne) {
    ImageList images;
    ConflictsDialog dialog(images);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Conflictos"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a fixed frame";
    dialog.setFindings({kmr::Finding::IncompatibleObjects, kmr::Finding::XpOnlyResource});
    QListWidget* list = dialog.listView();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Objetos incompatibles"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Autorun válido solo para Windows XP"));
    EXPECT_EQ(list->item(0)->icon().pixmap(16).toImage(), images.pixmap(29).toImage());
    EXPECT_EQ(list->item(1)->icon().pixmap(16).toImage(), images.pixmap(28).toImage());
    EXPECT_TRUE(dialog.explanation()->toPlainText().isEmpty()) << "nothing is explained before a click";
    EXPECT_TRUE(dialog.explanation()->isReadOnly());

    list->setCurrentRow(1);
    EXPECT_EQ(dialog.explanation()->toPlainText(),
              QStringLiteral("  Es posible que el CD que albergue este autorun sólo funcione bajo Windows XP en la "
                             "ejecución del recurso.\n  Para evitar esto utilice la compatibilidad con Windows 95 (no "
                             "utilizando \"recurso asociado a programa\")."));
    list->clearSelection();
    EXPECT_TRUE(dialog.explanation()->toPlainText().isEmpty());

    // Refilling empties the box again.
    list->setCurrentRow(0);
    dialog.setFindings({kmr::Finding::NoResource});
    EXPECT_TRUE(dialog.explanation()->toPlainText().isEmpty());
    EXPECT_EQ(dialog.findingCount(), 1);
}

TEST(ConflictsDialogTest, ContinueSetsTheResultAndEachShowingStartsFromStop) {
    ImageList images;
    ConflictsDialog dialog(images);
    dialog.setFindings({kmr::Finding::NoResource});
    dialog.show();
    EXPECT_EQ(dialog.result(), ConflictsDialog::Result::Stop);
    dialog.findChild<QPushButton*>(QStringLiteral("SpeedButton1"))->click();
    EXPECT_EQ(dialog.result(), ConflictsDialog::Result::Continue);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    EXPECT_EQ(dialog.result(), ConflictsDialog::Result::Stop) << "a previous Continuar never carries over";
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("SpeedButton2"))->text(), QStringLiteral("Cancelar"));
    dialog.findChild<QPushButton*>(QStringLiteral("SpeedButton2"))->click();
    EXPECT_EQ(dialog.result(), ConflictsDialog::Result::Stop);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace kmr::gui
