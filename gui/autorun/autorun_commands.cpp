// The autorun commands of the frame: compile the active project, import an autorun file.

#include <QFileInfo>

#include "app/main_form.h"
#include "app/prompts.h"
#include "app/qt_text.h"
#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/conflicts_dialog.h"
#include "autorun/importer.h"
#include "project/mdi_child.h"
#include "text/text.h"

namespace kmr::gui {

bool TMainForm::Conflictos1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return false;
    m_form7->setFindings(kmr::checkConflicts(child->project()));
    return m_form7->findingCount() > 0;
}

void TMainForm::Exportar1Execute() {
    // A No at the overwrite question starts the whole command again, the report included.
    for (;;) {
        TMDIChild* child = activeChild();
        if (child == nullptr || child->project().empty()) return;
        if (Conflictos1Execute()) {
            m_form7->exec();
            if (m_form7->result() != TForm7::Result::Continue) return;
        }
        const auto chosen = m_prompts.saveFile({QStringLiteral("Compilar fichero autorun..."),
                                                QStringLiteral("Fichero de autoarranque"),
                                                QStringLiteral("autorun.inf"), m_lastCompileName, QString()});
        if (!chosen) return;
        m_lastCompileName = *chosen;
        if (QFileInfo(*chosen).isFile()) {
            const Answer answer = m_prompts.message(qs(kmr::kOverwriteQuestion), QStringLiteral("Atención"),
                                                    MessageIcon::Warning, MessageButtons::YesNoCancel);
            if (answer == Answer::Cancel) return;
            if (answer == Answer::No) continue;
        }
        if (!kmr::isAutorunFileName(utf8(*chosen))) {
            m_prompts.message(qs(kmr::kFileNameWarning), QStringLiteral("Atención"), MessageIcon::Warning,
                              MessageButtons::Ok);
        }
        const std::string compiled = kmr::compileAutorun(child->project());
        if (!writeWholeFile(*chosen, QByteArray::fromStdString(kmr::text::encodeForFile(compiled)))) return;
        m_prompts.message(qs(kmr::kCompiledMessage), QStringLiteral("Información"), MessageIcon::Information,
                          MessageButtons::Ok);
        return;
    }
}

void TMainForm::Importar2Execute() {
    const auto chosen = m_prompts.openFile({QStringLiteral("Importar..."), QStringLiteral("Ficheros de autoarranque"),
                                            QStringLiteral("autorun.inf"), QStringLiteral("autorun.inf"), QString()});
    if (!chosen) return;
    if (!QFileInfo(*chosen).isFile()) {
        m_prompts.message(qs(kmr::kMissingFileMessage), QStringLiteral("Error"), MessageIcon::Error,
                          MessageButtons::Ok);
        return;
    }
    const auto bytes = readWholeFile(*chosen);
    if (!bytes) return;
    const std::string text =
        kmr::text::decode(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size()))).text;
    if (!kmr::hasAutorunHeader(text)) {
        const Answer answer = m_prompts.message(qs(kmr::kBadHeaderQuestion), QStringLiteral("Error"),
                                                MessageIcon::Error, MessageButtons::YesNo);
        if (answer == Answer::No) return;
    }
    kmr::ImportResult result = kmr::importAutorun(text);
    TMDIChild* child = addProjectWindow(qs(kmr::kImportedCaption));
    child->setProject(std::move(result.project));
    child->setSaved(0);
    const QString report = qs(kmr::importReportText(result.unrecognised));
    if (result.unrecognised > 0) {
        m_prompts.message(report, QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::Ok);
    } else {
        m_prompts.message(report, QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
    }
}

}  // namespace kmr::gui
