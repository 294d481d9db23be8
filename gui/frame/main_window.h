#pragma once
// The main window: the frame that holds the project windows, wires every command to its action,
// and shows the menus and tool bars. Its code is spread over the files main_window*.cpp, one part
// of the frame each: the frame itself and its windows, the command table, the menus and tool bars,
// start-up, the project windows, the panels and the recent files.

#include <QAction>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/command_composer.h"
#include "base/image_list.h"
#include "base/on_demand.h"
#include "base/settings_store.h"
#include "base/settings_warning.h"
#include "base/shared_values.h"
#include "frame/frame_action.h"
#include "frame/options.h"
#include "help/web_links.h"
#include "project/project_host.h"
#include "tips/tips.h"

class QLockFile;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace kmr::gui {

class AboutBox;
class AutorunCommands;
class ClipboardCommands;
class CommandBuilderDialog;
class Help;
class ConflictsDialog;
class DiscCommands;
class DiscPropertiesDialog;
class MenuEditorDialog;
class NewProjectWizard;
class ObjectCommands;
class OptionsDialog;
class ProjectFileCommands;
class Prompts;
class ProjectWindow;
class QuickStartPanel;
class SplashWindow;
class TipsPanel;
class ValueDialog;

// How the process was started.
struct StartOptions {
    QStringList arguments;  // the command line without the program name
    QString programFile;    // full path of the program file; its folder holds the help file
    int handOffWaitMs = 500;
    UrlOpener openUrl;  // opens a web address; empty: the desktop's default handler
    // A lock file that the running instance holds, so a start knows without waiting whether anyone
    // could take its file. Empty: no such check, a start with a file always tries the hand-off.
    QString instanceLockPath;
};

// Where the settings of the program live in the store.
inline const QString kSettingsKeyPath = QStringLiteral("Software\\Brenlowe\\KMR");

class MainWindow : public QMainWindow, public ProjectHost {
    Q_OBJECT
public:
    MainWindow(Prompts& prompts, SettingsStore& store, StartOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up before the frame shows: file-type registration, settings key, hand-off, migration,
    // defaults and the help file. False when a running instance took the command-line file and this
    // instance has to end without showing anything.
    bool startUp();
    // The one-time work of the first activation; later calls do nothing.
    void firstActivation();
    // The hand-off poll: opens a path that a starting instance left in "Archivo".
    void pollHandOff();
    QTimer* handOffTimer() const { return m_handOffTimer; }
    // Whether this instance holds the lock that tells later starts that an instance runs.
    bool holdsInstanceLock() const;

    SettingsKey& settingsKey() { return *m_key; }
    const QString& helpFile() const { return m_helpFile; }
    QMdiArea* mdiArea() const { return m_mdi; }
    // The frame's windows, each made the first time it is needed (those that the first activation does
    // not show, right after it, once the frame is on screen) and kept for the run.
    MenuEditorDialog* menuEditor() const { return &m_menuEditor.get(); }
    NewProjectWizard* newProjectWizard() const { return &m_wizard.get(); }
    ValueDialog* valueDialog() const { return &m_valueDialog.get(); }
    OptionsDialog* optionsDialog() const { return &m_optionsDialog.get(); }
    CommandBuilderDialog* commandBuilder() const { return &m_builder.get(); }
    ConflictsDialog* conflictsDialog() const { return &m_conflicts.get(); }
    DiscPropertiesDialog* discPropertiesDialog() const { return &m_discProperties.get(); }
    AboutBox* aboutBox() const { return &m_aboutBox.get(); }
    SplashWindow* splashWindow() const { return m_splash; }
    // The project window's context menu on its object list.
    QMenu* contextMenu() const { return m_popupMenu; }
    QAction* linkAction(int slot) const { return m_links.at(slot); }

    // Every action of the frame but the recent files' entries, one row each, in the order they are made.
    static std::span<const FrameAction> actionTable();
    // The action of a row, by its object name; null for a name the table does not hold.
    QAction* action(std::string_view name) const;

    // The commands, by subsystem; the actions of the command table run them.
    ProjectFileCommands& fileCommands() { return *m_fileCommands; }
    ObjectCommands& objectCommands() { return *m_objectCommands; }
    ClipboardCommands& clipboardCommands() { return *m_clipboardCommands; }
    AutorunCommands& autorunCommands() { return *m_autorunCommands; }
    DiscCommands& discCommands() { return *m_discCommands; }

    // What the project windows and the commands need from the frame.
    Prompts& prompts() override { return m_prompts; }
    SharedValues& shared() override { return m_shared; }
    const ImageList& images() const override { return m_images; }
    ProjectWindow* activeProjectWindow() const override;
    QList<ProjectWindow*> projectWindows() const override;
    ProjectWindow* addProjectWindow(const QString& caption) override;
    // Shows exactly the object commands that the active project and its selection allow.
    void refreshObjectCommands() override;
    void modifyObject(kmr::Kind kind) override;
    void deleteSelectedObject() override;
    void showObjectMenu(const QPoint& globalPos) override;
    SaveOutcome saveProject(ProjectWindow* window) override;
    void abortShutdown() override { m_shutdownAborted = true; }
    void rememberRecentFile(const QString& path) override;

    // "&Nuevo...": shows the new-project wizard and, when it finished, builds its data into a new
    // project numbered like every new project.
    void newProject();
    // A new project window with `caption`, filled from the wizard data.
    ProjectWindow* createProject(const QString& caption);
    // Closes the active project window.
    void closeProject();
    // "&Propiedades del disco..." on `window`; nothing without one.
    void editDiscProperties(ProjectWindow* window);

    // The options of the run: read from the settings at the first activation and after every change,
    // edited by the options dialog, applied to the frame.
    const Options& options() const { return m_options; }
    // "&Opciones...": the options dialog, modal; closing it applies the options.
    void showOptions();
    // Applies the options onto the frame: bands, status bar, panels, tip timer, window state, view marks.
    void applyOptions();

    // The tips panel Panel3 and the quick-start panel Panel1.
    TipsPanel* tipsPanel() const { return m_tipsPanel; }
    QuickStartPanel* quickStartPanel() const { return m_quickStart; }
    // What the open projects and the options say about which tips are useful now.
    kmr::TipContext tipContext() const;
    // Runs a tip's click action through the command's own handler, so it runs even while the
    // command is hidden or disabled.
    void runTipAction(kmr::TipAction action);

    // Recent files: the shared pending path goes first in the list; the list is shown in the
    // "&Archivo" menu and stored; a slot's file is opened.
    void addRecentFile();
    void showRecentFiles();
    void openRecentFile(int slot);

    // Help, the about box, the update command and the web links.
    void showHelp(int context);
    void showHelpContents();
    void showAboutBox();
    void runUpdate();
    void openWebPage(kmr::web::WebPage page);
    Help& help() { return *m_help; }

    // View toggles: each flips its option, stores the options and applies them.
    void toggleToolBar();
    void toggleStatusBar();
    void toggleQuickStart();
    void toggleTips();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Opens the command builder, made the first time a dialog asks for it.
    class BuilderOnDemand : public CommandComposer {
    public:
        explicit BuilderOnDemand(OnDemand<CommandBuilderDialog>& builder) : m_builder(builder) {}
        bool execOn(kmr::BuilderPage start, bool forcedCompatibility) override;

    private:
        OnDemand<CommandBuilderDialog>& m_builder;
    };

    void createActions();
    // Adds the actions of the table with these names, "-" for a separator line.
    void addActionsTo(QWidget* menuOrBar, std::initializer_list<const char*> names);
    void createMenus();
    void createToolBars();
    void createContextMenu();
    void createCommands();
    void createPanels();
    // The windows the first activation did not need, once the frame has been painted.
    void makeRemainingWindows();
    void applyObjectToolBarVisibility();
    void refreshWindowCommands();
    // Frame size and place from the settings, kept on the screen it opens on.
    void restoreFrameGeometry();
    // The "&Ventanas" menu's list of the open project windows, the active one checked.
    void listProjectWindows();
    void tileHorizontally();
    void tileVertically();
    void minimizeAll();
    void arrangeIcons();
    void readOptions();
    void toggleOption(bool Options::*option);
    void writeRegistration();
    void migrateOldConfiguration();
    void checkHelpFile();
    bool handOff();
    bool takeInstanceLock();

    Prompts& m_prompts;
    SettingsStore& m_store;
    StartOptions m_start;
    std::optional<SettingsKey> m_key;
    SettingsWarning m_settingsWarning;
    SharedValues m_shared;
    ImageList m_images;
    QString m_helpFile = QStringLiteral("KMR.HLP");
    Options m_options = designedOptions();
    // Set by startUp(); the first activation clears it.
    bool m_activationPending = false;
    bool m_activated = false;
    bool m_painted = false;
    bool m_centredOnce = false;
    bool m_shutdownAborted = false;

    QMdiArea* m_mdi = nullptr;
    QTimer* m_handOffTimer = nullptr;
    // Asking for a window that is not there yet makes it, even through a const frame.
    mutable OnDemand<CommandBuilderDialog> m_builder;
    BuilderOnDemand m_composer{m_builder};
    mutable OnDemand<MenuEditorDialog> m_menuEditor;
    mutable OnDemand<ValueDialog> m_valueDialog;
    mutable OnDemand<NewProjectWizard> m_wizard;
    mutable OnDemand<OptionsDialog> m_optionsDialog;
    mutable OnDemand<ConflictsDialog> m_conflicts;
    mutable OnDemand<DiscPropertiesDialog> m_discProperties;
    mutable OnDemand<AboutBox> m_aboutBox;
    SplashWindow* m_splash = nullptr;
    std::unique_ptr<Help> m_help;
    std::unique_ptr<WebLinks> m_webLinks;
    std::unique_ptr<ProjectFileCommands> m_fileCommands;
    std::unique_ptr<ObjectCommands> m_objectCommands;
    std::unique_ptr<ClipboardCommands> m_clipboardCommands;
    std::unique_ptr<AutorunCommands> m_autorunCommands;
    std::unique_ptr<DiscCommands> m_discCommands;
    std::unique_ptr<QLockFile> m_instanceLock;
    QToolBar* m_mainToolBar = nullptr;
    QToolBar* m_objectToolBar = nullptr;
    QToolButton* m_addButton = nullptr;
    QAction* m_addButtonAction = nullptr;  // the drop-down button's place in the second tool bar
    QMenu* m_addMenu = nullptr;
    QAction* m_deleteSeparator = nullptr;  // the tool-bar separator before the delete button
    QMenu* m_popupMenu = nullptr;
    // The actions of the command table, row by row.
    std::vector<QAction*> m_actions;
    QAction* m_setDefaultAction = nullptr;
    QAction* m_deleteAction = nullptr;
    bool m_objectCommandsOffered = false;  // the second tool bar has something to offer
    QList<QAction*> m_links;
    QMenu* m_windowsMenu = nullptr;
    QList<QAction*> m_windowList;
    QAction* m_viewToolBar = nullptr;
    QAction* m_viewStatusBar = nullptr;
    QAction* m_viewQuickStart = nullptr;
    QAction* m_viewTips = nullptr;
    TipsPanel* m_tipsPanel = nullptr;
    QuickStartPanel* m_quickStart = nullptr;
};

}  // namespace kmr::gui
