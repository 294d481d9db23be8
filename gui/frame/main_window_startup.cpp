// MainWindow's start-up: the registration, the settings key and its defaults, the hand-off of a file
// to a running instance and its poll, and the first activation once the frame is on screen.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "base/hand_off_mailbox.h"
#include "base/prompts.h"
#include "frame/main_window.h"
#include "frame/options_dialog.h"
#include "help/help.h"
#include "help/splash_window.h"
#include "panels/quick_start_panel.h"
#include "project/project_file_commands.h"

#include <algorithm>

namespace kmr::gui {

namespace {

const QString kRegistrationMarker = QStringLiteral("Software\\Brenlowe\\KMR2");
const QString kOldConfiguration = QStringLiteral("software\\Dantreva\\Vostrelo\\Config");

}  // namespace

bool MainWindow::startUp() {
    m_activationPending = true;
    // Start-up's writes go to the files in one save; the hand-off alone has to write through at once.
    std::optional<SettingsBatch> batch(std::in_place, m_store);
    if (!m_store.keyExists(SettingsRoot::Machine, kRegistrationMarker)) writeRegistration();
    m_key = SettingsKey::open(m_store, SettingsRoot::Machine, kSettingsKeyPath, true);
    if (OptionsDialog* made = m_optionsDialog.ifMade()) made->setSettingsKey(&*m_key);
    // Only while another instance runs is there anyone to hand the file to; alone, this instance
    // opens it itself at the first activation, and a path that waited in the mailbox before it took
    // the lock is nobody's.
    const QString left = m_start.arguments.isEmpty() ? QString() : HandOffMailbox(*m_key).waiting();
    const bool alone = takeInstanceLock();
    if (!m_start.arguments.isEmpty() && !alone) {
        batch.reset();
        if (handOff()) return false;
        batch.emplace(m_store);
    }
    migrateOldConfiguration();
    // "Archivo" comes last, written below through the mailbox.
    writeMissingDefaults(*m_key);
    checkHelpFile();
    for (int i = 0; i < 5; ++i) {
        if (!m_key->valueExists(recentFileValue(i))) m_key->writeText(recentFileValue(i), QString());
    }
    m_helpFile = m_key->readText(kHelpFileValue);
    m_help->setHelpFile(m_helpFile);
    // The mailbox is written after the batch: a start beside this one may offer its path meanwhile,
    // and the batch's save must not put an older mailbox back over it.
    batch.reset();
    const HandOffMailbox mailbox(*m_key);
    if (alone) mailbox.discard(left);
    mailbox.create();
    m_settingsWarning.showOnce(m_store, m_prompts);
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
    // A running instance polls the mailbox more often than we wait, and takes the path in one step;
    // seeing it gone means the file is in good hands and this instance can end. A path still there
    // at the end is taken back in one step too, so exactly one instance opens it.
    const HandOffMailbox mailbox(*m_key);
    const QString path = m_start.arguments.constFirst();
    QElapsedTimer clock;
    clock.start();
    // Another start's path may still wait there; ours goes in once it was taken.
    bool offered = mailbox.offer(path);
    while (clock.elapsed() < m_start.handOffWaitMs) {
        if (offered && mailbox.taken(path)) return true;
        QThread::msleep(5);
        if (!offered) offered = mailbox.offer(path);
    }
    return offered && mailbox.withdraw(path);
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
        // An old configuration may lack a value; what it lacks is left to the defaults. Each is copied
        // with the type of the value it goes to (the old "Estado" is the status bar's flag).
        const auto copy = [&](const char* from, const OptionField& to) {
            const QString name = QLatin1String(from);
            if (!old->valueExists(name)) return;
            if (std::holds_alternative<QString Options::*>(to)) m_key->writeText(optionName(to), old->readText(name));
            if (std::holds_alternative<bool Options::*>(to)) m_key->writeBool(optionName(to), old->readBool(name));
            if (std::holds_alternative<qint32 Options::*>(to)) m_key->writeInt(optionName(to), old->readInt(name));
        };
        if (old->valueExists(kHelpFileValue)) m_key->writeText(kHelpFileValue, old->readText(kHelpFileValue));
        copy("Otro", &Options::otherAddress);
        copy("Bienvenida", &Options::welcome);
        copy("Centrado", &Options::centre);
        copy("Iconos", &Options::showToolBar);
        copy("Estado", &Options::showStatusBar);
        copy("Actualiza", &Options::site);
    }
    if (m_store.deleteKey(SettingsRoot::CurrentUser, QStringLiteral("Software\\Dantreva\\Vostrelo"))) {
        m_prompts.message(QStringLiteral("Se ha eliminado la información obsoleta del registro."),
                          QStringLiteral("Información"), MessageIcon::Information, MessageButtons::Ok);
    }
}

void MainWindow::checkHelpFile() {
    // Beside the program in the build tree, in ../share/kmr/ when installed.
    const QString local = findHelpFile(m_start.programFile);
    const bool localExists = QFileInfo(local).isFile();
    const QString& name = kHelpFileValue;
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
    readOptions();
    restoreFrameGeometry();
    refreshObjectCommands();
    m_shared.pendingPath.clear();
    for (int i = 0; i < 5; ++i) m_shared.recentFiles[static_cast<std::size_t>(i)] = m_key->readText(recentFileValue(i));
    showRecentFiles();
    applyOptions();
    if (m_options.showQuickStart) m_quickStart->show();
    if (m_options.welcome) m_splash->showOver(this);
    if (!m_start.arguments.isEmpty()) {
        m_shared.pendingPath = m_start.arguments.constFirst();
        m_fileCommands->openProject();
    } else if (m_options.runWizard && m_shared.pendingPath.isEmpty()) {
        newProject();
    }
    // What the first picture did not need is made now, or once the frame has been painted.
    m_activated = true;
    if (m_painted) makeRemainingWindows();
}

void MainWindow::restoreFrameGeometry() {
    // A stored 0 by 0 means no size was stored yet: the frame keeps its designed size.
    const QSize stored(m_key->readInt(kFrameWidth), m_key->readInt(kFrameHeight));
    if (!stored.isNull()) resize(stored);
    if (!m_options.centre) move(m_key->readInt(kFrameLeft), m_key->readInt(kFrameTop));
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
    // Settings that stopped working during the run are reported once, like those at the start.
    m_settingsWarning.showOnce(m_store, m_prompts);
    const QString path = HandOffMailbox(*m_key).take();
    if (path.isEmpty()) return;
    m_shared.pendingPath = path;
    m_fileCommands->openProject();
}
}  // namespace kmr::gui
