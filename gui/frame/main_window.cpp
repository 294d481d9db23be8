// The frame itself: what it is made of, the help and options commands, the views, and what the
// shut-down stores and closes. Its start-up lies in frame_startup.cpp, its project windows in
// project_windows.cpp, its panels in frame_panels.cpp.

#include "frame/main_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "autorun/autorun_commands.h"
#include "autorun/conflicts_dialog.h"
#include "autorun/disc_commands.h"
#include "autorun/disc_properties_dialog.h"
#include "base/prompts.h"
#include "editing/clipboard_commands.h"
#include "editing/menu_editor_dialog.h"
#include "editing/object_commands.h"
#include "editing/value_dialog.h"
#include "frame/options_dialog.h"
#include "help/about_box.h"
#include "help/help.h"
#include "help/splash_window.h"
#include "panels/quick_start_panel.h"
#include "panels/tips_panel.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"
#include "wizards/command_builder_dialog.h"
#include "wizards/new_project_wizard.h"

namespace kmr::gui {

MainWindow::MainWindow(Prompts& prompts, SettingsStore& store, StartOptions options, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_store(store), m_start(std::move(options)) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(m_images.icon(30));
    setMinimumSize(500, 300);
    resize(626, 532);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    // Windows moved or cascaded past the edge stay reachable.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::refreshWindowCommands);

    createActions();
    createMenus();
    createToolBars();
    createContextMenu();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));

    createDialogs();
    m_options = new OptionsDialog(this);
    connect(m_options, &OptionsDialog::closed, this, &MainWindow::applyOptions);
    m_conflicts = new ConflictsDialog(m_images, this);
    createCommands();
    createPanels();

    const UrlOpener opener = m_start.openUrl ? m_start.openUrl : desktopUrlOpener(m_prompts);
    m_aboutBox = new AboutBox(opener, this);
    // The splash window's timer runs from here on, for the whole run.
    m_splash = new SplashWindow(this);
    m_help = std::make_unique<Help>(m_prompts, this);
    m_webLinks = std::make_unique<WebLinks>(m_prompts, opener);
    connect(m_options, &OptionsDialog::helpRequested, this, &MainWindow::showHelp);
    connect(m_builder, &CommandBuilderDialog::helpRequested, this, &MainWindow::showHelp);
    connect(m_wizard, &NewProjectWizard::helpRequested, this, &MainWindow::showHelp);

    m_handOffTimer = new QTimer(this);
    m_handOffTimer->setObjectName(QStringLiteral("Timer2"));
    m_handOffTimer->setInterval(450);
    m_handOffTimer->setTimerType(Qt::PreciseTimer);
    connect(m_handOffTimer, &QTimer::timeout, this, &MainWindow::pollHandOff);

    refreshWindowCommands();
}

void MainWindow::createDialogs() {
    // Created once and reused for the whole run; callers fill them before every showing.
    m_builder = new CommandBuilderDialog(m_shared.edit, m_prompts, this);
    m_menuEditor = new MenuEditorDialog(m_shared.edit, m_prompts, *m_builder, this);
    m_valueDialog = new ValueDialog(m_shared.edit, m_prompts, *m_builder, this);
    m_discProperties = new DiscPropertiesDialog(m_shared.edit, m_prompts, this);
    connect(m_discProperties, &DiscPropertiesDialog::helpRequested, this, [this] { showHelp(kHelpDiscProperties); });
    m_wizard = new NewProjectWizard(m_shared, m_prompts, m_images, *m_menuEditor, *m_builder, this);
    // The program's own folder is the first place templates are looked for.
    m_wizard->setProgramFolder(QFileInfo(m_start.programFile).absolutePath());
    // "Abrir..." and "Importar..." hand over to the frame's own commands before the wizard closes.
    connect(m_wizard, &NewProjectWizard::openRequested, this, [this] { m_fileCommands->openProject(); });
    connect(m_wizard, &NewProjectWizard::importRequested, this, [this] { m_autorunCommands->importAutorun(); });
}

void MainWindow::createCommands() {
    m_fileCommands = std::make_unique<ProjectFileCommands>(*this);
    m_objectCommands = std::make_unique<ObjectCommands>(*this, *m_menuEditor, *m_valueDialog);
    m_clipboardCommands = std::make_unique<ClipboardCommands>(*this, *m_objectCommands);
    m_autorunCommands = std::make_unique<AutorunCommands>(*this, *m_conflicts);
    m_autorunCommands->setKeepExtras([this] { return m_options->keepImportExtras(); });
    m_discCommands = std::make_unique<DiscCommands>(*this, *m_autorunCommands, this);
    // The check mark of "Predeterminado" tells whether the selected menu is the default one.
    connect(m_objectCommands.get(), &ObjectCommands::defaultMenuMarked, m_setDefaultAction, &QAction::setChecked);
}

MainWindow::~MainWindow() {
    // The client area and its windows outlive this object's members while the base class tears
    // them down; their last signals must not reach a half-destroyed frame.
    disconnect(m_mdi, nullptr, this, nullptr);
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) disconnect(sw, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Help, about, update and the web

void MainWindow::showHelp(int context) { m_help->showContext(context); }

void MainWindow::showHelpContents() { m_help->showContents(); }

void MainWindow::showAboutBox() { m_aboutBox->exec(); }

void MainWindow::runUpdate() { m_webLinks->update(m_options->siteAddress()); }

void MainWindow::openWebPage(kmr::web::WebPage page) { m_webLinks->open(page); }

// ---------------------------------------------------------------------------------------------
// Options and views

void MainWindow::showOptions() { m_options->exec(); }

void MainWindow::applyOptions() {
    m_mainToolBar->setVisible(m_options->showToolBar());
    applyObjectToolBarVisibility();
    statusBar()->setVisible(m_options->showStatusBar());
    m_tipsPanel->setVisible(m_options->showTips());
    m_quickStart->setVisible(m_options->showQuickStart());
    // Running the timer shows a tip at once; one that stops leaves its tip for the next time.
    m_tipsPanel->setTimerRunning(m_options->showTips());
    if (m_key) {
        const qint32 state = m_key->readInt(QStringLiteral("Estado"));
        if (state == 1)
            showMinimized();
        else if (state == 2)
            showMaximized();
    }
    m_viewToolBar->setChecked(!m_mainToolBar->isHidden());
    m_viewStatusBar->setChecked(!statusBar()->isHidden());
    m_viewQuickStart->setChecked(!m_quickStart->isHidden());
    m_viewTips->setChecked(!m_tipsPanel->isHidden());
}

void MainWindow::applyObjectToolBarVisibility() {
    // The second tool bar lives in the band, and shows only while it has object commands to offer.
    const bool band = m_options != nullptr ? m_options->showToolBar() : !m_mainToolBar->isHidden();
    m_objectToolBar->setVisible(band && m_objectCommandsOffered);
}

void MainWindow::toggleOption(void (OptionsDialog::*flip)()) {
    (m_options->*flip)();
    m_options->storeOptions();
    m_options->readOptions();
    applyOptions();
}

void MainWindow::toggleToolBar() { toggleOption(&OptionsDialog::flipToolBar); }
void MainWindow::toggleStatusBar() { toggleOption(&OptionsDialog::flipStatusBar); }
void MainWindow::toggleQuickStart() { toggleOption(&OptionsDialog::flipQuickStart); }
void MainWindow::toggleTips() { toggleOption(&OptionsDialog::flipTips); }
// ---------------------------------------------------------------------------------------------
// Shut-down

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_key) {
        const SettingsBatch batch(m_store);
        m_key->writeInt(QStringLiteral("X0"), x());
        m_key->writeInt(QStringLiteral("Y0"), y());
        const Qt::WindowStates state = windowState();
        if (!(state & Qt::WindowMaximized)) m_key->writeInt(QStringLiteral("X1"), width());
        m_key->writeInt(QStringLiteral("Y1"), height());
        qint32 estado = 0;
        if (state & Qt::WindowMaximized) estado = 2;
        if (state & Qt::WindowMinimized) estado = 1;
        m_key->writeInt(QStringLiteral("Estado"), estado);
    }
    const QList<ProjectWindow*> windows = projectWindows();
    m_shared.closeCounter = static_cast<int>(windows.size());
    m_shutdownAborted = false;
    for (ProjectWindow* child : windows) {
        if (QWidget* sw = child->parentWidget()) sw->close();
        if (m_shutdownAborted) break;
    }
    if (m_shared.closeCounter != 0 || m_shutdownAborted) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kmr::gui
