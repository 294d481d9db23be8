#pragma once
// What the tests of the editing dialogs and the command builder share: the edit state, scripted
// message boxes, one builder, a look-up of controls by object name and a helper for modal dialogs.

#include <QList>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/edit_state.h"
#include "support/scripted_prompts.h"
#include "wizards/command_builder_dialog.h"

namespace kmr::gui::test {

// The control named `name` inside `parent`; a missing control fails the test by an exception,
// which GoogleTest reports, rather than by a crash.
template <class T>
T& control(const QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) throw std::runtime_error(std::string("no control named ") + name);
    return *w;
}

// A caption without its accelerator mark.
QString plain(QString text);

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `action` on the next modal widget as soon as one is shown, then closes that widget if
    // it is still open, also when an assertion inside `action` failed. The flag tells whether it
    // ran. A poll that never found its widget ends with the test.
    std::shared_ptr<bool> actOnNextModal(std::function<void(QWidget*)> action);

    // The message boxes shown so far, as "title|text".
    QStringList shown() const;

    EditState m_state;
    ScriptedPrompts m_prompts;
    std::unique_ptr<CommandBuilderDialog> m_builder;

private:
    QList<QWidget*> m_topLevelsBefore;
    std::unique_ptr<QObject> m_polls = std::make_unique<QObject>();
};

}  // namespace kmr::gui::test
