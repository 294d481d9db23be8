// The project file commands of the frame: new, open, save, save as, and the version-1 hand-over.

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/main_form.h"
#include "app/prompts.h"
#include "app/qt_text.h"
#include "project/mdi_child.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "text/text.h"

namespace kmr::gui {

namespace {

bool fileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

FileDialogOptions projectSaveDialog(const QString& lastName) {
    return {QStringLiteral("Guardar como..."), QStringLiteral("Proyecto KMR 2.0"), QStringLiteral("*.kmr"), lastName,
            QStringLiteral("kmr")};
}

}  // namespace

std::optional<QByteArray> TMainForm::readWholeFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        showError(QStringLiteral("No se ha podido leer el fichero \"%1\": %2").arg(path, f.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        showError(QStringLiteral("No se ha podido leer el fichero \"%1\": %2").arg(path, f.errorString()));
        return std::nullopt;
    }
    return bytes;
}

bool TMainForm::writeWholeFile(const QString& path, const QByteArray& bytes) {
    // Written beside the target and renamed over it: a failure leaves the old file whole.
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit()) return true;
    f.cancelWriting();
    showError(QStringLiteral("No se ha podido escribir el fichero \"%1\": %2").arg(path, f.errorString()));
    return false;
}

void TMainForm::Nuevo1Execute() {
    // The new-project wizard is not part of the program yet: a new project starts from empty
    // wizard data, numbered like every new project.
    m_shared.wizardData = kmr::WizardData{};
    CrearProyecto(QStringLiteral("Sin nombre %1").arg(projectWindows().size() + 1));
}

TMDIChild* TMainForm::CrearProyecto(const QString& caption) {
    TMDIChild* child = addProjectWindow(caption);
    child->setProject(kmr::buildProject(m_shared.wizardData));
    child->setSaved(0);
    return child;
}

void TMainForm::Abrir1Execute() {
    const bool handedOver = !m_shared.pendingPath.isEmpty();
    QString path = m_shared.pendingPath;
    if (!handedOver) {
        const auto chosen = m_prompts.openFile(
            {QString(), QStringLiteral("Proyecto KMR"), QStringLiteral("*.kmr"), m_shared.pendingPath, QString()});
        if (!chosen) return;
        path = *chosen;
    }
    m_shared.pendingPath.clear();
    if (!fileExists(path)) {
        m_prompts.message(qs(kmr::msg::kNotFound), QStringLiteral("Atención"), MessageIcon::Warning,
                          MessageButtons::Ok);
        return;
    }
    const auto bytes = readWholeFile(path);
    if (!bytes) return;
    const std::string_view view(bytes->constData(), static_cast<std::size_t>(bytes->size()));
    if (kmr::detectProjectFormat(kmr::text::decode(view).text) == kmr::ProjectFormat::Version1) {
        m_shared.version1Path = path;
        OldOpen1Execute();
        return;
    }
    kmr::ProjectReadResult result = kmr::readProjectFile(view);
    if (!result.versionOk) {
        const Answer answer = m_prompts.message(qs(kmr::msg::kVersionQuestion), QStringLiteral("Confirmación"),
                                                MessageIcon::Question, MessageButtons::YesNo);
        if (answer == Answer::No) return;
    }
    TMDIChild* child = addProjectWindow(QFileInfo(path).fileName());
    child->setProject(std::move(result.project));
    child->setSaved(1);
    if (!handedOver) {
        m_shared.pendingPath = path;
        AddLink();
        WriteLink();
        m_shared.pendingPath.clear();
    }
    child->setFilePath(path);
}

void TMainForm::OldOpen1Execute() {
    const QString path = m_shared.version1Path;
    const auto bytes = readWholeFile(path);
    if (!bytes) return;
    kmr::ProjectReadResult result =
        kmr::readProjectFile(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    // The file path stays empty, so the next save asks for a name and writes the current format.
    TMDIChild* child = addProjectWindow(QFileInfo(path).fileName());
    child->setProject(std::move(result.project));
    child->setSaved(1);
    if (result.errors) {
        m_prompts.message(qs(kmr::msg::kVersion1Errors), QStringLiteral("Error"), MessageIcon::Error,
                          MessageButtons::Ok);
    } else {
        m_prompts.message(qs(kmr::msg::kVersion1Advice), QStringLiteral("Información"), MessageIcon::Information,
                          MessageButtons::Ok);
    }
}

TMainForm::SaveOutcome TMainForm::Guardar1Execute(TMDIChild* child) {
    for (;;) {
        if (child == nullptr || child->project().empty()) return SaveOutcome::NothingToDo;
        QString path = child->filePath();
        if (path.isEmpty()) {
            const auto chosen = m_prompts.saveFile(projectSaveDialog(m_lastProjectSaveName));
            if (!chosen) return SaveOutcome::Abandoned;
            m_lastProjectSaveName = *chosen;
            if (fileExists(*chosen)) {
                const Answer answer = m_prompts.message(qs(kmr::msg::kOverwriteQuestion), QStringLiteral("Atención"),
                                                        MessageIcon::Warning, MessageButtons::YesNoCancel);
                if (answer == Answer::Cancel) return SaveOutcome::Abandoned;
                if (answer == Answer::No) continue;  // the dialog comes again
            }
            path = *chosen;
        } else if (!fileExists(path)) {
            // The file went away since it was opened or saved: ask for a name again.
            child->setFilePath(QString());
            continue;
        }
        const std::string bytes = kmr::projectFileBytes(child->project());
        if (!writeWholeFile(path, QByteArray::fromStdString(bytes))) return SaveOutcome::Failed;
        child->setFilePath(path);
        child->setWindowTitle(QFileInfo(path).fileName());
        child->setSaved(1);
        m_prompts.message(qs(kmr::msg::kSaved), QStringLiteral("Información"), MessageIcon::Information,
                          MessageButtons::Ok);
        return SaveOutcome::Saved;
    }
}

void TMainForm::Guardarcomo1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr || child->project().empty()) return;
    const auto chosen = m_prompts.saveFile(projectSaveDialog(m_lastProjectSaveName));
    if (!chosen) return;
    m_lastProjectSaveName = *chosen;
    if (fileExists(*chosen)) {
        const Answer answer = m_prompts.message(qs(kmr::msg::kOverwriteQuestion), QStringLiteral("Atención"),
                                                MessageIcon::Warning, MessageButtons::YesNoCancel);
        if (answer == Answer::Cancel) return;
        if (answer == Answer::No) {
            Guardar1Execute(child);
            return;
        }
    }
    const std::string bytes = kmr::projectFileBytes(child->project());
    if (!writeWholeFile(*chosen, QByteArray::fromStdString(bytes))) return;
    // The list only learns of files that were really written.
    m_shared.pendingPath = *chosen;
    AddLink();
    WriteLink();
    m_shared.pendingPath.clear();
    child->setFilePath(*chosen);
    child->setWindowTitle(QFileInfo(*chosen).fileName());
    child->setSaved(1);
    m_prompts.message(qs(kmr::msg::kSaved), QStringLiteral("Información"), MessageIcon::Information,
                      MessageButtons::Ok);
}

}  // namespace kmr::gui
