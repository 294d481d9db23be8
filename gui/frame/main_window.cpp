// MainWindow itself: what it is made of, its windows (each made when first needed), the help and
// options commands, the views, and what the shut-down stores and closes.

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
    : QMainWindow(parent),
      m_prompts(prompts),
      m_store(store),
      m_start(std::move(options)),
      m_builder([this] {
          auto* builder = new CommandBuilderDialog(m_shared.edit, m_prompts, this);
          connect(builder, &CommandBuilderDialog::helpRequested, this, &MainWindow::showHelp);
          return builder;
      }),
      m_menuEditor([this] { return new MenuEditorDialog(m_shared.edit, m_prompts, m_composer, this); }),
      m_valueDialog([this] { return new ValueDialog(m_shared.edit, m_prompts, m_composer, this); }),
      m_wizard([this] {
          auto* wizard = new NewProjectWizard(m_shared, m_prompts, m_images, *m_menuEditor, m_composer, this);
          // The program's own folder is the first place templates are looked for.
          wizard->setProgramFolder(QFileInfo(m_start.programFile).absolutePath());
          connect(wizard, &NewProjectWizard::helpRequested, this, &MainWindow::showHelp);
          // "Abrir..." and "Importar..." hand over to the frame's own commands before the wizard closes.
          connect(wizard, &NewProjectWizard::openRequested, this, [this] { m_fileCommands->openProject(); });
          connect(wizard, &NewProjectWizard::importRequested, this, [this] { m_autorunCommands->importAutorun(); });
          return wizard;
      }),
      m_optionsDialog([this] {
          auto* dialog = new OptionsDialog(m_options, this);
          if (m_key) dialog->setSettingsKey(&*m_key);
          connect(dialog, &OptionsDialog::closed, this, &MainWindow::applyOptions);
          connect(dialog, &OptionsDialog::helpRequested, this, &MainWindow::showHelp);
          return dialog;
      }),
      m_conflicts([this] { return new ConflictsDialog(m_images, this); }),
      m_discProperties([this] {
          auto* dialog = new DiscPropertiesDialog(m_shared.edit, m_prompts, this);
          connect(dialog, &DiscPropertiesDialog::helpRequested, this, [this] { showHelp(kHelpDiscProperties); });
          return dialog;
      }),
      m_aboutBox([this] { return new AboutBox(m_webLinks->opener(), this); }) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(m_images.icon(Picture::Compile));
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

    createCommands();
    createPanels();

    // The splash window's timer runs from here on, for the whole run; its picture is read when it shows.
    m_splash = new SplashWindow(this);
    m_help = std::make_unique<Help>(m_prompts, this);
    m_webLinks = std::make_unique<WebLinks>(m_prompts, m_start.openUrl ? m_start.openUrl : desktopUrlOpener(m_prompts));

    m_handOffTimer = new QTimer(this);
    m_handOffTimer->setObjectName(QStringLiteral("Timer2"));
    m_handOffTimer->setInterval(450);
    m_handOffTimer->setTimerType(Qt::PreciseTimer);
    connect(m_handOffTimer, &QTimer::timeout, this, &MainWindow::pollHandOff);

    refreshWindowCommands();
}

void MainWindow::createCommands() {
    m_fileCommands = std::make_unique<ProjectFileCommands>(*this);
    m_objectCommands = std::make_unique<ObjectCommands>(*this, m_menuEditor, m_valueDialog);
    m_clipboardCommands = std::make_unique<ClipboardCommands>(*this, *m_objectCommands);
    m_autorunCommands = std::make_unique<AutorunCommands>(*this, m_conflicts);
    m_autorunCommands->setKeepExtras([this] { return m_options.keepImportExtras; });
    m_discCommands = std::make_unique<DiscCommands>(*this, *m_autorunCommands, this);
    // The check mark of "Predeterminado" tells whether the selected menu is the default one.
    connect(m_objectCommands.get(), &ObjectCommands::defaultMenuMarked, m_setDefaultAction, &QAction::setChecked);
}

bool MainWindow::BuilderOnDemand::execOn(kmr::BuilderPage start, bool forcedCompatibility) {
    return m_builder->execOn(start, forcedCompatibility);
}

void MainWindow::makeRemainingWindows() {
    aboutBox();
    newProjectWizard();
    menuEditor();
    valueDialog();
    optionsDialog();
    commandBuilder();
    conflictsDialog();
    discPropertiesDialog();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (m_painted) return;
    m_painted = true;
    // The windows the first picture did not need come once it is on screen.
    if (m_activated) QTimer::singleShot(0, this, &MainWindow::makeRemainingWindows);
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

void MainWindow::runUpdate() { m_webLinks->update(m_options.siteAddress()); }

void MainWindow::openWebPage(kmr::web::WebPage page) { m_webLinks->open(page); }

// ---------------------------------------------------------------------------------------------
// Options and views

void MainWindow::showOptions() { m_optionsDialog->exec(); }

void MainWindow::readOptions() {
    if (m_key) m_options = kmr::gui::readOptions(*m_key);
    // A dialog made already shows the options of the run, as they stand.
    if (OptionsDialog* dialog = m_optionsDialog.ifMade()) dialog->showOptions(m_options);
}

void MainWindow::applyOptions() {
    m_mainToolBar->setVisible(m_options.showToolBar);
    applyObjectToolBarVisibility();
    statusBar()->setVisible(m_options.showStatusBar);
    m_tipsPanel->setVisible(m_options.showTips);
    m_quickStart->setVisible(m_options.showQuickStart);
    // Running the timer shows a tip at once; one that stops leaves its tip for the next time.
    m_tipsPanel->setTimerRunning(m_options.showTips);
    if (m_key) {
        const qint32 state = m_key->readInt(kFrameState);
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
    m_objectToolBar->setVisible(m_options.showToolBar && m_objectCommandsOffered);
}

void MainWindow::toggleOption(bool Options::*option) {
    m_options.*option = !(m_options.*option);
    if (m_key) kmr::gui::storeOptions(*m_key, m_options);
    readOptions();
    applyOptions();
}

void MainWindow::toggleToolBar() { toggleOption(&Options::showToolBar); }
void MainWindow::toggleStatusBar() { toggleOption(&Options::showStatusBar); }
void MainWindow::toggleQuickStart() { toggleOption(&Options::showQuickStart); }
void MainWindow::toggleTips() { toggleOption(&Options::showTips); }

// ---------------------------------------------------------------------------------------------
// Shut-down

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_key) {
        const SettingsBatch batch(m_store);
        m_key->writeInt(kFrameLeft, x());
        m_key->writeInt(kFrameTop, y());
        const Qt::WindowStates state = windowState();
        if (!(state & Qt::WindowMaximized)) m_key->writeInt(kFrameWidth, width());
        m_key->writeInt(kFrameHeight, height());
        qint32 estado = 0;
        if (state & Qt::WindowMaximized) estado = 2;
        if (state & Qt::WindowMinimized) estado = 1;
        m_key->writeInt(kFrameState, estado);
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
