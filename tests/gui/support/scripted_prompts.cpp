#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace kmr::gui::test {

Answer ScriptedPrompts::message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (whileAsked) whileAsked(messages.back());
    // A plain message has one answer; it never takes one from the queue meant for questions.
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompts::nextFile(bool save, const FileDialogOptions& options) {
    files.push_back({save, options});
    return nextPath(options.title);
}

std::optional<QString> ScriptedPrompts::chooseFolder(const QString& title, const QString& start) {
    folders.push_back({title, start});
    return nextPath(title);
}

std::optional<QString> ScriptedPrompts::nextPath(const QString& title) {
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
        return std::nullopt;
    }
    const auto [chosen, path] = m_files.front();
    m_files.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialogOptions& options) { return nextFile(false, options); }
std::optional<QString> ScriptedPrompts::saveFile(const FileDialogOptions& options) { return nextFile(true, options); }

QStringList ScriptedPrompts::texts() const {
    QStringList list;
    for (const auto& m : messages) list << m.text;
    return list;
}

}  // namespace kmr::gui::test
