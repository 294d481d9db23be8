#include "app/main_form.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "app/options_dialog.h"
#include "app/prompts.h"
#include "autorun/conflicts_dialog.h"
#include "editing/menu_editor_dialog.h"
#include "editing/value_dialog.h"
#include "project/mdi_child.h"
#include "wizards/command_builder_dialog.h"

namespace kmr::gui {

namespace {

const QString kRegistrationMarker = QStringLiteral("Software\\Brenlowe\\KMR2");
const QString kOldConfiguration = QStringLiteral("software\\Dantreva\\Vostrelo\\Config");
const QString kMailbox = QStringLiteral("Archivo");

}  // namespace

TMainForm::TMainForm(Prompts& prompts, SettingsStore& store, StartOptions options, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_store(store), m_start(std::move(options)) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(m_images.icon(30));
    setMinimumSize(500, 300);
    resize(626, 532);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TMainForm::refreshWindowCommands);

    createActions();
    createMenus();
    createToolBars();
    createContextMenu();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));

    createDialogs();
    m_form5 = new TForm5(this);
    connect(m_form5, &TForm5::closed, this, &TMainForm::RInicializar1);
    m_form7 = new TForm7(m_images, this);

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(450);
    connect(m_timer2, &QTimer::timeout, this, &TMainForm::Timer2Timer);

    refreshWindowCommands();
}

void TMainForm::createDialogs() {
    // Created once and reused for the whole run; callers fill them before every showing.
    m_form6 = new TForm6(m_shared.edit, m_prompts, this);
    m_form1 = new TForm1(m_shared.edit, m_prompts, *m_form6, this);
    m_form4 = new TForm4(m_shared.edit, m_prompts, *m_form6, this);
    // From a project window, a menu's internal name must not repeat one of that project's menus.
    m_form1->setNameSource(kEditFromProject, [this] {
        const TMDIChild* child = !m_menuTarget.isNull() ? m_menuTarget.data() : activeChild();
        return child != nullptr ? menuInternalNames(child->project()) : QStringList();
    });
}

TMainForm::~TMainForm() {
    // The client area and its windows outlive this object's members while the base class tears
    // them down; their last signals must not reach a half-destroyed frame.
    disconnect(m_mdi, nullptr, this, nullptr);
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) disconnect(sw, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Start-up

bool TMainForm::FormCreate() {
    m_startFlag1 = true;
    m_startFlag2 = true;
    if (!m_store.keyExists(SettingsRoot::Machine, kRegistrationMarker)) writeRegistration();
    m_key = SettingsKey::open(m_store, SettingsRoot::Machine, kSettingsKeyPath, true);
    m_form5->setSettingsKey(&*m_key);
    if (!m_start.arguments.isEmpty() && handOff()) return false;
    migrateOldConfiguration();
    writeDefaults();
    checkHelpFile();
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("link%1").arg(i);
        if (!m_key->valueExists(name)) m_key->writeText(name, QString());
    }
    if (!m_key->valueExists(QStringLiteral("inicio"))) m_key->writeBool(QStringLiteral("inicio"), true);
    m_helpFile = m_key->readText(QStringLiteral("Ayuda"));
    m_timer2->start();
    return true;
}

void TMainForm::writeRegistration() {
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
}

bool TMainForm::handOff() {
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

void TMainForm::migrateOldConfiguration() {
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

void TMainForm::writeDefaults() {
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

void TMainForm::checkHelpFile() {
    const QString local = QDir(QFileInfo(m_start.programFile).absolutePath()).filePath(QStringLiteral("kmr.hlp"));
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

void TMainForm::showEvent(QShowEvent* event) {
    if (!m_centredOnce) {
        m_centredOnce = true;
        if (const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
            QRect r = frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
        // The first activation runs once the frame is on screen and the event loop is turning.
        QTimer::singleShot(0, this, &TMainForm::FormActivate);
    }
    QMainWindow::showEvent(event);
}

void TMainForm::FormActivate() {
    if (!m_startFlag1 || !m_startFlag2 || !m_key) return;
    m_startFlag1 = false;
    m_startFlag2 = false;
    m_form5->RLeer1();
    // The minimum size applies, so a stored 0 by 0 gives the smallest frame.
    resize(m_key->readInt(QStringLiteral("X1")), m_key->readInt(QStringLiteral("Y1")));
    if (!m_form5->centre()) move(m_key->readInt(QStringLiteral("X0")), m_key->readInt(QStringLiteral("Y0")));
    Actualizar1Execute();
    m_shared.pendingPath.clear();
    for (int i = 0; i < 5; ++i) {
        m_shared.recentFiles[static_cast<std::size_t>(i)] = m_key->readText(QStringLiteral("link%1").arg(i + 1));
    }
    WriteLink();
    RInicializar1();
    if (!m_start.arguments.isEmpty()) {
        m_shared.pendingPath = m_start.arguments.constFirst();
        Abrir1Execute();
    } else if (m_form5->runWizard() && m_shared.pendingPath.isEmpty()) {
        Nuevo1Execute();
    }
}

void TMainForm::Timer2Timer() {
    if (!m_key) return;
    const QString path = m_key->readText(kMailbox);
    if (path.isEmpty()) return;
    m_shared.pendingPath = path;
    m_key->writeText(kMailbox, QString());
    Abrir1Execute();
}

// ---------------------------------------------------------------------------------------------
// Options and views

void TMainForm::RInicializar1() {
    m_toolBar1->setVisible(m_form5->showToolBar());
    applyToolBar2Visibility();
    statusBar()->setVisible(m_form5->showStatusBar());
    if (m_key) {
        const qint32 state = m_key->readInt(QStringLiteral("Estado"));
        if (state == 1)
            showMinimized();
        else if (state == 2)
            showMaximized();
    }
    m_viewToolBar->setChecked(!m_toolBar1->isHidden());
    m_viewStatusBar->setChecked(!statusBar()->isHidden());
    // The quick-start and tips panels are not part of the frame yet; their marks follow the options.
    m_viewQuickStart->setChecked(m_form5->showQuickStart());
    m_viewTips->setChecked(m_form5->showTips());
}

void TMainForm::applyToolBar2Visibility() {
    // The second tool bar lives in the band, and shows only while it has object commands to offer.
    const bool band = m_form5 != nullptr ? m_form5->showToolBar() : !m_toolBar1->isHidden();
    m_toolBar2->setVisible(band && m_objectCommandsOffered);
}

void TMainForm::toggleOption(void (TForm5::*flip)()) {
    (m_form5->*flip)();
    m_form5->RGuardar1();
    m_form5->RLeer1();
    RInicializar1();
}

void TMainForm::Barradeiconos1Click() { toggleOption(&TForm5::flipToolBar); }
void TMainForm::Barradeestado1Click() { toggleOption(&TForm5::flipStatusBar); }
void TMainForm::Iniciorpido1Click() { toggleOption(&TForm5::flipQuickStart); }
void TMainForm::Asistenteidea1Click() { toggleOption(&TForm5::flipTips); }

// ---------------------------------------------------------------------------------------------
// Project windows

QList<TMDIChild*> TMainForm::projectWindows() const {
    QList<TMDIChild*> list;
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) {
        // A closed window lingers until its deferred deletion; it no longer counts.
        if (sw->isHidden()) continue;
        if (auto* child = qobject_cast<TMDIChild*>(sw->widget())) list << child;
    }
    return list;
}

TMDIChild* TMainForm::activeChild() const {
    QMdiSubWindow* sw = m_mdi->currentSubWindow();
    if (sw == nullptr || sw->isHidden()) return nullptr;
    return qobject_cast<TMDIChild*>(sw->widget());
}

TMDIChild* TMainForm::addProjectWindow(const QString& caption) {
    auto* child = new TMDIChild(*this, caption);
    QMdiSubWindow* sw = m_mdi->addSubWindow(child);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    connect(sw, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &TMainForm::refreshWindowCommands, Qt::QueuedConnection); });
    sw->show();
    m_mdi->setActiveSubWindow(sw);
    refreshWindowCommands();
    return child;
}

void TMainForm::refreshWindowCommands() {
    const bool any = !projectWindows().isEmpty();
    for (QAction* a : m_windowCommands) a->setEnabled(any);
    if (auto* close = findChild<QAction*>(QStringLiteral("Cerrar2"))) close->setEnabled(any);
    // Another project window is active now, or none is.
    Actualizar1Execute();
}

void TMainForm::arrangeIcons() {
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

void TMainForm::Cerrar2Execute() {
    if (QMdiSubWindow* sw = m_mdi->currentSubWindow()) sw->close();
}

// ---------------------------------------------------------------------------------------------
// Shut-down

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_key) {
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
    const QList<TMDIChild*> windows = projectWindows();
    m_shared.closeCounter = static_cast<int>(windows.size());
    m_shutdownAborted = false;
    for (TMDIChild* child : windows) {
        if (QWidget* sw = child->parentWidget()) sw->close();
        if (m_shutdownAborted) break;
    }
    if (m_shared.closeCounter != 0 || m_shutdownAborted) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Messages and files

void TMainForm::showError(const QString& text) {
    m_prompts.message(text, QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace kmr::gui
