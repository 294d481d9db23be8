#include "autorun/disc_commands.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <csignal>

#include "autorun/autorun_commands.h"
#include "autorun/compiler.h"
#include "autorun/disc_preview_dialog.h"
#include "autorun/disc_report_dialog.h"
#include "base/file_access.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "disc/disc_check.h"
#include "disc/disc_files.h"
#include "disc/iso_image.h"
#include "project/disc_bar.h"
#include "project/project_host.h"
#include "project/project_window.h"
#include "text/text.h"

namespace kmr::gui {

namespace {

const QString kAttention = QStringLiteral("Atención");
const QString kInformation = QStringLiteral("Información");

QByteArray compiledAutorun(const kmr::Project& project) {
    return QByteArray::fromStdString(kmr::autorunFileBytes(project));
}

}  // namespace

DiscCommands::DiscCommands(ProjectHost& host, AutorunCommands& autorun, QWidget* dialogParent)
    : m_host(host),
      m_autorun(autorun),
      m_report([&host, dialogParent] { return new DiscReportDialog(host.images(), dialogParent); }),
      m_preview([dialogParent] { return new DiscPreviewDialog(dialogParent); }),
      m_isoProgram(qs(kmr::disc::kXorriso)) {}

ProjectWindow* DiscCommands::windowWithFolder() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr || child->project().empty()) return nullptr;
    if (child->project().disc.folder.empty() && !chooseDiscFolder(*child, m_host.prompts())) return nullptr;
    return child;
}

void DiscCommands::checkDisc() {
    ProjectWindow* child = windowWithFolder();
    if (child == nullptr) return;
    if (const std::string problem = kmr::disc::discProblem(child->project(), resolvedDisc(*child)); !problem.empty()) {
        showError(m_host.prompts(), qs(problem));
        return;
    }
    std::vector<kmr::disc::CheckItem> items = kmr::disc::checkProjectOnDisc(child->project(), resolvedDisc(*child));
    if (items.empty()) {
        m_host.prompts().message(QStringLiteral("No se ha encontrado ningún problema: el disco está listo."),
                                 kInformation, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    m_report->setItems(std::move(items));
    m_report->exec();
}

void DiscCommands::previewDisc() {
    const ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    if (const std::string problem = kmr::disc::discProblem(child->project(), resolvedDisc(*child)); !problem.empty()) {
        showError(m_host.prompts(), qs(problem));
        return;
    }
    m_preview->showDisc(child->project(), resolvedDisc(*child));
    m_preview->exec();
}

bool DiscCommands::writeAutorun(const ProjectWindow& window, const QString& autorunPath) {
    Prompts& prompts = m_host.prompts();
    const QByteArray compiled = compiledAutorun(window.project());
    if (QFileInfo(autorunPath).isFile()) {
        const auto existing = readWholeFile(prompts, autorunPath);
        if (!existing) return false;
        if (*existing == compiled) return true;
        const Answer answer = prompts.message(
            QStringLiteral(
                "La carpeta del disco ya tiene un autorun.inf distinto del proyecto. ¿Desea sobreescribirlo? "
                "Si responde que no, la imagen llevará el que ya hay."),
            kAttention, MessageIcon::Warning, MessageButtons::YesNoCancel);
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::No) return true;
    }
    return writeWholeFile(prompts, autorunPath, compiled);
}

std::optional<QString> DiscCommands::askImageName(const QString& folder) {
    Prompts& prompts = m_host.prompts();
    QString proposed = m_lastImage;
    if (proposed.isEmpty()) {
        const QFileInfo info(QDir::cleanPath(folder));
        proposed = QDir(info.absolutePath()).filePath(info.fileName() + QStringLiteral(".iso"));
    }
    // A No at the overwrite question asks for another name.
    for (;;) {
        const auto chosen = prompts.saveFile({QStringLiteral("Crear imagen ISO..."), QStringLiteral("Imagen ISO"),
                                              QStringLiteral("*.iso"), proposed, QStringLiteral("iso")});
        if (!chosen) return std::nullopt;
        m_lastImage = *chosen;
        proposed = *chosen;
        if (kmr::disc::imageInsideFolder(utf8(*chosen), utf8(folder))) {
            prompts.message(
                QStringLiteral("La imagen no puede guardarse dentro de la carpeta del disco: se incluiría a "
                               "sí misma. Elija otra carpeta."),
                kAttention, MessageIcon::Warning, MessageButtons::Ok);
            continue;
        }
        if (QFileInfo::exists(*chosen)) {
            const Answer answer = prompts.message(qs(kmr::kOverwriteQuestion), kAttention, MessageIcon::Warning,
                                                  MessageButtons::YesNoCancel);
            if (answer == Answer::Cancel) return std::nullopt;
            if (answer == Answer::No) continue;
        }
        return chosen;
    }
}

QString DiscCommands::programMissingText() const {
    return QStringLiteral("No se ha podido ejecutar \"") + m_isoProgram +
           QStringLiteral("\": compruebe que xorriso está instalado. No se ha creado la imagen.");
}

void DiscCommands::makeIsoImage() {
    Prompts& prompts = m_host.prompts();
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr || child->project().empty()) return;
    if (child->project().disc.medium == kmr::Medium::Usb) {
        prompts.message(QStringLiteral("La imagen ISO sirve para grabar un CD o DVD, y el proyecto es para una unidad "
                                       "USB: copie la carpeta del disco a la unidad. Si va a grabar un disco, elija "
                                       "el soporte \"CD/DVD\"."),
                        kAttention, MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    child = windowWithFolder();
    if (child == nullptr) return;
    const kmr::DiscTarget disc = resolvedDisc(*child);
    const QString folder = qs(disc.folder);
    if (!QFileInfo(folder).isDir()) {
        showError(prompts, QStringLiteral("No se encuentra la carpeta del disco \"") + folder + QStringLiteral("\"."));
        return;
    }
    if (const std::string problem = kmr::disc::discProblem(child->project(), disc); !problem.empty()) {
        showError(prompts, qs(problem));
        return;
    }
    // Without xorriso there will be no image: nothing is asked and the disc folder is left as it was.
    if (QStandardPaths::findExecutable(m_isoProgram).isEmpty()) {
        showError(prompts, programMissingText());
        return;
    }
    // The usual questions of "Compilar": the report first, then the autorun.inf that is already there.
    if (refuseLineBreaks(prompts, child->project())) return;
    if (!m_autorun.confirmFindings()) return;
    const QString autorunPath = qs(kmr::disc::autorunPathIn(disc.folder));
    const auto image = askImageName(folder);
    if (!image) return;
    // The image's place is taken first: a target that cannot take the image changes nothing.
    const kmr::disc::PendingImage pending = kmr::disc::reservePendingImage(utf8(*image));
    if (!pending.result.ok()) {
        showError(prompts, qs(pending.result.message));
        return;
    }
    if (!writeAutorun(*child, autorunPath)) {
        kmr::disc::discardPendingImage(pending);
        return;
    }

    const kmr::disc::VolumeName volume =
        kmr::disc::isoVolumeName(kmr::disc::imageLabel(child->project(), disc.folder, std::nullopt));
    if (!volume.warning.empty()) {
        prompts.message(qs(volume.warning), kAttention, MessageIcon::Warning, MessageButtons::Ok);
    }
    QStringList arguments;
    for (const std::string& a : kmr::disc::xorrisoArguments(disc.folder, pending.path, volume.id)) arguments << qs(a);
    const BuildResult build = runIsoProgram(child, arguments);
    if (build.end != BuildResult::End::Done) {
        // Nothing half written stays behind: the image is only ever replaced by a finished build.
        kmr::disc::discardPendingImage(pending);
        switch (build.end) {
            case BuildResult::End::Cancelled:
            case BuildResult::End::Done: return;
            case BuildResult::End::NotStarted: showError(prompts, programMissingText()); return;
            case BuildResult::End::Failed: {
                const QString end = build.crashed
                                        ? QStringLiteral("xorriso se ha interrumpido")
                                        : QStringLiteral("xorriso ha terminado con el código %1").arg(build.exitCode);
                showError(prompts, end + QStringLiteral(" y no se ha creado la imagen.\n\n") + build.output.trimmed());
                return;
            }
        }
    }
    if (const kmr::io::IoResult done = kmr::disc::finishPendingImage(pending, utf8(*image)); !done.ok()) {
        showError(prompts, qs(done.message));
        return;
    }
    prompts.message(QStringLiteral("La imagen \"%1\" ha sido creada con éxito (volumen \"%2\").")
                        .arg(QDir::toNativeSeparators(*image), qs(volume.id)),
                    kInformation, MessageIcon::Information, MessageButtons::Ok);
}

DiscCommands::BuildResult DiscCommands::runIsoProgram(QWidget* parent, const QStringList& arguments) {
    BuildResult result;
    QProcess process;
    process.setProgram(m_isoProgram);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // xorriso dies with the editor: a killed editor leaves no image being written.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });

    QProgressDialog progress(QStringLiteral("Creando la imagen ISO..."), QStringLiteral("Cancelar"), 0, 100, parent);
    progress.setObjectName(QStringLiteral("ProgresoISO"));
    progress.setWindowTitle(QStringLiteral("Crear imagen ISO"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);

    QByteArray unfinished;
    // Progress lines move the bar; every other line is kept for the report of a failure.
    const auto takeLines = [&](bool all) {
        unfinished += process.readAll();
        int percent = -1;
        for (;;) {
            qsizetype end = unfinished.indexOf('\n');
            if (end < 0 && all && !unfinished.isEmpty()) end = unfinished.size();
            if (end < 0) break;
            const QByteArray line = unfinished.left(end).trimmed();
            unfinished.remove(0, end + 1);
            if (const auto p = kmr::disc::xorrisoProgress(line.toStdString())) {
                percent = *p;
            } else if (!line.isEmpty()) {
                result.output += QString::fromLocal8Bit(line) + QLatin1Char('\n');
            }
        }
        // Once per read: with a modal dialog, setValue lets other events through.
        if (percent >= 0) progress.setValue(percent);
    };

    bool cancelled = false;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyRead, &loop, [&] { takeLines(false); });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        process.kill();
    });

    process.start();
    if (!process.waitForStarted(-1)) return result;
    progress.show();
    if (process.state() != QProcess::NotRunning) loop.exec();
    // A cancel that came after the end changes nothing: the build is done.
    process.waitForFinished(-1);
    takeLines(true);
    progress.hide();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
        result.end = BuildResult::End::Done;
    } else if (cancelled) {
        result.end = BuildResult::End::Cancelled;
    } else {
        result.end = BuildResult::End::Failed;
        result.crashed = process.exitStatus() == QProcess::CrashExit;
        result.exitCode = process.exitCode();
    }
    return result;
}

}  // namespace kmr::gui
