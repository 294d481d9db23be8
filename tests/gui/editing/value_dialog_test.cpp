// The value dialog: its three modes, its one refusal, and what "Editar" brings back from the
// builder in program and icon mode.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <vector>

#include "editing/dialog_fixture.h"
#include "editing/value_dialog.h"

namespace kmr::gui::test {
namespace {

class ValueDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_dialog = std::make_unique<ValueDialog>(m_state, m_prompts, *m_builder);
    }
    void TearDown() override {
        m_dialog.reset();
        DialogTest::TearDown();
    }

    void open(ValueMode mode, const QString& value, bool resource = false) {
        m_dialog->setUp(mode, value, resource);
        m_state.editContext = kEditFromWizard;
        m_dialog->show();
    }
    QPushButton& button(const char* name) { return control<QPushButton>(*m_dialog, name); }
    QLineEdit& field() { return control<QLineEdit>(*m_dialog, "Valor"); }
    QCheckBox& resourceBox() { return control<QCheckBox>(*m_dialog, "Recurso"); }

    std::unique_ptr<ValueDialog> m_dialog;
};

TEST_F(ValueDialogTest, EachModeSetsLabelCheckBoxAndEditar) {
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("Configurar proyecto"));
    EXPECT_FALSE(m_dialog->windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(plain(control<QLabel>(*m_dialog, "Etiqueta").text()), QStringLiteral("Texto:"));
    EXPECT_EQ(plain(resourceBox().text()), QStringLiteral("Recurso con programa asociado"));

    struct Case {
        ValueMode mode;
        bool resource;
        QString label;
        bool boxShown;
        bool boxChecked;
        bool editar;
    };
    const std::vector<Case> cases = {
        {ValueMode::Program, false, QStringLiteral("Programa a ejecutar:"), true, false, true},
        {ValueMode::Program, true, QStringLiteral("Programa a ejecutar:"), true, true, true},
        {ValueMode::Icon, true, QStringLiteral("Icono a mostrar:"), false, false, true},
        {ValueMode::Label, true, QStringLiteral("Etiqueta a mostrar:"), false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        open(c.mode, QStringLiteral("valor ✓"), c.resource);
        EXPECT_EQ(plain(control<QLabel>(*m_dialog, "Etiqueta").text()), c.label);
        EXPECT_EQ(resourceBox().isVisible(), c.boxShown);
        EXPECT_EQ(m_dialog->resource(), c.boxChecked);
        EXPECT_EQ(button("Editar").isEnabled(), c.editar);
        EXPECT_EQ(field().text(), QStringLiteral("valor ✓"));
        button("Cancelar").click();
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(m_state.editContext, kEditFromWizard);
        // Usable again for the next program or icon, however the dialog closed.
        EXPECT_TRUE(button("Editar").isEnabled());
    }
}

TEST_F(ValueDialogTest, RefusesOnlyAnEmptyValue) {
    struct Case {
        QString value;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {QString(), false},
        {QStringLiteral(" "), true},
        {QStringLiteral("c:\\prog\\setup.exe /s"), true},
        {QStringLiteral("Disco ✓ \U0001F4BF"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        m_prompts.messages.clear();
        open(ValueMode::Label, c.value);
        button("Aceptar").click();
        EXPECT_EQ(m_dialog->isVisible(), !c.accepted);
        EXPECT_EQ(m_state.accepted(), c.accepted);
        EXPECT_EQ(m_dialog->value(), c.value);
        if (c.accepted) {
            EXPECT_TRUE(m_prompts.messages.empty());
            EXPECT_TRUE(button("Editar").isEnabled());
        } else {
            EXPECT_EQ(shown(), QStringList{QStringLiteral("Atención|Debe introducir algún valor en el campo.")});
            EXPECT_EQ(m_prompts.messages.at(0).icon, MessageIcon::Warning);
            EXPECT_EQ(m_prompts.messages.at(0).buttons, MessageButtons::Ok);
            EXPECT_FALSE(button("Editar").isEnabled());  // still open in label mode
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
            EXPECT_FALSE(m_state.accepted());
        }
    }
}

TEST_F(ValueDialogTest, ProgramEditarTakesResultAndResourceFlagFromTheChooser) {
    struct Case {
        int kind;
        const char* nameField;
        bool resource;
        QString result;
    };
    const std::vector<Case> cases = {
        {1, "RecursosNombre", true, QStringLiteral("manual.pdf")},
        {0, "ProgramaNombre", false, QStringLiteral("setup.exe")},
        {2, "MultimediaNombre", true, QStringLiteral("cancion.mp3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        open(ValueMode::Program, QStringLiteral("antes.exe"), !c.resource);
        auto ran = actOnNextModal([&c](QWidget* modal) {
            auto& builder = static_cast<CommandBuilderDialog&>(*modal);
            EXPECT_EQ(builder.currentPage(), kmr::BuilderPage::Nuevo);
            control<QRadioButton>(*modal, QStringLiteral("Opcion%1").arg(c.kind).toLatin1().constData()).click();
            control<QPushButton>(*modal, "Siguiente").click();
            ASSERT_EQ(builder.currentPage(), static_cast<kmr::BuilderPage>(c.kind));
            const QByteArray prefix = QByteArray(c.nameField).chopped(6);
            control<QLineEdit>(*modal, c.nameField).setText(c.result);
            control<QCheckBox>(*modal, (prefix + "Compilacion").constData()).setChecked(true);
            control<QLineEdit>(*modal, (prefix + "Carpeta").constData()).clear();
            control<QPushButton>(*modal, "Siguiente").click();
        });
        button("Editar").click();
        EXPECT_TRUE(*ran);
        EXPECT_EQ(field().text(), c.result);
        EXPECT_EQ(resourceBox().isChecked(), c.resource);
        EXPECT_TRUE(m_dialog->isVisible());
        button("Cancelar").click();
    }
}

TEST_F(ValueDialogTest, ACancelledBuilderChangesNothing) {
    for (const ValueMode mode : {ValueMode::Program, ValueMode::Icon}) {
        m_state.resourceFlag = false;
        open(mode, QStringLiteral("antes.exe"), true);
        auto ran = actOnNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        button("Editar").click();
        EXPECT_TRUE(*ran);
        EXPECT_EQ(field().text(), QStringLiteral("antes.exe"));
        EXPECT_EQ(resourceBox().isChecked(), mode == ValueMode::Program);
        button("Cancelar").click();
    }
}

TEST_F(ValueDialogTest, IconEditarOpensTheIconPageAndLeavesTheCheckBox) {
    m_state.resourceFlag = true;
    open(ValueMode::Icon, QStringLiteral("viejo.ico"));
    auto ran = actOnNextModal([](QWidget* modal) {
        EXPECT_EQ(static_cast<CommandBuilderDialog*>(modal)->currentPage(), kmr::BuilderPage::Icono);
        control<QLineEdit>(*modal, "IconoNombre").setText(QStringLiteral("shell32.dll"));
        control<QLineEdit>(*modal, "IconoUnidad").setText(QStringLiteral("c:"));
        control<QLineEdit>(*modal, "IconoCarpeta").setText(QStringLiteral("windows\\system32"));
        control<QCheckBox>(*modal, "IconoCompilacion").setChecked(false);
        QTest::keyClick(&control<QSpinBox>(*modal, "IconoCodigo"), Qt::Key_Up);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    button("Editar").click();
    EXPECT_TRUE(*ran);
    EXPECT_EQ(field().text(), QStringLiteral("c:\\windows\\system32\\shell32.dll,1"));
    EXPECT_FALSE(resourceBox().isChecked());
    button("Cancelar").click();
}

}  // namespace
}  // namespace kmr::gui::test
