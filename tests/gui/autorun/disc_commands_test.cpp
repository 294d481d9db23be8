#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>

#include <sys/stat.h>

#include "autorun/compiler.h"
#include "autorun/disc_commands.h"
#include "autorun/disc_preview_dialog.h"
#include "autorun/disc_report_dialog.h"
#include "project/disc_bar.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class DiscCommandsTest : public FrameTest {
protected:
    // A disc folder holding setup.exe, and a frame with a project for it.
    ProjectWindow* projectOnDisc(std::vector<kmr::ProjectObject> objects, kmr::Medium medium = kmr::Medium::CdDvd) {
        startFrame();
        EXPECT_TRUE(QDir().mkpath(disc));
        writeBytes(disc + QStringLiteral("/setup.exe"), "MZ");
        ProjectWindow* child = newProject(kmr::Project(std::move(objects)));
        child->setDisc({disc.toStdString(), medium});
        return child;
    }
    void writeScript(const QString& file, const QByteArray& body) {
        writeBytes(file, "#!/bin/sh\n" + body);
        QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner);
    }
    QStringList filesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    const QString disc = path(QStringLiteral("disco"));
};

TEST_F(DiscCommandsTest, CheckAsksForTheFolderFirstThenReportsWhatItFindsOrThatTheDiscIsReady) {
    startFrame();
    ASSERT_TRUE(QDir().mkpath(disc));
    writeBytes(disc + QStringLiteral("/setup.exe"), "MZ");
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("falta.ico"));
    p.append(kmr::makeLabel("MiCD"));
    ProjectWindow* child = newProject(p);
    child->setSaved(1);

    m_prompts.choose(std::nullopt);
    action("ComprobarDisco1")->trigger();
    EXPECT_TRUE(m_prompts.messages.empty()) << "no folder, no check";
    EXPECT_EQ(child->saved(), 1);

    QStringList titles;
    QString explanation;
    onNextModal([&](QWidget* w) {
        auto* report = qobject_cast<DiscReportDialog*>(w);
        ASSERT_NE(report, nullptr);
        for (int i = 0; i < report->listView()->count(); ++i) titles << report->listView()->item(i)->text();
        EXPECT_TRUE(report->explanation()->toPlainText().isEmpty());
        report->listView()->item(0)->setSelected(true);
        explanation = report->explanation()->toPlainText();
        report->findChild<QPushButton*>(QStringLiteral("Cerrar"))->click();
    });
    m_prompts.choose(disc);
    action("ComprobarDisco1")->trigger();
    ASSERT_EQ(m_prompts.folders.size(), 2u);
    EXPECT_EQ(m_prompts.folders[1].title, QStringLiteral("Carpeta del disco"));
    EXPECT_EQ(child->project().disc.folder, disc.toStdString());
    EXPECT_EQ(child->discBar()->folderEdit()->text(), disc);
    EXPECT_EQ(child->saved(), 0) << "the folder is part of the project";
    EXPECT_EQ(titles, QStringList{QStringLiteral("Fichero inexistente en el disco")});
    EXPECT_TRUE(explanation.contains(QStringLiteral("\"falta.ico\""))) << explanation.toStdString();
    EXPECT_TRUE(explanation.startsWith(QStringLiteral("  "))) << explanation.toStdString();
    EXPECT_TRUE(m_prompts.messages.empty());

    kmr::Project fixed = child->project();
    fixed.objects.erase(fixed.objects.begin() + 1);
    child->setProject(fixed, -1);
    child->markChanged();
    action("ComprobarDisco1")->trigger();
    EXPECT_EQ(m_prompts.folders.size(), 2u) << "the folder is asked for once";
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("No se ha encontrado ningún problema: el disco está listo."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Información"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Information);
}

// A FIFO among the files the project names stops the check, the preview and the image at once with
// what it is, as kmrc does; nothing waits on it.
TEST_F(DiscCommandsTest, AFifoInTheDiscFolderStopsEveryReader) {
    projectOnDisc({kmr::makeProgram("setup.exe"), kmr::makeIcon("icono.ico")});
    const QString fifo = disc + QStringLiteral("/icono.ico");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString said =
        fifo + QStringLiteral(
                   ": no es un fichero normal (es una tubería, un dispositivo o un socket, o un enlace "
                   "a uno); la carpeta del disco solo puede llevar ficheros y carpetas");
    for (const char* command : {"ComprobarDisco1", "VistaPreviaDisco1", "CrearImagenISO1"}) {
        SCOPED_TRACE(command);
        m_prompts.messages.clear();
        action(command)->trigger();
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, said);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    }
    EXPECT_EQ(filesIn(disc), QStringList{QStringLiteral("setup.exe")}) << "no autorun.inf written";
}

TEST_F(DiscCommandsTest, PreviewShowsTheIconNameAndContextMenuOrTheStandardPictureAndWhy) {
    struct Case {
        const char* icon;
        kmr::Medium medium;
        bool standard;
        QString reason;
        QStringList menu;  // "*" before the default entry, "" for the gap before Windows' own entries
    };
    const QStringList own = {QStringLiteral("Explorar"), QStringLiteral("Expulsar"), QStringLiteral("Propiedades")};
    const Case cases[] = {
        {"DISCO.ICO", kmr::Medium::CdDvd, false, QString(),
         QStringList{QStringLiteral("Reproducción automática"), QStringLiteral("Leeme"), QStringLiteral("*Instalar"),
                     QString(), QStringLiteral("Abrir")} +
             own},
        {"falta.ico", kmr::Medium::CdDvd, true,
         QStringLiteral("No se encuentra el fichero \"falta.ico\" en la carpeta del disco. Se muestra el icono normal "
                        "de un CD."),
         QStringList{QStringLiteral("Reproducción automática"), QStringLiteral("Leeme"), QStringLiteral("*Instalar"),
                     QString(), QStringLiteral("Abrir")} +
             own},
        {"disco.ico,1", kmr::Medium::Usb, true,
         QStringLiteral("El fichero \"disco.ico\" no tiene el icono número 1. Se muestra el icono normal de una "
                        "unidad USB."),
         QStringList{QStringLiteral("Reproducción automática (no documentado)"),
                     QStringLiteral("Leeme (no documentado)"), QStringLiteral("Instalar (no documentado)"), QString(),
                     QStringLiteral("Abrir")} +
             own},
    };
    startFrame();
    ASSERT_TRUE(QDir().mkpath(disc));
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(disc + QStringLiteral("/disco.ico"), "ICO"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        kmr::Project p;
        p.append(kmr::makeProgram("setup.exe"));
        p.append(kmr::makeIcon(c.icon));
        p.append(kmr::makeLabel("MiCD"));
        p.append(kmr::makeMenu("&Leeme", "notepad leeme.txt", "leeme"));
        p.append(kmr::makeMenu("Instalar", "setup.exe", "instalar", true));
        ProjectWindow* child = newProject(p);
        child->setDisc({disc.toStdString(), c.medium});
        bool shown = false;
        onNextModal([&](QWidget* w) {
            auto* preview = qobject_cast<DiscPreviewDialog*>(w);
            ASSERT_NE(preview, nullptr);
            shown = true;
            EXPECT_EQ(preview->objectName(), QStringLiteral("DiscPreview"));
            EXPECT_EQ(preview->showsStandardPicture(), c.standard);
            const QImage picture = preview->iconView()->pixmap().toImage();
            ASSERT_EQ(picture.size(), QSize(48, 48));
            EXPECT_EQ(picture.pixelColor(24, 10) == QColor(Qt::red), !c.standard);
            EXPECT_EQ(preview->reasonView()->isVisibleTo(preview), c.standard);
            if (c.standard) {
                EXPECT_EQ(preview->reasonView()->text(), c.reason);
            }
            EXPECT_EQ(preview->nameView()->text(), QStringLiteral("MiCD"));
            QStringList menu;
            for (int i = 0; i < preview->menuView()->count(); ++i) {
                const QListWidgetItem* item = preview->menuView()->item(i);
                menu << (item->font().bold() ? QStringLiteral("*") : QString()) + item->text();
            }
            EXPECT_EQ(menu, c.menu);
        });
        action("VistaPreviaDisco1")->trigger();
        EXPECT_TRUE(shown);
        child->setSaved(1);
        m_frame->closeProject();
    }
    EXPECT_TRUE(m_prompts.messages.empty());
}

// The preview follows the Windows and the drive chosen in it, and the project keeps its own medium.
TEST_F(DiscCommandsTest, PreviewFollowsTheChosenWindowsAndDrive) {
    struct Case {
        int version;  // Windows XP, Vista y 7, 8, 10 y 11
        int drive;    // CD o DVD, memoria USB, disco duro USB
        QString insertion;
        QStringList choices;  // of AutoPlay; none when Windows runs the program
        QString note;         // a part of the notes
        bool big;             // the 256-pixel icon is shown
        QString doubleClick;
        QString firstMenu;
    };
    const QString folder = QStringLiteral("Abrir la carpeta para ver los archivos");
    const QString pictures = QStringLiteral("Programas registrados para imágenes");
    const QString window = QStringLiteral("Windows muestra la ventana de Reproducción automática con estas opciones.");
    const QString notOnUsb =
        QStringLiteral("no presenta la orden de autoarranque en las unidades que no son CD ni DVD");
    const QString runsMenu = QStringLiteral("Doble clic: Ejecuta el menú «Instalar»: «setup.exe».");
    const QString clickUnknown = QStringLiteral("Doble clic: No documentado: qué hace un doble clic");
    const Case cases[] = {
        {0,
         0,
         QStringLiteral("Windows ejecuta «setup.exe» sin preguntar."),
         {},
         QStringLiteral("no la usa"),
         false,
         runsMenu,
         QStringLiteral("Reproducción automática")},
        {1,
         0,
         window,
         {QStringLiteral("setup.exe"), pictures, folder},
         QStringLiteral("no la usa"),
         true,
         runsMenu,
         QStringLiteral("Reproducción automática")},
        {2,
         1,
         QStringLiteral("Windows muestra el panel de Reproducción automática con estas opciones."),
         {pictures, folder},
         notOnUsb,
         true,
         clickUnknown,
         QStringLiteral("Reproducción automática (no documentado)")},
        {0,
         2,
         window,
         {pictures, folder},
         QStringLiteral(
             "Sin la actualización KB971029 (Windows XP SP2 y Vista), la Reproducción automática presentaría "
             "primero, marcado, «Instalar MiCD»"),
         false,
         clickUnknown,
         QStringLiteral("Reproducción automática (no documentado)")},
    };
    ProjectWindow* child = projectOnDisc({kmr::makeProgram("setup.exe"), kmr::makeLabel("MiCD"),
                                          kmr::makeMenu("Instalar", "setup.exe", "instalar", true)});
    kmr::Project p = child->project();
    p.settings.action = "Instalar MiCD";
    child->setProject(p, -1);
    child->setSaved(1);
    ASSERT_TRUE(QDir().mkpath(disc + QStringLiteral("/Fotos")));
    writeBytes(disc + QStringLiteral("/Fotos/playa.jpg"), "jpeg");
    bool shown = false;
    onNextModal([&](QWidget* w) {
        auto* preview = qobject_cast<DiscPreviewDialog*>(w);
        ASSERT_NE(preview, nullptr);
        shown = true;
        EXPECT_EQ(preview->driveBox()->currentIndex(), 0) << "it starts on the project's medium";
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.version << " " << c.drive);
            preview->findChild<QComboBox*>(QStringLiteral("Windows"))->setCurrentIndex(c.version);
            preview->findChild<QComboBox*>(QStringLiteral("Unidad"))->setCurrentIndex(c.drive);
            EXPECT_EQ(preview->findChild<QLabel*>(QStringLiteral("Insercion"))->text(), c.insertion);
            auto* autoPlay = preview->findChild<QListWidget*>(QStringLiteral("ReproduccionAutomatica"));
            QStringList choices;
            for (int i = 0; i < autoPlay->count(); ++i) choices << autoPlay->item(i)->text();
            EXPECT_EQ(choices, c.choices);
            EXPECT_EQ(preview->findChild<QFrame*>(QStringLiteral("VentanaReproduccion"))->isVisibleTo(preview),
                      !c.choices.isEmpty());
            const QString notes = preview->findChild<QLabel*>(QStringLiteral("Notas"))->text();
            EXPECT_TRUE(notes.contains(c.note)) << notes.toStdString();
            EXPECT_EQ(preview->findChild<QLabel*>(QStringLiteral("Icono256"))->isVisibleTo(preview), c.big);
            EXPECT_TRUE(preview->findChild<QLabel*>(QStringLiteral("DobleClic"))->text().startsWith(c.doubleClick));
            EXPECT_EQ(preview->findChild<QListWidget*>(QStringLiteral("MenuContextual"))->item(0)->text(), c.firstMenu);
            EXPECT_TRUE(
                preview->findChild<QLabel*>(QStringLiteral("Fuentes"))->text().startsWith(QStringLiteral("Fuentes: ")));
        }
        preview->findChild<QPushButton*>(QStringLiteral("Cerrar"))->click();
    });
    action("VistaPreviaDisco1")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(child->project().disc.medium, kmr::Medium::CdDvd);
    EXPECT_EQ(child->saved(), 1);
}

TEST_F(DiscCommandsTest, CancelledOrFailedImageLeavesTheOldImageWholeAndNothingBeside) {
    struct Case {
        const char* what;
        QByteArray script;  // empty: the program is not there
        bool cancel;
        QString error;
    };
    const QByteArray progress = "echo 'xorriso : UPDATE : Writing:       32s   50.0%   fifo 100%  buf  50%' >&2\n";
    const Case cases[] = {
        {"missing", QByteArray(), false,
         QStringLiteral("No se ha podido ejecutar \"%1\": compruebe que xorriso está instalado. No se ha creado la "
                        "imagen.")
             .arg(path(QStringLiteral("bin/missing")))},
        {"cancelled", progress + "exec sleep 60\n", true, QString()},
        {"failed", progress + "echo 'xorriso : FAILURE : Cannot open' >&2\necho 'xorriso : aborting' >&2\nexit 5\n",
         false,
         QStringLiteral("xorriso ha terminado con el código 5 y no se ha creado la imagen.\n\n"
                        "xorriso : FAILURE : Cannot open\nxorriso : aborting")},
    };
    ProjectWindow* child = projectOnDisc({kmr::makeProgram("setup.exe"), kmr::makeLabel("MICD")});
    const QString out = path(QStringLiteral("salida"));
    ASSERT_TRUE(QDir().mkpath(out));
    const QString image = out + QStringLiteral("/micd.iso");
    writeBytes(image, "imagen anterior");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_prompts.messages.clear();
        const QString program = path(QStringLiteral("bin/") + QLatin1String(c.what));
        if (!c.script.isEmpty()) writeScript(program, c.script);
        m_frame->discCommands().setIsoProgram(program);
        const bool missing = c.script.isEmpty();  // then nothing is asked and nothing written
        if (!missing) {
            m_prompts.choose(image);
            m_prompts.answer(Answer::Yes);  // the image is already there
        }
        bool progressShown = false;
        if (c.cancel) {
            onNextModal([&](QWidget* w) {
                auto* dialog = qobject_cast<QProgressDialog*>(w);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->objectName(), QStringLiteral("ProgresoISO"));
                progressShown = true;
                dialog->findChild<QPushButton*>()->click();
            });
        }
        action("CrearImagenISO1")->trigger();
        EXPECT_EQ(progressShown, c.cancel);
        EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("micd.iso")});
        EXPECT_EQ(readBytes(image), QByteArray("imagen anterior"));
        QStringList said;
        if (!missing) said << QStringLiteral("El fichero ya existe. ¿Desea sobreescribir?");
        if (!c.error.isEmpty()) said << c.error;  // a cancel ends silently
        EXPECT_EQ(m_prompts.texts(), said);
        if (!c.error.isEmpty()) {
            EXPECT_EQ(m_prompts.messages.back().title, QStringLiteral("Error"));
        }
        if (missing) {
            EXPECT_FALSE(QFileInfo::exists(disc + QStringLiteral("/autorun.inf")));
        }
    }
    EXPECT_EQ(readBytes(disc + QStringLiteral("/autorun.inf")),
              QByteArray::fromStdString(kmr::compileAutorun(child->project())))
        << "the folder's autorun.inf is compiled before the image is made";
}

TEST_F(DiscCommandsTest, ImageIsForACdOnlyAndNeverInsideTheDiscFolder) {
    ProjectWindow* child = projectOnDisc({kmr::makeProgram("setup.exe")}, kmr::Medium::Usb);
    action("CrearImagenISO1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
    EXPECT_TRUE(m_prompts.messages[0].text.startsWith(QStringLiteral("La imagen ISO sirve para grabar un CD o DVD")));
    EXPECT_TRUE(m_prompts.files.empty());

    child->setDisc({disc.toStdString(), kmr::Medium::CdDvd});
    m_prompts.messages.clear();
    m_prompts.choose(disc + QStringLiteral("/sub/disco.iso"));
    m_prompts.choose(std::nullopt);
    action("CrearImagenISO1")->trigger();
    ASSERT_EQ(m_prompts.files.size(), 2u);
    EXPECT_EQ(m_prompts.files[0].options.title, QStringLiteral("Crear imagen ISO..."));
    EXPECT_EQ(m_prompts.files[0].options.fileName, path(QStringLiteral("disco.iso")));
    EXPECT_EQ(m_prompts.files[1].options.fileName, disc + QStringLiteral("/sub/disco.iso"));
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_TRUE(m_prompts.messages[0].text.startsWith(QStringLiteral("La imagen no puede guardarse dentro")));
    EXPECT_EQ(filesIn(disc), QStringList{QStringLiteral("setup.exe")}) << "a cancel writes no autorun.inf";
}

TEST_F(DiscCommandsTest, ImageMadeByXorrisoHoldsTheVolumeNameAndNothingElseIsLeft) {
    if (QStandardPaths::findExecutable(QStringLiteral("xorriso")).isEmpty()) GTEST_SKIP() << "xorriso is not installed";
    projectOnDisc({kmr::makeProgram("setup.exe"), kmr::makeLabel("Mi CD")});
    const QString out = path(QStringLiteral("salida"));
    ASSERT_TRUE(QDir().mkpath(out));
    const QString image = out + QStringLiteral("/micd.iso");
    m_prompts.choose(image);
    action("CrearImagenISO1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 2u) << m_prompts.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
    EXPECT_TRUE(m_prompts.messages[0].text.contains(QStringLiteral("\"MI_CD\"")));
    EXPECT_EQ(m_prompts.messages[1].text,
              QStringLiteral("La imagen \"%1\" ha sido creada con éxito (volumen \"MI_CD\").").arg(image));
    EXPECT_EQ(filesIn(out), QStringList{QStringLiteral("micd.iso")});
    // The primary volume descriptor, in the 17th sector: its identifier and the volume name.
    const QByteArray bytes = readBytes(image);
    ASSERT_GT(bytes.size(), 16 * 2048 + 72);
    EXPECT_EQ(bytes.mid(16 * 2048 + 1, 5), QByteArray("CD001"));
    EXPECT_EQ(bytes.mid(16 * 2048 + 40, 32), QByteArray("MI_CD").leftJustified(32, ' '));
    EXPECT_EQ(filesIn(disc), (QStringList{QStringLiteral("autorun.inf"), QStringLiteral("setup.exe")}));
}

}  // namespace
}  // namespace kmr::gui::test
