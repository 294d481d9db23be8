// The frame's tables against what they build: the command table against the actions, menus and tool bars,
// the option table against the options dialog and the settings key.

#include <QCheckBox>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QToolBar>

#include "frame/options_dialog.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

using FrameTablesTest = FrameTest;

// Every row makes its own action; a picture is one the list draws, shown with a hint; whatever a tool bar
// shows has a picture, whatever a menu shows a caption; an object command has no shortcut, which could
// reach it while it is hidden; and no two keys of the frame (shortcuts and the menus' Alt keys) are one.
TEST_F(FrameTablesTest, EveryActionOfTheCommandTableIsWholeAndNoTwoKeysClash) {
    MainWindow& f = makeFrame();
    QSet<QString> names;
    for (const FrameAction& row : MainWindow::actionTable()) {
        SCOPED_TRACE(row.name);
        const QString name = QLatin1String(row.name);
        EXPECT_FALSE(names.contains(name)) << "a second row of that name";
        names << name;
        QAction* a = f.action(row.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a, f.findChild<QAction*>(name)) << "another action of that name";
        if (row.picture != Picture::None) {
            EXPECT_TRUE(ImageList::has(static_cast<int>(row.picture)));
            EXPECT_NE(row.toolTip, nullptr) << "a picture without a hint";
        }
        EXPECT_TRUE(row.offered == nullptr || row.shortcut == kNoKey);
    }
    EXPECT_EQ(f.action("Nada1"), nullptr);

    for (const QToolBar* bar : f.findChildren<QToolBar*>()) {
        for (const QAction* a : bar->actions()) {
            EXPECT_TRUE(a->isSeparator() || a->objectName().isEmpty() || !a->icon().isNull())
                << a->objectName().toStdString();
        }
    }
    for (const QMenu* menu : f.findChildren<QMenu*>()) {
        for (const QAction* a : menu->actions()) {
            EXPECT_TRUE(a->isSeparator() || a->menu() != nullptr || !a->text().isEmpty() ||
                        a->objectName().startsWith(QLatin1String("link")))
                << a->objectName().toStdString();
        }
    }

    QMap<QKeySequence, QString> keys;
    const auto take = [&keys](const QKeySequence& key, const QString& owner) {
        if (key.isEmpty()) return;
        EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString() << ": " << owner.toStdString() << " and "
                                         << keys.value(key).toStdString();
        keys.insert(key, owner);
    };
    for (const QAction* a : f.menuBar()->actions()) take(QKeySequence::mnemonic(a->text()), a->text());
    for (const QAction* a : f.findChildren<QAction*>()) {
        for (const QKeySequence& key : a->shortcuts()) take(key, a->objectName());
    }
}

QWidget* control(QDialog* dialog, const OptionKey& k) { return dialog->findChild<QWidget*>(QLatin1String(k.name)); }

// What a control of the dialog shows, as the settings key would hold it.
QString shown(QDialog* dialog, const OptionKey& k) {
    if (std::holds_alternative<qint32 Options::*>(k.field)) {
        for (int i = 0; i < 5; ++i) {
            if (dialog->findChild<QRadioButton*>(QStringLiteral("Sitio%1").arg(i))->isChecked())
                return QString::number(i);
        }
        return QStringLiteral("none");
    }
    if (auto* box = qobject_cast<QCheckBox*>(control(dialog, k))) return QString::number(box->isChecked() ? 1 : 0);
    if (auto* line = qobject_cast<QLineEdit*>(control(dialog, k))) return line->text();
    return QStringLiteral("no control");
}

QString asStored(const OptionValue& v) {
    if (const bool* b = std::get_if<bool>(&v)) return QString::number(*b ? 1 : 0);
    if (const qint32* n = std::get_if<qint32>(&v)) return QString::number(*n);
    return QString::fromUtf8(std::get<const char*>(v));
}

// Each option has its control in the dialog, named after its value, in its design state until the first
// read; start-up stores the defaults it writes, a missing value reads as its default, and "Aceptar" stores
// what every control holds.
TEST_F(FrameTablesTest, TheOptionTableMatchesTheOptionsDialogAndTheKey) {
    MainWindow& f = makeFrame();
    OptionsDialog* dialog = f.optionsDialog();
    for (const OptionKey& k : optionKeys()) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.field.index(), k.storedDefault.index());
        EXPECT_EQ(k.field.index(), k.designState.index());
        EXPECT_EQ(shown(dialog, k), asStored(k.designState));
    }
    EXPECT_EQ(f.options(), designedOptions()) << "the frame holds the design state until it reads";

    ASSERT_TRUE(f.startUp());
    for (const OptionKey& k : optionKeys()) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(key().readText(QLatin1String(k.name), QStringLiteral("none")),
                  k.writtenAtStartUp ? asStored(k.storedDefault) : QStringLiteral("none"));
    }
    key().writeBool(QStringLiteral("Asistente"), false);
    key().writeBool(QStringLiteral("Bienvenida"), false);
    f.show();
    f.firstActivation();

    QMap<QString, QString> flipped;  // what "Aceptar" has to store
    onNextModal([&flipped](QWidget* d) {
        for (QCheckBox* box : d->findChildren<QCheckBox*>()) {
            box->setChecked(!box->isChecked());
            flipped.insert(box->objectName(), QString::number(box->isChecked() ? 1 : 0));
        }
        d->findChild<QRadioButton*>(QStringLiteral("Sitio4"))->setChecked(true);
        d->findChild<QLineEdit*>(QStringLiteral("Otro"))->setText(QStringLiteral("http://espejo.example/"));
        d->findChild<QPushButton*>(QStringLiteral("Aceptar"))->click();
    });
    f.showOptions();
    flipped.insert(QStringLiteral("Actualizar"), QStringLiteral("4"));
    flipped.insert(QStringLiteral("Otro"), QStringLiteral("http://espejo.example/"));
    for (const OptionKey& k : optionKeys()) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(key().readText(QLatin1String(k.name)), flipped.value(QLatin1String(k.name), QStringLiteral("?")));
        EXPECT_EQ(shown(dialog, k), flipped.value(QLatin1String(k.name))) << "the dialog shows what was stored";
    }
    EXPECT_EQ(f.options(), readOptions(key()));
    EXPECT_EQ(f.options().siteAddress(), QStringLiteral("http://espejo.example/"));
}

}  // namespace
}  // namespace kmr::gui::test
