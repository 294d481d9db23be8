// The new-project wizard on its own: pages and buttons, the template list, the menu page with the
// menu editor, the close question, the hand-over to the frame's commands and the hints.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <optional>
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

const QString kLeave = QStringLiteral(
    "Atención|Si abandona así el asistente no se guardará la información recopilada. ¿Desea salir sin guardar?");
const QString kBlank = QStringLiteral("  No ha introducido datos. El proyecto está en blanco.");

class WizardTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        // The user's own template folder must not reach the tests.
        if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("datos")).toLocal8Bit());
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
        if (m_oldDataHome) {
            qputenv("XDG_DATA_HOME", *m_oldDataHome);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }

    NewProjectWizard& w() { return *m_wizard; }
    template <class T>
    T& at(const char* name) {
        return control<T>(w(), name);
    }
    void press(const char* button) { at<QPushButton>(button).click(); }
    void run(const char* command) { at<QAction>(command).trigger(); }
    QString mainText() { return plain(at<QPushButton>("Siguiente").text()); }
    QTreeWidget& menuList() { return at<QTreeWidget>("ListaMenus"); }
    QListWidget& templateList() { return at<QListWidget>("Plantillas"); }
    std::vector<kmr::WizardMenu> menus() { return w().data().menus; }
    QString summary() { return at<QPlainTextEdit>("Resumen").toPlainText(); }

    // The next menu editor: records what it showed, applies `change`, then accepts or cancels.
    std::shared_ptr<bool> nextMenu(std::function<void(MenuEntry&)> change, bool accept = true) {
        return actOnNextModal([this, change = std::move(change), accept](QWidget* dialog) {
            auto& editor = static_cast<MenuEditorDialog&>(*dialog);
            MenuEntry e = editor.entry();
            m_shownMenus.push_back(e);
            m_shownContexts.push_back(m_shared.edit.editContext);
            change(e);
            editor.setEntry(e);
            control<QPushButton>(*dialog, accept ? "Aceptar" : "Cancelar").click();
        });
    }
    // "Nuevo" accepted as the editor offers it, or with the internal name given.
    void newMenu(const QString& name = {}, bool isDefault = false) {
        auto ran = nextMenu([&](MenuEntry& e) {
            if (!name.isEmpty()) e.internalName = name;
            e.isDefault = isDefault;
        });
        run("Nuevo");
        EXPECT_TRUE(*ran);
    }
    // As the mouse does it: a click, then the second press that is the double click, then its release.
    void doubleClick(const QPoint& pos) {
        QListWidget& list = templateList();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, pos);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, pos);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, pos);
    }
    void clickTemplate(int row) {
        QListWidget& list = templateList();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
    }
    // Writes the installer template into the program folder and applies it.
    void applyInstaller() {
        writeTemplate(m_dir.filePath(QStringLiteral("a.kmrt")), installerTemplate());
        w().show();
        ASSERT_EQ(templateList().count(), 1);
        clickTemplate(0);
    }

    QTemporaryDir m_dir;
    std::optional<QByteArray> m_oldDataHome;
    SharedValues m_shared;
    ImageList m_images;
    std::unique_ptr<MenuEditorDialog> m_editor;
    std::unique_ptr<NewProjectWizard> m_wizard;
    std::vector<MenuEntry> m_shownMenus;
    std::vector<int> m_shownContexts;
};

TEST_F(WizardTest, FourPagesWithoutTabsWalkedByTheButtons) {
    EXPECT_EQ(w().objectName(), QStringLiteral("TForm2"));
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Asistente de Quillmere"));
    const auto& pages = at<QStackedWidget>("Paginas");
    ASSERT_EQ(pages.count(), 4);
    const QStringList captions = {QStringLiteral("Bienvenido"), QStringLiteral("Datos generales"),
                                  QStringLiteral("Menús"), QStringLiteral("Finalizar")};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pages.widget(i)->accessibleName(), captions[i]);
    EXPECT_TRUE(w().findChildren<QTabBar*>().isEmpty());

    w().show();
    struct Step {
        const char* button;
        int page;
        bool previous;
        const char* main;
    };
    const std::vector<Step> steps = {
        {nullptr, 0, false, "Siguiente"},    {"Siguiente", 1, true, "Siguiente"}, {"Siguiente", 2, true, "Siguiente"},
        {"Siguiente", 3, true, "Finalizar"}, {"Anterior", 2, true, "Siguiente"},  {"Anterior", 1, true, "Siguiente"},
        {"Anterior", 0, false, "Siguiente"}, {"Siguiente", 1, true, "Siguiente"},
    };
    for (const Step& s : steps) {
        if (s.button != nullptr) press(s.button);
        SCOPED_TRACE(s.page);
        EXPECT_EQ(w().currentPage(), s.page);
        EXPECT_EQ(at<QPushButton>("Anterior").isEnabled(), s.previous);
        EXPECT_EQ(mainText(), QString::fromLatin1(s.main));
    }
    EXPECT_TRUE(m_prompts.messages.empty());
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, EveryPageShowsItsTexts) {
    const std::vector<QStringList> texts = {
        {QStringLiteral("Bienvenido:"),
         QStringLiteral("Este asistente le ayudará paso a paso a crear un fichero de autoarranque para Windows. "
                        "Rellene los datos que se le soliciten y recuerde que tiene a su disposición la ayuda "
                        "contextual del sistema."),
         QStringLiteral("Tipo de autorun que desea crear:"),
         QStringLiteral("Seleccione el tipo de autorun que desea crear para que el asistente le guíe correctamente en "
                        "la selección de datos para su creación.")},
        {QStringLiteral("Introduzca los datos generales del CD"),
         QStringLiteral("Escriba aquí los principales datos para crear el nuevo CD. Puede poner un programa a ejecutar "
                        "automáticamente, un icono a mostrar y una etiqueta a mostrar en el icono del CD en el "
                        "explorador de Windows."),
         QStringLiteral("Programa a ejecutar:"), QStringLiteral("Icono a mostrar:"),
         QStringLiteral("Etiqueta a mostrar:")},
        {QStringLiteral("Comandos a incluir en el menú contextual de la unidad:"),
         QStringLiteral("En el menú contextual de la unidad de CD-ROM puede incluir funciones varias, útiles para "
                        "incluir la ejecución alternativa de otros programas o funciones."),
         QStringLiteral("Funciones a incluir en el menú contextual:")},
        {QStringLiteral("Cree su proyecto KMR"),
         QStringLiteral("Si ya ha rellenado todas las casillas solicitadas, pulse ahora sobre \"Finalizar\" para "
                        "crear el proyecto KMR con los datos introducidos.")},
    };
    const auto& pages = at<QStackedWidget>("Paginas");
    for (int i = 0; i < 4; ++i) {
        QStringList shownTexts;
        for (const QLabel* l : pages.widget(i)->findChildren<QLabel*>()) shownTexts << l->text();
        for (const QString& t : texts[static_cast<std::size_t>(i)])
            EXPECT_TRUE(shownTexts.contains(t)) << i << " " << t.toStdString();
    }
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"Abrir", "Abrir..."}, {"Importar", "Importar..."}, {"EditarPrograma", "Editar"}, {"EditarIcono", "Editar"},
        {"Ayuda", "Ayuda"},    {"Anterior", "Anterior"},    {"Siguiente", "Siguiente"},   {"Cancelar", "Cancelar"},
    };
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(plain(at<QPushButton>(name).text()), QString::fromUtf8(caption));
    EXPECT_EQ(at<QCheckBox>("NoEditar").text(), QStringLiteral("No editar"));
    EXPECT_EQ(at<QCheckBox>("Recurso").text(), QStringLiteral("Recurso con programa asociado"));
    EXPECT_EQ(menuList().headerItem()->text(0), QStringLiteral("Nombre"));
    EXPECT_EQ(menuList().headerItem()->text(1), QStringLiteral("Programa"));
    EXPECT_EQ(menuList().headerItem()->text(2), QStringLiteral("Nombre interno"));
}

TEST_F(WizardTest, StatusLineShowsTheLongHintOfTheControlUnderTheMouse) {
    w().show();
    struct Case {
        const char* name;
        QString toolTip;
        QString status;
    };
    const QString cmdHint = QStringLiteral("Pulse aquí para editar el comando de forma asistida");
    const std::vector<Case> cases = {
        {"Abrir", QStringLiteral("Abre un proyecto KMR guardado"), {}},
        {"Importar", QStringLiteral("Importa un fichero AUTORUN.INF guardado"), {}},
        {"NoEditar", QStringLiteral("No continuar con el asistente de recopilación de datos"), {}},
        {"Programa", QStringLiteral("Escriba aquí el comando que desea ejecutar"), {}},
        {"EditarPrograma", cmdHint, {}},
        {"Recurso", QStringLiteral("Debe seleccionarlo para ficheros no ejecutables o páginas web"), {}},
        {"Icono", QStringLiteral("Escriba aquí el camino del icono que desea mostrar"), {}},
        {"EditarIcono", QStringLiteral("Pulse aquí para editar el camino del icono de forma asistida"), {}},
        {"Etiqueta", QStringLiteral("Escriba aquí la etiqueta del CD que desea mostrar"), {}},
        {"ListaMenus", QStringLiteral("Lista de menús creados"), {}},
        {"Ayuda", QStringLiteral("Pulse aquí para obtener ayuda sobre el proceso de recopilación de datos"), {}},
        {"Anterior", QStringLiteral("Pulse aquí para seleccionar la pantalla anterior del asistente"), {}},
        {"Siguiente",
         QStringLiteral("Pulse aquí para seleccionar la pantalla siguiente del asistente o para finalizar el proceso "
                        "(según texto)"),
         {}},
        {"Cancelar", QStringLiteral("Pulse aquí para cancelar el proceso de recopilación de datos"), {}},
    };
    auto hover = [](QWidget* target) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(target, &enter);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget& target = at<QWidget>(c.name);
        EXPECT_EQ(target.toolTip(), c.toolTip);
        hover(&target);
        EXPECT_EQ(at<QLabel>("Estado").text(), c.status.isEmpty() ? c.toolTip : c.status);
    }

    // The tool bar's buttons show the short hint as tool tip and the long one in the status line;
    // the context menu's entries the long one.
    auto& toolBar = at<QToolBar>("BarraMenus");
    QAction& nuevo = at<QAction>("Nuevo");
    auto* button = qobject_cast<QToolButton*>(toolBar.widgetForAction(&nuevo));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Nuevo"));
    hover(button);
    EXPECT_EQ(at<QLabel>("Estado").text(), QStringLiteral("Crea un nuevo menú y lo añade al final de la lista"));
    QMenu& popup = at<QMenu>("MenuContextual");
    emit popup.hovered(&at<QAction>("Clave"));
    EXPECT_EQ(at<QLabel>("Estado").text(), QStringLiteral("Fija el menú seleccionado como predeterminado"));

    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, ToolBarAndContextMenuOfferTheSixCommandsInOrder) {
    const QStringList expected = {QStringLiteral("Nuevo"),    QStringLiteral("-"), QStringLiteral("Propiedades"),
                                  QStringLiteral("Eliminar"), QStringLiteral("-"), QStringLiteral("Subir"),
                                  QStringLiteral("Bajar"),    QStringLiteral("-"), QStringLiteral("Clave")};
    auto names = [](const QList<QAction*>& actions) {
        QStringList list;
        for (const QAction* a : actions) list << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return list;
    };
    EXPECT_EQ(names(at<QToolBar>("BarraMenus").actions()), expected);
    EXPECT_EQ(names(at<QMenu>("MenuContextual").actions()), expected);
    const std::vector<std::pair<const char*, QString>> hints = {
        {"Nuevo", QStringLiteral("Crea un nuevo menú y lo añade al final de la lista")},
        {"Propiedades", QStringLiteral("Edita las propiedades del menú seleccionado")},
        {"Eliminar", QStringLiteral("Elimina el menú seleccionado")},
        {"Subir", QStringLiteral("Sube una posición el menú seleccionado")},
        {"Bajar", QStringLiteral("Baja una posición el menú seleccionado")},
        {"Clave", QStringLiteral("Fija el menú seleccionado como predeterminado")},
    };
    for (const auto& [name, hint] : hints) {
        const QAction& a = at<QAction>(name);
        EXPECT_EQ(a.text(), QLatin1Char('&') + QLatin1String(name));
        EXPECT_EQ(a.toolTip(), QLatin1String(name));
        EXPECT_EQ(a.statusTip(), hint);
    }
    EXPECT_TRUE(at<QAction>("Clave").isCheckable());
}

TEST_F(WizardTest, AnUntouchedWizardFinishesWithBlankData) {
    m_shared.wizardData.label = "de antes";
    w().show();
    for (int i = 0; i < 3; ++i) press("Siguiente");
    EXPECT_EQ(summary(), kBlank);
    EXPECT_FALSE(m_shared.wizardFinished);
    press("Siguiente");
    EXPECT_FALSE(w().isVisible());
    EXPECT_TRUE(m_prompts.messages.empty());
    EXPECT_TRUE(m_shared.wizardFinished);
    EXPECT_EQ(m_shared.wizardData.label, "");
    EXPECT_TRUE(m_shared.wizardData.runCommand.empty() && m_shared.wizardData.menus.empty());
}

TEST_F(WizardTest, TemplateClickFillsEverythingAndEmptySpaceClearsOnlyTheExplanation) {
    // Not version 2.3, then one without a name: numbering counts both files.
    writeTemplate(m_dir.filePath(QStringLiteral("b.kmrt")), installerTemplate());
    QByteArray old = templateBytes(installerTemplate()).replace("VersioMenor=3", "VersioMenor=30");
    writeBytes(m_dir.filePath(QStringLiteral("a.kmrt")), old);
    TemplateFile unnamed;
    unnamed.explanation = QStringLiteral("Solo una etiqueta.");
    unnamed.label = QStringLiteral("DATOS");
    unnamed.picture = 7;  // the wizard's picture list holds picture 0 only
    writeBytes(m_dir.filePath(QStringLiteral("c.KMRT")), templateBytes(unnamed).replace("Nom=\r\n", ""));
    w().show();
    ASSERT_EQ(templateList().count(), 2);
    EXPECT_EQ(templateList().item(0)->text(), QStringLiteral("Instalador"));
    EXPECT_EQ(templateList().item(1)->text(), QStringLiteral("Modelo 2"));
    EXPECT_EQ(templateList().viewMode(), QListView::IconMode);
    EXPECT_FALSE(templateList().item(0)->icon().isNull());
    EXPECT_TRUE(templateList().item(1)->icon().isNull());

    // Fields filled by hand are replaced; the menus come with the template's default.
    at<QLineEdit>("Etiqueta").setText(QStringLiteral("a mano"));
    clickTemplate(0);
    EXPECT_EQ(at<QPlainTextEdit>("Explicacion").toPlainText(), QStringLiteral("Un disco que instala un programa."));
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("setup.exe"));
    EXPECT_EQ(at<QLineEdit>("Icono").text(), QStringLiteral("setup.exe,0"));
    EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QStringLiteral("Instalación"));
    EXPECT_FALSE(at<QCheckBox>("Recurso").isChecked());
    EXPECT_EQ(menuRows(menus()), (QStringList{QStringLiteral("Léame|notepad leame.txt|leame|6"),
                                              QStringLiteral("Instalar|setup.exe|instalar|20")}));
    ASSERT_EQ(menuList().topLevelItemCount(), 2);
    EXPECT_EQ(menuList().topLevelItem(1)->icon(0).cacheKey(), m_images.icon(20).cacheKey());
    EXPECT_EQ(menuList().topLevelItem(0)->icon(0).cacheKey(), m_images.icon(6).cacheKey());

    // The second template empties the menu list.
    clickTemplate(1);
    EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QStringLiteral("DATOS"));
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QString());
    EXPECT_TRUE(menus().empty());

    QListWidget& list = templateList();
    const QPoint empty(list.viewport()->width() - 2, list.viewport()->height() - 2);
    ASSERT_EQ(list.itemAt(empty), nullptr);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(at<QPlainTextEdit>("Explicacion").toPlainText(), QString());
    EXPECT_EQ(at<QLineEdit>("Etiqueta").text(), QStringLiteral("DATOS"));
    // Without a selected template a double click does nothing.
    doubleClick(empty);
    EXPECT_EQ(w().currentPage(), NewProjectWizard::Bienvenido);

    // A double click on a template applies it and moves on, as "Siguiente" does.
    const QPoint first = list.visualItemRect(list.item(0)).center();
    doubleClick(first);
    EXPECT_EQ(w().currentPage(), NewProjectWizard::DatosGenerales);
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("setup.exe"));
    EXPECT_TRUE(at<QPushButton>("Anterior").isEnabled());

    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, NoEditarJumpsToTheEndAndSurvivesTheNextShowing) {
    applyInstaller();
    at<QCheckBox>("NoEditar").setChecked(true);
    press("Siguiente");
    EXPECT_EQ(w().currentPage(), NewProjectWizard::Finalizar);
    EXPECT_EQ(mainText(), QStringLiteral("Finalizar"));
    EXPECT_FALSE(at<QPushButton>("Anterior").isEnabled());
    EXPECT_EQ(
        summary().split(QLatin1Char('\n')),
        (QStringList{
            QStringLiteral("  Ejecutar automáticamente \"setup.exe\""),
            QStringLiteral("  Mostrar icono \"setup.exe,0\""), QStringLiteral("  Mostrar etiqueta \"Instalación\""),
            QStringLiteral("  Mostrar el menú \"Léame\""),
            QStringLiteral("que ejecutará el comando \"notepad leame.txt\""),
            QStringLiteral("  Mostrar el menú \"Instalar\""), QStringLiteral("que ejecutará el comando \"setup.exe\""),
            QStringLiteral("y será el menú predeterminado")}));
    press("Siguiente");
    ASSERT_TRUE(m_shared.wizardFinished);
    EXPECT_EQ(m_shared.wizardData.runCommand, "setup.exe");
    EXPECT_EQ(menuRows(m_shared.wizardData.menus), (QStringList{QStringLiteral("Léame|notepad leame.txt|leame|6"),
                                                                QStringLiteral("Instalar|setup.exe|instalar|20")}));

    // A new showing empties the fields and the lists but keeps "No editar".
    w().show();
    EXPECT_FALSE(m_shared.wizardFinished);
    EXPECT_TRUE(at<QCheckBox>("NoEditar").isChecked());
    EXPECT_EQ(w().currentPage(), NewProjectWizard::Bienvenido);
    EXPECT_EQ(mainText(), QStringLiteral("Siguiente"));
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QString());
    EXPECT_TRUE(menus().empty());
    EXPECT_EQ(templateList().count(), 1);
    EXPECT_EQ(templateList().selectedItems().size(), 0);
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, NewMenusTakeTheSmallestFreeNumber) {
    w().show();
    newMenu();
    newMenu();
    ASSERT_EQ(m_shownMenus.size(), 2U);
    EXPECT_EQ(m_shownMenus[0], (MenuEntry{QStringLiteral("Texto a mostrar del menú"), QStringLiteral("programa.exe"),
                                          QStringLiteral("Menu1"), false}));
    EXPECT_EQ(m_shownMenus[1].internalName, QStringLiteral("Menu2"));
    EXPECT_EQ(m_shownContexts, (std::vector<int>{kEditFromWizard, kEditFromWizard}));
    EXPECT_EQ(w().selectedMenu(), 1);

    // Renamed to "Menu7" in its properties, the first frees "Menu1" again.
    w().selectMenu(0);
    auto ran = nextMenu([](MenuEntry& e) { e.internalName = QStringLiteral("Menu7"); });
    run("Propiedades");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(m_shared.edit.initialInternalName, QStringLiteral("Menu1"));
    newMenu();
    EXPECT_EQ(m_shownMenus.back().internalName, QStringLiteral("Menu1"));
    EXPECT_EQ(menuRows(menus()), (QStringList{QStringLiteral("Texto a mostrar del menú|programa.exe|Menu7|6"),
                                              QStringLiteral("Texto a mostrar del menú|programa.exe|Menu2|6"),
                                              QStringLiteral("Texto a mostrar del menú|programa.exe|Menu1|6")}));

    // The editor tests a new name against this list: "Menu2" is taken, "menu2" is not.
    ran = nextMenu([](MenuEntry& e) { e.internalName = QStringLiteral("Menu2"); });
    run("Nuevo");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Atención|No puede utilizar el mismo nombre para varios menús. "
                                                  "Cambie el nombre interno del menú.")});
    EXPECT_EQ(menus().size(), 3U);
    newMenu(QStringLiteral("menu2"));
    EXPECT_EQ(menus().size(), 4U);
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, ClaveFollowsTheSelectionAndTheNewMenusBox) {
    w().show();
    QAction& clave = at<QAction>("Clave");
    newMenu(QStringLiteral("a"));
    newMenu(QStringLiteral("b"));
    w().selectMenu(0);
    run("Clave");
    EXPECT_EQ(menuRows(menus()).join(QLatin1Char(' ')), QStringLiteral("Texto a mostrar del menú|programa.exe|a|20 "
                                                                       "Texto a mostrar del menú|programa.exe|b|6"));
    EXPECT_TRUE(clave.isChecked());
    w().selectMenu(1);
    EXPECT_FALSE(clave.isChecked());
    w().selectMenu(0);
    EXPECT_TRUE(clave.isChecked());

    // A cancelled new menu with the box checked changes no default.
    auto ran = nextMenu([](MenuEntry& e) { e.isDefault = true; }, false);
    run("Nuevo");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(menus().size(), 2U);
    EXPECT_EQ(menus()[0].kind, kmr::Kind::DefaultMenu);
    EXPECT_TRUE(clave.isChecked());

    // An accepted one becomes the only default, selected, with "Clave" pressed.
    newMenu(QStringLiteral("c"), true);
    ASSERT_EQ(menus().size(), 3U);
    EXPECT_EQ(menus()[0].kind, kmr::Kind::PlainMenu);
    EXPECT_EQ(menus()[2].kind, kmr::Kind::DefaultMenu);
    EXPECT_EQ(w().selectedMenu(), 2);
    EXPECT_TRUE(clave.isChecked());
    EXPECT_EQ(menuList().topLevelItem(2)->icon(0).cacheKey(), m_images.icon(20).cacheKey());

    // "Clave" on the default releases it; without a selection it does nothing and stays released.
    run("Clave");
    EXPECT_EQ(menus()[2].kind, kmr::Kind::PlainMenu);
    EXPECT_FALSE(clave.isChecked());
    w().selectMenu(-1);
    run("Clave");
    EXPECT_FALSE(clave.isChecked());
    for (const kmr::WizardMenu& m : menus()) EXPECT_EQ(m.kind, kmr::Kind::PlainMenu);
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, PropertiesChangeTheTextsAndToggleTheDefaultOnlyWhenTheBoxChanged) {
    applyInstaller();
    struct Case {
        int row;
        bool box;  // "Seleccionar como clave" as the user leaves it
        bool accept;
        QStringList kinds;
    };
    const std::vector<Case> cases = {
        {1, true, true, {QStringLiteral("6"), QStringLiteral("20")}},   // the default, box left checked
        {0, false, true, {QStringLiteral("6"), QStringLiteral("20")}},  // a plain one, box left clear
        {0, true, false, {QStringLiteral("6"), QStringLiteral("20")}},  // cancelled
        {0, true, true, {QStringLiteral("20"), QStringLiteral("6")}},   // checked: becomes the only default
        {0, false, true, {QStringLiteral("6"), QStringLiteral("6")}},   // cleared: no default left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        w().selectMenu(c.row);
        const bool wasDefault = menus()[static_cast<std::size_t>(c.row)].kind == kmr::Kind::DefaultMenu;
        const QString text = QStringLiteral("Cambiado %1").arg(m_shownMenus.size());
        auto ran = nextMenu(
            [&c, &text](MenuEntry& e) {
                e.text = text;
                e.isDefault = c.box;
            },
            c.accept);
        run("Propiedades");
        ASSERT_TRUE(*ran);
        EXPECT_EQ(m_shownMenus.back().isDefault, wasDefault);
        EXPECT_EQ(m_shownContexts.back(), kEditFromWizard);
        QStringList kinds;
        for (const kmr::WizardMenu& m : menus()) kinds << QString::number(static_cast<int>(m.kind));
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(qs(menus()[static_cast<std::size_t>(c.row)].text) == text, c.accept);
        EXPECT_EQ(w().selectedMenu(), c.row);
    }
    // Without a selection nothing opens.
    w().selectMenu(-1);
    run("Propiedades");
    EXPECT_EQ(m_shownMenus.size(), cases.size());
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, DeleteAsksAndMovesStayAmongTheMenus) {
    applyInstaller();
    newMenu(QStringLiteral("tres"));
    auto names = [this] {
        QStringList n;
        for (const kmr::WizardMenu& m : menus()) n << qs(m.name);
        return n.join(QLatin1Char(' '));
    };
    struct Case {
        int select;
        const char* command;
        QString names;
        int selected;
    };
    const std::vector<Case> cases = {
        {0, "Subir", QStringLiteral("leame instalar tres"), 0},  // the first cannot go up
        {2, "Bajar", QStringLiteral("leame instalar tres"), 2},  // the last cannot go down
        {1, "Subir", QStringLiteral("instalar leame tres"), 0},
        {0, "Bajar", QStringLiteral("leame instalar tres"), 1},
        {1, "Bajar", QStringLiteral("leame tres instalar"), 2},
        {-1, "Subir", QStringLiteral("leame tres instalar"), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        w().selectMenu(c.select);
        run(c.command);
        EXPECT_EQ(names(), c.names);
        EXPECT_EQ(w().selectedMenu(), c.selected);
    }
    // The default menu keeps its kind wherever it goes.
    EXPECT_EQ(menus()[2].kind, kmr::Kind::DefaultMenu);
    EXPECT_TRUE(at<QAction>("Clave").isChecked() == false);

    w().selectMenu(2);
    m_prompts.answer(Answer::No);
    run("Eliminar");
    EXPECT_EQ(names(), QStringLiteral("leame tres instalar"));
    m_prompts.answer(Answer::Yes);
    run("Eliminar");
    EXPECT_EQ(names(), QStringLiteral("leame tres"));
    ASSERT_EQ(m_prompts.messages.size(), 2U);
    EXPECT_EQ(shown().at(0), QStringLiteral("Confirmación|¿Seguro que desea eliminar el menú seleccionado?"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNo);
    w().selectMenu(-1);
    run("Eliminar");
    EXPECT_EQ(m_prompts.messages.size(), 2U);
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

TEST_F(WizardTest, TheCloseQuestionsNoKeepsEverything) {
    applyInstaller();
    press("Siguiente");
    press("Siguiente");
    w().selectMenu(1);
    const kmr::WizardData before = w().data();
    const std::vector<std::function<void()>> closes = {
        [this] { press("Cancelar"); },
        [this] { w().close(); },
        [this] { QTest::keyClick(&w(), Qt::Key_Escape); },
    };
    for (const auto& close : closes) {
        m_prompts.messages.clear();
        m_prompts.answer(Answer::No);
        close();
        EXPECT_EQ(shown(), QStringList{kLeave});
        EXPECT_EQ(m_prompts.messages.at(0).icon, MessageIcon::Warning);
        EXPECT_EQ(m_prompts.messages.at(0).buttons, MessageButtons::YesNo);
        EXPECT_TRUE(w().isVisible());
        EXPECT_EQ(w().currentPage(), NewProjectWizard::Menus);
        EXPECT_EQ(w().data().label, before.label);
        EXPECT_EQ(menuRows(w().data().menus), menuRows(before.menus));
        EXPECT_EQ(w().selectedMenu(), 1);
        EXPECT_TRUE(at<QAction>("Clave").isChecked());
    }
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
    EXPECT_FALSE(w().isVisible());
    EXPECT_FALSE(m_shared.wizardFinished);
}

TEST_F(WizardTest, AbrirAndImportarHandOverAndCloseWithoutAQuestion) {
    for (const char* button : {"Abrir", "Importar"}) {
        SCOPED_TRACE(button);
        w().show();
        m_prompts.messages.clear();
        bool openWhileHandling = false;
        int opens = 0;
        int imports = 0;
        auto record = [&](int& count) {
            return [&] {
                ++count;
                openWhileHandling = w().isVisible();
            };
        };
        const auto c1 = QObject::connect(&w(), &NewProjectWizard::openRequested, &w(), record(opens));
        const auto c2 = QObject::connect(&w(), &NewProjectWizard::importRequested, &w(), record(imports));
        press(button);
        QObject::disconnect(c1);
        QObject::disconnect(c2);
        EXPECT_EQ(opens, QByteArray(button) == "Abrir" ? 1 : 0);
        EXPECT_EQ(imports, QByteArray(button) == "Importar" ? 1 : 0);
        EXPECT_TRUE(openWhileHandling);
        EXPECT_FALSE(w().isVisible());
        EXPECT_TRUE(m_prompts.messages.empty());
        EXPECT_TRUE(w().handedOff());
        EXPECT_FALSE(m_shared.wizardFinished);

        // The next showing asks again.
        w().show();
        EXPECT_FALSE(w().handedOff());
        m_prompts.answer(Answer::Yes);
        press("Cancelar");
        EXPECT_EQ(shown(), QStringList{kLeave});
    }
}

TEST_F(WizardTest, AyudaAsksForTopicThree) {
    QSignalSpy help(&w(), &NewProjectWizard::helpRequested);
    press("Ayuda");
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 3);
}

TEST_F(WizardTest, EditarButtonsTakeTheBuildersResult) {
    w().show();
    auto ran = actOnNextModal([](QWidget* modal) {
        EXPECT_EQ(static_cast<CommandBuilderDialog*>(modal)->currentPage(), kmr::BuilderPage::Nuevo);
        control<QRadioButton>(*modal, "Opcion1").click();
        control<QPushButton>(*modal, "Siguiente").click();
        control<QLineEdit>(*modal, "RecursosNombre").setText(QStringLiteral("manual.pdf"));
        control<QCheckBox>(*modal, "RecursosCompilacion").setChecked(true);
        control<QLineEdit>(*modal, "RecursosCarpeta").clear();
        control<QPushButton>(*modal, "Siguiente").click();
    });
    press("EditarPrograma");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("manual.pdf"));
    EXPECT_TRUE(at<QCheckBox>("Recurso").isChecked());

    // A cancelled builder leaves the field and the box.
    ran = actOnNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    press("EditarPrograma");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(at<QLineEdit>("Programa").text(), QStringLiteral("manual.pdf"));
    EXPECT_TRUE(at<QCheckBox>("Recurso").isChecked());

    ran = actOnNextModal([](QWidget* modal) {
        EXPECT_EQ(static_cast<CommandBuilderDialog*>(modal)->currentPage(), kmr::BuilderPage::Icono);
        control<QLineEdit>(*modal, "IconoNombre").setText(QStringLiteral("disco.ico"));
        control<QCheckBox>(*modal, "IconoCompilacion").setChecked(true);
        control<QLineEdit>(*modal, "IconoCarpeta").clear();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    press("EditarIcono");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(at<QLineEdit>("Icono").text(), QStringLiteral("disco.ico"));
    EXPECT_TRUE(at<QCheckBox>("Recurso").isChecked());
    m_prompts.answer(Answer::Yes);
    press("Cancelar");
}

}  // namespace
}  // namespace kmr::gui::test
