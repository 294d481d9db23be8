#pragma once
// TForm7: the conflicts report, where the user reads the findings and continues or stops compiling.

#include <QDialog>

#include <vector>

#include "autorun/conflicts.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kmr::gui {

class ImageList;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    enum class Result { Stop, Continue };

    explicit TForm7(const ImageList& images, QWidget* parent = nullptr);

    // Empties the list and the explanation box and lists the findings in order.
    void setFindings(const std::vector<kmr::Finding>& findings);
    int findingCount() const;
    Result result() const { return m_result; }

    QListWidget* listView() const { return m_list; }
    QPlainTextEdit* explanation() const { return m_explanation; }

    void ListView1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

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
