#pragma once
// The help viewer: contents, keyword index and full-text search beside the page, with back and forward.

#include <QList>
#include <QString>
#include <QWidget>

#include "help/help_index.h"

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QListWidgetItem;
class QTreeWidgetItem;
class QUrl;

namespace kmr::gui {

struct HelpTopic;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The help file to show; not owned, and it must outlive its use here (null empties the window).
    void setCollection(const HelpCollection* help);
    // Shows a page ("opciones.html", optionally with an anchor) and selects it in the contents.
    void showPage(const QString& page);
    // Shows `page` at the section that `keyword` names.
    void showKeyword(const QString& page, const QString& keyword);
    // Brings the contents, or the keyword index, forward.
    void showContentsTab();
    void showIndexTab();

    // The page shown, without anchor.
    QString currentPage() const;
    QTextBrowser* browser() const { return m_browser; }

    // Centres the window over `owner` (or its screen), shrunk where needed to stand whole on that screen.
    void placeOver(const QWidget* owner);

protected:
    // Escape closes the viewer, as it closes a dialog: opened from a modal dialog, the viewer is modal too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillContents(QTreeWidgetItem* parent, const QList<HelpTopic>& topics);
    void filterIndex(const QString& text);
    // The index entry under the cursor: its pages in the list below; chosen (Enter, double click): its
    // one page opens, or the focus goes to the list of its pages.
    void listEntryPages(QListWidgetItem* item);
    void chooseEntry(QListWidgetItem* item);
    void runSearch();
    void pageChanged(const QUrl& url);

    const HelpCollection* m_help = nullptr;
    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QLineEdit* m_indexFilter;
    QListWidget* m_index;
    QListWidget* m_indexPages;
    QList<HelpIndexEntry> m_entries;
    QLineEdit* m_searchText;
    QListWidget* m_results;
    QTextBrowser* m_browser;
};

}  // namespace kmr::gui
