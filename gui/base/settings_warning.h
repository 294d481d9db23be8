#pragma once
// Tells the user, once per run, that the settings cannot be read or kept.

#include <QString>

namespace kmr::gui {

class Prompts;
class SettingsStore;
struct SettingsFailure;

// The text the user reads: which folder, what is wrong, and what the program does about it.
QString settingsFailureText(const SettingsFailure& failure);

class SettingsWarning {
public:
    // Shows the store's failure, if it has one and none was shown yet in this run.
    void showOnce(const SettingsStore& store, Prompts& prompts);

private:
    bool m_shown = false;
};

}  // namespace kmr::gui
