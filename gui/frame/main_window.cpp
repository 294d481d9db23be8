#include "frame/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
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
#include "project/disc_bar.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"
#include "wizards/command_builder_dialog.h"
#include "wizards/new_project_wizard.h"

#include <algorithm>

namespace kmr::gui {

namespace {

const QString kRegistrationMarker = QStringLiteral("Software\\Brenlowe\\KMR2");
const QString kOldConfiguration = QStringLiteral("software\\Dantreva\\Vostrelo\\Config");
const QString kMailbox = QStringLiteral("Archivo");

}  // namespace

MainWindow::MainWindow(Prompts& prompts, SettingsStore& store, StartOptions options, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_store(store), m_start(std::move(options)) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(m_images.icon(30));
    setMinimumSize(500, 300);
    resize(626, 532);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
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

    const UrlOpener opener = m_start.openUrl ? m_start.openUrl : desktopUrlOpener();
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
// Start-up

bool MainWindow::startUp() {
    m_activationPending = true;
    // Start-up's writes go to the files in one save; the hand-off alone has to write through at once.
    std::optional<SettingsBatch> batch(std::in_place, m_store);
    if (!m_store.keyExists(SettingsRoot::Machine, kRegistrationMarker)) writeRegistration();
    m_key = SettingsKey::open(m_store, SettingsRoot::Machine, kSettingsKeyPath, true);
    m_options->setSettingsKey(&*m_key);
    // Only while another instance runs is there anyone to hand the file to; alone, this instance
    // opens it itself at the first activation, and a path left in the mailbox is nobody's.
    const bool alone = takeInstanceLock();
    if (!m_start.arguments.isEmpty()) {
        if (!alone) {
            batch.reset();
            if (handOff()) return false;
            batch.emplace(m_store);
        }
        if (alone && !m_key->readText(kMailbox).isEmpty()) m_key->writeText(kMailbox, QString());
    }
    migrateOldConfiguration();
    writeDefaults();
    checkHelpFile();
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("link%1").arg(i);
        if (!m_key->valueExists(name)) m_key->writeText(name, QString());
    }
    if (!m_key->valueExists(QStringLiteral("inicio"))) m_key->writeBool(QStringLiteral("inicio"), true);
    m_helpFile = m_key->readText(QStringLiteral("Ayuda"));
    m_help->setHelpFile(m_helpFile);
    m_handOffTimer->start();
    return true;
}

void MainWindow::writeRegistration() {
    const QFileInfo program(m_start.programFile);
    const QString folder = QDir::toNativeSeparators(program.absolutePath());
    const QString path = QDir::toNativeSeparators(program.absoluteFilePath());
    const struct {
        QString key;
        QString value;
    } entries[] = {
        {QStringLiteral(".kmr"), QStringLiteral("kmrautofile")},
        {QStringLiteral("kmrautofile"), QStringLiteral("Proyecto de Quillmere")},
        {QStringLiteral("kmrautofile\\DefaultIcon"), folder + QDir::separator() + QStringLiteral("kmrfile.ico,0")},
        {QStringLiteral("kmrautofile\\shell\\Open\\Command"), path + QStringLiteral(" \"%1\"")},
    };
    for (const auto& e : entries) m_store.writeText(SettingsRoot::Classes, e.key, QString(), e.value);
    // The marker tells the next starts that the registration is there.
    m_store.createKey(SettingsRoot::Machine, kRegistrationMarker);
}

bool MainWindow::handOff() {
    // A running instance polls the mailbox more often than we wait, and empties it when it takes
    // the path; seeing it empty means the file is in good hands and this instance can end.
    m_key->writeText(kMailbox, m_start.arguments.constFirst());
    QElapsedTimer clock;
    clock.start();
    bool taken = false;
    while (!taken && clock.elapsed() < m_start.handOffWaitMs) {
        if (m_key->readText(kMailbox).isEmpty())
            taken = true;
        else
            QThread::msleep(5);
    }
    m_key->writeText(kMailbox, QString());
    return taken;
}

bool MainWindow::takeInstanceLock() {
    if (m_start.instanceLockPath.isEmpty()) return false;
    if (!m_instanceLock) {
        QDir().mkpath(QFileInfo(m_start.instanceLockPath).absolutePath());
        m_instanceLock = std::make_unique<QLockFile>(m_start.instanceLockPath);
        // The lock is held for as long as the instance runs; one left by an instance that died is
        // recognised by its process, never by its age.
        m_instanceLock->setStaleLockTime(0);
    }
    return m_instanceLock->isLocked() || m_instanceLock->tryLock(0);
}

bool MainWindow::holdsInstanceLock() const { return m_instanceLock && m_instanceLock->isLocked(); }

void MainWindow::migrateOldConfiguration() {
    const auto old = SettingsKey::open(m_store, SettingsRoot::CurrentUser, kOldConfiguration, false);
    if (!old) return;
    const Answer answer = m_prompts.message(
        QStringLiteral("Se ha detectado la configuración de una versión anterior de KMR. ¿Desea importar su "
                       "configuración antes de eliminarla?"),
        QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    if (answer == Answer::Yes) {
        // An old configuration may lack a value; what it lacks is left to the defaults.
        auto copyText = [&](const QString& from, const QString& to) {
            if (old->valueExists(from)) m_key->writeText(to, old->readText(from));
        };
        auto copyBool = [&](const QString& from, const QString& to) {
            if (old->valueExists(from)) m_key->writeBool(to, old->readBool(from));
        };
        copyText(QStringLiteral("Ayuda"), QStringLiteral("Ayuda"));
        copyText(QStringLiteral("Otro"), QStringLiteral("Otro"));
        copyBool(QStringLiteral("Bienvenida"), QStringLiteral("Bienvenida"));
        copyBool(QStringLiteral("Centrado"), QStringLiteral("Centrar"));
        copyBool(QStringLiteral("Iconos"), QStringLiteral("Vericonos"));
        copyBool(QStringLiteral("Estado"), QStringLiteral("Verestado"));
        if (old->valueExists(QStringLiteral("Actualiza"))) {
            m_key->writeInt(QStringLiteral("Actualizar"), old->readInt(QStringLiteral("Actualiza")));
        }
    }
    if (m_store.deleteKey(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo"))) {
        m_prompts.message(QStringLiteral("Se ha eliminado la información obsoleta del registro."),
                          QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
    }
}

void MainWindow::writeDefaults() {
    const auto text = [this](const char* name, const QString& value) {
        if (!m_key->valueExists(QLatin1String(name))) m_key->writeText(QLatin1String(name), value);
    };
    const auto integer = [this](const char* name, qint32 value) {
        if (!m_key->valueExists(QLatin1String(name))) m_key->writeInt(QLatin1String(name), value);
    };
    text("Otro", QStringLiteral("http://"));
    for (const char* name : {"Bienvenida", "Centrar", "Asistente", "Vericonos", "Verestado", "Veridea"}) {
        integer(name, 1);
    }
    for (const char* name : {"Actualizar", "X0", "Y0", "X1", "Y1", "Estado"}) integer(name, 0);
    text("Archivo", QString());
}

void MainWindow::checkHelpFile() {
    // Beside the program in the build tree, in ../share/kmr/ when installed.
    const QString local = findHelpFile(m_start.programFile);
    const bool localExists = QFileInfo(local).isFile();
    const QString name = QStringLiteral("Ayuda");
    if (!m_key->valueExists(name) && localExists) m_key->writeText(name, local);
    const QString stored = m_key->readText(name);
    if (stored.isEmpty() || !QFileInfo(stored).isFile()) {
        if (localExists) {
            m_key->writeText(name, local);
        } else {
            m_prompts.message(QStringLiteral("No se encuentra el fichero de ayuda."), QStringLiteral("Error"),
                              MessageIcon::Error, MessageButtons::Ok);
        }
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!m_centredOnce) {
        m_centredOnce = true;
        if (const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
            QRect r = frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
        // The first activation runs once the frame is on screen and the event loop is turning.
        QTimer::singleShot(0, this, &MainWindow::firstActivation);
    }
    QMainWindow::showEvent(event);
}

void MainWindow::firstActivation() {
    if (!m_activationPending || !m_key) return;
    m_activationPending = false;
    m_options->readOptions();
    restoreFrameGeometry();
    refreshObjectCommands();
    m_shared.pendingPath.clear();
    for (int i = 0; i < 5; ++i) {
        m_shared.recentFiles[static_cast<std::size_t>(i)] = m_key->readText(QStringLiteral("link%1").arg(i + 1));
    }
    showRecentFiles();
    applyOptions();
    if (m_options->showQuickStart()) m_quickStart->show();
    if (m_options->welcome()) m_splash->showOver(this);
    if (!m_start.arguments.isEmpty()) {
        m_shared.pendingPath = m_start.arguments.constFirst();
        m_fileCommands->openProject();
    } else if (m_options->runWizard() && m_shared.pendingPath.isEmpty()) {
        newProject();
    }
}

void MainWindow::restoreFrameGeometry() {
    // A stored 0 by 0 means no size was stored yet: the frame keeps its designed size.
    const QSize stored(m_key->readInt(QStringLiteral("X1")), m_key->readInt(QStringLiteral("Y1")));
    if (!stored.isNull()) resize(stored);
    if (!m_options->centre()) move(m_key->readInt(QStringLiteral("X0")), m_key->readInt(QStringLiteral("Y0")));
    // What was stored on a larger or another screen is brought onto the screen the frame opens on.
    const QScreen* s = QGuiApplication::screenAt(frameGeometry().center());
    if (s == nullptr) s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect area = s->availableGeometry();
    const QSize decoration = frameGeometry().size() - size();
    resize(size().boundedTo(area.size() - decoration).expandedTo(minimumSize()));
    QRect r = frameGeometry();
    r.moveRight(std::min(r.right(), area.right()));
    r.moveBottom(std::min(r.bottom(), area.bottom()));
    r.moveLeft(std::max(r.left(), area.left()));
    r.moveTop(std::max(r.top(), area.top()));
    move(r.topLeft());
}

void MainWindow::pollHandOff() {
    if (!m_key) return;
    // An instance started beside a running one takes over the lock when that one ends, so later
    // starts hand their files to it.
    if (!holdsInstanceLock()) takeInstanceLock();
    const QString path = m_key->readText(kMailbox);
    if (path.isEmpty()) return;
    m_shared.pendingPath = path;
    m_key->writeText(kMailbox, QString());
    m_fileCommands->openProject();
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
// Project windows

QList<ProjectWindow*> MainWindow::projectWindows() const {
    QList<ProjectWindow*> list;
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) {
        // A closed window lingers until its deferred deletion; it no longer counts.
        if (sw->isHidden()) continue;
        if (auto* child = qobject_cast<ProjectWindow*>(sw->widget())) list << child;
    }
    return list;
}

ProjectWindow* MainWindow::activeProjectWindow() const {
    QMdiSubWindow* sw = m_mdi->currentSubWindow();
    if (sw == nullptr || sw->isHidden()) return nullptr;
    return qobject_cast<ProjectWindow*>(sw->widget());
}

ProjectWindow* MainWindow::addProjectWindow(const QString& caption) {
    auto* child = new ProjectWindow(*this, caption);
    QMdiSubWindow* sw = m_mdi->addSubWindow(child);
    connect(child->discBar(), &DiscBar::propertiesRequested, this, [this, child] { m_discProperties->editOn(*child); });
    sw->setAttribute(Qt::WA_DeleteOnClose);
    connect(sw, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &MainWindow::refreshWindowCommands, Qt::QueuedConnection); });
    sw->show();
    m_mdi->setActiveSubWindow(sw);
    refreshWindowCommands();
    return child;
}

void MainWindow::refreshWindowCommands() {
    const bool any = !projectWindows().isEmpty();
    for (QAction* a : m_windowCommands) a->setEnabled(any);
    m_closeAction->setEnabled(any);
    // Another project window is active now, or none is.
    refreshObjectCommands();
}

void MainWindow::listProjectWindows() {
    qDeleteAll(m_windowList);
    m_windowList.clear();
    delete m_windowsMenu->findChild<QActionGroup*>(QStringLiteral("ListaVentanas"));
    const QList<ProjectWindow*> windows = projectWindows();
    if (windows.isEmpty()) return;
    auto* group = new QActionGroup(m_windowsMenu);
    group->setObjectName(QStringLiteral("ListaVentanas"));
    m_windowList << m_windowsMenu->addSeparator();
    const ProjectWindow* active = activeProjectWindow();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        ProjectWindow* w = windows.at(i);
        QString caption = w->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // The first nine are reached by their digit.
        QAction* a =
            m_windowsMenu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(QString::number(i + 1), caption) : caption);
        a->setObjectName(QStringLiteral("Ventana%1").arg(i + 1));
        a->setCheckable(true);
        a->setChecked(w == active);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, w] {
            if (projectWindows().contains(w))
                m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
        });
        m_windowList << a;
    }
}

void MainWindow::arrangeIcons() {
    // Minimised windows line up along the bottom edge of the client area.
    int x = 0;
    const int bottom = m_mdi->viewport()->height();
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) {
        if (!sw->isMinimized() || sw->isHidden()) continue;
        const QSize size = sw->size();
        sw->move(x, bottom - size.height());
        x += size.width();
    }
}

void MainWindow::closeProject() {
    if (QMdiSubWindow* sw = m_mdi->currentSubWindow()) sw->close();
}

void MainWindow::newProject() {
    m_wizard->exec();
    // Cancelled, or handed over to the open or import command: nothing to build.
    if (!m_shared.wizardFinished) return;
    createProject(QStringLiteral("Sin nombre %1").arg(projectWindows().size() + 1));
}

ProjectWindow* MainWindow::createProject(const QString& caption) {
    ProjectWindow* child = addProjectWindow(caption);
    child->setProject(kmr::buildProject(m_shared.wizardData));
    child->setSaved(0);
    return child;
}

SaveOutcome MainWindow::saveProject(ProjectWindow* window) { return m_fileCommands->saveProject(window); }

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
