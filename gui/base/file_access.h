#pragma once
// Reading and writing whole files for the commands, with the error message shown on failure.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kmr {
struct Project;
}

namespace kmr::gui {

class Prompts;

// The file's bytes, or nullopt after an error message that names the file and the system's reason. A
// file that a write in place left unfinished is refused so, with the reason.
std::optional<QByteArray> readWholeFile(Prompts& prompts, const QString& path);

// Writes beside the target and renames over it, so a failure leaves the old file whole. Where the
// folder refuses new files, a writable target can only be overwritten in place, and a write cut
// short would leave it half done: that is done only when the user answers Yes to the question that
// says so. False after an error message or a No.
bool writeWholeFile(Prompts& prompts, const QString& path, const QByteArray& bytes);

// Whether a file about to be written would hold a value of more than one line, which no file may hold:
// then says which ("Atención") and the command does not write.
bool refuseLineBreaks(Prompts& prompts, const kmr::Project& project);

// The "Error" message box with an OK button.
void showError(Prompts& prompts, const QString& text);

}  // namespace kmr::gui
