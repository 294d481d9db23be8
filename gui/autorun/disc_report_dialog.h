#pragma once
// The report of "Comprobar disco...": what the check of a project against its disc folder found,
// each finding with its explanation, in the look of the conflicts report.

#include <QDialog>

#include <vector>

#include "disc/disc_check.h"

class QListWidget;
class QPlainTextEdit;

namespace kmr::gui {

class ImageList;

class DiscReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiscReportDialog(const ImageList& images, QWidget* parent = nullptr);

    // Empties the list and the explanation box and lists the findings in order.
    void setItems(std::vector<kmr::disc::CheckItem> items);
    int itemCount() const;

    QListWidget* listView() const { return m_list; }
    QPlainTextEdit* explanation() const { return m_explanation; }

    // Shows the selected finding's explanation.
    void showExplanation();

private:
    const ImageList& m_images;
    QListWidget* m_list;
    QPlainTextEdit* m_explanation;
    std::vector<kmr::disc::CheckItem> m_items;
};

}  // namespace kmr::gui
