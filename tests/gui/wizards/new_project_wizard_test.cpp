// The new-project wizard on its own: pages, buttons and hints, the template list, the menu page with
// the menu editor, and the close question.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

#include "base/image_list.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/dialog_fixture.h"
#include "editing/menu_editor_dialog.h"
#include "support/frame_fixture.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_fixture.h"

namespace kmr::gui::test {
namespace {

class WizardTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_builder = std::make_unique<CommandBuilderDialog>(m_shared.edit, m_prompts);
        m_editor = std::make_unique<MenuEditorDialog>(m_shared.edit, m_prompts, *m_builder);
        m_wizard = std::make_unique<NewProjectWizard>(m_shared, m_prompts, m_images, *m_editor, *m_builder);
        m_wizard->setProgramFolder(m_dir.path());
    }
    void TearDown() override {
        if (m_wizard->isVisible()) {
            ADD_FAILURE() << "the wizard is still open";
            m_wizard->hide();
        }
        m_wizard.reset();
        m_editor.reset();
        DialogTest::TearDown();
    }

    NewProjectWizard& w() { return *m_wizard; }
    template <class T>
    T& at(const char* name) {
        return control<T>(w(), name);
    }
    void press(const char* button) { at<QPushButton>(button).click(); }
    void run(const char* command) { at<QAction>(command).trigger(); }
    // Leaves with Yes to the close question.
    void leave() {
        m_prompts.answer(Answer::Yes);
        press("Cancelar");
    }
    QListWidget& templateList() { return at<QListWidget>("Plantillas"); }
    std::vector<kmr::WizardMenu> menus() { return w().data().menus; }
    // The menus' kinds, "D" for the default and "p" for a plain one.
    QString kinds() {
        QString k;
        for (const kmr::WizardMenu& m : menus()) k += QLatin1Char(m.kind == kmr::Kind::DefaultMenu ? 'D' : 'p');
        return k;
    }

    // The next menu editor: records what it showed, applies `change`, then accepts or cancels.
    void nextMenu(std::function<void(MenuEntry&)> change, bool accept = true) {
        m_editorRan = actOnNextModal([this, change = std::move(change), accept](QWidget* dialog) {
            auto& editor = static_cast<MenuEditorDialog&>(*dialog);
            MenuEntry e = editor.entry();
            m_shownMenus.push_back(e);
            EXPECT_EQ(m_shared.edit.editContext, kEditFromWizard);
            change(e);
            editor.setEntry(e);
            control<QPushButton>(*dialog, accept ? "Aceptar" : "Cancelar").click();
        });
    }
    // `command` with the next menu editor changed by `change`.
    void runWithEditor(const char* command, std::function<void(MenuEntry&)> change, bool accept = true) {
        nextMenu(std::move(change), accept);
        run(command);
        EXPECT_TRUE(*m_editorRan) << command;
    }
    void newMenu(const QString& name = {}, bool isDefault = false) {
        runWithEditor("Nuevo", [&](MenuEntry& e) {
            if (!name.isEmpty()) e.internalName = name;
            e.isDefault = isDefault;
        });
    }
    // As the mouse does it: a click, then the second press that is the double click, and its release.
    void doubleClick(const QPoint& pos) {
        QWidget* viewport = templateList().viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, pos);
    }
    QPoint templateAt(int row) { return templateList().visualItemRect(templateList().item(row)).center(); }
    void applyInstaller() {
        writeBytes(m_dir.filePath(QStringLiteral("a.kmrt")), kInstallerTemplate);
        w().show();
        ASSERT_EQ(templateList().count(), 1);
        QTest::mouseClick(templateList().viewport(), Qt::LeftButton, {}, templateAt(0));
    }

    QTemporaryDir m_dir;
    ScopedDataHome m_dataHome{m_dir.filePath(QStringLiteral("datos"))};
    SharedValues m_shared;
    ImageList m_images;
    std::unique_ptr<MenuEditorDialog> m_editor;
    std::unique_ptr<NewProjectWizard> m_wizard;
    std::shared_ptr<bool> m_editorRan;
    std::vector<MenuEntry> m_shownMenus;
};

TEST_F(WizardTest, PagesButtonsCommandsAndStatusLine) {
    EXPECT_EQ(w().objectName(), QStringLiteral("TForm2"));
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Asistente de Quillmere"));
    EXPECT_EQ(at<QStackedWidget>("Paginas").count(), 4);
    EXPECT_TRUE(w().findChildren<QTabBar*>().isEmpty());
    // The tool bar and the context menu: the same six commands with separators at the same places.
    for (const QList<QAction*>& actions :
         {at<QToolBar>("BarraMenus").actions(), at<QMenu>("MenuContextual").actions()}) {
        QStringList names;
        for (const QAction* a : actions) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("Nuevo - Propiedades Eliminar - Subir Bajar - Clave"));
    }

    w().show();
    struct Step {
        const char* button;
        int page;
        bool previous;
        const char* main;
    };
    const std::vector<Step> steps = {
        {nullptr, 0, false, "Siguiente"},    {"Siguiente", 1, true, "Siguiente"}, {"Anterior", 0, false, "Siguiente"},
        {"Siguiente", 1, true, "Siguiente"}, {"Siguiente", 2, true, "Siguiente"}, {"Siguiente", 3, true, "Finalizar"},
        {"Anterior", 2, true, "Siguiente"},  {"Siguiente", 3, true, "Finalizar"},
    };
    for (const Step& s : steps) {
        if (s.button != nullptr) press(s.button);
        SCOPED_TRACE(s.page);
        EXPECT_EQ(w().currentPage(), s.page);
        EXPECT_EQ(at<QPushButton>("Anterior").isEnabled(), s.previous);
        EXPECT_EQ(plain(at<QPushButton>("Siguiente").text()), QString::fromLatin1(s.main));
    }
    EXPECT_EQ(at<QPlainTextEdit>("Resumen").toPlainText(),
              QStringLiteral("  No ha introducido datos. El proyecto está en blanco."));

    // The status line shows the long part of a hint, the tool tip the short one.
    auto hover = [](QWidget* target) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(target, &enter);
    };
    hover(&at<QCheckBox>("Recurso"));
    EXPECT_EQ(at<QLabel>("Estado").text(),
              QStringLiteral("Debe seleccionarlo para ficheros no ejecutables o páginas web"));
    QWidget* nuevo = at<QToolBar>("BarraMenus").widgetForAction(&at<QAction>("Nuevo"));
    EXPECT_EQ(nuevo->toolTip(), QStringLiteral("Nuevo"));
    hover(nuevo);
    EXPECT_EQ(at<QLabel>("Estado").text(), QStringLiteral("Crea un nuevo menú y lo añade al final de la lista"));
    emit at<QMenu>("MenuContextual").hovered(&at<QAction>("Clave"));
    EXPECT_EQ(at<QLabel>("Estado").text(), QStringLiteral("Fija el menú seleccionado como predeterminado"));

    press("Siguiente");
    EXPECT_FALSE(w().isVisible());
    EXPECT_TRUE(m_shared.wizardFinished);
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(WizardTest, TheLongestHintAndAUsualMenuShowWhole) {
    w().show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&at<QPushButton>("Siguiente"), &enter);
    const auto& status = at<QLabel>("Estado");
    ASSERT_TRUE(status.text().endsWith(QStringLiteral("(según texto)")));
    const QRect room = status.contentsRect();
    EXPECT_LE(status.fontMetrics().boundingRect(room, Qt::TextWordWrap, status.text()).height(), room.height());

    press("Siguiente");
    press("Siguiente");
    runWithEditor("Nuevo", [](MenuEntry& e) { e.command = QStringLiteral("explorer \"%1\\leeme.txt\""); });
    const auto& list = at<QTreeWidget>("ListaMenus");
    const QAbstractItemView& view = list;
    for (const int column : {0, 1}) EXPECT_LE(view.sizeHintForColumn(column), list.columnWidth(column)) << column;
    leave();
}

TEST_F(WizardTest, TemplateClickFillsEverythingAndEmptySpaceClearsOnlyTheExplanation) {
    writeBytes(m_dir.filePath(QStringLiteral("a.kmrt")), kInstallerTemplate);
    // No name, and a picture number that the wizard's picture list (picture 0 only) does not hold.
    writeBytes(m_dir.filePath(QStringLiteral("b.KMRT")),
               "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\nIcona=7\r\n"
               "[ParametresGenerals]\r\nEtiqueta=DATOS\r\n");
    w().show();
    ASSERT_EQ(templateList().count(), 2);
    EXPECT_EQ(templateList().item(1)->text(), QStringLiteral("Modelo 1"));
    EXPECT_FALSE(templateList().item(0)->icon().isNull());
    EXPECT_TRUE(templateList().item(1)->icon().isNull());

    QTest::mouseClick(templateList().viewport(), Qt::LeftButton, {}, templateAt(0));
    EXPECT_EQ(at<QPlainTextEdit>("Explicacion").toPlainText(), QStringLiteral("Un disco que instala un programa."));
    EXPECT_EQ(at<QLineEdit>("Icono").text(), QStringLiteral("setup.exe,0"));
    EXPECT_EQ(menuRows(menus()), (QStringList{QStringLiteral("Léame|notepad leame.txt|leame|6"),
                                              QStringLiteral("Instalar|setup.exe|instalar|20")}));
    EXPECT_EQ(at<QTreeWidget>("ListaMenus").topLevelItem(1)->icon(0).cacheKey(), m_images.icon(20).cacheKey());
    // The next template replaces fields and menus; empty space clears only the explanation, and a
    // double click there does nothing.
    QTest::mouseClick(templateList().viewport(), Qt::LeftButton, {}, templateAt(1));
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QString());
    EXPECT_TRUE(menus().empty());
    const QPoint empty(templateList().viewport()->width() - 2, templateList().viewport()->height() - 2);
    ASSERT_EQ(templateList().itemAt(empty), nullptr);
    doubleClick(empty);
    EXPECT_EQ(at<QPlainTextEdit>("Explicacion").toPlainText(), QString());
    EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QStringLiteral("DATOS"));
    EXPECT_EQ(w().currentPage(), NewProjectWizard::Bienvenido);
    // A double click on a template applies it and moves on as the main button does.
    doubleClick(templateAt(0));
    EXPECT_EQ(w().currentPage(), NewProjectWizard::DatosGenerales);
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("setup.exe"));
    leave();
}

// Arrow keys pick a template as a click does, Enter then goes on with its data; the list shows no
// current item before a choice; each showing starts on the list, and F1 asks for the wizard's topic.
TEST_F(WizardTest, TheKeyboardPicksATemplateAsAClickDoesAndF1AsksForHelp) {
    writeBytes(m_dir.filePath(QStringLiteral("a.kmrt")), kInstallerTemplate);
    writeBytes(m_dir.filePath(QStringLiteral("b.kmrt")),
               "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\nNom=Datos\r\nIcona=0\r\n"
               "[ParametresGenerals]\r\nEtiqueta=DATOS\r\n");
    QSignalSpy help(&w(), &NewProjectWizard::helpRequested);
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        w().show();
        QApplication::setActiveWindow(&w());
        QApplication::processEvents();
        ASSERT_EQ(templateList().count(), 2);
        EXPECT_EQ(w().focusWidget(), &templateList());
        EXPECT_FALSE(templateList().currentIndex().isValid()) << "a current item before any choice";
        EXPECT_TRUE(templateList().selectedItems().isEmpty());

        const struct {
            Qt::Key key;
            const char* label;
            const char* program;
        } steps[] = {
            {Qt::Key_Right, "Instalación", "setup.exe"},
            {Qt::Key_Right, "DATOS", ""},
            {Qt::Key_Left, "Instalación", "setup.exe"},
        };
        for (const auto& step : steps) {
            QTest::keyClick(&templateList(), step.key);
            EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QString::fromUtf8(step.label));
            EXPECT_EQ(at<QLineEdit>("Programa").text(), QString::fromUtf8(step.program));
        }
        EXPECT_EQ(at<QPlainTextEdit>("Explicacion").toPlainText(), QStringLiteral("Un disco que instala un programa."));
        EXPECT_EQ(menus().size(), 2U);
        QTest::keyClick(&templateList(), Qt::Key_Return);
        EXPECT_EQ(w().currentPage(), NewProjectWizard::DatosGenerales);
        EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("setup.exe"));

        // Leaves the focus on the label field: the next showing must not start there.
        at<QLineEdit>("Etiqueta").setFocus();
        QTest::keyClick(&at<QLineEdit>("Etiqueta"), Qt::Key_F1);
        ASSERT_EQ(help.size(), showing + 1);
        EXPECT_EQ(help.last().at(0).toInt(), kWizardHelpContext);
        leave();
    }
}

TEST_F(WizardTest, NewMenusTakeTheSmallestFreeNumberAndTheListIsTheEditorsNameSource) {
    w().show();
    newMenu();
    newMenu();
    ASSERT_EQ(m_shownMenus.size(), 2U);
    EXPECT_EQ(m_shownMenus[0], (MenuEntry{QStringLiteral("Texto a mostrar del menú"), QStringLiteral("programa.exe"),
                                          QStringLiteral("Menu1"), false}));
    EXPECT_EQ(m_shownMenus[1].internalName, QStringLiteral("Menu2"));
    // Renamed to "Menu7" in its properties, the first frees "Menu1" again.
    w().selectMenu(0);
    runWithEditor("Propiedades", [](MenuEntry& e) { e.internalName = QStringLiteral("Menu7"); });
    EXPECT_EQ(m_shared.edit.initialInternalName, QStringLiteral("Menu1"));
    newMenu();
    EXPECT_EQ(m_shownMenus.back().internalName, QStringLiteral("Menu1"));
    QStringList names;
    for (const kmr::WizardMenu& m : menus()) names << qs(m.name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Menu7"), QStringLiteral("Menu2"), QStringLiteral("Menu1")}));
    // A name the list holds is refused by the editor.
    runWithEditor("Nuevo", [](MenuEntry& e) { e.internalName = QStringLiteral("Menu2"); });
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Atención|No puede utilizar el mismo nombre para varios menús. "
                                                  "Cambie el nombre interno del menú.")});
    EXPECT_EQ(menus().size(), 3U);
    leave();
}

TEST_F(WizardTest, ClaveFollowsTheSelectionTheNewMenusBoxAndThePropertiesBox) {
    w().show();
    QAction& clave = at<QAction>("Clave");
    newMenu(QStringLiteral("a"));
    newMenu(QStringLiteral("b"));
    w().selectMenu(0);
    run("Clave");
    EXPECT_EQ(kinds(), QStringLiteral("Dp"));
    EXPECT_TRUE(clave.isChecked());
    w().selectMenu(1);
    EXPECT_FALSE(clave.isChecked());
    w().selectMenu(0);
    EXPECT_TRUE(clave.isChecked());
    // A cancelled new menu with the box checked changes no default; an accepted one becomes the only
    // default, selected, with "Clave" pressed and the default's picture.
    runWithEditor(
        "Nuevo", [](MenuEntry& e) { e.isDefault = true; }, false);
    EXPECT_EQ(kinds(), QStringLiteral("Dp"));
    newMenu(QStringLiteral("c"), true);
    EXPECT_EQ(kinds(), QStringLiteral("ppD"));
    EXPECT_EQ(w().selectedMenu(), 2);
    EXPECT_TRUE(clave.isChecked());
    EXPECT_EQ(at<QTreeWidget>("ListaMenus").topLevelItem(2)->icon(0).cacheKey(), m_images.icon(20).cacheKey());

    // "Propiedades" toggles only when its box was changed.
    struct Case {
        int row;
        bool box;
        bool accept;
        const char* kinds;
    };
    const std::vector<Case> cases = {
        {2, true, true, "ppD"},   // the default, box left checked
        {0, true, false, "ppD"},  // cancelled
        {0, true, true, "Dpp"},   // checked: the only default
        {0, false, true, "ppp"},  // cleared: no default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kinds);
        w().selectMenu(c.row);
        runWithEditor(
            "Propiedades", [&c](MenuEntry& e) { e.isDefault = c.box; }, c.accept);
        EXPECT_EQ(kinds(), QLatin1String(c.kinds));
        EXPECT_EQ(w().selectedMenu(), c.row);
    }
    EXPECT_TRUE(m_shownMenus.at(m_shownMenus.size() - 4).isDefault);
    // Without a selection "Clave" does nothing and stays released.
    w().selectMenu(-1);
    run("Clave");
    EXPECT_FALSE(clave.isChecked());
    EXPECT_EQ(kinds(), QStringLiteral("ppp"));
    leave();
}

TEST_F(WizardTest, MovesStayAmongTheMenusAndDeleteAsks) {
    applyInstaller();
    newMenu(QStringLiteral("tres"));
    auto names = [this] {
        QStringList n;
        for (const kmr::WizardMenu& m : menus()) n << qs(m.name + (m.kind == kmr::Kind::DefaultMenu ? "*" : ""));
        return n.join(QLatin1Char(' '));
    };
    struct Case {
        int select;
        const char* command;
        const char* names;
        int selected;
    };
    const std::vector<Case> cases = {
        {0, "Subir", "leame instalar* tres", 0},  // the first cannot go up
        {2, "Bajar", "leame instalar* tres", 2},  // the last cannot go down
        {1, "Subir", "instalar* leame tres", 0}, {0, "Bajar", "leame instalar* tres", 1},
        {1, "Bajar", "leame tres instalar*", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        w().selectMenu(c.select);
        run(c.command);
        EXPECT_EQ(names(), QLatin1String(c.names));
        EXPECT_EQ(w().selectedMenu(), c.selected);
    }
    m_prompts.answer(Answer::No);
    run("Eliminar");
    EXPECT_EQ(names(), QStringLiteral("leame tres instalar*"));
    m_prompts.answer(Answer::Yes);
    run("Eliminar");
    EXPECT_EQ(names(), QStringLiteral("leame tres"));
    EXPECT_EQ(shown(), QStringList(2, QStringLiteral("Confirmación|¿Seguro que desea eliminar el menú seleccionado?")));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
    leave();
}

TEST_F(WizardTest, TheCloseQuestionsNoKeepsEverything) {
    applyInstaller();
    press("Siguiente");
    press("Siguiente");
    w().selectMenu(1);
    const QStringList before = menuRows(menus());
    const std::vector<std::function<void()>> closes = {[this] { press("Cancelar"); }, [this] { w().close(); },
                                                       [this] { QTest::keyClick(&w(), Qt::Key_Escape); }};
    for (const auto& close : closes) {
        m_prompts.messages.clear();
        m_prompts.answer(Answer::No);
        close();
        EXPECT_EQ(shown(), QStringList{QStringLiteral("Atención|Si abandona así el asistente no se guardará la "
                                                      "información recopilada. ¿Desea salir sin guardar?")});
        EXPECT_EQ(m_prompts.messages.at(0).icon, MessageIcon::Warning);
        EXPECT_EQ(m_prompts.messages.at(0).buttons, MessageButtons::YesNo);
        EXPECT_TRUE(w().isVisible());
        EXPECT_EQ(w().currentPage(), NewProjectWizard::Menus);
        EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QStringLiteral("Instalación"));
        EXPECT_EQ(menuRows(menus()), before);
        EXPECT_EQ(w().selectedMenu(), 1);
    }
    leave();
    EXPECT_FALSE(w().isVisible());
    EXPECT_FALSE(m_shared.wizardFinished);
}

}  // namespace
}  // namespace kmr::gui::test
