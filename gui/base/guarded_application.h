#pragma once
// GuardedApplication: the editor's application object, which turns running out of memory in a command
// into a message instead of the end of the program.

#include <QApplication>

#include <functional>

namespace kmr::gui {

class Prompts;

// The message shown when a command runs out of memory.
inline constexpr char16_t kOutOfMemoryText[] = u"No hay memoria suficiente para completar la orden.";

// Runs `work`. When it runs out of memory, what it held is released by the time the message is shown,
// the user is told, and the result is false.
bool runGuarded(Prompts& prompts, const std::function<bool()>& work);

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    // Where the message goes; until it is set, events are delivered unguarded.
    void setPrompts(Prompts* prompts) { m_prompts = prompts; }
    // Every command runs from an event, so one guard here covers them all.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompts* m_prompts = nullptr;
};

}  // namespace kmr::gui
