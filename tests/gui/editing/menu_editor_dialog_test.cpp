// The menu editor: its refusals, the internal-name test against the project or the wizard, and
// its "Editar" button, which composes the command in the builder.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <vector>

#include "editing/dialog_fixture.h"
#include "editing/menu_editor_dialog.h"
#include "project/project.h"

namespace kmr::gui::test {
namespace {

const QString kFillAll = QStringLiteral("Información|Debe rellenar todas las casillas.");
const QString kSameName =
    QStringLiteral("Atención|No puede utilizar el mismo nombre para varios menús. Cambie el nombre interno del menú.");

class MenuEditorTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_editor = std::make_unique<MenuEditorDialog>(m_state, m_prompts, *m_builder);
        m_editor->setNameSource(kEditFromProject, [this] { return menuInternalNames(m_project); });
        m_editor->setNameSource(kEditFromWizard, [this] { return menuInternalNames(m_wizardMenus); });
    }
    void TearDown() override {
        m_editor.reset();
        DialogTest::TearDown();
    }

    // Fills the editor the way a command does and shows it.
    void open(const MenuEntry& entry, int context, const QString& initialName = {}) {
        m_editor->setEntry(entry);
        m_state.initialInternalName = initialName;
        m_state.editContext = context;
        m_editor->show();
    }
    void click(const char* button) { control<QPushButton>(*m_editor, button).click(); }

    std::unique_ptr<MenuEditorDialog> m_editor;
    kmr::Project m_project;
    std::vector<kmr::WizardMenu> m_wizardMenus;
};

TEST_F(MenuEditorTest, ShowsItsControlsInTheirTabOrder) {
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Editor de menús"));
    EXPECT_TRUE(m_editor->windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(control<QPushButton>(*m_editor, "Aceptar").isDefault());

    // The chain of controls that Tab walks, from the menu text on.
    QStringList order;
    QWidget* w = &control<QLineEdit>(*m_editor, "Texto");
    do {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isEnabled()) order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != &control<QLineEdit>(*m_editor, "Texto"));
    EXPECT_EQ(order,
              (QStringList{QStringLiteral("Texto"), QStringLiteral("Aceptar"), QStringLiteral("Cancelar"),
                           QStringLiteral("Comando"), QStringLiteral("NombreInterno"), QStringLiteral("Clave")}));
}

TEST_F(MenuEditorTest, RefusesAnEmptyFieldAndKeepsWhatWasTyped) {
    struct Case {
        MenuEntry entry;
        bool accepted;
    };
    const QString x = QStringLiteral("x");
    const QString blank = QStringLiteral(" ");
    const std::vector<Case> cases = {
        {{{}, {}, {}}, false}, {{{}, x, x}, false},           {{x, {}, x}, false},
        {{x, x, {}}, false},   {{blank, blank, blank}, true},  // blanks are a value
        {{x, x, x}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry.text.toStdString() + "|" + c.entry.command.toStdString() + "|" +
                     c.entry.internalName.toStdString());
        m_prompts.messages.clear();
        open(c.entry, kEditFromProject);
        click("Aceptar");
        EXPECT_EQ(m_editor->isVisible(), !c.accepted);
        EXPECT_EQ(m_state.editContext, c.accepted ? kEditAccepted : kEditFromProject);
        EXPECT_EQ(shown(), c.accepted ? QStringList{} : QStringList{kFillAll});
        if (!c.accepted) {
            EXPECT_EQ(m_prompts.messages.at(0).icon, MessageIcon::Information);
            EXPECT_EQ(m_prompts.messages.at(0).buttons, MessageButtons::Ok);
            EXPECT_EQ(m_editor->entry(), c.entry);
        }
        m_editor->hide();
    }
}

TEST_F(MenuEditorTest, TestsAChangedInternalNameExactlyAgainstTheCallersMenus) {
    m_project.append(kmr::makeProgram("Menu9"));
    m_project.append(kmr::makeLabel("Menu9"));
    m_project.append(kmr::makeMenu("Uno", "uno.exe", "Menu1"));
    m_project.append(kmr::makeMenu("Dos", "dos.exe", "Menu1"));
    m_project.append(kmr::makeMenu("Tres", "tres.exe", "menú✓", true));
    m_wizardMenus = {{"Asistente", "a.exe", "Asistente1", kmr::Kind::PlainMenu}};

    struct Case {
        int context;
        const char* initial;
        const char* name;
        bool refused;
    };
    const std::vector<Case> cases = {
        {kEditFromProject, "", "Menu1", true},
        {kEditFromProject, "", "menu1", false},       // letter case makes another name
        {kEditFromProject, "", "Menu1 ", false},      // so does a trailing blank
        {kEditFromProject, "Menu1", "Menu1", false},  // unchanged: not tested, although two carry it
        {kEditFromProject, "Menu2", "Menu1", true},
        {kEditFromProject, "", "menú✓", true},
        {kEditFromProject, "", "Menú✓", false},
        {kEditFromProject, "", "menu\u0301\u2713", false},  // no normalisation: é decomposed is another name
        {kEditFromProject, "", "Menu9", false},             // run entry and label values are not menu names
        {kEditFromProject, "", "Asistente1", false},        // the wizard's menus are not the project's
        {kEditFromWizard, "", "Asistente1", true},
        {kEditFromWizard, "", "Menu1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in context " + std::to_string(c.context));
        m_prompts.messages.clear();
        const QString name = QString::fromUtf8(c.name);
        open({QStringLiteral("Texto"), QStringLiteral("cmd.exe"), name}, c.context, QString::fromUtf8(c.initial));
        click("Aceptar");
        EXPECT_EQ(shown(), c.refused ? QStringList{kSameName} : QStringList{});
        EXPECT_EQ(m_editor->isVisible(), c.refused);
        EXPECT_EQ(m_state.accepted(), !c.refused);
        EXPECT_EQ(m_editor->entry().internalName, name);
        if (c.refused) {
            EXPECT_EQ(m_prompts.messages.at(0).icon, MessageIcon::Warning);
        }
        m_editor->hide();
    }
}

TEST_F(MenuEditorTest, EmptyFieldsAreReportedBeforeARepeatedName) {
    m_project.append(kmr::makeMenu("Uno", "uno.exe", "Menu1"));
    open({QStringLiteral("Texto"), {}, QStringLiteral("Menu1")}, kEditFromProject);
    click("Aceptar");
    EXPECT_EQ(shown(), QStringList{kFillAll});
    m_editor->hide();
}

TEST_F(MenuEditorTest, EveryWayOfClosingWithoutAcceptingLeavesTheContext) {
    const std::vector<std::function<void()>> closes = {
        [this] { click("Cancelar"); },
        [this] { QTest::keyClick(m_editor.get(), Qt::Key_Escape); },
        [this] { m_editor->close(); },
    };
    for (std::size_t i = 0; i < closes.size(); ++i) {
        SCOPED_TRACE(i);
        open({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, kEditFromWizard);
        closes[i]();
        EXPECT_FALSE(m_editor->isVisible());
        EXPECT_EQ(m_state.editContext, kEditFromWizard);
        EXPECT_EQ(m_editor->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(MenuEditorTest, GivesBackExactlyWhatItWasGiven) {
    // Characters outside the 8-bit code page, one outside the basic plane, and a text longer than a
    // line edit takes by default.
    const MenuEntry entry{QStringLiteral("Menú ✓ 日本 \U0001F3B5"), QString(40000, QLatin1Char('c')),
                          QStringLiteral("nombre€Ω"), true};
    open(entry, kEditFromProject);
    EXPECT_EQ(m_editor->entry(), entry);
    QTest::keyClick(m_editor.get(), Qt::Key_Return);
    EXPECT_TRUE(m_state.accepted());
    EXPECT_EQ(m_editor->entry(), entry);
}

TEST_F(MenuEditorTest, EditarComposesTheCommandWithTheCompatibilityOptionForced) {
    open({QStringLiteral("Instalar"), QStringLiteral("viejo.exe"), QStringLiteral("instalar")}, kEditFromProject);
    auto ran = actOnNextModal([this](QWidget* modal) {
        ASSERT_EQ(modal, m_builder.get());
        EXPECT_EQ(m_builder->currentPage(), kmr::BuilderPage::Programa);
        const auto& compatibility = control<QCheckBox>(*modal, "InternetCompatibilidad");
        EXPECT_TRUE(compatibility.isChecked());
        EXPECT_FALSE(compatibility.isEnabled());
        control<QLineEdit>(*modal, "ProgramaNombre").setText(QStringLiteral("setup.exe"));
        control<QLineEdit>(*modal, "ProgramaUnidad").setText(QStringLiteral("d"));
        control<QLineEdit>(*modal, "ProgramaCarpeta").setText(QStringLiteral("instal"));
        control<QPushButton>(*modal, "Siguiente").click();
        EXPECT_FALSE(modal->isVisible());
    });
    click("Editar");
    EXPECT_TRUE(*ran);
    EXPECT_EQ(control<QLineEdit>(*m_editor, "Comando").text(), QStringLiteral("d:\\instal\\setup.exe"));
    const auto& compatibility = control<QCheckBox>(*m_builder, "InternetCompatibilidad");
    EXPECT_FALSE(compatibility.isChecked());
    EXPECT_TRUE(compatibility.isEnabled());
    // The editor waits for its own "Aceptar".
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_EQ(m_state.editContext, kEditFromProject);
    m_editor->hide();
}

TEST_F(MenuEditorTest, ACancelledBuilderLeavesTheCommandAsItWas) {
    m_state.builderResult = QStringLiteral("de antes");
    open({QStringLiteral("Instalar"), QStringLiteral("viejo.exe"), QStringLiteral("instalar")}, kEditFromProject);
    auto ran = actOnNextModal([](QWidget* modal) { control<QPushButton>(*modal, "Cancelar").click(); });
    click("Editar");
    EXPECT_TRUE(*ran);
    EXPECT_EQ(control<QLineEdit>(*m_editor, "Comando").text(), QStringLiteral("viejo.exe"));
    EXPECT_TRUE(m_state.builderResult.isEmpty());
    EXPECT_FALSE(control<QCheckBox>(*m_builder, "InternetCompatibilidad").isChecked());
    EXPECT_TRUE(control<QCheckBox>(*m_builder, "InternetCompatibilidad").isEnabled());
    m_editor->hide();
}

}  // namespace
}  // namespace kmr::gui::test
