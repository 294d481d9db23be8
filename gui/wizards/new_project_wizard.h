#pragma once
// NewProjectWizard: the new-project wizard ("Asistente de Quillmere"), which gathers a new project page by page,
// optionally from a template, and leaves it in the shared wizard data for the frame to build.

#include <QDialog>
#include <QString>

#include <vector>

#include "project/project.h"
#include "wizards/template_pictures.h"
#include "wizards/templates.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace kmr::gui {

class ImageList;
enum class Picture : int;
class Prompts;
class MenuEditorDialog;
class CommandComposer;
struct SharedValues;

// The help topic that "Ayuda" asks for.
inline constexpr int kWizardHelpContext = 3;

class NewProjectWizard : public QDialog {
    Q_OBJECT
public:
    // The pages, in the order the buttons walk them.
    enum Page { Bienvenido = 0, DatosGenerales = 1, Menus = 2, Finalizar = 3 };

    NewProjectWizard(SharedValues& shared, Prompts& prompts, const ImageList& images, MenuEditorDialog& menuEditor,
                     CommandComposer& builder, QWidget* parent = nullptr);

    // The folder of the program file, the first place templates are looked for.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }

    int currentPage() const;
    // What the fields and the menu list hold now.
    kmr::WizardData data() const;
    const std::vector<kmr::TemplateRecord>& templates() const { return m_templates; }
    // Set by "Abrir..." and "Importar...": the wizard ended by handing over to the frame.
    bool handedOff() const { return m_handedOff; }

    // The buttons below the pages.
    void advance();
    void goBack();
    void requestHelp();

    // Page "Bienvenido".
    void openProject();
    void importAutorun();
    // A click on the template list: `item` is the clicked template, or none for empty space.
    void templateClicked(QListWidgetItem* item);
    void templateDoubleClicked();

    // Page "Datos generales": the command builder composes the program or the icon.
    void composeProgram();
    void composeIcon();

    // Page "Menús".
    void newMenu();
    void editMenu();
    void deleteMenu();
    void moveMenuUp();
    void moveMenuDown();
    void toggleDefaultMenu();
    // Position of the selected menu, or -1.
    int selectedMenu() const;
    void selectMenu(int index);

signals:
    // "Ayuda": the frame shows the help topic with this context number.
    void helpRequested(int context);
    // "Abrir..." and "Importar...": the frame runs its open or import command before the wizard closes.
    void openRequested();
    void importRequested();

public slots:
    // Every way of closing passes here; without a finished or handed-off wizard it asks first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeWelcomePage();
    QWidget* makeGeneralPage();
    QWidget* makeMenusPage(const ImageList& images);
    QWidget* makeSummaryPage();
    QAction* makeMenuCommand(const char* name, const QString& caption, const QString& hint, Picture image,
                             const ImageList& images, void (NewProjectWizard::*handler)());

    // Empties every field and list and loads the templates again: each showing starts afresh.
    void startAfresh();
    void loadTemplateList();
    void applyTemplate(const kmr::TemplateRecord& record);
    void showPage(int page);
    void updateButtons();
    void refreshMenuList(int selection);
    void updateClaveButton();
    void setStatusText(const QString& text);

    SharedValues& m_shared;
    Prompts& m_prompts;
    const ImageList& m_images;
    MenuEditorDialog& m_menuEditor;
    CommandComposer& m_builder;
    TemplatePictures m_pictures;
    QString m_programFolder;
    std::vector<kmr::TemplateRecord> m_templates;
    std::vector<kmr::WizardMenu> m_menus;
    bool m_finished = false;
    bool m_handedOff = false;

    QStackedWidget* m_pages = nullptr;
    QListWidget* m_templateList = nullptr;
    QPlainTextEdit* m_explanation = nullptr;
    QCheckBox* m_noEdit = nullptr;
    QLineEdit* m_program = nullptr;
    QCheckBox* m_resource = nullptr;
    QLineEdit* m_icon = nullptr;
    QLineEdit* m_label = nullptr;
    QTreeWidget* m_menuList = nullptr;
    QMenu* m_menuPopup = nullptr;
    QAction* m_clave = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_main = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace kmr::gui
