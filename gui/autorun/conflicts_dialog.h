#pragma once
// The conflicts report, where the user reads the findings and continues or stops compiling.

#include <QDialog>

#include <vector>

#include "autorun/conflicts.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kmr::gui {

class ImageList;

class ConflictsDialog : public QDialog {
    Q_OBJECT
public:
    enum class Result { Stop, Continue };

    explicit ConflictsDialog(const ImageList& images, QWidget* parent = nullptr);

    // Empties the list and the explanation box and lists the findings in order.
    void setFindings(const std::vector<kmr::Finding>& findings);
    int findingCount() const;
    Result result() const { return m_result; }

    QListWidget* listView() const { return m_list; }
    QPlainTextEdit* explanation() const { return m_explanation; }

    // Shows the selected finding's explanation.
    void showExplanation();
    // "Continuar": closes with Result::Continue. "Cancelar" is reject(), which stops compiling.
    void continueCompiling();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const ImageList& m_images;
    QListWidget* m_list;
    QPlainTextEdit* m_explanation;
    std::vector<kmr::Finding> m_findings;
    Result m_result = Result::Stop;
};

}  // namespace kmr::gui
