#pragma once
// The autorun commands: the conflict check, compiling the active project into an autorun file, and
// importing an autorun file into a new project window.

#include <QString>

#include <functional>

#include "base/on_demand.h"

namespace kmr::gui {

class ConflictsDialog;
class ProjectHost;

class AutorunCommands {
public:
    AutorunCommands(ProjectHost& host, OnDemand<ConflictsDialog>& conflicts) : m_host(host), m_conflicts(conflicts) {}

    // Fills the report from the active project; true when it found something.
    bool checkConflicts();
    // Fills the report from the active project and shows it when it found something; true when the
    // check found nothing or the user chose "Continuar".
    bool confirmFindings();
    // Shows the report when the check found something, then writes the autorun file the user names:
    // the disc folder's autorun.inf is proposed when the project names an existing one.
    void compileProject();
    void importAutorun();
    // Whether an import keeps the entries that make no object (the options say); kept when unset.
    void setKeepExtras(std::function<bool()> keepExtras) { m_keepExtras = std::move(keepExtras); }

private:
    ProjectHost& m_host;
    OnDemand<ConflictsDialog>& m_conflicts;
    // The name the compile dialog proposes: the last one chosen in it.
    QString m_lastCompileName = QStringLiteral("autorun.inf");
    std::function<bool()> m_keepExtras;
};

}  // namespace kmr::gui
