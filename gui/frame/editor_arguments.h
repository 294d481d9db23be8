#pragma once
// The editor's command line: a project to open, or a question about the program itself.

#include <string>
#include <vector>

namespace kmr::gui {

struct EditorArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    std::string project;  // the project to open (Run), empty for none
    std::string error;    // what is wrong with the line (UsageError), in Spanish
};

// Reads the arguments after the program's name. --help, -h and --version answer before anything
// else; any other argument that begins with "-" is a usage error, never a project; "--" ends the
// options. Qt's own options (-platform NAME, -style=NAME, -reverse…), which QApplication takes out of the
// line, are passed over with their values, so the line can be read before QApplication exists.
EditorArguments parseEditorArguments(const std::vector<std::string>& args);

// `kmr --help` and `kmr --version`.
std::string editorHelpText();
std::string editorVersionText();

}  // namespace kmr::gui
