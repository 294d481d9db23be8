#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "frame/options_dialog.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class StartupTest : public FrameTest {};

TEST_F(StartupTest, FirstStartWritesEveryDefaultCentresTheFrameAndRunsTheWizard) {
    MainWindow& f = makeFrame();
    ASSERT_TRUE(f.startUp());
    SettingsKey k = key();
    const struct {
        const char* name;
        QString text;
    } defaults[] = {
        {"Otro", QStringLiteral("http://")},
        {"Bienvenida", QStringLiteral("1")},
        {"Centrar", QStringLiteral("1")},
        {"Asistente", QStringLiteral("1")},
        {"Vericonos", QStringLiteral("1")},
        {"Verestado", QStringLiteral("1")},
        {"Veridea", QStringLiteral("1")},
        {"Actualizar", QStringLiteral("0")},
        {"X0", QStringLiteral("0")},
        {"Y0", QStringLiteral("0")},
        {"X1", QStringLiteral("0")},
        {"Y1", QStringLiteral("0")},
        {"Estado", QStringLiteral("0")},
        {"Archivo", QString()},
        {"link1", QString()},
        {"link5", QString()},
        {"inicio", QStringLiteral("1")},
        {"Ayuda", QDir(path(QStringLiteral("bin"))).filePath(QStringLiteral("kmr.hlp"))},
    };
    for (const auto& d : defaults) {
        SCOPED_TRACE(d.name);
        EXPECT_TRUE(k.valueExists(QLatin1String(d.name)));
        EXPECT_EQ(k.readText(QLatin1String(d.name)), d.text);
    }
    EXPECT_EQ(f.helpFile(), k.readText(QStringLiteral("Ayuda")));

    // The file type is registered in the classes root.
    const QString bin = QDir::toNativeSeparators(path(QStringLiteral("bin")));
    EXPECT_EQ(m_store->readText(SettingsRoot::Classes, QStringLiteral(".kmr"), QString()),
              QStringLiteral("kmrautofile"));
    EXPECT_EQ(m_store->readText(SettingsRoot::Classes, QStringLiteral("kmrautofile"), QString()),
              QStringLiteral("Proyecto de Quillmere"));
    EXPECT_EQ(m_store->readText(SettingsRoot::Classes, QStringLiteral("kmrautofile\\DefaultIcon"), QString()),
              bin + QDir::separator() + QStringLiteral("kmrfile.ico,0"));
    EXPECT_EQ(m_store->readText(SettingsRoot::Classes, QStringLiteral("kmrautofile\\shell\\Open\\Command"), QString()),
              QDir::toNativeSeparators(m_programFile) + QStringLiteral(" \"%1\""));
    EXPECT_TRUE(m_prompts.messages.empty());

    f.show();
    EXPECT_EQ(f.size(), QSize(626, 532));
    const QPoint centre = f.screen()->availableGeometry().center();
    EXPECT_LE((f.frameGeometry().center() - centre).manhattanLength(), 2);
    const QPoint topLeft = f.pos();
    // The first activation runs the new-project wizard; what it gathers becomes "Sin nombre 1".
    bool wizardShown = false;
    onNextModal([&wizardShown](QWidget* wizard) {
        wizardShown = wizard->objectName() == QStringLiteral("TForm2");
        if (auto* label = wizard->findChild<QLineEdit*>(QStringLiteral("Etiqueta")))
            label->setText(QStringLiteral("MiCD"));
        finishWizard(wizard);
    });
    QApplication::processEvents();  // the first activation
    EXPECT_EQ(f.size(), QSize(626, 532)) << "a stored 0 by 0 means no size yet: the designed size stays";
    EXPECT_EQ(f.pos(), topLeft);
    EXPECT_TRUE(wizardShown);
    ASSERT_EQ(f.projectWindows().size(), 1) << "with no file given the new-project command runs";
    EXPECT_EQ(f.projectWindows().constFirst()->windowTitle(), QStringLiteral("Sin nombre 1"));
    EXPECT_EQ(f.projectWindows().constFirst()->project(), kmr::Project{{kmr::makeLabel("MiCD")}});
    EXPECT_TRUE(f.optionsDialog()->welcome());
    EXPECT_TRUE(f.optionsDialog()->centre());
    EXPECT_TRUE(f.handOffTimer()->isActive());
    EXPECT_EQ(f.handOffTimer()->interval(), 450);
    EXPECT_EQ(f.handOffTimer()->timerType(), Qt::PreciseTimer);
}

TEST_F(StartupTest, RegistrationIsSkippedOnlyWhenTheMarkerKeyExists) {
    m_store->createKey(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR2"));
    ASSERT_TRUE(makeFrame().startUp());
    EXPECT_FALSE(m_store->keyExists(SettingsRoot::Classes, QStringLiteral(".kmr")));
}

// The first start writes the registration with its marker and the defaults, each file saved once;
// a second start finds everything in place and saves nothing; a close saves the geometry once.
TEST_F(StartupTest, AFirstStartSavesEachFileOnceAndASecondStartNothing) {
    const QString classes = path(QStringLiteral("settings/classes.ini"));
    int saves = m_store->saves();
    MainWindow& f = startFrame();
    EXPECT_EQ(m_store->saves() - saves, 3) << "classes.ini once, machine.ini once, the wizard switch once";
    EXPECT_TRUE(m_store->keyExists(SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR2")));
    const QByteArray registration = readBytes(classes);
    saves = m_store->saves();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(m_store->saves() - saves, 1) << "the geometry in one save";
    m_frame.reset();

    // Another process would see the same files; a changed registration value shows whether it was rewritten.
    m_store->writeText(SettingsRoot::Classes, QStringLiteral("kmrautofile"), QString(), QStringLiteral("cambiado"));
    saves = m_store->saves();
    MainWindow& again = makeFrame();
    ASSERT_TRUE(again.startUp());
    again.show();
    again.firstActivation();
    EXPECT_EQ(m_store->saves() - saves, 0);
    EXPECT_EQ(m_store->readText(SettingsRoot::Classes, QStringLiteral("kmrautofile"), QString()),
              QStringLiteral("cambiado"));
    EXPECT_TRUE(registration.contains("Proyecto de Quillmere"));
}

// The frame opens at the stored size and place, brought onto the screen it opens on.
TEST_F(StartupTest, StoredGeometryIsKeptOnTheScreen) {
    const struct {
        const char* name;
        int x0, y0, x1, y1;
        bool fits;  // the stored geometry fits the screen and is taken as it is
    } cases[] = {
        {"inside", 10, 20, 700, 500, true},
        {"larger than the screen", -400, 5000, 3000, 2000, false},
        {"beyond the right edge", 700, 400, 600, 400, false},
        {"below the minimum", 5, 5, 100, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsKey k = key();
        k.writeBool(QStringLiteral("Centrar"), false);
        k.writeInt(QStringLiteral("X0"), c.x0);
        k.writeInt(QStringLiteral("Y0"), c.y0);
        k.writeInt(QStringLiteral("X1"), c.x1);
        k.writeInt(QStringLiteral("Y1"), c.y1);
        MainWindow& f = startFrame();
        const QRect area = f.screen()->availableGeometry();
        EXPECT_TRUE(area.contains(f.frameGeometry())) << "area " << area.width() << "x" << area.height();
        EXPECT_GE(f.width(), 500);
        EXPECT_GE(f.height(), 300);
        if (c.fits) {
            EXPECT_EQ(f.pos(), QPoint(c.x0, c.y0));
            EXPECT_EQ(f.size(), QSize(c.x1, c.y1));
        }
        if (QString::fromLatin1(c.name).startsWith(QLatin1String("beyond"))) {
            EXPECT_EQ(f.size(), QSize(c.x1, c.y1)) << "a frame that fits is moved, not shrunk";
        }
        EXPECT_TRUE(f.close());
        m_frame.reset();
    }
}

TEST_F(StartupTest, MissingHelpFileIsReportedAndAStaleStoredPathIsReplaced) {
    QFile::remove(path(QStringLiteral("bin/kmr.hlp")));
    key().writeText(QStringLiteral("Ayuda"), path(QStringLiteral("gone.hlp")));
    ASSERT_TRUE(makeFrame().startUp());
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("No se encuentra el fichero de ayuda."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(key().readText(QStringLiteral("Ayuda")), path(QStringLiteral("gone.hlp")));

    m_frame.reset();
    m_prompts.messages.clear();
    writeBytes(path(QStringLiteral("bin/kmr.hlp")), "help");
    ASSERT_TRUE(makeFrame().startUp());
    EXPECT_TRUE(m_prompts.messages.empty());
    EXPECT_EQ(key().readText(QStringLiteral("Ayuda")), path(QStringLiteral("bin/kmr.hlp")));
}

TEST_F(StartupTest, OldConfigurationIsMigratedDeletedOrKeptByTheAnswer) {
    const QString question = QStringLiteral(
        "Se ha detectado la configuración de una versión anterior de KMR. ¿Desea importar su configuración antes de "
        "eliminarla?");
    const QString deleted = QStringLiteral("Se ha eliminado la información obsoleta del registro.");
    const QString old = QStringLiteral("software\\Dantreva\\Vostrelo\\Config");
    for (Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
        SCOPED_TRACE(static_cast<int>(answer));
        m_frame.reset();
        m_store->deleteKey(SettingsRoot::Machine, QStringLiteral("Software"));
        m_prompts.messages.clear();
        SettingsKey o = *SettingsKey::open(*m_store, SettingsRoot::CurrentUser, old, true);
        o.writeText(QStringLiteral("Ayuda"), path(QStringLiteral("bin/kmr.hlp")));
        o.writeText(QStringLiteral("Otro"), QStringLiteral("http://otro.example"));
        o.writeBool(QStringLiteral("Bienvenida"), false);
        o.writeBool(QStringLiteral("Centrado"), false);
        o.writeBool(QStringLiteral("Iconos"), false);
        o.writeBool(QStringLiteral("Estado"), false);
        o.writeInt(QStringLiteral("Actualiza"), 3);
        m_prompts.answer(answer);
        ASSERT_TRUE(makeFrame().startUp());
        ASSERT_GE(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, question);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Confirmación"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNoCancel);
        SettingsKey k = key();
        const bool copied = answer == Answer::Yes;
        EXPECT_EQ(k.readText(QStringLiteral("Otro")),
                  copied ? QStringLiteral("http://otro.example") : QStringLiteral("http://"));
        EXPECT_EQ(k.readBool(QStringLiteral("Bienvenida")), !copied);
        EXPECT_EQ(k.readBool(QStringLiteral("Centrar")), !copied);
        EXPECT_EQ(k.readBool(QStringLiteral("Vericonos")), !copied);
        EXPECT_EQ(k.readBool(QStringLiteral("Verestado")), !copied) << "the old status-bar flag";
        EXPECT_EQ(k.readInt(QStringLiteral("Estado")), 0) << "not the window state";
        EXPECT_EQ(k.readInt(QStringLiteral("Actualizar")), copied ? 3 : 0);
        if (answer == Answer::Cancel) {
            EXPECT_EQ(m_prompts.messages.size(), 1u);
            EXPECT_TRUE(m_store->keyExists(SettingsRoot::CurrentUser, old)) << "asked again at the next start";
        } else {
            ASSERT_EQ(m_prompts.messages.size(), 2u);
            EXPECT_EQ(m_prompts.messages[1].text, deleted);
            EXPECT_EQ(m_prompts.messages[1].title, QStringLiteral("Información"));
            EXPECT_EQ(m_prompts.messages[1].icon, MessageIcon::Information);
            EXPECT_FALSE(m_store->keyExists(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo")));
        }
        m_store->deleteKey(SettingsRoot::CurrentUser, QStringLiteral("Software"));
    }
}

TEST_F(StartupTest, StoredGeometryAndStateAreRestoredAndStoredAgainAtShutDown) {
    SettingsKey k = key();
    k.writeBool(QStringLiteral("Centrar"), false);
    k.writeInt(QStringLiteral("X0"), 40);
    k.writeInt(QStringLiteral("Y0"), 30);
    k.writeInt(QStringLiteral("X1"), 700);
    k.writeInt(QStringLiteral("Y1"), 450);
    MainWindow& f = startFrame();
    EXPECT_EQ(f.size(), QSize(700, 450));
    EXPECT_EQ(f.pos(), QPoint(40, 30));

    f.move(55, 66);
    f.resize(640, 480);
    f.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(f.isMaximized());
    const int maximizedHeight = f.height();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(k.readInt(QStringLiteral("Estado")), 2);
    EXPECT_EQ(k.readInt(QStringLiteral("X1")), 700) << "the width from before stays while maximized";
    EXPECT_EQ(k.readInt(QStringLiteral("Y1")), maximizedHeight);
}

TEST_F(StartupTest, ShutDownStoresTheNormalGeometry) {
    MainWindow& f = startFrame();
    f.resize(610, 420);
    f.move(12, 34);
    EXPECT_TRUE(f.close());
    SettingsKey k = key();
    EXPECT_EQ(k.readInt(QStringLiteral("X1")), 610);
    EXPECT_EQ(k.readInt(QStringLiteral("Y1")), 420);
    EXPECT_EQ(k.readInt(QStringLiteral("X0")), f.x());
    EXPECT_EQ(k.readInt(QStringLiteral("Y0")), f.y());
    EXPECT_EQ(k.readInt(QStringLiteral("Estado")), 0);
}

TEST_F(StartupTest, OptionsCancelLeavesTheFrameAsItWasAndAcceptAppliesAtOnce) {
    MainWindow& f = startFrame();
    auto* toolBar = f.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_FALSE(toolBar->isHidden());
    for (const char* button : {"Cancelar", "Aceptar"}) {
        SCOPED_TRACE(button);
        onNextModal([button](QWidget* dialog) {
            dialog->findChild<QCheckBox*>(QStringLiteral("Vericonos"))->setChecked(false);
            dialog->findChild<QCheckBox*>(QStringLiteral("Verestado"))->setChecked(false);
            dialog->findChild<QRadioButton*>(QStringLiteral("Sitio3"))->setChecked(true);
            dialog->findChild<QPushButton*>(QLatin1String(button))->click();
        });
        action("Opciones1")->trigger();
        const bool accepted = QLatin1String(button) == QLatin1String("Aceptar");
        EXPECT_EQ(toolBar->isHidden(), accepted);
        EXPECT_EQ(f.statusBar()->isHidden(), accepted);
        EXPECT_EQ(action("Barradeiconos1")->isChecked(), !accepted);
        EXPECT_EQ(key().readBool(QStringLiteral("Vericonos")), !accepted);
        EXPECT_EQ(f.optionsDialog()->siteSelection(), accepted ? 3 : 0);
        EXPECT_EQ(f.optionsDialog()->showToolBar(), !accepted) << "the dialog holds the stored values after closing";
    }
}

TEST_F(StartupTest, OptionsDialogShowsNoSiteForASelectionOutOfRange) {
    startFrame();
    key().writeInt(QStringLiteral("Actualizar"), 9);
    int checked = -1;
    onNextModal([&checked](QWidget* dialog) {
        checked = 0;
        for (auto* b : dialog->findChildren<QRadioButton*>()) checked += b->isChecked() ? 1 : 0;
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Nota"))->text(),
                  QStringLiteral("Es recomendable usar la web Brenlowe Pexilon, es donde se actualiza el programa."));
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Opciones"));
        dialog->findChild<QPushButton*>(QStringLiteral("Cancelar"))->click();
    });
    action("Opciones1")->trigger();
    EXPECT_EQ(checked, 0);
    EXPECT_TRUE(m_frame->optionsDialog()->siteAddress().isEmpty());
}

TEST_F(StartupTest, ViewTogglesFlipStoreAndApplyTheirOption) {
    MainWindow& f = startFrame();
    const struct {
        const char* action;
        const char* value;
    } toggles[] = {{"Barradeiconos1", "Vericonos"},
                   {"Barradeestado1", "Verestado"},
                   {"Iniciorpido1", "inicio"},
                   {"Asistenteidea1", "Veridea"}};
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.action);
        action(t.action)->trigger();
        EXPECT_FALSE(key().readBool(QLatin1String(t.value)));
        EXPECT_FALSE(action(t.action)->isChecked());
        action(t.action)->trigger();
        EXPECT_TRUE(key().readBool(QLatin1String(t.value)));
        EXPECT_TRUE(action(t.action)->isChecked());
    }
    action("Barradeestado1")->trigger();
    EXPECT_TRUE(f.statusBar()->isHidden());
    // A toggle applies the stored window state as well.
    key().writeInt(QStringLiteral("Estado"), 2);
    action("Barradeestado1")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(f.statusBar()->isHidden());
    EXPECT_TRUE(f.isMaximized());
}

}  // namespace
}  // namespace kmr::gui::test
