#pragma once
// TMainForm: the main frame, holding the project windows, every command, menus and tool bars.

#include <QAction>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

#include "app/image_list.h"
#include "app/settings_store.h"
#include "app/shared_values.h"

class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace kmr::gui {

class Prompts;
class TMDIChild;
class TForm1;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
struct MenuEntry;
enum class ValueMode;

// How the process was started.
struct StartOptions {
    QStringList arguments;  // the command line without the program name
    QString programFile;    // full path of the program file; its folder holds the help file
    int handOffWaitMs = 500;
};

// Where the settings of the program live in the store.
inline const QString kSettingsKeyPath = QStringLiteral("Software\\Brenlowe\\KMR");

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(Prompts& prompts, SettingsStore& store, StartOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up before the frame shows: file-type registration, settings key, hand-off, migration,
    // defaults and the help file. False when a running instance took the command-line file and this
    // instance has to end without showing anything.
    bool FormCreate();
    // The one-time work of the first activation; later calls do nothing.
    void FormActivate();
    // The hand-off poll: opens a path that a starting instance left in "Archivo".
    void Timer2Timer();
    QTimer* handOffTimer() const { return m_timer2; }

    Prompts& prompts() { return m_prompts; }
    SharedValues& shared() { return m_shared; }
    const ImageList& images() const { return m_images; }
    SettingsKey& settingsKey() { return *m_key; }
    const QString& helpFile() const { return m_helpFile; }
    QMdiArea* mdiArea() const { return m_mdi; }
    TForm1* menuEditor() const { return m_form1; }
    TForm4* valueDialog() const { return m_form4; }
    TForm5* options() const { return m_form5; }
    TForm6* builder() const { return m_form6; }
    TForm7* conflicts() const { return m_form7; }
    // The project window's context menu on its object list.
    QMenu* contextMenu() const { return m_popupMenu; }
    QAction* linkAction(int slot) const { return m_links.at(slot); }

    // The project window with the focus, or none.
    TMDIChild* activeChild() const;
    QList<TMDIChild*> projectWindows() const;

    // File commands.
    enum class SaveOutcome { Saved, NothingToDo, Abandoned, Failed };
    void Nuevo1Execute();
    TMDIChild* CrearProyecto(const QString& caption);
    void Abrir1Execute();
    void OldOpen1Execute();
    SaveOutcome Guardar1Execute(TMDIChild* child);
    void Guardarcomo1Execute();
    void Cerrar2Execute();

    // Autorun commands.
    void Exportar1Execute();
    void Importar2Execute();
    // Fills the report from the active project; true when it found something.
    bool Conflictos1Execute();

    // Object commands on the active project window.
    void IProg1Execute();
    void IIcono1Execute();
    void ITexto1Execute();
    void IMenu1Execute();
    void MProg1Execute();
    void MIcono1Execute();
    void MTexto1Execute();
    void MMenu1Execute();
    void Pred1Execute();
    void Up1Execute();
    void Down1Execute();
    void Del1Execute();
    // Shows exactly the object commands that the active project and its selection allow.
    void Actualizar1Execute();

    // Cut, copy and paste through the object buffer; the system clipboard is left alone.
    void Cortar1Execute();
    void Copiar1Execute();
    void Pegar1Execute();

    // Applies the options dialog onto the frame.
    void RInicializar1();

    // Recent files.
    void AddLink();
    void WriteLink();
    void AbrirLink1Execute(int slot);

    // View toggles.
    void Barradeiconos1Click();
    void Barradeestado1Click();
    void Iniciorpido1Click();
    void Asistenteidea1Click();

    // A project window's save failed while the frame was closing: the windows not yet asked stay.
    void abortShutdown() { m_shutdownAborted = true; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& caption, const QString& hint, int image,
                        const QKeySequence& shortcut, const QString& category);
    void createActions();
    void createMenus();
    void createToolBars();
    void createContextMenu();
    void createDialogs();
    void applyToolBar2Visibility();
    // Shows the value dialog in `mode` with `value` (and the resource box in program mode) for an
    // object of `child`; true when the user accepted and the window is still there.
    bool askValue(TMDIChild* child, ValueMode mode, const QString& value, bool resource);
    // Shows the menu editor filled with `entry` for a menu of `child`, whose menus its names are
    // tested against; true when the user accepted and the window is still there.
    bool askMenu(TMDIChild* child, const MenuEntry& entry, const QString& initialInternalName);
    // The single-value insert commands: a run entry, an icon or a label.
    void insertSingle(kmr::Kind kind, ValueMode mode);
    // The single-value modify commands.
    void modifySingle(kmr::Kind kind, ValueMode mode);
    // Shows `project` in `child` with `selection` selected (-1: none) and marks it changed.
    void commitChange(TMDIChild* child, kmr::Project project, int selection);
    void refreshWindowCommands();
    void arrangeIcons();
    void toggleOption(void (TForm5::*flip)());
    void writeRegistration();
    void migrateOldConfiguration();
    void writeDefaults();
    void checkHelpFile();
    bool handOff();
    TMDIChild* addProjectWindow(const QString& caption);
    void showError(const QString& text);
    std::optional<QByteArray> readWholeFile(const QString& path);
    bool writeWholeFile(const QString& path, const QByteArray& bytes);

    Prompts& m_prompts;
    SettingsStore& m_store;
    StartOptions m_start;
    std::optional<SettingsKey> m_key;
    SharedValues m_shared;
    ImageList m_images;
    QString m_helpFile = QStringLiteral("KMR.HLP");
    bool m_startFlag1 = false;
    bool m_startFlag2 = false;
    bool m_centredOnce = false;
    bool m_shutdownAborted = false;
    QString m_lastProjectSaveName;
    QString m_lastCompileName = QStringLiteral("autorun.inf");

    QMdiArea* m_mdi = nullptr;
    QTimer* m_timer2 = nullptr;
    TForm1* m_form1 = nullptr;
    TForm4* m_form4 = nullptr;
    TForm5* m_form5 = nullptr;
    TForm6* m_form6 = nullptr;
    TForm7* m_form7 = nullptr;
    QToolBar* m_toolBar1 = nullptr;
    QToolBar* m_toolBar2 = nullptr;
    QToolButton* m_addButton = nullptr;
    QAction* m_addButtonAction = nullptr;  // the drop-down button's place in the second tool bar
    QMenu* m_addMenu = nullptr;
    QAction* m_deleteSeparator = nullptr;  // the tool-bar separator before the delete button
    QMenu* m_popupMenu = nullptr;
    // The project window whose menu the menu editor is editing while it is open.
    QPointer<TMDIChild> m_menuTarget;
    bool m_objectCommandsOffered = false;  // the second tool bar has something to offer
    QAction* m_linkSeparator = nullptr;
    QList<QAction*> m_links;
    QList<QAction*> m_windowCommands;
    QAction* m_viewToolBar = nullptr;
    QAction* m_viewStatusBar = nullptr;
    QAction* m_viewQuickStart = nullptr;
    QAction* m_viewTips = nullptr;
};

}  // namespace kmr::gui
