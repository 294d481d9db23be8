#pragma once
// Prompts for tests: records every question and dialog and answers from a queue the test fills.

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "base/prompts.h"

namespace kmr::gui::test {

struct AskedMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

struct AskedFile {
    bool save;
    FileDialogOptions options;
};

struct AskedFolder {
    QString title;
    QString start;
};

class ScriptedPrompts : public Prompts {
public:
    // Answers for the next questions, in order (a message with only OK answers OK by itself). A
    // question with an empty queue is a test failure; it gets Cancel or No so the command ends.
    void answer(Answer a) { m_answers.push_back(a); }
    // The next file or folder dialog's outcome: a path, or nullopt for Cancel.
    void choose(const std::optional<QString>& path) {
        m_files.emplace_back(path.has_value(), path.value_or(QString()));
    }

    Answer message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& start) override;

    std::vector<AskedMessage> messages;
    // Runs as each message is asked, while the asker waits for the answer.
    std::function<void(const AskedMessage&)> whileAsked;
    std::vector<AskedFile> files;
    std::vector<AskedFolder> folders;
    bool unusedAnswers() const { return !m_answers.empty() || !m_files.empty(); }
    // The texts of the messages shown so far.
    QStringList texts() const;

private:
    std::optional<QString> nextFile(bool save, const FileDialogOptions& options);
    std::optional<QString> nextPath(const QString& title);
    std::deque<Answer> m_answers;
    std::deque<std::pair<bool, QString>> m_files;  // chosen, path
};

}  // namespace kmr::gui::test
