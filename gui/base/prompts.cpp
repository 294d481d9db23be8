#include "base/prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace kmr::gui {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Answer QtPrompts::message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, m_parent);
    // A message may name a file or an address that the user wants to copy.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case MessageButtons::Ok: ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole); break;
        case MessageButtons::YesNo:
            yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
            break;
        case MessageButtons::YesNoCancel:
            yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
            cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
            break;
        case MessageButtons::OkCancel:
            ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
            break;
    }
    if (yes != nullptr) box.setDefaultButton(yes);
    if (ok != nullptr) box.setDefaultButton(ok);
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked == yes && yes != nullptr) return Answer::Yes;
    if (clicked == no && no != nullptr) return Answer::No;
    if (clicked == ok && ok != nullptr) return Answer::Ok;
    // The close box or Escape: Cancel where there is one; a Yes/No question has no safe "neither",
    // so it counts as No; a plain message as OK.
    if (cancel != nullptr) return Answer::Cancel;
    if (no != nullptr) return Answer::No;
    return Answer::Ok;
}

std::optional<QString> QtPrompts::runFileDialog(const FileDialogOptions& options, bool save) {
    QFileDialog dialog(m_parent, options.title);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(options.filterName + QStringLiteral(" (") + options.filterPattern + QLatin1Char(')'));
    if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
    if (const QString folder = startFolder(options, m_recent.folderFor(options.filterPattern)); !folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (const QFileInfo proposed(options.fileName); !options.fileName.isEmpty()) {
        dialog.selectFile(proposed.isAbsolute() ? options.fileName : proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    m_recent.remember(options.filterPattern, chosen, false);
    return chosen;
}

std::optional<QString> QtPrompts::openFile(const FileDialogOptions& options) { return runFileDialog(options, false); }

std::optional<QString> QtPrompts::saveFile(const FileDialogOptions& options) { return runFileDialog(options, true); }

std::optional<QString> QtPrompts::chooseFolder(const QString& title, const QString& start) {
    // Folders are a kind of their own, apart from every file pattern.
    const QString kind = QStringLiteral("/");
    QString folder = start.isEmpty() ? m_recent.folderFor(kind) : start;
    if (folder.isEmpty()) folder = QDir::homePath();
    QFileDialog dialog(m_parent, title, folder);
    prepareFileDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    m_recent.remember(kind, chosen, true);
    return chosen;
}

}  // namespace kmr::gui
