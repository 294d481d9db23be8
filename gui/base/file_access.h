#pragma once
// Reading and writing whole files for the commands, with the error message shown on failure.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kmr::gui {

class Prompts;

// The file's bytes, or nullopt after an error message that names the file and the system's reason.
std::optional<QByteArray> readWholeFile(Prompts& prompts, const QString& path);

// Writes beside the target and renames over it, so a failure leaves the old file whole; where the
// folder refuses new files, a writable target is overwritten in place. False after an error message.
bool writeWholeFile(Prompts& prompts, const QString& path, const QByteArray& bytes);

// The "Error" message box with an OK button.
void showError(Prompts& prompts, const QString& text);

}  // namespace kmr::gui
