#pragma once
// A main frame on a private settings folder with scripted prompts, and helpers for modal dialogs.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include "base/settings_store.h"
#include "frame/main_window.h"
#include "project/project.h"
#include "support/scripted_prompts.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kmr::gui::test {

// Runs `action` on the next modal widget as soon as it shows. Whatever the action does, the
// widget is closed afterwards, so a failing test never hangs on an open dialog.
void onNextModal(std::function<void(QWidget*)> action);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// setup.exe, disco.ico, MiCD and two menus, the first the default.
kmr::Project exampleProject();

// Points $XDG_DATA_HOME at `folder` while it lives, so the user's own templates stay out of a test.
class ScopedDataHome {
public:
    explicit ScopedDataHome(const QString& folder);
    ~ScopedDataHome();
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;

private:
    std::optional<QByteArray> m_old;
};
// What a project window's list shows: its rows, a row's text and picture, and where a row is.
int rowCount(const ProjectWindow* child);
QString rowText(const ProjectWindow* child, int row);
QImage rowPicture(const ProjectWindow* child, int row);
QRect rowRect(const ProjectWindow* child, int row);

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A frame over the fixture's settings folder; startUp is left to the test.
    MainWindow& makeFrame(QStringList arguments = {});
    // makeFrame, startUp and the first activation with the wizard switched off.
    MainWindow& startFrame();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    SettingsKey key() { return SettingsKey(*m_store, SettingsRoot::Machine, kSettingsKeyPath); }
    ProjectWindow* newProject(const kmr::Project& project, const QString& caption = QStringLiteral("Sin nombre 1"));
    // "&Nuevo..." with the wizard walked through untouched to "Finalizar": a blank new project.
    void newBlankProject();
    QAction* action(const char* name);

    QTemporaryDir m_dir;
    QString m_programFile;
    std::unique_ptr<IniSettingsStore> m_store;
    ScriptedPrompts m_prompts;
    QStringList m_opened;  // the web addresses the frame asked to open
    std::unique_ptr<MainWindow> m_frame;

private:
    std::optional<ScopedDataHome> m_dataHome;
};

// Presses the wizard's main button until it has finished, as often as it takes from its page 0.
void finishWizard(QWidget* wizard);

}  // namespace kmr::gui::test
