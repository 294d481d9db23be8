#pragma once
// "Propiedades del disco": the disc settings that are not objects (the AutoPlay text, "Usar
// Reproducción automática", the custom event, the content types, the content and driver folders, the
// platform sections) and the other entries an import kept, each with its section and key.

#include <QDialog>
#include <QString>

#include "project/disc_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

namespace kmr::gui {

class Prompts;
class ProjectWindow;
struct EditState;

class DiscPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    DiscPropertiesDialog(EditState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Shows `settings` in the controls; what the user leaves untouched comes back exactly as it was.
    void setSettings(const kmr::DiscSettings& settings);
    // The settings as the controls hold them.
    kmr::DiscSettings settings() const;

    // "Aceptar": refuses a changed entry without a key, a key with "=", a section name with brackets, a
    // value of more than one line and a folder that the file would read as a header or a comment (each
    // with a message, the faulty field in front); else accepts.
    void tryAccept();

    // "Propiedades del disco...": shows the dialog on the window's settings and, when the user accepts
    // other settings, gives them to the window, which marks the project changed. True when it did.
    bool editOn(ProjectWindow& window);

    QTabWidget* pages() const { return m_pages; }
    QTableWidget* platformTable() const { return m_platforms; }
    QTableWidget* keptTable() const { return m_kept; }

signals:
    // "Ayuda": the frame shows the dialog's help topic.
    void helpRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The pages, one builder each (disc_properties_pages.cpp); the table page of the platforms or of the
    // other entries.
    QWidget* makeGeneralPage();
    QWidget* makeFoldersPage();
    QWidget* makeTablePage(bool platforms);
    // Adds a row to a table, its first cell from the current row, and starts editing its key.
    void addRow(QTableWidget* table, const QString& firstDefault);
    void removeRow(QTableWidget* table);
    // Shows the message and puts `field` (on page `page`) in front; always false.
    bool refuse(const QString& text, int page, QWidget* field);
    bool refuseCell(const QString& text, int page, QTableWidget* table, int row, int column);
    bool checkTable(QTableWidget* table, int page, bool platforms);
    bool checkFolders(QPlainTextEdit* list, int page, bool bareLines);

    EditState& m_state;
    Prompts& m_prompts;
    kmr::DiscSettings m_shown;  // what setSettings gave, for what the user leaves alone
    QTabWidget* m_pages;
    QLineEdit* m_action;
    QCheckBox* m_useAutoPlay;
    QLineEdit* m_customEvent;
    QComboBox* m_music;
    QComboBox* m_pictures;
    QComboBox* m_video;
    QPlainTextEdit* m_exclusive;
    QPlainTextEdit* m_ignore;
    QPlainTextEdit* m_drivers;
    QTableWidget* m_platforms;
    QTableWidget* m_kept;
};

}  // namespace kmr::gui
