#include "support/frame_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "help/splash_window.h"
#include "project/object_list_view.h"
#include "project/project_window.h"
#include "wizards/new_project_wizard.h"

namespace kmr::gui::test {

void onNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
        if (modal->isVisible()) modal->close();
    });
    timer->start();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

kmr::Project exampleProject() {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico"));
    p.append(kmr::makeLabel("MiCD"));
    p.append(kmr::makeMenu("Instalar", "setup.exe", "instalar", true));
    p.append(kmr::makeMenu("Leeme", "notepad leeme.txt", "leeme"));
    return p;
}

int rowCount(const ProjectWindow* child) { return child->listView()->model()->rowCount(); }

QString rowText(const ProjectWindow* child, int row) {
    return child->listView()->model()->index(row, 0).data().toString();
}

QImage rowPicture(const ProjectWindow* child, int row) {
    return child->listView()->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
}

QRect rowRect(const ProjectWindow* child, int row) {
    const ObjectListView* list = child->listView();
    return list->visualRect(list->model()->index(row, 0));
}

void FrameTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
    m_programFile = path(QStringLiteral("bin/kmr"));
    // The help file lies beside the program, so start-up has nothing to complain about.
    writeBytes(path(QStringLiteral("bin/kmr.hlp")), "help");
    m_store = std::make_unique<IniSettingsStore>(path(QStringLiteral("settings")));
    // The wizard lists the user's own templates too; the tests' user has none.
    m_dataHome.emplace(path(QStringLiteral("data")));
}

void FrameTest::TearDown() {
    if (m_frame) {
        // Nothing may be left to ask: throw away every project without a question.
        for (QMdiSubWindow* sw : m_frame->mdiArea()->subWindowList()) {
            if (auto* child = qobject_cast<ProjectWindow*>(sw->widget())) child->setSaved(1);
        }
        m_frame->close();
        m_frame.reset();
    }
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible()) << "left-over window: " << w->metaObject()->className() << " "
                                     << w->windowTitle().toStdString();
    }
    EXPECT_FALSE(m_prompts.unusedAnswers()) << "the test queued answers that nobody asked for";
    m_dataHome.reset();
}

ScopedDataHome::ScopedDataHome(const QString& folder) {
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) m_old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", folder.toLocal8Bit());
}

ScopedDataHome::~ScopedDataHome() {
    if (m_old) {
        qputenv("XDG_DATA_HOME", *m_old);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

void finishWizard(QWidget* wizard) {
    auto* w = qobject_cast<NewProjectWizard*>(wizard);
    ASSERT_NE(w, nullptr) << "not the new-project wizard: " << wizard->objectName().toStdString();
    for (int i = 0; i < 4 && w->isVisible(); ++i) w->advance();
    EXPECT_FALSE(w->isVisible());
}

void FrameTest::newBlankProject() {
    onNextModal(finishWizard);
    m_frame->newProject();
}

MainWindow& FrameTest::makeFrame(QStringList arguments) {
    StartOptions start;
    start.arguments = std::move(arguments);
    start.programFile = m_programFile;
    start.handOffWaitMs = 5;
    // Web addresses are recorded, never opened.
    start.openUrl = [this](const QString& address) { m_opened << address; };
    start.instanceLockPath = path(QStringLiteral("settings/kmr.lock"));
    m_frame = std::make_unique<MainWindow>(m_prompts, *m_store, start);
    // The splash window closes at its timer's next tick; a test does not wait 2.5 seconds for it.
    m_frame->splashWindow()->timer()->setInterval(1);
    return *m_frame;
}

MainWindow& FrameTest::startFrame() {
    MainWindow& f = makeFrame();
    EXPECT_TRUE(f.startUp());
    key().writeBool(QStringLiteral("Asistente"), false);
    f.show();
    f.firstActivation();
    return f;
}

ProjectWindow* FrameTest::newProject(const kmr::Project& project, const QString& caption) {
    ProjectWindow* child = m_frame->createProject(caption);
    child->setProject(project);
    return child;
}

QAction* FrameTest::action(const char* name) {
    auto* a = m_frame->findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

}  // namespace kmr::gui::test
