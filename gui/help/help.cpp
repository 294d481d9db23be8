#include "help/help.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "base/prompts.h"
#include "help/help_collection.h"
#include "help/help_window.h"

namespace kmr::gui {

QString findHelpFile(const QString& programFile) {
    const QDir programDir = QFileInfo(programFile).absoluteDir();
    const QString beside = programDir.filePath(kHelpFileName);
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed =
        QDir::cleanPath(programDir.filePath(QStringLiteral("../share/kmr/")) + QLatin1Char('/') + kHelpFileName);
    if (QFileInfo(installed).isFile()) return installed;
    return beside;
}

Help::Help(Prompts& prompts, QWidget* owner) : m_prompts(prompts), m_owner(owner) {}

Help::~Help() {
    // The window must let go of the pages before the help file is closed; without an owner it is ours.
    if (m_window != nullptr) {
        m_window->setCollection(nullptr);
        if (m_owner == nullptr) delete m_window;
    }
}

HelpWindow* Help::window() const { return m_window; }

void Help::setHelpFile(const QString& path) {
    if (path == m_path) return;
    m_path = path;
    if (m_window != nullptr) m_window->setCollection(nullptr);
    m_collection.reset();
}

bool Help::load() {
    if (m_collection != nullptr) return true;
    QString error;
    m_collection = HelpCollection::open(m_path, &error);
    if (m_collection == nullptr) {
        m_prompts.message(error, QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    if (m_window == nullptr) m_window = new HelpWindow(m_owner);
    m_window->setCollection(m_collection.get());
    return true;
}

void Help::present() {
    // Asked from a modal dialog (the builder, the options), the viewer would be blocked by it unless it is
    // modal itself; the user then closes it to go back to the dialog.
    const bool overModal = QApplication::activeModalWidget() != nullptr;
    const Qt::WindowModality wanted = overModal ? Qt::ApplicationModal : Qt::NonModal;
    if (m_window->windowModality() != wanted) {
        m_window->hide();
        m_window->setWindowModality(wanted);
    }
    // Placed once, the first time: afterwards it stays where the user put it.
    if (!m_placed) {
        m_window->placeOver(m_owner);
        m_placed = true;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool Help::showContext(int context) {
    if (!load()) return false;
    QString page = m_collection->pageForContext(context);
    if (page.isEmpty()) page = m_collection->contents().first().page;
    m_window->showPage(page);
    m_window->showContentsTab();
    present();
    return true;
}

bool Help::showContents() {
    if (!load()) return false;
    if (m_window->currentPage().isEmpty()) m_window->showPage(m_collection->contents().first().page);
    m_window->showContentsTab();
    present();
    return true;
}

}  // namespace kmr::gui
