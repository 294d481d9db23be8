#pragma once
// The commands on the disc a project is for: the check against the disc folder, the preview of the
// disc as Windows shows it, and the ISO image of the folder.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "base/on_demand.h"

class QWidget;

namespace kmr::gui {

class AutorunCommands;
class DiscPreviewDialog;
class DiscReportDialog;
class ProjectHost;
class ProjectWindow;

class DiscCommands {
public:
    // The dialogs are made when first needed, as children of `dialogParent`, and reused.
    DiscCommands(ProjectHost& host, AutorunCommands& autorun, QWidget* dialogParent);

    // "Comprobar disco...": the conflict and disc findings in a report, or a message that there are none.
    // Without a disc folder it asks for one first.
    void checkDisc();
    // "Vista previa del disco".
    void previewDisc();
    // "Crear imagen ISO...": compiles the project into the folder's autorun.inf and builds the image of
    // the folder with the image program, in a progress dialog that can be cancelled.
    void makeIsoImage();

    // The program that builds the image: xorriso, found on the PATH, unless another is put in its place.
    void setIsoProgram(const QString& program) { m_isoProgram = program; }

    DiscReportDialog* reportDialog() const { return &m_report.get(); }
    DiscPreviewDialog* previewDialog() const { return &m_preview.get(); }
    // Runs `then` on the preview dialog once it exists (the frame connects its help there).
    void whenPreviewMade(std::function<void(DiscPreviewDialog&)> then) { m_preview.whenMade(std::move(then)); }

private:
    // The window whose disc a command works on, with its folder chosen (asked for when there is none).
    ProjectWindow* windowWithFolder();
    // Compiles the project into `autorunPath`, asking first when a different file is there. False
    // when the user cancelled or the write failed (the error has been shown).
    bool writeAutorun(const ProjectWindow& window, const QString& autorunPath);
    // The image file the user names; nullopt on Cancel or a refused name.
    std::optional<QString> askImageName(const QString& folder);
    // The error shown when xorriso cannot be started.
    QString programMissingText() const;

    struct [[nodiscard]] BuildResult {
        enum class End { Done, Failed, NotStarted, Cancelled } end = End::NotStarted;
        int exitCode = 0;
        bool crashed = false;  // ended by a signal, not by the user
        QString output;        // every line but the progress lines
    };
    BuildResult runIsoProgram(QWidget* parent, const QStringList& arguments);

    ProjectHost& m_host;
    AutorunCommands& m_autorun;
    mutable OnDemand<DiscReportDialog> m_report;
    mutable OnDemand<DiscPreviewDialog> m_preview;
    QString m_isoProgram;
    QString m_lastImage;
};

}  // namespace kmr::gui
