// MainWindow's recent-files list: five slots, newest first, shown in the "&Archivo" menu and in the
// quick-start panel.

#include <QFileInfo>

#include "frame/main_window.h"
#include "panels/quick_start_panel.h"
#include "project/project_file_commands.h"

namespace kmr::gui {

void MainWindow::addRecentFile() {
    // No search for duplicates: a path already listed takes slot 1 as well.
    auto& list = m_shared.recentFiles;
    for (std::size_t i = list.size() - 1; i > 0; --i) list[i] = list[i - 1];
    list[0] = m_shared.pendingPath;
    m_shared.pendingPath.clear();
}

void MainWindow::showRecentFiles() {
    const SettingsBatch batch(m_store);
    for (QAction* link : m_links) link->setVisible(false);
    QList<CategoryButton> buttons;
    for (std::size_t i = 0; i < m_shared.recentFiles.size(); ++i) {
        const QString& path = m_shared.recentFiles[i];
        // An empty slot, or one naming a file that is gone, shows nothing and keeps its stored value.
        if (path.isEmpty() || !QFileInfo(path).isFile()) continue;
        QAction* link = m_links.at(static_cast<int>(i));
        QString caption = QFileInfo(path).fileName();
        link->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        link->setToolTip(path);
        link->setStatusTip(path);
        link->setVisible(true);
        // Its button opens the same slot as the entry does.
        const int slot = static_cast<int>(i);
        buttons.append({QStringLiteral("LinkP%1").arg(slot + 1), link->text(), m_images.icon(Picture::Open), path,
                        [this, slot] { openRecentFile(slot); }});
        if (m_key) m_key->writeText(recentFileValue(static_cast<int>(i)), path);
    }
    m_quickStart->setRecentFiles(buttons);
}

void MainWindow::rememberRecentFile(const QString& path) {
    m_shared.pendingPath = path;
    addRecentFile();
    showRecentFiles();
    m_shared.pendingPath.clear();
}

void MainWindow::openRecentFile(int slot) {
    if (slot < 0 || slot >= m_links.size()) return;
    // The entry's hint holds the full path.
    m_shared.pendingPath = m_links.at(slot)->statusTip();
    m_fileCommands->openProject();
}

}  // namespace kmr::gui
