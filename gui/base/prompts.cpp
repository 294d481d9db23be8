#include "base/prompts.h"

#include <QFileDialog>
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

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogOptions& options, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, options.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(options.filterName + QStringLiteral(" (") + options.filterPattern + QLatin1Char(')'));
    if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
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

std::optional<QString> QtPrompts::openFile(const FileDialogOptions& options) {
    return runFileDialog(m_parent, options, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFile(const FileDialogOptions& options) {
    return runFileDialog(m_parent, options, QFileDialog::AcceptSave);
}

std::optional<QString> QtPrompts::chooseFolder(const QString& title, const QString& start) {
    QFileDialog dialog(m_parent, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace kmr::gui
