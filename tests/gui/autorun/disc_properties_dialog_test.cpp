// "Propiedades del disco": each kind of entry edited in the dialog shows in the compiled file, the checks
// that keep a changed entry readable, the way in by the disc bar, and the import option.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "autorun/compiler.h"
#include "autorun/disc_properties_dialog.h"
#include "autorun/importer.h"
#include "project/disc_bar.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

// A disc with something of every kind: a kept line with its own spacing, the AutoPlay entries, a
// content type, folders, a platform section and a section of its own.
constexpr std::string_view kRichAutorun =
    "[autorun]\r\nopen=setup.exe\r\naction=Instalar Mi programa\r\n  shellstart = x  \r\nUseAutoPlay=1\r\n"
    "[Content]\r\nMusicFiles=1\r\n[ExclusiveContentPaths]\r\n\\musica\r\n[DeviceInstall]\r\nDriverPath=drivers\r\n"
    "[AutoRun.Amd64]\r\nopen=setup64.exe\r\n[Strings]\r\nNombre=Mi disco\r\n";

template <class T>
T* get(QWidget* dialog, const char* name) {
    T* w = dialog->findChild<T*>(QLatin1String(name));
    if (w == nullptr) ADD_FAILURE() << "no control named " << name;
    return w;
}

// Sets the cells of a row, the editor a button opened closed first so that it writes nothing over them.
void setRow(QTableWidget* table, int row, const QString& first, const QString& key, const QString& value) {
    table->setCurrentCell(row, 0);
    table->setCurrentCell(row, 2);
    table->item(row, 0)->setText(first);
    table->item(row, 1)->setText(key);
    table->item(row, 2)->setText(value);
}

class DiscPropertiesTest : public FrameTest {
protected:
    ProjectWindow* importedProject() {
        ProjectWindow* child = newProject(kmr::importAutorun(kRichAutorun, kmr::ImportOptions{}).project);
        child->setSaved(1);
        return child;
    }
    // Runs "Propiedades del disco..." with `fill` on the dialog, then presses `button`.
    void editProperties(const std::function<void(QWidget*)>& fill, const char* button = "Aceptar") {
        onNextModal([&fill, button](QWidget* dialog) {
            ASSERT_NE(qobject_cast<DiscPropertiesDialog*>(dialog), nullptr);
            fill(dialog);
            if (auto* b = get<QPushButton>(dialog, button)) b->click();
        });
        action("PropDisco1")->trigger();
    }
};

TEST_F(DiscPropertiesTest, EachKindOfEntryEditedShowsInTheCompiledFile) {
    startFrame();
    const struct {
        const char* what;
        std::function<void(QWidget*)> fill;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {"nothing touched: every entry as it was, the odd spacing too",
         [](QWidget*) {},
         {"action=Instalar Mi programa\r\nUseAutoPlay=1\r\n  shellstart = x  \r\n", "[Strings]\r\nNombre=Mi disco\r\n"},
         {}},
        {"AutoPlay text",
         [](QWidget* d) { get<QLineEdit>(d, "Accion")->setText(QStringLiteral("Ver el contenido")); },
         {"action=Ver el contenido\r\n"},
         {"Instalar Mi programa"}},
        {"AutoPlay text removed", [](QWidget* d) { get<QLineEdit>(d, "Accion")->clear(); }, {}, {"action="}},
        {"Usar Reproducción automática off",
         [](QWidget* d) { get<QCheckBox>(d, "UsarReproduccion")->setChecked(false); },
         {},
         {"UseAutoPlay"}},
        {"custom event",
         [](QWidget* d) { get<QLineEdit>(d, "Evento")->setText(QStringLiteral("MiEvento")); },
         {"CustomEvent=MiEvento\r\n"},
         {}},
        {"content types",
         [](QWidget* d) {
             get<QComboBox>(d, "Musica")->setCurrentIndex(2);
             get<QComboBox>(d, "Imagenes")->setCurrentIndex(1);
         },
         {"[Content]\r\nMusicFiles=false\r\nPictureFiles=true\r\n"},
         {"VideoFiles", "MusicFiles=1"}},
        {"exclusive folders, blanks and empty lines left out",
         [](QWidget* d) {
             get<QPlainTextEdit>(d, "RutasExclusivas")->setPlainText(QStringLiteral("\\musica\n\n  \\fotos  "));
         },
         {"[ExclusiveContentPaths]\r\n\\musica\r\n\\fotos\r\n"},
         {}},
        {"ignored folders",
         [](QWidget* d) { get<QPlainTextEdit>(d, "RutasIgnoradas")->setPlainText(QStringLiteral("\\temp")); },
         {"[IgnoreContentPaths]\r\n\\temp\r\n"},
         {}},
        {"driver folders removed",
         [](QWidget* d) { get<QPlainTextEdit>(d, "Controladores")->clear(); },
         {},
         {"[DeviceInstall]", "DriverPath"}},
        {"platform entry added",
         [](QWidget* d) {
             auto* table = get<QTableWidget>(d, "TablaPlataformas");
             table->setCurrentCell(0, 0);
             get<QPushButton>(d, "AnadirPlataforma")->click();
             ASSERT_EQ(table->rowCount(), 2);
             setRow(table, 1, QStringLiteral("x86"), QStringLiteral("open"), QStringLiteral("setup32.exe"));
         },
         {"[AutoRun.Amd64]\r\nopen=setup64.exe\r\n", "[AutoRun.x86]\r\nopen=setup32.exe\r\n"},
         {}},
        {"platform entry changed",
         [](QWidget* d) {
             get<QTableWidget>(d, "TablaPlataformas")->item(0, 2)->setText(QStringLiteral("setup64b.exe"));
         },
         {"[AutoRun.Amd64]\r\nopen=setup64b.exe\r\n"},
         {"setup64.exe"}},
        {"platform entry removed",
         [](QWidget* d) {
             get<QTableWidget>(d, "TablaPlataformas")->setCurrentCell(0, 1);
             get<QPushButton>(d, "EliminarPlataforma")->click();
         },
         {},
         {"AutoRun.Amd64"}},
        {"kept entry added after the current one, in its section",
         [](QWidget* d) {
             auto* table = get<QTableWidget>(d, "TablaEntradas");
             ASSERT_EQ(table->rowCount(), 2);
             EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("Strings"));
             table->setCurrentCell(1, 0);
             get<QPushButton>(d, "AnadirEntrada")->click();
             ASSERT_EQ(table->rowCount(), 3);
             EXPECT_EQ(table->item(2, 0)->text(), QStringLiteral("Strings"));
             setRow(table, 2, QStringLiteral("Strings"), QStringLiteral("Autor"), QStringLiteral("Yo"));
         },
         {"[Strings]\r\nNombre=Mi disco\r\nAutor=Yo\r\n"},
         {}},
        {"kept entry changed: written again from its key and value",
         [](QWidget* d) { get<QTableWidget>(d, "TablaEntradas")->item(0, 2)->setText(QStringLiteral("y")); },
         {"UseAutoPlay=1\r\nshellstart=y\r\n"},
         {"shellstart = x"}},
        {"kept entry moved to a new section",
         [](QWidget* d) { get<QTableWidget>(d, "TablaEntradas")->item(0, 0)->setText(QStringLiteral("Extra")); },
         {"[Extra]\r\nshellstart=x\r\n"},
         {"shellstart = x"}},
        {"kept entry removed",
         [](QWidget* d) {
             get<QTableWidget>(d, "TablaEntradas")->setCurrentCell(1, 1);
             get<QPushButton>(d, "EliminarEntrada")->click();
         },
         {},
         {"[Strings]", "Nombre"}},
    };
    const std::string before = kmr::autorunFileBytes(importedProject()->project());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectWindow* child = importedProject();
        const kmr::Project old = child->project();
        editProperties(c.fill);
        const std::string compiled = kmr::autorunFileBytes(child->project());
        for (const std::string& line : c.present) EXPECT_NE(compiled.find(line), std::string::npos) << line << compiled;
        for (const std::string& text : c.absent) EXPECT_EQ(compiled.find(text), std::string::npos) << text << compiled;
        const bool changed = compiled != before;
        EXPECT_EQ(child->saved(), changed ? 0 : 1) << "an accepted change leaves the project to be saved";
        EXPECT_EQ(child->project().objects, old.objects) << "the objects are no business of the dialog";
        child->setSaved(1);
        child->parentWidget()->close();
    }
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(DiscPropertiesTest, ChangedEntriesThatTheFileCouldNotReadBackAreRefused) {
    startFrame();
    const QString empty = QStringLiteral("Debe introducir algún valor en el campo.");
    const struct {
        const char* what;
        std::function<void(QWidget*)> fill;
        QString message;
        int page;
    } cases[] = {
        {"added entry without key", [](QWidget* d) { get<QPushButton>(d, "AnadirEntrada")->click(); }, empty, 3},
        {"key with =",
         [](QWidget* d) { get<QTableWidget>(d, "TablaEntradas")->item(1, 1)->setText(QStringLiteral("a=b")); },
         QStringLiteral("La clave no puede llevar el signo \"=\" ni empezar por \"[\"."), 3},
        {"section with brackets",
         [](QWidget* d) { get<QTableWidget>(d, "TablaEntradas")->item(1, 0)->setText(QStringLiteral("[Strings]")); },
         QStringLiteral("El nombre de la sección no puede llevar corchetes."), 3},
        {"value of two lines",
         [](QWidget* d) { get<QTableWidget>(d, "TablaEntradas")->item(1, 2)->setText(QStringLiteral("uno\ndos")); },
         QStringLiteral("Un valor no puede ocupar más de una línea."), 3},
        {"unknown platform",
         [](QWidget* d) { get<QTableWidget>(d, "TablaPlataformas")->item(0, 0)->setText(QStringLiteral("Sparc")); },
         QStringLiteral("Elija una de las plataformas: x86, Amd64, Alpha, Mips o PPC."), 2},
        {"platform key as a comment",
         [](QWidget* d) { get<QTableWidget>(d, "TablaPlataformas")->item(0, 1)->setText(QStringLiteral(";open")); },
         QStringLiteral("La clave no puede llevar el signo \"=\" ni empezar por \"[\" o \";\"."), 2},
        {"folder read back as a header",
         [](QWidget* d) { get<QPlainTextEdit>(d, "RutasIgnoradas")->setPlainText(QStringLiteral("\\a\n[b]")); },
         QStringLiteral("Una carpeta no puede empezar por \"[\" ni por \";\"."), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectWindow* child = importedProject();
        const kmr::Project old = child->project();
        m_prompts.messages.clear();
        bool stayedOpen = false;
        int page = -1;
        editProperties(
            [&](QWidget* d) {
                get<QTabWidget>(d, "Paginas")->setCurrentIndex(0);
                c.fill(d);
                get<QPushButton>(d, "Aceptar")->click();
                stayedOpen = d->isVisible();
                page = get<QTabWidget>(d, "Paginas")->currentIndex();
            },
            "Cancelar");
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, c.message);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(page, c.page) << "the page of the faulty field comes to the front";
        EXPECT_EQ(child->project(), old);
        EXPECT_EQ(child->saved(), 1);
        child->parentWidget()->close();
    }
}

TEST_F(DiscPropertiesTest, TheDiscBarButtonOpensItOnItsOwnWindowStartingOnTheFirstField) {
    startFrame();
    ProjectWindow* first = importedProject();
    ProjectWindow* second = newProject(kmr::Project{});
    ASSERT_EQ(m_frame->activeProjectWindow(), second);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        int page = -1;
        QString focused;
        QString shownAction;
        onNextModal([&](QWidget* d) {
            page = get<QTabWidget>(d, "Paginas")->currentIndex();
            focused = d->focusWidget() != nullptr ? d->focusWidget()->objectName() : QString();
            shownAction = get<QLineEdit>(d, "Accion")->text();
            // Left on another page: the next showing starts on the first field again.
            get<QTabWidget>(d, "Paginas")->setCurrentIndex(3);
            get<QPushButton>(d, "Cancelar")->click();
        });
        first->discBar()->propertiesButton()->click();
        EXPECT_EQ(page, 0);
        EXPECT_EQ(focused, QStringLiteral("Accion"));
        EXPECT_EQ(shownAction, QStringLiteral("Instalar Mi programa")) << "the settings of the bar's own window";
    }
    EXPECT_EQ(first->saved(), 1) << "Cancelar changes nothing";
}

TEST_F(DiscPropertiesTest, TheImportOptionDecidesWhetherAnImportKeepsTheEntries) {
    startFrame();
    const QString file = path(QStringLiteral("autorun.inf"));
    writeBytes(file, QByteArray(kRichAutorun.data(), static_cast<qsizetype>(kRichAutorun.size())));
    const kmr::ImportResult plain = kmr::importAutorun(kRichAutorun);
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        onNextModal([keep](QWidget* d) {
            auto* box = get<QCheckBox>(d, "Conservar");
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->text() ==
                        QStringLiteral("Conservar al importar las entradas que no son órdenes del proyecto"));
            box->setChecked(keep);
            get<QPushButton>(d, "Aceptar")->click();
        });
        action("Opciones1")->trigger();
        EXPECT_EQ(key().readBool(QStringLiteral("Conservar")), keep);

        m_prompts.choose(file);
        action("Importar2")->trigger();
        ProjectWindow* child = m_frame->activeProjectWindow();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->project().objects, plain.project.objects);
        EXPECT_EQ(child->project().settings.empty(), !keep);
        if (keep) {
            EXPECT_EQ(child->project().settings.action, std::optional<std::string>("Instalar Mi programa"));
        }
        child->setSaved(1);
        child->parentWidget()->close();
    }
}

}  // namespace
}  // namespace kmr::gui::test
