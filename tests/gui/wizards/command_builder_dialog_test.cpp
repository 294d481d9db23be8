// The command builder dialog: its pages and texts, the chooser, the compositions as the widgets
// feed them and show their outcome, the reactions of its controls and what every close resets.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>

#include <optional>
#include <utility>
#include <vector>

#include "base/qt_text.h"
#include "editing/dialog_fixture.h"

namespace kmr::gui::test {
namespace {

using kmr::BuilderPage;
using Texts = std::vector<std::pair<const char*, QString>>;
using Boxes = std::vector<std::pair<const char*, bool>>;

bool hasButtonFace(const QWidget& w) {
    return w.palette().color(QPalette::Active, QPalette::Base) ==
           QApplication::palette().color(QPalette::Active, QPalette::Button);
}

class BuilderTest : public DialogTest {
protected:
    CommandBuilderDialog& b() { return *m_builder; }
    template <class T>
    T& at(const char* name) {
        return control<T>(b(), name);
    }
    QString text(const char* name) { return at<QLineEdit>(name).text(); }
    void press() { at<QPushButton>("Siguiente").click(); }
    void openOn(BuilderPage page) {
        b().setCurrentPage(page);
        b().show();
    }
};

TEST_F(BuilderTest, SevenPagesWithoutTabs) {
    EXPECT_EQ(b().windowTitle(), QStringLiteral("Asistente de edición de comandos"));
    const auto& pages = at<QStackedWidget>("Paginas");
    ASSERT_EQ(pages.count(), 7);
    const QStringList captions = {QStringLiteral("Programa"),   QStringLiteral("Recursos y ficheros"),
                                  QStringLiteral("Multimedia"), QStringLiteral("Explorar"),
                                  QStringLiteral("Internet"),   QStringLiteral("Icono"),
                                  QStringLiteral("Nuevo")};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(pages.widget(i)->accessibleName(), captions[i]);
    EXPECT_TRUE(b().findChildren<QTabBar*>().isEmpty());
    EXPECT_EQ(b().currentPage(), BuilderPage::Nuevo);

    int fields = 0;
    for (const QLineEdit* f : b().findChildren<QLineEdit*>()) {
        if (qobject_cast<QSpinBox*>(f->parentWidget()) != nullptr) continue;  // the icon code's own line edit
        ++fields;
        EXPECT_EQ(f->toolTip(), QStringLiteral("Escriba aquí el comando que desea ejecutar"))
            << f->objectName().toStdString();
    }
    EXPECT_EQ(fields, 15);

    auto& code = at<QSpinBox>("IconoCodigo");
    EXPECT_EQ(code.minimum(), 0);
    EXPECT_EQ(code.maximum(), 999);
    EXPECT_EQ(code.value(), 0);
    EXPECT_FALSE(code.isEnabled());
    EXPECT_TRUE(code.findChild<QLineEdit*>()->isReadOnly());

    EXPECT_TRUE(at<QRadioButton>("Opcion0").isChecked());
    EXPECT_TRUE(at<QRadioButton>("InternetWeb").isChecked());
    EXPECT_EQ(text("InternetDireccion"), qs(kmr::internetTexts(false).address));
}

TEST_F(BuilderTest, TheChooserLeadsToThePageOfTheChosenKind) {
    enum class How { Button, DoubleClick, Enter };
    for (const How how : {How::Button, How::DoubleClick, How::Enter}) {
        for (int kind = 0; kind < 5; ++kind) {
            SCOPED_TRACE(kind);
            b().show();
            EXPECT_EQ(plain(at<QPushButton>("Siguiente").text()), QStringLiteral("Siguiente"));
            auto& option = at<QRadioButton>(QStringLiteral("Opcion%1").arg(kind).toLatin1().constData());
            switch (how) {
                case How::Button:
                    option.click();
                    press();
                    break;
                case How::DoubleClick: QTest::mouseDClick(&option, Qt::LeftButton); break;
                case How::Enter:
                    option.click();
                    QTest::keyClick(&b(), Qt::Key_Return);
                    break;
            }
            EXPECT_EQ(b().selectedKind(), kind);
            EXPECT_EQ(b().currentPage(), static_cast<BuilderPage>(kind));
            EXPECT_EQ(plain(at<QPushButton>("Siguiente").text()), QStringLiteral("Insertar"));
            EXPECT_TRUE(b().isVisible());
            b().close();
        }
    }
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(BuilderTest, AyudaAsksForItsHelpTopic) {
    QSignalSpy help(&b(), &CommandBuilderDialog::helpRequested);
    at<QPushButton>("Ayuda").click();
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 4);
}

// One press of "Insertar" on a page filled through its widgets: one case per composition path and
// per message, since the rules themselves are the core's and tested there.
struct Composition {
    const char* label;
    BuilderPage page;
    Boxes boxes;  // set before the texts, as a user would tick them
    Texts texts;
    std::optional<QString> result;  // nullopt: refused with `message`
    QString message;
    bool flagBefore = false;
    bool flagAfter = false;
    Texts after;  // the fields as they read afterwards
    int code = 0;
};

std::vector<Composition> compositions() {
    const auto s = [](const char* utf8) { return QString::fromUtf8(utf8); };
    const QString missing = s("Atención|Faltan casillas por rellenar.");
    const QString badDrive = s("Atención|El formato de la unidad es incorrecto. Escriba unidad y dos puntos.");
    const QString check =
        s("Información|Compruebe los datos. Si se han corregido correctamente pulse sobre \"Insertar\".");
    // clang-format off
    return {
        {"program", BuilderPage::Programa, {},
         {{"ProgramaNombre", s("\\setup.exe")}, {"ProgramaUnidad", s("c:\\")}, {"ProgramaCarpeta", s("\\juegos\\demo\\")}},
         s("c:\\juegos\\demo\\setup.exe"), {}, true, false,
         {{"ProgramaNombre", s("setup.exe")}, {"ProgramaUnidad", s("c:")}, {"ProgramaCarpeta", s("juegos\\demo\\")}}},
        {"program in the compilation", BuilderPage::Programa, {{"ProgramaCompilacion", true}},
         {{"ProgramaNombre", s("setup.exe")}, {"ProgramaUnidad", s("")}, {"ProgramaCarpeta", s("")}},
         s("setup.exe"), {}, true, false, {{"ProgramaUnidad", s("")}}},
        {"program outside the code page", BuilderPage::Programa, {},
         {{"ProgramaNombre", s("プログラム.exe")}, {"ProgramaUnidad", s("d")}, {"ProgramaCarpeta", s("Ωmega")}},
         s("d:\\Ωmega\\プログラム.exe"), {}, true, false, {{"ProgramaCarpeta", s("Ωmega\\")}}},
        {"resource in the compilation", BuilderPage::Recursos, {{"RecursosCompilacion", true}},
         {{"RecursosNombre", s("manual.pdf")}, {"RecursosUnidad", s("")}, {"RecursosCarpeta", s("docs")}},
         s("docs\\manual.pdf"), {}, false, true, {{"RecursosUnidad", s(":")}, {"RecursosCarpeta", s("docs\\")}}},
        {"multimedia, trimmed", BuilderPage::Multimedia, {},
         {{"MultimediaNombre", s("  \U0001F3B5 música.mp3 \t")}, {"MultimediaUnidad", s("e")}, {"MultimediaCarpeta", s("")}},
         s("e:\\\U0001F3B5 música.mp3"), {}, false, true, {{"MultimediaNombre", s("\U0001F3B5 música.mp3")}}},
        {"icon with its code", BuilderPage::Icono, {{"IconoVarios", true}},
         {{"IconoNombre", s("iconos.dll")}, {"IconoUnidad", s("d:")}, {"IconoCarpeta", s("")}},
         s("d:\\iconos.dll,3"), {}, true, true, {}, 3},
        {"icon without a code", BuilderPage::Icono, {},
         {{"IconoNombre", s("autorun.ico")}, {"IconoUnidad", s("d:")}, {"IconoCarpeta", s("")}},
         s("d:\\autorun.ico"), {}, false, false, {}, 5},
        {"explorer in the compilation", BuilderPage::Explorar, {{"ExplorarCompilacion", true}},
         {{"ExplorarRuta", s("docs\\present.ppt")}, {"ExplorarUnidad", s("")}},
         s("explorer \"%1\\docs\\present.ppt\""), {}, true, false, {}},
        {"explorer on a drive", BuilderPage::Explorar, {},
         {{"ExplorarRuta", s("\\prog\\carpeta")}, {"ExplorarUnidad", s("d")}},
         s("explorer \"d:\\prog\\carpeta\""), {}, true, false,
         {{"ExplorarRuta", s("prog\\carpeta")}, {"ExplorarUnidad", s("d:")}}},
        {"explorer e-mail", BuilderPage::Explorar, {{"ExplorarCorreo", true}},
         {{"ExplorarRuta", s("usuario@example.com")}, {"ExplorarUnidad", s("")}},
         s("explorer mailto:usuario@example.com"), {}, true, false, {}},
        {"web", BuilderPage::Internet, {{"InternetWeb", true}, {"InternetCompatibilidad", false}},
         {{"InternetDireccion", s(" www.example.com ")}},
         s("http://www.example.com"), {}, false, true, {{"InternetDireccion", s("www.example.com")}}},
        {"e-mail, compatible", BuilderPage::Internet, {{"InternetCorreo", true}, {"InternetCompatibilidad", true}},
         {{"InternetDireccion", s("ana@example.net")}},
         s("explorer \"mailto:ana@example.net\""), {}, true, false, {}},
        // Refusals: the dialog stays open on the page with the fields as trimmed.
        {"no name", BuilderPage::Programa, {}, {{"ProgramaNombre", s("")}, {"ProgramaUnidad", s("d")}},
         std::nullopt, missing, true, true, {}},
        {"no drive", BuilderPage::Programa, {}, {{"ProgramaNombre", s("  setup.exe  ")}, {"ProgramaUnidad", s(" ")}},
         std::nullopt, missing, false, false, {{"ProgramaNombre", s("setup.exe")}, {"ProgramaUnidad", s("")}}},
        {"long drive", BuilderPage::Recursos, {}, {{"RecursosNombre", s("a.txt")}, {"RecursosUnidad", s("dd:")}},
         std::nullopt, badDrive, false, false, {{"RecursosUnidad", s("dd:")}}},
        {"no path", BuilderPage::Explorar, {}, {{"ExplorarRuta", s("")}, {"ExplorarUnidad", s("d:")}},
         std::nullopt, missing, false, false, {}},
        {"e-mail, long drive", BuilderPage::Explorar, {{"ExplorarCorreo", true}},
         {{"ExplorarRuta", s("ana@example.net")}, {"ExplorarUnidad", s("abc")}}, std::nullopt, badDrive, false, false, {}},
        {"no address", BuilderPage::Internet, {{"InternetWeb", true}}, {{"InternetDireccion", s("   ")}},
         std::nullopt, s("Atención|Introduzca el dato requerido."), true, true, {{"InternetDireccion", s("")}}},
        {"bare domain", BuilderPage::Internet, {{"InternetWeb", true}}, {{"InternetDireccion", s("example.com")}},
         std::nullopt, check, false, false, {{"InternetDireccion", s("http://example.com")}}},
    };
    // clang-format on
}

TEST_F(BuilderTest, CompositionsReadTheWidgetsAndWriteTheirFieldsBack) {
    for (const Composition& c : compositions()) {
        SCOPED_TRACE(c.label);
        m_prompts.messages.clear();
        CommandBuilderDialog builder(m_state, m_prompts);
        builder.setCurrentPage(c.page);
        m_state.builderResult = QStringLiteral("de antes");
        builder.show();
        for (const auto& [name, on] : c.boxes) control<QAbstractButton>(builder, name).setChecked(on);
        for (const auto& [name, value] : c.texts) control<QLineEdit>(builder, name).setText(value);
        control<QSpinBox>(builder, "IconoCodigo").setValue(c.code);
        m_state.resourceFlag = c.flagBefore;

        control<QPushButton>(builder, "Siguiente").click();

        EXPECT_EQ(m_state.resourceFlag, c.flagAfter);
        if (c.result) {
            EXPECT_FALSE(builder.isVisible());
            EXPECT_EQ(m_state.builderResult, *c.result);
            EXPECT_TRUE(m_prompts.messages.empty());
        } else {
            EXPECT_TRUE(builder.isVisible());
            EXPECT_EQ(builder.currentPage(), c.page);
            EXPECT_TRUE(m_state.builderResult.isEmpty());
            EXPECT_EQ(shown(), QStringList{c.message});
            if (!m_prompts.messages.empty()) {
                EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::Ok);
                EXPECT_EQ(m_prompts.messages[0].icon, c.message.startsWith(QStringLiteral("Atención"))
                                                          ? MessageIcon::Warning
                                                          : MessageIcon::Information);
            }
            builder.close();
        }
        for (const auto& [name, value] : c.after) EXPECT_EQ(control<QLineEdit>(builder, name).text(), value) << name;
    }
}

TEST_F(BuilderTest, ACorrectedWebAddressIsTakenOnTheSecondPress) {
    openOn(BuilderPage::Internet);
    at<QLineEdit>("InternetDireccion").setText(QStringLiteral("example.com/ñandú"));
    press();
    EXPECT_TRUE(b().isVisible());
    press();
    EXPECT_FALSE(b().isVisible());
    EXPECT_EQ(m_state.builderResult, QStringLiteral("http://example.com/ñandú"));
    EXPECT_TRUE(m_state.resourceFlag);
    EXPECT_EQ(m_prompts.messages.size(), 1U);
}

TEST_F(BuilderTest, TheInCompilationBoxLocksTheDriveOnEveryPage) {
    EXPECT_NE(QApplication::palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    for (const char* prefix : {"Programa", "Recursos", "Multimedia", "Explorar", "Icono"}) {
        SCOPED_TRACE(prefix);
        const QByteArray p(prefix);
        auto& box = at<QCheckBox>((p + "Compilacion").constData());
        auto& drive = at<QLineEdit>((p + "Unidad").constData());
        auto& label = at<QLabel>((p + "UnidadEtiqueta").constData());
        for (const bool on : {true, false}) {
            box.setChecked(on);
            EXPECT_EQ(drive.isEnabled(), !on);
            EXPECT_EQ(label.isEnabled(), !on);
            EXPECT_EQ(hasButtonFace(drive), on);
        }
    }
}

// The control that Tab moves to from `w`, among those of `w`'s page (a control with a focus
// proxy, like the icon code's inner line, is reached through its owner).
QWidget* nextByTab(QWidget* w, const QWidget* page) {
    for (QWidget* n = w->nextInFocusChain(); n != w; n = n->nextInFocusChain()) {
        if (page->isAncestorOf(n) && (n->focusPolicy() & Qt::TabFocus) != 0 && n->focusProxy() == nullptr) return n;
    }
    return nullptr;
}

TEST_F(BuilderTest, TabGoesDownEachPageAsTheControlsStand) {
    const std::vector<std::vector<const char*>> pages = {
        {"ProgramaNombre", "ProgramaUnidad", "ProgramaCompilacion", "ProgramaCarpeta"},
        {"RecursosNombre", "RecursosUnidad", "RecursosCompilacion", "RecursosCarpeta"},
        {"MultimediaNombre", "MultimediaUnidad", "MultimediaCompilacion", "MultimediaCarpeta"},
        {"IconoNombre", "IconoVarios", "IconoCodigo", "IconoUnidad", "IconoCompilacion", "IconoCarpeta"},
        {"ExplorarRuta", "ExplorarCorreo", "ExplorarUnidad", "ExplorarCompilacion"},
    };
    for (const auto& order : pages) {
        SCOPED_TRACE(order.front());
        QWidget* w = &at<QWidget>(order.front());
        const QWidget* page = w->parentWidget();
        for (std::size_t i = 1; i < order.size(); ++i) {
            QWidget* next = nextByTab(w, page);
            ASSERT_NE(next, nullptr);
            EXPECT_EQ(next->objectName().toStdString(), order[i]);
            w = next;
        }
    }
}

TEST_F(BuilderTest, TheEmailBoxOfExplorarSetsTextsAndControls) {
    struct Case {
        bool email;
        bool inCompilation;
        bool driveEnabled;
        bool buttonFace;
        bool boxEnabled;
    };
    const std::vector<Case> cases = {
        {true, false, false, true, false},
        {true, true, false, true, false},
        {false, true, false, true, true},
        {false, false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.email) + std::to_string(c.inCompilation));
        at<QCheckBox>("ExplorarCompilacion").setChecked(c.inCompilation);
        at<QCheckBox>("ExplorarCorreo").setChecked(c.email);
        EXPECT_EQ(at<QLineEdit>("ExplorarUnidad").isEnabled(), c.driveEnabled);
        EXPECT_EQ(at<QLabel>("ExplorarUnidadEtiqueta").isEnabled(), c.driveEnabled);
        EXPECT_EQ(hasButtonFace(at<QLineEdit>("ExplorarUnidad")), c.buttonFace);
        EXPECT_EQ(at<QCheckBox>("ExplorarCompilacion").isEnabled(), c.boxEnabled);
        EXPECT_EQ(plain(at<QLabel>("ExplorarRutaEtiqueta").text()),
                  c.email ? QStringLiteral("Dirección de correo electrónico:")
                          : QStringLiteral("Ruta y nombre del recurso o carpeta:"));
        EXPECT_EQ(at<QLabel>("ExplorarEjemplo").text(), qs(kmr::explorarTexts(c.email).example));
    }
}

TEST_F(BuilderTest, TypingAnAtSignMarksAnEmailAddress) {
    struct Case {
        const char* before;
        bool boxBefore;
        const char* typed;
        bool boxAfter;
    };
    const std::vector<Case> cases = {
        {"", false, "ana@example.com", true},
        {"x", false, "@", true},
        {"x", true, "b", true},
        {"", true, "a", false},   // a key typed into an empty field clears the box
        {"", false, "@", false},  // also the "@" itself when it comes first
    };
    auto& path = at<QLineEdit>("ExplorarRuta");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " + " + c.typed);
        path.setText(QString::fromUtf8(c.before));
        path.end(false);
        at<QCheckBox>("ExplorarCorreo").setChecked(c.boxBefore);
        QTest::keyClicks(&path, QString::fromUtf8(c.typed));
        EXPECT_EQ(at<QCheckBox>("ExplorarCorreo").isChecked(), c.boxAfter);
        EXPECT_EQ(path.text(), QString::fromUtf8(c.before) + QString::fromUtf8(c.typed));
    }
}

TEST_F(BuilderTest, TheInternetChoiceReplacesTheAddress) {
    for (const bool email : {true, false, true}) {
        SCOPED_TRACE(email);
        at<QLineEdit>("InternetDireccion").setText(QStringLiteral("lo que había"));
        at<QRadioButton>(email ? "InternetCorreo" : "InternetWeb").click();
        const kmr::InternetTexts t = kmr::internetTexts(email);
        EXPECT_EQ(plain(at<QLabel>("InternetDireccionEtiqueta").text()),
                  email ? QStringLiteral("Dirección de correo electrónico:")
                        : QStringLiteral("Dirección de la página web, ruta del fichero a descargar:"));
        EXPECT_EQ(text("InternetDireccion"), qs(t.address));
        EXPECT_EQ(at<QLabel>("InternetEjemplo").text(), qs(t.example));
    }
}

TEST_F(BuilderTest, TheIconNameSetsSeveralIconsAndTheCode) {
    struct Step {
        const char* name;
        bool several;
    };
    const std::vector<Step> steps = {
        {"shell32.exe", true},
        {"autorun.ico", false},
        {"iconos.dll", true},
        {"AUTORUN.ICO", true},
        {"", true},
        {"x.bmp", false},
        {"recursos.res", true},
        {"dir.ico\\fichero", true},
        {"disco.ico", false},
        {"sin extension", false},
    };
    auto& name = at<QLineEdit>("IconoNombre");
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        name.setText(QString::fromUtf8(s.name));
        EXPECT_EQ(at<QCheckBox>("IconoVarios").isChecked(), s.several);
        EXPECT_EQ(at<QSpinBox>("IconoCodigo").isEnabled(), s.several);
        EXPECT_EQ(at<QLabel>("IconoCodigoEtiqueta").isEnabled(), s.several);
        EXPECT_EQ(hasButtonFace(at<QSpinBox>("IconoCodigo")), !s.several);
    }
    // Typed key by key, the name passes through ".e" and ".ex" before it reaches ".exe".
    name.clear();
    QTest::keyClicks(&name, QStringLiteral("prog.exe"));
    EXPECT_TRUE(at<QCheckBox>("IconoVarios").isChecked());
}

TEST_F(BuilderTest, TheIconCodeChangesOnlyByItsArrows) {
    at<QCheckBox>("IconoVarios").setChecked(true);
    auto& code = at<QSpinBox>("IconoCodigo");
    QTest::keyClick(&code, Qt::Key_Down);
    EXPECT_EQ(code.value(), 0);
    QTest::keyClick(&code, Qt::Key_Up);
    QTest::keyClick(&code, Qt::Key_Up);
    EXPECT_EQ(code.value(), 2);
    QTest::keyClicks(&code, QStringLiteral("57"));
    EXPECT_EQ(code.value(), 2);
    code.setValue(999);
    QTest::keyClick(&code, Qt::Key_Up);
    EXPECT_EQ(code.value(), 999);
}

TEST_F(BuilderTest, EveryCloseResetsPageKindAndCompatibilityLockButKeepsTheFields) {
    const std::vector<std::pair<const char*, std::function<void()>>> closes = {
        {"Cancelar", [this] { at<QPushButton>("Cancelar").click(); }},
        {"Escape", [this] { QTest::keyClick(&b(), Qt::Key_Escape); }},
        {"close box", [this] { b().close(); }},
        {"composition", [this] { press(); }},
    };
    for (const auto& [how, close] : closes) {
        SCOPED_TRACE(how);
        m_state.builderResult = QStringLiteral("de antes");
        b().show();
        EXPECT_TRUE(m_state.builderResult.isEmpty());  // every opening starts without a result
        at<QRadioButton>("Opcion4").click();
        press();
        at<QRadioButton>("InternetCorreo").click();
        at<QLineEdit>("InternetDireccion").setText(QStringLiteral("ana@example.net"));
        at<QLineEdit>("ProgramaNombre").setText(QStringLiteral("setup.exe"));
        at<QCheckBox>("IconoVarios").setChecked(true);
        at<QSpinBox>("IconoCodigo").setValue(7);
        b().forceCompatibility();

        close();

        EXPECT_FALSE(b().isVisible());
        EXPECT_EQ(b().currentPage(), BuilderPage::Nuevo);
        EXPECT_EQ(b().selectedKind(), 0);
        EXPECT_TRUE(at<QRadioButton>("Opcion0").isChecked());
        EXPECT_EQ(plain(at<QPushButton>("Siguiente").text()), QStringLiteral("Siguiente"));
        EXPECT_TRUE(at<QCheckBox>("InternetCompatibilidad").isEnabled());
        EXPECT_TRUE(at<QCheckBox>("InternetCompatibilidad").isChecked());
        EXPECT_TRUE(at<QRadioButton>("InternetCorreo").isChecked());
        EXPECT_EQ(text("InternetDireccion"), QStringLiteral("ana@example.net"));
        EXPECT_EQ(text("ProgramaNombre"), QStringLiteral("setup.exe"));
        EXPECT_EQ(at<QSpinBox>("IconoCodigo").value(), 7);
        EXPECT_EQ(
            m_state.builderResult,
            QString::fromUtf8(std::string_view(how) == "composition" ? "explorer \"mailto:ana@example.net\"" : ""));
        b().releaseCompatibility();
    }
}

TEST_F(BuilderTest, ExecOnOpensOnTheAskedPageAndReportsWhetherItComposed) {
    auto ran = actOnNextModal([this](QWidget* modal) {
        ASSERT_EQ(modal, &b());
        EXPECT_EQ(b().currentPage(), BuilderPage::Icono);
        EXPECT_EQ(plain(at<QPushButton>("Siguiente").text()), QStringLiteral("Insertar"));
        at<QLineEdit>("IconoNombre").setText(QStringLiteral("disco.ico"));
        at<QCheckBox>("IconoCompilacion").setChecked(true);
        press();
    });
    EXPECT_TRUE(b().execOn(BuilderPage::Icono));
    EXPECT_TRUE(*ran);
    EXPECT_EQ(m_state.builderResult, QStringLiteral("disco.ico"));

    ran = actOnNextModal([this](QWidget*) { EXPECT_EQ(b().currentPage(), BuilderPage::Nuevo); });
    EXPECT_FALSE(b().execOn(BuilderPage::Nuevo));
    EXPECT_TRUE(*ran);
    EXPECT_TRUE(m_state.builderResult.isEmpty());
}

}  // namespace
}  // namespace kmr::gui::test
