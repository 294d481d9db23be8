#include "project/project_file_commands.h"

#include <QFileInfo>

#include "base/file_access.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "project/project_window.h"

namespace kmr::gui {

namespace {

bool fileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

FileDialogOptions projectSaveDialog(const QString& lastName) {
    return {QStringLiteral("Guardar como..."), QStringLiteral("Proyecto KMR 2.0"), QStringLiteral("*.kmr"), lastName,
            QStringLiteral("kmr")};
}

}  // namespace

void ProjectFileCommands::openProject() {
    Prompts& prompts = m_host.prompts();
    SharedValues& shared = m_host.shared();
    const bool handedOver = !shared.pendingPath.isEmpty();
    QString path = shared.pendingPath;
    if (!handedOver) {
        const auto chosen = prompts.openFile(
            {QString(), QStringLiteral("Proyecto KMR"), QStringLiteral("*.kmr"), shared.pendingPath, QString()});
        if (!chosen) return;
        path = *chosen;
    }
    shared.pendingPath.clear();
    if (!fileExists(path)) {
        prompts.message(qs(kmr::msg::kNotFound), QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const auto bytes = readWholeFile(prompts, path);
    if (!bytes) return;
    // One decode: the reader tells which version it found.
    kmr::ProjectReadResult result =
        kmr::readProjectFile(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    if (result.format == kmr::ProjectFormat::Version1) {
        shared.version1Path = path;
        openVersion1Project();
        return;
    }
    if (!result.versionOk) {
        const Answer answer = prompts.message(qs(kmr::msg::kVersionQuestion), QStringLiteral("Confirmación"),
                                              MessageIcon::Question, MessageButtons::YesNo);
        if (answer == Answer::No) return;
    }
    ProjectWindow* child = m_host.addProjectWindow(QFileInfo(path).fileName());
    child->setProject(std::move(result.project));
    child->setSaved(1);
    // A file whose counts its content cannot back is broken: what could be read is shown, with a word.
    if (result.errors) {
        prompts.message(qs(kmr::msg::kVersion1Errors), QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
    }
    if (!handedOver) {
        m_host.rememberRecentFile(path);
    }
    child->setFilePath(path);
}

void ProjectFileCommands::openVersion1Project() {
    Prompts& prompts = m_host.prompts();
    const QString path = m_host.shared().version1Path;
    const auto bytes = readWholeFile(prompts, path);
    if (!bytes) return;
    kmr::ProjectReadResult result =
        kmr::readProjectFile(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    // The file path stays empty, so the next save asks for a name and writes the current format.
    ProjectWindow* child = m_host.addProjectWindow(QFileInfo(path).fileName());
    child->setProject(std::move(result.project));
    child->setSaved(1);
    if (result.errors) {
        prompts.message(qs(kmr::msg::kVersion1Errors), QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
    } else {
        prompts.message(qs(kmr::msg::kVersion1Advice), QStringLiteral("Información"), MessageIcon::Information,
                        MessageButtons::Ok);
    }
}

SaveOutcome ProjectFileCommands::saveProject(ProjectWindow* child) {
    Prompts& prompts = m_host.prompts();
    for (;;) {
        if (child == nullptr || child->project().empty()) return SaveOutcome::NothingToDo;
        if (refuseLineBreaks(prompts, child->project())) return SaveOutcome::Failed;
        QString path = child->filePath();
        if (path.isEmpty()) {
            const auto chosen = prompts.saveFile(projectSaveDialog(m_lastSaveName));
            if (!chosen) return SaveOutcome::Abandoned;
            m_lastSaveName = *chosen;
            if (fileExists(*chosen)) {
                const Answer answer = prompts.message(qs(kmr::msg::kOverwriteQuestion), QStringLiteral("Atención"),
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
        if (!writeWholeFile(prompts, path, QByteArray::fromStdString(bytes))) return SaveOutcome::Failed;
        child->setFilePath(path);
        child->setWindowTitle(QFileInfo(path).fileName());
        child->setSaved(1);
        prompts.message(qs(kmr::msg::kSaved), QStringLiteral("Información"), MessageIcon::Information,
                        MessageButtons::Ok);
        return SaveOutcome::Saved;
    }
}

void ProjectFileCommands::saveProjectAs() {
    Prompts& prompts = m_host.prompts();
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr || child->project().empty()) return;
    if (refuseLineBreaks(prompts, child->project())) return;
    FileDialogOptions dialog = projectSaveDialog(m_lastSaveName);
    // A project that has a file is saved anew from its own folder, its name proposed.
    if (const QFileInfo own(child->filePath()); !child->filePath().isEmpty()) {
        dialog.fileName = own.fileName();
        dialog.folder = own.absolutePath();
    }
    const auto chosen = prompts.saveFile(dialog);
    if (!chosen) return;
    m_lastSaveName = *chosen;
    if (fileExists(*chosen)) {
        const Answer answer = prompts.message(qs(kmr::msg::kOverwriteQuestion), QStringLiteral("Atención"),
                                              MessageIcon::Warning, MessageButtons::YesNoCancel);
        if (answer == Answer::Cancel) return;
        if (answer == Answer::No) {
            saveProject(child);
            return;
        }
    }
    const std::string bytes = kmr::projectFileBytes(child->project());
    if (!writeWholeFile(prompts, *chosen, QByteArray::fromStdString(bytes))) return;
    // The list only learns of files that were really written.
    m_host.rememberRecentFile(*chosen);
    child->setFilePath(*chosen);
    child->setWindowTitle(QFileInfo(*chosen).fileName());
    child->setSaved(1);
    prompts.message(qs(kmr::msg::kSaved), QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace kmr::gui
