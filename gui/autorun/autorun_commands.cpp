#include "autorun/autorun_commands.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/conflicts_dialog.h"
#include "autorun/importer.h"
#include "base/file_access.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "disc/disc_files.h"
#include "disc/settings_check.h"
#include "project/disc_bar.h"
#include "project/project_host.h"
#include "project/project_window.h"
#include "text/text.h"

namespace kmr::gui {

bool AutorunCommands::checkConflicts() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return false;
    m_conflicts->setFindings(kmr::checkConflicts(child->project()));
    return m_conflicts->findingCount() > 0;
}

bool AutorunCommands::confirmFindings() {
    if (!checkConflicts()) return true;
    m_conflicts->exec();
    return m_conflicts->result() == ConflictsDialog::Result::Continue;
}

void AutorunCommands::compileProject() {
    Prompts& prompts = m_host.prompts();
    // A No at the overwrite question starts the whole command again, the report included.
    for (;;) {
        ProjectWindow* child = m_host.activeProjectWindow();
        if (child == nullptr || child->project().empty()) return;
        if (refuseLineBreaks(prompts, child->project())) return;
        if (!confirmFindings()) return;
        QString proposed = m_lastCompileName;
        if (const QString folder = qs(resolvedDisc(*child).folder); !folder.isEmpty() && QFileInfo(folder).isDir()) {
            proposed = qs(kmr::disc::autorunPathIn(utf8(folder)));
        }
        // Without a disc folder or an earlier choice, the dialog starts beside the project.
        const QString projectFolder =
            child->filePath().isEmpty() ? QString() : QFileInfo(child->filePath()).absolutePath();
        const auto chosen =
            prompts.saveFile({QStringLiteral("Compilar fichero autorun..."), QStringLiteral("Fichero de autoarranque"),
                              QStringLiteral("autorun.inf"), proposed, QString(), projectFolder});
        if (!chosen) return;
        m_lastCompileName = *chosen;
        if (QFileInfo(*chosen).isFile()) {
            const Answer answer = prompts.message(qs(kmr::kOverwriteQuestion), QStringLiteral("Atención"),
                                                  MessageIcon::Warning, MessageButtons::YesNoCancel);
            if (answer == Answer::Cancel) return;
            if (answer == Answer::No) continue;
        }
        if (!kmr::isAutorunFileName(utf8(*chosen))) {
            prompts.message(qs(kmr::kFileNameWarning), QStringLiteral("Atención"), MessageIcon::Warning,
                            MessageButtons::Ok);
        }
        if (!writeWholeFile(prompts, *chosen, QByteArray::fromStdString(kmr::autorunFileBytes(child->project()))))
            return;
        prompts.message(qs(kmr::kCompiledMessage), QStringLiteral("Información"), MessageIcon::Information,
                        MessageButtons::Ok);
        return;
    }
}

void AutorunCommands::importAutorun() {
    Prompts& prompts = m_host.prompts();
    const auto chosen = prompts.openFile({QStringLiteral("Importar..."), QStringLiteral("Ficheros de autoarranque"),
                                          QStringLiteral("autorun.inf"), QStringLiteral("autorun.inf"), QString()});
    if (!chosen) return;
    if (!QFileInfo(*chosen).isFile()) {
        prompts.message(qs(kmr::kMissingFileMessage), QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    const auto bytes = readWholeFile(prompts, *chosen);
    if (!bytes) return;
    const kmr::AutorunSource source =
        kmr::decodeAutorun(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    const std::string& text = source.text;
    // A file that Windows would misread (UTF-8 from a Linux editor, say) is read in its own form: said once.
    if (const std::string notice = kmr::readingNotice(source); !notice.empty()) {
        prompts.message(qs(notice), QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
    }
    if (!kmr::hasAutorunHeader(text)) {
        const Answer answer = prompts.message(qs(kmr::kBadHeaderQuestion), QStringLiteral("Error"), MessageIcon::Error,
                                              MessageButtons::YesNo);
        if (answer == Answer::No) return;
    }
    // The entries that make no object are kept with the project unless the options say otherwise.
    kmr::ImportOptions options;
    options.keepExtras = !m_keepExtras || m_keepExtras();
    kmr::ImportResult result = kmr::importAutorun(text, options);
    ProjectWindow* child = m_host.addProjectWindow(qs(kmr::kImportedCaption));
    child->setProject(std::move(result.project));
    child->setSaved(0);
    const QString report = qs(kmr::importReportText(result.unrecognised));
    if (result.unrecognised > 0) {
        prompts.message(report, QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::Ok);
    } else {
        prompts.message(report, QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
    }
    // Values that no file can hold as they are, or that Windows would cut, are said at once: the first
    // few, and how many more.
    const std::vector<kmr::disc::CheckItem> values = kmr::disc::checkValues(child->project());
    if (values.empty()) return;
    constexpr std::size_t kShown = 5;
    QStringList lines;
    for (std::size_t i = 0; i < std::min(values.size(), kShown); ++i)
        lines << qs(kmr::text::trimLeftView(values[i].explanation[0]));
    if (values.size() > kShown) lines << QStringLiteral("Y %1 valores más.").arg(values.size() - kShown);
    lines << qs(kmr::text::trimLeftView(values.front().explanation[1]));
    prompts.message(lines.join(QStringLiteral("\n\n")), QStringLiteral("Atención"), MessageIcon::Warning,
                    MessageButtons::Ok);
}

}  // namespace kmr::gui
